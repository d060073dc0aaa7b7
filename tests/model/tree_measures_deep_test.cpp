// The tree measures over a line of a million generations: the walks use work stacks of their
// own, so depth costs heap, not the call stack.
#include "line_collection.h"
#include "model/collection.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {


using fake::LineCollection;

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
