// The runtime bundle of a portable viewer part: an index of the files it holds and their
// contents compressed with zstd, one frame per file, followed by the bundle footer.
#pragma once

#include "services/runtime_footer.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kindrel {

// One file of the bundle; directories follow from the paths.
struct BundleEntry {
    std::string path;   // relative, '/'-separated, no "." or ".." parts ("lib/libQt6Core.so.6")
    uint32_t mode = 0;  // permission bits: 0755 for programs and libraries, 0644 for data
    uint64_t size = 0;  // bytes once unpacked
    uint64_t hash = 0;  // XXH3-64 of the unpacked bytes

    bool operator==(const BundleEntry&) const = default;
};

// The list of files in unpacking order.
struct BundleIndex {
    std::vector<BundleEntry> entries;

    // Encodes the index.
    std::string ToBytes() const;
    // Decodes and checks an index (paths, modes, counts). Throws EBundleError.
    static BundleIndex FromBytes(const std::string& bytes);
    // Sum of the entries' sizes.
    uint64_t UnpackedBytes() const;
};

// XXH3-64 of size bytes.
uint64_t HashBytes(const void* data, size_t size);

// The runtime id of an index: XXH3-128 of its encoded bytes.
std::array<unsigned char, 16> RuntimeIdOf(const std::string& indexBytes);

// A runtime bundle as read from a portable file: where it lies and its index.
struct RuntimeBundle {
    RuntimeFooterInfo where;
    BundleIndex index;

    // File offset of the first compressed frame.
    long long DataOffset() const {
        return where.bundleOffset + static_cast<long long>(where.footer.indexBytes);
    }
    // Bytes of compressed data.
    long long DataBytes() const { return where.footerOffset - DataOffset(); }
};

// Reads the footer ending at file offset end of fd and the index it points to, and checks the
// index against the footer's runtime id and unpacked size. Returns false when there is no
// footer; throws EBundleError when the bundle is damaged.
bool ReadRuntimeBundle(int fd, long long end, RuntimeBundle& bundle);

// One file to put into a bundle.
struct BundleSource {
    std::string path;    // the path inside the bundle
    std::string source;  // the file to read
    uint32_t mode = 0644;
};

// How a bundle was written.
struct BundleWriteResult {
    RuntimeFooter footer;
    long long compressedBytes = 0;        // the frames alone
    int framesReused = 0;                 // frames taken from the frame cache
    std::vector<std::string> frameFiles;  // the frame cache files this bundle uses
};

// Appends [index][one zstd frame per file][footer] at the current position of outFd.
// Frames are kept in frameCacheDir (when not empty) under their content hash and level and
// reused, so that only changed files are compressed again. Throws EBundleError.
// The footer's version fields are taken from floors (runtimeId and sizes are computed).
BundleWriteResult WriteRuntimeBundle(const std::vector<BundleSource>& sources,
                                     const RuntimeFooter& floors, int level,
                                     const std::string& frameCacheDir, int outFd);

// Decompresses the bundle's files from fd into the folder open at dirFd (which must be empty),
// creating subfolders 0700 and files with their modes, and checks each file's size and hash
// as it is written. Throws EBundleError (damaged data) or ERuntimeWriteError (disk).
void UnpackRuntimeBundle(int fd, const RuntimeBundle& bundle, int dirFd);

// A file of the runtime could not be written (full disk, read-only folder); what() says why.
class ERuntimeWriteError : public KindrelError {
  public:
    ERuntimeWriteError(const std::string& text, int err) : KindrelError(text), m_err(err) {}
    // The errno value of the failure.
    int Errno() const { return m_err; }

  private:
    int m_err;
};

}  // namespace kindrel
