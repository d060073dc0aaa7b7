// The window's smaller parts: wait dialog, info grid model, quick-help dialog, help pages, file
// search panel and directory panel.
#include "gui_test_support.h"

#include "app/directory_panel.h"
#include "app/file_search_panel.h"
#include "app/help_window.h"
#include "app/info_grid_model.h"
#include "app/init_help_dialog.h"
#include "app/quick_help.h"
#include "app/splash_screen.h"
#include "app/wait_dialog.h"
#include "containers/ui_hooks.h"
#include "services/options.h"
#include "services/self_view_trailer.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kindrel::guitest {
namespace {

namespace fs = std::filesystem;

class WidgetsTest : public ::testing::Test {
  protected:
    void SetUp() override { GuiApp(); }
};

TEST_F(WidgetsTest, WaitDialogNestsAndKeepsTheOutermostMessage) {
    QWidget owner;
    owner.show();
    TWaitDlg::ShowWait("Outer", true, false, &owner);
    TWaitDlg::ShowWait("Inner", true, false, &owner);
    ASSERT_NE(TWaitDlg::Current(), nullptr);
    EXPECT_EQ(TWaitDlg::Current()->Message(), "Outer");
    EXPECT_EQ(TWaitDlg::Depth(), 2);
    EXPECT_EQ(TWaitDlg::Current()->windowTitle(), "Working...");
    TWaitDlg::HideWait();
    EXPECT_NE(TWaitDlg::Current(), nullptr);
    EXPECT_FALSE(owner.isEnabled());
    TWaitDlg::HideWait();
    EXPECT_EQ(TWaitDlg::Current(), nullptr);
    EXPECT_TRUE(owner.isEnabled());
    TWaitDlg::HideWait();  // one too many does nothing
    EXPECT_EQ(TWaitDlg::Depth(), 0);
}

TEST_F(WidgetsTest, WaitDialogAppearsAfterItsDelayAndCancelSetsTheFlag) {
    QWidget owner;
    owner.show();
    SetCancelRequested(true);
    TWaitDlg::ShowWait("Reading", false, true, &owner);
    EXPECT_FALSE(CancelRequested());  // cleared by a show with Cancel
    TWaitDlg* dialog = TWaitDlg::Current();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_TRUE(WaitFor([&] { return dialog->isVisible(); }, 2000));
    EXPECT_FALSE(owner.isEnabled());
    auto* cancel = dialog->findChild<QPushButton*>("waitCancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isEnabled());  // usable while the owner is disabled
    cancel->click();
    EXPECT_TRUE(CancelRequested());
    TWaitDlg::HideWait();
    EXPECT_TRUE(owner.isEnabled());
    SetCancelRequested(false);
}

TEST_F(WidgetsTest, InfoGridModelPassesTheModelTester) {
    WInfoGridModel model("Info", "Description");
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 2);
    model.SetRows(
        {{"Name", "Eva", {}}, {"Address", "1 Road\r\nTown", {}}, {"Tabs", "a\tb\tc", {40, 90}}});
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.index(1, 1).data().toString(), "1 Road, Town");
    EXPECT_EQ(model.index(1, 1).data(Qt::ToolTipRole).toString(), "1 Road\r\nTown");
    EXPECT_EQ(model.index(2, 1).data(WInfoGridModel::kTabOffsetsRole).value<QList<int>>(),
              (QList<int>{40, 90}));
    EXPECT_FALSE(model.index(0, 0).data(WInfoGridModel::kTabOffsetsRole).isValid());
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Info");
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    model.SetRows({});
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(WidgetsTest, TabStopValuesAreDrawnAtTheirOffsets) {
    WInfoGridModel model("Info", "Description");
    model.SetRows({{"Tabs", "LEFT\tRIGHT", {200}}});
    QTableView view;
    view.setModel(&model);
    view.setItemDelegate(new WTabStopDelegate(&view));
    view.resize(600, 120);
    view.setColumnWidth(0, 80);
    view.setColumnWidth(1, 500);
    view.show();
    const QImage image = view.grab().toImage();
    // Something is drawn right of the column's offset 200 (the second part).
    const QRect cell = view.visualRect(model.index(0, 1)).translated(view.viewport()->pos());
    bool inked = false;
    const QColor base = image.pixelColor(cell.left() + 450, cell.center().y());
    for (int x = cell.left() + 200; x < cell.left() + 260 && !inked; ++x)
        for (int y = cell.top(); y <= cell.bottom() && !inked; ++y)
            inked = image.pixelColor(x, y) != base;
    EXPECT_TRUE(inked);
}

TEST_F(WidgetsTest, QuickHelpDialogShowsItsTopicOnceAndCanStopAll) {
    WOptions options(TestDir() + "/quickhelp.ini");
    int shown = 0;
    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        ++shown;
        auto& help = static_cast<TInitHelpDialog&>(dialog);
        EXPECT_EQ(help.windowTitle(), "Quick Help");
        EXPECT_EQ(help.findChild<QLabel*>("helpTitle")->text(), "General Tab");
        EXPECT_EQ(help.findChild<QLabel*>("helpNotice")->text(),
                  "This help dialog box for \"General Tab\" is only displayed once.");
        EXPECT_TRUE(help.findChild<QLabel*>("helpManualLinksLabel")->isHidden());
        EXPECT_EQ(help.findChild<QCheckBox*>("helpStopDisplaying")->text(),
                  "Stop displaying these help dialog boxes");
        help.SetStopDisplaying(true);
        return static_cast<int>(QDialog::Accepted);
    });
    EXPECT_TRUE(ShowQuickHelp(nullptr, options, 2, {}));
    EXPECT_FALSE(ShowQuickHelp(nullptr, options, 2, {}));
    EXPECT_FALSE(ShowQuickHelp(nullptr, options, 3, {}));  // stopped for all
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(options.ReadBool(Opt::IH2));
    EXPECT_TRUE(options.ReadBool(Opt::IH3));
    EXPECT_FALSE(options.ReadBool(Opt::DispInitHelp));
    WDialogRunner::SetTestHandler({});
}

TEST_F(WidgetsTest, QuickHelpLinkOpensItsHelpPage) {
    WOptions options(TestDir() + "/quicklink.ini");
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        Q_EMIT dialog.findChild<QLabel*>("helpLinks")->linkActivated("999");
        return dialog.result();
    });
    int opened = 0;
    EXPECT_TRUE(ShowQuickHelp(nullptr, options, 2, [&](int context) { opened = context; }));
    EXPECT_EQ(opened, 999);
    WDialogRunner::SetTestHandler({});
}

TEST_F(WidgetsTest, EveryHelpPageIsInTheResources) {
    THelpWindow help;
    for (const HelpPage& page : HelpPages()) {
        EXPECT_TRUE(QFile::exists(HelpResourcePath(QString::fromStdString(page.file))))
            << page.file;
        help.ShowContext(page.context);
        EXPECT_EQ(help.CurrentContext(), page.context);
        EXPECT_TRUE(help.PageText().contains(QString::fromStdString(page.title))) << page.title;
    }
}

TEST_F(WidgetsTest, SplashShowsTheTrailer) {
    TSE_SplashScreen splash;
    SelfViewTrailer trailer;
    trailer.title = "The Sample Family";
    trailer.senderName = "Eva";
    trailer.created = 45365.5;
    splash.Fill(trailer);
    EXPECT_EQ(splash.findChild<QLabel*>("splashTitle")->text(),
              "Kindrel Self-Viewing GEDCOM V1.07");
    EXPECT_EQ(splash.findChild<QLabel*>("splashFileTitle")->text(), "The Sample Family");
    EXPECT_EQ(splash.findChild<QLabel*>("splashFrom")->text(), "From: Eva");
    EXPECT_EQ(splash.findChild<QLabel*>("splashCreated")->text(),
              "Created: Thursday, Mar 14, 2024, 12:00 PM");
    EXPECT_EQ(splash.findChild<QLabel*>("splashLoading")->text(),
              "Loading and uncompressing GEDCOM file.  Please wait...");
    const int start = splash.Progress();
    EXPECT_TRUE(WaitFor([&] { return splash.Progress() != start; }, 2000));
    EXPECT_EQ(splash.Progress() % 5, 0);
}

class FileSearchPanelTest : public WidgetsTest {
  protected:
    void SetUp() override {
        WidgetsTest::SetUp();
        m_root = fs::path(TestDir()) / "search";
        for (const char* file : {"a.ged", "sub/b.ged", "sub/c.txt", "old/d.ged"}) {
            fs::create_directories((m_root / file).parent_path());
            std::ofstream(m_root / file) << "0 HEAD\n";
        }
    }
    fs::path m_root;
};

TEST_F(FileSearchPanelTest, FindsAreListedAsTheWorkerReportsThem) {
    TFileSearchPanel panel;
    QSignalSpy finished(&panel, &TFileSearchPanel::searchFinished);
    panel.SetFolders(QString::fromStdString(m_root.string()));
    panel.SetIncludeMasks("*.ged");
    panel.SetExcludeMasks("old");
    panel.SetSubDirectories(true);
    panel.StartSearch();
    EXPECT_TRUE(panel.IsSearching());
    ASSERT_TRUE(WaitFor([&] { return finished.count() == 1; }));
    EXPECT_FALSE(panel.IsSearching());
    QStringList results = panel.Results();
    results.sort();
    EXPECT_EQ(results, (QStringList{QString::fromStdString((m_root / "a.ged").string()),
                                    QString::fromStdString((m_root / "sub/b.ged").string())}));
    EXPECT_EQ(finished.front().at(0).toLongLong(), 2);

    panel.SetSubDirectories(false);
    panel.StartSearch();
    ASSERT_TRUE(WaitFor([&] { return finished.count() == 2; }));
    EXPECT_EQ(panel.Results().size(), 1);

    QSignalSpy open(&panel, &TFileSearchPanel::openRequested);
    auto* list = panel.findChild<QListWidget*>("searchResults");
    Q_EMIT list->itemDoubleClicked(list->item(0));
    ASSERT_EQ(open.count(), 1);
    EXPECT_TRUE(open.front().at(0).toString().endsWith("a.ged"));
}

TEST_F(FileSearchPanelTest, StopEndsARunningSearch) {
    TFileSearchPanel panel;
    panel.SetFolders("/usr");
    panel.SetIncludeMasks("*");
    panel.StartSearch();
    panel.StopSearch();
    EXPECT_FALSE(panel.IsSearching());
    // A stopped search lists nothing more, even from finds that were under way.
    const int listed = static_cast<int>(panel.Results().size());
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(panel.Results().size(), listed);
}

TEST_F(FileSearchPanelTest, DirectoryPanelOpensGenealogyFilesOnly) {
    TDirectoryPanel panel;
    QSignalSpy open(&panel, &TDirectoryPanel::openRequested);
    EXPECT_TRUE(panel.Activate(QString::fromStdString((m_root / "a.ged").string())));
    EXPECT_FALSE(panel.Activate(QString::fromStdString((m_root / "sub/c.txt").string())));
    EXPECT_FALSE(panel.Activate(QString::fromStdString(m_root.string())));
    ASSERT_EQ(open.count(), 1);
    EXPECT_EQ(panel.CurrentDirectory().toStdString(), m_root.string());
    EXPECT_TRUE(IsGenealogyFileName("X.GED"));
    EXPECT_TRUE(IsGenealogyFileName("x.paf"));
    EXPECT_FALSE(IsGenealogyFileName("x.gedx"));
    panel.show();  // the model is made on first show
    EXPECT_NE(panel.Tree()->model(), nullptr);
}

}  // namespace
}  // namespace kindrel::guitest
