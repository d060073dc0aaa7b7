// Times the printed reports on a GEDCOM file, offscreen: the List report (default columns, grey
// lines, dividers) written to PDF against a bare QPdfWriter loop that draws the same labels in
// the same run, the memory the PDF save adds to the loaded file, the first page of the
// descendants of individual 1, cascading pedigree charts to PDF, and list pages to PNG.
// Usage: kindrel-report-bench FILE.ged [PNG_PAGES] [PEDIGREE_CHARTS] [PEDIGREE_SUBJECT]
//        (defaults: 200 PNG pages, 1000 charts, the last individual)
#include "bench_clock.h"
#include "bench_load.h"
#include "bench_folder.h"
#include "containers/errors.h"
#include "gedcom/ged_collection.h"
#include "reports/report_forms.h"
#include "reports/report_output.h"
#include "reports/report_painter.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace kindrel;
using bench::Clock;
using bench::Seconds;

// Resident memory now, in megabytes (VmRSS).
double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

void Row(const char* step, const std::string& result) {
    std::printf("%-40s %s\n", step, result.c_str());
    std::fflush(stdout);
}

std::string Format(const char* format, double a, double b = 0, double c = 0) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::unique_ptr<TABSReportForm> Form(WReportKind kind, WABSCollection& collection, int32_t subject,
                                     WTextMetrics& metrics, const WReportSettings& settings) {
    WReportRequest request;
    request.kind = kind;
    request.collection = &collection;
    request.subject = subject;
    request.settings = settings;
    request.metrics = &metrics;
    request.fileText = "generated.ged";
    request.sources.gedcomName = "generated.ged";
    std::unique_ptr<TABSReportForm> form = MakeReportForm(request);
    if (!form->Prepare()) throw KindrelError("the report has nothing to print");
    return form;
}

// The bare loop: a QPdfWriter of the same page set-up drawing only the label texts of each
// page at their places in one font; the time to lay the pages out is left out of its clock.
// growth: resident memory of the last page less that of page 1,000.
double BarePdfSeconds(TABSReportForm& form, const std::string& fileName, double& growth) {
    constexpr int kResolution = 1200;
    QSaveFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly)) throw KindrelError("cannot write " + fileName);
    double seconds = 0;
    {
        auto start = Clock::now();
        QPdfWriter writer(&file);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        const double scale = kResolution / 96.0;
        painter.scale(scale, scale);
        painter.translate(kReportMargin, kReportMargin);
        painter.setFont(ReportFont(kReportTextSize, false));
        seconds += Seconds(start);
        const int pages = form.PageCount();
        double atThousand = 0;
        for (int k = 1; k <= pages; ++k) {
            if (k == 1000) atThousand = ResidentMegabytes();
            const WReportPage page = form.Page(k);
            start = Clock::now();
            if (k > 1) writer.newPage();
            for (const WReportItem& item : page.items)
                if (item.kind == WItemKind::kLabel && !item.text.empty())
                    painter.drawText(QPointF(item.x, item.y + item.size),
                                     QString::fromStdString(item.text));
            seconds += Seconds(start);
        }
        start = Clock::now();
        painter.end();
        seconds += Seconds(start);
        growth = pages >= 1000 ? ResidentMegabytes() - atThousand : 0;
    }
    file.commit();
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: kindrel-report-bench FILE [PNG_PAGES] [PEDIGREE_CHARTS] "
                     "[PEDIGREE_SUBJECT]\n");
        return 2;
    }
    const std::string file = argv[1];
    const int pngPages = argc > 2 ? std::atoi(argv[2]) : 200;
    const int charts = argc > 3 ? std::atoi(argv[3]) : 1000;
    const std::string folder = bench::PrivateRunFolder("kindrel-report-bench");
    if (folder.empty()) {
        std::fprintf(stderr, "kindrel-report-bench: no temporary folder\n");
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int exitCode = 0;
    try {
        auto start = Clock::now();
        std::unique_ptr<WGEDCollection> collection = bench::LoadGedcom(file);
        const double justLoaded = ResidentMegabytes();
        Row("load", Format("%.2f s, %.0f individuals, resident %.0f MB", Seconds(start),
                           collection->IndividualCount(), justLoaded));
        // The collection keeps the key-line offsets of every individual it has read (24 bytes
        // each, until the file closes). In the window the List tab's first sort has read
        // everyone before a report can be asked for; here everyone is read once first, so
        // that the memory figures below are the report's own.
        start = Clock::now();
        for (int32_t n = 1; n <= collection->IndividualCount(); ++n) collection->GetIndividual(n);
        const double loaded = ResidentMegabytes();
        Row("everyone read once (line cache)",
            Format("%.2f s, resident %.0f MB (%+.0f MB)", Seconds(start), loaded,
                   loaded - justLoaded));
        const int32_t subject = argc > 4 ? std::atoi(argv[4]) : collection->IndividualCount();
        WQtTextMetrics metrics;
        WReportSettings settings;
        settings.listGrey = settings.listDivider = true;

        // List to PDF, the memory checked at page 1,000 and at the end.
        start = Clock::now();
        std::unique_ptr<TABSReportForm> list =
            Form(WReportKind::kList, *collection, 0, metrics, settings);
        const int pages = list->PageCount();
        Row("list prepare (default columns)", Format("%.2f s, %.0f pages", Seconds(start), pages));
        double atThousand = 0;
        start = Clock::now();
        const WReportSaveResult pdf =
            SaveReport(*list, WReportFormat::kPdf, folder + "/list.pdf", [&](int k, int) {
                if (k == 1000) atThousand = ResidentMegabytes();
                return true;
            });
        if (!pdf.ok) throw KindrelError(pdf.error);
        const double ours = Seconds(start);
        const double end = ResidentMegabytes();
        Row("list PDF (ours)", Format("%.1f s, %.1f pages/s, %.1f MB file", ours, pages / ours,
                                      std::filesystem::file_size(folder + "/list.pdf") / 1e6));
        std::filesystem::remove(folder + "/list.pdf");
        double bareGrowth = 0;
        const double bare = BarePdfSeconds(*list, folder + "/bare.pdf", bareGrowth);
        std::filesystem::remove(folder + "/bare.pdf");
        Row("list PDF (bare QPdfWriter loop)",
            Format("%.1f s, %.1f pages/s; ours / bare = %.2f", bare, pages / bare, bare / ours) +
                Format("; page 1,000 to last %+.0f MB", bareGrowth));
        Row("memory", Format("loaded %.0f MB, peak %.0f MB (+%.0f MB)", loaded,
                             bench::PeakMegabytes(), bench::PeakMegabytes() - loaded) +
                          Format("; page 1,000 %.0f MB, last page %.0f MB (%+.0f MB)", atThousand,
                                 end, end - atThousand));

        // List pages to PNG.
        start = Clock::now();
        const WReportSaveResult png =
            SaveReport(*list, WReportFormat::kPng, folder + "/list.png", {}, 1, pngPages);
        if (!png.ok) throw KindrelError(png.error);
        const double pngSeconds = Seconds(start);
        for (const std::string& name : png.files) std::filesystem::remove(name);
        Row("list PNG, 150 dpi",
            Format("%.0f pages in %.2f s, %.1f pages/s", static_cast<double>(png.files.size()),
                   pngSeconds, png.files.size() / pngSeconds));
        list.reset();

        // Descendants of individual 1: the walk and the first page.
        start = Clock::now();
        std::unique_ptr<TABSReportForm> des =
            Form(WReportKind::kDescendants, *collection, 1, metrics, settings);
        const WReportPage first = des->Page(1);
        Row("descendants of 1, first page",
            Format("%.2f s, %.0f pages, %.0f items on page 1", Seconds(start), des->PageCount(),
                   static_cast<double>(first.items.size())));
        des.reset();

        // Cascading pedigree charts to PDF.
        WReportSettings cascading = settings;
        cascading.pedSingle = false;
        // Without a subject given: of twenty people from the end of the file, the one with
        // the most charts (the youngest generations have the most ancestors).
        int32_t best = subject;
        if (argc <= 4) {
            int most = 0;
            for (int32_t n = collection->IndividualCount(), tries = 0; n > 0 && tries < 20;
                 n -= std::max(1, collection->IndividualCount() / 50), ++tries) {
                const int count =
                    Form(WReportKind::kPedigree, *collection, n, metrics, cascading)->PageCount();
                if (count > most) most = count, best = n;
            }
        }
        start = Clock::now();
        std::unique_ptr<TABSReportForm> ped =
            Form(WReportKind::kPedigree, *collection, best, metrics, cascading);
        const double plan = Seconds(start);
        const int written = std::min(charts, ped->PageCount());
        start = Clock::now();
        const WReportSaveResult pedPdf =
            SaveReport(*ped, WReportFormat::kPdf, folder + "/pedigree.pdf", {}, 1, written);
        if (!pedPdf.ok) throw KindrelError(pedPdf.error);
        const double pedSeconds = Seconds(start);
        std::filesystem::remove(folder + "/pedigree.pdf");
        Row("cascading pedigree to PDF",
            Format("individual %.0f: plan %.2f s (%.0f charts); ", best, plan, ped->PageCount()) +
                Format("%.0f charts in %.2f s, %.1f charts/s", written, pedSeconds,
                       written / pedSeconds));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kindrel-report-bench: %s\n", e.what());
        exitCode = 1;
    }
    std::filesystem::remove_all(folder);
    return exitCode;
}
