// The individual scroll bar at the top of the main window: chooses the active individual,
// jumps to father, mother, spouses and children, and keeps the navigation history.
#pragma once

#include "app/nav_history.h"
#include "app/selection_button.h"

#include <QWidget>

#include <cstdint>

class QLabel;
class QMenu;
class QScrollBar;
class QToolButton;

namespace kindrel {

class WABSCollection;
class WHLGroup;

class WIndScroll : public QWidget {
    Q_OBJECT
  public:
    explicit WIndScroll(QWidget* parent = nullptr);

    // Attaches a collection (null detaches): resets both history stacks, previous = 1, the
    // range 1..view count, position 1. Emits changed.
    void AttachCollection(WABSCollection* collection);
    // The active individual (the position mapped through the scroll order), 0 without file.
    int32_t Current() const;
    // A programmatic jump (remembered by the history); numbers of 0 or less, and individuals
    // outside the scroll order, are ignored (false).
    bool JumpTo(int32_t individual);
    // Jumps to the father / mother of the active individual, when there is one.
    bool JumpToFather();
    bool JumpToMother();
    // Back and Forward of the history; false when nothing moved.
    bool GoBack();
    bool GoForward();
    // The history (its stacks give the commands' state and hints).
    const WNavHistory& History() const { return m_history; }
    // Attaches the highlighter group (null detaches): the highlight buttons are enabled with a
    // group, and the label takes the active individual's colours.
    void SetHighlighter(WHLGroup* group);
    // The attached group, or null.
    WHLGroup* Highlighter() const { return m_group; }
    // Jumps to the next / previous individual in scroll order that the group marks, without
    // wrapping; a flash says so when none is left. Events are processed while it searches.
    // False when nothing moved.
    bool NextHighlighted();
    bool PreviousHighlighted();
    // Shows the active individual's name again (after the name options changed).
    void RefreshLabel() { UpdateDisplay(); }
    // Sets the label's font size (points); the label grows with it.
    void SetLabelFontSize(int points);

    // Widgets, for tests and the window's layout.
    QScrollBar* ScrollBar() const { return m_bar; }
    QLabel* Label() const { return m_label; }
    QToolButton* FatherButton() const { return m_father; }
    QToolButton* MotherButton() const { return m_mother; }
    WSelectionButton* SpouseButton() const { return m_spouse; }
    QToolButton* NextHighlightedButton() const { return m_nextHighlighted; }
    QToolButton* PreviousHighlightedButton() const { return m_previousHighlighted; }
    // The items of the "S" list for the active individual.
    QStringList SpouseItems() const;
    // Chooses item k (0-based) of the "S" list.
    void ChooseSpouseItem(int k);

  Q_SIGNALS:
    // The active individual changed (the window refreshes the page shown).
    void changed();
    // The history stacks changed (the window updates Back and Forward).
    void historyChanged();

  private:
    // The scroll position of an individual; 0 when it is not in the scroll order.
    int32_t PositionOf(int32_t individual) const;
    void MoveTo(int32_t individual);
    void OnValueChanged(int value);
    void OnSliderReleased();
    void UpdateDisplay();
    void FillSpouseMenu();
    void UpdateLabelColours(int32_t n);
    bool StepHighlighted(int direction);

    WABSCollection* m_collection = nullptr;
    WHLGroup* m_group = nullptr;
    // Counts attachments, so that a search that processes events notices a new collection
    // or group and stops.
    unsigned m_generation = 0;
    bool m_searching = false;
    QLabel* m_label = nullptr;
    QScrollBar* m_bar = nullptr;
    QToolButton* m_father = nullptr;
    QToolButton* m_mother = nullptr;
    WSelectionButton* m_spouse = nullptr;
    QMenu* m_spouseMenu = nullptr;
    QToolButton* m_previousHighlighted = nullptr;
    QToolButton* m_nextHighlighted = nullptr;
    WNavHistory m_history;
    std::vector<int32_t> m_spouseNumbers;
    bool m_programmatic = false;
    int32_t m_fatherNumber = 0;
    int32_t m_motherNumber = 0;
};

}  // namespace kindrel
