// "Find Individual": every individual in one of five orders (Index, RIN/REF, Surname, Name,
// Name Surname, Custom) in a grid over the order, a search box, and a preview of the selected
// person, the parents and the families. OK or a double click chooses the individual.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>

#include <cstdint>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace kindrel {

class TIndInfoPanel;
class WABSCollection;
class WColSortIterator;
class WFindOrders;
class WHLGroup;

// The grid's model: one row per individual of the order, four columns, each row in the
// person's highlight colours.
class WFindGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    WFindGridModel(WABSCollection* collection, WHLGroup* group, QObject* parent = nullptr);
    // Shows an order (null: empty) in a dialog mode.
    void SetOrder(WColSortIterator* order, int mode);
    // The individual of a row (0-based), 0 out of range.
    int32_t IndividualAt(int row) const;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    WABSCollection* m_collection;
    WHLGroup* m_group;
    WColSortIterator* m_order = nullptr;
    int m_mode = 3;
    int m_rows = 0;
};

// Where the parts of a "Marriages" entry stand, in pixels of the list's screen: child entries
// are indented, with the "+" mark at the indent, the birth year and the name to its right;
// every entry is one line of the list's font plus the extra height.
struct MarriageColumns {
    int indent = 0;  // the "+" of a child entry
    int year = 0;    // the birth year
    int name = 0;    // the child's name
    int extraHeight = 0;
};
MarriageColumns MarriageColumnsFor(const QWidget* list);

// Item roles of the "Marriages" list beside the display text (the whole entry as one line).
enum MarriageRole : int {
    kMarriageIndividualRole = Qt::UserRole,  // the person of the entry, 0 for no spouse
    kMarriageChildRole,                      // true for a child entry
    kMarriagePlusRole,                       // true when the child has children
    kMarriageYearRole,                       // the child's birth year text
    kMarriageNameRole,                       // the spouse line or the child's name
};

class TWFindDlg : public QDialog {
    Q_OBJECT
  public:
    // A dialog over the shared find orders (may be null: the dialog keeps its own).
    TWFindDlg(WFindOrders* orders, WHLGroup* group, WABSCollection* collection,
              QWidget* parent = nullptr);
    ~TWFindDlg() override;

    // Selects the starting individual.
    void SetStart(int32_t individual);
    // The individual chosen by OK or a double click (0 before).
    int32_t Chosen() const { return m_chosen; }
    // The individual of the selected row.
    int32_t SelectedIndividual() const;
    // Mode 1..5 (stored in FindDlg).
    int Mode() const { return m_mode; }
    void SetMode(int mode);
    // Runs the search of the edit box's text (the Search button).
    void RunSearch();
    // True while the Search button waits for a press.
    bool SearchPending() const { return m_pending; }

    QLineEdit* Edit() const { return m_edit; }
    QTableView* Grid() const { return m_grid; }
    WFindGridModel* Model() const { return m_model; }
    QPushButton* SearchButton() const { return m_search; }
    QListWidget* Marriages() const { return m_marriages; }
    QLabel* MarriagesLabel() const { return m_marriagesLabel; }
    TIndInfoPanel* SelectedPanel() const { return m_selectedPanel; }
    TIndInfoPanel* FatherPanel() const { return m_fatherPanel; }
    TIndInfoPanel* MotherPanel() const { return m_motherPanel; }

    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SelectRow(int row);
    void SelectIndividual(int32_t individual);
    void RowSelected(int row);
    void Refill();
    void SetPending(bool pending);

    std::unique_ptr<WFindOrders> m_ownOrders;
    WFindOrders* m_orders;
    WHLGroup* m_group;
    WABSCollection* m_collection;
    int m_mode = 3;
    int32_t m_chosen = 0;
    bool m_pending = false;
    bool m_refilling = false;
    bool m_autoSearch = true;

    WFindGridModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_countLabel = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_search = nullptr;
    QButtonGroup* m_modes = nullptr;
    TIndInfoPanel* m_selectedPanel = nullptr;
    TIndInfoPanel* m_fatherPanel = nullptr;
    TIndInfoPanel* m_motherPanel = nullptr;
    QLabel* m_marriagesLabel = nullptr;
    QListWidget* m_marriages = nullptr;
};

}  // namespace kindrel
