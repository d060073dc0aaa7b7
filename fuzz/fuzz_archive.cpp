// Fuzz target for the payload archive. The first byte chooses: bits 0-1 the block count
// (1..4), bit 2 one thread or two, bit 3 the mode, bit 4 stretching. In archive mode the rest
// of the input is an archive file, expanded into a temporary file; it must end in an output
// or one of the archive's own errors. In round-trip mode the rest is packed and expanded
// again and must come back unchanged. Stretched, the round trip's text is first grown to a
// length the next three bytes give (up to one byte past a whole block), so whole blocks and
// their boundary are packed; stretched archive mode expands the packed stretched text with
// its bytes from the input laid over it at an offset the input gives, so damage lands deep
// inside blocks of real size.
#include "containers/errors.h"
#include "containers/temp_file.h"
#include "payload/blokar_compress.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// A private folder for this process's files, removed at exit.
const std::filesystem::path& WorkDir() {
    static const std::filesystem::path dir = [] {
        std::string pattern = kindrel::TemporaryDirectory() + "/kindrel-fuzz-archive-XXXXXX";
        Check(::mkdtemp(pattern.data()) != nullptr);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(WorkDir(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return dir;
}

// Writes a new file (removing the old one first is much cheaper than truncating it).
void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::filesystem::remove(path);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Check(out.good());
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

// The text of a stretched round trip: piece repeated up to a length of (a, b, c) modulo one
// byte past a whole block, each repetition with its count mixed in so that the text is not
// merely periodic.
std::vector<uint8_t> Stretch(const uint8_t* piece, size_t pieceSize, uint8_t a, uint8_t b,
                             uint8_t c) {
    const size_t length =
        (size_t(a) << 16 | size_t(b) << 8 | c) % (size_t(kindrel::kMaxBlockBytes) + 2);
    std::vector<uint8_t> text(length);
    for (size_t i = 0; i < length; ++i) {
        const size_t round = i / pieceSize;
        text[i] = static_cast<uint8_t>(piece[i % pieceSize] + ((round & 7) == 7 ? round : 0));
    }
    return text;
}

// Expands a possibly damaged archive: the result is an output of the blocks asked for, or
// one of the archive's own errors.
void ExpandDamaged(kindrel::WBlokarCompress& expander, const std::string& archive,
                   const std::string& output, int blockCount) {
    try {
        const kindrel::ExpandResult result = expander.Expand(archive, output, blockCount);
        Check(result.blocks == blockCount);
        Check(result.bytesWritten <= static_cast<long long>(blockCount) * kindrel::kMaxBlockBytes);
        Check(static_cast<long long>(std::filesystem::file_size(output)) == result.bytesWritten);
    } catch (const kindrel::ESignatureWrong&) {
    } catch (const kindrel::EBitOverrun&) {
    } catch (const kindrel::EBlockError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static kindrel::WBlokarCompress blokar;  // keeps its work buffers between runs
    const std::string archive = (WorkDir() / "archive").string();
    const std::string input = (WorkDir() / "input").string();
    const std::string output = (WorkDir() / "output").string();
    const int blockCount = 1 + (data[0] & 3);
    blokar.SetThreadCount((data[0] & 4) ? 2 : 1);
    std::filesystem::remove(output);

    if (data[0] & 16) {
        if (size < 5) return 0;
        const std::vector<uint8_t> text = Stretch(data + 4, size - 4, data[1], data[2], data[3]);
        WriteFile(input, text.data(), text.size());
        const kindrel::CompressResult packed = blokar.Compress(input, archive);
        if (data[0] & 8) {
            const kindrel::ExpandResult expanded = blokar.Expand(archive, output, packed.blocks);
            Check(expanded.crcFailures == 0);
            Check(ReadFile(output) == text);
            return 0;
        }
        // Damage: the input's bytes overwrite the archive from an offset it chooses.
        std::vector<uint8_t> bytes = ReadFile(archive);
        if (bytes.empty()) return 0;
        const size_t at = (size_t(data[1]) << 16 | size_t(data[2]) << 8 | data[3]) % bytes.size();
        for (size_t i = 4; i < size && at + i - 4 < bytes.size(); ++i) bytes[at + i - 4] ^= data[i];
        WriteFile(archive, bytes.data(), bytes.size());
        ExpandDamaged(blokar, archive, output, packed.blocks);
        return 0;
    }

    if (data[0] & 8) {
        WriteFile(input, data + 1, size - 1);
        const kindrel::CompressResult packed = blokar.Compress(input, archive);
        Check(packed.blocks ==
              kindrel::WBlokarCompress::BlocksFor(static_cast<long long>(size - 1)));
        const kindrel::ExpandResult expanded = blokar.Expand(archive, output, packed.blocks);
        Check(expanded.crcFailures == 0);
        const std::vector<uint8_t> back = ReadFile(output);
        Check(back.size() == size - 1 && std::equal(back.begin(), back.end(), data + 1));
        return 0;
    }

    WriteFile(archive, data + 1, size - 1);
    ExpandDamaged(blokar, archive, output, blockCount);
    return 0;
}
