// Islands, descendant walks and relationships over a line of a million generations (each
// person the only child of the previous one) and over a line closed into a loop: every walk
// keeps its work on the heap, so depth costs no call stack.
#include "analysis/des_iterator.h"
#include "analysis/islands.h"
#include "analysis/rel_calc.h"
#include "line_collection.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {


using fake::LineCollection;

constexpr int32_t kDeep = 1000000;

TEST(DeepChainTest, IslandOfAMillionGenerations) {
    LineCollection line(kDeep, false);
    WIslands& islands = WIslands::Of(line);
    ASSERT_EQ(islands.CalculateIslands(), 1);
    EXPECT_EQ(islands.IslandSize(1), kDeep);
    EXPECT_EQ(islands.IslandFamilyCount(1), kDeep - 1);
    EXPECT_EQ(islands.IslandFirstIndividual(1), 1);
    EXPECT_EQ(islands.IslandOf(kDeep), 1);
    islands.UseIsland(1);
    EXPECT_EQ(line.ViewCount(), kDeep);
    EXPECT_EQ(line.IndividualToView(kDeep), kDeep);
    EXPECT_EQ(line.ViewToIndividual(kDeep / 2), kDeep / 2);
}

TEST(DeepChainTest, IslandOfAMillionLongLoop) {
    LineCollection ring(kDeep, true);
    WIslands& islands = WIslands::Of(ring);
    ASSERT_EQ(islands.CalculateIslands(), 1);
    EXPECT_EQ(islands.IslandSize(1), kDeep);
    EXPECT_EQ(islands.IslandFamilyCount(1), kDeep);
}

TEST(DeepChainTest, DescendantWalksStopAtTheGenerationLimit) {
    LineCollection line(kDeep, false);
    WDesIterator walk;
    walk.SetCollection(&line);
    for (const bool repeat : {true, false}) {
        // No limit above 255 exists: 0 stands for 255.
        ASSERT_TRUE(walk.Start(1, 0, repeat));
        EXPECT_EQ(walk.Count(), 256);
        EXPECT_EQ(walk.DescendantCount(), 255);
        EXPECT_EQ(walk.RecordOf(256).individual, 256);
        EXPECT_EQ(walk.RecordOf(256).generation, 255);
        ASSERT_TRUE(walk.Start(kDeep - 10, 255, repeat));
        EXPECT_EQ(walk.Count(), 11);
        EXPECT_EQ(walk.DescendantCount(), 10);
    }
    ASSERT_TRUE(walk.Start(1, 32, false));
    EXPECT_EQ(walk.Count(), 33);
}

TEST(DeepChainTest, DescendantWalkRoundALoop) {
    LineCollection ring(100, true);
    WDesIterator walk;
    walk.SetCollection(&ring);
    for (const bool repeat : {true, false}) {
        ASSERT_TRUE(walk.Start(1, 255, repeat));
        ASSERT_EQ(walk.Count(), 101);
        EXPECT_EQ(walk.RecordOf(101).individual, 1);
        EXPECT_EQ(walk.RecordOf(101).duplicate, 1);
        EXPECT_EQ(walk.DescendantCount(), 99);
    }
}

TEST(DeepChainTest, RelationshipsAcrossAMillionGenerations) {
    LineCollection line(kDeep, false);
    WRelCalc calc(&line);
    EXPECT_EQ(calc.Relationship(kDeep, 1), "999997G Grand Father");
    EXPECT_EQ(calc.ReferenceCount(), kDeep - 1);
    EXPECT_EQ(calc.Relationship(kDeep, kDeep - 1), "Father");
    EXPECT_EQ(calc.CommonAncestorName(kDeep, kDeep - 1, true), "");
    EXPECT_EQ(calc.Relationship(1, kDeep), "999997G Grand Son");
    EXPECT_EQ(calc.OtherCount(), kDeep - 1);
    EXPECT_EQ(calc.Relationship(kDeep / 2, kDeep), "499998G Grand Son");
}

TEST(DeepChainTest, RelationshipsRoundAMillionLongLoop) {
    LineCollection ring(kDeep, true);
    WRelCalc calc(&ring);
    EXPECT_EQ(calc.Relationship(kDeep, 1), "999997G Grand Father");
    EXPECT_EQ(calc.Relationship(1, kDeep), "Father");
    EXPECT_EQ(calc.Relationship(2, 1), "Father");
}

}  // namespace
}  // namespace kindrel
