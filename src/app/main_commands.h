// The main window's commands: every action with its caption, shortcut and hint, the menus and
// the tool bar. The window connects the actions and sets their enabled state; commands whose
// feature this version does not have stay disabled.
#pragma once

#include "app/app_texts.h"

#include <QKeySequence>
#include <QObject>

class QAction;
class QMainWindow;

namespace kindrel {

class TMainCommands : public QObject {
    Q_OBJECT
  public:
    // Creates the actions, menus and tool bar of window.
    explicit TMainCommands(QMainWindow* window);

    QAction* print = nullptr;
    QAction* reload = nullptr;
    QAction* extractGedcom = nullptr;  // shown only when the sender allowed extraction
    QAction* exit = nullptr;
    QAction* copy = nullptr;
    QAction* quickFind = nullptr;
    QAction* advancedFind = nullptr;
    QAction* findNext = nullptr;
    QAction* findPrevious = nullptr;
    QAction* tabs[kTabCount] = {};  // Sender, General (F2) ... Sources (F10), Internet (F11)
    QAction* columns = nullptr;  // the column chooser of the list shown
    QAction* rawData = nullptr;
    QAction* directoryPanel = nullptr;
    QAction* fileSearchPanel = nullptr;
    QAction* highlightingPanel = nullptr;
    QAction* islandsPanel = nullptr;
    QAction* options = nullptr;
    QAction* back = nullptr;
    QAction* forward = nullptr;
    QAction* nextHighlighted = nullptr;
    QAction* previousHighlighted = nullptr;
    QAction* helpTopics = nullptr;
    QAction* resetQuickHelp = nullptr;
    QAction* about = nullptr;

  private:
    QAction* Make(const char* name, const QString& text, const QKeySequence& shortcut = {},
                  const QString& hint = {});
    void BuildMenus(QMainWindow* window);
    void BuildToolBar(QMainWindow* window);
};

}  // namespace kindrel
