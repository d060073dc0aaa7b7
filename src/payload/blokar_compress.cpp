#include "payload/blokar_compress.h"

#include "containers/regular_file.h"
#include "containers/ui_hooks.h"
#include "payload/archive_header.h"
#include "payload/bit_file.h"
#include "payload/block_encoder.h"
#include "payload/expander.h"
#include "payload/ordered_pool.h"

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <limits>
#include <thread>

namespace kindrel {

namespace {

constexpr int kOutputBufferSize = 65536;
// More workers than this gain little and each holds about 7 MB of work buffers.
constexpr long long kMaxThreads = 8;

// An input file descriptor closed on every way out.
class InputFile {
  public:
    explicit InputFile(const std::string& name) : m_name(name) {
        m_fd = OpenRegularFile(name, O_RDONLY);
        if (m_fd < 0) throw EFileError(name);
    }
    ~InputFile() { ::close(m_fd); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    int Fd() const { return m_fd; }

  private:
    std::string m_name;
    int m_fd;
};

// Reads until n bytes are in or the input ends; answers the bytes read.
int ReadFull(int fd, const std::string& name, uint8_t* buffer, int n) {
    int got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, buffer + got, static_cast<size_t>(n - got));
        if (r < 0) {
            if (errno == EINTR) continue;
            throw EFileError(name);
        }
        if (r == 0) break;
        got += static_cast<int>(r);
    }
    return got;
}

// A name for an open descriptor in error messages.
std::string DescriptorName(int fd) {
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t len = ::readlink(link.c_str(), target, sizeof target - 1);
    if (len <= 0) return "file descriptor " + std::to_string(fd);
    return std::string(target, static_cast<size_t>(len));
}

}  // namespace

WBlokarCompress::WBlokarCompress() {
    m_expanders.push_back(std::make_unique<TExpander>());
}

WBlokarCompress::~WBlokarCompress() = default;

int WBlokarCompress::BlocksFor(long long size) {
    if (size <= 0) return 1;
    // Rounded up without overflow, for sizes near the largest value too.
    const long long blocks = size / kMaxBlockBytes + (size % kMaxBlockBytes != 0 ? 1 : 0);
    return static_cast<int>(std::min<long long>(blocks, std::numeric_limits<int>::max()));
}

int WBlokarCompress::ThreadsFor(long long blocks) const {
    long long threads = m_threadCount;
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<int>(std::max(1LL, std::min({threads, blocks, kMaxThreads})));
}

TExpander& WBlokarCompress::ExpanderFor(int worker) {
    while (static_cast<int>(m_expanders.size()) <= worker) {
        m_expanders.push_back(std::make_unique<TExpander>());
    }
    return *m_expanders[static_cast<size_t>(worker)];
}

TBlockEncoder& WBlokarCompress::EncoderFor(int worker) {
    while (static_cast<int>(m_encoders.size()) <= worker) {
        m_encoders.push_back(std::make_unique<TBlockEncoder>());
    }
    return *m_encoders[static_cast<size_t>(worker)];
}

ExpandResult WBlokarCompress::Expand(const std::string& archiveFile, const std::string& outputFile,
                                     int blockCount) {
    if (blockCount < 0) {
        throw EBlockError("Block count " + std::to_string(blockCount) + " is out of range");
    }
    // The headers are read here, one after the other (each gives the size of its coded
    // data); the blocks are decoded by the workers, each with its own expander and its own
    // reader of the archive, and written here in block order.
    TArchiveFile scanner(archiveFile, FileOpenMode::Read);
    scanner.SkipHeader();
    // Expanding an archive onto itself would truncate it before it is read.
    if (SameFile(archiveFile, outputFile)) throw EFileError(outputFile);
    TBufferedFileStream output(outputFile, kOutputBufferSize, FileOpenMode::Create);

    struct Slot {
        TDataBlockHeader header;
        int64_t codedStart = 0;
        std::unique_ptr<uint8_t[]> bytes;
        int length = 0;
        bool ok = false;
    };
    const int threads = ThreadsFor(blockCount);
    const int window = threads > 1 ? 2 * threads : 1;
    std::vector<Slot> slots(static_cast<size_t>(std::min(window, std::max(blockCount, 1))));
    std::vector<std::unique_ptr<TArchiveFile>> readers(static_cast<size_t>(threads));
    for (int w = 0; w < threads; ++w) ExpanderFor(w);
    TOrderedPool pool(threads);  // after what its jobs use, so it stops first

    ExpandResult result;
    int posted = 0;
    std::exception_ptr scanError;
    for (int b = 0; b < blockCount; ++b) {
        while (posted < blockCount && posted - b < static_cast<int>(slots.size()) && !scanError) {
            Slot& slot = slots[static_cast<size_t>(posted) % slots.size()];
            const int number = posted + 1;
            try {
                slot.header = TExpander::ReadBlockHeader(scanner, number);
                slot.codedStart = scanner.Position();
                scanner.SmartSeek(slot.codedStart + slot.header.CompressedSize(),
                                  SeekOrigin::Begin);
            } catch (...) {
                // Raised once the blocks before this one are written.
                scanError = std::current_exception();
                break;
            }
            if (!slot.bytes) slot.bytes = std::make_unique_for_overwrite<uint8_t[]>(kMaxBlockBytes);
            pool.Post([this, &slot, &readers, &archiveFile, number](int worker) {
                auto& reader = readers[static_cast<size_t>(worker)];
                if (!reader) reader = std::make_unique<TArchiveFile>(archiveFile);
                reader->SmartSeek(slot.codedStart, SeekOrigin::Begin);
                TExpander& expander = *m_expanders[static_cast<size_t>(worker)];
                slot.length = expander.DecodeBlock(*reader, slot.header, number, slot.bytes.get());
                slot.ok = expander.BlockOk();
            });
            ++posted;
        }
        if (b == posted) std::rethrow_exception(scanError);
        pool.Wait(b, [] { PumpEvents(); });
        const Slot& slot = slots[static_cast<size_t>(b) % slots.size()];
        if (!slot.ok) {
            ShowWarning("CRC does not match!");
            ++result.crcFailures;
        }
        output.WriteBytes(slot.bytes.get(), slot.length);
        ++result.blocks;
        result.bytesWritten += slot.length;
        PumpEvents();
    }
    output.Close();
    return result;
}

CompressResult WBlokarCompress::WriteBlocks(int inputFd, const std::string& inputFile,
                                            TBufferedFileStream& archive) {
    struct Slot {
        std::unique_ptr<uint8_t[]> input;
        int length = 0;
        TDataBlockHeader header;
        std::vector<uint8_t> coded;
    };
    // The input is read here, one block after the other; the workers encode; the blocks are
    // written here in input order.
    const off_t size = ::lseek(inputFd, 0, SEEK_END);
    const off_t here = ::lseek(inputFd, 0, SEEK_SET);
    const int threads = ThreadsFor(size > 0 && here == 0 ? BlocksFor(size) : 1);
    const int window = threads > 1 ? 2 * threads : 1;
    std::vector<Slot> slots(static_cast<size_t>(window));
    for (int w = 0; w < threads; ++w) EncoderFor(w);
    TOrderedPool pool(threads);

    CompressResult result;
    result.archiveBytes = 4;
    int64_t posted = 0;
    bool inputEnded = false;
    for (int64_t b = 0;; ++b) {
        while (!inputEnded && posted - b < window) {
            Slot& slot = slots[static_cast<size_t>(posted) % slots.size()];
            if (!slot.input) slot.input = std::make_unique_for_overwrite<uint8_t[]>(kMaxBlockBytes);
            slot.length = ReadFull(inputFd, inputFile, slot.input.get(), kMaxBlockBytes);
            if (slot.length < kMaxBlockBytes) inputEnded = true;
            // An empty input still gets its one (empty) block; an input that ends on a block
            // boundary gets no empty block after it.
            if (slot.length == 0 && posted > 0) break;
            pool.Post([this, &slot](int worker) {
                slot.header = m_encoders[static_cast<size_t>(worker)]->EncodeBlock(
                    slot.input.get(), slot.length, slot.coded);
            });
            ++posted;
        }
        if (b == posted) break;
        pool.Wait(b, [] { PumpEvents(); });
        const Slot& slot = slots[static_cast<size_t>(b) % slots.size()];
        slot.header.WriteHeader(archive);
        archive.WriteBytes(slot.coded.data(), static_cast<int>(slot.coded.size()));
        ++result.blocks;
        result.archiveBytes += TDataBlockHeader::kBytes + static_cast<long long>(slot.coded.size());
        PumpEvents();
    }
    return result;
}

CompressResult WBlokarCompress::Compress(const std::string& inputFile,
                                         const std::string& archiveFile) {
    InputFile input(inputFile);
    // Writing the archive over its own input would truncate the input before it is read.
    if (SameFile(inputFile, archiveFile)) throw EFileError(archiveFile);
    std::unique_ptr<TArchiveFile> archive;
    archive = std::make_unique<TArchiveFile>(archiveFile, FileOpenMode::Create);
    try {
        CompressResult result = WriteBlocks(input.Fd(), inputFile, *archive);
        archive->Close();
        return result;
    } catch (...) {
        archive.reset();
        ::unlink(archiveFile.c_str());  // no half-written archive stays behind
        throw;
    }
}

CompressResult WBlokarCompress::CompressToFd(const std::string& inputFile, int fd) {
    InputFile input(inputFile);
    TBufferedFileStream archive(fd, DescriptorName(fd), kOutputBufferSize, FileOpenMode::Create);
    TBlokarArchiveHeader().WriteHeader(archive);
    CompressResult result = WriteBlocks(input.Fd(), inputFile, archive);
    archive.Close();
    return result;
}

}  // namespace kindrel
