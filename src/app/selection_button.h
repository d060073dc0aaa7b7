// A button that pops up a menu of items and remembers the one chosen (WSelectionButton): the
// text-match modes of the condition editor, the spouse lists of the scroll bar and of Quick
// Find. Items come from a ";"-separated text or a list; an item "-" is a separator, the others
// get the tags 1, 2, 3 ... in order.
#pragma once

#include <QToolButton>

#include <string>
#include <vector>

class QMenu;

namespace kindrel {

class WSelectionButton : public QToolButton {
    Q_OBJECT
  public:
    explicit WSelectionButton(QWidget* parent = nullptr);

    // Sets the items from a ";"-separated text (empty items are skipped).
    void SetItemString(const QString& items);
    // Sets the items from a list, kept as given: an item may hold ";" or "&".
    void SetItems(const QStringList& items);
    // The items as set, separators included.
    const QStringList& Items() const { return m_items; }
    // The tag of the chosen item (0 = none).
    int SelectedItem() const { return m_selected; }
    // Chooses an item by tag (no itemChanged); the caption follows when update-caption is on.
    void SetSelectedItem(int tag);
    // The text of the item with tag (empty when there is none).
    QString ItemText(int tag) const;
    // Number of tagged items.
    int TagCount() const { return m_tagCount; }
    // Whether choosing an item sets the caption (on by default).
    void SetUpdateCaption(bool on) { m_updateCaption = on; }
    // Chooses an item as the user would (itemChanged is raised); false for an unknown tag.
    bool ChooseItem(int tag);
    // Raises beforeShow and pops the menu up at the button's top-left corner.
    void ShowMenu();
    // The pop-up menu (rebuilt with the items).
    QMenu* Menu() const { return m_menu; }

  Q_SIGNALS:
    // Raised before the menu shows; the owner may set new items.
    void beforeShow();
    // An item was chosen from the menu.
    void itemChanged(int tag);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Rebuild();

    QMenu* m_menu = nullptr;
    QStringList m_items;
    int m_selected = 0;
    int m_tagCount = 0;
    bool m_updateCaption = true;
};

}  // namespace kindrel
