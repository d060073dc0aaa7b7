// Islands: positions and counts, the size order, the view restriction, witness links,
// re-entry through the event pump, odd links, and random trees checked against a union-find.
#include "analysis/islands.h"
#include "analysis/island_iterator.h"
#include "containers/ui_hooks.h"
#include "fake_collection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace kindrel {
namespace {

using fake::FakeCollection;

// Restores the process-wide hooks when a test ends.
class HooksGuard {
  public:
    HooksGuard() : m_saved(Hooks()) {}
    ~HooksGuard() { Hooks() = m_saved; }

  private:
    UiHooks m_saved;
};

// Individuals of the island at a position, read through its iterator.
std::vector<int32_t> Members(WIslands& islands, int32_t position) {
    std::vector<int32_t> out;
    const std::unique_ptr<WIslandIterator> list = islands.IslandIterator(position);
    if (!list) return out;
    for (int i = 1; i <= list->Count(); ++i) out.push_back(list->NumberAt(i));
    return out;
}

TEST(IslandsTest, CoupleWithChildAndAnUnrelatedIndividual) {
    FakeCollection tree;
    const int32_t father = tree.AddPerson("F", "A", 'M');
    const int32_t mother = tree.AddPerson("M", "A", 'F');
    const int32_t child = tree.AddPerson("C", "A", 'M');
    const int32_t loner = tree.AddPerson("L", "B", 'M');
    tree.AddFamily(father, mother, {child});
    WIslands& islands = WIslands::Of(tree);
    EXPECT_EQ(&islands, &WIslands::Of(tree));  // one set of tables per collection
    EXPECT_FALSE(islands.IsCalculated());
    EXPECT_EQ(islands.IslandSize(1), 0);  // nothing before the calculation
    EXPECT_EQ(islands.IslandCount(), 0);

    EXPECT_EQ(islands.CalculateIslands(), 2);
    EXPECT_TRUE(islands.IsCalculated());
    EXPECT_EQ(islands.IslandSize(1), 3);
    EXPECT_EQ(islands.IslandFamilyCount(1), 1);
    EXPECT_EQ(islands.IslandFirstIndividual(1), 1);
    EXPECT_EQ(islands.IslandSize(2), 1);
    EXPECT_EQ(islands.IslandFamilyCount(2), 0);
    EXPECT_EQ(islands.IslandFirstIndividual(2), loner);
    for (const int32_t n : {father, mother, child}) EXPECT_EQ(islands.IslandOf(n), 1);
    EXPECT_EQ(islands.IslandOf(loner), 2);
    EXPECT_EQ(islands.FamilyIslandNumberOf(1), islands.IslandNumberAt(1));
    // Positions and individuals out of range.
    EXPECT_EQ(islands.IslandSize(3), 0);
    EXPECT_EQ(islands.IslandFamilyCount(0), 0);
    EXPECT_EQ(islands.IslandFirstIndividual(-1), 0);
    EXPECT_EQ(islands.IslandOf(0), 0);
    EXPECT_EQ(islands.IslandOf(5), 0);
    EXPECT_EQ(islands.IslandOf(-2), 0);
    EXPECT_EQ(islands.IslandIterator(3), nullptr);
    EXPECT_EQ(islands.IslandIterator(0), nullptr);
    EXPECT_EQ(Members(islands, 1), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Members(islands, 2), (std::vector<int32_t>{4}));
}

TEST(IslandsTest, QueriesThatCalculateFirst) {
    FakeCollection tree;
    tree.AddPerson("A", "X");
    tree.AddPerson("B", "X");
    WIslands islands(tree);
    EXPECT_EQ(islands.IslandOf(2), 2);
    EXPECT_TRUE(islands.IsCalculated());
    WIslands second(tree);
    EXPECT_NE(second.IslandIterator(1), nullptr);
    EXPECT_TRUE(second.IsCalculated());
}

TEST(IslandsTest, IslandsOfEqualSizeBothHavePositions) {
    FakeCollection tree;
    const int32_t a = tree.AddPerson("A", "X");
    const int32_t b = tree.AddPerson("B", "X");
    const int32_t c = tree.AddPerson("C", "Y");
    const int32_t d = tree.AddPerson("D", "Y");
    tree.AddFamily(a, b);
    tree.AddFamily(c, d);
    WIslands& islands = WIslands::Of(tree);
    ASSERT_EQ(islands.CalculateIslands(), 2);
    EXPECT_EQ(islands.IslandSize(1), 2);
    EXPECT_EQ(islands.IslandSize(2), 2);
    const std::set<int32_t> numbers{islands.IslandNumberAt(1), islands.IslandNumberAt(2)};
    EXPECT_EQ(numbers, (std::set<int32_t>{1, 2}));
    EXPECT_NE(islands.IslandOf(a), islands.IslandOf(c));
    EXPECT_EQ(islands.IslandOf(a), islands.IslandOf(b));
    EXPECT_EQ(islands.IslandOf(c), islands.IslandOf(d));
}

TEST(IslandsTest, EmptyCollectionHasNoIslands) {
    FakeCollection tree;
    WIslands& islands = WIslands::Of(tree);
    EXPECT_EQ(islands.CalculateIslands(), 0);
    EXPECT_EQ(islands.IslandSize(1), 0);
    islands.UseIsland(1);
    EXPECT_EQ(islands.IslandInUse(), 0);
    EXPECT_EQ(tree.ViewCount(), 0);
}

// Individuals 1..3 a small island, 4..8 an island of five, 9 alone.
FakeCollection& ThreeIslands(FakeCollection& tree) {
    const int32_t a = tree.AddPerson("A", "Small", 'M');
    const int32_t b = tree.AddPerson("B", "Small", 'F');
    const int32_t c = tree.AddPerson("C", "Small", 'M');
    tree.AddFamily(a, b, {c});
    std::vector<int32_t> five;
    for (int k = 0; k < 5; ++k) five.push_back(tree.AddPerson("P" + std::to_string(k), "Five"));
    tree.AddFamily(five[0], five[1], {five[2], five[3]});
    tree.AddFamily(five[3], five[4]);
    tree.AddPerson("Alone", "Z");
    return tree;
}

TEST(IslandsTest, RestrictionToAnIslandOfFive) {
    FakeCollection tree;
    ThreeIslands(tree);
    WIslands& islands = WIslands::Of(tree);
    ASSERT_EQ(islands.CalculateIslands(), 3);
    ASSERT_EQ(islands.IslandSize(1), 5);
    EXPECT_EQ(islands.IslandFamilyCount(1), 2);
    EXPECT_EQ(islands.IslandFirstIndividual(1), 4);
    EXPECT_EQ(islands.IslandSize(2), 3);
    EXPECT_EQ(islands.IslandSize(3), 1);
    EXPECT_EQ(tree.ViewCount(), 9);

    islands.UseIsland(1);
    EXPECT_EQ(islands.IslandInUse(), 1);
    EXPECT_EQ(tree.ViewCount(), 5);
    for (int32_t i = 1; i <= 5; ++i) {
        EXPECT_EQ(tree.ViewToIndividual(i), 3 + i);
        EXPECT_EQ(tree.IndividualToView(3 + i), i);
    }
    EXPECT_EQ(tree.ViewToIndividual(0), 0);
    EXPECT_EQ(tree.ViewToIndividual(6), 0);
    EXPECT_EQ(tree.IndividualToView(1), 0);
    EXPECT_EQ(tree.IndividualToView(9), 0);
    EXPECT_EQ(tree.IndividualToView(0), 0);
    EXPECT_EQ(tree.IndividualToView(42), 0);

    // Another island replaces the restriction.
    islands.UseIsland(3);
    EXPECT_EQ(islands.IslandInUse(), 3);
    EXPECT_EQ(tree.ViewCount(), 1);
    EXPECT_EQ(tree.ViewToIndividual(1), 9);

    // A position that is no island's leaves the view whole.
    islands.UseIsland(4);
    EXPECT_EQ(islands.IslandInUse(), 0);
    EXPECT_EQ(tree.ViewCount(), 9);

    islands.UseIsland(2);
    EXPECT_EQ(tree.ViewCount(), 3);
    islands.ClearIsland();
    EXPECT_EQ(islands.IslandInUse(), 0);
    EXPECT_EQ(tree.ViewCount(), 9);
    EXPECT_EQ(tree.ViewToIndividual(7), 7);
    EXPECT_EQ(tree.IndividualToView(7), 7);
}

TEST(IslandsTest, UseIslandCalculatesFirst) {
    FakeCollection tree;
    ThreeIslands(tree);
    WIslands& islands = WIslands::Of(tree);
    islands.UseIsland(2);
    EXPECT_TRUE(islands.IsCalculated());
    EXPECT_EQ(tree.ViewCount(), 3);
    EXPECT_EQ(tree.ViewToIndividual(3), 3);
}

TEST(IslandsTest, RestrictionOutlivesItsTables) {
    auto tree = std::make_unique<FakeCollection>();
    ThreeIslands(*tree);
    {
        WIslands islands(*tree);
        islands.UseIsland(1);
    }
    EXPECT_EQ(tree->ViewCount(), 5);
    EXPECT_EQ(tree->IndividualToView(8), 5);
    // The collection destroys its attached tables and the restriction without trouble.
    WIslands::Of(*tree).UseIsland(2);
    tree.reset();
}

TEST(IslandIteratorTest, SortingKeepsViewPositionsRight) {
    FakeCollection tree;
    ThreeIslands(tree);
    WIslands& islands = WIslands::Of(tree);
    std::unique_ptr<WIslandIterator> list = islands.IslandIterator(1);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 5);
    EXPECT_EQ(list->Island(), islands.IslandNumberAt(1));
    EXPECT_EQ(list->ViewPositionOf(6), 3);
    EXPECT_EQ(list->ViewPositionOf(2), 0);
    list->SetAscending(false);
    EXPECT_EQ(list->NumberAt(1), 8);
    EXPECT_EQ(list->ViewPositionOf(8), list->PositionOf(8));
    EXPECT_EQ(list->ViewPositionOf(8), 1);
    // Building again adds nothing.
    list->Build();
    EXPECT_EQ(list->Count(), 5);
    // Without a table or island there is nothing to list.
    WIslandIterator empty(std::string(), &tree, 0, nullptr);
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_EQ(empty.ViewPositionOf(1), 0);
}

// A person whose witness links are given by the test.
class WitnessIndividual : public fake::FakeIndividual {
  public:
    WitnessIndividual(int32_t n, const fake::FakePerson& person, std::vector<WWitnessLink> links)
        : FakeIndividual(n, person), m_links(std::move(links)) {
        m_witnessCount = static_cast<int32_t>(m_links.size());
    }
    bool Witness(int32_t j, WWitnessLink& link) override {
        if (j < 1 || j > static_cast<int32_t>(m_links.size())) return false;
        link = m_links[size_t(j - 1)];
        return true;
    }

  private:
    std::vector<WWitnessLink> m_links;
};

class WitnessCollection : public FakeCollection {
  public:
    std::map<int32_t, std::vector<WWitnessLink>> links;
    std::unique_ptr<WABSIndividual> GetIndividual(int32_t n) override {
        if (n < 1 || n > IndividualCount()) return nullptr;
        auto it = links.find(n);
        return std::make_unique<WitnessIndividual>(
            n, Person(n), it == links.end() ? std::vector<WWitnessLink>{} : it->second);
    }
};

TEST(IslandsTest, WitnessLinksJoinIslandsWhenSwitchedOn) {
    WitnessCollection tree;
    for (int k = 0; k < 5; ++k) tree.AddPerson("W" + std::to_string(k), "X");
    // 1 names 3 (and an out-of-range 99); 5 names 4 in its second slot.
    tree.links[1] = {{3, 99}};
    tree.links[5] = {{0, 4}, {-1, 0}};
    {
        WIslands islands(tree);
        ASSERT_EQ(islands.CalculateIslands(), 3);
        EXPECT_EQ(islands.IslandOf(1), islands.IslandOf(3));
        EXPECT_EQ(islands.IslandOf(4), islands.IslandOf(5));
        EXPECT_NE(islands.IslandOf(1), islands.IslandOf(4));
        EXPECT_EQ(islands.IslandFamilyCount(1), 0);
        EXPECT_EQ(islands.IslandFirstIndividual(islands.IslandOf(3)), 1);
        // The flood seeded at 4 reaches 5 only through the link written at 5.
        EXPECT_EQ(islands.IslandFirstIndividual(islands.IslandOf(5)), 4);
    }
    {
        WIslands islands(tree);
        islands.SetUseWitnessLinks(false);
        EXPECT_EQ(islands.CalculateIslands(), 5);
    }
}

TEST(IslandsTest, EventPumpDuringTheCalculationCannotReenter) {
    HooksGuard guard;
    FakeCollection tree;
    for (int k = 0; k < 400; ++k) tree.AddPerson("P", "X");
    for (int k = 1; k < 200; ++k) tree.AddFamily(k, k + 1);
    WIslands& islands = WIslands::Of(tree);
    int pumps = 0;
    int reentries = 0;
    bool busySeen = true;
    Hooks().pumpEvents = [&] {
        ++pumps;
        busySeen = busySeen && tree.IsBusy() && islands.IsCalculating();
        if (islands.CalculateIslands() == 0 && islands.IslandSize(1) == 0 &&
            islands.IslandOf(1) == 0) {
            ++reentries;
        }
        islands.UseIsland(1);  // refused as well: no restriction appears
    };
    std::vector<std::string> labels;
    Hooks().progress = [&](const std::string& label, long long, long long) {
        labels.push_back(label);
    };
    // 400 seed candidates and 400 individuals reached: a pump every 50 steps.
    EXPECT_EQ(islands.CalculateIslands(), 201);
    EXPECT_EQ(pumps, 16);
    EXPECT_EQ(reentries, pumps);
    EXPECT_TRUE(busySeen);
    EXPECT_FALSE(tree.IsBusy());
    EXPECT_FALSE(islands.IsCalculating());
    EXPECT_EQ(tree.ViewCount(), 400);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "Calculating Islands.  Please Wait...");
    EXPECT_EQ(islands.IslandSize(1), 200);
}

TEST(IslandsTest, OddLinksNeitherCrashNorMiscount) {
    FakeCollection tree;
    const int32_t a = tree.AddPerson("A", "X");
    const int32_t b = tree.AddPerson("B", "X");
    const int32_t c = tree.AddPerson("C", "X");
    tree.AddFamily(0, 0);                         // 1: no members
    tree.AddFamily(a, a, {a});                    // 2: a with itself, its own child
    tree.AddFamily(b, 0, {0, c, c});              // 3: child 0 and a child listed twice
    tree.Family(3).children.push_back(77);        // a child that does not exist
    tree.Person(a).spouseFamilies.push_back(99);  // a family that does not exist
    tree.Person(c).parentFamilies.push_back(-4);
    WIslands& islands = WIslands::Of(tree);
    ASSERT_EQ(islands.CalculateIslands(), 2);
    EXPECT_EQ(islands.IslandOf(b), islands.IslandOf(c));
    const int32_t pa = islands.IslandOf(a);
    const int32_t pb = islands.IslandOf(b);
    EXPECT_EQ(islands.IslandSize(pa), 1);
    EXPECT_EQ(islands.IslandFamilyCount(pa), 1);
    EXPECT_EQ(islands.IslandSize(pb), 2);
    EXPECT_EQ(islands.IslandFamilyCount(pb), 1);
    // A family nobody belongs to is in no island.
    EXPECT_EQ(islands.FamilyIslandNumberOf(1), 0);
}

TEST(IslandsTest, PeopleInManyFamiliesShareOneIsland) {
    FakeCollection tree;
    const int32_t hub = tree.AddPerson("Hub", "X", 'M');
    for (int k = 0; k < 300; ++k) {
        const int32_t spouse = tree.AddPerson("S", "Y", 'F');
        const int32_t child = tree.AddPerson("C", "X");
        tree.AddFamily(hub, spouse, {child});
    }
    tree.AddPerson("Loner", "Z");
    WIslands& islands = WIslands::Of(tree);
    ASSERT_EQ(islands.CalculateIslands(), 2);
    EXPECT_EQ(islands.IslandSize(1), 601);
    EXPECT_EQ(islands.IslandFamilyCount(1), 300);
    EXPECT_EQ(islands.IslandSize(2), 1);
}

TEST(IslandSortIndexTest, CountsAndSortsBySize) {
    WIslandSortIndex index(4);
    ASSERT_EQ(index.RecordCount(), 4);
    for (const int32_t island : {2, 2, 4, 2, 4, 3, 0, 5, -1}) index.CountMember(island);
    index.SortBySize();
    EXPECT_EQ(index.IslandAt(1), 2);
    EXPECT_EQ(index.CountAt(1), 3);
    EXPECT_EQ(index.IslandAt(2), 4);
    EXPECT_EQ(index.CountAt(2), 2);
    EXPECT_EQ(index.IslandAt(3), 3);
    EXPECT_EQ(index.IslandAt(4), 1);
    EXPECT_EQ(index.CountAt(4), 0);
    EXPECT_EQ(index.IslandAt(0), 0);
    EXPECT_EQ(index.IslandAt(5), 0);
    // Counting after the sort still finds the island's record.
    index.CountMember(1);
    EXPECT_EQ(index.CountAt(4), 1);
}

// Union-find over individuals joined by families, independent of the flood.
struct UnionFind {
    std::vector<int32_t> parent;
    explicit UnionFind(int32_t n) : parent(size_t(n) + 1) {
        std::iota(parent.begin(), parent.end(), 0);
    }
    int32_t Find(int32_t x) {
        while (parent[size_t(x)] != x) {
            parent[size_t(x)] = parent[size_t(parent[size_t(x)])];
            x = parent[size_t(x)];
        }
        return x;
    }
    void Join(int32_t a, int32_t b) {
        a = Find(a);
        b = Find(b);
        if (a != b) parent[size_t(std::max(a, b))] = std::min(a, b);
    }
};

// A random collection: couples, children, remarriages, single parents and people alone.
void RandomTree(FakeCollection& tree, uint32_t seed, int32_t people) {
    std::mt19937 random(seed);
    for (int32_t k = 0; k < people; ++k) tree.AddPerson("P" + std::to_string(k), "R");
    std::uniform_int_distribution<int32_t> anyone(1, people);
    std::uniform_int_distribution<int> roll(0, 9);
    const int32_t families = people / 3;
    for (int32_t f = 0; f < families; ++f) {
        const int32_t husband = roll(random) < 8 ? anyone(random) : 0;
        const int32_t wife = roll(random) < 8 ? anyone(random) : 0;
        std::vector<int32_t> children;
        for (int c = roll(random) % 4; c > 0; --c) children.push_back(anyone(random));
        tree.AddFamily(husband, wife, children);
    }
}

TEST(IslandsTest, RandomTreesMatchAUnionFind) {
    for (const uint32_t seed : {1u, 2u, 3u, 17u, 2024u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        FakeCollection tree;
        const int32_t people = 3000 + int32_t(seed % 7) * 100;
        RandomTree(tree, seed, people);
        UnionFind sets(people);
        for (int32_t f = 1; f <= tree.FamilyCount(); ++f) {
            const fake::FakeFamily& family = tree.Family(f);
            std::vector<int32_t> members;
            for (const int32_t m : {family.husband, family.wife}) {
                if (m > 0) members.push_back(m);
            }
            for (const int32_t c : family.children) members.push_back(c);
            for (size_t m = 1; m < members.size(); ++m) sets.Join(members[0], members[m]);
        }
        // Island numbers follow discovery: the sets ordered by their lowest member.
        std::map<int32_t, int32_t> numberOfRoot;
        std::map<int32_t, int32_t> sizeOfRoot;
        for (int32_t i = 1; i <= people; ++i) {
            const int32_t root = sets.Find(i);
            numberOfRoot.emplace(root, int32_t(numberOfRoot.size()) + 1);
            ++sizeOfRoot[root];
        }
        std::map<int32_t, int32_t> familiesOfRoot;
        for (int32_t f = 1; f <= tree.FamilyCount(); ++f) {
            const fake::FakeFamily& family = tree.Family(f);
            int32_t member = family.husband > 0 ? family.husband : family.wife;
            if (member <= 0 && !family.children.empty()) member = family.children.front();
            if (member > 0) ++familiesOfRoot[sets.Find(member)];
        }

        WIslands islands(tree);
        ASSERT_EQ(islands.CalculateIslands(), int32_t(numberOfRoot.size()));
        for (int32_t i = 1; i <= people; ++i) {
            const int32_t root = sets.Find(i);
            ASSERT_EQ(islands.IslandNumberOf(i), numberOfRoot[root]) << "individual " << i;
            const int32_t position = islands.IslandOf(i);
            ASSERT_EQ(islands.IslandSize(position), sizeOfRoot[root]);
            ASSERT_EQ(islands.IslandFamilyCount(position), familiesOfRoot[root]);
            ASSERT_EQ(islands.IslandFirstIndividual(position), root);  // the lowest member
        }
        int32_t total = 0;
        for (int32_t p = 1; p <= islands.IslandCount(); ++p) {
            total += islands.IslandSize(p);
            if (p > 1) {
                ASSERT_GE(islands.IslandSize(p - 1), islands.IslandSize(p));
            }
            ASSERT_EQ(islands.PositionOfIsland(islands.IslandNumberAt(p)), p);
        }
        EXPECT_EQ(total, people);
    }
}

}  // namespace
}  // namespace kindrel
