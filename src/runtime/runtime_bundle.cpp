#include "runtime/runtime_bundle.h"

#include "services/posix_file.h"

#define XXH_INLINE_ALL
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>
#include <zstd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>

namespace kindrel {

namespace {

constexpr char kIndexMagic[4] = {'K', 'D', 'I', 'X'};
constexpr uint32_t kMaxEntries = 100000;
constexpr size_t kMaxPath = 1024;
constexpr size_t kChunk = 256 * 1024;

void PutLe(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}

// Reads little-endian integers from an index, failing on a short index.
class IndexReader {
  public:
    explicit IndexReader(const std::string& bytes) : m_bytes(bytes) {}
    uint64_t Le(int bytes) {
        Need(static_cast<size_t>(bytes));
        uint64_t value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(m_bytes[m_pos + i]);
        m_pos += static_cast<size_t>(bytes);
        return value;
    }
    std::string Text(size_t size) {
        Need(size);
        std::string text = m_bytes.substr(m_pos, size);
        m_pos += size;
        return text;
    }
    bool AtEnd() const { return m_pos == m_bytes.size(); }

  private:
    void Need(size_t size) const {
        if (m_bytes.size() - m_pos < size)
            throw EBundleError("The runtime bundle's index is cut short.");
    }
    const std::string& m_bytes;
    size_t m_pos = 0;
};

// A path stays inside the folder it is unpacked into: relative, no empty, "." or ".." parts.
bool IsSafePath(const std::string& path) {
    if (path.empty() || path.size() > kMaxPath || path.front() == '/') return false;
    if (path.find('\0') != std::string::npos) return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

// Makes the parent folders of path under dirFd (mode 0700) and returns the folder's fd for
// the file's own name.
WUniqueFd OpenParent(int dirFd, const std::string& path, std::string& leaf) {
    WUniqueFd current(::fcntl(dirFd, F_DUPFD_CLOEXEC, 0));
    size_t start = 0;
    for (size_t slash = path.find('/'); slash != std::string::npos;
         start = slash + 1, slash = path.find('/', start)) {
        const std::string part = path.substr(start, slash - start);
        if (::mkdirat(current.Get(), part.c_str(), 0700) != 0 && errno != EEXIST)
            throw ERuntimeWriteError(
                "cannot create the folder " + part + " (" + ErrorText(errno) + ")", errno);
        WUniqueFd next(
            ::openat(current.Get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.IsOpen())
            throw ERuntimeWriteError(
                "cannot open the folder " + part + " (" + ErrorText(errno) + ")", errno);
        current = std::move(next);
    }
    leaf = path.substr(start);
    return current;
}

}  // namespace

std::string BundleIndex::ToBytes() const {
    std::string out(kIndexMagic, sizeof kIndexMagic);
    PutLe(out, entries.size(), 4);
    for (const BundleEntry& entry : entries) {
        PutLe(out, entry.path.size(), 2);
        out += entry.path;
        PutLe(out, entry.mode, 4);
        PutLe(out, entry.size, 8);
        PutLe(out, entry.hash, 8);
    }
    return out;
}

BundleIndex BundleIndex::FromBytes(const std::string& bytes) {
    IndexReader in(bytes);
    if (in.Text(4) != std::string(kIndexMagic, sizeof kIndexMagic))
        throw EBundleError("The runtime bundle's index is damaged (no signature).");
    const uint64_t count = in.Le(4);
    if (count == 0 || count > kMaxEntries)
        throw EBundleError("The runtime bundle's index lists " + std::to_string(count) + " files.");
    BundleIndex index;
    std::set<std::string> files, folders;
    for (uint64_t i = 0; i < count; ++i) {
        BundleEntry entry;
        entry.path = in.Text(static_cast<size_t>(in.Le(2)));
        entry.mode = static_cast<uint32_t>(in.Le(4));
        entry.size = in.Le(8);
        entry.hash = in.Le(8);
        if (!IsSafePath(entry.path) || (entry.mode & ~0777u) != 0)
            throw EBundleError("The runtime bundle's index holds an unsafe entry.");
        // No path twice, and none that is both a file and a folder of another file.
        if (!files.insert(entry.path).second || folders.count(entry.path))
            throw EBundleError("The runtime bundle's index lists \"" + entry.path + "\" twice.");
        for (size_t slash = entry.path.find('/'); slash != std::string::npos;
             slash = entry.path.find('/', slash + 1)) {
            const std::string folder = entry.path.substr(0, slash);
            if (files.count(folder))
                throw EBundleError("The runtime bundle's index lists \"" + folder + "\" twice.");
            folders.insert(folder);
        }
        index.entries.push_back(std::move(entry));
    }
    if (!in.AtEnd()) throw EBundleError("The runtime bundle's index has trailing bytes.");
    return index;
}

uint64_t BundleIndex::UnpackedBytes() const {
    uint64_t total = 0;
    for (const BundleEntry& entry : entries) total += entry.size;
    return total;
}

uint64_t HashBytes(const void* data, size_t size) {
    return XXH3_64bits(data, size);
}

std::array<unsigned char, 16> RuntimeIdOf(const std::string& indexBytes) {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits(indexBytes.data(), indexBytes.size()));
    std::array<unsigned char, 16> id{};
    std::memcpy(id.data(), canonical.digest, id.size());
    return id;
}

bool ReadRuntimeBundle(int fd, long long end, RuntimeBundle& bundle) {
    const std::optional<RuntimeFooterInfo> where = ReadRuntimeFooter(fd, end);
    if (!where) return false;
    std::string indexBytes(static_cast<size_t>(where->footer.indexBytes), '\0');
    if (ReadAt(fd, indexBytes.data(), indexBytes.size(), static_cast<off_t>(where->bundleOffset)) !=
        static_cast<ssize_t>(indexBytes.size()))
        throw EBundleError("The runtime bundle's index cannot be read.");
    if (RuntimeIdOf(indexBytes) != where->footer.runtimeId)
        throw EBundleError("The runtime bundle's index does not match its id (damaged file).");
    bundle.where = *where;
    bundle.index = BundleIndex::FromBytes(indexBytes);
    if (bundle.index.UnpackedBytes() != where->footer.unpackedBytes)
        throw EBundleError("The runtime bundle's index does not match its footer.");
    return true;
}

void UnpackRuntimeBundle(int fd, const RuntimeBundle& bundle, int dirFd) {
    const std::unique_ptr<ZSTD_DCtx, size_t (*)(ZSTD_DCtx*)> dctx(ZSTD_createDCtx(), ZSTD_freeDCtx);
    std::vector<char> inBuffer(kChunk), outBuffer(kChunk);
    ZSTD_inBuffer in{inBuffer.data(), 0, 0};
    long long readPos = bundle.DataOffset();
    const long long dataEnd = bundle.where.footerOffset;
    const auto damaged = [](const std::string& path) {
        return EBundleError("The runtime bundle is damaged (" + path + " does not unpack).");
    };
    // Reads the next chunk of compressed data; false at the end of the data.
    const auto refill = [&] {
        const size_t want = static_cast<size_t>(std::min<long long>(kChunk, dataEnd - readPos));
        if (want == 0) return false;
        const ssize_t got = ReadAt(fd, inBuffer.data(), want, static_cast<off_t>(readPos));
        if (got != static_cast<ssize_t>(want))
            throw EBundleError("The runtime bundle cannot be read (the file is cut short).");
        readPos += got;
        in = ZSTD_inBuffer{inBuffer.data(), want, 0};
        return true;
    };

    for (const BundleEntry& entry : bundle.index.entries) {
        std::string leaf;
        const WUniqueFd parent = OpenParent(dirFd, entry.path, leaf);
        const WUniqueFd out(::openat(parent.Get(), leaf.c_str(),
                                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                     entry.mode));
        if (!out.IsOpen())
            throw ERuntimeWriteError("cannot create " + entry.path + " (" + ErrorText(errno) + ")",
                                     errno);
        XXH3_state_t state;
        XXH3_64bits_reset(&state);
        uint64_t written = 0;
        // One frame per file: decode until the frame ends, then check size and hash.
        // A full output buffer may hold back more output without needing more input.
        size_t status = 1;
        bool outputFull = false;
        while (status != 0) {
            if (in.pos == in.size && !outputFull && !refill()) throw damaged(entry.path);
            ZSTD_outBuffer outBuf{outBuffer.data(), outBuffer.size(), 0};
            status = ZSTD_decompressStream(dctx.get(), &outBuf, &in);
            if (ZSTD_isError(status) || written + outBuf.pos > entry.size)
                throw damaged(entry.path);
            if (!WriteAll(out.Get(), outBuffer.data(), outBuf.pos))
                throw ERuntimeWriteError(
                    "cannot write " + entry.path + " (" + ErrorText(errno) + ")", errno);
            XXH3_64bits_update(&state, outBuffer.data(), outBuf.pos);
            written += outBuf.pos;
            outputFull = outBuf.pos == outBuf.size;
        }
        if (written != entry.size || XXH3_64bits_digest(&state) != entry.hash)
            throw damaged(entry.path);
        if (::fchmod(out.Get(), entry.mode) != 0)
            throw ERuntimeWriteError("cannot set the mode of " + entry.path, errno);
    }
    if (in.pos != in.size || readPos != dataEnd)
        throw EBundleError("The runtime bundle is damaged (data after the last file).");
}

}  // namespace kindrel
