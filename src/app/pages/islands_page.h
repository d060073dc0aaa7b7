// The Islands tab: the islands in size order (double click goes to an island's first
// individual), "Calculate" while islands are not calculated automatically, and the members of
// the selected island in the "IslandList" column set's columns, sortable by header clicks.
#pragma once

#include "app/view_page.h"

#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;
class QTableView;

namespace kindrel {

class WIslandIterator;
class WIslandsModel;
class WListGrid;

class TIslandsPage : public TViewPage {
    Q_OBJECT
  public:
    explicit TIslandsPage(TViewContext& context, QWidget* parent = nullptr);
    ~TIslandsPage() override;

    // UpdateIslandsPage(false) and the member grid of the selected island.
    void RefreshPage() override;
    void ForgetCollection() override;
    void CollectionAttached() override;
    // The islands and the selected island's members do not depend on the island in use.
    void IslandInUseChanged(bool after) override;
    // The member grid repaints in the new colours.
    void HighlightChanged() override;
    void DisplayOptionsChanged() override;
    bool CanPerform(PageCommand command) const override;
    bool Perform(PageCommand command) override;

    // Calculates the islands (under "Calculating Islands.  Please Wait...") when force is set or
    // "CalcIslands" is on, and shows the counts; emits islandsChanged when they are new.
    void UpdateIslandsPage(bool force);
    // Shows the members of the island at position (1 = largest; 0 none).
    void SelectIsland(int32_t position);
    // The island whose members are shown (0 none).
    int32_t SelectedIsland() const { return m_selected; }
    // "Columns" of the member grid; true when OK was pressed.
    bool ChooseColumns();
    // Copies the islands table (format dialog); true when copied.
    bool CopyIslands();
    // Copies the member list (format dialog); true when copied.
    bool CopyMembers();

    // For tests.
    QTableView* IslandsGrid() const { return m_islandsGrid; }
    WIslandsModel* IslandsModel() const { return m_islandsModel; }
    WListGrid* MembersGrid() const { return m_members; }
    QLabel* CountLabel() const { return m_countLabel; }
    QLabel* MembersLabel() const { return m_membersLabel; }
    QPushButton* CalculateButton() const { return m_calculate; }

  Q_SIGNALS:
    // The islands were calculated (the left panel shows them too).
    void islandsChanged();

  private:
    void ShowCounts();
    void ShowMembers();
    void FreeMembers();
    void UpdateControls();

    QLabel* m_countLabel = nullptr;
    QPushButton* m_calculate = nullptr;
    QTableView* m_islandsGrid = nullptr;
    WIslandsModel* m_islandsModel = nullptr;
    QLabel* m_hintLabel = nullptr;
    QLabel* m_membersLabel = nullptr;
    QPushButton* m_columnsButton = nullptr;
    WListGrid* m_members = nullptr;
    std::unique_ptr<WIslandIterator> m_iterator;
    int32_t m_selected = 0;
    bool m_working = false;
};

}  // namespace kindrel
