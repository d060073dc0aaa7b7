// An integer stack and an integer queue over WIntArray, both reusing their slots.
#pragma once

#include "containers/int_array.h"

#include <cstdint>
#include <string>

namespace kindrel {

// Stack of 32-bit integers. Popped slots stay in the values array and are reused by later
// pushes. Positions for Peek count from the bottom (1 = oldest).
class WIntStack {
  public:
    // An empty stack.
    WIntStack() = default;

    // Pushes v, reusing a slot left by an earlier Pop when there is one.
    void Push(std::int32_t v);
    // Removes and returns the top value; 0 (and no change) when empty.
    std::int32_t Pop();
    // Value at position n from the bottom, the top for n = 0; 0 when n is not a live position.
    std::int32_t Peek(int n = 0) const;
    // True when no value is on the stack.
    bool IsEmpty() const noexcept { return m_depth <= 0; }
    // Removes every value and the reusable slots.
    void Clear();
    // Number of values on the stack.
    int Count() const noexcept { return m_depth; }
    // True when v is on the stack.
    bool Contains(std::int32_t v) const;
    // The values from bottom to top, each followed by ","; empty text when empty.
    std::string AsText() const;
    // The slot array (its count is the high-water mark of the stack).
    const WIntArray& Values() const noexcept { return m_values; }

  private:
    WIntArray m_values;
    int m_depth = 0;
    int m_highWater = 0;
};

// First-in first-out queue of 32-bit integers: a linked list threaded through two parallel
// arrays; slots freed by Get are reused (lowest free slot first) by later Puts.
class WIntFIFO {
  public:
    // Link value of the newest element.
    static constexpr std::int32_t kTailLink = INT32_MAX;

    // An empty queue.
    WIntFIFO() = default;

    // Queues v.
    void Put(std::int32_t v);
    // Takes the oldest value into v and returns true; returns false (v untouched) when empty.
    bool Get(std::int32_t& v);
    // Empties the queue and frees every slot.
    void Clear();
    // Number of queued values.
    int Count() const noexcept { return m_count; }
    // Number of slots the queue has used so far (for tests of slot reuse).
    int SlotCount() const noexcept { return m_values.RecordCount(); }

  private:
    WIntArray m_values;
    WIntArray m_links;
    int m_count = 0;
    int m_head = 0;
    int m_tail = 0;
    // Every slot below this one is in use; the search for a free slot starts here.
    int m_freeHint = 1;
};

}  // namespace kindrel
