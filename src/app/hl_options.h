// The parameter editors of the condition rows, one class per editor kind: sex, individual and
// generations, text match and soundex, date, number, individual, age limit and LDS status.
// Each shows a WHLOptionState (highlight/hl_editor.h) and raises changed on every edit.
#pragma once

#include "highlight/hl_editor.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace kindrel {

class WABSCollection;
class WDateButtons;
class WFindOrders;
class WHLGroup;
class WSelectionButton;

// What the editors need of the window: the collection, the find orders and the group for the
// quick-find dialog. Every member may be null.
struct WHLContext {
    WABSCollection* collection = nullptr;
    WFindOrders* orders = nullptr;
    // The window's group as it is when asked (it is made and freed while the editors live).
    std::function<WHLGroup*()> group;
};

// The editor base (WHLABSOption): its state, the context and the change signal.
class WHLABSOption : public QWidget {
    Q_OBJECT
  public:
    WHLABSOption(int kind, QWidget* parent);
    // The state shown.
    const WHLOptionState& State() const { return m_state; }
    // Shows a state (no changed signal).
    void SetState(const WHLOptionState& state);
    // The parameter text (HLString).
    std::string HLString() const { return HLOptionText(m_state); }
    // Takes the context; the individual editors select individual 1 (nobody without
    // individuals) unless they show someone of the collection.
    virtual void AttachContext(const WHLContext& context);

  Q_SIGNALS:
    void changed();

  protected:
    // Puts m_state into the widgets.
    virtual void ShowState() = 0;
    // An edit: m_state was changed by a widget.
    void Edited() { Q_EMIT changed(); }

    WHLOptionState m_state;
    WHLContext m_context;
    bool m_showing = false;
};

// Makes the editor of a kind (null for kind 0).
std::unique_ptr<WHLABSOption> CreateHLOption(int kind, QWidget* parent);

class WHLOptSex : public WHLABSOption {
    Q_OBJECT
  public:
    explicit WHLOptSex(QWidget* parent);
    QComboBox* List() const { return m_list; }

  protected:
    void ShowState() override;

  private:
    QComboBox* m_list;
};

// Kinds 2 and 7: "#" or find button, previous and next arrows, the number (and a
// generations spin box for kind 2).
class WHLOptInd : public WHLABSOption {
    Q_OBJECT
  public:
    WHLOptInd(int kind, QWidget* parent);
    void AttachContext(const WHLContext& context) override;
    // The arrows: one step within 1 to the individual count; false at the ends.
    bool StepIndividual(int delta);
    // Opens the quick-find dialog at the current number and takes its choice.
    void PickIndividual();
    QToolButton* FindButton() const { return m_find; }
    QToolButton* PreviousButton() const { return m_previous; }
    QToolButton* NextButton() const { return m_next; }
    QLabel* NumberLabel() const { return m_label; }
    QSpinBox* Generations() const { return m_generations; }

  protected:
    void ShowState() override;

  private:
    int32_t Count() const;
    QToolButton* m_find;
    QToolButton* m_previous;
    QToolButton* m_next;
    QLabel* m_label;
    QSpinBox* m_generations = nullptr;
};
// The kind-7 editor is the same class without the generations.
using WHLOptIndNoGen = WHLOptInd;

// Kinds 3 and 6: a selection of the mode and a text box that refuses ":" and ";".
class WHLOptString : public WHLABSOption {
    Q_OBJECT
  public:
    WHLOptString(int kind, QWidget* parent);
    WSelectionButton* Mode() const { return m_mode; }
    QLineEdit* TextBox() const { return m_text; }

  protected:
    void ShowState() override;

  private:
    WSelectionButton* m_mode;
    QLineEdit* m_text;
};

class WHLOptDate : public WHLABSOption {
    Q_OBJECT
  public:
    explicit WHLOptDate(QWidget* parent);
    // Opens the date dialog at the entry's date and takes its choice.
    void PickDate();
    QToolButton* CalendarButton() const { return m_calendar; }
    WSelectionButton* Qualifier() const { return m_qualifier; }
    WDateButtons* Entry() const { return m_entry; }

  protected:
    void ShowState() override;

  private:
    QToolButton* m_calendar;
    WSelectionButton* m_qualifier;
    WDateButtons* m_entry;
};

class WHLOptInt : public WHLABSOption {
    Q_OBJECT
  public:
    explicit WHLOptInt(QWidget* parent);
    WSelectionButton* Operator() const { return m_operator; }
    QSpinBox* Value() const { return m_value; }

  protected:
    void ShowState() override;

  private:
    WSelectionButton* m_operator;
    QSpinBox* m_value;
};

class WHLOptAgeLimit : public WHLABSOption {
    Q_OBJECT
  public:
    explicit WHLOptAgeLimit(QWidget* parent);
    QSpinBox* Limit() const { return m_limit; }

  protected:
    void ShowState() override;

  private:
    QSpinBox* m_limit;
};

// Kinds 9 to 12: "A Date" and the LDS kind's status words.
class WHLOptLDSDate : public WHLABSOption {
    Q_OBJECT
  public:
    WHLOptLDSDate(int kind, QWidget* parent);
    QComboBox* List() const { return m_list; }

  protected:
    void ShowState() override;

  private:
    QComboBox* m_list;
};

}  // namespace kindrel
