// The Individual page in the real window, offscreen: the rows of sample people read back from
// its model, their colours under a highlight condition, jumps by double click, Enter and the
// context menu, the memos following the selection, the check boxes, raw mode, the empty page,
// the quick help, and a reader error caught at the page.
#include "gui_test_support.h"

#include "app/ind_scroll.h"
#include "app/pages/event_row_model.h"
#include "app/pages/individual_page.h"
#include "app/pages/person_table.h"
#include "app/person_colours.h"
#include "app/qt_colours.h"
#include "containers/errors.h"
#include "model/collection.h"
#include "services/options.h"
#include "tests/model/fake_collection.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kindrel::guitest {
namespace {

const QColor kYellow = ToQColor(65535);

class IndividualPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        Options().WriteBool(Opt::DispInitHelp, false);
        Options().WriteBool(Opt::Chrono, false);
        Options().WriteBool(Opt::UseLDS, false);
    }
    void Open(const std::string& gedcom = {}) {
        m_window = gedcom.empty() ? OpenWindow(PackSample()) : OpenWindow(PackSample(), gedcom);
        ASSERT_TRUE(m_window);
        m_page = qobject_cast<TIndividualPage*>(m_window->PageNamed("individualPage"));
        ASSERT_TRUE(m_page);
        m_window->SelectTab(kTabIndividual);
    }
    void Show(int32_t n) {
        m_window->JumpToIndividual(n);
        m_window->FlushPendingRefresh();
    }
    // The model's text of a row and column.
    QString Cell(int row, int column) const {
        return m_page->Model()->index(row, column).data().toString();
    }
    // The first row whose type is type, or -1.
    int RowOf(const QString& type) const {
        for (int r = 0; r < m_page->Model()->rowCount(); ++r)
            if (Cell(r, WEventRowModel::kType) == type) return r;
        return -1;
    }
    QColor Background(int row) const {
        return m_page->Model()
            ->index(row, WEventRowModel::kInformation)
            .data(Qt::BackgroundRole)
            .value<QColor>();
    }
    // The centre of a row's Type cell, scrolled into view.
    QPoint RowCentre(int row) const {
        const QModelIndex index = m_page->Model()->index(row, WEventRowModel::kType);
        m_page->Grid()->scrollTo(index);
        return m_page->Grid()->visualRect(index).center();
    }

    Recorder m_recorder;
    std::unique_ptr<TLogoAppForm> m_window;
    TIndividualPage* m_page = nullptr;
};

TEST_F(IndividualPageTest, ShowsTheRowsOfTheActiveIndividualAndFollowsTheSelection) {
    Open();
    Show(4);
    QAbstractItemModelTester tester(m_page->Model());
    EXPECT_EQ(m_page->SexText(), "M");
    EXPECT_EQ(m_page->ModifiedText(), "3 FEB 2023");
    EXPECT_EQ(m_page->NotesCaption(), "Notes");
    // The grid shows the rows the builder makes, column by column.
    const std::vector<WEventRow> rows =
        BuildEventRows(*m_window->Collection(), 4, false, nullptr, {false, false});
    ASSERT_EQ(m_page->Model()->rowCount(), static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const WEventRow& row = rows[static_cast<size_t>(r)];
        for (const auto& [column, text] : {std::pair{WEventRowModel::kType, row.type},
                                           {WEventRowModel::kDate, row.date},
                                           {WEventRowModel::kInformation, row.information},
                                           {WEventRowModel::kAge, row.age}})
            EXPECT_EQ(Cell(r, column).toStdString(), text) << "row " << r;
    }
    EXPECT_EQ(Cell(0, WEventRowModel::kInformation), "4 / 1J7Q-LM9 / H-004");
    // Row 1 is selected: the individual's own notes; the birth has a note and a source.
    EXPECT_EQ(m_page->SelectedRow(), 0);
    EXPECT_TRUE(m_page->NotesText().startsWith("William was married three times."));
    EXPECT_EQ(Cell(2, WEventRowModel::kNotes), "N");
    EXPECT_EQ(Cell(2, WEventRowModel::kSources), "S");
    QTest::mouseClick(m_page->Grid()->viewport(), Qt::LeftButton, {}, RowCentre(2));
    EXPECT_EQ(m_page->SelectedRow(), 2);
    EXPECT_EQ(m_page->NotesText(),
              "Born in the week of the great storm, according to his sister Prudence.");
    EXPECT_TRUE(m_page->SourcesText().startsWith("1) Baptisms 1821, entry 112"));

    // The selection stays on its row for the next individual, and goes to row 1 past the end.
    Show(3);
    EXPECT_EQ(m_page->SelectedRow(), 2);
    EXPECT_EQ(m_page->NotesText(), "");
    Show(4);
    const int last = m_page->Model()->rowCount() - 1;
    m_page->Grid()->setCurrentIndex(m_page->Model()->index(last, 2));
    Show(3);
    ASSERT_LT(m_page->Model()->rowCount(), last + 1);
    EXPECT_EQ(m_page->SelectedRow(), 0);
    EXPECT_EQ(m_page->Grid()->currentIndex().row(), 0);
}

TEST_F(IndividualPageTest, PeopleAreDrawnInTheirHighlightColours) {
    Open();
    Show(4);
    const int father = RowOf("Father");
    const int mother = RowOf("Mother");
    ASSERT_GE(father, 0);
    ASSERT_GE(mother, 0);
    EXPECT_EQ(Background(mother), QColor(Qt::white));
    QAbstractItemModelTester tester(m_page->Model());
    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));
    EXPECT_EQ(Background(mother), kYellow);
    EXPECT_EQ(Background(father), QColor(Qt::white));
    EXPECT_EQ(Background(1), QColor(Qt::white));  // William himself
    EXPECT_EQ(Background(2), QColor(Qt::white));  // an event, never highlighted
    // A daughter's row reads in her colours too.
    Show(3);
    EXPECT_EQ(Background(1), kYellow);
}

TEST_F(IndividualPageTest, DoubleClickEnterAndContextMenuJump) {
    Open();
    Show(4);
    const int father = RowOf("Father");
    // A real double click: press and release, then the double-click event.
    const QPoint at = RowCentre(father);
    QTest::mouseClick(m_page->Grid()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(m_page->Grid()->viewport(), Qt::LeftButton, {}, at);
    m_window->FlushPendingRefresh();
    EXPECT_EQ(m_window->ActiveIndividual(), 1);

    Show(4);
    const int mother = RowOf("Mother");
    m_page->Grid()->setCurrentIndex(m_page->Model()->index(mother, 2));
    QTest::keyClick(m_page->Grid(), Qt::Key_Return);
    m_window->FlushPendingRefresh();
    EXPECT_EQ(m_window->ActiveIndividual(), 2);

    // An event row has no one to go to: Enter leaves the active individual.
    Show(4);
    m_page->Grid()->setCurrentIndex(m_page->Model()->index(2, 2));
    QTest::keyClick(m_page->Grid(), Qt::Key_Enter);
    m_window->FlushPendingRefresh();
    EXPECT_EQ(m_window->ActiveIndividual(), 4);

    QStringList texts;
    SetContextMenuTestHandler([&texts](QMenu& menu) {
        for (QAction* action : menu.actions()) texts << action->text();
        for (QAction* action : menu.actions())
            if (action->objectName() == "copyPerson") action->trigger();
        for (QAction* action : menu.actions())
            if (action->objectName() == "goToPerson") action->trigger();
    });
    const QPoint menuAt = RowCentre(RowOf("Father"));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, menuAt,
                                m_page->Grid()->viewport()->mapToGlobal(menuAt));
    QCoreApplication::sendEvent(m_page->Grid()->viewport(), &menuEvent);
    SetContextMenuTestHandler({});
    m_window->FlushPendingRefresh();
    EXPECT_EQ(texts, QStringList({"Go to Ambrose /Harrowgate/ [1]", "Copy"}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Father\t1791\tAmbrose /Harrowgate/ [1], (b. 1791, Ashcombe, Wendle, England), "
              "(d. 17 FEB 1860, Ashcombe, Wendle, England)\t-~29");
    EXPECT_EQ(m_window->ActiveIndividual(), 1);
}

TEST_F(IndividualPageTest, CheckBoxesAndRawMode) {
    Open();
    Show(4);
    auto* chrono = m_page->findChild<QCheckBox*>("chronologicalCheck");
    auto* tmg = m_page->findChild<QCheckBox*>("tmgSentenceCheck");
    ASSERT_TRUE(chrono && tmg);
    EXPECT_TRUE(chrono->isEnabled());
    EXPECT_FALSE(chrono->isChecked());
    EXPECT_FALSE(tmg->isVisible());  // only for collection kind 5
    EXPECT_GE(RowOf("Marriage 1 (2)"), 0);
    chrono->click();
    EXPECT_TRUE(Options().ReadBool(Opt::Chrono));
    EXPECT_EQ(RowOf("Marriage 1 (2)"), -1);
    EXPECT_GE(RowOf("Marriage"), 0);
    EXPECT_EQ(RowOf("Death"), m_page->Model()->rowCount() - 2);  // then the burial
    chrono->click();
    EXPECT_FALSE(Options().ReadBool(Opt::Chrono));

    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));
    m_window->SetRawMode(true);
    Show(2);
    EXPECT_TRUE(m_page->ShowsRaw());
    EXPECT_TRUE(m_page->RawText().startsWith("0 @I2@ INDI\n1 NAME Mercy /Quill/\n"));
    auto* raw = m_page->findChild<QWidget*>("rawRecord");
    EXPECT_EQ(raw->palette().color(QPalette::Base), kYellow);
    Show(1);
    EXPECT_EQ(raw->palette().color(QPalette::Base), QColor(Qt::white));
    m_window->SetRawMode(false);
    EXPECT_FALSE(m_page->ShowsRaw());
    EXPECT_EQ(Cell(1, WEventRowModel::kInformation), "Ambrose /Harrowgate/");
}

TEST_F(IndividualPageTest, NamesAreShownAsPlainText) {
    Open(std::string(KINDREL_TEST_DATA_DIR) + "/views/views.ged");
    Show(7);
    EXPECT_EQ(Cell(1, WEventRowModel::kInformation), "<img src=x> <b>Bold /Semi;Colon/");
    const QString tip =
        m_page->Model()->index(1, WEventRowModel::kInformation).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains("&lt;img") && tip.contains("&lt;b&gt;Bold")) << tip.toStdString();
}

TEST_F(IndividualPageTest, FileWithoutIndividualsLeavesThePageEmptyAndOff) {
    const std::string empty = TestDir() + "/empty.ged";
    std::ofstream(empty) << "0 HEAD\n1 CHAR UTF-8\n0 TRLR\n";
    Open(empty);
    EXPECT_EQ(m_page->Model()->Rows().size(), 0u);
    EXPECT_EQ(m_page->Model()->rowCount(), 1);  // the one empty body row
    EXPECT_FALSE(m_page->findChild<QCheckBox*>("chronologicalCheck")->isEnabled());
    EXPECT_EQ(m_page->SexText(), "");
    EXPECT_TRUE(m_recorder.messages.empty());
}

TEST_F(IndividualPageTest, QuickHelpThreeAppearsTheFirstTimeTheTabIsShown) {
    Open();
    m_window->SelectTab(kTabSender);
    Options().WriteBool(Opt::DispInitHelp, true);
    Options().WriteBool(Opt::IH3, true);
    const int before = m_recorder.dialogs;
    m_window->SelectTab(kTabIndividual);
    EXPECT_EQ(m_recorder.dialogs, before + 1);
    EXPECT_FALSE(Options().ReadBool(Opt::IH3));
    m_window->SelectTab(kTabSender);
    m_window->SelectTab(kTabIndividual);
    EXPECT_EQ(m_recorder.dialogs, before + 1);
}

// A collection whose families cannot be read.
class BrokenCollection : public fake::FakeCollection {
  public:
    std::unique_ptr<WABSMarriage> GetMarriage(int32_t n) override {
        throw KindrelError("Error getting pointer to Marriage " + std::to_string(n));
    }
};

// A collection of The Master Genealogist's kind.
class TmgCollection : public fake::FakeCollection {
  public:
    TmgCollection() { m_kind = kKindTmg; }
};

// A window stand-in over a collection in memory showing its first individual.
class FakeContext : public TViewContext {
  public:
    explicit FakeContext(fake::FakeCollection& tree) : m_tree(tree) {
        const int32_t a = tree.AddPerson("Ann", "Fake", 'F');
        const int32_t b = tree.AddPerson("Bo", "Fake", 'M');
        tree.AddFamily(b, a, {}, "1900", "");
    }
    WABSCollection* Collection() const override { return &m_tree; }
    int32_t ActiveIndividual() const override { return 1; }
    void JumpToIndividual(int32_t) override {}
    bool RawMode() const override { return false; }
    const FileStatistics* Statistics() const override { return nullptr; }
    WHLGroup* Highlighter() const override { return nullptr; }
    WListColumns* ColumnSet(ColumnSetKind) const override { return nullptr; }
    bool IsWindowBusy() const override { return false; }
    bool ScrollThumbDragged() const override { return false; }
    bool FlashText(const QString&) override { return true; }
    int CurrentFamilyIndex() const override { return 1; }
    void SetCurrentFamilyIndex(int) override {}

  private:
    fake::FakeCollection& m_tree;
};

TEST_F(IndividualPageTest, TmgSentenceNamesTheNotesBoxForItsKindOnly) {
    TmgCollection tree;
    FakeContext context(tree);
    TIndividualPage page(context);
    Options().WriteBool(Opt::TMGTagSent, true);
    page.RefreshPage();
    auto* tmg = page.findChild<QCheckBox*>("tmgSentenceCheck");
    EXPECT_FALSE(tmg->isHidden());
    EXPECT_TRUE(tmg->isChecked());
    EXPECT_EQ(page.NotesCaption(), "Notes / Construction Sentence");
    tmg->click();
    EXPECT_FALSE(Options().ReadBool(Opt::TMGTagSent));
    EXPECT_EQ(page.NotesCaption(), "Notes");
    EXPECT_EQ(page.Model()->index(0, WEventRowModel::kType).data().toString(),
              "RIN / AFN / Custom");
}

TEST_F(IndividualPageTest, AReaderErrorIsShownOnceAndEmptiesThePage) {
    BrokenCollection tree;
    FakeContext context(tree);
    TIndividualPage page(context);
    page.RefreshPage();
    ASSERT_EQ(m_recorder.messages.size(), 1u);
    EXPECT_EQ(m_recorder.messages[0].text, "Error getting pointer to Marriage 1");
    EXPECT_EQ(page.Model()->Rows().size(), 0u);
    EXPECT_EQ(page.SexText(), "");
}

}  // namespace
}  // namespace kindrel::guitest
