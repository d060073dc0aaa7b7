// CRC-32 with the reflected polynomial 0xEDB88320 (the CRC of zlib and PKZIP).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kindrel {

// Running CRC-32: Reset, Add bytes, read Value.
class TCRC32 {
  public:
    // Starts a new checksum (register 0xFFFFFFFF).
    void Reset() { m_register = 0xFFFFFFFFu; }
    // Adds one byte.
    void Add(uint8_t b);
    // Adds n bytes.
    void Add(const uint8_t* data, size_t n);
    // The checksum of the bytes added so far.
    uint32_t Value() const { return ~m_register; }

    // The checksum of n bytes.
    static uint32_t Of(const void* data, size_t n);

  private:
    uint32_t m_register = 0xFFFFFFFFu;
};

}  // namespace kindrel
