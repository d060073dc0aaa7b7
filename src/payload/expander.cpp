#include "payload/expander.h"

#include "containers/ui_hooks.h"
#include "payload/crc32.h"

#include <string>

namespace kindrel {

namespace {

std::string BlockPrefix(int blockNumber) {
    return "Block " + std::to_string(blockNumber) + ": ";
}

}  // namespace

TExpander::TExpander() = default;
TExpander::~TExpander() = default;

TBlockMan& TExpander::Buffers() {
    if (!m_blockMan) m_blockMan = std::make_unique<TBlockMan>();
    return *m_blockMan;
}

TDataBlockHeader TExpander::ReadBlockHeader(TArchiveFile& archive, int blockNumber) {
    TDataBlockHeader header;
    header.ReadHeader(archive);
    const std::string prefix = BlockPrefix(blockNumber);
    if (!header.Complete()) throw EBlockError(prefix + "the archive ends inside the block header");
    const int32_t size = header.CompressedSize();
    if (size < 0) {
        throw EBlockError(prefix + "compressed size " + std::to_string(size) + " is negative");
    }
    const int64_t left = archive.Size() - archive.Position();
    if (size > left) {
        throw EBlockError(prefix + "compressed size " + std::to_string(size) +
                          " runs past the end of the archive (" + std::to_string(left) +
                          " bytes left)");
    }
    if (header.StartIndex() < 0 || header.StartIndex() > kMaxBlockBytes) {
        throw EBlockError(prefix + "start index " + std::to_string(header.StartIndex()) +
                          " is out of range");
    }
    if (header.SentinelPosition() < 0 || header.SentinelPosition() > kMaxBlockBytes) {
        throw EBlockError(prefix + "sentinel position " +
                          std::to_string(header.SentinelPosition()) + " is out of range");
    }
    return header;
}

int TExpander::DecodeBlock(TArchiveFile& archive, const TDataBlockHeader& header, int blockNumber,
                           uint8_t* out) {
    TBlockMan& buffers = Buffers();
    m_blockOk = false;
    m_length = 0;
    const int64_t codedStart = archive.Position();
    archive.SetByteLimit(header.CompressedSize());
    const int n = m_decoder.DecodeBlock(archive, buffers.Indexes(), kMaxBlockBytes, blockNumber);

    const int sentinel = header.SentinelPosition();
    const int start = header.StartIndex();
    if (sentinel > n) {
        throw EBlockError(BlockPrefix(blockNumber) + "sentinel position " +
                          std::to_string(sentinel) + " lies past the block's " + std::to_string(n) +
                          " bytes");
    }
    if (start > n) {
        throw EBlockError(BlockPrefix(blockNumber) + "start index " + std::to_string(start) +
                          " lies past the block's " + std::to_string(n) + " bytes");
    }

    // Move-to-front decoding into L, skipping the sentinel's position (which reads as 0).
    const uint8_t* indexes = buffers.Indexes();
    uint8_t* last = buffers.Transformed();
    m_mtf.Reset();
    for (int p = 0; p < sentinel; ++p) last[p] = m_mtf.Decode(indexes[p]);
    last[sentinel] = 0;
    for (int p = sentinel; p < n; ++p) last[p + 1] = m_mtf.Decode(indexes[p]);

    InverseTransform(last, n, sentinel, start, buffers.Vector(), buffers.BackVector(), out);

    m_blockOk = TCRC32::Of(out, static_cast<size_t>(n)) == header.Crc();
    m_length = n;
    // The next header follows the declared coded data, however much of it the decoder used.
    archive.SmartSeek(codedStart + header.CompressedSize(), SeekOrigin::Begin);
    return n;
}

bool TExpander::ExpandBlock(TArchiveFile& archive, TBufferedFileStream& output, int blockNumber) {
    const TDataBlockHeader header = ReadBlockHeader(archive, blockNumber);
    uint8_t* out = Buffers().Output();
    const int n = DecodeBlock(archive, header, blockNumber, out);
    if (!m_blockOk) ShowWarning("CRC does not match!");
    output.WriteBytes(out, n);
    return m_blockOk;
}

}  // namespace kindrel
