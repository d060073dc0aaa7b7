#include "payload/ari_model.h"

#include <cassert>

namespace kindrel {

void TGroupAriModel::Init(int lo, int hi, int limit, int increment) {
    assert(hi >= lo && hi - lo + 1 <= kMaxValues);
    m_values = hi - lo + 1;
    m_slots = m_values + 1;
    m_limit = limit;
    m_increment = increment;
    m_lo = lo;
    m_freq[0] = 0;
    m_cum[0] = m_slots;
    for (int i = 1; i <= m_slots; ++i) {
        m_freq[i] = 1;
        m_cum[i] = m_slots - i;
        m_indexToValue[i] = static_cast<int16_t>(lo + i - 1);
    }
    m_indexToValue[m_slots] = static_cast<int16_t>(lo);  // the extra slot
    for (int v = 0; v < m_values; ++v) m_valueToIndex[v] = static_cast<int16_t>(v + 1);
}

void TGroupAriModel::Update(int index) {
    if (m_cum[0] >= m_limit) {
        // Halve, rounding up so that no used index falls to 0; rebuild the sums from the top.
        int32_t sum = 0;
        for (int j = m_slots; j >= 0; --j) {
            m_freq[j] = (m_freq[j] + 1) / 2;
            m_cum[j] = sum;
            sum += m_freq[j];
        }
    }
    // Index 0 has frequency 0 and every other at least 1, so the walk stops at 1 at the latest.
    int k = index;
    while (m_freq[k] == m_freq[k - 1]) --k;
    if (k < index) {
        const int16_t valueK = m_indexToValue[k];
        const int16_t valueI = m_indexToValue[index];
        m_indexToValue[k] = valueI;
        m_indexToValue[index] = valueK;
        m_valueToIndex[valueI - m_lo] = static_cast<int16_t>(k);
        m_valueToIndex[valueK - m_lo] = static_cast<int16_t>(index);
    }
    m_freq[k] += m_increment;
    for (int j = 0; j < k; ++j) m_cum[j] += m_increment;
}

void THeadAriModel::Reset() {
    m_head.Init(0, kGroups - 1, kHeadLimit, kHeadIncrement);
    for (int g = 2; g < kGroups; ++g) {
        Group(g).Init(0, kGroupHigh[g] - kGroupLow[g], kGroupLimit[g], kGroupIncrement);
    }
}

int THeadAriModel::GroupOf(int value) {
    if (value < 2) return value;
    if (value >= 128) return 8;
    // 2..3 -> 2, 4..7 -> 3, ..., 64..127 -> 7: one more than the position of the top bit.
    return 32 - __builtin_clz(static_cast<unsigned>(value));
}

}  // namespace kindrel
