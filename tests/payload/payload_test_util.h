// Helpers shared by the payload tests: a scratch folder, whole-file reads and writes,
// generated inputs and hand-built archives.
#pragma once

#include "payload/archive_header.h"
#include "payload/bit_file.h"
#include "payload/block_encoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace kindrel::test {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the temporary directory, removed at the end of the test.
class ScratchDir {
  public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "kindrel-payload-";
        if (info) name += std::string(info->test_suite_name()) + "-" + info->name() + "-";
        name += std::to_string(std::random_device{}());
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

// Writes a new file. An existing one is removed first: truncating a file that has data makes
// ext4 flush it on close, which would slow the sweeps down a hundredfold.
inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline Bytes RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes bytes(n);
    for (auto& b : bytes) b = static_cast<uint8_t>(rng());
    return bytes;
}

inline Bytes FromText(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// GEDCOM-like text of about n bytes: many similar records, as the archive mostly carries.
inline Bytes GedcomLikeText(size_t n, uint32_t seed) {
    static const char* const kGiven[] = {"John",  "Mary",  "William", "Elizabeth", "Thomas",
                                         "Sarah", "James", "Anne",    "Robert",    "Margaret"};
    static const char* const kSurname[] = {"Smith",  "Taylor", "Brown",  "Wilson", "Evans",
                                           "Walker", "Wright", "Hughes", "Green",  "Hall"};
    static const char* const kPlace[] = {"London, England", "Dublin, Ireland", "Boston, USA",
                                         "York, England", "Cork, Ireland"};
    std::mt19937 rng(seed);
    std::string text = "0 HEAD\n1 CHAR UTF-8\n";
    for (int id = 1; text.size() < n; ++id) {
        text += "0 @I" + std::to_string(id) + "@ INDI\n1 NAME " + kGiven[rng() % 10] + " /" +
                kSurname[rng() % 10] + "/\n1 SEX " + (rng() % 2 ? "M" : "F") + "\n1 BIRT\n2 DATE " +
                std::to_string(1 + rng() % 28) + " JAN " + std::to_string(1700 + rng() % 300) +
                "\n2 PLAC " + kPlace[rng() % 5] + "\n1 FAMC @F" + std::to_string(rng() % 5000) +
                "@\n";
    }
    text.resize(n);
    return FromText(text);
}

// Writes an archive of the given blocks, each encoded on its own.
inline void WriteArchive(const std::string& path, const std::vector<Bytes>& blocks) {
    TArchiveFile archive(path, FileOpenMode::Create);
    TBlockEncoder encoder;
    std::vector<uint8_t> coded;
    for (const Bytes& block : blocks) {
        const TDataBlockHeader header =
            encoder.EncodeBlock(block.data(), static_cast<int>(block.size()), coded);
        header.WriteHeader(archive);
        archive.WriteBytes(coded.data(), static_cast<int>(coded.size()));
    }
    archive.Close();
}

// Offset of block number's header (1-based) in an archive image.
inline size_t BlockOffset(const Bytes& archive, int number) {
    size_t offset = 4;
    for (int b = 1; b < number; ++b) {
        const uint32_t size = archive[offset + 8] | archive[offset + 9] << 8 |
                              archive[offset + 10] << 16 |
                              static_cast<uint32_t>(archive[offset + 11]) << 24;
        offset += TDataBlockHeader::kBytes + size;
    }
    return offset;
}

// Stores a little-endian 32-bit value into an archive image.
inline void Put32(Bytes& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t Get32(const Bytes& bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

}  // namespace kindrel::test
