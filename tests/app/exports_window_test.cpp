// Copy To Clipboard, Extract GEDCOM, the Options dialog and the Internet page in the real
// window on the packed sample: each copy equals its builder, a memo's selection is copied by
// Ctrl+C in the memo, the extracted file equals the GEDCOM byte for byte, OK writes KDSE.ini
// and Cancel nothing, and the site buttons hand encoded addresses to the browser.
#include "gui_test_support.h"

#include "analysis/list_columns.h"
#include "analysis/sort_keys.h"
#include "app/dialogs/options_dialog.h"
#include "app/general_rows.h"
#include "app/ind_scroll.h"
#include "app/main_commands.h"
#include "app/page_texts.h"
#include "app/pages/internet_page.h"
#include "app/pages/list_grid.h"
#include "app/pages/list_model.h"
#include "app/pages/list_page.h"
#include "app/pages/page_metrics.h"
#include "app/sender_page.h"
#include "app/wait_dialog.h"
#include "model/collection.h"
#include "model/display_options.h"
#include "services/options.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kindrel::guitest {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ExportsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        Options().WriteBool(Opt::DispInitHelp, false);
    }
    void TearDown() override {
        WDialogRunner::SetTestHandler({});
        m_window.reset();
    }
    void Open(bool allowExtract = false) {
        SampleOptions options;
        options.allowExtract = allowExtract;
        m_window = OpenWindow(PackSample(options));
        ASSERT_NE(m_window->Collection(), nullptr);
    }
    QAction* Action(const char* name) const {
        return m_window->findChild<QAction*>(QString::fromLatin1(name));
    }
    std::string Clipboard() const { return QApplication::clipboard()->text().toStdString(); }

    Recorder m_recorder;
    std::unique_ptr<TLogoAppForm> m_window;
};

TEST_F(ExportsWindowTest, CtrlCOnEachPageCopiesItsBuilderText) {
    Open();
    WABSCollection& c = *m_window->Collection();
    m_window->JumpToIndividual(4);
    struct Case {
        int tab;
        std::string expected;
    };
    const Case cases[] = {
        {kTabGeneral, GeneralPageText(c, *m_window->Statistics(), false)},
        {kTabIndividual, IndividualPageText(c, 4, false, {true, false})},
        {kTabFamily, FamilyPageText(c, 4, 1)},
        {kTabPedigree, PedigreePageText(c, 4, 1)},
        {kTabDescendants, ""},  // below: the builder over a walk of its own
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.tab);
        QApplication::clipboard()->clear();
        m_window->SelectTab(k.tab);
        m_window->FlushPendingRefresh();
        ASSERT_TRUE(Action("actCopy")->isEnabled());
        Action("actCopy")->trigger();
        const std::string text = Clipboard();
        EXPECT_EQ(text.find('\r'), std::string::npos);
        if (k.tab == kTabDescendants) {
            EXPECT_EQ(text.rfind("DESCENDANT LIST\n\n1 - William /Harrowgate/ [4]", 0), 0u) << text;
        } else {
            EXPECT_EQ(text, k.expected);
        }
        EXPECT_TRUE(FlashMessageShown());
        WaitFor([] { return !FlashMessageShown(); }, 3000);
    }
    // Nothing renders on the Sender and Internet pages.
    for (const int tab : {kTabSender, kTabInternet}) {
        m_window->SelectTab(tab);
        EXPECT_FALSE(Action("actCopy")->isEnabled()) << tab;
    }
    EXPECT_TRUE(m_recorder.messages.empty());
}

TEST_F(ExportsWindowTest, CtrlCInAMemoCopiesItsSelection) {
    Open();
    m_window->JumpToIndividual(4);
    m_window->SelectTab(kTabIndividual);
    m_window->FlushPendingRefresh();
    auto* memo = m_window->findChild<QPlainTextEdit*>("notesMemo");
    ASSERT_NE(memo, nullptr);
    ASSERT_FALSE(memo->toPlainText().isEmpty());
    memo->setFocus();
    memo->selectAll();
    QApplication::clipboard()->clear();
    QTest::keyClick(memo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), memo->toPlainText());
}

TEST_F(ExportsWindowTest, TheDescendantCopyIgnoresASecondCopyAndCancelStopsIt) {
    Open();
    m_window->JumpToIndividual(1);
    m_window->SelectTab(kTabDescendants);
    m_window->FlushPendingRefresh();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    // Pressed as soon as the wait dialog processes events.
    QTimer::singleShot(0, m_window.get(), [this] {
        EXPECT_FALSE(m_window->PerformPageCommand(PageCommand::kCopy));  // a second copy
        if (TWaitDlg* wait = TWaitDlg::Current()) wait->PressCancel();
    });
    Action("actCopy")->trigger();
    // The sample is small: the copy may have ended before events ran; either way the
    // clipboard holds the whole list or what it held before.
    const std::string text = Clipboard();
    EXPECT_TRUE(text == "before" || text.rfind("DESCENDANT LIST\n\n", 0) == 0) << text;
    EXPECT_EQ(TWaitDlg::Depth(), 0);
    EXPECT_TRUE(Action("actCopy")->isEnabled());
}

TEST_F(ExportsWindowTest, ExtractionWritesTheGedcomByteForByte) {
    Open(true);
    ASSERT_TRUE(Action("actExtractGedcom")->isVisible());
    const std::string target = TestDir() + "/extracted.ged";
    std::filesystem::remove(target);
    QString proposed;
    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        if (!files) return int(QDialog::Rejected);
        proposed = QFileInfo(files->selectedFiles().value(0)).fileName();
        files->selectFile(QString::fromStdString(target));
        return int(QDialog::Accepted);
    });
    m_window->SenderPage()->findChild<QPushButton*>("extractButton")->click();
    EXPECT_EQ(proposed, "sample_family.ged");
    EXPECT_EQ(ReadAll(target), ReadAll(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged"));
    ASSERT_EQ(m_recorder.messages.size(), 1u);
    EXPECT_EQ(m_recorder.messages[0].text.toStdString(), "\"" + target + "\" has been extracted.");

    // A folder is refused with its reason.
    std::filesystem::create_directories(TestDir() + "/folder.ged");
    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog))
            files->selectFile(QString::fromStdString(TestDir() + "/folder.ged"));
        return int(QDialog::Accepted);
    });
    Action("actExtractGedcom")->trigger();
    ASSERT_EQ(m_recorder.messages.size(), 2u);
    EXPECT_TRUE(m_recorder.messages[1].text.contains("it is a folder"))
        << m_recorder.messages[1].text.toStdString();
}

TEST_F(ExportsWindowTest, ExtractionOfADamagedPackWarnsThatTheCopyMayBeDamaged) {
    SampleOptions damaged;
    damaged.allowExtract = true;
    damaged.damagedBlock = true;
    damaged.outputName = "DamagedFamily";
    m_window = OpenWindow(PackSample(damaged));
    ASSERT_NE(m_window->Collection(), nullptr);
    // Unpacking said so once.
    ASSERT_EQ(m_recorder.messages.size(), 1u);
    EXPECT_EQ(m_recorder.messages[0].text, "CRC does not match!");
    EXPECT_EQ(m_recorder.messages[0].kind, MessageRecord::kWarning);
    const std::string target = TestDir() + "/damaged.ged";
    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        if (!files) return int(QDialog::Rejected);
        files->selectFile(QString::fromStdString(target));
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_window->ExtractGedcom());
    ASSERT_EQ(m_recorder.messages.size(), 2u);
    const MessageRecord& done = m_recorder.messages[1];
    EXPECT_EQ(done.kind, MessageRecord::kWarning);
    EXPECT_TRUE(done.text.startsWith(QString::fromStdString(
        "\"" + target + "\" has been extracted.\n\nWarning: 1 of 1 blocks")))
        << done.text.toStdString();
    EXPECT_TRUE(done.text.contains("may be damaged")) << done.text.toStdString();
    // The blocks are written all the same: the copy is what the window shows.
    EXPECT_EQ(ReadAll(target), ReadAll(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged"));
}

TEST_F(ExportsWindowTest, NameOptionsReSortTheListAndRowsFollowTheFontSize) {
    Options().WriteBool(Opt::PreSuf, true);
    Options().WriteBool(Opt::NameUpper, false);
    Options().WriteInt(Opt::FontSize, 8);
    Options().WriteInt(Opt::GridHeight, 14);
    Open();
    m_window->ColumnSet(ColumnSetKind::kList)->SetColumns("1,6");  // the name with its prefix
    m_window->SelectTab(kTabList);
    m_window->FlushPendingRefresh();
    auto* list = qobject_cast<TListPage*>(m_window->PageNamed("listPage"));
    ASSERT_NE(list, nullptr);
    WListGrid* grid = list->Grid();
    WListModel* model = grid->Model();
    ASSERT_EQ(model->rowCount(), 59);
    ASSERT_TRUE(grid->SortByColumnDirection(2, true));
    const auto name = [&](int32_t individual) {
        return model->data(model->index(model->RowOf(individual), 1)).toString().toStdString();
    };
    // Rows in the order of the names they show.
    const auto sortedByShownNames = [&] {
        std::string previous;
        for (int r = 0; r < model->rowCount(); ++r) {
            const std::string key =
                FoldSortKey(model->data(model->index(r, 1)).toString().toStdString());
            if (key < previous) return false;
            previous = key;
        }
        return true;
    };
    ASSERT_EQ(name(27).rfind("Dr. ", 0), 0u) << name(27);
    ASSERT_TRUE(sortedByShownNames());
    const int rowBefore = model->RowOf(27);

    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        auto* options = qobject_cast<TOptionsDlg*>(&dialog);
        if (!options) return int(QDialog::Rejected);
        options->findChild<QCheckBox*>("optPreSuf")->setChecked(false);
        options->findChild<QCheckBox*>("optNameUpper")->setChecked(true);
        options->findChild<QComboBox*>("optFontSize")->setCurrentIndex(2);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(m_window->ShowOptions());
    m_window->FlushPendingRefresh();
    // The names read anew and the rows are sorted by them, the arrow where it was.
    EXPECT_NE(name(27).find("HARROWGATE"), std::string::npos) << name(27);
    EXPECT_EQ(name(27).find("Dr."), std::string::npos) << name(27);
    EXPECT_TRUE(sortedByShownNames());
    EXPECT_NE(model->RowOf(27), rowBefore);
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), 1);
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(Options().ReadInt(Opt::GridHeight), 18);

    // Rows as high as GridHeight asks and the 12-point font needs, on every person grid.
    for (const auto& [tab, gridName] :
         {std::pair{kTabIndividual, "eventGrid"}, std::pair{kTabFamily, "childrenGrid"}}) {
        m_window->SelectTab(tab);
        m_window->FlushPendingRefresh();
        auto* table = m_window->findChild<QTableView*>(gridName);
        ASSERT_NE(table, nullptr) << gridName;
        EXPECT_EQ(table->font().pointSize(), 12) << gridName;
        EXPECT_GE(table->verticalHeader()->defaultSectionSize(), Scaled(table, 18)) << gridName;
        EXPECT_GE(table->verticalHeader()->defaultSectionSize(), table->fontMetrics().height() + 4)
            << gridName;
    }
    EXPECT_EQ(grid->font().pointSize(), 12);
    EXPECT_GE(grid->verticalHeader()->defaultSectionSize(), grid->fontMetrics().height() + 6);
    Options().WriteBool(Opt::PreSuf, true);
    Options().WriteBool(Opt::NameUpper, false);
    Options().WriteInt(Opt::FontSize, 8);
    Options().Flush();
}

TEST_F(ExportsWindowTest, NoExtractionWhenTheSenderDidNotAllowIt) {
    Open(false);
    EXPECT_FALSE(Action("actExtractGedcom")->isVisible());
    EXPECT_FALSE(m_window->SenderPage()->ExtractShown());
    EXPECT_FALSE(m_window->ExtractGedcom());
}

TEST_F(ExportsWindowTest, OptionsOkStoresAndAppliesCancelChangesNothing) {
    Open();
    m_window->JumpToIndividual(4);
    Options().WriteBool(Opt::NameUpper, false);
    Options().WriteInt(Opt::FontSize, 8);
    Options().Flush();
    // Cancel: whatever was changed in the dialog is dropped.
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        if (auto* options = qobject_cast<TOptionsDlg*>(&dialog))
            options->findChild<QCheckBox*>("optNameUpper")->setChecked(true);
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(m_window->ShowOptions());
    EXPECT_FALSE(Options().ReadBool(Opt::NameUpper));
    EXPECT_FALSE(Display().nameUpper);

    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        if (auto* colours = qobject_cast<QColorDialog*>(&dialog)) {
            colours->setCurrentColor(QColor(255, 0, 0));
            return int(QDialog::Accepted);
        }
        auto* options = qobject_cast<TOptionsDlg*>(&dialog);
        if (!options) return int(QDialog::Rejected);
        EXPECT_FALSE(options->findChild<QCheckBox*>("optCheckUpdates")->isEnabled());
        options->findChild<QCheckBox*>("optNameUpper")->setChecked(true);
        options->findChild<QComboBox*>("optFontSize")->setCurrentIndex(2);
        options->findChild<QPushButton*>("optBackground")->click();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_window->ShowOptions());
    EXPECT_TRUE(Display().nameUpper);
    const std::string ini = ReadAll(SettingsFile());
    EXPECT_NE(ini.find("NameUpper=T"), std::string::npos);
    EXPECT_NE(ini.find("FontSize=12"), std::string::npos);
    EXPECT_NE(ini.find("GridHeight=18"), std::string::npos);
    EXPECT_NE(ini.find("HLCol=255\n"), std::string::npos);
    EXPECT_TRUE(m_window->Scroll()->Label()->text().contains("HARROWGATE"))
        << m_window->Scroll()->Label()->text().toStdString();
    EXPECT_EQ(m_window->findChild<QStackedWidget*>("pageStack")->font().pointSize(), 12);
    Options().WriteBool(Opt::NameUpper, false);
    Options().WriteInt(Opt::FontSize, 8);
    Options().Flush();
}

TEST_F(ExportsWindowTest, StoredFontSizeAndFnValueOutsideTheirChoices) {
    WOptions options(TestDir() + "/odd.ini");
    for (const auto& [stored, expected] :
         std::vector<std::pair<const char*, int>>{{"10", 10}, {"9", 8}, {"x", 8}, {"12", 12}}) {
        options.WriteText(Opt::FontSize, stored);
        EXPECT_EQ(StoredFontSize(options), expected) << stored;
    }
}

TEST_F(ExportsWindowTest, InternetPageSearchesTheActiveIndividual) {
    Options().WriteBool(Opt::UseYear, true);
    Options().WriteInt(Opt::YearRange, 0);
    Options().WriteBool(Opt::MatchAll, true);
    Open();
    m_window->JumpToIndividual(4);
    Action("actTab10")->trigger();
    ASSERT_EQ(m_window->ActiveTab(), kTabInternet);
    auto* page = qobject_cast<TInternetPage*>(m_window->PageNamed("internetPage"));
    ASSERT_NE(page, nullptr);
    auto* given = page->findChild<QLineEdit*>("internetGiven");
    auto* surname = page->findChild<QLineEdit*>("internetSurname");
    auto* year = page->findChild<QLineEdit*>("internetYear");
    EXPECT_EQ(given->text(), "William");
    EXPECT_EQ(surname->text(), "Harrowgate");
    EXPECT_EQ(year->text(), "1821");
    ASSERT_FALSE(page->SiteButtons().empty());
    page->SiteButtons()[0]->click();  // Google
    ASSERT_EQ(m_recorder.urls.size(), 1u);
    EXPECT_EQ(m_recorder.urls[0].toString(QUrl::FullyEncoded).toStdString(),
              "https://www.google.com/search?q=%22William%20Harrowgate%22%201821");

    // Typed text survives a tab change; hostile text is encoded, a bad year left out.
    given->setText(QStringLiteral("A&B #1"));
    year->setText(QStringLiteral("12345"));
    EXPECT_FALSE(page->YearAccepted());
    m_window->SelectTab(kTabGeneral);
    m_window->SelectTab(kTabInternet);
    EXPECT_EQ(given->text(), "A&B #1");
    page->SiteButtons()[0]->click();
    ASSERT_EQ(m_recorder.urls.size(), 2u);
    EXPECT_EQ(m_recorder.urls[1].toString(QUrl::FullyEncoded).toStdString(),
              "https://www.google.com/search?q=%22A%26B%20%231%20Harrowgate%22");
    // Without a name the site buttons are off; a new active individual fills the fields.
    given->clear();
    surname->clear();
    EXPECT_FALSE(page->SiteButtons()[0]->isEnabled());
    m_window->JumpToIndividual(12);
    m_window->FlushPendingRefresh();
    EXPECT_EQ(given->text(), "Clara");
    EXPECT_TRUE(page->SiteButtons()[0]->isEnabled());
    // Unchecking "Use Year" empties and disables the year.
    page->findChild<QCheckBox*>("internetUseYear")->setChecked(false);
    EXPECT_TRUE(year->text().isEmpty());
    EXPECT_FALSE(year->isEnabled());
    Options().WriteBool(Opt::UseYear, true);
}

// The screenshots of the README and the help pages: written to $KINDREL_SCREENSHOT_DIR when it
// is set (skipped otherwise).
TEST_F(ExportsWindowTest, ScreenshotsWhenAsked) {
    const char* dir = std::getenv("KINDREL_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "KINDREL_SCREENSHOT_DIR not set";
    const QString folder = QString::fromLocal8Bit(dir) + QLatin1Char('/');
    Open(true);
    m_window->resize(1180, 760);
    const auto save = [&](QWidget* widget, const char* name) {
        QTest::qWait(150);
        EXPECT_TRUE(widget->grab().save(folder + QString::fromLatin1(name))) << name;
    };
    m_window->JumpToIndividual(4);
    m_window->SelectTab(kTabInternet);
    m_window->FlushPendingRefresh();
    save(m_window.get(), "internet.png");

    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        dialog.show();
        if (auto* options = qobject_cast<TOptionsDlg*>(&dialog)) {
            auto* pages = options->findChild<QTabWidget*>("optionsPages");
            const char* names[] = {"options-general.png", "options-display.png",
                                   "options-colors.png"};
            for (int p = 0; p < 3; ++p) {
                pages->setCurrentIndex(p);
                save(&dialog, names[p]);
            }
        } else if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            // A folder of family files to save into.
            const std::string place = TestDir() + "/Family history";
            std::filesystem::create_directories(place + "/Letters");
            for (const char* name : {"Quill family.ged", "Vennick 1890-1950.ged"})
                std::ofstream(place + "/" + name) << "0 HEAD\n0 TRLR\n";
            const QString proposed = QFileInfo(files->selectedFiles().value(0)).fileName();
            files->setDirectory(QString::fromStdString(place));
            files->selectFile(proposed);
            files->resize(900, 460);
            if (auto* details = files->findChild<QTreeView*>("treeView")) {
                QTest::qWait(150);  // the folder is read in the background
                for (const auto& [column, width] : {std::pair{0, 320}, {1, 90}, {2, 150}, {3, 170}})
                    details->header()->resizeSection(column, width);
            }
            save(&dialog, "extract.png");
        } else {
            dialog.resize(800, 520);
            save(&dialog, "search-sites.png");
        }
        return int(QDialog::Rejected);
    });
    auto* page = qobject_cast<TInternetPage*>(m_window->PageNamed("internetPage"));
    page->EditSites();
    m_window->ShowOptions();
    m_window->SelectTab(kTabSender);
    m_window->ExtractGedcom();
}

}  // namespace
}  // namespace kindrel::guitest
