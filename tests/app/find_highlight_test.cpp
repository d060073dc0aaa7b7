// The highlighting panel and the find commands in the real window: conditions built by
// clicking, the group's answers and the strip, manual Apply, the editors' limits, the tool
// bar's find with Find Next / Previous, and a reload while the find box is in use.
#include "gui_test_support.h"

#include "app/date_buttons.h"
#include "app/dialogs/date_pick_dialog.h"
#include "app/dialogs/find_dialog.h"
#include "app/dialogs/quick_find_dialog.h"
#include "app/find_state.h"
#include "app/hl_gui_man.h"
#include "app/ind_scroll.h"
#include "app/left_panel.h"
#include "app/quick_help.h"
#include "app/main_commands.h"
#include "app/selection_button.h"
#include "app/wait_dialog.h"
#include "analysis/islands.h"

#include <QMenu>
#include "highlight/hl_catalogue.h"
#include "highlight/hl_group.h"
#include "model/collection.h"
#include "model/records.h"
#include "services/options.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace kindrel::guitest {
namespace {

const std::string kOddNames = std::string(KINDREL_TEST_DATA_DIR) + "/find/odd_names.ged";

int PositionOf(int code) {
    const std::vector<int>& codes = HLColManCodes();
    return static_cast<int>(std::find(codes.begin(), codes.end(), code) - codes.begin());
}

class FindHighlightTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        Options().WriteBool(Opt::DispInitHelp, false);
        Options().WriteBool(Opt::HLManual, false);
        Options().WriteBool(Opt::HLText, true);
        Options().WriteInt(Opt::QFind, 1);
    }
    void Open(const std::string& gedcom = {}) {
        m_window = gedcom.empty() ? OpenWindow(PackSample()) : OpenWindow(PackSample(), gedcom);
        ASSERT_TRUE(m_window);
        ASSERT_NE(m_window->Collection(), nullptr);
        m_panel = m_window->HighlightPanel();
        ASSERT_NE(m_panel, nullptr);
    }
    char SexOf(int32_t n) const {
        return m_window->Collection()->GetIndividual(n)->Sex();
    }
    QString Messages() const {
        QString all;
        for (const MessageRecord& m : m_recorder.messages) all += m.text + QLatin1Char('|');
        return all;
    }

    Recorder m_recorder;
    std::unique_ptr<TLogoAppForm> m_window;
    WHLGuiMan* m_panel = nullptr;
};

TEST_F(FindHighlightTest, ClickedConditionsHighlightAndTheStripDescribesThem) {
    Open();
    QAction* panelCommand = m_window->Commands()->highlightingPanel;
    ASSERT_TRUE(panelCommand->isEnabled());
    panelCommand->trigger();
    EXPECT_EQ(m_window->LeftPanel()->Page(), kPanelHighlighting);
    // The open routine leaves one row on "Select a Condition": nothing highlighted.
    EXPECT_EQ(m_panel->RowCount(), 1);
    EXPECT_EQ(m_window->Highlighter(), nullptr);
    EXPECT_TRUE(m_window->HighlightStrip()->isHidden());

    WHLGuiCond* row = m_panel->Row(0);
    row->ChooseEntry(PositionOf(17));  // "Sex Type"
    QTest::mouseClick(row->SignButton(), Qt::LeftButton);
    EXPECT_EQ(row->SignButton()->text(), QStringLiteral("-"));
    EXPECT_EQ(row->List()->currentText(), QString::fromStdString(HLLabel(17, true)));
    auto* sex = row->Editor()->findChild<QComboBox*>(QStringLiteral("sexList"));
    ASSERT_NE(sex, nullptr);
    sex->setCurrentIndex(1);  // Female
    EXPECT_EQ(m_panel->HLStrings(), "-17:F");

    WHLGroup* group = m_window->Highlighter();
    ASSERT_NE(group, nullptr);
    const int32_t count = m_window->Collection()->IndividualCount();
    for (int32_t n = 1; n <= count; ++n)
        EXPECT_EQ(group->IsHighlighted(n), SexOf(n) != 'F') << n;
    QLabel* strip = m_window->HighlightStrip();
    EXPECT_FALSE(strip->isHidden());
    EXPECT_EQ(strip->text(), QStringLiteral("Highlight Individuals: ") +
                                 QString::fromStdString(group->Describe()));
    EXPECT_EQ(strip->textFormat(), Qt::PlainText);

    // A second row joined by Or: "Has No Death Date" or not female.
    QTest::mouseClick(m_panel->AddButton(), Qt::LeftButton);
    EXPECT_EQ(m_panel->RowCount(), 2);
    EXPECT_EQ(strip->text(), QStringLiteral("Highlight Individuals: Please select a condition"));
    m_panel->Row(1)->ChooseEntry(PositionOf(6));
    QTest::mouseClick(m_panel->Separator(0)->Button(), Qt::LeftButton);
    EXPECT_EQ(m_panel->HLStrings(), "-17:F;O;+6");
    EXPECT_EQ(m_window->Highlighter()->Conditions().ConditionCount(), 2);

    // Ten rows at most; deleting past the first row says so.
    for (int i = 0; i < 9; ++i) m_panel->Add();
    EXPECT_EQ(m_panel->RowCount(), 10);
    EXPECT_FALSE(m_panel->AddButton()->isEnabled());
    while (m_panel->RowCount() > 0) m_panel->Delete();
    m_panel->Delete();
    EXPECT_TRUE(Messages().contains(QStringLiteral("Too many conditions.  Max = 10")));
    EXPECT_TRUE(Messages().contains(QStringLiteral("No more conditions.")));
    EXPECT_EQ(m_window->Highlighter(), nullptr);
    EXPECT_TRUE(strip->isHidden());
}

TEST_F(FindHighlightTest, ManualModeWaitsForARedApply) {
    Options().WriteBool(Opt::HLManual, true);
    Open();
    EXPECT_TRUE(m_panel->ApplyButton()->isVisibleTo(m_panel));
    EXPECT_FALSE(m_panel->ApplyButton()->isEnabled());
    m_panel->Row(0)->ChooseEntry(PositionOf(13));
    EXPECT_EQ(m_window->Highlighter(), nullptr);
    EXPECT_TRUE(m_panel->ApplyButton()->isEnabled());
    EXPECT_EQ(m_panel->ApplyButton()->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_EQ(m_window->HighlightStrip()->text(),
              QStringLiteral("Highlight Individuals: Please press the Apply button"));
    QTest::mouseClick(m_panel->ApplyButton(), Qt::LeftButton);
    ASSERT_NE(m_window->Highlighter(), nullptr);
    EXPECT_EQ(m_window->Highlighter()->Conditions().ConditionCode(0), 13);
    EXPECT_FALSE(m_panel->ApplyButton()->isEnabled());
    EXPECT_EQ(m_panel->ApplyButton()->palette().color(QPalette::ButtonText), QColor(Qt::black));
}

TEST_F(FindHighlightTest, IndividualEditorsStopAtTheEndsAndPickThroughQuickFind) {
    Open();
    WHLGuiCond* row = m_panel->Row(0);
    row->ChooseEntry(PositionOf(21));  // ancestors of an individual, with generations
    auto* editor = qobject_cast<WHLOptInd*>(row->Editor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->State().individual, 1);
    EXPECT_FALSE(editor->PreviousButton()->isEnabled());
    EXPECT_FALSE(editor->StepIndividual(-1));
    const int32_t count = m_window->Collection()->IndividualCount();
    for (int32_t i = 1; i < count; ++i) EXPECT_TRUE(editor->StepIndividual(1));
    EXPECT_EQ(editor->State().individual, count);
    EXPECT_FALSE(editor->StepIndividual(1));
    EXPECT_FALSE(editor->NextButton()->isEnabled());
    EXPECT_EQ(m_panel->HLStrings(), "+21:" + std::to_string(count) + "^0");

    // "#" opens Quick Find at the current number; its choice is taken.
    int opened = 0;
    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        auto* quick = qobject_cast<TdlgQuickFind*>(&dialog);
        if (!quick) return int(QDialog::Rejected);
        ++opened;
        EXPECT_EQ(quick->Selected(), count);
        quick->SetSelected(4);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(editor->FindButton(), Qt::LeftButton);
    WDialogRunner::SetTestHandler({});
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(m_panel->HLStrings(), "+21:4^0");
    editor->Generations()->setValue(3);
    EXPECT_EQ(m_panel->HLStrings(), "+21:4^3");
    EXPECT_EQ(m_window->Highlighter()->Conditions().ConditionParameter(0), "4^3");
}

TEST_F(FindHighlightTest, DateEditorTakesTheCalendarDialogsChoice) {
    Open();
    WHLGuiCond* row = m_panel->Row(0);
    const std::vector<int>& codes = HLColManCodes();
    int dateCode = 0;
    for (int code : codes)
        if (HLCatalogueEntryOf(code).editorKind == kHLEditorDate) {
            dateCode = code;
            break;
        }
    ASSERT_NE(dateCode, 0);
    row->ChooseEntry(PositionOf(dateCode));
    auto* editor = qobject_cast<WHLOptDate*>(row->Editor());
    ASSERT_NE(editor, nullptr);
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        auto* pick = qobject_cast<TdlgDatePick*>(&dialog);
        if (!pick) return int(QDialog::Rejected);
        pick->SetDate(15, 6, 1850);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(editor->CalendarButton(), Qt::LeftButton);
    WDialogRunner::SetTestHandler({});
    editor->Qualifier()->ChooseItem(2);
    EXPECT_EQ(m_panel->HLStrings(), "+" + std::to_string(dateCode) + ":BEF 15 JUN 1850");
    // The parts: right click makes the day unknown, the year steps down.
    WDateButtons* entry = editor->Entry();
    QTest::mouseClick(entry->Part(0), Qt::RightButton);
    QTest::mouseClick(entry->Part(2), Qt::LeftButton, {}, QPoint(5, entry->Part(2)->height() - 3));
    EXPECT_EQ(m_panel->HLStrings(), "+" + std::to_string(dateCode) + ":BEF JUN 1849");
    EXPECT_NE(m_window->Highlighter(), nullptr);
}

TEST_F(FindHighlightTest, ToolBarFindStepsThroughASurname) {
    Open();
    m_window->SetFindKind(WFindState::kSurname);
    QLineEdit* edit = m_window->FindEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->maxLength(), 40);
    edit->clear();
    QTest::keyClicks(edit, "harrow");
    WABSCollection* c = m_window->Collection();
    const auto surname = [&] {
        return c->GetIndividual(m_window->ActiveIndividual())->Name()->Surname();
    };
    EXPECT_EQ(surname(), "Harrowgate");
    EXPECT_EQ(edit->text(), QStringLiteral("harrow"));  // typing is not refilled
    QAction* next = m_window->Commands()->findNext;
    ASSERT_TRUE(next->isEnabled());
    const int32_t first = m_window->ActiveIndividual();
    std::vector<int32_t> seen{first};
    for (int i = 0; i < 40 && (seen.size() == 1 || seen.back() != first); ++i) {
        next->trigger();
        seen.push_back(m_window->ActiveIndividual());
        EXPECT_EQ(surname(), "Harrowgate");
    }
    EXPECT_EQ(seen.back(), first);  // wrapped to the first match
    EXPECT_GT(seen.size(), 5u);
    m_window->Commands()->findPrevious->trigger();
    EXPECT_EQ(m_window->ActiveIndividual(), seen[seen.size() - 2]);  // the last of the run

    // Moving elsewhere refills the box without searching.
    m_window->JumpToIndividual(1);
    EXPECT_EQ(edit->text(), QString::fromStdString(c->GetIndividual(1)->Name()->Surname()));
    EXPECT_EQ(m_window->ActiveIndividual(), 1);
    // Index kind: a number beyond the count moves nobody.
    m_window->SetFindKind(WFindState::kIndex);
    EXPECT_EQ(Options().ReadInt(Opt::QFind), 1);
    edit->setText(QStringLiteral("7"));
    EXPECT_EQ(m_window->ActiveIndividual(), 7);
    edit->setText(QStringLiteral("99999999999999"));
    EXPECT_EQ(m_window->ActiveIndividual(), 7);
}

// The first code of the panel's list whose editor is of the kind.
int FirstCodeOfKind(int kind) {
    for (int code : HLColManCodes())
        if (HLCatalogueEntryOf(code).editorKind == kind) return code;
    return 1;
}

TEST_F(FindHighlightTest, FileWithoutIndividualsSelectsNobody) {
    const std::string empty = TestDir() + "/empty.ged";
    std::ofstream(empty) << "0 HEAD\n1 CHAR UTF-8\n0 TRLR\n";
    Open(empty);
    ASSERT_EQ(m_window->Collection()->IndividualCount(), 0);
    TMainCommands* c = m_window->Commands();
    EXPECT_FALSE(c->quickFind->isEnabled());
    EXPECT_FALSE(c->advancedFind->isEnabled());
    EXPECT_FALSE(c->findNext->isEnabled());
    EXPECT_FALSE(c->findPrevious->isEnabled());
    for (int kind = WFindState::kIndex; kind <= WFindState::kGiven; ++kind) {
        m_window->SetFindKind(kind);
        m_window->FindEdit()->setText(QStringLiteral("1"));
        EXPECT_EQ(m_window->ActiveIndividual(), 0) << kind;
        EXPECT_FALSE(c->findNext->isEnabled()) << kind;
    }
    // Both individual editors select nobody; their buttons do nothing.
    WHLGuiCond* row = m_panel->Row(0);
    row->ChooseEntry(PositionOf(FirstCodeOfKind(kHLEditorIndividualGenerations)));
    auto* generations = qobject_cast<WHLOptInd*>(row->Editor());
    ASSERT_NE(generations, nullptr);
    EXPECT_EQ(generations->State().individual, 0);
    EXPECT_EQ(generations->NumberLabel()->text(), QStringLiteral("?"));
    EXPECT_EQ(generations->NumberLabel()->toolTip(), QStringLiteral("None Selected"));
    EXPECT_FALSE(generations->StepIndividual(1));
    EXPECT_FALSE(generations->NextButton()->isEnabled());
    EXPECT_FALSE(generations->FindButton()->isEnabled());
    int opened = 0;
    WDialogRunner::SetTestHandler([&](QDialog&) {
        ++opened;
        return int(QDialog::Rejected);
    });
    generations->FindButton()->click();
    EXPECT_EQ(opened, 0);
    row->ChooseEntry(PositionOf(FirstCodeOfKind(kHLEditorIndividual)));
    auto* plain = qobject_cast<WHLOptInd*>(row->Editor());
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->State().individual, 0);
    EXPECT_EQ(plain->NumberLabel()->text(), QStringLiteral("None Selected"));
    EXPECT_FALSE(plain->StepIndividual(-1));
    EXPECT_FALSE(plain->StepIndividual(1));
    WDialogRunner::SetTestHandler({});
    // Nobody is highlighted, and nothing was reported as broken.
    if (WHLGroup* group = m_window->Highlighter()) {
        EXPECT_FALSE(group->IsHighlighted(1));
    }
    EXPECT_TRUE(m_recorder.messages.empty()) << Messages().toStdString();
}

// Two families whose members alternate in the file: the island of 2, 4, 6 and 8 holds no
// individual whose number is its row.
std::string AlternatingFamilies() {
    const std::string file = TestDir() + "/alternating.ged";
    std::ofstream out(file);
    out << "0 HEAD\n1 CHAR UTF-8\n";
    const char* fams[] = {"", "F1", "F2", "F1", "F2", "", "", "", ""};
    for (int n = 1; n <= 8; ++n) {
        out << "0 @I" << n << "@ INDI\n1 NAME P" << n << " /" << (n % 2 ? "Odd" : "Even")
            << "/\n";
        if (n <= 4) out << "1 FAMS @" << fams[n] << "@\n";
        if (n == 5) out << "1 FAMC @F1@\n";
        if (n == 6 || n == 8) out << "1 FAMC @F2@\n";
    }
    out << "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n1 CHIL @I5@\n";
    out << "0 @F2@ FAM\n1 HUSB @I2@\n1 WIFE @I4@\n1 CHIL @I6@\n1 CHIL @I8@\n";
    out << "0 TRLR\n";
    return file;
}

TEST_F(FindHighlightTest, IslandInUseFindsByNumberAndEditorsReachEveryone) {
    Open(AlternatingFamilies());
    WABSCollection* c = m_window->Collection();
    ASSERT_EQ(c->IndividualCount(), 8);
    const int32_t position = WIslands::Of(*c).IslandOf(2);
    ASSERT_GT(position, 0);
    m_window->UseIslandInView(position);
    ASSERT_EQ(c->ViewCount(), 4);
    ASSERT_EQ(c->ViewToIndividual(3), 6);

    // The tool bar: "6" is individual 6 (the island's third row), not row 6.
    m_window->SetFindKind(WFindState::kIndex);
    m_window->FindEdit()->setText(QStringLiteral("6"));
    EXPECT_EQ(m_window->ActiveIndividual(), 6);
    m_window->Commands()->findNext->trigger();
    EXPECT_EQ(m_window->ActiveIndividual(), 8);
    m_window->Commands()->findNext->trigger();
    EXPECT_EQ(m_window->ActiveIndividual(), 6);  // wraps to the row found
    // Someone outside the island: the window says so and stays.
    m_window->FindEdit()->setText(QStringLiteral("3"));
    EXPECT_EQ(m_window->ActiveIndividual(), 6);
    m_window->JumpToIndividual(5);
    EXPECT_TRUE(FlashMessageShown());
    EXPECT_EQ(m_window->ActiveIndividual(), 6);

    // The advanced dialog's Index mode: the number is the individual's.
    {
        TWFindDlg find(m_window->FindOrders(), nullptr, c, m_window.get());
        find.SetMode(1);
        EXPECT_EQ(find.Model()->rowCount(), 4);
        find.Edit()->setText(QStringLiteral("4"));
        EXPECT_EQ(find.SelectedIndividual(), 4);
        find.Edit()->setText(QStringLiteral("6"));
        EXPECT_EQ(find.SelectedIndividual(), 6);
        EXPECT_EQ(find.Grid()->currentIndex().row(), 2);
        find.Edit()->setText(QStringLiteral("7"));  // outside: the selection stays
        EXPECT_EQ(find.SelectedIndividual(), 6);
    }

    // The individual editors step over every individual of the file, not the island's four.
    WHLGuiCond* row = m_panel->Row(0);
    row->ChooseEntry(PositionOf(FirstCodeOfKind(kHLEditorIndividual)));
    auto* editor = qobject_cast<WHLOptInd*>(row->Editor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->State().individual, 1);
    std::vector<int32_t> seen{editor->State().individual};
    while (editor->StepIndividual(1)) seen.push_back(editor->State().individual);
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(editor->NumberLabel()->text(),
              QStringLiteral("8 - ") + QString::fromStdString(c->DisplayNameOf(8)));
    while (editor->StepIndividual(-1)) {
    }
    EXPECT_EQ(editor->State().individual, 1);
    m_window->UseIslandInView(0);
    EXPECT_EQ(c->ViewCount(), 8);
}

TEST_F(FindHighlightTest, OddFileRefSearchAndPlainNames) {
    Open(kOddNames);
    m_window->SetFindKind(WFindState::kRef);
    EXPECT_EQ(m_window->FindKindBox()->currentText(), QStringLiteral("Find REF:"));
    m_window->FindEdit()->setText(QStringLiteral("P12"));
    EXPECT_EQ(m_window->ActiveIndividual(), 5);
    m_window->FindEdit()->setText(QStringLiteral("3"));  // "@P3@" reads "3" as its REF
    EXPECT_EQ(m_window->ActiveIndividual(), 3);
    // The individual editors show names as plain text.
    m_panel->Row(0)->ChooseEntry(PositionOf(
        [] {
            for (int code : HLColManCodes())
                if (HLCatalogueEntryOf(code).editorKind == kHLEditorIndividual) return code;
            return 1;
        }()));
    auto* editor = qobject_cast<WHLOptInd*>(m_panel->Row(0)->Editor());
    ASSERT_NE(editor, nullptr);
    editor->StepIndividual(2);
    EXPECT_EQ(editor->NumberLabel()->textFormat(), Qt::PlainText);
    EXPECT_TRUE(editor->NumberLabel()->text().contains(QStringLiteral("<b>Bold")))
        << editor->NumberLabel()->text().toStdString();
    // The text-match box (it replaces the individual editor above) refuses ":" and ";", which would break the condition string.
    m_panel->Row(0)->ChooseEntry(PositionOf(29));
    auto* text = qobject_cast<WHLOptString*>(m_panel->Row(0)->Editor());
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(text->TextBox(), "a:b;c");
    EXPECT_EQ(text->TextBox()->text(), QStringLiteral("abc"));
    EXPECT_EQ(m_panel->HLStrings(), "+29:1abc");
    EXPECT_NE(m_window->Highlighter(), nullptr);
}

TEST_F(FindHighlightTest, SpouseListsKeepNamesWithSeparatorsAndAmpersands) {
    Open(kOddNames);
    m_window->JumpToIndividual(2);  // Tom & Jerry, married to Anna;Maria, two children
    WSelectionButton* button = m_window->Scroll()->SpouseButton();
    button->ShowMenu();
    button->Menu()->hide();
    ASSERT_EQ(button->TagCount(), 3);
    EXPECT_TRUE(button->ItemText(1).contains(QStringLiteral("Anna;Maria")));
    EXPECT_TRUE(button->ItemText(3).contains(QStringLiteral("- ")));  // the child named "-"
    // The menu shows "&" as written, not as a shortcut mark.
    m_window->JumpToIndividual(1);
    button->ShowMenu();
    button->Menu()->hide();
    EXPECT_TRUE(button->ItemText(1).contains(QStringLiteral("Tom & Jerry")));
    EXPECT_TRUE(button->Menu()->actions().front()->text().contains(QStringLiteral("Tom && Jerry")));
    // Choosing the last child goes to that child, not to a shifted item.
    button->ChooseItem(3);
    EXPECT_EQ(m_window->ActiveIndividual(), 4);
}

TEST_F(FindHighlightTest, ReloadWhileTheFindBoxIsInUse) {
    Open();
    m_window->SetFindKind(WFindState::kGiven);
    QTest::keyClicks(m_window->FindEdit(), "Ann");
    m_window->Commands()->findNext->trigger();
    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));
    m_window->Reload();
    ASSERT_NE(m_window->Collection(), nullptr);
    EXPECT_EQ(m_window->FindState()->FirstRow(), 0);
    // The orders, the panel's context and the group belong to the new collection.
    EXPECT_EQ(m_window->FindOrders()->Collection(), m_window->Collection());
    EXPECT_EQ(m_window->Highlighter(), nullptr);
    m_panel->Row(0)->ChooseEntry(PositionOf(FirstCodeOfKind(kHLEditorIndividual)));
    auto* editor = qobject_cast<WHLOptInd*>(m_panel->Row(0)->Editor());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->StepIndividual(1));
    EXPECT_EQ(editor->NumberLabel()->text(),
              QStringLiteral("2 - ") +
                  QString::fromStdString(m_window->Collection()->DisplayNameOf(2)));
    QTest::keyClicks(m_window->FindEdit(), "a");
    m_window->Commands()->findNext->trigger();
    EXPECT_GT(m_window->ActiveIndividual(), 0);
    EXPECT_EQ(m_panel->RowCount(), 1);
}

}  // namespace
}  // namespace kindrel::guitest
