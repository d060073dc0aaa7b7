#include "containers/int_stack.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

namespace kindrel {
namespace {

TEST(WIntStack, PopAndPeekOnAnEmptyStackGiveZero) {
    WIntStack stack;
    EXPECT_TRUE(stack.IsEmpty());
    EXPECT_EQ(stack.Pop(), 0);
    EXPECT_EQ(stack.Peek(), 0);
    EXPECT_EQ(stack.Peek(1), 0);
    EXPECT_EQ(stack.Count(), 0);
    EXPECT_EQ(stack.AsText(), "");
}

TEST(WIntStack, PoppedSlotsAreReused) {
    WIntStack stack;
    stack.Push(1);
    stack.Push(2);
    EXPECT_EQ(stack.Pop(), 2);
    stack.Push(3);
    EXPECT_EQ(stack.Values().Count(), 2);
    EXPECT_EQ(stack.AsText(), "1,3,");
    EXPECT_EQ(stack.Count(), 2);
}

TEST(WIntStack, PeekCountsFromTheBottomAndZeroIsTheTop) {
    WIntStack stack;
    for (int v : {3, 5, 7}) stack.Push(v);
    EXPECT_EQ(stack.AsText(), "3,5,7,");
    EXPECT_EQ(stack.Peek(), 7);
    EXPECT_EQ(stack.Peek(0), 7);
    EXPECT_EQ(stack.Peek(1), 3);
    EXPECT_EQ(stack.Peek(2), 5);
    EXPECT_EQ(stack.Peek(-1), 0);
    stack.Pop();
    // A popped slot is not on the stack any more.
    EXPECT_EQ(stack.Peek(3), 0);
}

TEST(WIntStack, ContainsSearchesOnlyLiveValues) {
    WIntStack stack;
    stack.Push(10);
    stack.Push(20);
    EXPECT_TRUE(stack.Contains(20));
    stack.Pop();
    EXPECT_FALSE(stack.Contains(20));
    EXPECT_TRUE(stack.Contains(10));
}

TEST(WIntStack, ClearForgetsEverything) {
    WIntStack stack;
    stack.Push(1);
    stack.Push(2);
    stack.Clear();
    EXPECT_TRUE(stack.IsEmpty());
    EXPECT_EQ(stack.Values().Count(), 0);
    stack.Push(9);
    EXPECT_EQ(stack.AsText(), "9,");
}

TEST(WIntFIFO, GetOnAnEmptyQueueLeavesTheValueAlone) {
    WIntFIFO queue;
    std::int32_t v = 123;
    EXPECT_FALSE(queue.Get(v));
    EXPECT_EQ(v, 123);
    EXPECT_EQ(queue.Count(), 0);
}

TEST(WIntFIFO, ValuesComeOutInTheOrderTheyWentIn) {
    WIntFIFO queue;
    for (int v : {4, 8, 15}) queue.Put(v);
    EXPECT_EQ(queue.Count(), 3);
    std::int32_t v = 0;
    for (int want : {4, 8, 15}) {
        ASSERT_TRUE(queue.Get(v));
        EXPECT_EQ(v, want);
    }
    EXPECT_FALSE(queue.Get(v));
}

TEST(WIntFIFO, ReusedSlotsKeepTheOrder) {
    WIntFIFO queue;
    for (int v = 1; v <= 5; ++v) queue.Put(v);  // slots 1..5
    std::int32_t v = 0;
    queue.Get(v);  // frees slot 1
    queue.Get(v);  // frees slot 2
    queue.Put(6);  // slot 1
    queue.Get(v);  // 3: frees slot 3
    queue.Put(7);  // slot 2
    queue.Put(8);  // slot 3
    queue.Put(9);  // slot 6
    EXPECT_EQ(queue.SlotCount(), 6);
    std::vector<std::int32_t> out;
    while (queue.Get(v)) out.push_back(v);
    EXPECT_EQ(out, (std::vector<std::int32_t>{4, 5, 6, 7, 8, 9}));
}

TEST(WIntFIFO, BehavesLikeADequeUnderRandomUse) {
    std::mt19937 random(11);
    WIntFIFO queue;
    std::deque<std::int32_t> model;
    for (int step = 0; step < 20000; ++step) {
        if (random() % 3 != 0) {
            const std::int32_t v = std::int32_t(random());
            queue.Put(v);
            model.push_back(v);
        } else {
            std::int32_t v = -1;
            const bool got = queue.Get(v);
            ASSERT_EQ(got, !model.empty());
            if (got) {
                ASSERT_EQ(v, model.front());
                model.pop_front();
            }
        }
        ASSERT_EQ(queue.Count(), int(model.size()));
    }
}

TEST(WIntFIFO, PutAfterClearStartsAFreshQueue) {
    WIntFIFO queue;
    for (int v : {1, 2, 3}) queue.Put(v);
    queue.Clear();
    EXPECT_EQ(queue.Count(), 0);
    queue.Put(10);
    queue.Put(11);
    std::int32_t v = 0;
    ASSERT_TRUE(queue.Get(v));
    EXPECT_EQ(v, 10);
    ASSERT_TRUE(queue.Get(v));
    EXPECT_EQ(v, 11);
    EXPECT_FALSE(queue.Get(v));
}

}  // namespace
}  // namespace kindrel
