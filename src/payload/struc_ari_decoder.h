// Decoder of the structured adaptive arithmetic code (16-bit code values).
#pragma once

#include "payload/ari_model.h"
#include "payload/bit_file.h"

#include <cstdint>

namespace kindrel {

// Arithmetic decoder state and models. Derived supplies NextBit() and NextBits(n), the coded
// bits most significant first (static polymorphism keeps the per-bit call inline).
template <class Derived>
class TStrucAriDecoder {
  public:
    static constexpr uint32_t kTop = 65535;
    static constexpr uint32_t kFirstQuarter = 16384;
    static constexpr uint32_t kHalf = 32768;
    static constexpr uint32_t kThirdQuarter = 49152;

    // Starts a block: fresh models, the first 16 code bits, the full interval.
    void Start() {
        m_model.Reset();
        m_value = static_cast<uint32_t>(Self().NextBits(16));
        m_low = 0;
        m_high = kTop;
    }
    // Decodes one symbol value, 0..257.
    int DecodeValue() {
        const int group = DecodeWith(m_model.Head());
        if (group > 1) return DecodeWith(m_model.Group(group)) + THeadAriModel::GroupLow(group);
        return group;
    }
    // Ends a block.
    void Finish() {}

  protected:
    // Decodes one value with one model and updates the model.
    int DecodeWith(TGroupAriModel& model) {
        uint32_t low = m_low;
        uint32_t high = m_high;
        uint32_t value = m_value;
        const uint32_t range = high - low + 1;
        const uint32_t total = static_cast<uint32_t>(model.Total());
        // low <= value <= high holds for every input, so target < total and the search ends
        // at the latest at index N, whose Cum is 0.
        const auto target = static_cast<int32_t>(((value - low + 1) * total - 1) / range);
        const int index = model.FindIndex(target);
        high = low + (range * static_cast<uint32_t>(model.Cum(index - 1))) / total - 1;
        low = low + (range * static_cast<uint32_t>(model.Cum(index))) / total;
        for (;;) {
            if (high < kHalf) {
                // nothing to subtract
            } else if (low >= kHalf) {
                value -= kHalf;
                low -= kHalf;
                high -= kHalf;
            } else if (low >= kFirstQuarter && high < kThirdQuarter) {
                value -= kFirstQuarter;
                low -= kFirstQuarter;
                high -= kFirstQuarter;
            } else {
                break;
            }
            low = 2 * low;
            high = 2 * high + 1;
            value = 2 * value + static_cast<uint32_t>(Self().NextBit());
        }
        m_low = low;
        m_high = high;
        m_value = value;
        const int decoded = model.ValueOf(index);
        model.Update(index);
        return decoded;
    }

    Derived& Self() { return static_cast<Derived&>(*this); }

    uint32_t m_low = 0;
    uint32_t m_high = kTop;
    uint32_t m_value = 0;
    THeadAriModel m_model;
};

// The decoder that reads its bits from an archive file.
class TFileStrucAriDecoder : public TStrucAriDecoder<TFileStrucAriDecoder> {
  public:
    // Reads the following bits from file (DecodeBlock does this itself).
    void Attach(TBitFile& file) { m_file = &file; }
    // The next coded bit.
    int NextBit() { return m_file->ReadBit(); }
    // The next n coded bits, the first the most significant.
    int NextBits(int n) { return m_file->ReadBits(n); }

    // Decodes one block's symbols from file (whose byte limit is set) into move-to-front
    // indexes, expanding the zero runs; answers the number of indexes. Throws EBlockError
    // ("Block <blockNumber>: ...") before more than maxLength indexes would be written, and
    // EBitOverrun when the coded data runs out.
    int DecodeBlock(TBitFile& file, uint8_t* indexes, int maxLength, int blockNumber);

  private:
    TBitFile* m_file = nullptr;
};

}  // namespace kindrel
