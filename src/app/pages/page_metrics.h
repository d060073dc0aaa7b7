// Sizes the person pages share: the font size setting as the Options dialog offers it, and
// pixel sizes laid out for 96 dpi scaled to the screen's logical dpi.
#pragma once

#include "services/options.h"

#include <QWidget>

class QTableView;

#include <algorithm>

namespace kindrel {

// The Options dialog offers 8, 10 and 12 points; a stored value outside is held to that range.
inline constexpr int kMinFontSize = 8;
inline constexpr int kMaxFontSize = 12;

// Setting FontSize held to 8..12 points.
inline int SettingFontSize() {
    return std::clamp(Options().ReadInt(Opt::FontSize), kMinFontSize, kMaxFontSize);
}

// A length in 96-dpi pixels as pixels of widget's screen (its logical dpi).
inline int Scaled(const QWidget* widget, double pixelsAt96) {
    return static_cast<int>(pixelsAt96 * widget->logicalDpiX() / 96.0 + 0.5);
}

// Keeps the rows of grid as high as the setting GridHeight asks (14, 16 or 18 pixels at 96 dpi
// for 8, 10 and 12 points), never lower than its font's height plus fontMargin: now and
// whenever the grid's font changes (the Options dialog's font size).
void KeepGridRowHeight(QTableView* grid, int fontMargin);

}  // namespace kindrel
