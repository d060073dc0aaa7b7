#include "payload/block_encoder.h"

#include "payload/blokar_compress.h"
#include "payload/crc32.h"

#include <stdexcept>

namespace kindrel {

void TBlockEncoder::EncodeRun(int64_t run) {
    while (run > 0) {
        if (run & 1) {
            m_coder.EncodeValue(0);
            run = (run - 1) / 2;
        } else {
            m_coder.EncodeValue(1);
            run = (run - 2) / 2;
        }
    }
}

TDataBlockHeader TBlockEncoder::EncodeBlock(const uint8_t* data, int n,
                                            std::vector<uint8_t>& coded) {
    if (n < 0 || n > kMaxBlockBytes) throw std::length_error("block too long");
    if (!m_suffixArray) {
        m_suffixArray = std::make_unique_for_overwrite<int32_t[]>(kMaxBlockBytes);
        m_last = std::make_unique_for_overwrite<uint8_t[]>(kMaxBlockBytes);
    }
    int32_t startIndex = 0;
    int32_t sentinelPosition = 0;
    ForwardTransform(data, n, m_suffixArray.get(), m_last.get(), startIndex, sentinelPosition);

    coded.clear();
    coded.reserve(static_cast<size_t>(n) / 3 + 64);
    m_coder.Start(coded);
    m_mtf.Reset();
    const uint8_t* last = m_last.get();
    int64_t run = 0;
    for (int i = 0; i < n; ++i) {
        const int index = m_mtf.Encode(last[i]);
        if (index == 0) {
            ++run;
            continue;
        }
        if (run > 0) {
            EncodeRun(run);
            run = 0;
        }
        m_coder.EncodeValue(index + 1);
    }
    if (run > 0) EncodeRun(run);
    m_coder.EncodeValue(THeadAriModel::kEndOfBlock);
    m_coder.Finish();

    return TDataBlockHeader(TCRC32::Of(data, static_cast<size_t>(n)),
                            static_cast<int32_t>(coded.size()), startIndex, sentinelPosition);
}

}  // namespace kindrel
