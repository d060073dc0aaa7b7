#include "reports/report_output.h"

#include "reports/report_forms.h"
#include "reports/report_painter.h"
#include "reports/report_writers.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace kindrel {

namespace {

constexpr int kPdfResolution = 1200;
constexpr int kImageResolution = 150;

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

// Why a save file could not be written. A short write (a full disk, a file size limit)
// leaves Qt without a reason of its own.
std::string FailureOf(const QSaveFile& file) {
    const std::string reason = file.errorString().toStdString();
    if (reason.empty() || reason == "Unknown error")
        return "not all of it could be written (the disk is full or the file is too large)";
    return reason;
}

std::string CannotWrite(const QSaveFile& file) {
    return "Cannot write " + file.fileName().toStdString() + ": " + FailureOf(file);
}

// Opens a save file; error names the file and the reason when it cannot be written.
bool OpenSave(QSaveFile& file, std::string& error) {
    const QFileInfo info(file.fileName());
    if (info.isDir()) {
        error = "Cannot write " + file.fileName().toStdString() + ": it is a folder.";
        return false;
    }
    if (!file.open(QIODevice::WriteOnly)) {
        error = CannotWrite(file);
        return false;
    }
    return true;
}

// Renames the finished file over the target. The buffered rest is written first and checked
// here: a failure of that last write would otherwise go unnoticed and a cut file be kept.
bool CommitSave(QSaveFile& file, std::string& error) {
    if (!file.flush()) {
        error = CannotWrite(file);
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (file.commit()) return true;
    error = CannotWrite(file);
    return false;
}

bool WriteText(QSaveFile& file, const std::string& text, std::string& error) {
    if (file.write(text.data(), static_cast<qint64>(text.size())) ==
        static_cast<qint64>(text.size()))
        return true;
    error = CannotWrite(file);
    return false;
}

// Runs progress for page k; true to go on.
bool Continue(const WReportProgress& progress, int k, int pages) {
    return !progress || progress(k, pages);
}

// The pages a save or print covers: from .. to clamped to the form's pages (0 = all).
struct PageSpan {
    int first = 1;
    int last = 0;
    int Count() const { return last - first + 1; }
};

PageSpan SpanOf(TABSReportForm& form, int from, int to) {
    const int pages = form.PageCount();
    PageSpan span;
    span.first = from <= 0 ? 1 : std::min(from, pages);
    span.last = to <= 0 ? pages : std::clamp(to, span.first, pages);
    return span;
}

WReportSaveResult SaveText(TABSReportForm& form, WReportFormat format, const std::string& name,
                           const WReportProgress& progress, const PageSpan& span) {
    WReportSaveResult result;
    QSaveFile file(ToQ(name));
    if (!OpenSave(file, result.error)) return result;
    const WHtmlWriter html;
    const WRtfWriter rtf;
    bool ok = true;
    for (int k = span.first; k <= span.last && ok; ++k) {
        if (!Continue(progress, k - span.first + 1, span.Count())) {
            file.cancelWriting();
            result.cancelled = true;
            return result;
        }
        const WReportPage page = form.Page(k);
        std::string text;
        if (k == span.first)
            text = format == WReportFormat::kHtml ? html.Begin(form.Title()) : rtf.Begin(page);
        text += format == WReportFormat::kHtml ? html.Page(page) : rtf.Page(page, k == span.last);
        if (k == span.last) text += format == WReportFormat::kHtml ? html.End() : rtf.End();
        ok = WriteText(file, text, result.error);
    }
    if (!ok || !CommitSave(file, result.error)) {
        file.cancelWriting();
        return result;
    }
    result.ok = true;
    result.files.push_back(name);
    return result;
}

WReportSaveResult SavePdf(TABSReportForm& form, const std::string& name,
                          const WReportProgress& progress, const PageSpan& span) {
    WReportSaveResult result;
    QSaveFile file(ToQ(name));
    if (!OpenSave(file, result.error)) return result;
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0)));
        writer.setTitle(ToQ(form.Title()));
        writer.setCreator(QStringLiteral("Kindrel"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            result.error = "Cannot write " + name + ": the PDF could not be started.";
            file.cancelWriting();
            return result;
        }
        const QRectF sheet(0, 0, 8.5 * kPdfResolution, 11.0 * kPdfResolution);
        for (int k = span.first; k <= span.last; ++k) {
            if (!Continue(progress, k - span.first + 1, span.Count())) {
                painter.end();
                file.cancelWriting();
                result.cancelled = true;
                return result;
            }
            if (k > span.first) writer.newPage();
            PaintReportPage(painter, form.Page(k), sheet);
        }
        painter.end();
    }
    if (!CommitSave(file, result.error)) return result;
    result.ok = true;
    result.files.push_back(name);
    return result;
}

// True when every item of the page is black, white or a grey.
bool OnlyGreys(const WReportPage& page) {
    for (const WReportItem& item : page.items) {
        const uint32_t r = (item.colour >> 16) & 0xFF, g = (item.colour >> 8) & 0xFF,
                       b = item.colour & 0xFF;
        if (r != g || g != b) return false;
    }
    return true;
}

// Writes one image page into an open save file.
bool WriteImagePage(QSaveFile& file, WReportFormat format, const WReportPage& page,
                    const std::string& title, std::string& error) {
    if (format == WReportFormat::kSvg) {
        // The generator ignores short writes; the page is made in memory and written checked.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(kReportSheetWidth, kReportSheetHeight));
        svg.setViewBox(QRect(0, 0, kReportSheetWidth, kReportSheetHeight));
        svg.setResolution(96);
        svg.setTitle(QString::fromStdString(title));
        QPainter painter(&svg);
        PaintReportPage(painter, page, QRectF(0, 0, kReportSheetWidth, kReportSheetHeight));
        painter.end();
        return WriteText(file, bytes.toStdString(), error);
    }
    const int w = kReportSheetWidth * kImageResolution / 96;
    const int h = kReportSheetHeight * kImageResolution / 96;
    QImage image(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(kImageResolution / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(kImageResolution / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintReportPage(painter, page, QRectF(0, 0, w, h));
    }
    const char* kind = format == WReportFormat::kJpeg ? "JPEG" : format == WReportFormat::kBmp ? "BMP" : "PNG";
    QImageWriter writer(&file, kind);
    if (format == WReportFormat::kJpeg) writer.setQuality(90);
    if (format == WReportFormat::kPng) {
        // A page of text compresses well at the fastest level; a page of greys only is
        // written with one channel, a third of the data to compress.
        writer.setQuality(85);  // zlib level 1
        if (OnlyGreys(page)) image = image.convertToFormat(QImage::Format_Grayscale8);
    }
    if (!writer.write(image)) {
        error = file.error() != QFileDevice::NoError
                    ? CannotWrite(file)
                    : "Cannot write " + file.fileName().toStdString() + ": " +
                          writer.errorString().toStdString();
        return false;
    }
    return true;
}

// A hidden temporary file beside target for one page of an image save.
std::string PagePartName(const std::string& target) {
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + file + "." + std::to_string(QCoreApplication::applicationPid()) + ".part";
}

void RemoveParts(const std::vector<std::pair<std::string, std::string>>& parts) {
    for (const auto& part : parts) std::remove(part.first.c_str());
}

WReportSaveResult SaveImages(TABSReportForm& form, WReportFormat format, const std::string& name,
                             const WReportProgress& progress, const PageSpan& span) {
    WReportSaveResult result;
    // Every page is written complete to a temporary file of its own (closed at once, so a
    // report of thousands of pages does not hold thousands of files open); all are renamed at
    // the end, so that a Cancel or a failure leaves none of them and old files intact.
    std::vector<std::pair<std::string, std::string>> parts;  // temporary, target
    for (int k = span.first; k <= span.last; ++k) {
        if (!Continue(progress, k - span.first + 1, span.Count())) {
            RemoveParts(parts);
            result.cancelled = true;
            return result;
        }
        const std::string target = ReportPageFileName(name, k, span.Count() > 1 ? span.last : 1);
        if (QFileInfo(ToQ(target)).isDir()) {
            result.error = "Cannot write " + target + ": it is a folder.";
            RemoveParts(parts);
            return result;
        }
        const std::string part = PagePartName(target);
        QSaveFile file(ToQ(part));
        if (!OpenSave(file, result.error) ||
            !WriteImagePage(file, format, form.Page(k), form.Title(), result.error) ||
            !CommitSave(file, result.error)) {
            file.cancelWriting();
            RemoveParts(parts);
            // The reason names the file asked for, not the temporary one.
            for (size_t at; (at = result.error.find(part)) != std::string::npos;)
                result.error.replace(at, part.size(), target);
            return result;
        }
        parts.emplace_back(part, target);
    }
    for (size_t k = 0; k < parts.size(); ++k) {
        if (std::rename(parts[k].first.c_str(), parts[k].second.c_str()) != 0) {
            result.error = "Cannot write " + parts[k].second + ": " + std::strerror(errno);
            RemoveParts({parts.begin() + static_cast<std::ptrdiff_t>(k), parts.end()});
            return result;
        }
        result.files.push_back(parts[k].second);
    }
    result.ok = true;
    return result;
}

}  // namespace

WReportSaveResult SaveReport(TABSReportForm& form, WReportFormat format,
                             const std::string& fileName, const WReportProgress& progress, int from,
                             int to) {
    const PageSpan span = SpanOf(form, from, to);
    switch (format) {
        case WReportFormat::kPdf: return SavePdf(form, fileName, progress, span);
        case WReportFormat::kHtml:
        case WReportFormat::kRtf: return SaveText(form, format, fileName, progress, span);
        case WReportFormat::kJpeg:
        case WReportFormat::kBmp:
        case WReportFormat::kPng:
        case WReportFormat::kSvg: return SaveImages(form, format, fileName, progress, span);
        case WReportFormat::kCount: break;
    }
    WReportSaveResult result;
    result.error = "Unknown report format.";
    return result;
}

bool PrintReport(TABSReportForm& form, QPrinter& printer, int from, int to,
                 const WReportProgress& progress, bool& cancelled, std::string& error) {
    cancelled = false;
    const PageSpan span = SpanOf(form, from, to);
    from = span.first;
    to = span.last;
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    printer.setDocName(ToQ(form.Title()));
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = "The printer could not be started.";
        return false;
    }
    const QRectF sheet = printer.paperRect(QPrinter::DevicePixel);
    for (int k = from; k <= to; ++k) {
        if (!Continue(progress, k - from + 1, to - from + 1)) {
            printer.abort();
            painter.end();
            cancelled = true;
            return false;
        }
        if (k > from) printer.newPage();
        PaintReportPage(painter, form.Page(k), QRectF(0, 0, sheet.width(), sheet.height()));
    }
    painter.end();
    return true;
}

}  // namespace kindrel
