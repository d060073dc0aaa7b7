#include "payload/archive_header.h"

#include "payload/blokar_compress.h"

#include <cstring>

namespace kindrel {

namespace {

uint32_t FromLittleEndian(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void ToLittleEndian(uint32_t v, uint8_t* p) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace

void TArchiveHeader::CheckSignature(TBufferedFileStream& file) const {
    uint8_t bytes[4];
    file.ReadBytes(bytes, 4);  // a short file reads as zeros and fails the comparison
    if (FromLittleEndian(bytes) != Signature()) throw ESignatureWrong();
}

void TArchiveHeader::WriteHeader(TBufferedFileStream& file) const {
    uint8_t bytes[4];
    ToLittleEndian(Signature(), bytes);
    file.WriteBytes(bytes, 4);
    WriteBody(file);
}

void TDataBlockHeader::ReadBody(TBufferedFileStream& file) {
    uint8_t bytes[16];
    m_complete = file.ReadBytes(bytes, 16) == 16;
    m_crc = FromLittleEndian(bytes);
    m_compressedSize = static_cast<int32_t>(FromLittleEndian(bytes + 4));
    m_startIndex = static_cast<int32_t>(FromLittleEndian(bytes + 8));
    m_sentinelPosition = static_cast<int32_t>(FromLittleEndian(bytes + 12));
}

void TDataBlockHeader::WriteBody(TBufferedFileStream& file) const {
    uint8_t bytes[16];
    ToLittleEndian(m_crc, bytes);
    ToLittleEndian(static_cast<uint32_t>(m_compressedSize), bytes + 4);
    ToLittleEndian(static_cast<uint32_t>(m_startIndex), bytes + 8);
    ToLittleEndian(static_cast<uint32_t>(m_sentinelPosition), bytes + 12);
    file.WriteBytes(bytes, 16);
}

}  // namespace kindrel
