// The column chooser of the individual lists ("List Columns"): the catalogue's attributes not
// shown ("Master List") and the columns shown, in order ("Columns Displayed"), with moves
// between and within the two lists. Works on any column set.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QAbstractButton;

namespace kindrel {

class WListColumns;

class TdlgListColumns : public QDialog {
    Q_OBJECT
  public:
    // A chooser filled from a column set (read only; the caller stores the result). Columns
    // without attribute and repeated codes are left out, so OK drops them.
    explicit TdlgListColumns(const WListColumns& columns, QWidget* parent = nullptr);

    // What OK returns: the displayed codes joined by ",".
    std::string ColumnsText() const;
    // The codes of each list, top to bottom.
    std::vector<int> MasterCodes() const;
    std::vector<int> DisplayedCodes() const;

    // The six moves, as their buttons do them.
    void MoveRight();
    void MoveAllRight();
    void MoveLeft();
    void MoveAllLeft();
    void MoveUp();
    void MoveDown();

  private:
    QListWidgetItem* MakeItem(int code) const;
    // The master list again: every catalogue code not displayed, in catalogue order.
    void RefillMaster(int keepRow);
    // After item row of list was removed: the selection stays at that row, or the one before
    // it when the list got shorter.
    static void SelectAfterRemoval(QListWidget* list, int row);
    void SwapDisplayed(int row, int other);
    void UpdateState();

    const WListColumns& m_columns;
    QListWidget* m_master = nullptr;
    QListWidget* m_displayed = nullptr;
    QLabel* m_masterCount = nullptr;
    QLabel* m_displayedCount = nullptr;
    QAbstractButton* m_right = nullptr;
    QAbstractButton* m_allRight = nullptr;
    QAbstractButton* m_left = nullptr;
    QAbstractButton* m_allLeft = nullptr;
    QAbstractButton* m_up = nullptr;
    QAbstractButton* m_down = nullptr;
};

}  // namespace kindrel
