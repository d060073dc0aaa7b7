// The archive file and its most-significant-bit-first bit reader.
#pragma once

#include "payload/blokar_compress.h"
#include "payload/buffered_file_stream.h"

#include <cstdint>
#include <string>

namespace kindrel {

// A buffered file read bit by bit, the most significant bit of each byte first. A byte limit
// bounds what is taken from the file: past it come zero bytes, at most kMaxBytesPastLimit of
// them, and asking for one more raises EBitOverrun.
class TBitFile : public TBufferedFileStream {
  public:
    static constexpr int kBufferSize = 65536;
    static constexpr int kMaxBytesPastLimit = 20;
    static constexpr int64_t kNoLimit = 2147483647;

    // Opens fileName for reading (FileOpenMode::Read) or creates it (FileOpenMode::Create).
    TBitFile(const std::string& fileName, FileOpenMode mode);

    // Allows n more bytes from the file and restarts the count of bytes taken.
    void SetByteLimit(int64_t n) {
        m_byteLimit = n;
        m_bytesTaken = 0;
    }
    // Drops the rest of a partly read byte; the next bit starts a new byte.
    void ResetBits() {
        m_bitMask = 128;
        m_currentByte = 0;
    }
    // The next bit, 0 or 1.
    int ReadBit() {
        if (m_bitMask == 128) m_currentByte = TakeByte();
        const int bit = (m_currentByte & m_bitMask) != 0;
        m_bitMask >>= 1;
        if (m_bitMask == 0) m_bitMask = 128;
        return bit;
    }
    // The next n bits (n <= 31), the first read being the most significant.
    int ReadBits(int n) {
        int v = 0;
        for (int i = 0; i < n; ++i) v = (v << 1) | ReadBit();
        return v;
    }
    // Bytes delivered since the last SetByteLimit, zero bytes past the limit included.
    int64_t BytesTaken() const { return m_bytesTaken; }
    // Whether the file was opened for reading.
    bool ReadMode() const { return m_readMode; }

  private:
    uint8_t TakeByte() {
        if (m_bytesTaken < m_byteLimit) {
            uint8_t b = 0;
            ReadByte(b);
            ++m_bytesTaken;
            return b;
        }
        if (m_bytesTaken - m_byteLimit >= kMaxBytesPastLimit) throw EBitOverrun();
        ++m_bytesTaken;
        return 0;
    }

    uint8_t m_bitMask = 128;
    uint8_t m_currentByte = 0;
    bool m_readMode;
    int64_t m_byteLimit = kNoLimit;
    int64_t m_bytesTaken = 0;
};

// A payload archive file: opening it for reading checks its "QZLM" signature; creating it
// writes the signature.
class TArchiveFile : public TBitFile {
  public:
    // Opens (FileOpenMode::Read; throws ESignatureWrong) or creates an archive.
    explicit TArchiveFile(const std::string& fileName, FileOpenMode mode = FileOpenMode::Read);

    // Moves to the first block, just past the archive signature.
    void SkipHeader() { SmartSeek(4, SeekOrigin::Begin); }
    // Reads a little-endian 32-bit value; answers false when the file ended first.
    bool Read4(uint32_t& value);
    // Writes a little-endian 32-bit value.
    void Write4(uint32_t value);
    // The archive's file name.
    const std::string& ArchiveFileName() const { return m_archiveFileName; }

  private:
    std::string m_archiveFileName;
};

}  // namespace kindrel
