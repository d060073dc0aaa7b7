#include "reports/report_painter.h"

#include <QPainter>
#include <QPen>
#include <QString>

namespace kindrel {

namespace {

QColor ColourOf(uint32_t rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

}  // namespace

QFont ReportFont(int size, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, size));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

float WQtTextMetrics::AdvanceOf(FontWidths& font, char16_t c) {
    float& advance = font.advances[c];
    if (advance == 0) {
        // Controls and combining marks (U+0300-U+036F) change their neighbours; characters
        // the font lacks come from a fallback font: both are shaped with their text.
        const bool simple = c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) &&
                            !(c >= 0x0300 && c < 0x0370) && font.metrics->inFont(QChar(c));
        advance = simple ? static_cast<float>(font.metrics->horizontalAdvance(QChar(c))) : -1;
        if (advance == 0) advance = -1;
    }
    return advance;
}

double WQtTextMetrics::TextWidth(std::string_view text, int size, bool bold) {
    FontWidths& font = m_fonts[size * 2 + (bold ? 1 : 0)];
    if (!font.metrics) {
        font.metrics = std::make_unique<QFontMetricsF>(ReportFont(size, bold));
        font.advances.assign(kSimpleEnd, 0);
    }
    // A little room for the rounding of other devices.
    constexpr double kRoom = 1.02;
    double sum = 0;
    bool simple = true;
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        const float advance = c < 0x80 ? AdvanceOf(font, c) : -1;
        if (advance < 0) {
            simple = false;
            break;
        }
        sum += advance;
    }
    if (simple) return sum * kRoom;
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    sum = 0;
    for (const QChar c : qtext) {
        const float advance = c.unicode() < kSimpleEnd ? AdvanceOf(font, c.unicode()) : -1;
        if (advance < 0) return font.metrics->horizontalAdvance(qtext) * kRoom;
        sum += advance;
    }
    return sum * kRoom;
}

void PaintReportPage(QPainter& painter, const WReportPage& page, const QRectF& target) {
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / kReportSheetWidth, target.height() / kReportSheetHeight);
    painter.fillRect(QRectF(0, 0, kReportSheetWidth, kReportSheetHeight), Qt::white);
    painter.translate(kReportMargin, kReportMargin);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    int fontKey = -1;
    std::unique_ptr<QFontMetricsF> metrics;
    for (const WReportItem& item : page.items) {
        switch (item.kind) {
            case WItemKind::kFill:
                painter.fillRect(QRectF(item.x, item.y, item.w, item.h), ColourOf(item.colour));
                break;
            case WItemKind::kRule: {
                QPen pen(ColourOf(item.colour));
                pen.setWidthF(0.8);
                pen.setStyle(item.rule == WRuleStyle::kDotted ? Qt::DotLine : Qt::SolidLine);
                painter.setPen(pen);
                if (item.w == 0) {
                    painter.drawLine(QPointF(item.x, item.y), QPointF(item.x, item.y + item.h));
                } else {
                    painter.drawLine(QPointF(item.x, item.y + 0.5),
                                     QPointF(item.x + item.w, item.y + 0.5));
                    if (item.rule == WRuleStyle::kDouble)
                        painter.drawLine(QPointF(item.x, item.y + 2.5),
                                         QPointF(item.x + item.w, item.y + 2.5));
                }
                break;
            }
            case WItemKind::kLabel: {
                if (item.text.empty()) break;
                const int key = item.size * 2 + (item.bold ? 1 : 0);
                if (key != fontKey) {
                    const QFont font = ReportFont(item.size, item.bold);
                    painter.setFont(font);
                    metrics = std::make_unique<QFontMetricsF>(font);
                    fontKey = key;
                }
                painter.setPen(ColourOf(item.colour));
                // The text is already cut to its label: it is drawn at its baseline, centred
                // in the label's height, without a text layout of its own (the costly part
                // of drawing into a rectangle).
                const QString text = QString::fromStdString(item.text);
                double x = item.x;
                if (item.align != WAlign::kLeft) {
                    const double room = item.w - metrics->horizontalAdvance(text);
                    x += item.align == WAlign::kCentre ? room / 2 : room;
                }
                const double baseline = item.y + (item.h - metrics->height()) / 2 + metrics->ascent();
                painter.drawText(QPointF(x, baseline), text);
                break;
            }
        }
    }
    painter.restore();
}

}  // namespace kindrel
