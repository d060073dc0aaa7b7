#include "app/pages/page_metrics.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

namespace kindrel {

namespace {

void ApplyRowHeight(QTableView* grid, int fontMargin) {
    const int setting = std::clamp(Options().ReadInt(Opt::GridHeight), 14, 18);
    grid->verticalHeader()->setDefaultSectionSize(
        std::max(Scaled(grid, setting), grid->fontMetrics().height() + fontMargin));
}

// Applies the row height again when the grid's font changes.
class WRowHeightKeeper : public QObject {
  public:
    WRowHeightKeeper(QTableView* grid, int fontMargin) : QObject(grid), m_fontMargin(fontMargin) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FontChange)
            ApplyRowHeight(static_cast<QTableView*>(watched), m_fontMargin);
        return false;
    }

  private:
    int m_fontMargin;
};

}  // namespace

void KeepGridRowHeight(QTableView* grid, int fontMargin) {
    grid->installEventFilter(new WRowHeightKeeper(grid, fontMargin));
    ApplyRowHeight(grid, fontMargin);
}

}  // namespace kindrel
