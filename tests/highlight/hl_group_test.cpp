// The highlighter engine: answer states, negation, the group's combination of rules, its
// limits and messages, descriptions, colours and the highlighted-individuals iterator.
#include "highlight/hl_group.h"
#include "analysis/attrib.h"
#include "analysis/collection_iterator.h"
#include "containers/errors.h"
#include "containers/ui_hooks.h"
#include "fake_collection.h"
#include "highlight/hl_catalogue.h"
#include "highlight/hl_rules.h"
#include "hl_test_util.h"
#include "services/options.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kindrel {
namespace {

using fake::FakeCollection;
using hltest::Complement;
using hltest::Described;
using hltest::Marked;
using hltest::Numbers;

// John SMITH (M), Ann (no surname, F), an unnamed person (U), Mary JONES (F).
class GroupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        john = tree.AddPerson("John", "SMITH", 'M');
        ann = tree.AddPerson("Ann", "", 'F');
        unnamed = tree.AddUnnamedPerson('U');
        mary = tree.AddPerson("Mary", "JONES", 'F');
    }

    FakeCollection tree;
    int32_t john = 0;
    int32_t ann = 0;
    int32_t unnamed = 0;
    int32_t mary = 0;
};

// Collects the warnings shown while it lives.
class WarningCatcher {
  public:
    WarningCatcher() {
        Hooks().warning = [this](const std::string& message) { messages.push_back(message); };
    }
    ~WarningCatcher() { Hooks().warning = nullptr; }
    std::vector<std::string> messages;
};

TEST_F(GroupTest, EmptyConditionStringHighlightsNobody) {
    WHLGroup group(&tree);
    EXPECT_EQ(group.SetConditions(""), 0);
    group.Recalculate();
    EXPECT_EQ(group.RuleCount(), 0);
    for (int32_t n = 1; n <= 4; ++n) EXPECT_FALSE(group.IsHighlighted(n));
    EXPECT_EQ(group.Describe(), "");
    // A fresh group, before any conditions, highlights nobody either.
    WHLGroup fresh(&tree);
    EXPECT_FALSE(fresh.IsHighlighted(1));
}

TEST_F(GroupTest, PlainAndNegatedConditionsMarkComplementarySets) {
    EXPECT_EQ(Marked(tree, "+13"), (Numbers{ann, unnamed}));
    EXPECT_EQ(Marked(tree, "-13"), (Numbers{john, mary}));
    EXPECT_EQ(Marked(tree, "+13:"), Marked(tree, "+13"));
    EXPECT_EQ(Described(tree, "+13:"), "without a surname");
    EXPECT_EQ(Described(tree, "-13"), "with a surname");
}

TEST_F(GroupTest, AndOrCombinationFollowsTheAccumulatedAnswer) {
    // For John: A = male (true), B = female (false), C = has a surname (true).
    // A AND B OR C: the failed AND makes everything false, whatever C says.
    EXPECT_EQ(Marked(tree, "+17:M;A;+17:F;O;-13"), Numbers{});
    // A OR B AND C means (A OR B) AND C: John, and Mary (female with a surname); Ann is
    // female without a surname.
    EXPECT_EQ(Marked(tree, "+17:M;O;+17:F;A;-13"), (Numbers{john, mary}));
    // A AND B OR C holds only when A and B both hold: Ann is female without a surname.
    EXPECT_EQ(Marked(tree, "+17:F;A;+13;O;+17:U"), (Numbers{ann}));
    EXPECT_EQ(Described(tree, "+17:F;A;+13;O;+17:U"),
              "female AND without a surname OR with unknown sex type");
}

TEST_F(GroupTest, UnknownOperatorReadsOr) {
    EXPECT_EQ(Marked(tree, "+17:M;X;+13:"), (Numbers{john, ann, unnamed}));
    EXPECT_EQ(Described(tree, "+17:M;X;+13:"), "male OR without a surname");
    EXPECT_EQ(Described(tree, "+17:M;A;-13"), "male AND with a surname");
}

TEST_F(GroupTest, FailedAndStopsAskingLaterRules) {
    WHLGroup group(&tree);
    group.SetConditions("+17:F;A;+13;O;+14");
    group.Recalculate();
    EXPECT_FALSE(group.IsHighlighted(john));
    // John failed the first AND: the third rule was never asked about him.
    EXPECT_EQ(group.Rule(1)->State(john), kHLFalse);
    EXPECT_EQ(group.Rule(2)->State(john), kHLUnknown);
}

TEST_F(GroupTest, AskingTwiceEvaluatesOnce) {
    WHLGroup group(&tree);
    group.SetConditions("+13;O;+14");
    group.Recalculate();
    const int64_t before = tree.individualRequests;
    EXPECT_TRUE(group.IsHighlighted(ann));
    const int64_t afterFirst = tree.individualRequests;
    EXPECT_GT(afterFirst, before);
    EXPECT_TRUE(group.IsHighlighted(ann));
    EXPECT_TRUE(group.IsTrue(ann));
    EXPECT_EQ(group.BackgroundColour(ann), WABSHighLighter::kDefaultHighlightColour);
    EXPECT_EQ(tree.individualRequests, afterFirst);
}

TEST_F(GroupTest, RecalculateComputesAnswersAfresh) {
    tree.SetBirth(john, "1990");
    WHLGroup group(&tree);
    group.SetConditions("+65");
    group.Recalculate();
    EXPECT_TRUE(group.IsHighlighted(john));
    tree.SetDeath(john, "2020");
    EXPECT_TRUE(group.IsHighlighted(john));  // the answer is kept until recalculated
    group.Recalculate();
    EXPECT_FALSE(group.IsHighlighted(john));
}

TEST_F(GroupTest, OutOfRangeIndividualsAreNotHighlighted) {
    WHLGroup group(&tree);
    group.SetConditions("-13");
    group.Recalculate();
    EXPECT_FALSE(group.IsHighlighted(0));
    EXPECT_FALSE(group.IsHighlighted(-1));
    EXPECT_FALSE(group.IsHighlighted(5));
    EXPECT_FALSE(group.IsTrue(5));
    group.SetResult(0, true);
    group.SetResult(-3, true);
    EXPECT_EQ(group.State(0), kHLUnknown);
    EXPECT_EQ(group.BackgroundColour(99), WABSHighLighter::kWhite);
}

TEST_F(GroupTest, NegationInvertsOnlyIsHighlighted) {
    auto rule = CreateHLRule(&tree, 13);
    ASSERT_TRUE(rule);
    rule->Recalculate();
    rule->SetNegated(true);
    EXPECT_TRUE(rule->IsHighlighted(john));
    EXPECT_FALSE(rule->IsTrue(john));
    EXPECT_FALSE(rule->IsHighlighted(ann));
    EXPECT_TRUE(rule->IsTrue(ann));
    rule->FillResults(kHLUnknown);
    EXPECT_EQ(rule->State(ann), kHLUnknown);
    rule->SetResult(ann, false);
    EXPECT_EQ(rule->State(ann), kHLFalse);
}

TEST_F(GroupTest, EleventhRuleIsRefusedWithTheMessage) {
    WarningCatcher warnings;
    std::string text = "+17:M";
    for (int i = 2; i <= 12; ++i) text += ";O;+14";
    WHLGroup group(&tree);
    EXPECT_EQ(group.SetConditions(text), 2);
    EXPECT_EQ(group.RuleCount(), 10);
    ASSERT_EQ(warnings.messages.size(), 2u);
    EXPECT_EQ(warnings.messages[0], "Error: Too many high lighting options");
    group.Recalculate();
    EXPECT_TRUE(group.IsHighlighted(john));  // the rules already built stay in force
    EXPECT_TRUE(group.IsHighlighted(unnamed));
    EXPECT_EQ(group.AddRule(false, 13, ""), WHLGroup::AddResult::kRefused);
    EXPECT_EQ(warnings.messages.size(), 3u);
}

TEST_F(GroupTest, ConditionsWithoutRuleAreSkippedAndFlagsFollowPositions) {
    WHLGroup group(&tree);
    // Code 1 and 150 make no rule; the remaining rules take positions 0 and 1, joined by the
    // flag of position 0 (OR here), not by the flag after their own conditions (AND).
    group.SetConditions("+17:M;O;+1;A;+150:x;A;+13");
    ASSERT_EQ(group.RuleCount(), 2);
    group.Recalculate();
    EXPECT_EQ(group.Describe(), "male OR without a surname");
    EXPECT_TRUE(group.IsHighlighted(john));
    EXPECT_TRUE(group.IsHighlighted(ann));
    EXPECT_FALSE(group.IsHighlighted(mary));
    EXPECT_EQ(group.AddRule(false, 1, ""), WHLGroup::AddResult::kNoRule);
    EXPECT_EQ(group.AddRule(false, 0, ""), WHLGroup::AddResult::kNoRule);
    EXPECT_EQ(group.AddRule(true, 101, ""), WHLGroup::AddResult::kNoRule);
}

TEST_F(GroupTest, StringThatDoesNotParseLeavesTheGroupAsItWas) {
    WHLGroup group(&tree);
    group.SetConditions("+17:F");
    group.Recalculate();
    EXPECT_THROW(group.SetConditions("+17:M;A;seventeen"), KindrelError);
    EXPECT_EQ(group.RuleCount(), 1);
    EXPECT_TRUE(group.IsHighlighted(mary));
    std::string huge = "+13";
    for (int i = 1; i < 10000; ++i) huge += ";A;+13";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(group.SetConditions(huge), KindrelError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(group.RuleCount(), 1);
    EXPECT_EQ(group.Describe(), "female");
}

TEST_F(GroupTest, ClearRulesLeavesNoRules) {
    WHLGroup group(&tree);
    group.SetConditions("+13;O;+14");
    group.ClearRules();
    group.Recalculate();
    EXPECT_EQ(group.RuleCount(), 0);
    EXPECT_FALSE(group.IsHighlighted(ann));
    EXPECT_EQ(group.Rule(0), nullptr);
}

TEST_F(GroupTest, StrictParameterErrorsReachTheCallerOfRecalculate) {
    for (const char* text :
         {"+23:abc", "+23:", "+60:x", "+61:1.5", "+62:3a", "+63:-", "+95:", "+96:ten", "+21:15",
          "+21:abc^2", "+22:3^x", "+39:xyz", "+40:", "+41:ABT", "-42:BEF sometime"}) {
        SCOPED_TRACE(text);
        WHLGroup group(&tree);
        group.SetConditions(text);
        EXPECT_THROW(group.Recalculate(), KindrelError);
        // The rule whose parameter could not be read answers false meanwhile.
        EXPECT_FALSE(group.Rule(0)->IsTrue(john));
    }
    // Only the rule with the bad parameter is affected; the others were prepared.
    WHLGroup group(&tree);
    group.SetConditions("+23:abc;O;+17:F");
    try {
        group.Recalculate();
        FAIL() << "no error";
    } catch (const KindrelError& e) {
        EXPECT_NE(std::string(e.what()).find("\"abc\""), std::string::npos) << e.what();
    }
    EXPECT_TRUE(group.IsHighlighted(mary));
    EXPECT_FALSE(group.IsHighlighted(john));
}

TEST_F(GroupTest, ColoursComeFromTheSettings) {
    WHLGroup group(&tree);
    group.SetConditions("+17:F");
    group.Recalculate();
    EXPECT_EQ(group.HighlightColour(), 65535u);
    EXPECT_EQ(group.HighlightTextColour(), 0u);
    EXPECT_EQ(group.BackgroundColour(mary), 65535u);
    EXPECT_EQ(group.TextColour(mary), 0u);
    EXPECT_EQ(group.BackgroundColour(john), 16777215u);
    EXPECT_EQ(group.TextColour(john), 0u);

    const std::filesystem::path ini =
        std::filesystem::temp_directory_path() / "kindrel_hl_colours_test.ini";
    {
        std::ofstream out(ini);
        out << "[General]\nHLCol=255\nHLTCol=16711680\n";
    }
    WOptions options(ini.string());
    group.SetOptions(&options);
    group.SetNormalBackground(12632256);
    EXPECT_EQ(group.HighlightColour(), 255u);
    EXPECT_EQ(group.HighlightTextColour(), 16711680u);
    EXPECT_EQ(group.BackgroundColour(mary), 255u);
    EXPECT_EQ(group.TextColour(mary), 16711680u);
    EXPECT_EQ(group.BackgroundColour(john), 12632256u);
    EXPECT_EQ(group.TextColour(john), 0u);
    std::filesystem::remove(ini);
}

TEST_F(GroupTest, GroupWithoutCollectionAnswersNothing) {
    WHLGroup group(nullptr);
    group.SetConditions("+13;O;+21:1^0;O;+62:1;O;+95:1");
    group.Recalculate();
    EXPECT_EQ(group.Count(), 0);
    EXPECT_FALSE(group.IsHighlighted(1));
}

TEST_F(GroupTest, HighlightIteratorListsTheMarkedInViewOrderAndSorts) {
    WHLGroup group(&tree);
    group.SetConditions("+17:F;O;+17:U");
    group.Recalculate();
    std::unique_ptr<WColHLIterator> iterator = CreateHLIterator("", &group, &tree);
    ASSERT_EQ(iterator->Count(), 3);
    EXPECT_EQ(iterator->NumberAt(1), ann);
    EXPECT_EQ(iterator->NumberAt(2), unnamed);
    EXPECT_EQ(iterator->NumberAt(3), mary);
    std::unique_ptr<WAttrib> given = CreateAttrib(5, &tree);  // given names
    iterator->SortBy(given.get(), true);
    EXPECT_EQ(iterator->NumberAt(1), unnamed);  // empty given names first
    EXPECT_EQ(iterator->NumberAt(2), ann);
    EXPECT_EQ(iterator->NumberAt(3), mary);
    iterator->SortBy(given.get(), true);
    EXPECT_EQ(iterator->NumberAt(1), mary);
    // Without a group the list is empty.
    EXPECT_EQ(CreateHLIterator("", nullptr, &tree)->Count(), 0);
}

TEST_F(GroupTest, HighlightIteratorPumpsEventsWhileBuilding) {
    FakeCollection big;
    for (int i = 0; i < 1000; ++i) big.AddPerson("P", i % 2 ? "" : "X", 'M');
    WHLGroup group(&big);
    group.SetConditions("+13");
    group.Recalculate();
    int pumps = 0;
    Hooks().pumpEvents = [&pumps] { ++pumps; };
    const std::unique_ptr<WColHLIterator> iterator = CreateHLIterator("", &group, &big);
    Hooks().pumpEvents = nullptr;
    EXPECT_EQ(iterator->Count(), 500);
    EXPECT_EQ(pumps, 4);
}

TEST(HLCatalogueTest, HoldsOneHundredEntriesWithTheirEditors) {
    EXPECT_EQ(HLCatalogueText(1), "Select a Condition:Select a Condition:0:");
    EXPECT_EQ(HLCatalogueText(17), "Sex Type:Is Not of Sex Type:1:1");
    EXPECT_EQ(HLCatalogueText(0), "");
    EXPECT_EQ(HLCatalogueText(101), "");
    const HLCatalogueEntry ancestors = HLCatalogueEntryOf(21);
    EXPECT_EQ(ancestors.label, "Ancestors of");
    EXPECT_EQ(ancestors.negatedLabel, "Not an Ancestor of");
    EXPECT_EQ(ancestors.editorCount, 1);
    EXPECT_EQ(ancestors.editorKind, kHLEditorIndividualGenerations);
    EXPECT_EQ(HLCatalogueEntryOf(90).editorKind, kHLEditorLDSSealedToSpouse);
    EXPECT_EQ(HLCatalogueEntryOf(57).editorKind, kHLEditorSoundex);
    EXPECT_EQ(HLCatalogueEntryOf(2).editorCount, 0);
    EXPECT_EQ(HLCatalogueEntryOf(2).editorKind, kHLEditorNone);
    EXPECT_EQ(HLLabel(51, false), "# Decendants");
    EXPECT_EQ(HLLabel(66, true), "Has no Sources");
    EXPECT_EQ(HLLabel(35, true), "Has no LDS Events");
    EXPECT_EQ(HLLabel(100, false), "Has Marriage Note");
    EXPECT_EQ(HLLabel(0, false), "");
    int withEditor = 0;
    for (int code = kHLFirstCode; code <= kHLLastCode; ++code) {
        const HLCatalogueEntry entry = HLCatalogueEntryOf(code);
        EXPECT_FALSE(entry.label.empty()) << code;
        EXPECT_FALSE(entry.negatedLabel.empty()) << code;
        EXPECT_EQ(entry.editorCount == 1, entry.editorKind != kHLEditorNone) << code;
        EXPECT_LE(entry.editorKind, kHLEditorLDSSealedToSpouse) << code;
        withEditor += entry.editorCount;
    }
    EXPECT_EQ(withEditor, 47);
}

TEST(HLCatalogueTest, EveryRuleCodeMakesARuleThatEvaluates) {
    FakeCollection tree;
    const int32_t a = tree.AddPerson("A", "B", 'M');
    tree.AddFamily(a, 0, {tree.AddPerson("C", "B", 'F')});
    EXPECT_EQ(CreateHLRule(&tree, 1), nullptr);
    EXPECT_EQ(CreateHLRule(&tree, 0), nullptr);
    EXPECT_EQ(CreateHLRule(&tree, 101), nullptr);
    // A parameter every kind can read.
    const auto parameterOf = [](int kind) -> std::string {
        switch (kind) {
            case kHLEditorIndividualGenerations:
                return "1^0";
            case kHLEditorIndividual:
                return "1";
            case kHLEditorDate:
                return "1850";
            default:
                return "1B";
        }
    };
    for (int code = 2; code <= kHLLastCode; ++code) {
        SCOPED_TRACE(code);
        std::unique_ptr<WABSHLInd> rule = CreateHLRule(&tree, code);
        ASSERT_NE(rule, nullptr);
        EXPECT_EQ(rule->Code(), code);
        rule->SetParameter(parameterOf(HLCatalogueEntryOf(code).editorKind));
        rule->Recalculate();
        for (int32_t n = 1; n <= 2; ++n) {
            rule->IsHighlighted(n);
            EXPECT_NE(rule->State(n), kHLUnknown);
        }
        (void)rule->Describe();
    }
}

}  // namespace
}  // namespace kindrel
