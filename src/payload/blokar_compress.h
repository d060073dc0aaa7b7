// The payload archive: "QZLM" followed by "DATA" blocks, each a Burrows-Wheeler transformed,
// move-to-front, zero-run and arithmetic coded piece of at most 615399 bytes.
#pragma once

#include "containers/errors.h"

#include <cstdint>
#include <string>

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
    int blocks = 0;             // blocks expanded
    int crcFailures = 0;        // blocks whose CRC-32 did not match (still written)
    long long bytesWritten = 0; // bytes of the output file
};

// What a compression wrote.
struct CompressResult {
    int blocks = 0;             // blocks written
    long long archiveBytes = 0; // bytes of the archive, signature included
};

// Expands and compresses payload archives.
class WBlokarCompress {
public:
    // Expands blockCount blocks of archiveFile into outputFile (created or replaced).
    // The archive signature is checked before the output is created. A CRC mismatch
    // warns "CRC does not match!" through the warning hook, writes the block anyway and
    // is counted. Throws ESignatureWrong, EBitOverrun, EBlockError or EFileError.
    ExpandResult Expand(const std::string& archiveFile, const std::string& outputFile,
                        int blockCount);

    // Compresses inputFile into a new archive file (created or replaced).
    CompressResult Compress(const std::string& inputFile, const std::string& archiveFile);

    // Compresses inputFile and appends the archive to the open file descriptor fd at its
    // current position.
    CompressResult CompressToFd(const std::string& inputFile, int fd);
};

}  // namespace kindrel
