#include "runtime/system_libs.h"

#include "services/posix_file.h"

#include <elf.h>
#include <sys/stat.h>

#include <cstring>

namespace kindrel {

namespace {

// The loader's cache entries for this architecture carry these flags (ELF libc6 plus the
// 64-bit kind of the architecture).
#if defined(__x86_64__)
constexpr int32_t kCacheFlags = 0x0303;
#elif defined(__aarch64__)
constexpr int32_t kCacheFlags = 0x0a03;
#else
constexpr int32_t kCacheFlags = -1;
#endif

constexpr char kCacheMagic[] = "glibc-ld.so.cache1.1";
constexpr size_t kCacheHeader = 48;  // magic, counts, flags, extension offset, unused words
constexpr size_t kCacheEntry = 24;   // flags, key, value, os version, hwcap

// Folders the loader searches after its cache.
const char* const kDefaultFolders[] = {"/lib/x86_64-linux-gnu",
                                       "/usr/lib/x86_64-linux-gnu",
                                       "/lib/aarch64-linux-gnu",
                                       "/usr/lib/aarch64-linux-gnu",
                                       "/lib64",
                                       "/usr/lib64",
                                       "/lib",
                                       "/usr/lib"};

uint32_t U32(const std::string& bytes, size_t at) {
    uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

bool ReadSpan(int fd, std::string& out, uint64_t offset, uint64_t size) {
    if (size > (64u << 20)) return false;
    out.assign(static_cast<size_t>(size), '\0');
    return ReadAt(fd, out.data(), out.size(), static_cast<off_t>(offset)) ==
           static_cast<ssize_t>(size);
}

bool IsNativeElf(const std::string& path) {
    const WUniqueFd fd = OpenForReading(path);
    Elf64_Ehdr header{};
    return fd.IsOpen() && ReadAt(fd.Get(), &header, sizeof header, 0) == sizeof header &&
           std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
           header.e_ident[EI_CLASS] == ELFCLASS64;
}

}  // namespace

int CompareVersions(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        long x = 0, y = 0;
        while (i < a.size() && a[i] != '.') x = x * 10 + (a[i++] - '0');
        while (j < b.size() && b[j] != '.') y = y * 10 + (b[j++] - '0');
        if (x != y) return x < y ? -1 : 1;
        ++i, ++j;
    }
    return 0;
}

std::string NewestDefinedVersion(const std::string& path, const std::string& prefix) {
    const WUniqueFd fd = OpenForReading(path);
    if (!fd.IsOpen()) return {};
    Elf64_Ehdr header{};
    if (ReadAt(fd.Get(), &header, sizeof header, 0) != sizeof header ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr) ||
        header.e_shnum == 0 || header.e_shnum > 4096)
        return {};
    std::string sectionBytes;
    if (!ReadSpan(fd.Get(), sectionBytes, header.e_shoff,
                  static_cast<uint64_t>(header.e_shnum) * sizeof(Elf64_Shdr)))
        return {};
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    std::memcpy(sections.data(), sectionBytes.data(), sectionBytes.size());
    std::string newest;
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_type != SHT_GNU_verdef || section.sh_link >= sections.size()) continue;
        const Elf64_Shdr& strings = sections[section.sh_link];
        std::string defs, names;
        if (!ReadSpan(fd.Get(), defs, section.sh_offset, section.sh_size) ||
            !ReadSpan(fd.Get(), names, strings.sh_offset, strings.sh_size))
            return {};
        // Each definition names its version in its first auxiliary entry.
        uint64_t at = 0;
        for (uint64_t n = 0; n < section.sh_info + 1 && at + sizeof(Elf64_Verdef) <= defs.size();
             ++n) {
            Elf64_Verdef def;
            std::memcpy(&def, defs.data() + at, sizeof def);
            const uint64_t auxAt = at + def.vd_aux;
            if (def.vd_cnt > 0 && auxAt + sizeof(Elf64_Verdaux) <= defs.size()) {
                Elf64_Verdaux aux;
                std::memcpy(&aux, defs.data() + auxAt, sizeof aux);
                if (aux.vda_name < names.size()) {
                    const std::string name = names.c_str() + aux.vda_name;
                    if (name.rfind(prefix, 0) == 0) {
                        const std::string version = name.substr(prefix.size());
                        if (!version.empty() &&
                            version.find_first_not_of("0123456789.") == std::string::npos &&
                            (newest.empty() || CompareVersions(version, newest) > 0))
                            newest = version;
                    }
                }
            }
            if (def.vd_next == 0) break;
            at += def.vd_next;
        }
    }
    return newest;
}

WSystemLibraries::WSystemLibraries(const std::string& cacheFile) {
    const WUniqueFd fd = OpenForReading(cacheFile);
    struct stat st {};
    std::string bytes;
    if (!fd.IsOpen() || ::fstat(fd.Get(), &st) != 0 || !ReadSpan(fd.Get(), bytes, 0, st.st_size))
        return;
    // The new format stands alone or follows the old one; its string offsets count from its
    // own header.
    const size_t start = bytes.find(kCacheMagic);
    if (start == std::string::npos || bytes.size() - start < kCacheHeader) return;
    const std::string table = bytes.substr(start);
    const uint32_t count = U32(table, 20);
    if (count > (table.size() - kCacheHeader) / kCacheEntry) return;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = kCacheHeader + i * kCacheEntry;
        int32_t flags;
        std::memcpy(&flags, table.data() + at, 4);
        const uint32_t key = U32(table, at + 4), value = U32(table, at + 8);
        if (flags != kCacheFlags || key >= table.size() || value >= table.size()) continue;
        m_cached.emplace_back(table.c_str() + key, table.c_str() + value);
    }
}

std::string WSystemLibraries::Find(const std::string& soname) const {
    for (const auto& [name, path] : m_cached)
        if (name == soname) return path;
    for (const char* folder : kDefaultFolders) {
        const std::string path = std::string(folder) + "/" + soname;
        if (IsNativeElf(path)) return path;
    }
    return {};
}

}  // namespace kindrel
