// The condition editor panels: rows (WHLGuiCond) of sign, condition list and parameter editor,
// And/Or separators (WHLGuiBool) between them, and the manager (WHLGuiMan) with Add, Delete
// and Apply over a scrolling area. WHLGuiColMan is the highlighting panel, WHLGuiSearchMan
// the condition editor of the find panel. The logic lives in WHLGuiManModel.
#pragma once

#include "app/hl_options.h"
#include "highlight/hl_editor.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QPushButton;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

namespace kindrel {

class WHLGuiBool : public QWidget {
    Q_OBJECT
  public:
    explicit WHLGuiBool(QWidget* parent = nullptr);
    bool BoolValue() const { return m_value; }
    // Sets the value and the caption ("And" or "Or").
    void SetBoolValue(bool value);
    QToolButton* Button() const { return m_button; }

  Q_SIGNALS:
    // The user flipped the value.
    void changed();

  private:
    QToolButton* m_button;
    bool m_value = true;
};

class WHLGuiCond : public QWidget {
    Q_OBJECT
  public:
    // A row showing row (owned by the manager's model).
    WHLGuiCond(WHLGuiCondModel& row, QWidget* parent = nullptr);
    // The row's condition text.
    std::string HLCondStr() const { return m_row.HLCondStr(); }
    // Shows the model again (after it was written).
    void ShowModel();
    // Takes the context (handed on to the editor).
    void AttachContext(const WHLContext& context);
    // What the user can do: flip the sign, choose list entry k.
    void ToggleSign();
    void ChooseEntry(int position);

    QToolButton* SignButton() const { return m_sign; }
    QComboBox* List() const { return m_list; }
    // The parameter editor, or null.
    WHLABSOption* Editor() const { return m_editor.get(); }

  Q_SIGNALS:
    void changed();

  private:
    void Relabel();
    void MakeEditor();

    WHLGuiCondModel& m_row;
    WHLContext m_context;
    QToolButton* m_sign;
    QComboBox* m_list;
    QVBoxLayout* m_layout;
    std::unique_ptr<WHLABSOption> m_editor;
};

class WHLGuiMan : public QWidget {
    Q_OBJECT
  public:
    WHLGuiMan(std::vector<int> codes, QWidget* parent = nullptr);
    ~WHLGuiMan() override;

    // The condition string (HLStrings).
    std::string HLStrings() const { return m_model.HLStrings(); }
    // Writes the condition string; false (nothing changes) for more than ten conditions or
    // text that does not parse. Not passed on.
    bool SetHLStrings(const std::string& text);
    // Takes the collection, orders and group, and hands them to every row.
    void AttachContext(const WHLContext& context);
    // Manual mode ("HLManual"): changes wait for Apply.
    void SetManual(bool manual);
    // Holds changes back while the owner recalculates.
    void Defer(bool defer);
    int RowCount() const { return m_model.RowCount(); }
    bool ManualChangePending() const { return m_model.ManualChangePending(); }
    const WHLGuiManModel& Model() const { return m_model; }

    // The buttons' work, also from the context menu.
    void Add();
    void Delete();
    void Apply();
    // Copies the condition string to the clipboard / writes the clipboard's string and passes
    // it on; a clipboard without a condition string is reported.
    void CopyConditionString();
    void PasteConditionString();

    WHLGuiCond* Row(int i) const { return m_rows[static_cast<size_t>(i)]; }
    WHLGuiBool* Separator(int i) const { return m_separators[static_cast<size_t>(i)]; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* ApplyButton() const { return m_apply; }

  Q_SIGNALS:
    // The condition string should be applied (OnChange).
    void changeRequested();
    // The changed state was set or cleared (OnApply).
    void applyStateChanged();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void ShowRows();
    void UpdateButtons();

    WHLGuiManModel m_model;
    std::vector<WHLGuiCond*> m_rows;
    std::vector<WHLGuiBool*> m_separators;
    QScrollArea* m_scroll = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_apply = nullptr;
};

// The highlighting panel: all 100 conditions.
class WHLGuiColMan : public WHLGuiMan {
    Q_OBJECT
  public:
    explicit WHLGuiColMan(QWidget* parent = nullptr);
};

// The find panel's condition editor: the 77 conditions that suit a search.
class WHLGuiSearchMan : public WHLGuiMan {
    Q_OBJECT
  public:
    explicit WHLGuiSearchMan(QWidget* parent = nullptr);
};

}  // namespace kindrel
