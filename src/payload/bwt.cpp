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
                                uint32_t* vector, uint32_t* backVector, uint8_t* out) {
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
    // in one load. backVector is the way back: backVector[q] = (r << 8) | L[r] where T[r] = q.
    vector[0] = static_cast<uint32_t>(sentinelPosition) << 8 | last[sentinelPosition];
    backVector[sentinelPosition] = last[0];
    for (int q = 0; q <= n; ++q) {
        if (q == sentinelPosition) continue;
        const uint8_t b = last[q];
        const uint32_t row = next[b]++;
        vector[row] = static_cast<uint32_t>(q) << 8 | b;
        backVector[q] = row << 8 | last[row];
    }

    // The walk is one long chain of dependent loads that miss the cache. A valid block's walk
    // ends at row 0 (the rotation that starts with the sentinel), so the second half is
    // walked backwards from row 0 at the same time, and the two chains' loads overlap. Where
    // the halves meet they must agree; if they do not (a damaged block), the second half is
    // walked forwards after all, so the bytes are always those of the forward walk.
    const int half = n / 2;
    uint32_t forward = static_cast<uint32_t>(startIndex);
    uint32_t backward = 0;
    if (half > 0) out[0] = last[forward];
    out[n - 1] = last[0];
    int j = 1;
    int k = n - 2;
    for (; j < half && k >= half; ++j, --k) {
        const uint32_t f = vector[forward];
        const uint32_t b = backVector[backward];
        forward = f >> 8;
        backward = b >> 8;
        out[j] = static_cast<uint8_t>(f);
        out[k] = static_cast<uint8_t>(b);
    }
    for (; j < half; ++j) {
        const uint32_t f = vector[forward];
        forward = f >> 8;
        out[j] = static_cast<uint8_t>(f);
    }
    for (; k >= half; --k) {
        const uint32_t b = backVector[backward];
        backward = b >> 8;
        out[k] = static_cast<uint8_t>(b);
    }
    const uint32_t meeting = half > 0 ? vector[forward] >> 8 : static_cast<uint32_t>(startIndex);
    if (meeting != backward) {
        forward = meeting;
        out[half] = last[forward];
        for (j = half + 1; j < n; ++j) {
            const uint32_t f = vector[forward];
            forward = f >> 8;
            out[j] = static_cast<uint8_t>(f);
        }
    }
}

}  // namespace kindrel
