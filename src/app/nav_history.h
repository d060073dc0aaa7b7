// The navigation history of the individual scroll bar: back and forward stacks of individual
// numbers and the "previous" individual, with the rules for user moves, programmatic jumps,
// Back and Forward.
#pragma once

#include "containers/int_stack.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kindrel {

class WNavHistory {
  public:
    // Moves the view to an individual and runs the change handler; called by Jump.
    using MoveFunction = std::function<void(int32_t individual)>;

    // A history that moves the view through move.
    explicit WNavHistory(MoveFunction move) : m_move(std::move(move)) {}

    // Empties both stacks; previous becomes the given individual (1 after attaching a file).
    void Reset(int32_t previous = 1);

    // The user moved the scroll bar to individual (live thumb tracking excluded): push the
    // previous individual onto back unless it is already on top, make individual the previous
    // one, clear forward. The move itself has happened already.
    void UserMoved(int32_t individual);

    // A programmatic jump (double click, find, history, start-up): push the previous
    // individual onto back unless it is on top, move, make individual the previous one;
    // forward stays. Numbers of 0 or less are ignored (false).
    bool Jump(int32_t individual);

    // Back: skips a top entry equal to the active individual, then moves to the top of back,
    // pushing the previous individual onto forward. False when nothing moved.
    bool GoBack(int32_t active);
    // Forward: skips a top entry equal to the active individual, then moves to the top of
    // forward, pushing the previous individual onto back. False when nothing moved.
    bool GoForward(int32_t active);

    // The commands are enabled while their stack is not empty.
    bool CanGoBack() const { return !m_back.IsEmpty(); }
    bool CanGoForward() const { return !m_forward.IsEmpty(); }
    // The hints: the stack's numbers from bottom to top, each followed by ",".
    std::string BackText() const { return m_back.AsText(); }
    std::string ForwardText() const { return m_forward.AsText(); }

    // The individual the history takes as the one being left by the next move.
    int32_t Previous() const { return m_previous; }
    // The stacks, for display and tests.
    const WIntStack& Back() const { return m_back; }
    const WIntStack& Forward() const { return m_forward; }

  private:
    // Pushes the previous individual onto back unless it is already the top; true if pushed.
    bool PushPreviousOntoBack();

    MoveFunction m_move;
    WIntStack m_back;
    WIntStack m_forward;
    int32_t m_previous = 1;
};

}  // namespace kindrel
