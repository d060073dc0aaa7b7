#include "app/main_commands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace kindrel {

namespace {

// Tab captions of the View menu, in tab order.
constexpr const char* kTabCommandTexts[kTabCount] = {
    "Sender Tab",   "General Tab",     "Individual Tab", "Family Tab",
    "Pedigree Tab", "Descendants Tab", "List Tab",       "Highlighted Tab",
    "Islands Tab",  "Sources Tab",     "Internet Tab"};

}  // namespace

TMainCommands::TMainCommands(QMainWindow* window) : QObject(window) {
    setObjectName(QStringLiteral("mainCommands"));
    QStyle* style = window->style();
    print = Make("actPrint", QStringLiteral("Print"), QKeySequence(QStringLiteral("Ctrl+P")),
                 QStringLiteral("Print"));
    reload = Make("actReload", QStringLiteral("Reload the Genealogy File"), {},
                  QStringLiteral("Reload the Genealogy File"));
    reload->setIcon(style->standardIcon(QStyle::SP_BrowserReload));
    extractGedcom = Make("actExtractGedcom", QStringLiteral("Extract GEDCOM..."), {},
                         QStringLiteral("Save the GEDCOM file to this computer"));
    extractGedcom->setVisible(false);
    exit = Make("actExit", QStringLiteral("E&xit"));
    exit->setMenuRole(QAction::QuitRole);
    copy = Make("actCopy", QStringLiteral("Copy To Clipboard"),
                QKeySequence(QStringLiteral("Ctrl+C")), QStringLiteral("Copy To Clipboard"));
    quickFind = Make("actQuickFind", QStringLiteral("Quick Find..."),
                     QKeySequence(QStringLiteral("Ctrl+Q")));
    advancedFind = Make("actAdvancedFind", QStringLiteral("Advanced Find ..."),
                        QKeySequence(QStringLiteral("Ctrl+F")));
    findNext =
        Make("actFindNext", QStringLiteral("Find Next"), QKeySequence(QStringLiteral("Ctrl+N")));
    findPrevious = Make("actFindPrevious", QStringLiteral("Find Previous"),
                        QKeySequence(QStringLiteral("Ctrl+Shift+N")));
    for (int t = 0; t < kTabCount; ++t) {
        // Sender has no key; General to Internet are F2 to F11.
        const QKeySequence key = t == 0 ? QKeySequence() : QKeySequence(Qt::Key_F1 + t);
        tabs[t] = Make(qPrintable(QStringLiteral("actTab%1").arg(t)),
                       QString::fromLatin1(kTabCommandTexts[t]), key);
        tabs[t]->setData(t);
    }
    columns = Make("actColumns", QStringLiteral("Columns..."), {},
                   QStringLiteral("Choose the columns of the list shown"));
    rawData = Make("actRawData", QStringLiteral("Show RAW GEDCOM data"));
    rawData->setCheckable(true);
    directoryPanel = Make("actDirectoryPanel", QStringLiteral("Directory Panel"), {},
                          QStringLiteral("Show or hide the folder tree"));
    directoryPanel->setIcon(style->standardIcon(QStyle::SP_DirIcon));
    fileSearchPanel = Make("actFileSearchPanel", QStringLiteral("File Search Panel"), {},
                           QStringLiteral("Search this computer for genealogy files"));
    fileSearchPanel->setIcon(style->standardIcon(QStyle::SP_FileDialogContentsView));
    highlightingPanel = Make("actHighlightingPanel", QStringLiteral("Highlighting Panel"));
    islandsPanel = Make("actIslandsPanel", QStringLiteral("Islands Panel"));
    options = Make("actOptions", QStringLiteral("Options..."));
    back =
        Make("actBack", QStringLiteral("Back"), QKeySequence::Back, QString::fromUtf8(kGoBackHint));
    back->setIcon(style->standardIcon(QStyle::SP_ArrowBack));
    forward = Make("actForward", QStringLiteral("Forward"), QKeySequence::Forward,
                   QStringLiteral("Go forward to the next individual"));
    forward->setIcon(style->standardIcon(QStyle::SP_ArrowForward));
    nextHighlighted = Make("actNextHighlighted", QStringLiteral("Next Highlighted Individual"),
                           QKeySequence(QStringLiteral("Ctrl+H")));
    previousHighlighted =
        Make("actPreviousHighlighted", QStringLiteral("Previous Highlighted Individual"),
             QKeySequence(QStringLiteral("Ctrl+Shift+H")));
    helpTopics = Make("actHelpTopics", QStringLiteral("Help Topics"), QKeySequence::HelpContents,
                      QStringLiteral("Help for the tab shown"));
    helpTopics->setIcon(style->standardIcon(QStyle::SP_MessageBoxQuestion));
    resetQuickHelp = Make("actResetQuickHelp", QString::fromUtf8(kResetQuickHelpText));
    about = Make("actAbout", QStringLiteral("&About..."));
    about->setMenuRole(QAction::AboutRole);

    // Commands of features this version does not have stay disabled.
    for (QAction* later : {print, copy, columns, quickFind, advancedFind, findNext, findPrevious, rawData,
                           highlightingPanel, islandsPanel, nextHighlighted, previousHighlighted})
        later->setEnabled(false);

    BuildMenus(window);
    BuildToolBar(window);
}

QAction* TMainCommands::Make(const char* name, const QString& text, const QKeySequence& shortcut,
                             const QString& hint) {
    auto* action = new QAction(text, parent());
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    return action;
}

void TMainCommands::BuildMenus(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("menuFile"));
    file->addAction(print);
    file->addAction(reload);
    file->addAction(extractGedcom);
    file->addSeparator();
    file->addAction(exit);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    edit->addAction(copy);
    edit->addSeparator();
    edit->addAction(quickFind);
    edit->addAction(advancedFind);
    edit->addAction(findNext);
    edit->addAction(findPrevious);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("menuView"));
    for (QAction* tab : tabs) view->addAction(tab);
    view->addSeparator();
    view->addAction(columns);
    view->addAction(rawData);
    view->addSeparator();
    view->addAction(directoryPanel);
    view->addAction(fileSearchPanel);
    view->addAction(highlightingPanel);
    view->addAction(islandsPanel);
    view->addSeparator();
    view->addAction(options);

    QMenu* go = bar->addMenu(QStringLiteral("&Go"));
    go->setObjectName(QStringLiteral("menuGo"));
    go->addAction(back);
    go->addAction(forward);
    go->addSeparator();
    go->addAction(nextHighlighted);
    go->addAction(previousHighlighted);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    help->addAction(helpTopics);
    help->addAction(resetQuickHelp);
    help->addSeparator();
    help->addAction(about);
}

void TMainCommands::BuildToolBar(QMainWindow* window) {
    QToolBar* bar = window->addToolBar(QStringLiteral("Main"));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(18, 18));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->addAction(back);
    bar->addAction(forward);
    bar->addSeparator();
    bar->addAction(directoryPanel);
    bar->addAction(fileSearchPanel);
    bar->addSeparator();
    bar->addAction(reload);
    bar->addAction(helpTopics);
}

}  // namespace kindrel
