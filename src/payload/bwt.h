// The Burrows-Wheeler transform with an end-of-block sentinel that sorts before byte 0.
#pragma once

#include <cstdint>

namespace kindrel {

// Forward and inverse transform. For n bytes s the transformed block L has n + 1 positions:
// row r of the sorted rotations of s + sentinel ends with L[r]. The sentinel position is the
// row of the rotation that starts at s[0] (so L holds the sentinel there); the start index
// is the row of the rotation that starts at s[1], from which the inverse walk
// (output L[idx], idx = T[idx], n times) gives s[0], s[1], ... in order.
class TBWTBase {
  public:
    // Transforms data[0..n). suffixArray has room for n entries (work space); last receives
    // the n bytes of L without the sentinel. Throws std::bad_alloc if the suffix sort fails.
    static void ForwardTransform(const uint8_t* data, int n, int32_t* suffixArray, uint8_t* last,
                                 int32_t& startIndex, int32_t& sentinelPosition);

    // Inverts a transform. last holds the n + 1 positions of L (the byte at sentinelPosition
    // is ignored by valid blocks; it must be set); 0 <= startIndex, sentinelPosition <= n.
    // vector and backVector have room for n + 1 entries each; out receives n bytes, exactly
    // those of the walk above whatever L holds.
    static void InverseTransform(const uint8_t* last, int n, int sentinelPosition, int startIndex,
                                 uint32_t* vector, uint32_t* backVector, uint8_t* out);
};

}  // namespace kindrel
