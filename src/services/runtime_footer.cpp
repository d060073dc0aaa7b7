#include "services/runtime_footer.h"

#include "payload/crc32.h"
#include "services/posix_file.h"

#include <cstring>

namespace kindrel {

namespace {

// Field offsets inside the footer.
constexpr int kOffMagic = 0;
constexpr int kOffVersion = 8;
constexpr int kOffSize = 12;
constexpr int kOffBundle = 16;
constexpr int kOffIndex = 24;
constexpr int kOffUnpacked = 32;
constexpr int kOffId = 40;
constexpr int kOffGlibc = 56;
constexpr int kOffCxx = 72;
constexpr int kOffCompatGlibc = 88;
constexpr int kOffCrc = 124;
static_assert(kOffCompatGlibc + kRuntimeVersionWidth <= kOffCrc);
static_assert(kOffCrc + 4 == kRuntimeFooterSize);

// An index larger than this is not one the bundle tool writes.
constexpr uint64_t kMaxIndexBytes = 4u << 20;

uint64_t GetLe(const unsigned char* p, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
}

void PutLe(unsigned char* p, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::string GetText(const unsigned char* p) {
    size_t size = 0;
    while (size < kRuntimeVersionWidth && p[size] != 0) ++size;
    return std::string(reinterpret_cast<const char*>(p), size);
}

void PutText(unsigned char* p, const std::string& text) {
    if (text.size() >= kRuntimeVersionWidth)
        throw EBundleError("The version text \"" + text + "\" does not fit the footer.");
    std::memcpy(p, text.data(), text.size());
}

// A version text holds digits and dots only (the launcher compares them number by number).
bool IsVersionText(const std::string& text) {
    for (const char c : text)
        if ((c < '0' || c > '9') && c != '.') return false;
    return true;
}

}  // namespace

std::array<unsigned char, kRuntimeFooterSize> RuntimeFooter::ToBytes() const {
    std::array<unsigned char, kRuntimeFooterSize> bytes{};
    std::memcpy(bytes.data() + kOffMagic, kRuntimeFooterMagic, 8);
    PutLe(bytes.data() + kOffVersion, kRuntimeFooterVersion, 4);
    PutLe(bytes.data() + kOffSize, kRuntimeFooterSize, 4);
    PutLe(bytes.data() + kOffBundle, bundleBytes, 8);
    PutLe(bytes.data() + kOffIndex, indexBytes, 8);
    PutLe(bytes.data() + kOffUnpacked, unpackedBytes, 8);
    std::memcpy(bytes.data() + kOffId, runtimeId.data(), runtimeId.size());
    PutText(bytes.data() + kOffGlibc, glibcFloor);
    PutText(bytes.data() + kOffCxx, cxxFloor);
    PutText(bytes.data() + kOffCompatGlibc, compatGlibcFloor);
    PutLe(bytes.data() + kOffCrc, TCRC32::Of(bytes.data(), kOffCrc), 4);
    return bytes;
}

std::optional<RuntimeFooter> RuntimeFooter::FromBytes(const unsigned char* bytes) {
    if (std::memcmp(bytes + kOffMagic, kRuntimeFooterMagic, 8) != 0) return std::nullopt;
    const uint64_t version = GetLe(bytes + kOffVersion, 4);
    if (version != kRuntimeFooterVersion || GetLe(bytes + kOffSize, 4) != kRuntimeFooterSize)
        throw EBundleError("The runtime bundle has layout " + std::to_string(version) +
                           ", which this program does not know.");
    if (GetLe(bytes + kOffCrc, 4) != TCRC32::Of(bytes, kOffCrc))
        throw EBundleError("The runtime bundle's footer is damaged (checksum mismatch).");
    RuntimeFooter footer;
    footer.bundleBytes = GetLe(bytes + kOffBundle, 8);
    footer.indexBytes = GetLe(bytes + kOffIndex, 8);
    footer.unpackedBytes = GetLe(bytes + kOffUnpacked, 8);
    std::memcpy(footer.runtimeId.data(), bytes + kOffId, footer.runtimeId.size());
    footer.glibcFloor = GetText(bytes + kOffGlibc);
    footer.cxxFloor = GetText(bytes + kOffCxx);
    footer.compatGlibcFloor = GetText(bytes + kOffCompatGlibc);
    if (footer.indexBytes == 0 || footer.indexBytes > kMaxIndexBytes ||
        footer.indexBytes >= footer.bundleBytes)
        throw EBundleError("The runtime bundle's footer gives an impossible index size.");
    if (!IsVersionText(footer.glibcFloor) || !IsVersionText(footer.cxxFloor) ||
        !IsVersionText(footer.compatGlibcFloor))
        throw EBundleError("The runtime bundle's footer gives an unreadable version.");
    return footer;
}

std::string RuntimeFooter::RuntimeIdHex() const {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : runtimeId) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

std::optional<RuntimeFooterInfo> ReadRuntimeFooter(int fd, long long end) {
    if (end < kRuntimeFooterSize) return std::nullopt;
    unsigned char bytes[kRuntimeFooterSize];
    if (ReadAt(fd, bytes, sizeof bytes, static_cast<off_t>(end - kRuntimeFooterSize)) !=
        kRuntimeFooterSize)
        throw EBundleError("The runtime bundle's footer cannot be read.");
    std::optional<RuntimeFooter> footer = RuntimeFooter::FromBytes(bytes);
    if (!footer) return std::nullopt;
    RuntimeFooterInfo info;
    info.footerOffset = end - kRuntimeFooterSize;
    if (footer->bundleBytes > static_cast<uint64_t>(info.footerOffset))
        throw EBundleError("The runtime bundle's footer points outside the file.");
    info.bundleOffset = info.footerOffset - static_cast<long long>(footer->bundleBytes);
    info.footer = *footer;
    return info;
}

}  // namespace kindrel
