// The navigation history's rules for moves, jumps, Back and Forward.
#include "app/nav_history.h"

#include <gtest/gtest.h>

#include <vector>

namespace kindrel {
namespace {

// A history over a pretend scroll bar that records where it was moved.
struct History {
    int32_t active = 1;
    std::vector<int32_t> moves;
    WNavHistory history{[this](int32_t n) {
        active = n;
        moves.push_back(n);
    }};
    void UserMove(int32_t n) {
        active = n;
        history.UserMoved(n);
    }
};

TEST(NavHistory, JumpsPushThePreviousIndividualOnce) {
    History h;
    EXPECT_TRUE(h.history.Jump(4));
    EXPECT_TRUE(h.history.Jump(10));
    EXPECT_EQ(h.history.BackText(), "1,4,");
    EXPECT_EQ(h.active, 10);
    EXPECT_EQ(h.history.Previous(), 10);
    EXPECT_FALSE(h.history.CanGoForward());
}

TEST(NavHistory, JumpsToNothingAreIgnored) {
    History h;
    EXPECT_FALSE(h.history.Jump(0));
    EXPECT_FALSE(h.history.Jump(-3));
    EXPECT_TRUE(h.moves.empty());
    EXPECT_FALSE(h.history.CanGoBack());
}

TEST(NavHistory, BackAndForwardRetraceTheJumps) {
    History h;
    h.history.Jump(4);
    h.history.Jump(10);
    h.history.Jump(20);
    ASSERT_TRUE(h.history.GoBack(h.active));
    EXPECT_EQ(h.active, 10);
    EXPECT_EQ(h.history.BackText(), "1,4,");
    EXPECT_EQ(h.history.ForwardText(), "20,");
    ASSERT_TRUE(h.history.GoBack(h.active));
    EXPECT_EQ(h.active, 4);
    EXPECT_EQ(h.history.BackText(), "1,");
    EXPECT_EQ(h.history.ForwardText(), "20,10,");
    ASSERT_TRUE(h.history.GoForward(h.active));
    EXPECT_EQ(h.active, 10);
    EXPECT_EQ(h.history.BackText(), "1,4,");
    EXPECT_EQ(h.history.ForwardText(), "20,");
    ASSERT_TRUE(h.history.GoForward(h.active));
    EXPECT_EQ(h.active, 20);
    EXPECT_FALSE(h.history.CanGoForward());
    EXPECT_FALSE(h.history.GoForward(h.active));
}

TEST(NavHistory, BackWithTheActiveIndividualOnTopSkipsIt) {
    History h;
    h.history.Jump(4);
    h.history.Jump(7);
    h.history.Jump(7);  // pushes 7 itself
    EXPECT_EQ(h.history.BackText(), "1,4,7,");
    ASSERT_TRUE(h.history.GoBack(h.active));
    EXPECT_EQ(h.active, 4);
    EXPECT_EQ(h.history.BackText(), "1,");
}

TEST(NavHistory, BackWithOnlyTheActiveIndividualDoesNothingButDropIt) {
    History h;
    h.history.Jump(1);  // start individual 1: back holds 1 while 1 is active
    EXPECT_EQ(h.history.BackText(), "1,");
    EXPECT_FALSE(h.history.GoBack(h.active));
    EXPECT_FALSE(h.history.CanGoBack());
    EXPECT_EQ(h.active, 1);
    EXPECT_FALSE(h.history.CanGoForward());
}

TEST(NavHistory, EmptyStacksDoNothing) {
    History h;
    EXPECT_FALSE(h.history.GoBack(h.active));
    EXPECT_FALSE(h.history.GoForward(h.active));
    EXPECT_TRUE(h.moves.empty());
}

TEST(NavHistory, UserMovesClearForward) {
    History h;
    h.history.Jump(4);
    h.history.Jump(10);
    h.history.GoBack(h.active);
    EXPECT_TRUE(h.history.CanGoForward());
    h.UserMove(5);
    EXPECT_FALSE(h.history.CanGoForward());
    EXPECT_EQ(h.history.BackText(), "1,4,");
    EXPECT_EQ(h.history.Previous(), 5);
    ASSERT_TRUE(h.history.GoBack(h.active));
    EXPECT_EQ(h.active, 4);
}

TEST(NavHistory, JumpsKeepForward) {
    History h;
    h.history.Jump(4);
    h.history.Jump(10);
    h.history.GoBack(h.active);
    h.history.Jump(30);
    EXPECT_EQ(h.history.ForwardText(), "10,");
    EXPECT_EQ(h.history.BackText(), "1,4,");
}

TEST(NavHistory, BackKeepsAnEntryItsJumpDidNotPush) {
    // At 3, the user moves to 7 and back to 3: back holds 3, 7. Back to 7 must leave 3 on the
    // back stack, as the jump to 7 pushed nothing to be discarded.
    History h;
    h.UserMove(3);
    h.UserMove(7);
    h.UserMove(3);
    EXPECT_EQ(h.history.BackText(), "1,3,7,");
    ASSERT_TRUE(h.history.GoBack(h.active));
    EXPECT_EQ(h.active, 7);
    EXPECT_EQ(h.history.BackText(), "1,3,");
    ASSERT_TRUE(h.history.GoBack(h.active));
    EXPECT_EQ(h.active, 3);
    EXPECT_EQ(h.history.ForwardText(), "3,7,");
}

TEST(NavHistory, ForwardWithTheActiveIndividualOnTopSkipsIt) {
    History h;
    h.history.Jump(4);
    h.history.Jump(10);
    h.history.GoBack(h.active);  // active 4, forward 10
    h.history.Jump(10);          // forward stays 10, active 10
    ASSERT_FALSE(h.history.GoForward(h.active));
    EXPECT_FALSE(h.history.CanGoForward());
    EXPECT_EQ(h.active, 10);
}

TEST(NavHistory, ResetForgetsBothStacks) {
    History h;
    h.history.Jump(4);
    h.history.Jump(10);
    h.history.GoBack(h.active);
    h.history.Reset(1);
    EXPECT_FALSE(h.history.CanGoBack());
    EXPECT_FALSE(h.history.CanGoForward());
    EXPECT_EQ(h.history.Previous(), 1);
}

}  // namespace
}  // namespace kindrel
