// The Descendants page in the real window: rows read back from its model, the controls and
// their settings, the column chooser (driven through its buttons, and on its own), colours in
// a grab, Reload and Escape during walks, and the thumb of the scroll bar.
#include "gui_test_support.h"

#include "analysis/list_columns.h"
#include "app/dialogs/list_columns_dialog.h"
#include "app/ind_scroll.h"
#include "app/pages/descendants_model.h"
#include "app/pages/descendants_page.h"
#include "app/pages/person_table.h"
#include "app/plain_text.h"
#include "services/options.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace kindrel::guitest {
namespace {

std::string Fixture() {
    return std::string(KINDREL_TEST_DATA_DIR) + "/views/descendants.ged";
}

// A generated file of n individuals (cached per process).
std::string Generated(int n) {
    return GeneratedGedcom(KINDREL_GENGEDCOM, n);
}

// A line of `generations` people, each the only child of the one before.
std::string Line(int generations) {
    const std::string file = TestDir() + "/line.ged";
    std::ofstream out(file);
    out << "0 HEAD\n1 CHAR UTF-8\n";
    for (int i = 1; i <= generations; ++i) {
        out << "0 @I" << i << "@ INDI\n1 NAME P" << i << " /Line/\n";
        if (i > 1) out << "1 FAMC @F" << i - 1 << "@\n";
        if (i < generations) out << "1 FAMS @F" << i << "@\n";
    }
    for (int i = 1; i < generations; ++i)
        out << "0 @F" << i << "@ FAM\n1 HUSB @I" << i << "@\n1 CHIL @I" << i + 1 << "@\n";
    out << "0 TRLR\n";
    return file;
}

class DescendantsPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        FreshSettings();
        Options().WriteBool(Opt::DispInitHelp, false);
    }
    void TearDown() override {
        SetContextMenuTestHandler({});
        m_window.reset();
    }
    // Opens a plain GEDCOM (or the packed sample) and shows the Descendants of individual n.
    void Show(const std::string& gedcom, int32_t n) {
        m_window = gedcom.empty() ? OpenWindow(PackSample())
                                  : OpenWindow("/nonexistent/no-payload", gedcom);
        ASSERT_NE(m_window->Collection(), nullptr);
        m_window->JumpToIndividual(n);
        m_window->SelectTab(kTabDescendants);
        m_window->FlushPendingRefresh();
        Page()->FlushPendingWalk();
    }
    TDescendantsPage* Page() const {
        return qobject_cast<TDescendantsPage*>(m_window->PageNamed("descendantsPage"));
    }
    WDesModel* Model() const { return Page()->Model(); }
    template <typename T>
    T* Child(const char* name) const {
        return Page()->findChild<T*>(QString::fromLatin1(name));
    }
    QString Cell(int row, int column) const {
        return Model()->index(row, column).data().toString();
    }
    QStringList Column0() const {
        QStringList texts;
        for (int r = 0; r < Model()->rowCount(); ++r) texts << Cell(r, 0);
        return texts;
    }
    QString Header(int column) const {
        return Model()->headerData(column, Qt::Horizontal).toString();
    }

    Recorder m_recorder;
    std::unique_ptr<TLogoAppForm> m_window;
};

const QStringList kFixtureRows = {"1 - Osric /Alden/ [1] + Mary /Birch/ [2] [1 of 2]",
                                  "2 - Tobias /Alden/ [4] + Ruth /Eyre/ [7]",
                                  "3 - Amos /Alden/ [9] + Lydia /Drew/ [10]",
                                  "4 - Enoch /Alden/ [11]",
                                  "2 - Hester /Alden/ [5] + Silas /Drew/ [8]",
                                  "3 - Lydia /Drew/ [10] + Amos /Alden/ [9]",
                                  "4 - Enoch /Alden/ [11] (DUPLICATED)",
                                  "1 - Osric /Alden/ [1] + Jane /Cole/ [3] [2 of 2]",
                                  "2 - Caleb /Alden/ [6]"};

TEST_F(DescendantsPageTest, SampleDescendantsOfTheFirstIndividual) {
    Options().WriteBool(Opt::DispInitHelp, true);
    Options().WriteBool(Opt::IH1, false);
    Options().WriteBool(Opt::IH6, true);
    Show({}, 1);
    EXPECT_EQ(m_recorder.dialogs, 1);  // quick help 6 on the first show
    EXPECT_FALSE(Options().ReadBool(Opt::IH6));
    QAbstractItemModelTester tester(Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);

    EXPECT_EQ(Header(0), "Descendants (36 individuals)");
    ASSERT_EQ(Model()->rowCount(), 41);
    EXPECT_EQ(Cell(0, 0), "1 - Ambrose /Harrowgate/ [1] + Mercy /Quill/ [2]");
    EXPECT_EQ(Cell(3, 0), "2 - William /Harrowgate/ [4] + Anna /Lindqvist/ [8] [1 of 3]");
    EXPECT_EQ(Cell(13, 0), "3 - Clara /Harrowgate/ [12] + Edmund /Fairweather/ [21] [2 of 2]");
    EXPECT_EQ(Cell(14, 0), "4 - Sigrid /Halvorsen/ [24] (DUPLICATED)");
    EXPECT_EQ(Cell(40, 0), "2 - Hannah /Harrowgate/ [5]");
    // Columns "65,67,19,59,60": dates, age, the parents' ages at birth.
    ASSERT_EQ(Model()->columnCount(), 6);
    const QStringList headers = {"Birth/[C] Date", "Death/[B] Date", "Age", "F. Age", "M. Age"};
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(Header(c), headers[c - 1]);
    EXPECT_EQ(Model()->RowText(4),
              "3 - Clara /Harrowgate/ [12] + Bjørn /Halvorsen/ [20] [1 of 2]"
              "\t5 AUG 1844\t1921\t~76\t23\t22");
    EXPECT_EQ(Model()->RowText(34),
              "3 - Frederick /Harrowgate/ [17]\t\tDURING THE GREAT FROST\t\t\t");
    const std::string hint = m_window->DescendantColumns()->ColumnsText();
    EXPECT_NE(hint.find("Column 3: Age\r\nColumn 4: Father's age at birth"), std::string::npos);
    EXPECT_EQ(Model()->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(),
              PlainToolTip(QString::fromStdString(hint)));
    // Widths from the settings, grown with the grid's font.
    QHeaderView* header = Page()->Grid()->horizontalHeader();
    const double scale = Page()->WidthScale();
    EXPECT_EQ(header->sectionSize(0), std::lround(400 * scale));
    EXPECT_EQ(header->sectionSize(3), std::lround(30 * scale));
    header->resizeSection(3, std::lround(50 * scale));  // the user widens Age
    EXPECT_EQ(m_window->DescendantColumns()->Width(3), 50);

    // Someone without descendants, then a Reload while the page is shown.
    m_window->JumpToIndividual(59);
    m_window->FlushPendingRefresh();
    EXPECT_EQ(Model()->rowCount(), 1);
    EXPECT_EQ(Header(0), "Descendants (0 individuals)");
    m_window->JumpToIndividual(1);
    m_window->FlushPendingRefresh();
    m_window->Reload();
    m_window->FlushPendingRefresh();
    Page()->FlushPendingWalk();
    ASSERT_EQ(Model()->rowCount(), 41);
    EXPECT_EQ(Cell(14, 0), "4 - Sigrid /Halvorsen/ [24] (DUPLICATED)");
    EXPECT_EQ(header->sectionSize(3), std::lround(50 * scale));
    EXPECT_TRUE(m_recorder.messages.empty());
}

TEST_F(DescendantsPageTest, CousinMarriageControlsAndSettings) {
    Options().WriteInt(Opt::DesIndent, 100);  // out of range: clamped to the spin
    Options().WriteInt(Opt::DesGenLimit, -3);
    Show(Fixture(), 1);
    EXPECT_EQ(Column0(), kFixtureRows);
    EXPECT_EQ(Header(0), "Descendants (6 individuals)");
    EXPECT_EQ(Cell(8, 1), "[1841]");  // christening only
    EXPECT_EQ(Child<QSpinBox>("desIndent")->value(), 32);
    EXPECT_EQ(Options().ReadInt(Opt::DesIndent), 32);
    EXPECT_EQ(Page()->NameDelegate()->Indent(), 32);
    EXPECT_EQ(Child<QSpinBox>("desGenerations")->value(), 0);
    EXPECT_EQ(Child<QLabel>("desGenerationsLabel")->text(), "Show ALL Generations");

    // Generations: the label, the setting, a walk; the kept row past the rows goes to row 1.
    Page()->Grid()->setCurrentIndex(Model()->index(8, 0));
    Child<QSpinBox>("desGenerations")->setValue(1);
    Page()->FlushPendingWalk();
    EXPECT_EQ(Child<QLabel>("desGenerationsLabel")->text(), "Show 1 Generations");
    EXPECT_EQ(Options().ReadInt(Opt::DesGenLimit), 1);
    EXPECT_EQ(Column0(), (QStringList{kFixtureRows[0], kFixtureRows[1], kFixtureRows[4],
                                      kFixtureRows[7], kFixtureRows[8]}));
    EXPECT_EQ(Header(0), "Descendants (3 individuals)");  // a user's limit is no cut
    EXPECT_EQ(Page()->Grid()->currentIndex().row(), 0);
    Page()->Grid()->setCurrentIndex(Model()->index(3, 0));
    Child<QSpinBox>("desGenerations")->setValue(2);
    Page()->FlushPendingWalk();
    EXPECT_EQ(Page()->Grid()->currentIndex().row(), 3);  // kept for the same person

    // Repeat Individuals: the second line is walked in full.
    Child<QSpinBox>("desGenerations")->setValue(0);
    Child<QCheckBox>("desRepeat")->setChecked(true);
    Page()->FlushPendingWalk();
    EXPECT_TRUE(Options().ReadBool(Opt::DesRepDups));
    EXPECT_EQ(Cell(6, 0), "4 - Enoch /Alden/ [11]");
    EXPECT_EQ(Header(0), "Descendants (7 individuals)");
    // Grid and indent only repaint.
    const int walks = Page()->WalkCount();
    Child<QCheckBox>("desGrid")->setChecked(false);
    EXPECT_FALSE(Page()->Grid()->showGrid());
    EXPECT_FALSE(Options().ReadBool(Opt::DesShowLines));
    Child<QSpinBox>("desIndent")->setValue(12);
    EXPECT_EQ(Options().ReadInt(Opt::DesIndent), 12);
    EXPECT_EQ(Page()->NameDelegate()->Indent(), 12);
    m_window->SetHighlightConditions("+17:F");
    m_window->FlushPendingRefresh();
    EXPECT_EQ(Page()->WalkCount(), walks);

    // Enter jumps; the context menu goes to the row's person and copies the row.
    Page()->Grid()->setFocus();
    Page()->Grid()->setCurrentIndex(Model()->index(4, 0));
    QTest::keyClick(Page()->Grid(), Qt::Key_Return);
    EXPECT_EQ(m_window->ActiveIndividual(), 5);
    m_window->FlushPendingRefresh();
    EXPECT_EQ(Cell(0, 0), "1 - Hester /Alden/ [5] + Silas /Drew/ [8]");
    QStringList items;
    SetContextMenuTestHandler([&](QMenu& menu) {
        for (QAction* action : menu.actions()) items << action->text();
        menu.findChild<QAction*>("copyPerson")->trigger();
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            Page()->Grid()->viewport()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(Page()->Grid(), &event);
    EXPECT_EQ(items, (QStringList{"Go to Hester /Alden/ [5]", "Copy"}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), Model()->RowText(0));
}

TEST_F(DescendantsPageTest, HighlightedNamesAreYellowAndRepeatsAqua) {
    Show(Fixture(), 1);
    m_window->SetHighlightConditions("+17:F");
    m_window->FlushPendingRefresh();
    const QImage image = Page()->Grid()->viewport()->grab().toImage();
    const int nameRight = Page()->Grid()->horizontalHeader()->sectionSize(0);
    int yellow = 0, aqua = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < nameRight && x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(255, 255, 0)) ++yellow;
            if (c == QColor(0, 255, 255)) ++aqua;
        }
    EXPECT_GT(yellow, 100);  // Mary, Ruth, Hester, Lydia (twice), Jane
    EXPECT_GT(aqua, 100);    // "(DUPLICATED)"
}

TEST_F(DescendantsPageTest, ColumnsThroughTheChooser) {
    Show(Fixture(), 1);
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "List Columns");
        auto click = [&](const char* name) {
            dialog.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
        };
        click("moveAllLeft");
        auto* master = dialog.findChild<QListWidget*>("masterList");
        // Sex (code 9), then REF (code 2) by a double click.
        for (const char* text : {"Sex", "REF"}) {
            QListWidgetItem* item = master->findItems(text, Qt::MatchExactly).value(0);
            EXPECT_NE(item, nullptr) << text;
            if (!item) return int(QDialog::Rejected);
            master->setCurrentItem(item);
            if (std::string(text) == "Sex")
                click("moveRight");
            else
                Q_EMIT master->itemDoubleClicked(item);
        }
        click("listColumnsOk");
        return dialog.result();
    });
    EXPECT_TRUE(Page()->ChooseColumns());
    EXPECT_EQ(Options().ReadText(Opt::DesColumns), "9,2");
    EXPECT_EQ(m_window->DescendantColumns()->Columns(), "9,2");
    ASSERT_EQ(Model()->columnCount(), 3);
    EXPECT_EQ(Header(1), "Sex");
    EXPECT_EQ(Header(2), "REF");
    EXPECT_EQ(Model()->RowText(4), "2 - Hester /Alden/ [5] + Silas /Drew/ [8]\tF\t5");
    EXPECT_EQ(Page()->Grid()->horizontalHeader()->sectionSize(1),
              std::lround(25 * Page()->WidthScale()));
    EXPECT_EQ(Model()->rowCount(), 9);  // the rows stay
    // Cancel changes nothing.
    WDialogRunner::SetTestHandler([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_FALSE(Page()->ChooseColumns());
    EXPECT_EQ(Options().ReadText(Opt::DesColumns), "9,2");
}

TEST(ListColumnsDialog, MovesCountsEnablingAndOk) {
    GuiApp();
    WListColumns set(nullptr, "Test");
    set.SetColumns("65,abc,19,65,99");  // junk and a repeat are dropped
    TdlgListColumns dialog(set);
    auto button = [&](const char* name) {
        return dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    };
    auto label = [&](const char* name) {
        return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    auto* master = dialog.findChild<QListWidget*>("masterList");
    auto* shown = dialog.findChild<QListWidget*>("displayedList");
    EXPECT_EQ(dialog.DisplayedCodes(), (std::vector<int>{65, 19}));
    EXPECT_EQ(dialog.ColumnsText(), "65,19");
    ASSERT_EQ(dialog.MasterCodes().size(), 66u);
    EXPECT_EQ(dialog.MasterCodes()[3], 48);  // catalogue order 1, 2, 3, 48, 4 ...
    EXPECT_EQ(label("masterCount"), "66 Items");
    EXPECT_EQ(label("displayedCount"), "2 Items");
    EXPECT_EQ(shown->item(0)->text(), "Birth/[Christening] Date");
    EXPECT_EQ(button("moveUp")->toolTip(), "Move column up in list");
    // Nothing selected: only the "all" moves.
    for (const char* name : {"moveRight", "moveLeft", "moveUp", "moveDown"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    EXPECT_TRUE(button("moveAllRight")->isEnabled());
    EXPECT_TRUE(button("moveAllLeft")->isEnabled());

    shown->setCurrentRow(0);
    EXPECT_FALSE(button("moveUp")->isEnabled());
    EXPECT_TRUE(button("moveDown")->isEnabled());
    button("moveDown")->click();
    EXPECT_EQ(dialog.DisplayedCodes(), (std::vector<int>{19, 65}));
    EXPECT_EQ(shown->currentRow(), 1);  // the moved column stays selected
    EXPECT_FALSE(button("moveDown")->isEnabled());
    button("moveUp")->click();
    EXPECT_EQ(dialog.DisplayedCodes(), (std::vector<int>{65, 19}));
    EXPECT_EQ(shown->currentRow(), 0);

    // Right: appended; the master selection stays at its index.
    master->setCurrentRow(0);
    button("moveRight")->click();
    EXPECT_EQ(dialog.DisplayedCodes(), (std::vector<int>{65, 19, 1}));
    EXPECT_EQ(master->currentRow(), 0);
    EXPECT_EQ(dialog.MasterCodes()[0], 2);
    EXPECT_EQ(label("displayedCount"), "3 Items");
    // Left from the last row: the code goes back in catalogue order, the selection moves up.
    shown->setCurrentRow(2);
    button("moveLeft")->click();
    EXPECT_EQ(dialog.MasterCodes()[0], 1);
    EXPECT_EQ(shown->currentRow(), 1);
    Q_EMIT shown->itemDoubleClicked(shown->item(0));
    EXPECT_EQ(dialog.DisplayedCodes(), (std::vector<int>{19}));

    button("moveAllLeft")->click();
    EXPECT_TRUE(dialog.DisplayedCodes().empty());
    EXPECT_EQ(label("masterCount"), "68 Items");
    EXPECT_FALSE(button("moveAllLeft")->isEnabled());
    EXPECT_EQ(dialog.ColumnsText(), "");
    button("moveAllRight")->click();
    EXPECT_EQ(label("masterCount"), "0 Items");
    EXPECT_FALSE(button("moveAllRight")->isEnabled());
    EXPECT_FALSE(button("moveRight")->isEnabled());
    ASSERT_EQ(dialog.DisplayedCodes().size(), 68u);
    EXPECT_EQ(dialog.DisplayedCodes()[3], 48);
    EXPECT_EQ(dialog.ColumnsText().substr(0, 9), "1,2,3,48,");
}

TEST_F(DescendantsPageTest, ALineDeeperThan255GenerationsSaysItWasCut) {
    Options().WriteInt(Opt::DesGenLimit, 0);
    Show(Line(300), 1);
    EXPECT_EQ(Child<QLabel>("desGenerationsLabel")->text(), "Show ALL Generations");
    EXPECT_EQ(Model()->rowCount(), 256);
    EXPECT_EQ(Header(0), "Descendants (255 individuals; list cut at 255 generations)");
    EXPECT_EQ(Cell(255, 0), "256 - P256 /Line/ [256]");
    Child<QSpinBox>("desGenerations")->setValue(10);
    Page()->FlushPendingWalk();
    EXPECT_EQ(Header(0), "Descendants (10 individuals)");
}

TEST_F(DescendantsPageTest, NoFileMeansAnEmptyPageWithItsControlsOff) {
    m_window = OpenWindow(TestDir() + "/no-such-viewer");
    ASSERT_EQ(m_window->Collection(), nullptr);
    m_window->SelectTab(kTabDescendants);
    EXPECT_EQ(Model()->rowCount(), 0);
    EXPECT_EQ(Header(0), "Descendants (0)");
    for (const char* name : {"desGenerations", "desIndent", "desGrid", "desRepeat", "desColumns"})
        EXPECT_FALSE(Child<QWidget>(name)->isEnabled()) << name;
    EXPECT_FALSE(Page()->ChooseColumns());
    // A file without individuals: the same.
    const std::string empty = TestDir() + "/empty.ged";
    std::ofstream(empty) << "0 HEAD\n1 CHAR UTF-8\n0 TRLR\n";
    ASSERT_TRUE(m_window->OpenGenealogyFile(empty));
    m_window->RefreshActivePage();
    EXPECT_EQ(Model()->rowCount(), 0);
    EXPECT_EQ(Header(0), "Descendants (0)");
    EXPECT_FALSE(Child<QWidget>("desColumns")->isEnabled());
}

// A long walk in a generated file: its state while it runs, Escape, and the thumb.
class LongWalkTest : public DescendantsPageTest {
  protected:
    void SetUp() override {
        DescendantsPageTest::SetUp();
        const std::string file = Generated(60000);
        ASSERT_FALSE(file.empty());
        m_window = OpenWindow("/nonexistent/no-payload", file);
        ASSERT_NE(m_window->Collection(), nullptr);
        m_window->JumpToIndividual(1);
        m_window->FlushPendingRefresh();
    }
    // Selects the tab and runs fn once events are processed inside the walk.
    void DuringTheWalk(const std::function<void()>& fn) {
        QTimer::singleShot(0, Page(), fn);
        m_window->SelectTab(kTabDescendants);
    }
};

TEST_F(LongWalkTest, EscapeStopsTheWalkAndTheHeaderSaysSo) {
    bool seen = false;
    DuringTheWalk([&] {
        seen = Page()->IsWalking();
        EXPECT_EQ(Model()->rowCount(), 0);
        EXPECT_EQ(Header(0), "Descendants (counting...  Esc stops)");
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QTest::keyClick(Page()->Grid(), Qt::Key_Escape);
    });
    ASSERT_TRUE(seen) << "the walk ended before events were processed";
    EXPECT_FALSE(Page()->IsWalking());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(Header(0).endsWith(" individuals; stopped by Esc)")) << Header(0).toStdString();
    const int partial = Model()->rowCount();
    EXPECT_GT(partial, 0);
    // Shown again, the stopped list stays; another limit walks in full.
    m_window->SelectTab(kTabGeneral);
    m_window->SelectTab(kTabDescendants);
    EXPECT_EQ(Model()->rowCount(), partial);
    Child<QSpinBox>("desGenerations")->setValue(0);
    Page()->FlushPendingWalk();
    EXPECT_GT(Model()->rowCount(), partial);
    EXPECT_TRUE(Header(0).endsWith(" individuals)"));
}

TEST_F(LongWalkTest, ReloadAndCloseDuringTheWalkAreSafe) {
    int walks = 0;
    DuringTheWalk([&] {
        walks = Page()->WalkCount();
        m_window->Reload();
    });
    // The stopped walk let go of the old file; the new one is walked.
    ASSERT_TRUE(WaitFor([&] { return !Page()->IsWalking() && Model()->rowCount() > 0; }));
    EXPECT_GT(Page()->WalkCount(), walks);
    EXPECT_TRUE(Header(0).endsWith(" individuals)"));
    EXPECT_EQ(Model()->Walk() != nullptr, true);
    // A close during a walk waits for it.
    QTimer::singleShot(0, Page(), [&] { m_window->close(); });
    Page()->Rewalk();
    EXPECT_TRUE(WaitFor([&] { return !m_window->isVisible(); }));
    EXPECT_TRUE(m_recorder.messages.empty());
}

TEST_F(DescendantsPageTest, WhileTheThumbIsDraggedTheWalkWaitsForItToRest) {
    Show({}, 1);
    const int walks = Page()->WalkCount();
    QScrollBar* bar = m_window->Scroll()->ScrollBar();
    bar->setSliderDown(true);
    for (int v : {10, 11, 12, 5}) {
        bar->setValue(v);
        QCoreApplication::processEvents();
        EXPECT_TRUE(Page()->WalkPending());
        EXPECT_EQ(Model()->rowCount(), 0);
        EXPECT_EQ(Header(0), "Descendants");
    }
    EXPECT_EQ(Page()->WalkCount(), walks);
    QElapsedTimer rest;
    rest.start();
    ASSERT_TRUE(WaitFor([&] { return !Page()->WalkPending(); }, 2000));
    EXPECT_GE(rest.elapsed(), TDescendantsPage::kThumbRestMs - 20);
    EXPECT_EQ(Page()->WalkCount(), walks + 1);  // once, for where the thumb rests
    EXPECT_GT(Model()->rowCount(), 0);
    EXPECT_EQ(Page()->WalkCount(), walks + 1);
    bar->setSliderDown(false);
}

}  // namespace
}  // namespace kindrel::guitest
