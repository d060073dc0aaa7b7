// Rules about relatives: ancestors and descendants (21, 22), blood relations (23), spouses
// and children (36 to 38), counts (44 to 51, 78), surnames against relatives (53 to 56),
// parents, spouses, siblings and children of a reference (60 to 64), and the longest lines
// (95, 96).
#include "containers/errors.h"
#include "fake_collection.h"
#include "hl_test_util.h"
#include "model/date.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using fake::FakeCollection;
using hltest::Described;
using hltest::ExpectRule;
using hltest::Marked;
using hltest::Numbers;

// Four generations: 1 Adam + 2 Eve -> 3 Cain; 3 + 4 Ada -> 5 Enoch, 6 Irad; 5 + 0 -> 7 Jared;
// 8 Seth is unrelated, 9 Zillah marries Jared.
class LineageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.AddPerson("Adam", "EDEN", 'M');
        tree.AddPerson("Eve", "EDEN", 'F');
        tree.AddPerson("Cain", "EDEN", 'M');
        tree.AddPerson("Ada", "NOD", 'F');
        tree.AddPerson("Enoch", "EDEN", 'M');
        tree.AddPerson("Irad", "EDEN", 'M');
        tree.AddPerson("Jared", "EDEN", 'M');
        tree.AddPerson("Seth", "WEST", 'M');
        tree.AddPerson("Zillah", "EAST", 'F');
        tree.AddFamily(1, 2, {3});
        tree.AddFamily(3, 4, {5, 6});
        tree.AddFamily(5, 0, {7});
        tree.AddFamily(7, 9, {});
    }
    FakeCollection tree;
};

TEST_F(LineageTest, AncestorsWithinGenerations) {
    ExpectRule(tree, 21, "7^1", {5}, "Ancestors of Jared /EDEN/ (1 generations)",
               "Not Ancestors of Jared /EDEN/ (1 generations)");
    ExpectRule(tree, 21, "7^2", {3, 4, 5}, "Ancestors of Jared /EDEN/ (2 generations)",
               "Not Ancestors of Jared /EDEN/ (2 generations)");
    ExpectRule(tree, 21, "7^0", {1, 2, 3, 4, 5}, "Ancestors of Jared /EDEN/",
               "Not Ancestors of Jared /EDEN/");
    // The parents of 5 exactly, and never 5 itself.
    EXPECT_EQ(Marked(tree, "+21:5^1"), (Numbers{3, 4}));
    EXPECT_EQ(Marked(tree, "+21:1^0"), Numbers{});
    // Empty parts take their defaults: individual 1, no limit.
    EXPECT_EQ(Marked(tree, "+21:^1"), Numbers{});
    EXPECT_EQ(Marked(tree, "+21:7^"), Marked(tree, "+21:7^0"));
}

TEST_F(LineageTest, DescendantsWithinGenerations) {
    ExpectRule(tree, 22, "1^2", {3, 5, 6}, "Descendants of Adam /EDEN/ (2 generations)",
               "Not descendants of Adam /EDEN/ (2 generations)");
    ExpectRule(tree, 22, "1^0", {3, 5, 6, 7}, "Descendants of Adam /EDEN/",
               "Not descendants of Adam /EDEN/");
    EXPECT_EQ(Marked(tree, "+22:4^1"), (Numbers{5, 6}));
}

TEST_F(LineageTest, MissingReferenceMarksNobodyAndDescribesNothing) {
    for (const char* text : {"+21:", "+21:99^0", "+21:0^0", "+21:-4^1", "+22:", "+22:10^2"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Marked(tree, text), Numbers{});
        EXPECT_EQ(Described(tree, text), "");
    }
    // Negated, a rule that marks nobody marks everybody.
    EXPECT_EQ(Marked(tree, "-21:99^0").size(), 9u);
    EXPECT_EQ(Marked(tree, "+23:99"), Numbers{});
    EXPECT_EQ(Described(tree, "+23:0"), "");
    EXPECT_EQ(Marked(tree, "+60:42"), Numbers{});
    EXPECT_EQ(Described(tree, "+62:42"), "");
    EXPECT_EQ(Marked(tree, "+95:42"), Numbers{});
    EXPECT_EQ(Described(tree, "-96:0"), "");
}

TEST_F(LineageTest, BadIndividualOrGenerationIsAnError) {
    for (const char* text : {"+21:7", "+21:x^1", "+21:7^many", "+22:1^2^3", "+22:1.5^2"}) {
        SCOPED_TRACE(text);
        WHLGroup group(&tree);
        group.SetConditions(text);
        EXPECT_THROW(group.Recalculate(), KindrelError);
        EXPECT_FALSE(group.IsHighlighted(5));
    }
}

TEST_F(LineageTest, RelatedByBlood) {
    // Cain's relatives share an ancestor with him (or are him); spouses without blood do not.
    ExpectRule(tree, 23, "3", {1, 2, 3, 5, 6, 7}, "related to Cain /EDEN/",
               "not related to Cain /EDEN/");
    ExpectRule(tree, 23, "4", {4, 5, 6, 7}, "related to Ada /NOD/", "not related to Ada /NOD/");
}

// The reference 10 has parents 11 and 12, and 12 is also 11's parent; 12's parent is 13.
// Walking depth first, 12 is reached first through 11 (two generations up) and is not walked
// again when reached as a parent: 13 stays outside a limit of two generations.
TEST(AncestorWalkTest, IndividualReachedAlongALongerLineIsNotWalkedAgain) {
    FakeCollection tree;
    for (int i = 1; i <= 13; ++i) tree.AddPerson("P" + std::to_string(i), "X", 'U');
    tree.AddFamily(11, 12, {10});
    tree.AddFamily(12, 0, {11});
    tree.AddFamily(13, 0, {12});
    EXPECT_EQ(Marked(tree, "+21:10^2"), (Numbers{11, 12}));
    EXPECT_EQ(Marked(tree, "+21:10^3"), (Numbers{11, 12, 13}));
    EXPECT_EQ(Marked(tree, "+21:10^0"), (Numbers{11, 12, 13}));
    // The same for descendants: 1 has children 2 and 3, and 3 is also 2's child; 3's child
    // 4 stays outside two generations.
    FakeCollection down;
    for (int i = 1; i <= 4; ++i) down.AddPerson("D" + std::to_string(i), "Y", 'U');
    down.AddFamily(1, 0, {2, 3});
    down.AddFamily(2, 0, {3});
    down.AddFamily(3, 0, {4});
    EXPECT_EQ(Marked(down, "+22:1^2"), (Numbers{2, 3}));
    EXPECT_EQ(Marked(down, "+22:1^0"), (Numbers{2, 3, 4}));
}

TEST(AncestorWalkTest, OwnAncestorLoopEnds) {
    FakeCollection tree;
    for (int i = 1; i <= 3; ++i) tree.AddPerson("L" + std::to_string(i), "LOOP", 'M');
    tree.AddFamily(2, 0, {1});
    tree.AddFamily(3, 0, {2});
    tree.AddFamily(1, 0, {3});  // 1 is its own great-grandparent
    EXPECT_EQ(Marked(tree, "+21:1^0"), (Numbers{2, 3}));
    EXPECT_EQ(Marked(tree, "+22:1^0"), (Numbers{2, 3}));
    EXPECT_EQ(Marked(tree, "+95:1"), (Numbers{1, 2, 3}));
    EXPECT_EQ(Marked(tree, "+96:1"), (Numbers{1, 2, 3}));
}

// 1 + 2 -> 3, 4; 1 + 5 -> 6 (half-sibling through the father); 3 is also the adopted child of
// 7 + 8, with their child 9; 10 has no family at all.
class RelativesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 1; i <= 10; ++i) tree.AddPerson("P" + std::to_string(i), "KIN", 'U');
        tree.AddFamily(1, 2, {3, 4});
        tree.AddFamily(1, 5, {6});
        tree.AddFamily(7, 8, {9});
        tree.AddChild(3, 3);
    }
    FakeCollection tree;
};

TEST_F(RelativesTest, ParentSpouseSiblingChildAndUnlinked) {
    ExpectRule(tree, 60, "1", {3, 4, 6}, "where parent is P1 /KIN/",
               "where parent is not P1 /KIN/");
    ExpectRule(tree, 61, "1", {2, 5}, "where spouse is P1 /KIN/", "where spouse is not P1 /KIN/");
    // Siblings: children of every parent family of 3 (4, and 9 of the adoptive family), not 3
    // itself and not 6 of the father's other family.
    ExpectRule(tree, 62, "3", {4, 9}, "where sibling is P3 /KIN/", "where sibling is not P3 /KIN/");
    ExpectRule(tree, 63, "3", {1, 2, 7, 8}, "where child is P3 /KIN/",
               "where child is not P3 /KIN/");
    ExpectRule(tree, 64, "", {10}, "who are unlinked", "who are linked");
    // An empty parameter names nobody: the plain form marks nobody, the negated everybody.
    EXPECT_EQ(Marked(tree, "+60"), Numbers{});
    EXPECT_EQ(Marked(tree, "-60").size(), 10u);
    EXPECT_EQ(Described(tree, "+60"), "");
}

TEST_F(RelativesTest, CountsOverFamilies) {
    // 1 has two marriages and three children (two sons), 3 has two parent families.
    tree.Person(3).sex = 'M';
    tree.Person(4).sex = 'F';
    tree.Person(6).sex = 'M';
    ExpectRule(tree, 45, "12", {1}, "with # marriages = 2", "with # marriages <> 2");
    ExpectRule(tree, 46, "54", {3}, "with # parents >= 4", "with # parents < 4");
    ExpectRule(tree, 47, "43", {}, "with # children > 3", "with # children <= 3");
    ExpectRule(tree, 47, "53", {1}, "with # children >= 3", "with # children < 3");
    ExpectRule(tree, 48, "12", {1}, "with # sons = 2", "with # sons <> 2");
    ExpectRule(tree, 49, "51", {1, 2}, "with # daughters >= 1", "with # daughters < 1");
    ExpectRule(tree, 50, "54", {3}, "with # ancestors >= 4", "with # ancestors < 4");
    ExpectRule(tree, 51, "42", {1}, "with # descendants > 2", "with # descendants <= 2");
    ExpectRule(tree, 78, "10", {1, 2, 5, 7, 8, 10}, "with # families = 0", "with # families <> 0");
    ExpectRule(tree, 78, "41", {3}, "with # families > 1", "with # families <= 1");
    ExpectRule(tree, 78, "22", {1, 2, 4, 5, 6, 7, 8, 9, 10}, "with # families < 2",
               "with # families >= 2");
    // A value that is not a number, or another comparison digit, marks nobody.
    EXPECT_EQ(Marked(tree, "+45:1x"), Numbers{});
    EXPECT_EQ(Marked(tree, "+45:"), Numbers{});
    EXPECT_EQ(Marked(tree, "+45:62"), Numbers{});
    EXPECT_EQ(Described(tree, "+45:62"), "with # marriages2");
}

TEST(CountRulesTest, SixOrMoreChildrenOverAllFamilies) {
    FakeCollection tree;
    const int32_t father = tree.AddPerson("Jacob", "ISRAEL", 'M');
    const int32_t leah = tree.AddPerson("Leah", "LABAN", 'F');
    const int32_t rachel = tree.AddPerson("Rachel", "LABAN", 'F');
    std::vector<int32_t> first;
    for (int i = 0; i < 4; ++i) first.push_back(tree.AddPerson("L" + std::to_string(i), "I", 'M'));
    std::vector<int32_t> second;
    for (int i = 0; i < 2; ++i) second.push_back(tree.AddPerson("R" + std::to_string(i), "I", 'M'));
    tree.AddFamily(father, leah, first);
    tree.AddFamily(father, rachel, second);
    const int32_t other = tree.AddPerson("Isaac", "ISRAEL", 'M');
    std::vector<int32_t> five;
    for (int i = 0; i < 5; ++i) five.push_back(tree.AddPerson("F" + std::to_string(i), "I", 'F'));
    tree.AddFamily(other, 0, five);
    ExpectRule(tree, 47, "45", {father}, "with # children > 5", "with # children <= 5");
}

TEST(CountRulesTest, Age) {
    WDate::SetTodayProvider([] { return WCalendarDay{1, 6, 2025}; });
    FakeCollection tree;
    tree.AddPerson("Old", "A", 'M');
    tree.SetBirth(1, "1900");
    tree.SetDeath(1, "1950");
    tree.AddPerson("Young", "A", 'F');
    tree.SetBirth(2, "1990");
    tree.AddPerson("Unknown", "A", 'U');
    ExpectRule(tree, 44, "440", {1}, "with age > 40", "with age <= 40");
    ExpectRule(tree, 44, "335", {2}, "with age <= 35", "with age > 35");
    // An age that cannot be computed answers false in both comparisons.
    EXPECT_EQ(Marked(tree, "+44:50"), (Numbers{1, 2}));
    WDate::SetTodayProvider(nullptr);
}

TEST(SpouseRulesTest, MarriedWithoutSpouseAndSpousesWithTheSameName) {
    FakeCollection tree;
    const int32_t alone = tree.AddPerson("Lone", "WOLF", 'M');
    const int32_t william = tree.AddPerson("William", "HILL", 'M');
    const int32_t anne1 = tree.AddPerson("Anne", "BROWN", 'F');
    const int32_t anne2 = tree.AddPerson("Anne", "Brown", 'F');
    const int32_t tom = tree.AddPerson("Tom", "HILL", 'M');
    const int32_t mary = tree.AddPerson("Mary", "X", 'F');
    const int32_t jane = tree.AddPerson("Jane", "Y", 'F');
    const int32_t ghost = tree.AddUnnamedPerson('U');
    const int32_t ghost2 = tree.AddUnnamedPerson('U');
    tree.AddFamily(alone, 0);
    tree.AddFamily(william, anne1);
    tree.AddFamily(william, anne2);
    tree.AddFamily(tom, mary);
    tree.AddFamily(tom, jane);
    tree.AddFamily(tom, ghost);
    tree.AddFamily(tom, ghost2);
    ExpectRule(tree, 36, "", {alone}, "married with no spouse entered",
               "married with spouse entered");
    // Names are compared upper-cased; two spouses without names are not alike.
    ExpectRule(tree, 37, "", {william}, "married with spouses with same names",
               "married with spouses with different names");
}

TEST(SpouseRulesTest, SameNamesBeyondOneHundredSpousesAreFound) {
    FakeCollection tree;
    const int32_t busy = tree.AddPerson("Busy", "BEE", 'M');
    for (int i = 1; i <= 150; ++i) {
        const std::string given = i == 150 ? "Spouse101" : "Spouse" + std::to_string(i);
        tree.AddFamily(busy, tree.AddPerson(given, "FLOWER", 'F'));
    }
    EXPECT_EQ(Marked(tree, "+37"), (Numbers{busy}));
}

TEST(ChildRulesTest, ChildrenWithTheSameNameMarkTheirOtherParents) {
    FakeCollection tree;
    const int32_t william = tree.AddPerson("William", "HILL", 'M');
    const int32_t anne = tree.AddPerson("Anne", "BROWN", 'F');
    const int32_t sarah = tree.AddPerson("Sarah", "WEST", 'F');
    const int32_t john1 = tree.AddPerson("John", "HILL", 'M');
    const int32_t clara = tree.AddPerson("Clara", "HILL", 'F');
    const int32_t john2 = tree.AddPerson("John", "HILL", 'M');
    const int32_t other = tree.AddPerson("Other", "ONE", 'M');
    const int32_t twinA = tree.AddUnnamedPerson('U');
    const int32_t twinB = tree.AddUnnamedPerson('U');
    tree.AddFamily(william, anne, {john1, clara});
    tree.AddFamily(william, sarah, {john2});
    tree.AddFamily(other, 0, {twinA, twinB});
    ExpectRule(tree, 38, "", {william, anne, sarah}, "with children having the same name",
               "with no children having the same name");
    // A parent who named two children alike is marked with the other parent of both.
    FakeCollection one;
    const int32_t p = one.AddPerson("Pa", "X", 'M');
    const int32_t m = one.AddPerson("Ma", "X", 'F');
    one.AddFamily(p, m, {one.AddPerson("Ann", "X", 'F'), one.AddPerson("ANN", "X", 'F')});
    EXPECT_EQ(Marked(one, "+38"), (Numbers{p, m}));
}

TEST(ChildRulesTest, SameNamesBeyondFiveHundredChildrenAreFound) {
    FakeCollection tree;
    const int32_t father = tree.AddPerson("Father", "MANY", 'M');
    const int32_t first = tree.AddPerson("Mother", "ONE", 'F');
    const int32_t second = tree.AddPerson("Mother", "TWO", 'F');
    std::vector<int32_t> children;
    for (int i = 1; i <= 550; ++i) children.push_back(tree.AddPerson("C" + std::to_string(i), "M"));
    tree.AddFamily(father, first, children);
    tree.AddFamily(father, second, {tree.AddPerson("C520", "M")});
    EXPECT_EQ(Marked(tree, "+38"), (Numbers{father, first, second}));
}

// 1 SMITH + 2 JONES -> 3 SMITH, 4 JONES, 5 BROWN, 6 no surname; 7 SMITH + 8 SMITH (a couple).
TEST(SurnameRulesTest, SurnamesAgainstParentsAndSpouses) {
    FakeCollection tree;
    tree.AddPerson("John", "SMITH", 'M');
    tree.AddPerson("Mary", "Jones", 'F');
    tree.AddPerson("Tom", "Smith", 'M');
    tree.AddPerson("Jane", "JONES", 'F');
    tree.AddPerson("Bob", "BROWN", 'M');
    tree.AddPerson("Nameless", "", 'U');
    tree.AddPerson("Ann", "SMITH", 'F');
    tree.AddPerson("Ted", "smith", 'M');
    tree.AddFamily(1, 2, {3, 4, 5, 6});
    tree.AddFamily(8, 7);
    ExpectRule(tree, 53, "", {4, 5}, "with surname different than father",
               "with surname not different than father");
    ExpectRule(tree, 54, "", {5}, "with surname different than parents",
               "with surname not different than parents");
    ExpectRule(tree, 55, "", {4}, "with surname same as mother", "with surname not same as mother");
    ExpectRule(tree, 56, "", {7, 8}, "with surname same as spouse",
               "with surname not same as spouse");
    // Without a known father, the mother alone decides.
    FakeCollection widow;
    widow.AddPerson("Eve", "ROSE", 'F');
    widow.AddPerson("Lily", "ROSE", 'F');
    widow.AddPerson("Max", "", 'M');
    widow.AddFamily(3, 1, {2});
    EXPECT_EQ(Marked(widow, "+55"), (Numbers{2}));
    EXPECT_EQ(Marked(widow, "+53"), Numbers{});
}

TEST(SurnameRulesTest, CoupleMatchIsNotUndoneByAnotherSpouse) {
    // Ann SMITH married Ted SMITH and later Bob BROWN. Asking Bob first must not clear Ann.
    FakeCollection tree;
    const int32_t bob = tree.AddPerson("Bob", "BROWN", 'M');
    const int32_t ann = tree.AddPerson("Ann", "SMITH", 'F');
    const int32_t ted = tree.AddPerson("Ted", "SMITH", 'M');
    tree.AddFamily(ted, ann);
    tree.AddFamily(bob, ann);
    WHLGroup group(&tree);
    group.SetConditions("+56");
    group.Recalculate();
    EXPECT_TRUE(group.IsHighlighted(ted));  // marks Ann
    EXPECT_FALSE(group.IsHighlighted(bob));
    EXPECT_TRUE(group.IsHighlighted(ann));
}

// The longest ancestor line: 1's parents 2 (one generation above) and 3 (two above); ties go to
// the father.
TEST(PathRulesTest, LongestAncestorAndDescendantLines) {
    FakeCollection tree;
    for (int i = 1; i <= 12; ++i) tree.AddPerson("P" + std::to_string(i), "LINE", 'U');
    tree.AddFamily(2, 3, {1});
    tree.AddFamily(4, 5, {2});
    tree.AddFamily(6, 0, {3});
    tree.AddFamily(7, 0, {6});
    ExpectRule(tree, 95, "1", {1, 3, 6, 7}, "Longest ancestor path of P1 /LINE/",
               "Not longest Ancestor path of P1 /LINE/");
    // From 2: parents 4 and 5 tie at no generations above; the father wins.
    EXPECT_EQ(Marked(tree, "+95:2"), (Numbers{2, 4}));
    // Descendants: 8 has children 9 (with child 10) and 11 (with child 12); 9 and 11 tie, so
    // the first child's line is taken.
    tree.AddFamily(8, 0, {9, 11});
    tree.AddFamily(9, 0, {10});
    tree.AddFamily(11, 0, {12});
    ExpectRule(tree, 96, "8", {8, 9, 10}, "Longest descendant path of P8 /LINE/",
               "Not longest descendant path of P8 /LINE/");
    EXPECT_EQ(Marked(tree, "+96:12"), (Numbers{12}));
}

}  // namespace
}  // namespace kindrel
