// The Family page: the active individual with the spouse of the current family, both sets of
// parents, the marriage and the children grid. "Next Spouse" steps through the families; the
// current family is shared with the Pedigree page through the view context.
#pragma once

#include "app/family_group.h"
#include "app/view_page.h"

#include <QAbstractTableModel>

class QLabel;
class QPushButton;
class QToolButton;

namespace kindrel {

class TIndInfoPanel;
class WPersonTable;

// The children grid's rows: " ", "Children (n)", "Sex", "Birth", "Death", "Spouse". Name and
// spouse are drawn in the person's colours, read from the window's group when painted.
class TFamilyChildrenModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { kPlus = 0, kName, kSex, kBirth, kDeath, kSpouse, kColumnCount };

    TFamilyChildrenModel(TViewContext& context, QObject* parent = nullptr);

    // Replaces the rows (an empty list clears the grid).
    void SetRows(std::vector<FamilyChildRow> rows);
    // The rows' colours changed (the highlighting); repaints without rebuilding.
    void ColoursChanged();
    const std::vector<FamilyChildRow>& Rows() const { return m_rows; }
    // The individual a cell leads to: the spouse in column 5, else the child; 0 = none.
    int32_t PersonAt(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    TViewContext& m_context;
    std::vector<FamilyChildRow> m_rows;
};

class TFamilyPage : public TViewPage {
    Q_OBJECT
  public:
    explicit TFamilyPage(TViewContext& context, QWidget* parent = nullptr);
    // Stores the grid's column widths (FamCol1 to FamCol6).
    ~TFamilyPage() override;

    void RefreshPage() override;
    // Copy To Clipboard: the page as text.
    bool CanPerform(PageCommand command) const override;
    bool Perform(PageCommand command) override;
    void ForgetCollection() override;
    // Only the colours change: panels and grid are repainted, nothing is rebuilt.
    void HighlightChanged() override;

    // Advances to the next family as spouse, wrapping to the first.
    void NextSpouse();

    // The parts, for tests.
    enum Panel {
        kSubject = 0,
        kSpouse,
        kSubjectFather,
        kSubjectMother,
        kSpouseFather,
        kSpouseMother,
        kPanelCount
    };
    TIndInfoPanel* PanelAt(Panel panel) const { return m_panels[panel]; }
    // The "+" beside a parent panel (kSubjectFather .. kSpouseMother).
    QToolButton* PlusButton(Panel panel) const;
    QPushButton* NextSpouseButton() const { return m_nextSpouse; }
    QLabel* FamilyIndexLabel() const { return m_familyIndex; }
    QLabel* MarriageLabel() const { return m_marriage; }
    WPersonTable* ChildrenGrid() const { return m_grid; }
    TFamilyChildrenModel* ChildrenModel() const { return m_model; }
    // The family group shown (empty without file).
    const FamilyGroup& Group() const { return m_group; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Show(const FamilyGroup& group);
    void Clear();
    void ApplyFontSize();
    void StoreColumnWidths();

    FamilyGroup m_group;
    TIndInfoPanel* m_panels[kPanelCount] = {};
    QToolButton* m_plus[kPanelCount] = {};
    QLabel* m_spouseCaption = nullptr;
    QPushButton* m_nextSpouse = nullptr;
    QLabel* m_familyIndex = nullptr;
    QLabel* m_marriage = nullptr;
    WPersonTable* m_grid = nullptr;
    TFamilyChildrenModel* m_model = nullptr;
    bool m_reporting = false;  // a read error's message box is open
    int m_fontSize = 0;
};

}  // namespace kindrel
