#include "payload/bit_file.h"

#include "payload/archive_header.h"

namespace kindrel {

TBitFile::TBitFile(const std::string& fileName, FileOpenMode mode)
    : TBufferedFileStream(fileName, kBufferSize, mode), m_readMode(mode == FileOpenMode::Read) {}

TArchiveFile::TArchiveFile(const std::string& fileName, FileOpenMode mode)
    : TBitFile(fileName, mode), m_archiveFileName(fileName) {
    TBlokarArchiveHeader header;
    if (mode == FileOpenMode::Read) {
        header.ReadHeader(*this);
    } else {
        header.WriteHeader(*this);
        FlushBuffer();
    }
}

bool TArchiveFile::Read4(uint32_t& value) {
    uint8_t bytes[4];
    const bool complete = ReadBytes(bytes, 4) == 4;
    value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
            static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return complete;
}

void TArchiveFile::Write4(uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    WriteBytes(bytes, 4);
}

}  // namespace kindrel
