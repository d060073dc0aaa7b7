// The block encoder of the archive writer: Burrows-Wheeler transform, move-to-front, zero
// runs and structured arithmetic coding, the exact inverse of TExpander.
#pragma once

#include "payload/archive_header.h"
#include "payload/bwt.h"
#include "payload/mtf.h"
#include "payload/struc_ari_encoder.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kindrel {

// Encodes blocks one at a time with work buffers of its own (allocated at the first block).
class TBlockEncoder : public TBWTBase {
  public:
    // Encodes data[0..n) (n <= kMaxBlockBytes) as one block: coded receives the coded bytes;
    // the answer is the block's header.
    TDataBlockHeader EncodeBlock(const uint8_t* data, int n, std::vector<uint8_t>& coded);

  private:
    // Codes one zero run of length run >= 1 as bijective base-2 digits, least significant
    // first: value 0 for digit 1, value 1 for digit 2.
    void EncodeRun(int64_t run);

    std::unique_ptr<int32_t[]> m_suffixArray;
    std::unique_ptr<uint8_t[]> m_last;
    TMTFEncoder m_mtf;
    TStrucAriEncoder m_coder;
};

}  // namespace kindrel
