// The block expander: undoes arithmetic coding, zero runs, move-to-front and the
// Burrows-Wheeler transform of one archive block and checks it with CRC-32.
#pragma once

#include "payload/archive_header.h"
#include "payload/bit_file.h"
#include "payload/block_man.h"
#include "payload/bwt.h"
#include "payload/mtf.h"
#include "payload/struc_ari_decoder.h"

#include <cstdint>
#include <memory>

namespace kindrel {

// Expands blocks one at a time. Every header field is checked before it is used; a bad one
// raises EBlockError ("Block <n>: ..."), so no input reads or writes outside the buffers.
class TExpander : public TBWTBase {
  public:
    // The work buffers are allocated at the first block.
    TExpander();
    ~TExpander();

    // Reads block blockNumber's header at the archive's position and checks it: signature
    // (ESignatureWrong), completeness, compressed size within the file, start index and
    // sentinel position within a block (EBlockError). Leaves the archive at the coded data.
    static TDataBlockHeader ReadBlockHeader(TArchiveFile& archive, int blockNumber);

    // Decodes the block whose header was read (the archive stands at its coded data) into
    // out (room for kMaxBlockBytes) and answers its length; BlockOk() then tells whether the
    // CRC matched. Leaves the archive at the end of the coded data. Throws EBlockError when
    // the block expands past kMaxBlockBytes or its start index or sentinel position lies past
    // its length, EBitOverrun when the coded data runs out.
    int DecodeBlock(TArchiveFile& archive, const TDataBlockHeader& header, int blockNumber,
                    uint8_t* out);

    // Reads one block and appends its bytes to output; a CRC mismatch warns "CRC does not
    // match!" and still writes the bytes. Answers BlockOk().
    bool ExpandBlock(TArchiveFile& archive, TBufferedFileStream& output, int blockNumber);

    // Whether the last decoded block's CRC-32 matched its header.
    bool BlockOk() const { return m_blockOk; }
    // Length of the last decoded block.
    int Length() const { return m_length; }

  private:
    TBlockMan& Buffers();

    std::unique_ptr<TBlockMan> m_blockMan;
    TFileStrucAriDecoder m_decoder;
    TMTFDecoder m_mtf;
    int m_length = 0;
    bool m_blockOk = false;
};

}  // namespace kindrel
