#include "payload/crc32.h"

#include <array>
#include <bit>
#include <cstring>

namespace kindrel {

namespace {

// Eight tables: table 0 is the classic byte table; table k advances a byte that sits k
// positions further back, so eight bytes are folded in per step.
constexpr std::array<std::array<uint32_t, 256>, 8> MakeTables() {
    std::array<std::array<uint32_t, 256>, 8> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (int k = 1; k < 8; ++k) {
        for (uint32_t i = 0; i < 256; ++i) t[k][i] = t[0][t[k - 1][i] & 0xFF] ^ (t[k - 1][i] >> 8);
    }
    return t;
}

constexpr auto kTables = MakeTables();

}  // namespace

void TCRC32::Add(uint8_t b) {
    m_register = kTables[0][(m_register ^ b) & 0xFF] ^ (m_register >> 8);
}

void TCRC32::Add(const uint8_t* data, size_t n) {
    uint32_t c = m_register;
    while (n >= 8) {
        uint32_t lo;
        uint32_t hi;
        std::memcpy(&lo, data, 4);
        std::memcpy(&hi, data + 4, 4);
        if constexpr (std::endian::native == std::endian::big) {
            lo = __builtin_bswap32(lo);
            hi = __builtin_bswap32(hi);
        }
        lo ^= c;
        c = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
            kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
            kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
        data += 8;
        n -= 8;
    }
    while (n-- > 0) c = kTables[0][(c ^ *data++) & 0xFF] ^ (c >> 8);
    m_register = c;
}

uint32_t TCRC32::Of(const void* data, size_t n) {
    TCRC32 crc;
    crc.Add(static_cast<const uint8_t*>(data), n);
    return crc.Value();
}

}  // namespace kindrel
