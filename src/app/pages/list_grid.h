// The grid of an individual list (List, Highlighted, island members): a person table over a
// WListModel with the column set's widths, header clicks that sort the column set under
// "Sorting.  Please Wait..." (wait cursor, progress, Cancel), the sort arrow, the header hint,
// and context menus on rows and headers.
#pragma once

#include "app/pages/person_table.h"
#include "app/view_page.h"

#include <cstdint>
#include <functional>

class QMenu;

namespace kindrel {

class WColSortIterator;
class WListColumns;
class WListModel;
class WTabStopDelegate;

class WListGrid : public WPersonTable {
    Q_OBJECT
  public:
    // Stored widths outside this range are held to it.
    static constexpr int kMinWidth = 1;
    static constexpr int kMaxWidth = 2000;

    // A grid over the context's column set of kind; coloured rows use the highlight colours.
    WListGrid(TViewContext& context, ColumnSetKind kind, bool coloured, QWidget* parent = nullptr);

    WListModel* Model() const { return m_model; }
    WListColumns* Columns() const;
    WTabStopDelegate* Delegate() const { return m_delegate; }

    // Shows iterator (not owned; null: no rows) with the set's widths and sort arrow.
    void ShowIterator(WColSortIterator* iterator);
    // The columns of the set changed (after the chooser).
    void ColumnsChanged();
    // Sorts by column (1-based) as a header click does (a second click flips), or in the given
    // direction. Ignored (false) while a sort runs or the window is busy; false also when
    // cancelled (order, arrow and direction stay as they were).
    bool SortByColumn(int column);
    bool SortByColumnDirection(int column, bool ascending);
    // After the names or ages changed (Options): the list shown is sorted again by its sort
    // column with keys worked out afresh, in the direction it had, keeping the selected
    // individual. True without a sort column; false when cancelled or refused.
    bool ResortWithNewKeys();
    // True while a sort runs (events are processed meanwhile).
    bool IsSorting() const { return m_sorting; }
    // Tells the set the reference individual of its relationship columns. A relationship
    // column sorted for another individual loses its sort (the next click sorts afresh).
    void SetReference(int32_t individual);
    // Selects the row of individual (scrolling it into view when it is not shown); false
    // when the individual is not listed.
    bool SelectIndividual(int32_t individual);
    // The individual of the current row, 0 without one.
    int32_t CurrentIndividual() const;
    // The arrow of the header as the set and its iterator say.
    void UpdateSortIndicator();
    // Shown column widths per stored pixel.
    double WidthScale() const { return m_widthScale; }
    // Writes the shown widths back to the set (before a copy or the chooser).
    void StoreWidths();

    // "Columns": the chooser for the grid's column set. On OK the set takes the new columns
    // (islands calculated first when they include "Island #"), store(text) saves the string,
    // and the grid shows them, keeping the selected individual. True when OK was pressed.
    bool ChooseColumns(const std::function<void(const std::string&)>& store);
    // The copy of the list shown (format dialog, rendering, clipboard or file); true when
    // copied.
    bool CopyShownList();

    // Extra actions of the row menu (Quick Find, Columns, Copy) and of the header menu
    // (Columns), set by the page.
    void SetRowMenuActions(std::function<void(QMenu&, int32_t individual)> add) {
        m_rowActions = std::move(add);
    }
    void SetHeaderMenuActions(std::function<void(QMenu&)> add) { m_headerActions = std::move(add); }

  Q_SIGNALS:
    // A sort ended; ok is false when it was cancelled or failed.
    void sorted(bool ok);

  private:
    bool RunSort(int column, bool toggleOnly, const std::function<bool()>& sort);
    void ApplyWidths();
    void ColumnResized(int column, int size);
    void HeaderClicked(int section);
    void HeaderMenu(const QPoint& pos);

    TViewContext& m_context;
    ColumnSetKind m_kind;
    WListModel* m_model = nullptr;
    WTabStopDelegate* m_delegate = nullptr;
    std::function<void(QMenu&, int32_t)> m_rowActions;
    std::function<void(QMenu&)> m_headerActions;
    double m_widthScale = 1.0;
    bool m_sorting = false;
    bool m_applyingWidths = false;
    int32_t m_reference = 0;
};

// Runs work under the wait dialog (message, wait cursor, Cancel when cancellable); the cancel
// flag is cleared after it, so that no later work finds it set.
void RunUnderWait(QWidget* owner, const QString& message, bool cancellable,
                  const std::function<void()>& work);

// Calculates the islands of the context's collection under "Calculating Islands.  Please
// Wait..." when they are not calculated yet; true when they exist afterwards.
bool EnsureIslands(QWidget* owner, TViewContext& context);
// True when a column set shows the "Island #" column (its cells need the islands).
bool ShowsIslandColumn(const WListColumns& columns);
// True when a column string names the "Island #" column.
bool ColumnStringShowsIslands(const std::string& columns);

}  // namespace kindrel
