// The adaptive frequency models of the structured arithmetic coder: one model per group of
// symbol values and a head model that picks the group.
#pragma once

#include <array>
#include <cstdint>

namespace kindrel {

// Adaptive frequency model over the values lo..hi. Index i (1..n) stands for a value; the
// indexes drift so that frequent values sit low. One extra index N = n + 1 stands for lo and
// is never coded, yet it takes part in every frequency sum. Cum(i) is the sum of the
// frequencies of all indexes above i, so Cum(0) is the total.
class TGroupAriModel {
  public:
    static constexpr int kMaxValues = 130;

    TGroupAriModel() = default;
    // A fresh model over lo..hi (at most kMaxValues values) that halves its frequencies when
    // the total reaches limit and adds increment per coded index.
    TGroupAriModel(int lo, int hi, int limit, int increment) { Init(lo, hi, limit, increment); }
    // Starts the model afresh: every index has frequency 1, index i stands for lo + i - 1.
    void Init(int lo, int hi, int limit, int increment);

    // Number of values, n.
    int Values() const { return m_values; }
    // Number of index slots, N = n + 1.
    int Slots() const { return m_slots; }
    // Sum of all frequencies.
    int32_t Total() const { return m_cum[0]; }
    // Sum of the frequencies of the indexes above i (0 <= i <= N).
    int32_t Cum(int i) const { return m_cum[i]; }
    // Frequency of index i (0 <= i <= N; index 0 always has 0).
    int32_t Freq(int i) const { return m_freq[i]; }
    // The value that index i (1..N) stands for.
    int ValueOf(int index) const { return m_indexToValue[index]; }
    // The index (1..n) that stands for value (lo..hi).
    int IndexOf(int value) const { return m_valueToIndex[value - m_lo]; }
    // The smallest index i >= 1 with Cum(i) <= target; target must be below Total().
    int FindIndex(int32_t target) const {
        int i = 1;
        while (m_cum[i] > target) ++i;
        return i;
    }
    // Counts one occurrence of index i: halves the frequencies first when the total has
    // reached the limit, moves the value to the lowest index of equal frequency, adds the
    // increment there.
    void Update(int index);

  private:
    int m_values = 0;
    int m_slots = 0;
    int m_limit = 0;
    int m_increment = 0;
    int m_lo = 0;
    std::array<int32_t, kMaxValues + 2> m_freq{};
    std::array<int32_t, kMaxValues + 2> m_cum{};
    std::array<int16_t, kMaxValues + 2> m_indexToValue{};
    std::array<int16_t, kMaxValues + 1> m_valueToIndex{};
};

// The structured model over the 258 symbol values: a head model picks one of nine groups by
// magnitude, and groups 2 to 8 have a model of their own for the offset inside the group.
// Values: 0 and 1 are zero-run digits, 2..256 move-to-front indexes 1..255, 257 ends a block.
class THeadAriModel {
  public:
    static constexpr int kGroups = 9;
    static constexpr int kEndOfBlock = 257;

    // A fresh set of models.
    THeadAriModel() { Reset(); }
    // Starts every model afresh.
    void Reset();

    // The model over the group numbers 0..8.
    TGroupAriModel& Head() { return m_head; }
    // The model of group g (2..8) over the offsets 0..size-1.
    TGroupAriModel& Group(int g) { return m_groups[g - 2]; }

    // The group of a symbol value (0..257).
    static int GroupOf(int value);
    // The lowest value of group g.
    static int GroupLow(int g) { return kGroupLow[g]; }

    static constexpr std::array<int, kGroups> kGroupLow = {0, 1, 2, 4, 8, 16, 32, 64, 128};
    static constexpr std::array<int, kGroups> kGroupHigh = {0, 1, 3, 7, 15, 31, 63, 127, 257};
    static constexpr std::array<int, kGroups> kGroupLimit = {0,    0,    256,  256, 128,
                                                             1024, 2048, 4096, 8192};
    static constexpr int kHeadLimit = 4096;
    static constexpr int kHeadIncrement = 32;
    static constexpr int kGroupIncrement = 1;

  private:
    TGroupAriModel m_head;
    std::array<TGroupAriModel, kGroups - 2> m_groups;
};

}  // namespace kindrel
