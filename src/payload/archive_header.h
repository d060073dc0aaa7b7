// The headers that frame a payload archive: the archive signature and the block header.
#pragma once

#include "payload/buffered_file_stream.h"

#include <cstdint>

namespace kindrel {

// Four signature bytes read as one little-endian integer.
constexpr uint32_t SignatureOf(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

// A header that starts with a four-byte signature; subclasses give the signature and body.
class TArchiveHeader {
  public:
    virtual ~TArchiveHeader() = default;
    // The four signature bytes as a little-endian integer (0 in the base).
    virtual uint32_t Signature() const { return 0; }
    // Reads the fields that follow the signature.
    virtual void ReadBody(TBufferedFileStream&) {}
    // Writes the fields that follow the signature.
    virtual void WriteBody(TBufferedFileStream&) const {}

    // Reads four bytes; throws ESignatureWrong when they are not Signature().
    void CheckSignature(TBufferedFileStream& file) const;
    // CheckSignature, then ReadBody.
    void ReadHeader(TBufferedFileStream& file) {
        CheckSignature(file);
        ReadBody(file);
    }
    // Writes the signature, then WriteBody.
    void WriteHeader(TBufferedFileStream& file) const;
};

// The archive's own header: "QZLM", no body.
class TBlokarArchiveHeader : public TArchiveHeader {
  public:
    static constexpr uint32_t kSignature = SignatureOf('Q', 'Z', 'L', 'M');
    // "QZLM".
    uint32_t Signature() const override { return kSignature; }
};

// A block header: "DATA", CRC-32 of the expanded block, compressed size, start index and
// sentinel position (little-endian, 20 bytes in all).
class TDataBlockHeader : public TArchiveHeader {
  public:
    static constexpr uint32_t kSignature = SignatureOf('D', 'A', 'T', 'A');
    static constexpr int kBytes = 20;

    TDataBlockHeader() = default;
    // A header to write.
    TDataBlockHeader(uint32_t crc, int32_t compressedSize, int32_t startIndex,
                     int32_t sentinelPosition)
        : m_crc(crc),
          m_compressedSize(compressedSize),
          m_startIndex(startIndex),
          m_sentinelPosition(sentinelPosition) {}

    // "DATA".
    uint32_t Signature() const override { return kSignature; }
    // Reads CRC, compressed size, start index, sentinel position; see Complete().
    void ReadBody(TBufferedFileStream& file) override;
    // Writes the four fields.
    void WriteBody(TBufferedFileStream& file) const override;

    // Whether the last ReadBody found all 16 bytes before the end of the file.
    bool Complete() const { return m_complete; }
    // CRC-32 of the expanded block.
    uint32_t Crc() const { return m_crc; }
    // Bytes of coded data that follow the header.
    int32_t CompressedSize() const { return m_compressedSize; }
    // Row where the inverse transform's walk begins.
    int32_t StartIndex() const { return m_startIndex; }
    // Position of the end-of-block sentinel in the transformed block.
    int32_t SentinelPosition() const { return m_sentinelPosition; }

  private:
    uint32_t m_crc = 0;
    int32_t m_compressedSize = 0;
    int32_t m_startIndex = 0;
    int32_t m_sentinelPosition = 0;
    bool m_complete = true;
};

}  // namespace kindrel
