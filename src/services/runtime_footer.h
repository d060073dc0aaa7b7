// The runtime bundle footer: the fixed-size record that ends the runtime bundle of a portable
// viewer part ([launcher][bundle][footer]) and tells where the bundle lies and what it holds.
#pragma once

#include "containers/errors.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kindrel {

// Size of the footer in bytes.
inline constexpr int kRuntimeFooterSize = 128;
// The footer's first eight bytes.
inline constexpr char kRuntimeFooterMagic[9] = "KDRTBNDL";
// The footer layout this build writes and reads.
inline constexpr uint32_t kRuntimeFooterVersion = 1;
// Width of the version texts (glibc and libstdc++ floors), NUL-padded.
inline constexpr int kRuntimeVersionWidth = 16;

// A footer that carries the magic but cannot be right (wrong version, checksum, sizes).
class EBundleError : public KindrelError {
  public:
    using KindrelError::KindrelError;
};

// The decoded footer. The bundle is [index][compressed data] and ends where the footer starts.
struct RuntimeFooter {
    uint64_t bundleBytes = 0;                   // index + compressed data
    uint64_t indexBytes = 0;                    // the index at the bundle's start
    uint64_t unpackedBytes = 0;                 // sum of the sizes of the unpacked files
    std::array<unsigned char, 16> runtimeId{};  // hash of the index: names the cache folder
    std::string glibcFloor;                     // oldest glibc the bundled programs run on ("2.34")
    std::string cxxFloor;                       // newest GLIBCXX version they need ("3.4.30")
    std::string compatGlibcFloor;  // oldest glibc the bundled libstdc++ runs on (when used)

    // Encodes the footer with its checksum.
    std::array<unsigned char, kRuntimeFooterSize> ToBytes() const;

    // Decodes 128 bytes. Returns nothing when the magic is absent; throws EBundleError when
    // the magic is there but the version, checksum or sizes are wrong.
    static std::optional<RuntimeFooter> FromBytes(const unsigned char* bytes);

    // The runtime id as 32 lower-case hex digits.
    std::string RuntimeIdHex() const;
};

// Where a footer was found in a file.
struct RuntimeFooterInfo {
    RuntimeFooter footer;
    long long footerOffset = 0;  // file offset of the footer
    long long bundleOffset = 0;  // file offset of the bundle (= the launcher's size)
};

// Reads the footer that ends at file offset end of the open file fd (the payload offset of a
// packed file, or the size of a viewer part). Returns nothing when no footer is there; throws
// EBundleError when one is there but damaged or points outside [0, end).
std::optional<RuntimeFooterInfo> ReadRuntimeFooter(int fd, long long end);

}  // namespace kindrel
