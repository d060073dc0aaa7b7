// The descendant walk: record order and fields, the generation limit, duplicates with and
// without repetition, loops and bad input.
#include "analysis/des_iterator.h"
#include "containers/ui_hooks.h"
#include "fake_collection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kindrel {
namespace {

using fake::FakeCollection;

// A record as text "generation:individual/spouse k of n" with " dup" for duplicates.
std::string Text(const WDesRecord& r) {
    std::string text = std::to_string(r.generation) + ":" + std::to_string(r.individual);
    if (r.duplicate) return text + " dup";
    return text + "/" + std::to_string(r.spouse) + " " + std::to_string(r.marriageIndex) + " of " +
           std::to_string(r.marriageCount);
}

// Every record of the walk, read with the iterator operations.
std::vector<std::string> Records(WDesIterator& walk) {
    std::vector<std::string> out;
    for (const char* r = walk.First(); r; r = walk.Next()) {
        out.push_back(Text(WDesIterator::Decode(r)));
    }
    return out;
}

TEST(DesIteratorTest, RecordsAreSixteenBytesWithTheListedFields) {
    FakeCollection tree;
    const int32_t father = tree.AddPerson("F", "A", 'M');
    const int32_t mother = tree.AddPerson("M", "A", 'F');
    const int32_t child = tree.AddPerson("C", "A", 'F');
    tree.AddFamily(father, mother, {child});
    WDesIterator walk;
    ASSERT_TRUE(walk.SetCollection(&tree));
    ASSERT_TRUE(walk.Start(father, 10, true));
    EXPECT_EQ(walk.RecordSize(), 16);
    ASSERT_EQ(walk.Count(), 2);
    const WDesRecord first = walk.RecordOf(1);
    EXPECT_EQ(first.generation, 0);
    EXPECT_EQ(first.marriageIndex, 1);
    EXPECT_EQ(first.marriageCount, 1);
    EXPECT_EQ(first.individual, father);
    EXPECT_EQ(first.spouse, mother);
    EXPECT_EQ(first.duplicate, 0);
    const WDesRecord second = walk.RecordOf(2);
    EXPECT_EQ(second.generation, 1);
    EXPECT_EQ(second.marriageIndex, 0);
    EXPECT_EQ(second.marriageCount, 0);
    EXPECT_EQ(second.individual, child);
    EXPECT_EQ(second.spouse, 0);
    EXPECT_EQ(walk.DescendantCount(), 1);
    // From the mother's side the spouse is the husband.
    ASSERT_TRUE(walk.Start(mother, 10, true));
    EXPECT_EQ(walk.RecordOf(1).spouse, father);
    // Invalid positions read as zero records.
    EXPECT_EQ(walk.RecordOf(0).individual, 0);
    EXPECT_EQ(walk.RecordOf(3).individual, 0);
}

TEST(DesIteratorTest, RootWithoutSpouseFamiliesGivesOneRecord) {
    FakeCollection tree;
    const int32_t alone = tree.AddPerson("A", "B", 'M');
    WDesIterator walk;
    walk.SetCollection(&tree);
    ASSERT_TRUE(walk.Start(alone, 32, false));
    EXPECT_EQ(Records(walk), std::vector<std::string>{"0:1/0 0 of 0"});
    EXPECT_EQ(walk.DescendantCount(), 0);
}

TEST(DesIteratorTest, SeveralMarriagesEachFollowedByTheirChildren) {
    FakeCollection tree;
    const int32_t man = tree.AddPerson("Man", "X", 'M');        // 1
    const int32_t first = tree.AddPerson("First", "Y", 'F');    // 2
    const int32_t second = tree.AddPerson("Second", "Z", 'F');  // 3
    const int32_t a = tree.AddPerson("A", "X", 'M');            // 4
    const int32_t b = tree.AddPerson("B", "X", 'F');            // 5
    const int32_t c = tree.AddPerson("C", "X", 'M');            // 6
    const int32_t d = tree.AddPerson("D", "X", 'M');            // 7
    const int32_t aWife = tree.AddPerson("AW", "W", 'F');       // 8
    tree.AddFamily(man, first, {a, b});
    tree.AddFamily(man, second, {c});
    tree.AddFamily(a, aWife, {d});
    WDesIterator walk;
    walk.SetCollection(&tree);
    tree.orderChildrenCalls = 0;
    ASSERT_TRUE(walk.Start(man, 0, false));
    const std::vector<std::string> expected{"0:1/2 1 of 2", "1:4/8 1 of 1", "2:7/0 0 of 0",
                                            "1:5/0 0 of 0", "0:1/3 2 of 2", "1:6/0 0 of 0"};
    EXPECT_EQ(Records(walk), expected);
    EXPECT_EQ(walk.DescendantCount(), 4);
    // Every family entered is put into birth order.
    EXPECT_EQ(tree.orderChildrenCalls, 3);
}

TEST(DesIteratorTest, GenerationLimitOutsideOneTo255Means255) {
    FakeCollection tree;
    int32_t person = tree.AddPerson("G0", "Line", 'M');
    const int32_t root = person;
    for (int g = 1; g <= 300; ++g) {
        const int32_t child = tree.AddPerson("G" + std::to_string(g), "Line", 'M');
        tree.AddFamily(person, 0, {child});
        person = child;
    }
    WDesIterator walk;
    walk.SetCollection(&tree);
    for (const int limit : {0, 300, -5, 256}) {
        ASSERT_TRUE(walk.Start(root, limit, true));
        EXPECT_EQ(walk.GenerationLimit(), 255);
        EXPECT_EQ(walk.Count(), 256);  // generations 0 to 255
        EXPECT_EQ(walk.RecordOf(256).generation, 255);
        EXPECT_EQ(walk.DescendantCount(), 255);
    }
    ASSERT_TRUE(walk.Start(root, 255, false));
    EXPECT_EQ(walk.Count(), 256);
    ASSERT_TRUE(walk.Start(root, 1, false));
    EXPECT_EQ(walk.GenerationLimit(), 1);
    EXPECT_EQ(walk.Count(), 2);
    EXPECT_EQ(walk.DescendantCount(), 1);
    ASSERT_TRUE(walk.Start(root, 3, true));
    EXPECT_EQ(walk.Count(), 4);
    EXPECT_EQ(walk.DescendantCount(), 3);
    // The walk tells whether anyone was left below the limit.
    EXPECT_TRUE(walk.CutAtLimit());
    ASSERT_TRUE(walk.Start(root, 0, false));
    EXPECT_TRUE(walk.CutAtLimit());  // 301 generations, 256 listed
    ASSERT_TRUE(walk.Start(person, 0, false));
    EXPECT_FALSE(walk.CutAtLimit());
    ASSERT_TRUE(walk.Start(person - 3, 3, false));
    EXPECT_FALSE(walk.CutAtLimit());  // the last four generations: exactly the limit
}

TEST(DesIteratorTest, AStopAskedForWhileEventsArePumpedEndsTheWalk) {
    // A line long enough for several pumps.
    FakeCollection tree;
    int32_t person = tree.AddPerson("G0", "Wide", 'M');
    const int32_t root = person;
    std::vector<int32_t> children;
    for (int c = 0; c < 3 * WDesIterator::kPumpInterval; ++c)
        children.push_back(tree.AddPerson("C" + std::to_string(c), "Wide", 'F'));
    tree.AddFamily(person, 0, children);
    WDesIterator walk;
    walk.SetCollection(&tree);
    int pumps = 0;
    Hooks().pumpEvents = [&] {
        if (++pumps == 2) walk.RequestStop();
    };
    ASSERT_TRUE(walk.Start(root, 5, false));
    EXPECT_TRUE(walk.Stopped());
    EXPECT_EQ(pumps, 2);
    EXPECT_GT(walk.Count(), 1);
    EXPECT_LT(walk.Count(), 3 * WDesIterator::kPumpInterval);
    // The next walk runs to its end (a stop asked for between walks is forgotten).
    walk.RequestStop();
    pumps = 10;
    ASSERT_TRUE(walk.Start(root, 5, false));
    EXPECT_FALSE(walk.Stopped());
    EXPECT_EQ(walk.Count(), 3 * WDesIterator::kPumpInterval + 1);
    Hooks().pumpEvents = nullptr;
}

// Cousins marry: grandparents -> son, daughter; son -> s1; daughter -> d1; s1 + d1 -> kid;
// kid -> grandkid.
struct CousinMarriage {
    FakeCollection tree;
    int32_t grandpa, son, daughter, s1, d1, kid, grandkid;
    CousinMarriage() {
        grandpa = tree.AddPerson("Grandpa", "C", 'M');    // 1
        son = tree.AddPerson("Son", "C", 'M');            // 2
        daughter = tree.AddPerson("Daughter", "C", 'F');  // 3
        s1 = tree.AddPerson("S1", "C", 'M');              // 4
        d1 = tree.AddPerson("D1", "C", 'F');              // 5
        kid = tree.AddPerson("Kid", "C", 'M');            // 6
        grandkid = tree.AddPerson("Grandkid", "C", 'F');  // 7
        tree.AddFamily(grandpa, 0, {son, daughter});
        tree.AddFamily(son, 0, {s1});
        tree.AddFamily(0, daughter, {d1});
        tree.AddFamily(s1, d1, {kid});
        tree.AddFamily(kid, 0, {grandkid});
    }
};

TEST(DesIteratorTest, CousinMarriageWithoutRepeatListsTheDescendantOnce) {
    CousinMarriage m;
    WDesIterator walk;
    walk.SetCollection(&m.tree);
    ASSERT_TRUE(walk.Start(m.grandpa, 32, false));
    const std::vector<std::string> expected{"0:1/0 1 of 1", "1:2/0 1 of 1", "2:4/5 1 of 1",
                                            "3:6/0 1 of 1", "4:7/0 0 of 0", "1:3/0 1 of 1",
                                            "2:5/4 1 of 1", "3:6 dup"};
    EXPECT_EQ(Records(walk), expected);
    // son, daughter, s1, d1, kid, grandkid: each once.
    EXPECT_EQ(walk.DescendantCount(), 6);
    const WDesRecord dup = walk.RecordOf(8);
    EXPECT_EQ(dup.duplicate, 1);
    EXPECT_EQ(dup.marriageIndex, 0);
    EXPECT_EQ(dup.marriageCount, 0);
    EXPECT_EQ(dup.spouse, 0);
}

TEST(DesIteratorTest, CousinMarriageWithRepeatListsEveryLine) {
    CousinMarriage m;
    WDesIterator walk;
    walk.SetCollection(&m.tree);
    ASSERT_TRUE(walk.Start(m.grandpa, 32, true));
    const std::vector<std::string> expected{"0:1/0 1 of 1", "1:2/0 1 of 1", "2:4/5 1 of 1",
                                            "3:6/0 1 of 1", "4:7/0 0 of 0", "1:3/0 1 of 1",
                                            "2:5/4 1 of 1", "3:6/0 1 of 1", "4:7/0 0 of 0"};
    EXPECT_EQ(Records(walk), expected);
    EXPECT_EQ(walk.DescendantCount(), 8);
}

TEST(DesIteratorTest, OwnDescendantLoopsEnd) {
    // a -> b -> c -> a.
    FakeCollection tree;
    const int32_t a = tree.AddPerson("A", "L", 'M');
    const int32_t b = tree.AddPerson("B", "L", 'M');
    const int32_t c = tree.AddPerson("C", "L", 'M');
    tree.AddFamily(a, 0, {b});
    tree.AddFamily(b, 0, {c});
    tree.AddFamily(c, 0, {a});
    WDesIterator walk;
    walk.SetCollection(&tree);
    ASSERT_TRUE(walk.Start(a, 255, false));
    EXPECT_EQ(Records(walk), (std::vector<std::string>{"0:1/0 1 of 1", "1:2/0 1 of 1",
                                                       "2:3/0 1 of 1", "3:1 dup"}));
    EXPECT_EQ(walk.DescendantCount(), 2);
    // Repeating duplicates, the loop is not walked round again either.
    ASSERT_TRUE(walk.Start(a, 255, true));
    EXPECT_EQ(Records(walk), (std::vector<std::string>{"0:1/0 1 of 1", "1:2/0 1 of 1",
                                                       "2:3/0 1 of 1", "3:1 dup"}));
    EXPECT_EQ(walk.DescendantCount(), 2);
    EXPECT_FALSE(walk.Truncated());
}

TEST(DesIteratorTest, TwoInterlockedLoopsDoNotMultiplyWithoutEnd) {
    // a has children b and c; both have a as their child. Walked round the loops, each lap
    // would double the lines.
    FakeCollection tree;
    const int32_t a = tree.AddPerson("A", "L", 'M');
    const int32_t b = tree.AddPerson("B", "L", 'M');
    const int32_t c = tree.AddPerson("C", "L", 'M');
    tree.AddFamily(a, 0, {b, c});
    tree.AddFamily(b, 0, {a});
    tree.AddFamily(c, 0, {a});
    WDesIterator walk;
    walk.SetCollection(&tree);
    ASSERT_TRUE(walk.Start(a, 255, true));
    EXPECT_EQ(Records(walk), (std::vector<std::string>{"0:1/0 1 of 1", "1:2/0 1 of 1", "2:1 dup",
                                                       "1:3/0 1 of 1", "2:1 dup"}));
    EXPECT_EQ(walk.DescendantCount(), 2);
}

TEST(DesIteratorTest, BadInputGivesFalseOrEmptyWalks) {
    FakeCollection tree;
    const int32_t person = tree.AddPerson("P", "Q", 'M');
    WDesIterator walk;
    EXPECT_FALSE(walk.SetCollection(nullptr));
    EXPECT_FALSE(walk.Start(person, 32, false));  // no collection
    EXPECT_EQ(walk.Count(), 0);
    walk.SetCollection(&tree);
    EXPECT_FALSE(walk.Start(0, 32, false));
    EXPECT_FALSE(walk.Start(-4, 32, true));
    EXPECT_EQ(walk.Count(), 0);
    EXPECT_EQ(walk.DescendantCount(), 0);
    // A root beyond the individuals: walked, but nothing can be read.
    EXPECT_TRUE(walk.Start(99, 32, false));
    EXPECT_EQ(walk.Count(), 0);
    EXPECT_TRUE(walk.Start(99, 32, true));
    EXPECT_EQ(walk.Count(), 0);
}

TEST(DesIteratorTest, MissingFamiliesChildNumberZeroAndEmptyFamilies) {
    FakeCollection tree;
    const int32_t root = tree.AddPerson("R", "X", 'M');
    const int32_t child = tree.AddPerson("C", "X", 'M');
    tree.AddFamily(root, 0, {0, child});  // a child number 0 is skipped
    tree.AddFamily(0, 0);                 // a family without members
    tree.Person(root).spouseFamilies.push_back(2);
    tree.Person(root).spouseFamilies.push_back(77);  // no such family
    WDesIterator walk;
    walk.SetCollection(&tree);
    ASSERT_TRUE(walk.Start(root, 32, false));
    EXPECT_EQ(Records(walk),
              (std::vector<std::string>{"0:1/0 1 of 3", "1:2/0 0 of 0", "0:1/0 2 of 3"}));
    EXPECT_EQ(walk.DescendantCount(), 1);
}

TEST(DesIteratorTest, ManyMarriagesKeepTheLowEightBitsOfTheCount) {
    FakeCollection tree;
    const int32_t root = tree.AddPerson("R", "X", 'M');
    for (int k = 0; k < 260; ++k) tree.AddFamily(root, 0);
    WDesIterator walk;
    walk.SetCollection(&tree);
    ASSERT_TRUE(walk.Start(root, 32, false));
    ASSERT_EQ(walk.Count(), 260);
    EXPECT_EQ(walk.RecordOf(1).marriageCount, 260 & 0xFF);
    EXPECT_EQ(walk.RecordOf(257).marriageIndex, 257 & 0xFF);
}

}  // namespace
}  // namespace kindrel
