// Small deterministic random generator for the GEDCOM generator: the same seed gives the same
// sequence on every platform and library version (no std:: distributions involved).
#pragma once

#include <cstdint>

namespace kindrel::gen {

// xoshiro256** seeded through splitmix64; construct with a seed, then draw numbers.
class Rng {
  public:
    // Seeds the four state words from one 64-bit seed.
    explicit Rng(uint64_t seed) {
        uint64_t x = seed;
        for (uint64_t& word : m_state) word = SplitMix(x);
    }

    // Next raw 64-bit value.
    uint64_t Next() {
        const uint64_t result = Rotl(m_state[1] * 5, 7) * 9;
        const uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = Rotl(m_state[3], 45);
        return result;
    }

    // Uniform value in [0, n); n must be at least 1.
    uint32_t Below(uint32_t n) {
        return static_cast<uint32_t>(((Next() >> 32) * static_cast<uint64_t>(n)) >> 32);
    }

    // Uniform value in [lo, hi], both inclusive; lo <= hi.
    int Between(int lo, int hi) {
        return lo + static_cast<int>(Below(static_cast<uint32_t>(hi - lo + 1)));
    }

    // True with a probability of perMille / 1000.
    bool PerMille(uint32_t perMille) { return Below(1000) < perMille; }

  private:
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static uint64_t SplitMix(uint64_t& x) {
        uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    uint64_t m_state[4];
};

}  // namespace kindrel::gen
