// Move-to-front coding of bytes: each byte becomes its position in a list of all 256 byte
// values, and moves to the front of the list.
#pragma once

#include <array>
#include <cstdint>

namespace kindrel {

// The move-to-front list, position -> byte value.
class TMTFBase {
  public:
    // Back to the identity list (position p holds byte p).
    void Reset() {
        for (int i = 0; i < 256; ++i) m_list[i] = static_cast<uint8_t>(i);
    }
    // The byte at a position of the list.
    uint8_t At(int position) const { return m_list[position]; }

  protected:
    // Moves the byte at position to the front, the bytes before it one place back.
    void MoveToFront(int position) {
        const uint8_t b = m_list[position];
        for (int i = position; i > 0; --i) m_list[i] = m_list[i - 1];
        m_list[0] = b;
    }

    std::array<uint8_t, 256> m_list{};
};

// Turns positions back into bytes.
class TMTFDecoder : public TMTFBase {
  public:
    // The byte at position index (0..255), which then moves to the front.
    uint8_t Decode(int index) {
        const uint8_t b = m_list[index];
        if (index != 0) MoveToFront(index);
        return b;
    }
};

// Turns bytes into positions.
class TMTFEncoder : public TMTFBase {
  public:
    // The position of byte b, which then moves to the front.
    int Encode(uint8_t b) {
        int position = 0;
        while (m_list[position] != b) ++position;
        if (position != 0) MoveToFront(position);
        return position;
    }
};

}  // namespace kindrel
