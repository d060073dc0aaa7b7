#include "payload/struc_ari_encoder.h"

namespace kindrel {

namespace {

constexpr uint32_t kTop = 65535;
constexpr uint32_t kFirstQuarter = 16384;
constexpr uint32_t kHalf = 32768;
constexpr uint32_t kThirdQuarter = 49152;

}  // namespace

void TStrucAriEncoder::Start(std::vector<uint8_t>& out) {
    m_out = &out;
    m_model.Reset();
    m_low = 0;
    m_high = kTop;
    m_pending = 0;
    m_shifts = 0;
    m_current = 0;
    m_bitsInCurrent = 0;
}

void TStrucAriEncoder::EncodeValue(int value) {
    const int group = THeadAriModel::GroupOf(value);
    EncodeWith(m_model.Head(), m_model.Head().IndexOf(group));
    if (group > 1) {
        TGroupAriModel& model = m_model.Group(group);
        EncodeWith(model, model.IndexOf(value - THeadAriModel::GroupLow(group)));
    }
}

void TStrucAriEncoder::EncodeWith(TGroupAriModel& model, int index) {
    const uint32_t range = m_high - m_low + 1;
    const uint32_t total = static_cast<uint32_t>(model.Total());
    uint32_t low = m_low;
    uint32_t high = low + (range * static_cast<uint32_t>(model.Cum(index - 1))) / total - 1;
    low = low + (range * static_cast<uint32_t>(model.Cum(index))) / total;
    for (;;) {
        if (high < kHalf) {
            BitPlusFollow(0);
        } else if (low >= kHalf) {
            BitPlusFollow(1);
            low -= kHalf;
            high -= kHalf;
        } else if (low >= kFirstQuarter && high < kThirdQuarter) {
            ++m_pending;
            low -= kFirstQuarter;
            high -= kFirstQuarter;
        } else {
            break;
        }
        low = 2 * low;
        high = 2 * high + 1;
        ++m_shifts;
    }
    m_low = low;
    m_high = high;
    model.Update(index);
}

void TStrucAriEncoder::Finish() {
    // Two more bits pick a quarter that lies wholly inside [low, high]; whatever follows them
    // (the decoder reads zero bytes past the coded data) keeps the code value inside.
    ++m_pending;
    BitPlusFollow(m_low < kFirstQuarter ? 0 : 1);
    while (m_bitsInCurrent != 0) PutBit(0);
    m_out = nullptr;
}

}  // namespace kindrel
