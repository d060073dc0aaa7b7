// The payload archive: "QZLM" followed by "DATA" blocks, each a Burrows-Wheeler transformed,
// move-to-front, zero-run and arithmetic coded piece of at most 615399 bytes.
#pragma once

#include "containers/errors.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kindrel {

// Wrong archive or block signature.
class ESignatureWrong : public KindrelError {
  public:
    ESignatureWrong() : KindrelError("Wrong Signature. Archive could be corrupted.") {}
};

// The bit reader ran more than 20 bytes past a block's coded data.
class EBitOverrun : public KindrelError {
  public:
    EBitOverrun() : KindrelError("Too many bytes read in bit mode.") {}
};

// A block header field is out of range, or the block would expand past 615399 bytes.
class EBlockError : public KindrelError {
  public:
    using KindrelError::KindrelError;
};

// Largest number of bytes one block expands to.
inline constexpr int kMaxBlockBytes = 615399;

// What an expansion did.
struct ExpandResult {
    int blocks = 0;              // blocks expanded
    int crcFailures = 0;         // blocks whose CRC-32 did not match (still written)
    long long bytesWritten = 0;  // bytes of the output file
};

// What a compression wrote.
struct CompressResult {
    int blocks = 0;              // blocks written
    long long archiveBytes = 0;  // bytes of the archive, signature included
};

class TExpander;
class TBlockEncoder;
class TBufferedFileStream;

// Expands and compresses payload archives. Several blocks are expanded or compressed on
// several threads; the result is always the same as one block after the other. One object
// serves one thread at a time; its work buffers are kept for the next call.
class WBlokarCompress {
  public:
    WBlokarCompress();
    ~WBlokarCompress();
    WBlokarCompress(const WBlokarCompress&) = delete;
    WBlokarCompress& operator=(const WBlokarCompress&) = delete;

    // Expands blockCount blocks of archiveFile into outputFile (created or replaced).
    // The archive signature is checked before the output is created. A CRC mismatch
    // warns "CRC does not match!" through the warning hook, writes the block anyway and
    // is counted. Throws ESignatureWrong, EBitOverrun, EBlockError or EFileError; the blocks
    // before the failing one are in the output file by then. Events are pumped after each
    // block.
    ExpandResult Expand(const std::string& archiveFile, const std::string& outputFile,
                        int blockCount);

    // Compresses inputFile into a new archive file (created or replaced; removed again when
    // compression fails). An empty input gives one empty block. Throws EFileError.
    CompressResult Compress(const std::string& inputFile, const std::string& archiveFile);

    // Compresses inputFile and appends the archive to the open file descriptor fd at its
    // current position. Throws EFileError; what was appended by then stays (the caller owns
    // the descriptor and cuts it back).
    CompressResult CompressToFd(const std::string& inputFile, int fd);

    // Threads for several blocks: 0 (the default) one per processor (at most 8), 1 the
    // caller's only.
    void SetThreadCount(int threads) { m_threadCount = threads < 0 ? 0 : threads; }

    // The number of blocks Compress writes for an input of size bytes.
    static int BlocksFor(long long size);

  private:
    int ThreadsFor(long long blocks) const;
    TExpander& ExpanderFor(int worker);
    TBlockEncoder& EncoderFor(int worker);
    CompressResult WriteBlocks(int inputFd, const std::string& inputFile,
                               TBufferedFileStream& archive);

    int m_threadCount = 0;
    std::vector<std::unique_ptr<TExpander>> m_expanders;  // [0] lives as long as the object
    std::vector<std::unique_ptr<TBlockEncoder>> m_encoders;
};

}  // namespace kindrel
