// Drawing report pages with QPainter (PDF, print, images, SVG, preview) and the Qt text
// metrics the layouts measure with, so that what is cut to a label fits it when drawn.
#pragma once

#include "reports/report_model.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>

#include <map>
#include <memory>

class QPainter;

namespace kindrel {

// The report font: DejaVu Sans at a pixel size of `size` units, hinting off so that widths
// do not depend on the device.
QFont ReportFont(int size, bool bold);

// Widths through QFontMetricsF of the report font (needs a QGuiApplication).
class WQtTextMetrics : public WTextMetrics {
  public:
    double TextWidth(std::string_view text, int size, bool bold) override;

  private:
    std::map<int, std::unique_ptr<QFontMetricsF>> m_metrics;  // by size * 2 + bold
};

// Draws a page onto the painter with the sheet (816 x 1056 units, margins included) filling
// target (device coordinates). Texts are drawn as plain text on one line.
void PaintReportPage(QPainter& painter, const WReportPage& page, const QRectF& target);

}  // namespace kindrel
