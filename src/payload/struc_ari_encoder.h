// Encoder of the structured adaptive arithmetic code: the exact inverse of TStrucAriDecoder,
// with the same models, updates and 16-bit interval arithmetic.
#pragma once

#include "payload/ari_model.h"

#include <cstdint>
#include <vector>

namespace kindrel {

// Encodes symbol values 0..257 into bytes, most significant bit first.
class TStrucAriEncoder {
  public:
    // Starts a block whose coded bytes are appended to out (kept until Finish).
    void Start(std::vector<uint8_t>& out);
    // Encodes one symbol value, 0..257.
    void EncodeValue(int value);
    // Writes the bits that settle the last interval and pads the last byte with zeros.
    void Finish();
    // The number of interval doublings so far; the decoder reads 16 more bits than this.
    int64_t Shifts() const { return m_shifts; }

  private:
    void EncodeWith(TGroupAriModel& model, int index);
    void PutBit(uint32_t bit) {
        m_current = static_cast<uint8_t>((m_current << 1) | bit);
        if (++m_bitsInCurrent == 8) {
            m_out->push_back(m_current);
            m_bitsInCurrent = 0;
            m_current = 0;
        }
    }
    // Writes bit, then the pending opposite bits of the straddling steps.
    void BitPlusFollow(uint32_t bit) {
        PutBit(bit);
        for (; m_pending > 0; --m_pending) PutBit(bit ^ 1);
    }

    uint32_t m_low = 0;
    uint32_t m_high = 65535;
    int64_t m_pending = 0;
    int64_t m_shifts = 0;
    uint8_t m_current = 0;
    int m_bitsInCurrent = 0;
    std::vector<uint8_t>* m_out = nullptr;
    THeadAriModel m_model;
};

}  // namespace kindrel
