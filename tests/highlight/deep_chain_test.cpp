// The walking rules over a line of a million generations (each person the only child of the
// previous one): ancestors, descendants and the longest lines keep their work on the heap.
#include "fake_collection.h"
#include "highlight/hl_group.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using fake::FakeCollection;
using fake::FakeFamily;
using fake::FakePerson;

// Person k's parent family is k - 1 (husband k - 1), its spouse family k (child k + 1).
// Records are made on request, so a million generations cost no storage.
class LineCollection : public FakeCollection {
  public:
    explicit LineCollection(int32_t n) : m_n(n) {}

    std::unique_ptr<WABSIndividual> GetIndividual(int32_t k) override {
        if (k < 1 || k > m_n) return nullptr;
        auto person = std::make_unique<FakePerson>();
        person->sex = 'M';
        if (k > 1) person->parentFamilies.push_back(k - 1);
        if (k < m_n) person->spouseFamilies.push_back(k);
        return std::make_unique<fake::FakeIndividual>(k, std::move(person));
    }
    std::unique_ptr<WABSMarriage> GetMarriage(int32_t f) override {
        if (f < 1 || f > FamilyCount()) return nullptr;
        auto family = std::make_unique<FakeFamily>();
        family->husband = f;
        family->children.push_back(f + 1);
        return std::make_unique<fake::FakeMarriage>(f, std::move(family));
    }
    int32_t IndividualCount() override { return m_n; }
    int32_t FamilyCount() override { return m_n - 1; }

  private:
    int32_t m_n;
};

constexpr int32_t kDeep = 1000000;

int32_t CountMarked(WHLGroup& group, int32_t count) {
    int32_t marked = 0;
    for (int32_t n = 1; n <= count; ++n) marked += group.IsHighlighted(n) ? 1 : 0;
    return marked;
}

TEST(HLDeepChainTest, AncestorsAndDescendantsOfAMillionGenerations) {
    LineCollection line(kDeep);
    WHLGroup group(&line);
    group.SetConditions("+21:" + std::to_string(kDeep) + "^0");
    group.Recalculate();
    EXPECT_EQ(CountMarked(group, kDeep), kDeep - 1);
    EXPECT_FALSE(group.IsHighlighted(kDeep));

    group.SetConditions("+22:1^0");
    group.Recalculate();
    EXPECT_EQ(CountMarked(group, kDeep), kDeep - 1);
    EXPECT_FALSE(group.IsHighlighted(1));

    group.SetConditions("+22:10^1000");
    group.Recalculate();
    EXPECT_EQ(CountMarked(group, kDeep), 1000);
    EXPECT_TRUE(group.IsHighlighted(1010));
    EXPECT_FALSE(group.IsHighlighted(1011));
}

TEST(HLDeepChainTest, LongestLinesOfAMillionGenerations) {
    LineCollection line(kDeep);
    WHLGroup group(&line);
    group.SetConditions("+95:" + std::to_string(kDeep) + ";O;+96:500000");
    group.Recalculate();
    // Everybody lies on the line up from the last one; the line down from the middle is part.
    EXPECT_EQ(CountMarked(group, kDeep), kDeep);
    EXPECT_TRUE(group.Rule(1)->IsTrue(kDeep));
    EXPECT_FALSE(group.Rule(1)->IsTrue(499999));
}

}  // namespace
}  // namespace kindrel
