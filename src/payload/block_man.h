// The work buffers of one block expander, sized for the largest block.
#pragma once

#include "payload/blokar_compress.h"

#include <cstdint>
#include <memory>

namespace kindrel {

// Buffers for decoding one block at a time: the move-to-front indexes, the transformed block
// (one position more for the sentinel), the inverse-transform vectors and the expanded bytes.
// Allocated once per expander so that expanding a block allocates nothing.
class TBlockMan {
  public:
    static constexpr int kVectorEntries = kMaxBlockBytes + 1;  // 615400

    // Allocates the buffers (about 6.8 MB; pages are touched only when used).
    TBlockMan();

    // kMaxBlockBytes move-to-front indexes.
    uint8_t* Indexes() { return m_indexes.get(); }
    // kVectorEntries bytes of the transformed block.
    uint8_t* Transformed() { return m_transformed.get(); }
    // kVectorEntries entries of the inverse-transform vector.
    uint32_t* Vector() { return m_vector.get(); }
    // kVectorEntries entries of the vector of the backward walk.
    uint32_t* BackVector() { return m_backVector.get(); }
    // kMaxBlockBytes expanded bytes.
    uint8_t* Output() { return m_output.get(); }

  private:
    std::unique_ptr<uint8_t[]> m_indexes;
    std::unique_ptr<uint8_t[]> m_transformed;
    std::unique_ptr<uint32_t[]> m_vector;
    std::unique_ptr<uint32_t[]> m_backVector;
    std::unique_ptr<uint8_t[]> m_output;
};

}  // namespace kindrel
