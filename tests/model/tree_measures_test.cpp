// The cached tree measures of the abstract collection: ancestor and descendant totals,
// generation depths and average depths, with pedigree collapse, loops and very deep lines.
#include "containers/errors.h"
#include "fake_collection.h"
#include "model/collection.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using fake::FakeCollection;
using fake::FakeFamily;
using fake::FakePerson;

// A child K whose parents P1 and P2 have two parents each (G1 to G4), none further.
struct TwoGenerations {
    FakeCollection tree;
    int32_t g1, g2, g3, g4, p1, p2, k;
    TwoGenerations() {
        g1 = tree.AddPerson("G1", "A", 'M');
        g2 = tree.AddPerson("G2", "B", 'F');
        g3 = tree.AddPerson("G3", "C", 'M');
        g4 = tree.AddPerson("G4", "D", 'F');
        p1 = tree.AddPerson("P1", "A", 'M');
        p2 = tree.AddPerson("P2", "C", 'F');
        k = tree.AddPerson("K", "A", 'M');
        tree.AddFamily(g1, g2, {p1});
        tree.AddFamily(g3, g4, {p2});
        tree.AddFamily(p1, p2, {k});
    }
};

TEST(TreeMeasuresTest, TwoFullGenerationsOfAncestors) {
    TwoGenerations t;
    EXPECT_EQ(t.tree.AncestorTotal(t.k), 6);
    EXPECT_EQ(t.tree.AncestorGenerations(t.k), 2);
    EXPECT_NEAR(t.tree.AverageAncestorGenerations(t.k), 10.0 / 6.0, 1e-12);
    EXPECT_EQ(t.tree.AncestorTotal(t.p1), 2);
    EXPECT_EQ(t.tree.AncestorGenerations(t.p1), 1);
    EXPECT_DOUBLE_EQ(t.tree.AverageAncestorGenerations(t.p1), 1.0);
}

TEST(TreeMeasuresTest, NoParentsGivesZeroEverywhere) {
    TwoGenerations t;
    EXPECT_EQ(t.tree.AncestorTotal(t.g1), 0);
    EXPECT_EQ(t.tree.AncestorGenerations(t.g1), 0);
    EXPECT_DOUBLE_EQ(t.tree.AverageAncestorGenerations(t.g1), 0.0);
    EXPECT_EQ(t.tree.DescendantTotal(t.k), 0);
    EXPECT_EQ(t.tree.DescendantGenerations(t.k), 0);
    EXPECT_DOUBLE_EQ(t.tree.AverageDescendantGenerations(t.k), 0.0);
}

TEST(TreeMeasuresTest, NoIndividualGivesTheNoneValues) {
    TwoGenerations t;
    EXPECT_EQ(t.tree.AncestorTotal(0), 0);
    EXPECT_EQ(t.tree.DescendantTotal(0), 0);
    EXPECT_EQ(t.tree.AncestorGenerations(0), -1);
    EXPECT_EQ(t.tree.DescendantGenerations(0), -1);
    EXPECT_DOUBLE_EQ(t.tree.AverageAncestorGenerations(0), -1.0);
    EXPECT_DOUBLE_EQ(t.tree.AverageDescendantGenerations(0), -1.0);
    // Numbers outside the collection reach nothing.
    EXPECT_EQ(t.tree.AncestorTotal(100), 0);
    EXPECT_EQ(t.tree.AncestorGenerations(-4), -1);
    EXPECT_EQ(t.tree.DescendantGenerations(100), 0);
    EXPECT_DOUBLE_EQ(t.tree.AverageDescendantGenerations(100), 0.0);
}

TEST(TreeMeasuresTest, DescendantsOfAGrandparent) {
    TwoGenerations t;
    EXPECT_EQ(t.tree.DescendantTotal(t.g1), 2);
    EXPECT_EQ(t.tree.DescendantGenerations(t.g1), 2);
    EXPECT_DOUBLE_EQ(t.tree.AverageDescendantGenerations(t.g1), 1.5);
    EXPECT_EQ(t.tree.DescendantGenerations(t.p1), 1);
}

TEST(TreeMeasuresTest, ChildlessMarriedIndividualHasOneDescendantGeneration) {
    FakeCollection tree;
    const int32_t a = tree.AddPerson("A", "X", 'M');
    const int32_t b = tree.AddPerson("B", "Y", 'F');
    tree.AddFamily(a, b);
    EXPECT_EQ(tree.DescendantGenerations(a), 1);
    EXPECT_EQ(tree.DescendantTotal(a), 0);
    EXPECT_DOUBLE_EQ(tree.AverageDescendantGenerations(a), 0.0);
}

TEST(TreeMeasuresTest, ParentFamilyWithoutParentsCountsOneGeneration) {
    FakeCollection tree;
    const int32_t child = tree.AddPerson("C", "X");
    tree.AddFamily(0, 0, {child});
    EXPECT_EQ(tree.AncestorGenerations(child), 1);
    EXPECT_EQ(tree.AncestorTotal(child), 0);
    EXPECT_DOUBLE_EQ(tree.AverageAncestorGenerations(child), 0.0);
}

TEST(TreeMeasuresTest, MissingFamilyRecordsAreSkipped) {
    FakeCollection tree;
    const int32_t father = tree.AddPerson("F", "X", 'M');
    const int32_t child = tree.AddPerson("C", "X");
    tree.AddFamily(father, 0, {child});
    tree.Person(child).parentFamilies.push_back(77);  // a family the collection cannot supply
    tree.Person(father).spouseFamilies.push_back(78);
    EXPECT_EQ(tree.AncestorTotal(child), 1);
    EXPECT_EQ(tree.AncestorGenerations(child), 1);
    EXPECT_DOUBLE_EQ(tree.AverageAncestorGenerations(child), 1.0);
    EXPECT_EQ(tree.DescendantTotal(father), 1);
    EXPECT_EQ(tree.DescendantGenerations(father), 1);
}

// Cousins H and W (their parents A and B are siblings) have a child K.
struct CousinMarriage {
    FakeCollection tree;
    int32_t g1, g2, a, b, x, y, h, w, k;
    CousinMarriage() {
        g1 = tree.AddPerson("G1", "A", 'M');
        g2 = tree.AddPerson("G2", "B", 'F');
        a = tree.AddPerson("A", "A", 'M');
        b = tree.AddPerson("B", "A", 'F');
        x = tree.AddPerson("X", "X", 'F');
        y = tree.AddPerson("Y", "Y", 'M');
        h = tree.AddPerson("H", "A", 'M');
        w = tree.AddPerson("W", "Y", 'F');
        k = tree.AddPerson("K", "A", 'M');
        tree.AddFamily(g1, g2, {a, b});
        tree.AddFamily(a, x, {h});
        tree.AddFamily(y, b, {w});
        tree.AddFamily(h, w, {k});
    }
};

TEST(TreeMeasuresTest, CousinMarriageCountsSharedGrandparentsOnceButEveryLine) {
    CousinMarriage t;
    // H, W, A, X, Y, B, G1, G2: the shared great-grandparents count once.
    EXPECT_EQ(t.tree.AncestorTotal(t.k), 8);
    EXPECT_EQ(t.tree.AncestorGenerations(t.k), 3);
    // Lines: 2 at depth 1, 4 at depth 2, 4 at depth 3 (G1 and G2 reached along two lines).
    EXPECT_DOUBLE_EQ(t.tree.AverageAncestorGenerations(t.k), 22.0 / 10.0);
    // Downward: A, B, H, W and K, with K reached along two lines.
    EXPECT_EQ(t.tree.DescendantTotal(t.g1), 5);
    EXPECT_EQ(t.tree.DescendantGenerations(t.g1), 3);
    EXPECT_DOUBLE_EQ(t.tree.AverageDescendantGenerations(t.g1), 12.0 / 6.0);
}

TEST(TreeMeasuresTest, FatherRecordedAsHisOwnFatherIsCountedOnce) {
    // F is the father of C and also recorded as his own father, so F is C's grandfather too.
    FakeCollection tree;
    const int32_t f = tree.AddPerson("F", "X", 'M');
    const int32_t c = tree.AddPerson("C", "X", 'M');
    tree.AddFamily(f, 0, {c});
    tree.AddFamily(f, 0, {f});
    EXPECT_EQ(tree.AncestorTotal(c), 1);
    EXPECT_EQ(tree.AncestorTotal(f), 0);
    EXPECT_EQ(tree.DescendantTotal(f), 1);
    // The walk from C reaches F, whose own parent F is in progress and counts 0.
    EXPECT_EQ(tree.AncestorGenerations(c), 2);
    EXPECT_EQ(tree.AncestorGenerations(f), 1);
    EXPECT_EQ(tree.DescendantGenerations(f), 1);
    // The loop back to F counts as one line of length one above F.
    EXPECT_DOUBLE_EQ(tree.AverageAncestorGenerations(c), 1.5);
    EXPECT_DOUBLE_EQ(tree.AverageAncestorGenerations(f), 1.0);
}

TEST(TreeMeasuresTest, TwoPeopleWhoAreEachOthersFatherStopAtTheLoop) {
    FakeCollection tree;
    const int32_t a = tree.AddPerson("A", "X", 'M');
    const int32_t b = tree.AddPerson("B", "X", 'M');
    const int32_t c = tree.AddPerson("C", "X", 'M');
    tree.AddFamily(a, 0, {b, c});
    tree.AddFamily(b, 0, {a});
    EXPECT_EQ(tree.AncestorTotal(c), 2);
    EXPECT_EQ(tree.AncestorTotal(a), 1);
    EXPECT_EQ(tree.DescendantTotal(a), 2);
    EXPECT_EQ(tree.AncestorGenerations(c), 3);
    EXPECT_EQ(tree.DescendantGenerations(b), 2);
    EXPECT_GT(tree.AverageAncestorGenerations(c), 0.0);
}

TEST(TreeMeasuresTest, ResultsAreCachedPerIndividual) {
    TwoGenerations t;
    EXPECT_EQ(t.tree.AncestorTotal(t.k), 6);
    EXPECT_EQ(t.tree.AncestorGenerations(t.k), 2);
    EXPECT_NEAR(t.tree.AverageAncestorGenerations(t.k), 10.0 / 6.0, 1e-12);
    EXPECT_EQ(t.tree.DescendantTotal(t.g1), 2);
    EXPECT_EQ(t.tree.DescendantGenerations(t.g1), 2);
    EXPECT_DOUBLE_EQ(t.tree.AverageDescendantGenerations(t.g1), 1.5);
    const int64_t before = t.tree.individualRequests;
    EXPECT_EQ(t.tree.AncestorTotal(t.k), 6);
    EXPECT_EQ(t.tree.AncestorGenerations(t.k), 2);
    EXPECT_NEAR(t.tree.AverageAncestorGenerations(t.k), 10.0 / 6.0, 1e-12);
    EXPECT_EQ(t.tree.DescendantTotal(t.g1), 2);
    EXPECT_EQ(t.tree.DescendantGenerations(t.g1), 2);
    EXPECT_DOUBLE_EQ(t.tree.AverageDescendantGenerations(t.g1), 1.5);
    // The walks from K and G1 filled the generation caches of the people they passed.
    EXPECT_EQ(t.tree.AncestorGenerations(t.p1), 1);
    EXPECT_DOUBLE_EQ(t.tree.AverageDescendantGenerations(t.p1), 1.0);
    EXPECT_EQ(t.tree.individualRequests, before);
}

TEST(TreeMeasuresTest, TotalsOfDifferentPeopleDoNotShareVisitedMarks) {
    CousinMarriage t;
    EXPECT_EQ(t.tree.AncestorTotal(t.h), 4);
    EXPECT_EQ(t.tree.AncestorTotal(t.w), 4);
    EXPECT_EQ(t.tree.AncestorTotal(t.k), 8);
    EXPECT_EQ(t.tree.DescendantTotal(t.a), 2);
    EXPECT_EQ(t.tree.DescendantTotal(t.b), 2);
    EXPECT_EQ(t.tree.DescendantTotal(t.g2), 5);
}

// Raises the storage error for one individual while failing is set.
class FailingCollection : public FakeCollection {
public:
    int32_t failOn = 0;
    std::unique_ptr<WABSIndividual> GetIndividual(int32_t n) override {
        if (n == failOn) throw EMemoryError(n);
        return FakeCollection::GetIndividual(n);
    }
};

TEST(TreeMeasuresTest, WalkEndedByAnErrorLeavesNoMarksBehind) {
    FailingCollection tree;
    const int32_t g = tree.AddPerson("G", "A", 'M');
    const int32_t p = tree.AddPerson("P", "A", 'M');
    const int32_t q = tree.AddPerson("Q", "B", 'F');
    const int32_t k = tree.AddPerson("K", "A", 'M');
    tree.AddFamily(g, 0, {p});
    tree.AddFamily(p, q, {k});
    tree.failOn = g;
    EXPECT_THROW(tree.AncestorTotal(k), EMemoryError);
    EXPECT_THROW(tree.AncestorGenerations(k), EMemoryError);
    EXPECT_THROW(tree.AverageAncestorGenerations(k), EMemoryError);
    tree.failOn = 0;
    EXPECT_EQ(tree.AncestorTotal(k), 3);
    EXPECT_EQ(tree.AncestorTotal(p), 1);
    EXPECT_EQ(tree.AncestorGenerations(k), 2);
    EXPECT_EQ(tree.AncestorGenerations(p), 1);
    EXPECT_DOUBLE_EQ(tree.AverageAncestorGenerations(k), (1 + 1 + 2) / 3.0);
    EXPECT_DOUBLE_EQ(tree.AverageAncestorGenerations(p), 1.0);
}

}  // namespace
}  // namespace kindrel
