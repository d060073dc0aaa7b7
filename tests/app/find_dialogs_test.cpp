// The find dialogs and the date dialog over the sample family: Quick Find's keys and links,
// Find Individual's modes, searches and grid model, and the date dialog's steps, scale and
// parsing.
#include "gui_test_support.h"

#include "app/dialogs/date_pick_dialog.h"
#include "app/dialogs/find_dialog.h"
#include "app/dialogs/quick_find_dialog.h"
#include "app/find_state.h"
#include "app/main_commands.h"
#include "app/pages/ind_info_panel.h"
#include "app/pages/page_metrics.h"
#include "app/selection_button.h"
#include "model/collection.h"
#include "model/date.h"
#include "model/records.h"
#include "services/options.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace kindrel::guitest {
namespace {

WCalendarDay FixedToday() {
    return {9, 12, 2026};
}

class FindDialogsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        Options().WriteBool(Opt::DispInitHelp, false);
        Options().WriteBool(Opt::AutoSearch, true);
        Options().WriteInt(Opt::FindDlg, 3);
        m_window = OpenWindow(PackSample());
        ASSERT_TRUE(m_window);
        m_collection = m_window->Collection();
        ASSERT_NE(m_collection, nullptr);
    }
    TdlgQuickFind* MakeQuick() {
        m_quick = std::make_unique<TdlgQuickFind>(m_window->FindOrders(), nullptr, m_collection,
                                                  m_window.get());
        return m_quick.get();
    }
    TWFindDlg* MakeFind() {
        m_find = std::make_unique<TWFindDlg>(m_window->FindOrders(), nullptr, m_collection,
                                             m_window.get());
        return m_find.get();
    }

    Recorder m_recorder;
    std::unique_ptr<TLogoAppForm> m_window;
    WABSCollection* m_collection = nullptr;
    std::unique_ptr<TdlgQuickFind> m_quick;
    std::unique_ptr<TWFindDlg> m_find;
};

TEST_F(FindDialogsTest, QuickFindKeysAndLimits) {
    TdlgQuickFind* q = MakeQuick();
    const int32_t count = m_collection->IndividualCount();
    EXPECT_EQ(q->Count(), count);
    EXPECT_EQ(q->PageStep(), 1);  // 59 / 100, at least 1
    QLineEdit* edit = q->Edit();
    edit->clear();
    QTest::keyClicks(edit, "a1b");
    EXPECT_EQ(edit->text(), QStringLiteral("1"));  // letters are refused
    EXPECT_EQ(q->Selected(), 1);
    q->SetPageStep(5);
    q->SetSelected(3);
    QTest::keyClick(edit, Qt::Key_PageDown);  // 3 - 5 is below 1: ignored
    EXPECT_EQ(q->Selected(), 3);
    QTest::keyClick(edit, Qt::Key_PageUp);
    EXPECT_EQ(q->Selected(), 8);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(q->Selected(), 7);
    EXPECT_EQ(q->ScrollBar()->value(), 7);
    q->SetSelected(count);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(q->Selected(), count);  // held at the count
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(q->Selected(), 1);  // an empty box with Up selects 1
    // A number above the count turns everything but the edit box off.
    edit->clear();
    QTest::keyClicks(edit, "9999");
    EXPECT_FALSE(q->OkButton()->isEnabled());
    EXPECT_FALSE(q->ScrollBar()->isEnabled());
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_TRUE(q->OkButton()->isEnabled());
    EXPECT_EQ(q->Selected(), 9);
}

// A file of `count` unrelated individuals "Given<n> /Family<n % 10>/", written once per process.
std::string PeopleFile(int count) {
    const std::string file = TestDir() + "/people-" + std::to_string(count) + ".ged";
    std::ofstream out(file);
    out << "0 HEAD\n1 CHAR UTF-8\n";
    for (int n = 1; n <= count; ++n)
        out << "0 @I" << n << "@ INDI\n1 NAME Given" << n << " /Family" << n % 10 << "/\n";
    out << "0 TRLR\n";
    return file;
}

TEST(QuickFindLargeFile, KeysOnFiveHundredIndividuals) {
    GuiApp();
    Options().WriteBool(Opt::DispInitHelp, false);
    Recorder recorder;
    std::unique_ptr<TLogoAppForm> window = OpenWindow(PackSample(), PeopleFile(500));
    ASSERT_TRUE(window);
    ASSERT_EQ(window->Collection()->IndividualCount(), 500);
    TdlgQuickFind q(window->FindOrders(), nullptr, window->Collection(), window.get());
    EXPECT_EQ(q.PageStep(), 5);  // 500 / 100, from the count alone
    EXPECT_EQ(q.ScrollBar()->minimum(), 1);
    EXPECT_EQ(q.ScrollBar()->maximum(), 500);
    EXPECT_EQ(q.findChild<QLabel*>(QStringLiteral("countLabel"))->text(),
              QStringLiteral("Total Individuals: ") + QLocale().toString(500));
    QLineEdit* edit = q.Edit();
    const auto typed = [&](const char* keys) {
        edit->clear();
        QTest::keyClicks(edit, keys);
        return q.Selected();
    };
    // Letters are refused wherever they are typed; the digits around them are kept.
    EXPECT_EQ(typed("x3y"), 3);
    EXPECT_EQ(edit->text(), QStringLiteral("3"));
    EXPECT_EQ(q.Panel()->Tag(), 3);
    // Page Down from 3 with the step of 5 would go below 1: ignored.
    QTest::keyClick(edit, Qt::Key_PageDown);
    EXPECT_EQ(q.Selected(), 3);
    EXPECT_EQ(edit->text(), QStringLiteral("3"));
    QTest::keyClick(edit, Qt::Key_PageUp);
    QTest::keyClick(edit, Qt::Key_PageUp);
    EXPECT_EQ(q.Selected(), 13);
    EXPECT_EQ(q.ScrollBar()->value(), 13);
    QTest::keyClick(edit, Qt::Key_PageDown);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(q.Selected(), 9);
    EXPECT_EQ(q.findChild<QLabel*>(QStringLiteral("numberLabel"))->text(), QStringLiteral("9"));
    // Near the end Page Up stops at the count; Down from 1 is ignored.
    EXPECT_EQ(typed("498"), 498);
    QTest::keyClick(edit, Qt::Key_PageUp);
    EXPECT_EQ(q.Selected(), 500);
    EXPECT_EQ(typed("1"), 1);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(q.Selected(), 1);
    // An empty box: Page Up selects 1, Page Down does nothing.
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_PageDown);
    EXPECT_EQ(q.Selected(), 0);
    EXPECT_FALSE(q.OkButton()->isEnabled());
    QTest::keyClick(edit, Qt::Key_PageUp);
    EXPECT_EQ(q.Selected(), 1);
    // 501 is above the count: all but the edit box off, until corrected; 0 selects nobody.
    EXPECT_EQ(typed("501"), 0);
    EXPECT_FALSE(q.ScrollBar()->isEnabled());
    EXPECT_FALSE(q.AdvancedButton()->isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(q.Selected(), 50);
    EXPECT_TRUE(q.ScrollBar()->isEnabled());
    EXPECT_EQ(typed("0"), 0);
    EXPECT_FALSE(q.OkButton()->isEnabled());
    EXPECT_FALSE(q.FatherButton()->isEnabled());
    // A long run of digits neither overflows nor selects anyone.
    EXPECT_EQ(typed("99999999999999999999"), 0);
    EXPECT_EQ(edit->text().size(), 10);
    // The scroll bar selects too.
    q.ScrollBar()->setValue(250);
    EXPECT_EQ(q.Selected(), 250);
    EXPECT_EQ(edit->text(), QStringLiteral("250"));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(FindDialogsTest, QuickFindFollowsParentsAndSpouses) {
    TdlgQuickFind* q = MakeQuick();
    // Someone with a father, and someone with a family.
    int32_t child = 0, spouse = 0;
    for (int32_t n = 1; n <= m_collection->IndividualCount() && (!child || !spouse); ++n) {
        if (!child && m_collection->Father(n) > 0) child = n;
        if (!spouse && m_collection->GetIndividual(n)->SpouseFamilyCount() > 0) spouse = n;
    }
    ASSERT_GT(child, 0);
    ASSERT_GT(spouse, 0);
    q->SetSelected(child);
    ASSERT_TRUE(q->FatherButton()->isEnabled());
    QTest::mouseClick(q->FatherButton(), Qt::LeftButton);
    EXPECT_EQ(q->Selected(), m_collection->Father(child));
    EXPECT_EQ(q->Panel()->Tag(), q->Selected());

    q->SetSelected(spouse);
    ASSERT_TRUE(q->SpouseButton()->isEnabled());
    q->FillSpouseList();
    const QStringList items = q->SpouseButton()->Items();
    ASSERT_FALSE(items.isEmpty());
    EXPECT_TRUE(items.front().startsWith(QStringLiteral("Spouse: ")));
    const int32_t other = m_collection->SpouseIn(spouse, 1);
    ASSERT_TRUE(q->SpouseButton()->ChooseItem(1));
    if (other > 0) {
        EXPECT_EQ(q->Selected(), other);
    }
    EXPECT_EQ(q->SpouseButton()->text(), QStringLiteral("Spouse(s)"));  // no caption update

    // Advanced Find hands its choice back and closes Quick Find with OK.
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        auto* find = qobject_cast<TWFindDlg*>(&dialog);
        if (!find) return int(QDialog::Rejected);
        find->SetMode(1);
        find->Edit()->setText(QStringLiteral("5"));
        find->accept();
        return find->result();
    });
    QTest::mouseClick(q->AdvancedButton(), Qt::LeftButton);
    WDialogRunner::SetTestHandler({});
    EXPECT_EQ(q->Selected(), 5);
    EXPECT_EQ(q->result(), int(QDialog::Accepted));
}

TEST_F(FindDialogsTest, AdvancedFindModesSearchesAndGrid) {
    TWFindDlg* f = MakeFind();
    QAbstractItemModelTester tester(f->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    const int32_t count = m_collection->IndividualCount();
    EXPECT_EQ(f->Model()->rowCount(), count);
    EXPECT_EQ(f->Mode(), 3);
    EXPECT_EQ(f->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("RIN"));

    // Surname, Name: the best match, the edit text left as typed.
    f->Edit()->setText(QStringLiteral("Pike, W"));
    const int32_t walter = f->SelectedIndividual();
    ASSERT_GT(walter, 0);
    EXPECT_EQ(m_collection->GetIndividual(walter)->Name()->GivenNames(), "Walter");
    EXPECT_EQ(f->Edit()->text(), QStringLiteral("Pike, W"));
    const int row = f->Grid()->currentIndex().row();
    EXPECT_EQ(f->Model()->index(row, 2).data().toString(), QStringLiteral("Pike, Walter"));

    // Mode changes keep the selected individual and refill the box.
    f->SetMode(4);
    EXPECT_EQ(f->SelectedIndividual(), walter);
    EXPECT_EQ(f->Edit()->text(), QStringLiteral("Walter Pike"));
    EXPECT_EQ(Options().ReadInt(Opt::FindDlg), 4);
    f->SetMode(2);
    EXPECT_EQ(f->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("REF"));
    f->Edit()->setText(QStringLiteral("7"));
    EXPECT_EQ(f->SelectedIndividual(), m_collection->FindIndividual("I7"));
    f->SetMode(1);
    f->Edit()->setText(QStringLiteral("99999999999"));
    EXPECT_EQ(f->SelectedIndividual(), count);
    f->SetMode(5);
    EXPECT_EQ(f->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Custom ID"));

    // Up on the first data row stays there; Down moves one row.
    f->SetMode(1);
    f->SetStart(1);
    QTest::keyClick(f->Edit(), Qt::Key_Up);
    EXPECT_EQ(f->Grid()->currentIndex().row(), 0);
    QTest::keyClick(f->Edit(), Qt::Key_Down);
    EXPECT_EQ(f->SelectedIndividual(), 2);

    // The preview: "Marriages (n)" and the parents.
    f->SetStart(walter);
    EXPECT_EQ(f->SelectedPanel()->Tag(), walter);
    EXPECT_EQ(f->FatherPanel()->Tag(), m_collection->Father(walter));
    const int32_t families = m_collection->GetIndividual(walter)->SpouseFamilyCount();
    EXPECT_EQ(f->MarriagesLabel()->text(), QStringLiteral("Marriages (%1)").arg(families));
    // The grid's columns at 45, 60, 180 and 75 pixels of 96 dpi; rows at least GridHeight.
    const int widths[] = {45, 60, 180, 75};
    for (int c = 0; c < 3; ++c) EXPECT_EQ(f->Grid()->columnWidth(c), Scaled(f, widths[c])) << c;
    EXPECT_GE(f->Grid()->verticalHeader()->defaultSectionSize(),
              Scaled(f, Options().ReadInt(Opt::GridHeight)));
    EXPECT_EQ(f->Grid()->font().pointSize(), SettingFontSize());
    // Spouse lines at the left, each child indented with "+", year and name in columns.
    f->SetMode(3);
    f->Edit()->setText(QStringLiteral("Harrowgate, Walter"));
    const int32_t parent = f->SelectedIndividual();
    ASSERT_GT(m_collection->GetIndividual(parent)->SpouseFamilyCount(), 0);
    QListWidget* list = f->Marriages();
    ASSERT_GT(list->count(), 1);
    const MarriageColumns columns = MarriageColumnsFor(list);
    EXPECT_EQ(columns.indent, Scaled(list, 15));
    EXPECT_EQ(columns.year, Scaled(list, 25));
    EXPECT_EQ(columns.name, Scaled(list, 57));
    int spouses = 0, children = 0;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        const int32_t person = item->data(kMarriageIndividualRole).toInt();
        if (!item->data(kMarriageChildRole).toBool()) {
            ++spouses;
            EXPECT_TRUE(item->data(kMarriageNameRole).toString().startsWith("Spouse: "));
            continue;
        }
        ++children;
        ASSERT_GT(person, 0);
        EXPECT_EQ(item->data(kMarriagePlusRole).toBool(), m_collection->HasChildren(person));
        EXPECT_EQ(item->data(kMarriageNameRole).toString(),
                  QString::fromStdString(m_collection->GetIndividual(person)->FullName(false)));
        const int year = m_collection->GetIndividual(person)->EventYear(kEventBirth);
        EXPECT_EQ(item->data(kMarriageYearRole).toString(),
                  year ? QString::number(year) : QString());
    }
    EXPECT_EQ(spouses, m_collection->GetIndividual(parent)->SpouseFamilyCount());
    EXPECT_GT(children, 0);
    EXPECT_GE(list->sizeHintForRow(0), list->fontMetrics().height() + columns.extraHeight);
    // A double click on a child entry selects the child's row.
    for (int i = 0; i < list->count(); ++i) {
        if (!list->item(i)->data(kMarriageChildRole).toBool()) continue;
        const int32_t child = list->item(i)->data(kMarriageIndividualRole).toInt();
        Q_EMIT list->itemDoubleClicked(list->item(i));
        EXPECT_EQ(f->SelectedIndividual(), child);
        break;
    }
}

TEST_F(FindDialogsTest, AdvancedFindPendingSearchRunsOnOk) {
    Options().WriteBool(Opt::AutoSearch, false);
    TWFindDlg* f = MakeFind();
    EXPECT_TRUE(f->SearchButton()->isVisibleTo(f));
    EXPECT_FALSE(f->SearchButton()->isEnabled());
    f->SetMode(1);
    f->SetStart(1);
    f->Edit()->setText(QStringLiteral("12"));
    EXPECT_TRUE(f->SearchPending());
    EXPECT_EQ(f->SearchButton()->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_EQ(f->SelectedIndividual(), 1);
    f->accept();  // runs the search and stays open
    EXPECT_EQ(f->SelectedIndividual(), 12);
    EXPECT_EQ(f->Chosen(), 0);
    EXPECT_FALSE(f->SearchPending());
    f->accept();
    EXPECT_EQ(f->Chosen(), 12);
}

TEST_F(FindDialogsTest, WindowCommandsOpenTheDialogsAndJump) {
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        if (auto* q = qobject_cast<TdlgQuickFind*>(&dialog)) {
            q->SetSelected(9);
            return int(QDialog::Accepted);
        }
        if (auto* f = qobject_cast<TWFindDlg*>(&dialog)) {
            f->SetMode(1);
            f->SetStart(11);
            f->accept();
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(m_window->Commands()->quickFind->isEnabled());
    m_window->Commands()->quickFind->trigger();
    EXPECT_EQ(m_window->ActiveIndividual(), 9);
    m_window->Commands()->advancedFind->trigger();
    EXPECT_EQ(m_window->ActiveIndividual(), 11);
    WDialogRunner::SetTestHandler({});
}

// With KINDREL_SCREENSHOT_DIR set, the three dialogs are saved there as the documentation's
// pictures (quick-find.png, advanced-find.png, date-dialog.png).
TEST_F(FindDialogsTest, DocumentationPictures) {
    const QString dir = qEnvironmentVariable("KINDREL_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "KINDREL_SCREENSHOT_DIR is not set";
    const auto save = [&](QWidget& w, const char* name) {
        w.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.grab().save(dir + QLatin1Char('/') + QString::fromLatin1(name))) << name;
        w.hide();
    };
    TdlgQuickFind* q = MakeQuick();
    q->SetSelected(4);
    save(*q, "quick-find.png");
    // The grid and the marriages in the colours of a highlighting (women).
    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));
    TWFindDlg f(m_window->FindOrders(), m_window->Highlighter(), m_collection, m_window.get());
    f.SetMode(3);
    f.Edit()->setText(QStringLiteral("Harrowgate, W"));
    save(f, "advanced-find.png");
    TdlgDatePick d;
    d.SetDate(15, 6, 1850);
    save(d, "date-dialog.png");
}

TEST(DatePickTest, StepsScaleAndParsing) {
    GuiApp();
    WDate::SetTodayProvider(&FixedToday);
    Recorder recorder;
    TdlgDatePick d;
    EXPECT_EQ(d.Edit()->text(), QStringLiteral("9 DEC 2026"));
    EXPECT_EQ(d.Calendar()->selectedDate(), QDate(2026, 12, 9));
    EXPECT_EQ(d.Calendar()->minimumDate().year(), 1);
    EXPECT_EQ(d.ScaleLabel(0)->text(), QStringLiteral("1926"));
    EXPECT_EQ(d.ScaleLabel(4)->text(), QStringLiteral("2126"));

    // Previous Century at year 50 would leave year 1: refused.
    d.SetDate(1, 1, 50);
    EXPECT_FALSE(d.StepYears(-100));
    EXPECT_EQ(d.Year(), 50);
    d.findChild<QPushButton*>(QStringLiteral("nextCentury"))->click();
    EXPECT_EQ(d.Year(), 150);
    d.findChild<QPushButton*>(QStringLiteral("month2"))->click();
    EXPECT_EQ(d.Month(), 2);
    // Years stay in 1..9999: a step past either end is refused, a typed year too.
    d.SetDate(1, 1, 9950);
    EXPECT_FALSE(d.StepYears(100));
    EXPECT_EQ(d.Year(), 9950);
    d.Edit()->setText(QStringLiteral("1 JAN 10000"));
    EXPECT_FALSE(d.ParseEdit());
    EXPECT_EQ(d.Year(), 9950);

    // The scale: dragging moves the year, the end re-centres it.
    d.SetDate(3, 4, 1900);
    d.ScaleMoved(150);
    EXPECT_EQ(d.Year(), 1950);
    EXPECT_EQ(d.ScaleLabel(2)->text(), QStringLiteral("1900"));
    d.ScaleEnded();
    EXPECT_EQ(d.ScaleLabel(2)->text(), QStringLiteral("1950"));
    EXPECT_EQ(d.Scale()->value(), 100);

    // Parsing: a missing day is 1; a day past the month's end is refused on OK.
    d.Edit()->setText(QStringLiteral("JAN 1850"));
    EXPECT_TRUE(d.ParseEdit());
    EXPECT_EQ(d.Day(), 1);
    EXPECT_EQ(d.Month(), 1);
    EXPECT_EQ(d.Year(), 1850);
    d.Edit()->setText(QStringLiteral("31 FEB 1850"));
    d.accept();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, QString::fromUtf8(TdlgDatePick::kInvalidText));
    EXPECT_EQ(d.result(), 0);
    d.Edit()->setText(QStringLiteral("15 1850"));
    EXPECT_FALSE(d.ParseEdit());
    d.Edit()->setText(QStringLiteral("29 FEB 1852"));
    d.accept();
    EXPECT_EQ(d.result(), int(QDialog::Accepted));
    EXPECT_EQ(d.Day(), 29);
    WDate::SetTodayProvider(nullptr);
}

}  // namespace
}  // namespace kindrel::guitest
