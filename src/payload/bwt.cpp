#include "payload/bwt.h"

#include <divsufsort.h>

#include <new>

namespace kindrel {

void TBWTBase::ForwardTransform(const uint8_t* data, int n, int32_t* suffixArray, uint8_t* last,
                                int32_t& startIndex, int32_t& sentinelPosition) {
    startIndex = 0;
    sentinelPosition = 0;
    if (n == 0) return;
    if (divsufsort(data, suffixArray, n) != 0) throw std::bad_alloc();
    // The sentinel is unique and smallest, so sorting rotations of s + sentinel is sorting its
    // suffixes: row 0 is the sentinel alone, row r >= 1 the suffix at suffixArray[r - 1].
    last[0] = data[n - 1];
    int w = 1;
    for (int r = 1; r <= n; ++r) {
        const int32_t suffix = suffixArray[r - 1];
        if (suffix == 0) {
            sentinelPosition = r;
            continue;
        }
        if (suffix == 1) startIndex = r;
        last[w++] = data[suffix - 1];
    }
    // With n == 1 the rotation at s[1] is the sentinel's own row 0: startIndex stays 0.
}

void TBWTBase::InverseTransform(const uint8_t* last, int n, int sentinelPosition, int startIndex,
                                uint32_t* vector, uint8_t* out) {
    if (n == 0) return;
    uint32_t count[256] = {};
    for (int q = 0; q <= n; ++q) ++count[last[q]];
    --count[last[sentinelPosition]];
    // First rows of each byte value: the sentinel takes row 0, byte b starts after all smaller.
    uint32_t next[256];
    uint32_t sum = 1;
    for (int b = 0; b < 256; ++b) {
        next[b] = sum;
        sum += count[b];
    }
    // vector[row] = (T[row] << 8) | L[T[row]]: the next row of the walk and the byte it gives,
    // in one load.
    vector[0] = static_cast<uint32_t>(sentinelPosition) << 8 | last[sentinelPosition];
    for (int q = 0; q < sentinelPosition; ++q) {
        const uint8_t b = last[q];
        vector[next[b]++] = static_cast<uint32_t>(q) << 8 | b;
    }
    for (int q = sentinelPosition + 1; q <= n; ++q) {
        const uint8_t b = last[q];
        vector[next[b]++] = static_cast<uint32_t>(q) << 8 | b;
    }
    uint32_t idx = static_cast<uint32_t>(startIndex);
    out[0] = last[idx];
    for (int j = 1; j < n; ++j) {
        const uint32_t e = vector[idx];
        idx = e >> 8;
        out[j] = static_cast<uint8_t>(e);
    }
}

}  // namespace kindrel
