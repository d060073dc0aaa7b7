// A file stream that reads and writes through a buffer of its own, one byte at a time
// cheaply; the archive reader's byte source and the expander's output.
#pragma once

#include "containers/errors.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kindrel {

// A seek landed before the start of the file.
class ESeekError : public KindrelError {
  public:
    ESeekError() : KindrelError("SmartSeek General error") {}
};

// How a stream opens its file.
enum class FileOpenMode {
    Read,    // existing file, read only; others may read it too (shared advisory lock)
    Create,  // created or truncated, write only
};

// Where a seek offset counts from.
enum class SeekOrigin { Begin, Current, End };

// Buffered file stream. Reading past the end delivers zero bytes; failures to open, read or
// write raise EFileError with the file's name.
class TBufferedFileStream {
  public:
    // Opens fileName with a buffer of bufferSize bytes. Throws EFileError.
    TBufferedFileStream(const std::string& fileName, int bufferSize, FileOpenMode mode);
    // Works on an already open descriptor that stays open (and owned by the caller) when the
    // stream ends; fileName names it in error messages.
    TBufferedFileStream(int fd, const std::string& fileName, int bufferSize, FileOpenMode mode);
    TBufferedFileStream(const TBufferedFileStream&) = delete;
    TBufferedFileStream& operator=(const TBufferedFileStream&) = delete;
    // Flushes what is buffered (errors are lost here; call Close to see them).
    virtual ~TBufferedFileStream();

    // Writes out what is buffered and closes the file. Throws EFileError when a write fails.
    void Close();

    // The byte offset that the next read or write uses.
    int64_t Position() const;
    // The current size of the file in bytes.
    int64_t Size() const;
    // The name given at construction.
    const std::string& FileName() const { return m_fileName; }

    // Writes buffered bytes to the file and empties the buffer.
    void FlushBuffer();
    // Moves to offset counted from origin. Throws ESeekError for a negative target.
    void SmartSeek(int64_t offset, SeekOrigin origin);

    // Reads one byte into b: 1, or 0 with b = 0 at the end of the file.
    int ReadByte(uint8_t& b) {
        if (m_indexInBuffer < m_bytesInBuffer && !m_bufferInvalid) {
            b = m_buffer[m_indexInBuffer++];
            return 1;
        }
        return ReadByteSlow(b);
    }
    // Appends one byte.
    void WriteByte(uint8_t b) {
        if (m_indexInBuffer >= m_bufferSize) FlushBuffer();
        m_buffer[m_indexInBuffer++] = b;
        m_dirty = true;
    }
    // Reads up to n bytes; answers how many there were. Bytes past the end read as zero.
    int ReadBytes(void* buffer, int n);
    // Writes n bytes; answers n.
    int WriteBytes(const void* buffer, int n);

  private:
    int ReadByteSlow(uint8_t& b);
    void FillBuffer();
    void WriteAll(const uint8_t* data, int64_t n);

    int m_bufferSize;
    int m_bytesInBuffer = 0;
    int m_indexInBuffer = 0;
    int64_t m_bufferFilePosition = 0;  // file offset of m_buffer[0]
    int64_t m_filePosition = 0;        // offset of the descriptor as this stream left it
    bool m_dirty = false;
    bool m_bufferInvalid = true;
    bool m_lastFillShort = false;  // the last fill met the end of the file
    std::string m_fileName;
    bool m_forWriting;
    bool m_ownsFd;
    int m_fd = -1;
    std::unique_ptr<uint8_t[]> m_buffer;
};

// Whether two paths name the same existing file (same device and inode).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace kindrel
