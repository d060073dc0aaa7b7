// The main window: tab strip over the pages, the individual scroll bar, the left panel, the
// status bar, the commands, the navigation history and the open routine.
#pragma once

#include "app/app_texts.h"
#include "app/general_rows.h"
#include "app/view_page.h"
#include "services/embedded_gedcom.h"
#include "services/self_view_trailer.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QTimer;

namespace kindrel {

class TGeneralPage;
class TIslandsPanel;
class THelpWindow;
class WFindOrders;
class WFindState;
class WHLGroup;
class WHLGuiColMan;
class WListColumns;
class TLeftPanel;
class TMainCommands;
struct TPageEntry;
class TSE_SplashScreen;
class TSenderPage;
class TStatusPanels;
class WIndScroll;

class TLogoAppForm : public QMainWindow, public TViewContext {
    Q_OBJECT
  public:
    // Where the window's GEDCOM comes from.
    struct StartOptions {
        // The self-viewing file whose embedded GEDCOM is loaded when the window is first shown.
        std::string selfViewFile = "/proc/self/exe";
        // When set, this GEDCOM file is opened instead (a viewer started without payload).
        std::string gedcomFile;
        // Show the quick-help dialogs (off for screenshots and timing runs).
        bool quickHelp = true;
        // The pages to make; null takes PageTable() (tests give their own).
        const std::vector<TPageEntry>* pageTable = nullptr;
    };

    // FormCreate: cleans stale temporary files, builds the window empty with the Sender tab
    // active and the left panel hidden.
    explicit TLogoAppForm(StartOptions options, QWidget* parent = nullptr);
    // FormDestroy: stores the placement, frees the collection, deletes the temporary GEDCOM
    // and writes the settings.
    ~TLogoAppForm() override;

    // --- TViewContext ---
    WABSCollection* Collection() const override;
    int32_t ActiveIndividual() const override;
    void JumpToIndividual(int32_t individual) override;
    bool RawMode() const override { return m_rawMode; }
    const FileStatistics* Statistics() const override;
    WHLGroup* Highlighter() const override { return m_highlighter.get(); }
    WListColumns* ColumnSet(ColumnSetKind kind) const override;
    bool IsWindowBusy() const override;
    bool ScrollThumbDragged() const override;
    bool FlashText(const QString& text) override { return Flash(text); }
    int CurrentFamilyIndex() const override;
    void SetCurrentFamilyIndex(int k) override;

    // Sets the highlighting conditions (a condition string; empty removes the highlighting):
    // makes the group on first use, recalculates it under "Calculating.  Please Wait...",
    // and tells the scroll bar and every page. Errors are shown in a message box; false then.
    bool SetHighlightConditions(const std::string& conditions);
    // Writes conditions into the highlighting panel and applies them (the hidden option
    // --highlight); false when the panel refuses the text or applying fails.
    bool ShowHighlightConditions(const std::string& conditions);
    // The highlighting panel, the strip under the tabs and the tool bar's find box.
    WHLGuiColMan* HighlightPanel() const { return m_hlPanel; }
    QLabel* HighlightStrip() const { return m_hlStrip; }
    QComboBox* FindKindBox() const { return m_findKind; }
    QLineEdit* FindEdit() const { return m_findEdit; }
    WFindState* FindState() const { return m_find.get(); }
    WFindOrders* FindOrders() const { return m_findOrders.get(); }
    // The find commands (Ctrl+N, Ctrl+Shift+N, Ctrl+Q, Ctrl+F); false when nothing moved.
    bool FindNextExecute();
    bool FindPreviousExecute();
    bool QuickFindExecute();
    bool AdvancedFindExecute();
    // Changes the tool bar's find kind (1..4), stored in QFind.
    void SetFindKind(int kind);

    // FormShow's work: quick help 1, the embedded load (or the given GEDCOM), the Sender page,
    // the open routine and the start individual. Runs once, queued after the first show.
    void FormShow();
    // True once FormShow has finished.
    bool StartupDone() const { return m_startupDone; }

    // The open routine: true when nothing needed doing or the file was opened; false when the
    // file is missing or failed to load (the window is then empty).
    bool OpenGenealogyFile(const std::string& fileName);
    // Rebuilds the page the tab strip shows, now.
    void RefreshActivePage();
    // Asks for a rebuild of the page shown at the next turn of the event loop; several asks
    // within one turn rebuild once.
    void RequestRefresh();
    // Runs a rebuild asked for by RequestRefresh now (tests, benchmarks).
    void FlushPendingRefresh();
    // Selects tab index 0..9 (stores LastTab, switches the page, refreshes it).
    void SelectTab(int tabIndex);
    // The selected tab index.
    int ActiveTab() const;
    // Reopens the open file, keeping the active individual.
    void Reload();
    // History commands; false when nothing moved.
    bool GoBack();
    bool GoForward();
    // A left-panel command: toggles the panel when it shows page tag already, else shows it
    // with that page.
    void PanelCommand(int tag);
    // True while the left panel is shown.
    bool PanelShown() const;
    // The left panel's width (kept while it is hidden).
    int PanelWidth() const { return m_panelWidth; }
    // "Show RAW GEDCOM data".
    void SetRawMode(bool on);
    // Shows quick-help topic n when it is still due.
    void ShowQuickHelpTopic(int topic);
    // "Reset Quick Help Dialog Boxes".
    void ResetQuickHelpDialogs();
    // The help window at a context number / at the active tab's topic.
    THelpWindow* ShowHelpContext(int context);
    void ShowHelpForActiveTab();
    // The about box.
    void ShowAbout();
    // Print (Ctrl+P): the print dialog on the report of the active tab (main_window_print.cpp).
    bool OpenPrintDialog();
    // Shows a short message centred on the window (ignored while another is shown).
    bool Flash(const QString& text);
    // The splash window to fill from the trailer and close when the load ends.
    void SetSplash(TSE_SplashScreen* splash);
    // Restores the saved window placement (before the first show).
    void ApplySavedPlacement();
    // Starts the busy timer that shows the analysis progress in panel 0.
    void StartBusyTimer();
    // The analysis progress shown by the busy timer.
    void SetAnalysisProgress(int progress) { m_analysisProgress = progress; }

    // State for other parts and tests.
    bool IsBusy() const { return m_busy; }
    const std::string& FileName() const { return m_fileName; }
    const SelfViewTrailer* Trailer() const { return m_trailer ? &*m_trailer : nullptr; }
    QString StatusText(int panel) const;
    TStatusPanels* StatusPanels() const { return m_status; }
    QTabBar* Tabs() const { return m_tabBar; }
    TSenderPage* SenderPage() const;
    TGeneralPage* GeneralPage() const;
    WIndScroll* Scroll() const { return m_scroll; }
    TLeftPanel* LeftPanel() const { return m_leftPanel; }
    TMainCommands* Commands() const { return m_commands; }
    // The page shown for a tab index.
    TViewPage* PageForTab(int tabIndex) const;
    // The page with an object name (see app/pages/page_table.h), or null.
    TViewPage* PageNamed(const char* objectName) const;
    // The notebook's pages in table order.
    const std::vector<TViewPage*>& Pages() const { return m_pages; }
    // Extract GEDCOM: when the sender allowed it, asks for a file name and copies the GEDCOM
    // there under "Extracting File.  Please Wait..."; true when it was written.
    bool ExtractGedcom();
    // True when the sender allowed extraction and the GEDCOM is here to extract.
    bool CanExtractGedcom() const;
    // "Options...": the Options dialog; on OK the settings are stored and written, the
    // highlighting recalculated and every page rebuilt. True when OK was pressed.
    bool ShowOptions();
    // Gives the pages the font size of the settings (8, 10 or 12 points).
    void ApplyFontSize();
    // Carries out a page command on the page shown; false when it cannot.
    bool PerformPageCommand(PageCommand command);
    // "Use Islands": limits the window to the island at position (0: the whole file). Every
    // page lets go of the old view, the scroll bar is attached again (range and history
    // reset), and the page shown is rebuilt.
    void UseIslandInView(int32_t position);
    // The left panel's Islands page.
    TIslandsPanel* IslandsPanel() const { return m_islandsPanel; }
    // Shows the left panel with page tag (never hides it).
    void ShowPanelPage(int tag);
    // True while a page's long work runs under the wait dialog (a sort, a highlighted build,
    // an island calculation, a copy).
    bool PageWorkRunning() const;

  Q_SIGNALS:
    // FormShow finished; loaded tells whether a file is open.
    void startupFinished(bool loaded);
    // The island in use changed (0: none); the find state starts again.
    void islandInUseChanged(int32_t position);

  protected:
    void showEvent(QShowEvent* event) override;
    // FormClose: a close during a load cancels it and closes once it has ended.
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildPages();
    void BuildNotebook();
    // The left panel's Islands page and the list pages' links to the window.
    void BuildListPanels();
    // While page work runs: runs again later and answers true.
    bool DeferWhilePageWork(const std::function<void()>& again);
    void ConnectCommands();
    void ConnectPageCommands();
    void ConnectExtract();
    // "Restore settings at startup": the last session's tab, individual (of the same file) and
    // left panel, once the file is open.
    void RestoreLastSession();
    // The file a session is remembered for (the self-viewing file, or the GEDCOM opened).
    std::string SessionFile() const;
    // Records which file LastID belongs to (at close).
    void StoreSessionFile();
    void ConnectOptions();
    void UpdatePageCommands();
    // The find box, the find commands, the highlighting panel and strip (main_window_find.cpp).
    void ConnectFind();
    void UpdateFindCommands();
    void ForgetFind();
    void AttachFind();
    void HighlightingChange();
    void UpdateHighlightStrip();
    void FindTextChanged();
    void RefillFindBox();
    // Jumps for a find (the find box is not refilled meanwhile); false when nothing moved.
    bool FindJump(int32_t individual);
    // Every page, the column sets, the group and the scroll bar let go of the collection
    // (before it is freed).
    void ForgetCollection();
    // The column sets and every page take the new collection.
    void AttachViews();
    // Stores the column sets' strings (at destroy).
    void StoreColumnSets();
    void UpdateCommands();
    void TabControlChange(int index);
    void ClearViews();
    void ShowCounts(WABSCollection& collection);
    void ImportTimerTimer();
    void BusyTimerTimer();
    void OnProgress(const std::string& label, long long done, long long total);
    bool RunEmbeddedLoad();
    void StoreClosingState();
    // Closes the window (queued) when a close was asked for while a load ran.
    void FinishPendingClose();
    void WritePlacement();
    void InstallHooks();

    StartOptions m_start;
    std::unique_ptr<WABSCollection> m_collection;
    WABSCollection* m_loading = nullptr;  // the collection while the open routine loads it
    std::string m_fileName;
    std::optional<SelfViewTrailer> m_trailer;
    WGedcomTempFile m_gedcomTemp;
    int m_savedTab = -1;  // LastTab as the last session left it
    int m_crcFailures = 0;  // blocks of the embedded GEDCOM that failed their CRC check
    int m_crcBlocks = 0;
    std::optional<FileStatistics> m_statistics;
    bool m_busy = false;       // the open routine runs
    bool m_expanding = false;  // the embedded load runs
    bool m_closePending = false;
    bool m_rawMode = false;
    bool m_highlighting = false;  // SetHighlightConditions runs
    std::optional<std::string> m_pendingConditions;
    int m_familyIndex = 1;           // k of the Family and Pedigree pages ...
    int32_t m_familyIndexOwner = 0;  // ... for this active individual
    bool m_startupScheduled = false;
    bool m_startupDone = false;
    bool m_wasShown = false;
    int m_analysisProgress = 0;
    int m_panelWidth = 150;

    TMainCommands* m_commands = nullptr;
    TStatusPanels* m_status = nullptr;
    QSplitter* m_splitter = nullptr;
    TLeftPanel* m_leftPanel = nullptr;
    TIslandsPanel* m_islandsPanel = nullptr;
    QWidget* m_mainArea = nullptr;
    WIndScroll* m_scroll = nullptr;
    QTabBar* m_tabBar = nullptr;
    QStackedWidget* m_pageStack = nullptr;
    std::vector<TViewPage*> m_pages;  // notebook pages; the Highlighted tab shares the List page
    TViewPage* m_tabPages[kTabCount] = {};
    std::unique_ptr<WHLGroup> m_highlighter;
    WHLGuiColMan* m_hlPanel = nullptr;
    QLabel* m_hlStrip = nullptr;
    QComboBox* m_findKind = nullptr;
    QLineEdit* m_findEdit = nullptr;
    std::unique_ptr<WFindOrders> m_findOrders;
    std::unique_ptr<WFindState> m_find;
    bool m_findRefilling = false;
    bool m_findJumping = false;
    bool m_findSorting = false;
    bool m_findPending = false;  // text typed while a sort ran
    std::unique_ptr<WListColumns> m_columnSets[static_cast<int>(ColumnSetKind::kCount)];
    QTimer* m_refreshTimer = nullptr;
    QPointer<THelpWindow> m_help;
    QPointer<TSE_SplashScreen> m_splash;
    QTimer* m_importTimer = nullptr;
    QTimer* m_busyTimer = nullptr;
    QTimer* m_clearStatusTimer = nullptr;
    QElapsedTimer m_progressThrottle;
};

}  // namespace kindrel
