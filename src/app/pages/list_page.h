// The List and Highlighted tabs: every individual of the view in the "List" column set's
// columns (List, in each person's highlight colours), or only those the highlighting marks
// (Highlighted, plain), sorted by a header click, with the count, "Move to Active Individual
// in List", "Columns", "Quick Find" and the list copy.
#pragma once

#include "app/view_page.h"

#include <cstdint>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kindrel {

class WColSortIterator;
class WListGrid;

class TListPage : public TViewPage {
    Q_OBJECT
  public:
    explicit TListPage(TViewContext& context, QWidget* parent = nullptr);
    ~TListPage() override;

    // Builds the view's iterator when its rebuild flag is set, attaches it to the column set,
    // and shows its rows.
    void RefreshPage() override;
    // The mode comes from the tab (List or Highlighted).
    void TabShown(int tab) override;
    void ForgetCollection() override;
    void CollectionAttached() override;
    // Highlighted is built again; List repaints in the new colours.
    void HighlightChanged() override;
    void DisplayOptionsChanged() override;
    bool CanPerform(PageCommand command) const override;
    bool Perform(PageCommand command) override;

    // "Columns": the chooser for the "List" set; true when OK was pressed.
    bool ChooseColumns();
    // The list copy (format dialog, rendering, clipboard or file); true when copied.
    bool CopyList();
    // "Quick Find": opens the installed quick find on the selected row's individual and
    // selects the one found; false when none is installed or it was cancelled.
    bool QuickFind();

    // For tests and timings.
    bool HighlightedMode() const { return m_highlighted; }
    WListGrid* Grid() const { return m_grid; }
    QLabel* CountLabel() const { return m_label; }
    WColSortIterator* ShownIterator() const;
    // Iterators built so far (List, Highlighted).
    int ListBuilds() const { return m_listBuilds; }
    int HighlightedBuilds() const { return m_highlightedBuilds; }

  Q_SIGNALS:
    // The Highlighted tab was chosen with "ShowHlPanel" on: the window shows the panel's
    // Highlighting page (never hides it).
    void highlightingPanelWanted();

  private:
    // Work that arrives while the page builds or sorts runs once after it.
    void RunDeferred();
    void Rebuild();
    void BuildListIterator();
    void BuildHighlightedIterator();
    void ShowRows();
    void SetEmpty();
    void UpdateControls();
    void SelectActive();

    QLabel* m_label = nullptr;
    QCheckBox* m_findInList = nullptr;
    QPushButton* m_columnsButton = nullptr;
    QPushButton* m_quickFindButton = nullptr;
    WListGrid* m_grid = nullptr;

    std::unique_ptr<WColSortIterator> m_listIterator;
    std::unique_ptr<WColSortIterator> m_highlightedIterator;
    bool m_highlighted = false;
    bool m_listStale = true;
    bool m_highlightedStale = true;
    bool m_working = false;       // an iterator is being built (events run meanwhile)
    bool m_refreshAgain = false;  // a refresh arrived while working
    int m_listBuilds = 0;
    bool m_resortShown = false;  // the names or ages changed since the list shown was sorted
    int m_highlightedBuilds = 0;
};

}  // namespace kindrel
