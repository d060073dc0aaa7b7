// What every grid and panel of people shares: Enter or Return acts as a double click, and a
// context menu offers "Go to <name>" and "Copy".
#pragma once

#include <QTableView>

#include <cstdint>
#include <functional>

class QMenu;

namespace kindrel {

class TViewContext;

// Shows the context menu of a person at globalPos: "Go to " + display name (when individual
// is not 0; it jumps there) and "Copy" (copyText to the clipboard, when not empty). Extra
// actions may be added by extend before it is shown.
void ShowPersonMenu(QWidget* owner, const QPoint& globalPos, TViewContext& context,
                    int32_t individual, const QString& copyText,
                    const std::function<void(QMenu&)>& extend = {});

// Tests: while a handler is installed, context menus (ShowPersonMenu and any menu a page
// shows through RunContextMenu) are handed to it instead of being shown; it may trigger
// one of their actions. Pass {} to remove it.
void SetContextMenuTestHandler(std::function<void(QMenu&)> handler);
// Shows menu at globalPos (or hands it to the test handler).
void RunContextMenu(QMenu& menu, const QPoint& globalPos);

// A table of people over any model. The page says which individual a cell leads to and what
// a row copies as; double click, Enter and "Go to" then jump there.
class WPersonTable : public QTableView {
    Q_OBJECT
  public:
    WPersonTable(TViewContext& context, QWidget* parent = nullptr);

    // The individual a cell leads to (0 = none). Unset: nobody.
    void SetPersonAt(std::function<int32_t(const QModelIndex&)> personAt) {
        m_personAt = std::move(personAt);
    }
    // The text "Copy" puts on the clipboard for a cell's row. Unset: the row's cells joined
    // by tabs.
    void SetRowText(std::function<QString(const QModelIndex&)> rowText) {
        m_rowText = std::move(rowText);
    }
    // Adds a page's own actions to a row's context menu (after "Go to" and "Copy").
    void SetMenuExtension(std::function<void(QMenu&, const QModelIndex&)> extend) {
        m_extendMenu = std::move(extend);
    }
    // The individual of a cell, 0 when none.
    int32_t PersonAt(const QModelIndex& index) const;
    // The copy text of a cell's row.
    QString RowText(const QModelIndex& index) const;
    // Double click or Enter on a cell: jumps to its individual when there is one, then
    // emits rowActivated.
    void Activate(const QModelIndex& index);

  Q_SIGNALS:
    // A cell was double-clicked or Enter was pressed on it.
    void rowActivated(const QModelIndex& index);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    TViewContext& m_context;
    std::function<int32_t(const QModelIndex&)> m_personAt;
    std::function<QString(const QModelIndex&)> m_rowText;
    std::function<void(QMenu&, const QModelIndex&)> m_extendMenu;
};

}  // namespace kindrel
