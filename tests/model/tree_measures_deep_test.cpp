// The tree measures over a line of a million generations: the walks use work stacks of their
// own, so depth costs heap, not the call stack.
#include "fake_collection.h"
#include "model/collection.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using fake::FakeCollection;
using fake::FakeFamily;
using fake::FakePerson;

// A line of n people, each the only child of the previous one: person k's parent family is
// k - 1 (husband k - 1), person k's spouse family is k (child k + 1). With ring set, person 1
// is the child of family n, whose husband is person n, so the line closes into a loop.
// Records are made on request, so a million generations cost no storage.
class LineCollection : public FakeCollection {
public:
    LineCollection(int32_t n, bool ring) : m_n(n), m_ring(ring) {}

    std::unique_ptr<WABSIndividual> GetIndividual(int32_t k) override {
        ++individualRequests;
        if (k < 1 || k > m_n) return nullptr;
        auto person = std::make_unique<FakePerson>();
        person->sex = 'M';
        if (k > 1) person->parentFamilies.push_back(k - 1);
        if (k == 1 && m_ring) person->parentFamilies.push_back(m_n);
        if (k < m_n || m_ring) person->spouseFamilies.push_back(k);
        return std::make_unique<fake::FakeIndividual>(k, std::move(person));
    }
    std::unique_ptr<WABSMarriage> GetMarriage(int32_t f) override {
        ++marriageRequests;
        if (f < 1 || f > FamilyCount()) return nullptr;
        auto family = std::make_unique<FakeFamily>();
        family->husband = f;
        family->children.push_back(f == m_n ? 1 : f + 1);
        return std::make_unique<fake::FakeMarriage>(f, std::move(family));
    }
    int32_t IndividualCount() override { return m_n; }
    int32_t FamilyCount() override { return m_ring ? m_n : m_n - 1; }

private:
    int32_t m_n;
    bool m_ring;
};

constexpr int32_t kDeep = 1000000;

TEST(TreeMeasuresDeepTest, MillionGenerationsOfAncestors) {
    LineCollection line(kDeep, false);
    EXPECT_EQ(line.AncestorTotal(kDeep), kDeep - 1);
    EXPECT_EQ(line.AncestorGenerations(kDeep), kDeep - 1);
    // Person k has k - 1 lines with depths 1 .. k - 1: the average is k / 2.
    EXPECT_DOUBLE_EQ(line.AverageAncestorGenerations(kDeep), kDeep / 2.0);
    EXPECT_EQ(line.AncestorGenerations(kDeep / 2), kDeep / 2 - 1);
    EXPECT_DOUBLE_EQ(line.AverageAncestorGenerations(kDeep / 2), kDeep / 4.0);
    EXPECT_EQ(line.AncestorTotal(1), 0);
}

TEST(TreeMeasuresDeepTest, MillionGenerationsOfDescendants) {
    LineCollection line(kDeep, false);
    EXPECT_EQ(line.DescendantTotal(1), kDeep - 1);
    EXPECT_EQ(line.DescendantGenerations(1), kDeep - 1);
    EXPECT_DOUBLE_EQ(line.AverageDescendantGenerations(1), kDeep / 2.0);
    EXPECT_EQ(line.DescendantGenerations(kDeep - 1), 1);
    EXPECT_EQ(line.DescendantTotal(kDeep), 0);
}

TEST(TreeMeasuresDeepTest, MillionLongLoopStopsAtTheStart) {
    LineCollection ring(kDeep, true);
    EXPECT_EQ(ring.AncestorTotal(kDeep), kDeep - 1);
    EXPECT_EQ(ring.DescendantTotal(1), kDeep - 1);
    // Walking up from the last person, person 1's parent is the last person, still in
    // progress: person 1 gets 1, person k gets k.
    EXPECT_EQ(ring.AncestorGenerations(kDeep), kDeep);
    EXPECT_EQ(ring.AncestorGenerations(1), 1);
    EXPECT_EQ(ring.DescendantGenerations(1), kDeep);
    EXPECT_GT(ring.AverageAncestorGenerations(kDeep), 0.0);
    EXPECT_GT(ring.AverageDescendantGenerations(1), 0.0);
}

}  // namespace
}  // namespace kindrel
