#include "app/main_window.h"

#include "analysis/list_columns.h"
#include "app/about_box.h"
#include "app/app_texts.h"
#include "app/directory_panel.h"
#include "app/file_search_panel.h"
#include "app/find_state.h"
#include "app/general_page.h"
#include "app/help_window.h"
#include "app/ind_scroll.h"
#include "app/init_help_dialog.h"
#include "app/left_panel.h"
#include "app/main_commands.h"
#include "app/message_box.h"
#include "app/quick_help.h"
#include "app/sender_page.h"
#include "app/splash_screen.h"
#include "app/status_panels.h"
#include "app/viewer_settings.h"
#include "app/wait_dialog.h"
#include "containers/ui_hooks.h"
#include "highlight/hl_group.h"
#include "model/collection.h"
#include "model/display_options.h"
#include "services/options.h"
#include "services/stale_files.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace kindrel {

namespace {

constexpr int kBusyTickMs = 50;
constexpr int kMinPanelWidth = 120;
constexpr int kClearStatusMs = 3000;
constexpr int kShowMaximized = 3;
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;

}  // namespace

TLogoAppForm::TLogoAppForm(StartOptions options, QWidget* parent)
    : QMainWindow(parent), m_start(std::move(options)) {
    setObjectName(QStringLiteral("logoAppForm"));
    // A copy left behind by an earlier run that ended abnormally is removed now.
    DeleteStaleTempFiles();
    setWindowTitle(QString::fromUtf8(kMainCaption));
    LoadDisplayOptions(Options(), Display());

    m_commands = new TMainCommands(this);
    m_status = new TStatusPanels(statusBar());
    BuildPages();
    ApplyFontSize();
    ConnectCommands();

    m_importTimer = new QTimer(this);
    m_importTimer->setObjectName(QStringLiteral("importTimer"));
    connect(m_importTimer, &QTimer::timeout, this, &TLogoAppForm::ImportTimerTimer);
    m_busyTimer = new QTimer(this);
    m_busyTimer->setObjectName(QStringLiteral("busyTimer"));
    m_busyTimer->setInterval(kBusyTickMs);
    connect(m_busyTimer, &QTimer::timeout, this, &TLogoAppForm::BusyTimerTimer);
    m_clearStatusTimer = new QTimer(this);
    m_clearStatusTimer->setObjectName(QStringLiteral("clearStatusTimer"));
    m_clearStatusTimer->setSingleShot(true);
    m_clearStatusTimer->setInterval(kClearStatusMs);
    connect(m_clearStatusTimer, &QTimer::timeout, this, [this] {
        m_status->SetText(0, QString());
        m_status->HideProgress();
    });

    InstallHooks();
    m_savedTab = Options().ReadInt(Opt::LastTab);
    // Changed settings are written whenever the application becomes idle.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [] {
            if (!Options().AnyChanged()) return;
            try {
                Options().Flush();
            } catch (const std::exception&) {
                // Tried again at the next idle moment and at exit.
            }
        });
    SelectTab(kTabSender);
    m_leftPanel->FileSearch()->SetSubDirectories(true);
    m_leftPanel->Directory()->SetCurrentDirectory(
        QString::fromStdString(Options().ReadText(Opt::LastDir)));
    m_leftPanel->hide();
    UpdateCommands();
}

TLogoAppForm::~TLogoAppForm() {
    if (m_wasShown) WritePlacement();
    try {
        StoreColumnSets();
    } catch (const std::exception&) {
        // The settings file cannot be read or written (a named pipe, no permission): the
        // column sets are not kept, and closing goes on.
    }
    {
        const QSignalBlocker quiet(m_scroll);
        ForgetCollection();
    }
    m_collection.reset();
    m_gedcomTemp.Remove();
    // The hooks point at this window; later work reports nowhere.
    Hooks() = UiHooks{};
    try {
        Options().Flush();
    } catch (const std::exception&) {
        // The settings file cannot be written; nothing more can be done while closing.
    }
    if (m_splash) m_splash->close();
}

void TLogoAppForm::BuildPages() {
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("mainSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_leftPanel = new TLeftPanel(m_splitter);
    m_mainArea = new QWidget(m_splitter);
    m_mainArea->setObjectName(QStringLiteral("mainArea"));
    m_splitter->addWidget(m_leftPanel);
    m_splitter->addWidget(m_mainArea);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);

    auto* layout = new QVBoxLayout(m_mainArea);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_scroll = new WIndScroll(m_mainArea);
    layout->addWidget(m_scroll);
    m_tabBar = new QTabBar(m_mainArea);
    m_tabBar->setObjectName(QStringLiteral("tabStrip"));
    m_tabBar->setExpanding(false);
    m_tabBar->setDrawBase(true);
    for (const std::string& text : TabTexts()) m_tabBar->addTab(QString::fromStdString(text));
    auto* tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(6, 4, 6, 0);
    tabRow->addWidget(m_tabBar);
    tabRow->addStretch();
    layout->addLayout(tabRow);
    m_pageStack = new QStackedWidget(m_mainArea);
    m_pageStack->setObjectName(QStringLiteral("pageStack"));
    m_pageStack->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_pageStack, 1);

    BuildNotebook();
    BuildListPanels();

    m_panelWidth = std::max(kMinPanelWidth, Options().ReadInt(Opt::LastPanelWidth));
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] {
        if (PanelShown()) m_panelWidth = m_splitter->sizes().front();
    });

    connect(m_tabBar, &QTabBar::currentChanged, this, &TLogoAppForm::TabControlChange);
    // Changes of the active individual within one turn of the event loop rebuild once.
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setObjectName(QStringLiteral("refreshTimer"));
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, &TLogoAppForm::RefreshActivePage);
    connect(m_scroll, &WIndScroll::changed, this, &TLogoAppForm::RequestRefresh);
    connect(m_scroll, &WIndScroll::historyChanged, this, &TLogoAppForm::UpdateCommands);
    connect(m_leftPanel, &TLeftPanel::closeRequested, m_leftPanel, &QWidget::hide);
    connect(m_leftPanel->Directory(), &TDirectoryPanel::openRequested, this,
            [this](const QString& path) { OpenGenealogyFile(path.toStdString()); });
    connect(m_leftPanel->FileSearch(), &TFileSearchPanel::openRequested, this,
            [this](const QString& path) { OpenGenealogyFile(path.toStdString()); });
}

void TLogoAppForm::ConnectCommands() {
    TMainCommands& c = *m_commands;
    connect(c.exit, &QAction::triggered, this, &QWidget::close);
    connect(c.reload, &QAction::triggered, this, &TLogoAppForm::Reload);
    for (int t = 0; t < kTabCount; ++t)
        connect(c.tabs[t], &QAction::triggered, this, [this, t] { SelectTab(t); });
    connect(c.rawData, &QAction::toggled, this, &TLogoAppForm::SetRawMode);
    connect(c.directoryPanel, &QAction::triggered, this, [this] { PanelCommand(kPanelDirectory); });
    connect(c.fileSearchPanel, &QAction::triggered, this,
            [this] { PanelCommand(kPanelFileSearch); });
    connect(c.highlightingPanel, &QAction::triggered, this,
            [this] { PanelCommand(kPanelHighlighting); });
    connect(c.islandsPanel, &QAction::triggered, this, [this] { PanelCommand(kPanelIslands); });
    connect(c.back, &QAction::triggered, this, &TLogoAppForm::GoBack);
    connect(c.forward, &QAction::triggered, this, &TLogoAppForm::GoForward);
    connect(c.helpTopics, &QAction::triggered, this, &TLogoAppForm::ShowHelpForActiveTab);
    connect(c.resetQuickHelp, &QAction::triggered, this, &TLogoAppForm::ResetQuickHelpDialogs);
    connect(c.about, &QAction::triggered, this, &TLogoAppForm::ShowAbout);
    ConnectPageCommands();
    ConnectExtract();
    ConnectOptions();
}

void TLogoAppForm::UpdateCommands() {
    TMainCommands& c = *m_commands;
    const bool open = m_collection != nullptr && !m_busy;
    c.reload->setEnabled(open);
    c.rawData->setEnabled(open && m_collection->Kind() == kKindGedcom);
    const WNavHistory& history = m_scroll->History();
    c.back->setEnabled(open && history.CanGoBack());
    c.forward->setEnabled(open && history.CanGoForward());
    // The hints name the individuals each command would visit.
    c.back->setToolTip(history.CanGoBack() ? QString::fromStdString(history.BackText())
                                           : QString::fromUtf8(kGoBackHint));
    c.forward->setToolTip(history.CanGoForward()
                              ? QString::fromStdString(history.ForwardText())
                              : QStringLiteral("Go forward to the next individual"));
    UpdatePageCommands();
}

WABSCollection* TLogoAppForm::Collection() const {
    return m_collection.get();
}

int32_t TLogoAppForm::ActiveIndividual() const {
    return m_collection ? m_scroll->Current() : 0;
}

const FileStatistics* TLogoAppForm::Statistics() const {
    return m_statistics ? &*m_statistics : nullptr;
}

TViewPage* TLogoAppForm::PageForTab(int tabIndex) const {
    if (tabIndex < 0 || tabIndex >= kTabCount) return nullptr;
    return m_tabPages[tabIndex];
}

int TLogoAppForm::ActiveTab() const {
    return m_tabBar->currentIndex();
}

void TLogoAppForm::SelectTab(int tabIndex) {
    if (tabIndex < 0 || tabIndex >= kTabCount) return;
    if (m_tabBar->currentIndex() == tabIndex)
        TabControlChange(tabIndex);  // the strip does not signal an unchanged index
    else
        m_tabBar->setCurrentIndex(tabIndex);
}

void TLogoAppForm::TabControlChange(int index) {
    if (index < 0 || index >= kTabCount) return;
    Options().WriteInt(Opt::LastTab, index);
    TViewPage* page = PageForTab(index);
    page->TabShown(index);
    m_pageStack->setCurrentWidget(page);
    RefreshActivePage();
    if (page->IsAvailable()) ShowQuickHelpTopic(QuickHelpTopicForTab(index));
}

void TLogoAppForm::RefreshActivePage() {
    m_refreshTimer->stop();
    if (TViewPage* page = PageForTab(ActiveTab())) page->RefreshPage();
    UpdateCommands();
}

void TLogoAppForm::RequestRefresh() {
    if (!m_refreshTimer->isActive()) m_refreshTimer->start();
}

void TLogoAppForm::FlushPendingRefresh() {
    if (m_refreshTimer->isActive()) RefreshActivePage();
}

void TLogoAppForm::SetRawMode(bool on) {
    if (m_rawMode == on) return;
    m_rawMode = on;
    m_commands->rawData->setChecked(on);
    RefreshActivePage();
}

void TLogoAppForm::PanelCommand(int tag) {
    if (tag < 0 || tag >= kPanelPageCount) return;
    if (m_leftPanel->isVisible() && m_leftPanel->Page() == tag) {
        m_leftPanel->hide();
        return;
    }
    m_leftPanel->SetPage(tag);
    if (!PanelShown()) {
        m_leftPanel->show();
        const int total = std::max(m_splitter->width(), m_panelWidth + kMinPanelWidth);
        m_splitter->setSizes({m_panelWidth, total - m_panelWidth});
    }
    ShowQuickHelpTopic(QuickHelpTopicForPanel(tag));
}

bool TLogoAppForm::PanelShown() const {
    return !m_leftPanel->isHidden();
}

void TLogoAppForm::ShowQuickHelpTopic(int topic) {
    if (!m_start.quickHelp || topic == 0) return;
    kindrel::ShowQuickHelp(this, Options(), topic,
                           [this](int context) { ShowHelpContext(context); });
}

void TLogoAppForm::ResetQuickHelpDialogs() {
    ResetQuickHelp(Options());
    RefreshActivePage();
}

THelpWindow* TLogoAppForm::ShowHelpContext(int context) {
    if (!m_help) m_help = new THelpWindow(this);
    m_help->ShowContext(context);
    m_help->show();
    m_help->raise();
    return m_help;
}

void TLogoAppForm::ShowHelpForActiveTab() {
    const int topic = ActiveTab() == kTabSender ? 1 : QuickHelpTopicForTab(ActiveTab());
    ShowHelpContext(HelpContextForTopic(topic));
}

void TLogoAppForm::ShowAbout() {
    TSEAboutBox box(this);
    WDialogRunner::Run(box);
}

bool TLogoAppForm::Flash(const QString& text) {
    return FlashMessage(this, text);
}

void TLogoAppForm::SetSplash(TSE_SplashScreen* splash) {
    m_splash = splash;
}

QString TLogoAppForm::StatusText(int panel) const {
    return m_status->Text(panel);
}

void TLogoAppForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    m_wasShown = true;
    if (m_startupScheduled) return;
    m_startupScheduled = true;
    // Queued, so that the window is laid out and can paint before the load starts.
    QTimer::singleShot(0, this, &TLogoAppForm::FormShow);
}

void TLogoAppForm::closeEvent(QCloseEvent* event) {
    if (PageWorkRunning()) {
        // A page's long work runs in the event pump: stop it and close once it has ended.
        SetCancelRequested(true);
        event->ignore();
        DeferWhilePageWork([this] { close(); });
        return;
    }
    if (m_busy || m_expanding) {
        // Closing inside a load would free what the load works on: cancel it and close once
        // it has returned.
        m_closePending = true;
        SetCancelRequested(true);
        event->ignore();
        return;
    }
    StoreClosingState();
    m_leftPanel->FileSearch()->StopSearch();
    if (m_help) m_help->close();
    event->accept();
}

void TLogoAppForm::StoreClosingState() {
    WOptions& options = Options();
    options.WriteInt(Opt::LastID, ActiveIndividual());
    StoreSessionFile();
    options.WriteBool(Opt::LastPanelState, PanelShown());
    options.WriteInt(Opt::LastPanel, m_leftPanel->Page());
    if (PanelShown()) m_panelWidth = m_splitter->sizes().front();
    options.WriteInt(Opt::LastPanelWidth, m_panelWidth);
    options.WriteText(Opt::LastDrive, "/");
    options.WriteText(Opt::LastDir, m_leftPanel->Directory()->CurrentDirectory().toStdString());
}

void TLogoAppForm::ApplySavedPlacement() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const WindowPlacement placement =
        Options().ReadWindowPlacement(available.width(), available.height());
    QRect normal(QPoint(placement.left, placement.top),
                 QPoint(placement.right - 1, placement.bottom - 1));
    // A rectangle from another screen layout is moved (and if need be shrunk) onto this one.
    if (normal.width() < 200 || normal.height() < 150)
        normal = available.adjusted(available.width() / 8, available.height() / 8,
                                    -available.width() / 8, -available.height() / 8);
    normal.setWidth(std::min(normal.width(), available.width()));
    normal.setHeight(std::min(normal.height(), available.height()));
    if (!available.contains(normal)) {
        normal.moveLeft(
            std::clamp(normal.left(), available.left(), available.right() - normal.width() + 1));
        normal.moveTop(
            std::clamp(normal.top(), available.top(), available.bottom() - normal.height() + 1));
    }
    // The rectangle's corner is the frame's, title bar included (as move() takes it), so a
    // window put back at the top of the screen keeps its title bar on the screen; its size is
    // the inside's.
    resize(normal.size());
    move(normal.topLeft());
    if (placement.showCmd == kShowMaximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TLogoAppForm::WritePlacement() {
    WindowPlacement placement;
    placement.showCmd = isMaximized()   ? kShowMaximized
                        : isMinimized() ? kShowMinimized
                                        : kShowNormal;
    QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    // Stored with the frame's corner, as ApplySavedPlacement puts it back.
    normal.translate(frameGeometry().topLeft() - geometry().topLeft());
    placement.left = normal.left();
    placement.top = normal.top();
    placement.right = normal.left() + normal.width();
    placement.bottom = normal.top() + normal.height();
    try {
        Options().WriteWindowPlacement(placement);
    } catch (const std::exception&) {
        // Not writable: the next start uses the default placement.
    }
}

}  // namespace kindrel
