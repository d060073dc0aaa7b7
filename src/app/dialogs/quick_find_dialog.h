// "Quick Find": picks an individual by number with a scroll bar and a digits-only edit box,
// shows the person panel, and moves to the father, the mother, a spouse or a child. "Advanced
// Find" hands over to the Find Individual dialog.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace kindrel {

class TIndInfoPanel;
class WABSCollection;
class WFindOrders;
class WHLGroup;
class WSelectionButton;

class TdlgQuickFind : public QDialog {
    Q_OBJECT
  public:
    // A dialog over the collection (may be null: empty), in the group's colours; orders are
    // handed to the advanced dialog.
    TdlgQuickFind(WFindOrders* orders, WHLGroup* group, WABSCollection* collection,
                  QWidget* parent = nullptr);

    // Selects individual n (0: nobody; above the count: the count).
    void SetSelected(int32_t n);
    // The selected individual (0: nobody).
    int32_t Selected() const { return m_selected; }
    // The total individual count.
    int32_t Count() const { return m_count; }
    // The page step of the keys: count / 100, at least 1 (tests may set another).
    int PageStep() const { return m_pageStep; }
    void SetPageStep(int step) { m_pageStep = std::max(1, step); }

    QLineEdit* Edit() const { return m_edit; }
    QScrollBar* ScrollBar() const { return m_bar; }
    TIndInfoPanel* Panel() const { return m_panel; }
    QPushButton* FatherButton() const { return m_father; }
    QPushButton* MotherButton() const { return m_mother; }
    WSelectionButton* SpouseButton() const { return m_spouses; }
    QPushButton* AdvancedButton() const { return m_advanced; }
    QPushButton* OkButton() const { return m_ok; }
    // Fills the "Spouse(s)" list for the selection (done before it shows).
    void FillSpouseList();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnTextEdited(const QString& text);
    // A key step: Up +1, Down -1, Page Up +step, Page Down -step.
    void StepBy(int delta);
    void ShowSelection();
    void EnableAll(bool on);
    void RunAdvancedFind();

    WFindOrders* m_orders;
    WHLGroup* m_group;
    WABSCollection* m_collection;
    int32_t m_count = 0;
    int32_t m_selected = 0;
    int m_pageStep = 1;
    int32_t m_father_n = 0, m_mother_n = 0;
    std::vector<int32_t> m_spouseNumbers;
    bool m_updating = false;

    QLabel* m_countLabel = nullptr;
    QLabel* m_numberLabel = nullptr;
    QScrollBar* m_bar = nullptr;
    QLineEdit* m_edit = nullptr;
    TIndInfoPanel* m_panel = nullptr;
    QPushButton* m_father = nullptr;
    QPushButton* m_mother = nullptr;
    WSelectionButton* m_spouses = nullptr;
    QPushButton* m_advanced = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace kindrel
