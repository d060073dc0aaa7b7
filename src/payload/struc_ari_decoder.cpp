#include "payload/struc_ari_decoder.h"

#include <cstring>

namespace kindrel {

namespace {

[[noreturn]] void TooLong(int blockNumber, int maxLength) {
    throw EBlockError("Block " + std::to_string(blockNumber) + ": the coded data expands past " +
                      std::to_string(maxLength) + " bytes");
}

}  // namespace

int TFileStrucAriDecoder::DecodeBlock(TBitFile& file, uint8_t* indexes, int maxLength,
                                      int blockNumber) {
    m_file = &file;
    file.ResetBits();
    Start();
    int count = 0;
    int v = DecodeValue();
    while (v != THeadAriModel::kEndOfBlock) {
        if (v > 1) {
            if (count >= maxLength) TooLong(blockNumber, maxLength);
            indexes[count++] = static_cast<uint8_t>(v - 1);
            v = DecodeValue();
            continue;
        }
        // A zero run in bijective base 2, least significant digit first: digit 0 adds the
        // weight, digit 1 twice the weight.
        int64_t run = 0;
        int64_t weight = 1;
        do {
            run += v == 0 ? weight : 2 * weight;
            weight *= 2;
            if (count + run > maxLength) TooLong(blockNumber, maxLength);
            v = DecodeValue();
        } while (v <= 1);
        std::memset(indexes + count, 0, static_cast<size_t>(run));
        count += static_cast<int>(run);
    }
    Finish();
    file.ResetBits();
    m_file = nullptr;
    return count;
}

}  // namespace kindrel
