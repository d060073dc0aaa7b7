// Drawing report pages with QPainter (PDF, print, images, SVG, preview) and the Qt text
// metrics the layouts measure with, so that what is cut to a label fits it when drawn.
#pragma once

#include "reports/report_model.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>

#include <map>
#include <memory>
#include <vector>

class QPainter;

namespace kindrel {

// The report font: DejaVu Sans at a pixel size of `size` units, hinting and kerning off so
// that widths do not depend on the device and a line is as wide as its characters' advances.
QFont ReportFont(int size, bool bold);

// Widths through QFontMetricsF of the report font (needs a QGuiApplication). Text of
// characters that take no shaping (Latin, Greek and Cyrillic letters the font holds) is
// measured as the sum of its characters' advances, kept per font; other text is shaped.
// With kerning off both give the same width, and a million-row list is measured in
// seconds rather than minutes.
class WQtTextMetrics : public WTextMetrics {
  public:
    double TextWidth(std::string_view text, int size, bool bold) override;

  private:
    struct FontWidths {
        std::unique_ptr<QFontMetricsF> metrics;
        // Advance of each character below kSimpleEnd; 0 = not measured yet, < 0 = shaped.
        std::vector<float> advances;
    };
    // Characters from here on are always shaped.
    static constexpr char16_t kSimpleEnd = 0x0530;

    float AdvanceOf(FontWidths& font, char16_t c);

    std::map<int, FontWidths> m_fonts;  // by size * 2 + bold
};

// Draws a page onto the painter with the sheet (816 x 1056 units, margins included) filling
// target (device coordinates). Texts are drawn as plain text on one line.
void PaintReportPage(QPainter& painter, const WReportPage& page, const QRectF& target);

}  // namespace kindrel
