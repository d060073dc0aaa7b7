// The main window over a self-viewing file of the sample family: tabs, Sender and General
// pages, status bar, history, the open routine's edge cases and the commands.
#include "gui_test_support.h"

#include "app/about_box.h"
#include "app/app_texts.h"
#include "app/general_page.h"
#include "app/help_window.h"
#include "app/ind_scroll.h"
#include "app/info_grid_model.h"
#include "app/left_panel.h"
#include "app/main_commands.h"
#include "app/quick_help.h"
#include "app/sender_info.h"
#include "app/sender_page.h"
#include "app/wait_dialog.h"
#include "model/collection.h"
#include "services/options.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace kindrel::guitest {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        // Quick help is tested on its own; here it stays out of the way.
        Options().WriteBool(Opt::DispInitHelp, false);
        m_window = OpenWindow(PackSample());
        ASSERT_NE(m_window->Collection(), nullptr);
    }
    void TearDown() override { m_window.reset(); }

    QString LabelText(const char* name) const {
        const QLabel* label = m_window->findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
    }
    static std::string Value(const WInfoGridModel* model, const std::string& label) {
        for (const InfoRow& row : model->Rows())
            if (row.label == label) return row.value;
        return "<missing>";
    }
    QAction* Action(const char* name) const {
        return m_window->findChild<QAction*>(QString::fromLatin1(name));
    }
    int32_t Active() const { return m_window->ActiveIndividual(); }
    std::string BackText() const { return m_window->Scroll()->History().BackText(); }
    std::string ForwardText() const { return m_window->Scroll()->History().ForwardText(); }

    Recorder m_recorder;
    std::unique_ptr<TLogoAppForm> m_window;
};

TEST_F(MainWindowTest, TabStripHasTheTenTabsAndInternetInOrderWithSenderActive) {
    const QTabBar* tabs = m_window->Tabs();
    ASSERT_EQ(tabs->count(), 11);
    const QStringList expected = {"Sender",   "General",     "Individual", "Family",
                                  "Pedigree", "Descendants", "List",       "Highlighted",
                                  "Islands",  "Sources",     "Internet"};
    for (int i = 0; i < tabs->count(); ++i) EXPECT_EQ(tabs->tabText(i), expected[i]);
    EXPECT_EQ(m_window->ActiveTab(), kTabSender);
    // The Highlighted tab shows the List page.
    EXPECT_EQ(m_window->PageForTab(kTabHighlighted), m_window->PageForTab(kTabList));
}

TEST_F(MainWindowTest, CaptionStartIndividualAndStatusPanels) {
    EXPECT_EQ(m_window->windowTitle(), "Kindrel Self-Viewing GEDCOM 1.07 - The Sample Family");
    EXPECT_EQ(Active(), kSampleStartIndividual);
    EXPECT_EQ(m_window->StatusText(0), "");
    EXPECT_EQ(m_window->StatusText(1), "I: 59");
    EXPECT_EQ(m_window->StatusText(2), "F: 18");
    EXPECT_EQ(m_window->StatusText(3), "N: 3");
    EXPECT_EQ(m_window->StatusText(4), "S: 4");
    EXPECT_TRUE(m_recorder.messages.empty());
}

TEST_F(MainWindowTest, SenderPageShowsEveryTrailerField) {
    EXPECT_EQ(LabelText("senderFileName"), "sample_family.ged");
    EXPECT_EQ(LabelText("senderTitle"), kSampleTitle);
    EXPECT_EQ(LabelText("senderName"), QString::fromUtf8(kSampleSender));
    EXPECT_TRUE(LabelText("senderEmail").contains(kSampleEmail));
    EXPECT_EQ(LabelText("senderAddress"),
              QStringLiteral("%1\n%2").arg(kSampleAddress1, kSampleAddress2));
    EXPECT_EQ(LabelText("senderPhone"), kSamplePhone);
    ASSERT_NE(m_window->Trailer(), nullptr);
    EXPECT_EQ(LabelText("senderCreated").toStdString(),
              FormatShortDateTime(m_window->Trailer()->created));
    EXPECT_TRUE(LabelText("senderCreated")
                    .contains(QRegularExpression(QStringLiteral(
                        "^[A-Z][a-z]{2}, [A-Z][a-z]{2} \\d{1,2}, \\d{4}, \\d{2}:\\d{2} [AP]M$"))));
    const auto* message = m_window->findChild<QPlainTextEdit*>(QStringLiteral("senderMessage"));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->toPlainText(), "Here is the family.\nCorrections welcome!");
    EXPECT_TRUE(message->isReadOnly());
    // No web site was packed: the row stays hidden. Extract flag 0: no button.
    EXPECT_FALSE(m_window->SenderPage()->WebSiteShown());
    EXPECT_FALSE(m_window->SenderPage()->ExtractShown());
}

TEST_F(MainWindowTest, MailLinkOpensTheComposedMessage) {
    const QString target = m_window->SenderPage()->MailTarget();
    EXPECT_EQ(target.toStdString(), SenderMailUrl(*m_window->Trailer(), "SampleFamily"));
    auto* email = m_window->findChild<QLabel*>(QStringLiteral("senderEmail"));
    Q_EMIT email->linkActivated(target);
    ASSERT_EQ(m_recorder.urls.size(), 1u);
    const QUrl url = m_recorder.urls.front();
    EXPECT_EQ(url.scheme(), "mailto");
    EXPECT_EQ(url.path(), kSampleEmail);
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded),
              "The Sample Family: SampleFamily");
    EXPECT_TRUE(query.queryItemValue("body", QUrl::FullyDecoded)
                    .startsWith("File: SampleFamily created on "));
}

TEST_F(MainWindowTest, GeneralGridsShowTheSample) {
    m_window->SelectTab(kTabGeneral);
    const TGeneralPage* page = m_window->GeneralPage();
    const WInfoGridModel* stats = page->StatisticsModel();
    ASSERT_EQ(stats->rowCount(), 8);
    EXPECT_EQ(Value(stats, "Name"), "sample_family.ged");
    EXPECT_EQ(Value(stats, "# Ind"), "59");
    EXPECT_EQ(Value(stats, "# Fam"), "18");
    EXPECT_EQ(Value(stats, "# Notes"), "3");
    EXPECT_EQ(Value(stats, "# Srcs"), "4");
    EXPECT_TRUE(QString::fromStdString(Value(stats, "Importing"))
                    .contains(QRegularExpression(QStringLiteral("^\\d+\\.\\d{3} seconds$"))));
    EXPECT_EQ(stats->headerData(0, Qt::Horizontal).toString(), "Stats");
    EXPECT_EQ(stats->headerData(1, Qt::Horizontal).toString(), "Description");

    const WInfoGridModel* header = page->HeaderModel();
    EXPECT_EQ(header->headerData(0, Qt::Horizontal).toString(), "Info");
    EXPECT_EQ(Value(header, "Date"), "14 MAR 2024 10:42:17");
    EXPECT_EQ(Value(header, "Char Set"), "UTF-8");
    EXPECT_EQ(Value(header, "GEDC Form"), "LINEAGE-LINKED");

    const WInfoGridModel* submitter = page->SubmitterModel();
    ASSERT_EQ(submitter->rowCount(), 7);
    EXPECT_EQ(Value(submitter, "Name"), kSampleSender);
    EXPECT_EQ(Value(submitter, "Addr 3"), "Wendle WE7 3LR");
    EXPECT_EQ(Value(submitter, "Country"), "England");
    EXPECT_EQ(Value(submitter, "Email"), "eva.dvorak@example.org");
    EXPECT_EQ(submitter->index(0, 1).data().toString(), QString::fromUtf8(kSampleSender));

    for (QAbstractItemModel* model : {static_cast<QAbstractItemModel*>(page->StatisticsModel()),
                                      static_cast<QAbstractItemModel*>(page->HeaderModel()),
                                      static_cast<QAbstractItemModel*>(page->SubmitterModel())}) {
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        m_window->RefreshActivePage();  // resets under the tester's eyes
    }
}

TEST_F(MainWindowTest, RawModeShowsHeaderAndSubmitterText) {
    m_window->SelectTab(kTabGeneral);
    EXPECT_TRUE(Action("actRawData")->isEnabled());  // a GEDCOM collection is open
    m_window->SetRawMode(true);
    const TGeneralPage* page = m_window->GeneralPage();
    EXPECT_TRUE(page->ShowsRaw());
    EXPECT_TRUE(page->HeaderRawText().startsWith("0 HEAD\n1 SOUR KINDREL"));
    EXPECT_TRUE(page->SubmitterRawText().startsWith("0 @U1@ SUBM\n1 NAME Eva"));
    m_window->SetRawMode(false);
    EXPECT_FALSE(page->ShowsRaw());
}

TEST_F(MainWindowTest, JumpsBackAndForward) {
    // The start-up jump from 1 to the start individual is the first entry.
    EXPECT_EQ(BackText(), "1,");
    m_window->JumpToIndividual(10);
    m_window->JumpToIndividual(20);
    EXPECT_EQ(BackText(), "1,4,10,");
    EXPECT_TRUE(Action("actBack")->isEnabled());
    EXPECT_FALSE(Action("actForward")->isEnabled());
    EXPECT_EQ(Action("actBack")->toolTip(), "1,4,10,");
    Action("actBack")->trigger();
    EXPECT_EQ(Active(), 10);
    EXPECT_EQ(ForwardText(), "20,");
    EXPECT_EQ(Action("actForward")->toolTip(), "20,");
    Action("actBack")->trigger();
    EXPECT_EQ(Active(), 4);
    Action("actForward")->trigger();
    EXPECT_EQ(Active(), 10);
    EXPECT_EQ(BackText(), "1,4,");
    EXPECT_EQ(ForwardText(), "20,");
}

TEST_F(MainWindowTest, JumpsOutsideTheFileAreIgnored) {
    const std::string back = BackText();
    m_window->JumpToIndividual(60);  // the sample has 59
    m_window->JumpToIndividual(0);
    m_window->JumpToIndividual(-4);
    EXPECT_EQ(Active(), kSampleStartIndividual);
    EXPECT_EQ(BackText(), back);
}

TEST_F(MainWindowTest, BackWithTheActiveIndividualOnTopSkipsIt) {
    m_window->JumpToIndividual(7);
    m_window->JumpToIndividual(7);
    EXPECT_EQ(BackText(), "1,4,7,");
    EXPECT_TRUE(m_window->GoBack());
    EXPECT_EQ(Active(), 4);
    EXPECT_EQ(BackText(), "1,");
}

TEST_F(MainWindowTest, UserMovesOfTheScrollBarClearForward) {
    m_window->JumpToIndividual(10);
    m_window->GoBack();
    ASSERT_EQ(Active(), 4);
    ASSERT_FALSE(ForwardText().empty());
    m_window->Scroll()->ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Active(), 5);
    EXPECT_EQ(ForwardText(), "");
    EXPECT_EQ(BackText(), "1,4,");
    EXPECT_FALSE(Action("actForward")->isEnabled());
}

TEST_F(MainWindowTest, ThumbTrackingLeavesTheHistoryUntilReleased) {
    QScrollBar* bar = m_window->Scroll()->ScrollBar();
    const std::string before = BackText();
    bar->setSliderDown(true);
    bar->setValue(30);
    bar->setValue(31);
    EXPECT_EQ(Active(), 31);  // the pages follow the thumb
    EXPECT_EQ(BackText(), before);
    bar->setSliderDown(false);  // the release counts as one move
    EXPECT_EQ(BackText(), before + "4,");
    EXPECT_TRUE(m_window->GoBack());
    EXPECT_EQ(Active(), 4);
}

TEST_F(MainWindowTest, FatherMotherAndSpouseButtons) {
    WIndScroll* scroll = m_window->Scroll();
    m_window->JumpToIndividual(12);  // Clara: daughter of William (I4)
    ASSERT_TRUE(scroll->FatherButton()->isEnabled());
    EXPECT_TRUE(scroll->FatherButton()->toolTip().contains("William"));
    scroll->FatherButton()->click();
    EXPECT_EQ(Active(), 4);
    EXPECT_EQ(BackText(), "1,4,12,");
    m_window->JumpToIndividual(1);
    EXPECT_FALSE(scroll->FatherButton()->isEnabled());  // the founder has no parents
    m_window->JumpToIndividual(4);
    const QStringList items = scroll->SpouseItems();
    ASSERT_FALSE(items.isEmpty());
    EXPECT_TRUE(items.front().startsWith("Spouse: "));
    const int child =
        static_cast<int>(items.indexOf(QRegularExpression(QStringLiteral("^   .*Clara.*$"))));
    ASSERT_GE(child, 0);
    scroll->ChooseSpouseItem(child);
    EXPECT_EQ(Active(), 12);
    EXPECT_TRUE(scroll->Label()->text().startsWith(" 12 - Clara"));
    // The hint is file text, shown as written (never as markup).
    QTextDocument hint;
    hint.setHtml(scroll->Label()->toolTip());
    EXPECT_TRUE(hint.toPlainText().startsWith("Name :Clara"));
}

TEST_F(MainWindowTest, OpeningTheOpenFileAgainChangesNothing) {
    m_window->JumpToIndividual(9);
    const WABSCollection* before = m_window->Collection();
    const std::string backBefore = BackText();
    EXPECT_TRUE(m_window->OpenGenealogyFile(m_window->FileName()));
    EXPECT_TRUE(m_window->OpenGenealogyFile(""));
    EXPECT_EQ(m_window->Collection(), before);
    EXPECT_EQ(Active(), 9);
    EXPECT_EQ(BackText(), backBefore);
    EXPECT_TRUE(m_recorder.messages.empty());
}

TEST_F(MainWindowTest, MissingFileShowsItsMessageAndChangesNothing) {
    const WABSCollection* before = m_window->Collection();
    EXPECT_FALSE(m_window->OpenGenealogyFile("/nonexistent/kindrel/none.ged"));
    ASSERT_EQ(m_recorder.messages.size(), 1u);
    EXPECT_EQ(
        m_recorder.messages[0].text,
        "The file: /nonexistent/kindrel/none.ged\rdoes not exist.  Please select another file.");
    EXPECT_EQ(m_window->Collection(), before);
    EXPECT_EQ(m_window->StatusText(1), "I: 59");
}

TEST_F(MainWindowTest, ReloadKeepsTheActiveIndividual) {
    m_window->JumpToIndividual(12);
    const std::string file = m_window->FileName();
    Action("actReload")->trigger();
    ASSERT_NE(m_window->Collection(), nullptr);
    EXPECT_EQ(m_window->FileName(), file);
    EXPECT_EQ(Active(), 12);
    EXPECT_EQ(m_window->StatusText(1), "I: 59");
}

TEST_F(MainWindowTest, TabCommandsSelectTabsAndStoreLastTab) {
    EXPECT_EQ(Action("actTab1")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(Action("actTab9")->shortcut(), QKeySequence(Qt::Key_F10));
    Action("actTab1")->trigger();
    EXPECT_EQ(m_window->ActiveTab(), kTabGeneral);
    EXPECT_EQ(Options().ReadInt(Opt::LastTab), kTabGeneral);
    Action("actTab7")->trigger();
    EXPECT_EQ(m_window->ActiveTab(), kTabHighlighted);
    Action("actTab0")->trigger();
    EXPECT_EQ(m_window->ActiveTab(), kTabSender);
}

TEST_F(MainWindowTest, CommandsOfLaterFeaturesAreDisabled) {
    // Find Next / Previous wait for a search; the highlight steps for a condition.
    // The Islands panel waits for the islands to be calculated.
    for (const char* name : {"actFindNext", "actFindPrevious", "actNextHighlighted",
                             "actPreviousHighlighted", "actIslandsPanel"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    for (const char* name :
         {"actPrint", "actExit", "actReload", "actAbout", "actResetQuickHelp", "actDirectoryPanel",
          "actFileSearchPanel", "actHelpTopics", "actOptions", "actTab10", "actQuickFind",
          "actAdvancedFind", "actHighlightingPanel"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    EXPECT_EQ(Action("actNextHighlighted")->shortcut(), QKeySequence("Ctrl+H"));
    EXPECT_EQ(Action("actPrint")->shortcut(), QKeySequence("Ctrl+P"));
    // Print is on with a collection whatever tab is shown.
    for (int tab : {kTabSender, kTabIslands, kTabSources, kTabInternet}) {
        m_window->SelectTab(tab);
        EXPECT_TRUE(Action("actPrint")->isEnabled()) << tab;
    }
    EXPECT_EQ(Action("actTab10")->shortcut(), QKeySequence("F11"));
    EXPECT_EQ(Action("actTab10")->text(), "Internet Tab");
}

TEST_F(MainWindowTest, PanelCommandsToggleTheirPage) {
    EXPECT_FALSE(m_window->PanelShown());
    Action("actDirectoryPanel")->trigger();
    EXPECT_TRUE(m_window->PanelShown());
    EXPECT_EQ(m_window->LeftPanel()->Page(), kPanelDirectory);
    Action("actFileSearchPanel")->trigger();
    EXPECT_TRUE(m_window->PanelShown());
    EXPECT_EQ(m_window->LeftPanel()->Page(), kPanelFileSearch);
    Action("actFileSearchPanel")->trigger();
    EXPECT_FALSE(m_window->PanelShown());
}

TEST_F(MainWindowTest, QuickHelpOfATabIsShownOnceAndResetBringsItBack) {
    Options().WriteBool(Opt::DispInitHelp, true);
    Options().WriteBool(Opt::IH2, true);
    m_window->SelectTab(kTabGeneral);
    EXPECT_EQ(m_recorder.dialogs, 1);
    EXPECT_FALSE(Options().ReadBool(Opt::IH2));
    m_window->SelectTab(kTabSender);
    m_window->SelectTab(kTabGeneral);
    EXPECT_EQ(m_recorder.dialogs, 1);
    // Every tab has its own topic, shown once.
    Options().WriteBool(Opt::IH10, true);
    m_window->SelectTab(kTabSources);
    EXPECT_EQ(m_recorder.dialogs, 2);
    EXPECT_FALSE(Options().ReadBool(Opt::IH10));
    m_window->SelectTab(kTabSources);
    EXPECT_EQ(m_recorder.dialogs, 2);
    Action("actResetQuickHelp")->trigger();
    EXPECT_TRUE(Options().ReadBool(Opt::IH2));
    m_window->SelectTab(kTabSender);
    m_window->SelectTab(kTabGeneral);
    EXPECT_EQ(m_recorder.dialogs, 3);
}

TEST_F(MainWindowTest, AboutBoxAndHelpPages) {
    Action("actAbout")->trigger();
    EXPECT_EQ(m_recorder.dialogs, 1);
    TSEAboutBox about;
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.findChild<QLabel*>("aboutVersion")->text(), "Version: 1.07.1491");
    EXPECT_EQ(about.findChild<QLabel*>("aboutBuilt")->text(), "Built: Fri Sep 28 2001 - 13:07:15");
    auto* support = about.findChild<QLabel*>("aboutSupport");
    Q_EMIT support->linkActivated(QString::fromStdString(SupportMailUrl()));
    ASSERT_EQ(m_recorder.urls.size(), 1u);
    EXPECT_EQ(QUrlQuery(m_recorder.urls[0]).queryItemValue("body", QUrl::FullyDecoded),
              "Kindrel SE Version = 1.07");

    m_window->SelectTab(kTabGeneral);
    Action("actHelpTopics")->trigger();
    THelpWindow* help = m_window->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->CurrentContext(), 1000);
    EXPECT_TRUE(help->PageText().contains("General Tab"));
    help->ShowContext(140);
    EXPECT_TRUE(help->PageText().contains("Reset Quick Help Dialog Boxes"));
    help->ShowContext(4711);  // unknown numbers show the contents
    EXPECT_EQ(help->CurrentContext(), 0);
    help->ShowTopic(16);
    EXPECT_TRUE(help->PageText().contains("Directory"));
}

TEST_F(MainWindowTest, FlashMessageShowsOnceAtATime) {
    EXPECT_TRUE(m_window->Flash("Copied"));
    EXPECT_FALSE(m_window->Flash("Again"));
    EXPECT_TRUE(WaitFor([] { return !FlashMessageShown(); }, 3000));
    EXPECT_TRUE(m_window->Flash("Later"));
}

}  // namespace
}  // namespace kindrel::guitest
