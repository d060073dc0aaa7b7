#include "runtime/runtime_bundle.h"

#include "services/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zstd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

// The writing half of the runtime bundle, apart from the reading half so that the launcher
// does not carry the zstd compressor.
namespace kindrel {

namespace {

std::string Hex64(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string ReadWholeFile(const std::string& path) {
    const WUniqueFd fd = OpenForReading(path);
    struct stat st {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EBundleError("Cannot read \"" + path + "\": " + ErrorText(errno) + ".");
    std::string bytes(static_cast<size_t>(st.st_size), '\0');
    if (ReadAt(fd.Get(), bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
        throw EBundleError("Cannot read \"" + path + "\".");
    return bytes;
}

// Writes bytes to path through a temporary name, so a frame cache never holds half a frame.
void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::string temp = path + ".XXXXXX";
    WUniqueFd fd(::mkstemp(temp.data()));
    if (!fd.IsOpen() || !WriteAll(fd.Get(), bytes.data(), bytes.size()) ||
        ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw EBundleError("Cannot write \"" + path + "\": " + ErrorText(errno) + ".");
    }
}

std::string Compress(const std::string& bytes, int level) {
    std::string frame(ZSTD_compressBound(bytes.size()), '\0');
    const std::unique_ptr<ZSTD_CCtx, size_t (*)(ZSTD_CCtx*)> cctx(ZSTD_createCCtx(), ZSTD_freeCCtx);
    ZSTD_CCtx_setParameter(cctx.get(), ZSTD_c_compressionLevel, level);
    ZSTD_CCtx_setParameter(cctx.get(), ZSTD_c_contentSizeFlag, 1);
    const size_t size =
        ZSTD_compress2(cctx.get(), frame.data(), frame.size(), bytes.data(), bytes.size());
    if (ZSTD_isError(size))
        throw EBundleError(std::string("zstd could not compress: ") + ZSTD_getErrorName(size));
    frame.resize(size);
    return frame;
}

}  // namespace

BundleWriteResult WriteRuntimeBundle(const std::vector<BundleSource>& sources,
                                     const RuntimeFooter& floors, int level,
                                     const std::string& frameCacheDir, int outFd) {
    BundleIndex index;
    std::vector<std::string> frames;
    BundleWriteResult result;
    std::error_code ec;
    if (!frameCacheDir.empty()) std::filesystem::create_directories(frameCacheDir, ec);
    for (const BundleSource& source : sources) {
        const std::string bytes = ReadWholeFile(source.source);
        BundleEntry entry{source.path, source.mode, bytes.size(),
                          HashBytes(bytes.data(), bytes.size())};
        std::string frame;
        const std::string cached = frameCacheDir.empty()
                                       ? std::string()
                                       : frameCacheDir + "/" + Hex64(entry.hash) + "-" +
                                             std::to_string(entry.size) + "-l" +
                                             std::to_string(level) + ".zst";
        if (!cached.empty() && std::filesystem::is_regular_file(cached, ec)) {
            frame = ReadWholeFile(cached);
            ++result.framesReused;
        } else {
            frame = Compress(bytes, level);
            if (!cached.empty()) WriteWholeFile(cached, frame);
        }
        if (!cached.empty()) result.frameFiles.push_back(cached);
        result.compressedBytes += static_cast<long long>(frame.size());
        index.entries.push_back(std::move(entry));
        frames.push_back(std::move(frame));
    }
    const std::string indexBytes = BundleIndex::FromBytes(index.ToBytes()).ToBytes();
    RuntimeFooter& footer = result.footer;
    footer.indexBytes = indexBytes.size();
    footer.bundleBytes = indexBytes.size() + static_cast<uint64_t>(result.compressedBytes);
    footer.unpackedBytes = index.UnpackedBytes();
    footer.runtimeId = RuntimeIdOf(indexBytes);
    footer.glibcFloor = floors.glibcFloor;
    footer.cxxFloor = floors.cxxFloor;
    footer.compatGlibcFloor = floors.compatGlibcFloor;
    const auto footerBytes = footer.ToBytes();
    bool written = WriteAll(outFd, indexBytes.data(), indexBytes.size());
    for (const std::string& frame : frames)
        written = written && WriteAll(outFd, frame.data(), frame.size());
    if (!written || !WriteAll(outFd, footerBytes.data(), footerBytes.size()))
        throw EBundleError("Cannot write the runtime bundle: " + ErrorText(errno) + ".");
    return result;
}

}  // namespace kindrel
