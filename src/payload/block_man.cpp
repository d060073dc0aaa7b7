#include "payload/block_man.h"

namespace kindrel {

TBlockMan::TBlockMan()
    : m_indexes(std::make_unique_for_overwrite<uint8_t[]>(kMaxBlockBytes)),
      m_transformed(std::make_unique_for_overwrite<uint8_t[]>(kVectorEntries)),
      m_vector(std::make_unique_for_overwrite<uint32_t[]>(kVectorEntries)),
      m_backVector(std::make_unique_for_overwrite<uint32_t[]>(kVectorEntries)),
      m_output(std::make_unique_for_overwrite<uint8_t[]>(kMaxBlockBytes)) {}

}  // namespace kindrel
