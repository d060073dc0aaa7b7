// The window's page seam with pages that count what they are told: one table makes them,
// commands go to the page shown, every page hears of the collection and the highlighting,
// and refreshes within one turn of the event loop rebuild once.
#include "gui_test_support.h"

#include "app/ind_scroll.h"
#include "app/page_copy.h"
#include "app/pages/page_table.h"
#include "app/wait_dialog.h"
#include "containers/ui_hooks.h"
#include "highlight/hl_group.h"
#include "model/collection.h"
#include "services/options.h"

#include <QAction>
#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kindrel::guitest {
namespace {

class TCountingPage : public TViewPage {
  public:
    using TViewPage::TViewPage;

    void RefreshPage() override { ++refreshes; }
    void TabShown(int tab) override { lastTab = tab; }
    void ForgetCollection() override {
        ++forgets;
        // The collection still exists while the pages are told it goes.
        collectionAtForget = m_context.Collection();
    }
    void CollectionAttached() override {
        ++attaches;
        collectionAtAttach = m_context.Collection();
    }
    void HighlightChanged() override {
        ++highlightChanges;
        groupSeen = m_context.Highlighter();
    }
    bool CanPerform(PageCommand command) const override {
        return command == PageCommand::kCopy && canCopy;
    }
    bool Perform(PageCommand command) override {
        if (command == PageCommand::kCopy) ++copies;
        return true;
    }
    void SetCanCopy(bool on) {
        canCopy = on;
        Q_EMIT commandsChanged();
    }

    int refreshes = 0, forgets = 0, attaches = 0, highlightChanges = 0, copies = 0;
    int lastTab = -1;
    bool canCopy = false;
    WABSCollection* collectionAtForget = nullptr;
    WABSCollection* collectionAtAttach = nullptr;
    WHLGroup* groupSeen = nullptr;
};

TViewPage* MakeCounting(TViewContext& context, QWidget* parent) {
    return new TCountingPage(context, parent);
}

// Sender, General and a counting page for every other tab; List and Highlighted share one.
const std::vector<TPageEntry>& CountingTable() {
    static const std::vector<TPageEntry> table = [] {
        std::vector<TPageEntry> rows = {{"page0", {kTabSender}, MakeCounting},
                                        {"page1", {kTabGeneral}, MakeCounting}};
        rows.push_back({"page2", {kTabIndividual}, MakeCounting});
        rows.push_back({"page3", {kTabFamily, kTabPedigree, kTabDescendants}, MakeCounting});
        rows.push_back({"list", {kTabList, kTabHighlighted}, MakeCounting});
        rows.push_back({"rest", {kTabIslands, kTabSources}, MakeCounting});
        return rows;
    }();
    return table;
}

class PageSeamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        Options().WriteBool(Opt::DispInitHelp, false);
        TLogoAppForm::StartOptions start;
        start.selfViewFile = PackSample();
        start.pageTable = &CountingTable();
        m_window = OpenWindow(start);
        ASSERT_NE(m_window->Collection(), nullptr);
    }
    TCountingPage* Page(const char* name) const {
        return dynamic_cast<TCountingPage*>(m_window->PageNamed(name));
    }
    QAction* Action(const char* name) const {
        return m_window->findChild<QAction*>(QString::fromLatin1(name));
    }

    Recorder m_recorder;
    std::unique_ptr<TLogoAppForm> m_window;
};

TEST_F(PageSeamTest, PagesComeFromTheTableAndHearOfEveryCollection) {
    ASSERT_EQ(m_window->Pages().size(), 6u);
    EXPECT_EQ(m_window->PageForTab(kTabList), m_window->PageForTab(kTabHighlighted));
    EXPECT_EQ(m_window->PageForTab(kTabFamily), Page("page3"));
    for (TViewPage* page : m_window->Pages()) {
        auto* counting = dynamic_cast<TCountingPage*>(page);
        ASSERT_NE(counting, nullptr);
        EXPECT_EQ(counting->attaches, 1) << page->objectName().toStdString();
        EXPECT_EQ(counting->collectionAtAttach, m_window->Collection());
    }
    WABSCollection* before = m_window->Collection();
    m_window->Reload();
    ASSERT_NE(m_window->Collection(), nullptr);
    for (TViewPage* page : m_window->Pages()) {
        auto* counting = dynamic_cast<TCountingPage*>(page);
        // Told before the old collection was freed, not only the page shown.
        EXPECT_GE(counting->forgets, 1);
        EXPECT_EQ(counting->collectionAtForget, before);
        EXPECT_EQ(counting->attaches, 2);
    }
}

TEST_F(PageSeamTest, TheTabTellsThePageItsModeAndRefreshesCoalesce) {
    m_window->SelectTab(kTabHighlighted);
    TCountingPage* list = Page("list");
    EXPECT_EQ(list->lastTab, kTabHighlighted);
    m_window->SelectTab(kTabList);
    EXPECT_EQ(list->lastTab, kTabList);
    const int before = list->refreshes;
    m_window->JumpToIndividual(10);
    m_window->JumpToIndividual(11);
    m_window->JumpToIndividual(12);
    EXPECT_EQ(list->refreshes, before);  // nothing yet: one rebuild at the next turn
    QCoreApplication::processEvents();
    EXPECT_EQ(list->refreshes, before + 1);
    EXPECT_EQ(m_window->ActiveIndividual(), 12);
}

TEST_F(PageSeamTest, CopyIsRoutedToThePageShownAndFollowsItsAnswer) {
    m_window->SelectTab(kTabIndividual);
    TCountingPage* shown = Page("page2");
    TCountingPage* other = Page("page1");
    EXPECT_FALSE(Action("actCopy")->isEnabled());
    shown->SetCanCopy(true);
    EXPECT_TRUE(Action("actCopy")->isEnabled());
    other->SetCanCopy(true);
    Action("actCopy")->trigger();
    EXPECT_EQ(shown->copies, 1);
    EXPECT_EQ(other->copies, 0);
    m_window->SelectTab(kTabGeneral);
    Action("actCopy")->trigger();
    EXPECT_EQ(other->copies, 1);
    shown->SetCanCopy(false);
    other->SetCanCopy(false);
    EXPECT_FALSE(Action("actCopy")->isEnabled());
    EXPECT_FALSE(m_window->PerformPageCommand(PageCommand::kCopy));
}

TEST(ClipboardText, SlicesKeepEveryCharacterAndLeaveOutNuls) {
    // Over two slices of lines with two-byte characters, NULs here and there, no final line
    // break: the same text as one conversion, without the NULs.
    std::string text;
    for (int i = 0; text.size() < (size_t(5) << 19); ++i)
        text += "Dvo\xc5\x99\xc3\xa1k " + std::to_string(i) + (i % 997 == 0 ? std::string(1, '\0') : "") + "\n";
    text += "last \xc5\x99";
    std::string plain = text;
    std::erase(plain, '\0');
    ASSERT_LT(plain.size(), text.size());
    int pumps = 0;
    const auto pump = Hooks().pumpEvents;
    Hooks().pumpEvents = [&] { ++pumps; };
    QString clip;
    EXPECT_TRUE(ClipboardTextInSlices(text, clip));
    EXPECT_EQ(clip, QString::fromUtf8(plain.data(), static_cast<qsizetype>(plain.size())));
    EXPECT_GE(pumps, 2);
    // Cancelled between slices: nothing.
    Hooks().pumpEvents = [] { SetCancelRequested(true); };
    EXPECT_FALSE(ClipboardTextInSlices(text, clip));
    EXPECT_TRUE(clip.isEmpty());
    SetCancelRequested(false);
    Hooks().pumpEvents = pump;
}

TEST_F(PageSeamTest, HighlightConditionsReachEveryPageAndTheScrollBar) {
    EXPECT_EQ(m_window->Highlighter(), nullptr);
    EXPECT_FALSE(Action("actNextHighlighted")->isEnabled());
    EXPECT_FALSE(m_window->Scroll()->NextHighlightedButton()->isEnabled());
    ASSERT_TRUE(m_window->SetHighlightConditions("+17:F"));
    WHLGroup* group = m_window->Highlighter();
    ASSERT_NE(group, nullptr);
    for (TViewPage* page : m_window->Pages()) {
        auto* counting = dynamic_cast<TCountingPage*>(page);
        EXPECT_EQ(counting->highlightChanges, 1);
        EXPECT_EQ(counting->groupSeen, group);
    }
    EXPECT_TRUE(Action("actNextHighlighted")->isEnabled());
    EXPECT_TRUE(m_window->Scroll()->NextHighlightedButton()->isEnabled());

    // Ctrl+H walks the women in scroll order and stops at the end.
    WABSCollection& collection = *m_window->Collection();
    std::vector<int32_t> women;
    for (int32_t n = 1; n <= collection.IndividualCount(); ++n)
        if (collection.GetIndividual(n)->Sex() == 'F') women.push_back(n);
    ASSERT_GE(women.size(), 2u);
    m_window->JumpToIndividual(1);
    Action("actNextHighlighted")->trigger();
    const int32_t first = women.front() > 1 ? women.front() : women[1];
    EXPECT_EQ(m_window->ActiveIndividual(), first);
    // The label shows her in the highlight colours (yellow on black by default).
    EXPECT_TRUE(m_window->Scroll()->Label()->styleSheet().contains("#ffff00"));
    m_window->JumpToIndividual(women.back());
    EXPECT_FALSE(m_window->Scroll()->NextHighlighted());
    EXPECT_EQ(m_window->ActiveIndividual(), women.back());
    EXPECT_TRUE(FlashMessageShown());
    Action("actPreviousHighlighted")->trigger();
    EXPECT_EQ(m_window->ActiveIndividual(), women[women.size() - 2]);

    // A man is drawn silver; a condition string that does not parse is reported.
    int32_t man = 0;
    for (int32_t n = 1; n <= collection.IndividualCount() && !man; ++n)
        if (collection.GetIndividual(n)->Sex() == 'M') man = n;
    m_window->JumpToIndividual(man);
    EXPECT_TRUE(m_window->Scroll()->Label()->styleSheet().contains("#c0c0c0"));
    m_recorder.messages.clear();
    EXPECT_FALSE(m_window->SetHighlightConditions("abc"));
    EXPECT_EQ(m_recorder.messages.size(), 1u);
    EXPECT_EQ(TWaitDlg::Depth(), 0);
    // An empty string removes the group.
    EXPECT_TRUE(m_window->SetHighlightConditions(""));
    EXPECT_EQ(m_window->Highlighter(), nullptr);
    EXPECT_FALSE(Action("actNextHighlighted")->isEnabled());
}

// Only individuals 1 to 3 are in the view (as with an island in use).
class TFirstThree : public WViewRestriction {
  public:
    int32_t Count() override { return 3; }
    int32_t ToIndividual(int32_t i) override { return i >= 1 && i <= 3 ? i : 0; }
    int32_t ToView(int32_t individual) override {
        return individual >= 1 && individual <= 3 ? individual : 0;
    }
};

TEST_F(PageSeamTest, AJumpOutsideTheIslandInUseSaysWhy) {
    m_window->Collection()->SetViewRestriction(std::make_unique<TFirstThree>());
    m_window->Scroll()->AttachCollection(m_window->Collection());
    m_window->JumpToIndividual(2);
    ASSERT_EQ(m_window->ActiveIndividual(), 2);
    m_window->JumpToIndividual(10);
    EXPECT_EQ(m_window->ActiveIndividual(), 2);
    EXPECT_TRUE(FlashMessageShown());
}

}  // namespace
}  // namespace kindrel::guitest
