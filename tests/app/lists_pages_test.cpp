// The List, Highlighted, Islands and Sources tabs and the left panel's Islands page in the
// real window: models checked by the model tester and against the column sets, header sorts
// against `kindrel list --sort`, the copies in each form, the chooser, Use Islands, the
// source details, settings kept over a restart, and work arriving from the event pump
// during a sort and a highlighted build.
#include "gui_test_support.h"

#include "analysis/collection_iterator.h"
#include "analysis/islands.h"
#include "analysis/list_columns.h"
#include "analysis/source_iterator.h"
#include "app/dialogs/list_clip_dialog.h"
#include "app/ind_scroll.h"
#include "app/left_panel.h"
#include "app/pages/islands_model.h"
#include "app/pages/islands_page.h"
#include "app/pages/islands_panel.h"
#include "app/pages/list_grid.h"
#include "app/pages/list_model.h"
#include "app/pages/list_page.h"
#include "app/pages/sources_page.h"
#include "app/wait_dialog.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "services/options.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kindrel::guitest {
namespace {

std::string Fixture() {
    return std::string(KINDREL_TEST_DATA_DIR) + "/lists/lists.ged";
}

std::string Generated(int n) {
    return GeneratedGedcom(KINDREL_GENGEDCOM, n);
}

// The standard output of a command.
std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    ::pclose(pipe);
    return text;
}

std::string ReadFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void ClickHeader(QTableView* grid, int section) {
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(section) + 6, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

class ListsPagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        FreshSettings();
        Options().WriteBool(Opt::DispInitHelp, false);
    }
    void TearDown() override {
        SetContextMenuTestHandler({});
        WDialogRunner::SetTestHandler({});
        Hooks().pumpEvents = [] { QCoreApplication::processEvents(); };
        m_window.reset();
    }
    void Open(const std::string& gedcom) {
        m_window = gedcom.empty() ? OpenWindow(PackSample())
                                  : OpenWindow("/nonexistent/no-payload", gedcom);
        ASSERT_NE(m_window->Collection(), nullptr);
    }
    void Show(int tab) {
        m_window->SelectTab(tab);
        m_window->FlushPendingRefresh();
    }
    TListPage* List() const { return qobject_cast<TListPage*>(m_window->PageNamed("listPage")); }
    TIslandsPage* Islands() const {
        return qobject_cast<TIslandsPage*>(m_window->PageNamed("islandsPage"));
    }
    TSourcesPage* Sources() const {
        return qobject_cast<TSourcesPage*>(m_window->PageNamed("sourcesPage"));
    }
    WListColumns& ListColumns() const { return *m_window->ColumnSet(ColumnSetKind::kList); }
    std::vector<int32_t> Order(const WListModel* model) const {
        std::vector<int32_t> order;
        for (int r = 0; r < model->rowCount(); ++r) order.push_back(model->IndividualAt(r));
        return order;
    }
    // The list copy answers the format dialog with choice (and the file dialog with file).
    void AnswerCopy(ListCopyForm choice, const QString& file = {}) {
        WDialogRunner::SetTestHandler([choice, file](QDialog& dialog) {
            if (auto* clip = qobject_cast<TListClipDlg*>(&dialog)) {
                EXPECT_EQ(clip->windowTitle(), "Copy to Clipboard");
                clip->Choose(choice);
                return clip->result();
            }
            if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
                EXPECT_EQ(files->defaultSuffix(), "csv");
                files->selectFile(file);
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        });
    }

    Recorder m_recorder;
    std::unique_ptr<TLogoAppForm> m_window;
};

TEST_F(ListsPagesTest, ListModelReadsOnlyThroughTheColumnSetAndNeverPumps) {
    Open({});
    Show(kTabList);
    WListModel* model = List()->Grid()->Model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(model->rowCount(), 59);
    EXPECT_EQ(List()->CountLabel()->text(), "59 Individuals");
    EXPECT_EQ(model->columnCount(), 7);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Surname, Given");
    // Only rows asked for are read: the grid paints a screenful, not the list.
    EXPECT_LT(model->RowsRead(), 59);
    int pumpedInsideData = 0;
    Hooks().pumpEvents = [&pumpedInsideData] {
        if (WListModel::DataDepth() > 0) ++pumpedInsideData;
        QCoreApplication::processEvents();
    };
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            ASSERT_EQ(model->index(r, c).data().toString().toStdString(),
                      ListColumns().CellText(c + 1, model->IndividualAt(r)))
                << r << "," << c;
    EXPECT_EQ(pumpedInsideData, 0);
    // List mode draws people in their colours once there is highlighting.
    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));
    m_window->FlushPendingRefresh();
    const int mary = model->RowOf(2);
    ASSERT_GE(mary, 0);
    EXPECT_EQ(model->index(mary, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 0));
    EXPECT_EQ(model->index(model->RowOf(1), 0).data(Qt::BackgroundRole).value<QColor>(),
              QColor(Qt::white));
    EXPECT_TRUE(m_window->PageForTab(kTabList)->CanPerform(PageCommand::kCopy));
}

TEST_F(ListsPagesTest, TreeTotalsArePaintedOnceComputedOutsideThePaint) {
    Options().WriteListColumns("1,28,27");
    Open({});
    Show(kTabList);
    WListModel* model = List()->Grid()->Model();
    ASSERT_EQ(model->columnCount(), 3);
    WABSCollection* collection = m_window->Collection();
    // A row whose total nobody asked for yet (rows painted so far may have been filled).
    int row = model->rowCount() - 1;
    while (row >= 0 && collection->TreeTotalKnown(model->IndividualAt(row), false)) --row;
    ASSERT_GE(row, 0);
    const QModelIndex first = model->index(row, 1);
    const int32_t person = model->IndividualAt(row);
    // Reading it for a paint makes no walk: the cell is empty and queued.
    EXPECT_EQ(first.data().toString(), "");
    EXPECT_TRUE(model->HasPendingCells());
    EXPECT_FALSE(collection->TreeTotalKnown(person, false));
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    ASSERT_TRUE(WaitFor([&] { return !model->HasPendingCells(); }));
    EXPECT_GT(changed.count(), 0);
    EXPECT_TRUE(collection->TreeTotalKnown(person, false));
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            ASSERT_EQ(model->CellText(r, c).toStdString(),
                      ListColumns().CellText(c + 1, model->IndividualAt(r)))
                << r << "," << c;
    // What was painted empty shows its value now.
    EXPECT_EQ(first.data().toString().toStdString(), ListColumns().CellText(2, person));
    Options().WriteListColumns("1,2,7,65,67,19,18");
}

TEST_F(ListsPagesTest, HeaderClicksSortAsTheCommandLineDoesAndFlip) {
    Open({});
    Show(kTabList);
    WListGrid* grid = List()->Grid();
    WListModel* model = grid->Model();
    // Column 3 is "Surname, Given" (code 7), column 2 the birth date (code 65).
    ClickHeader(grid, 2);
    const std::string sample = std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";
    const std::string cli = std::string("\"") + KINDREL_EXE + "\" list \"" + sample +
                            "\" --columns 1,7 --csv --sort 7";
    std::stringstream lines(Output(cli));
    std::string line;
    std::getline(lines, line);  // header
    std::vector<int32_t> expected;
    while (std::getline(lines, line))
        if (line.size() > 2) expected.push_back(std::stoi(line.substr(1)));
    ASSERT_EQ(expected.size(), 59u);
    EXPECT_EQ(Order(model), expected);
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), 2);
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    // A second click reads the same order backwards.
    ClickHeader(grid, 2);
    std::vector<int32_t> reversed(expected.rbegin(), expected.rend());
    EXPECT_EQ(Order(model), reversed);
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    // The header menu sorts in a chosen direction.
    EXPECT_TRUE(grid->SortByColumnDirection(4, true));
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), 3);
    const std::vector<int32_t> byBirth = Order(model);
    EXPECT_TRUE(grid->SortByColumnDirection(4, false));
    EXPECT_EQ(Order(model), std::vector<int32_t>(byBirth.rbegin(), byBirth.rend()));

    // "Move to Active Individual in List", double click and Enter.
    m_window->JumpToIndividual(12);
    m_window->FlushPendingRefresh();
    auto* findInList = List()->findChild<QCheckBox*>("listFindInList");
    findInList->setChecked(true);
    EXPECT_TRUE(Options().ReadBool(Opt::FindInList));
    EXPECT_EQ(grid->CurrentIndividual(), 12);
    grid->setCurrentIndex(model->index(model->RowOf(30), 1));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(m_window->ActiveIndividual(), 30);
    grid->Activate(model->index(model->RowOf(7), 0));
    EXPECT_EQ(m_window->ActiveIndividual(), 7);
}

TEST_F(ListsPagesTest, HighlightedWithoutGroupEmptyResultAndWomen) {
    Open(Fixture());
    Show(kTabHighlighted);
    EXPECT_TRUE(List()->HighlightedMode());
    WListModel* model = List()->Grid()->Model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(List()->CountLabel()->text(), "");
    EXPECT_FALSE(List()->CanPerform(PageCommand::kCopy));
    // The highlighting panel is shown for the tab, and not hidden by a second visit.
    EXPECT_TRUE(m_window->PanelShown());
    EXPECT_EQ(m_window->LeftPanel()->Page(), 3);

    ASSERT_TRUE(m_window->SetHighlightConditions("+17:U"));
    EXPECT_TRUE(WaitFor([&] { return List()->CountLabel()->text() == "0 Individuals"; }));
    EXPECT_EQ(model->rowCount(), 0);

    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));
    EXPECT_TRUE(WaitFor([&] { return model->rowCount() == 2; }));
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(List()->CountLabel()->text(), "2 Individuals");
    EXPECT_EQ(model->IndividualAt(0) + model->IndividualAt(1), 2 + 3);
    // Plain in this mode.
    EXPECT_EQ(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    Show(kTabSender);
    Show(kTabHighlighted);
    EXPECT_TRUE(m_window->PanelShown());
    // The List tab still lists everyone.
    Show(kTabList);
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_FALSE(List()->HighlightedMode());
}

TEST_F(ListsPagesTest, CopiesInEachFormAndTheirFailures) {
    Open(Fixture());
    Show(kTabList);
    WListColumns& columns = ListColumns();
    columns.SetColumns("1,7");
    List()->Grid()->ColumnsChanged();
    // 9 pixels make no field, 10 pixels a field of one blank, 60 pixels 10 characters.
    columns.SetWidth(1, 10);
    columns.SetWidth(2, 60);
    List()->Grid()->ColumnsChanged();
    QGuiApplication::clipboard()->clear();
    AnswerCopy(ListCopyForm::kFixed);
    ASSERT_TRUE(m_window->PerformPageCommand(PageCommand::kCopy));
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              " Surname, G \r\n"
              " Smith, Jr, \r\n"
              " <b>Jones<, \r\n"
              " Smith, Ali \r\n"
              " Loner, Zed \r\n");
    EXPECT_TRUE(FlashMessageShown());
    QTest::qWait(600);

    columns.SetWidth(1, 9);
    List()->Grid()->ColumnsChanged();
    AnswerCopy(ListCopyForm::kFixed);
    ASSERT_TRUE(List()->CopyList());
    EXPECT_EQ(QGuiApplication::clipboard()->text().left(13), "Surname, G \r\n");
    QTest::qWait(600);

    AnswerCopy(ListCopyForm::kCsv);
    ASSERT_TRUE(List()->CopyList());
    const std::string csv =
        "\"Index\",\"Surname, Given\"\r\n\"1\",\"Smith, Jr, John \"\"Jack\"\"\"\r\n"
        "\"2\",\"<b>Jones<, Mary\"\r\n\"3\",\"Smith, Alice\"\r\n\"4\",\"Loner, Zed\"\r\n";
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), csv);
    QTest::qWait(600);

    // The file gets ".csv" and exactly the text; replacing asks first.
    const std::string base = TestDir() + "/people";
    AnswerCopy(ListCopyForm::kCsvFile, QString::fromStdString(base));
    ASSERT_TRUE(List()->CopyList());
    EXPECT_EQ(ReadFile(base + ".csv"), csv);
    QTest::qWait(600);
    int asked = 0;
    WMessageBox::SetTestHandler([&asked](const MessageRecord& message) {
        if (message.kind == MessageRecord::kQuestion) ++asked;
        return false;  // do not replace
    });
    AnswerCopy(ListCopyForm::kCsvFile, QString::fromStdString(base + ".csv"));
    EXPECT_FALSE(List()->CopyList());
    EXPECT_EQ(asked, 1);

    // A folder that cannot be written: a message naming the file, no flash.
    const std::string locked = TestDir() + "/locked";
    std::filesystem::create_directories(locked);
    ::chmod(locked.c_str(), 0500);
    std::vector<MessageRecord> shown;
    WMessageBox::SetTestHandler([&shown](const MessageRecord& message) {
        shown.push_back(message);
        return true;
    });
    QTest::qWait(600);
    AnswerCopy(ListCopyForm::kCsvFile, QString::fromStdString(locked + "/out.csv"));
    const bool root = ::geteuid() == 0;
    if (!root) {
        EXPECT_FALSE(List()->CopyList());
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_TRUE(shown[0].text.contains(QString::fromStdString(locked + "/out.csv")));
        EXPECT_FALSE(FlashMessageShown());
    }
    ::chmod(locked.c_str(), 0700);
    // A folder that does not exist fails the same way (also for root).
    shown.clear();
    AnswerCopy(ListCopyForm::kCsvFile, QString::fromStdString(TestDir() + "/none/out.csv"));
    EXPECT_FALSE(List()->CopyList());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains("none/out.csv"));
    EXPECT_TRUE(shown[0].text.contains("No such file"));
    EXPECT_FALSE(FlashMessageShown());

    // Cancel copies nothing and flashes nothing.
    QGuiApplication::clipboard()->setText("before");
    AnswerCopy(ListCopyForm::kCancelled);
    EXPECT_FALSE(List()->CopyList());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    EXPECT_FALSE(FlashMessageShown());
}

TEST_F(ListsPagesTest, IslandsGridsCalculateAndUseIsland) {
    Options().WriteBool(Opt::CalcIslands, false);
    Open(Fixture());
    Show(kTabIslands);
    TIslandsPage* page = Islands();
    QAbstractItemModelTester tester(page->IslandsModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(page->IslandsModel()->rowCount(), 0);
    EXPECT_TRUE(page->CalculateButton()->isVisible());
    EXPECT_TRUE(page->CalculateButton()->isEnabled());
    EXPECT_FALSE(page->CanPerform(PageCommand::kCopy));
    TIslandsPanel* panel = m_window->IslandsPanel();
    EXPECT_FALSE(panel->UseBox()->isEnabled());

    page->CalculateButton()->click();
    EXPECT_FALSE(page->CalculateButton()->isEnabled());
    EXPECT_EQ(page->CountLabel()->text(), "2 islands");
    QAbstractItemModel* islands = page->IslandsModel();
    ASSERT_EQ(islands->rowCount(), 2);
    const auto cell = [islands](int r, int c) { return islands->index(r, c).data().toString(); };
    EXPECT_EQ(cell(0, 0), "1");
    EXPECT_EQ(cell(0, 1), "3");
    EXPECT_EQ(cell(0, 2), "1");
    EXPECT_EQ(cell(0, 3), "John \"Jack\" /Smith, Jr/ [1]");
    EXPECT_EQ(cell(1, 1), "1");
    EXPECT_EQ(cell(1, 2), "0");
    EXPECT_EQ(cell(1, 3), "Zed /Loner/ [4]");
    EXPECT_TRUE(panel->UseBox()->isEnabled());
    EXPECT_EQ(panel->CountLabel()->text(), "2 islands");

    // The members of island 1, sortable.
    page->IslandsGrid()->setCurrentIndex(islands->index(0, 0));
    WListModel* members = page->MembersGrid()->Model();
    QAbstractItemModelTester memberTester(members,
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(members->rowCount(), 3);
    EXPECT_EQ(page->MembersLabel()->text(), "3 Individuals");
    ClickHeader(page->MembersGrid(), 2);
    EXPECT_EQ(Order(members), (std::vector<int32_t>{2, 3, 1}));  // <b>Jones<, Smith A., Smith J.
    // Double click on an island jumps to its first individual.
    Q_EMIT page->IslandsGrid()->doubleClicked(islands->index(1, 0));
    EXPECT_EQ(m_window->ActiveIndividual(), 4);

    // The islands copy: the note and source columns count members with notes and sources.
    AnswerCopy(ListCopyForm::kFixed);
    ASSERT_TRUE(m_window->PerformPageCommand(PageCommand::kCopy));
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              "ISLANDS\r\n\r\n"
              "    #      Ind      Mar     Note   Source 1st Individual\r\n"
              "    1        3        1        1        1 John \"\"Jack\"\" /Smith, Jr/ [1]\r\n"
              "    2        1        0        1        1 Zed /Loner/ [4]\r\n");
    QTest::qWait(600);
    AnswerCopy(ListCopyForm::kCsv);
    ASSERT_TRUE(page->CopyIslands());
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              "\"#\",\"Ind\",\"Mar\",\"Note\",\"Source\",\"1st Individual\"\r\n"
              "\"1\",\"3\",\"1\",\"1\",\"1\",\"John \"\"Jack\"\" /Smith, Jr/ [1]\"\r\n"
              "\"2\",\"1\",\"0\",\"1\",\"1\",\"Zed /Loner/ [4]\"\r\n");

    // Use Island (1) in the left panel: the window covers the island's three people.
    m_window->PanelCommand(2);
    panel->Grid()->setCurrentIndex(panel->Grid()->model()->index(0, 0));
    panel->UseBox()->setChecked(true);
    EXPECT_EQ(panel->UseBox()->text(), "Use Island (1)");
    EXPECT_TRUE(panel->UseBox()->isChecked());
    EXPECT_EQ(m_window->Collection()->ViewCount(), 3);
    EXPECT_EQ(m_window->Scroll()->ScrollBar()->maximum(), 3);
    Show(kTabList);
    EXPECT_EQ(List()->Grid()->Model()->rowCount(), 3);
    // Someone outside the island cannot be reached.
    m_window->JumpToIndividual(4);
    EXPECT_NE(m_window->ActiveIndividual(), 4);
    // Moving the selection moves the island in use (the last row of a held key only).
    panel->Grid()->setCurrentIndex(panel->Grid()->model()->index(1, 0));
    panel->FlushPendingMove();
    EXPECT_EQ(panel->UseBox()->text(), "Use Island (2)");
    EXPECT_EQ(m_window->Collection()->ViewCount(), 1);
    m_window->FlushPendingRefresh();
    EXPECT_EQ(List()->Grid()->Model()->rowCount(), 1);
    panel->UseBox()->setChecked(false);
    EXPECT_EQ(panel->UseBox()->text(), "Use Islands");
    EXPECT_EQ(m_window->Collection()->ViewCount(), 4);
    // Without a valid row the box stays unchecked.
    panel->Grid()->setCurrentIndex({});
    panel->UseBox()->setChecked(true);
    EXPECT_FALSE(panel->UseBox()->isChecked());
    // An open resets it all.
    m_window->Reload();
    EXPECT_EQ(panel->UseBox()->text(), "Use Islands");
    EXPECT_FALSE(panel->UseBox()->isEnabled());
    Options().WriteBool(Opt::CalcIslands, true);
}

TEST_F(ListsPagesTest, SourcesSortDetailsRawAndReopen) {
    Open(Fixture());
    Show(kTabSources);
    TSourcesPage* page = Sources();
    QAbstractItemModelTester tester(page->Model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(page->Model()->rowCount(), 3);
    EXPECT_EQ(page->CountLabel()->text(), "3 Sources");
    const auto cell = [page](int r, int c) {
        return page->Model()->index(r, c).data().toString().toStdString();
    };
    EXPECT_EQ(cell(0, 0), "1");
    EXPECT_EQ(cell(0, 1), "Y");
    EXPECT_EQ(cell(0, 2), "Y");
    EXPECT_EQ(cell(0, 3), "Y");
    EXPECT_EQ(cell(0, 4), "Parish book second line");  // the line break as a blank
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(1, 4), "<b>Bold</b> title");
    EXPECT_EQ(cell(2, 7), "1901 \"official\", printed");
    // Details of the first source.
    EXPECT_EQ(page->ShownSource(), 1);
    EXPECT_EQ(page->DetailLabel(0)->text(), "Parish book second line");
    EXPECT_EQ(page->DetailLabel(0)->textFormat(), Qt::PlainText);
    EXPECT_EQ(page->TextMemo()->toPlainText(), "Some text\nmore text");
    EXPECT_EQ(page->NoteMemo()->toPlainText(), "A note on the book");
    EXPECT_EQ(page->RepositoryMemo()->toPlainText(), "County Office\nHigh Street, Millbrook, England");
    EXPECT_EQ(page->NoteBox()->title(), "Note");
    // A repository without address shows only its name.
    page->Grid()->setCurrentIndex(page->Model()->index(1, 0));
    EXPECT_EQ(page->RepositoryMemo()->toPlainText(), "Plain Repo");
    EXPECT_EQ(page->DetailLabel(0)->text(), "<b>Bold</b> title");
    // Sorting by author keeps the details on the selected source, which moves to the top.
    ClickHeader(page->Grid(), 6);
    EXPECT_EQ(page->Model()->SourceAt(0), 2);  // Alpha
    EXPECT_EQ(page->Model()->SourceAt(2), 1);  // Zeta
    EXPECT_EQ(page->Grid()->currentIndex().row(), 0);
    EXPECT_EQ(page->ShownSource(), 2);
    EXPECT_EQ(page->Grid()->horizontalHeader()->sortIndicatorSection(), 6);
    ClickHeader(page->Grid(), 6);
    EXPECT_EQ(page->Model()->SourceAt(0), 1);
    EXPECT_EQ(page->Grid()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(page->Grid()->currentIndex().row(), 2);
    EXPECT_EQ(page->ShownSource(), 2);
    // Raw mode shows the record.
    m_window->SetRawMode(true);
    EXPECT_TRUE(page->RawMemo()->isVisible());
    EXPECT_TRUE(page->RawMemo()->toPlainText().startsWith("0 @S2@ SOUR"));
    m_window->SetRawMode(false);
    // After a reopen the same source is selected and shown.
    m_window->Reload();
    Show(kTabSources);
    EXPECT_EQ(page->ShownSource(), 2);
    EXPECT_EQ(page->Model()->SourceAt(page->Grid()->currentIndex().row()), 2);
    EXPECT_EQ(page->DetailLabel(0)->text(), "<b>Bold</b> title");
    // Copy details through the menu.
    SetContextMenuTestHandler([](QMenu& menu) {
        if (QAction* copy = menu.findChild<QAction*>("sourcesMenuCopy")) copy->trigger();
    });
    Q_EMIT page->Grid()->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Title:        "));
}

TEST_F(ListsPagesTest, ChooserKeepsTheMovedColumnAndSettingsSurviveARestart) {
    Open(Fixture());
    Show(kTabList);
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        auto* displayed = dialog.findChild<QListWidget*>("displayedList");
        auto click = [&](const char* name) {
            dialog.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
        };
        // Two clicks on "down" move the first column two places.
        displayed->setCurrentRow(0);
        click("moveDown");
        click("moveDown");
        EXPECT_EQ(displayed->currentRow(), 2);
        click("listColumnsOk");
        return dialog.result();
    });
    ASSERT_TRUE(List()->ChooseColumns());
    EXPECT_EQ(ListColumns().Columns(), "2,7,1,65,67,19,18");
    EXPECT_EQ(List()->Grid()->Model()->headerData(2, Qt::Horizontal).toString(), "Index");
    List()->findChild<QCheckBox*>("listFindInList")->setChecked(true);
    List()->Grid()->horizontalHeader()->resizeSection(1, 300);
    Show(kTabSources);
    Sources()->Grid()->horizontalHeader()->resizeSection(4, 250);
    const int sourceWidth = Options().ReadInt(Opt::SrcCol5);
    EXPECT_GT(sourceWidth, 100);
    const int listWidth = ListColumns().Width(2);
    m_window->close();
    m_window.reset();

    Open(Fixture());
    Show(kTabList);
    EXPECT_EQ(ListColumns().Columns(), "2,7,1,65,67,19,18");
    EXPECT_EQ(ListColumns().Width(2), listWidth);
    EXPECT_TRUE(List()->findChild<QCheckBox*>("listFindInList")->isChecked());
    EXPECT_EQ(Options().ReadInt(Opt::SrcCol5), sourceWidth);
    // Junk codes give "ERROR" columns, which the chooser drops on OK.
    m_window.reset();
    Options().WriteListColumns("1,99,x,7,7");
    Open(Fixture());
    Show(kTabList);
    EXPECT_EQ(List()->Grid()->Model()->headerData(1, Qt::Horizontal).toString(), "ERROR");
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>("listColumnsOk")->click();
        return dialog.result();
    });
    ASSERT_TRUE(List()->ChooseColumns());
    EXPECT_EQ(ListColumns().Columns(), "1,7");
}

TEST_F(ListsPagesTest, TheWindowsColumnsCommandOpensTheChooserOfTheListShown) {
    Open(Fixture());
    QAction* columns = m_window->findChild<QAction*>("actColumns");
    ASSERT_NE(columns, nullptr);
    int shown = 0;
    // Each chooser moves its first column to the end and presses OK.
    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        ++shown;
        auto* displayed = dialog.findChild<QListWidget*>("displayedList");
        displayed->setCurrentRow(0);
        while (displayed->currentRow() + 1 < displayed->count())
            dialog.findChild<QAbstractButton*>("moveDown")->click();
        dialog.findChild<QAbstractButton*>("listColumnsOk")->click();
        return dialog.result();
    });
    const struct {
        int tab;
        ColumnSetKind set;
        const char* after;
    } rows[] = {
        {kTabList, ColumnSetKind::kList, "2,7,65,67,19,18,1"},
        {kTabHighlighted, ColumnSetKind::kList, "7,65,67,19,18,1,2"},
        {kTabIslands, ColumnSetKind::kIslandMembers, "2,7,65,67,19,18,54,55,1"},
        {kTabDescendants, ColumnSetKind::kDescendants, "67,19,59,60,65"},
    };
    for (const auto& row : rows) {
        Show(row.tab);
        ASSERT_TRUE(columns->isEnabled()) << row.tab;
        const int before = shown;
        columns->trigger();
        EXPECT_EQ(shown, before + 1) << row.tab;
        EXPECT_EQ(m_window->ColumnSet(row.set)->Columns(), row.after) << row.tab;
    }
    // Pages without a column set leave the command off and open nothing.
    for (int tab : {kTabGeneral, kTabIndividual, kTabSources}) {
        Show(tab);
        EXPECT_FALSE(columns->isEnabled()) << tab;
        columns->trigger();
    }
    EXPECT_EQ(shown, 4);
}

TEST_F(ListsPagesTest, WorkFromThePumpDuringASortRunsOnceAfterIt) {
    const std::string file = Generated(5000);
    ASSERT_FALSE(file.empty());
    Open(file);
    Show(kTabList);
    WListGrid* grid = List()->Grid();
    ASSERT_EQ(grid->Model()->rowCount(), 5000);
    WABSCollection* before = m_window->Collection();
    int pumps = 0;
    bool fired = false;
    Hooks().pumpEvents = [&] {
        ++pumps;
        if (!fired && grid->IsSorting()) {
            fired = true;
            // Everything a user could start while the sort pumps events.
            m_window->Reload();
            ClickHeader(grid, 3);
            m_window->SetHighlightConditions("+17:F");
            m_window->UseIslandInView(1);
            m_window->RequestRefresh();
        }
        QCoreApplication::processEvents();
    };
    ClickHeader(grid, 2);  // by name: the keys take many pumps
    EXPECT_TRUE(fired);
    EXPECT_FALSE(grid->IsSorting());
    // The sort finished over the collection it started with ...
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), 2);
    // ... and the reload, the highlighting and Use Island ran after it, in that order (the
    // reload drops the highlighting of the file it closes).
    EXPECT_TRUE(WaitFor([&] { return m_window->Collection() != before; }));
    EXPECT_TRUE(WaitFor([&] { return m_window->Collection()->ViewCount() < 5000; }));
    EXPECT_EQ(TWaitDlg::Depth(), 0);
    m_window->UseIslandInView(0);
    EXPECT_EQ(m_window->Collection()->ViewCount(), 5000);
    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));
    Show(kTabHighlighted);
    EXPECT_TRUE(WaitFor([&] { return List()->Grid()->Model()->rowCount() > 0; }));

    // A sort cancelled from its wait dialog leaves order, arrow and direction as they were.
    Show(kTabList);
    grid = List()->Grid();
    const std::vector<int32_t> order = Order(grid->Model());
    const int arrow = grid->horizontalHeader()->sortIndicatorSection();
    Hooks().pumpEvents = [&] {
        if (grid->IsSorting()) SetCancelRequested(true);
        QCoreApplication::processEvents();
    };
    EXPECT_FALSE(grid->SortByColumn(4));
    EXPECT_EQ(Order(grid->Model()), order);
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), arrow);
    EXPECT_FALSE(CancelRequested());
}

}  // namespace
}  // namespace kindrel::guitest

namespace kindrel::guitest {
namespace {

// The screenshots of the README and the help pages: written to $KINDREL_SCREENSHOT_DIR when it
// is set (skipped otherwise).
TEST_F(ListsPagesTest, ScreenshotsWhenAsked) {
    const char* dir = std::getenv("KINDREL_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "KINDREL_SCREENSHOT_DIR not set";
    const QString folder = QString::fromLocal8Bit(dir) + QLatin1Char('/');
    Open({});
    m_window->resize(1180, 760);
    const auto save = [&](QWidget* widget, const char* name) {
        QTest::qWait(100);
        EXPECT_TRUE(widget->grab().save(folder + QString::fromLatin1(name)));
    };
    m_window->JumpToIndividual(4);
    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));
    Show(kTabList);
    List()->Grid()->SortByColumn(3);
    save(m_window.get(), "list.png");
    Show(kTabHighlighted);
    WaitFor([&] { return List()->Grid()->Model()->rowCount() > 0; });
    m_window->LeftPanel()->hide();
    save(m_window.get(), "highlighted.png");
    Show(kTabIslands);
    Islands()->IslandsGrid()->setCurrentIndex(Islands()->IslandsModel()->index(0, 0));
    save(m_window.get(), "islands.png");
    m_window->PanelCommand(2);
    TIslandsPanel* panel = m_window->IslandsPanel();
    panel->Grid()->setCurrentIndex(panel->Grid()->model()->index(1, 0));
    panel->UseBox()->setChecked(true);
    Show(kTabList);
    save(m_window.get(), "islands-panel.png");
    panel->UseBox()->setChecked(false);
    m_window->LeftPanel()->hide();
    Show(kTabSources);
    save(m_window.get(), "sources.png");
    Show(kTabList);
    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        dialog.show();
        if (auto* displayed = dialog.findChild<QListWidget*>("displayedList"))
            displayed->setCurrentRow(2);
        save(&dialog, qobject_cast<TListClipDlg*>(&dialog) ? "list-copy.png" : "list-columns.png");
        return int(QDialog::Rejected);
    });
    List()->ChooseColumns();
    List()->CopyList();
}

}  // namespace
}  // namespace kindrel::guitest
