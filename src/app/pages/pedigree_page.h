// The Pedigree page: five generations of ancestors of the active individual (31 panels in
// ancestor numbering joined by connector lines), the spouse of the current family, and a
// collapsible left pane listing siblings and children.
#pragma once

#include "app/pedigree_tree.h"
#include "app/view_page.h"

#include <QAbstractListModel>

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace kindrel {

class TIndInfoPanel;
class TPedigreeCanvas;
class WPersonTable;

// The rows of a siblings or children list, in the person's colours (read from the window's
// group when painted). DisplayRole is the item's text, Qt::UserRole its individual.
class TPedigreeListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    TPedigreeListModel(TViewContext& context, QObject* parent = nullptr);

    // Replaces the items.
    void SetItems(std::vector<PedigreeListItem> items);
    // Repaints with the group's current colours.
    void ColoursChanged();
    const std::vector<PedigreeListItem>& Items() const { return m_items; }
    // The individual of a row, 0 when none.
    int32_t IndividualAt(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    TViewContext& m_context;
    std::vector<PedigreeListItem> m_items;
};

class TPedigreePage : public TViewPage {
    Q_OBJECT
  public:
    explicit TPedigreePage(TViewContext& context, QWidget* parent = nullptr);

    void RefreshPage() override;
    // Copy To Clipboard: the page as text.
    bool CanPerform(PageCommand command) const override;
    bool Perform(PageCommand command) override;
    void ForgetCollection() override;
    // Only the colours change: panels and lists are repainted, nothing is rebuilt.
    void HighlightChanged() override;

    // Advances the current family (the spouse shown and the children), wrapping.
    void NextFamily();
    // Collapses or opens the left pane.
    void SetPaneCollapsed(bool collapsed);
    bool PaneCollapsed() const;

    // The parts, for tests. Panel slots 1..31; "+" buttons of slots 16..31.
    TIndInfoPanel* Panel(int slot) const;
    TIndInfoPanel* SpousePanel() const;
    QToolButton* PlusButton(int slot) const;
    // The "+" mark beside the spouse (shown when the spouse has parents).
    QLabel* SpouseMark() const;
    QPushButton* NextFamilyButton() const;
    QLabel* FamilyIndexLabel() const;
    QLabel* SiblingsCaption() const { return m_siblingsCaption; }
    QLabel* ChildrenCaption() const { return m_childrenCaption; }
    WPersonTable* SiblingsList() const { return m_siblings; }
    WPersonTable* ChildrenList() const { return m_children; }
    TPedigreeListModel* SiblingsModel() const { return m_siblingsModel; }
    TPedigreeListModel* ChildrenModel() const { return m_childrenModel; }
    QScrollArea* ScrollArea() const { return m_scroll; }
    // The individuals shown in slots 1..31 (index 0 unused).
    const PedigreeSlots& Slots() const { return m_slots; }
    // The individual a "+" of slot 16..31 leads to (the subject's father or mother), 0 = none.
    int32_t PlusTarget(int slot) const;

  private:
    void Clear();
    void ApplyFontSize();
    WPersonTable* MakeList(TPedigreeListModel* model, const char* name);

    PedigreeSlots m_slots{};
    int32_t m_spouse = 0;
    int m_familyCount = 0;
    int m_familyIndex = 0;
    TPedigreeCanvas* m_canvas = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_pane = nullptr;
    QWidget* m_collapsedStrip = nullptr;
    QLabel* m_siblingsCaption = nullptr;
    QLabel* m_childrenCaption = nullptr;
    WPersonTable* m_siblings = nullptr;
    WPersonTable* m_children = nullptr;
    TPedigreeListModel* m_siblingsModel = nullptr;
    TPedigreeListModel* m_childrenModel = nullptr;
    bool m_reporting = false;  // a read error's message box is open
    int m_fontSize = 0;
};

}  // namespace kindrel
