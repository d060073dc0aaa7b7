// Byte stores over memory-mapped files: WMMF (stream-like read/write/seek over a heap block or
// a mapping) and WVersionMMF (append-only store with an 8-byte header) that backs the arrays and
// the text builders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kindrel {

// A byte store that is a heap block while small and a shared mapping of a file once it grows
// past kHeapLimit, or a mapping of an existing file from the start. Move-only: the store owns
// its bytes, file descriptor and mapping. Every platform failure throws EFileError(FileName()).
class WMMF {
  public:
    // Capacity from which a store leaves the heap for a mapped file.
    static constexpr std::int64_t kHeapLimit = 65536;
    // Open mode of the create construction: a new file (replacing an existing one).
    static constexpr std::uint16_t kModeCreate = 0xFFFF;
    // Open-mode bits for existing files: read/write (either bit), others may only read,
    // exclusive (0x10 wins over 0x20). Without a write bit the file is mapped read-only.
    static constexpr std::uint16_t kModeReadWriteAll = 0x02;
    static constexpr std::uint16_t kModeReadWrite = 0x01;
    static constexpr std::uint16_t kShareDenyWrite = 0x20;
    static constexpr std::uint16_t kShareExclusive = 0x10;
    // The mode of read-only mappings (read access, others may read and write).
    static constexpr std::uint16_t kModeReadOnly = 0x40;

    // New store: a heap block when inMemory and initialSize < kHeapLimit, otherwise a file.
    // An empty fileName makes an anonymous "fmr*.tmp" file (created on first need, 0600),
    // deleted again at once: it lives on as the open descriptor until the store is destroyed,
    // so no file is left however the process ends. Size() starts at initialSize.
    WMMF(std::string fileName, bool inMemory, std::int64_t growthStep, std::int64_t initialSize);
    // Existing file, mapped whole; openMode as above (kModeReadOnly maps PROT_READ,
    // MAP_PRIVATE). A missing or empty file throws EFileError. Never deleted by the store.
    WMMF(std::string fileName, std::int64_t growthStep, std::uint16_t openMode);
    virtual ~WMMF();

    WMMF(const WMMF&) = delete;
    WMMF& operator=(const WMMF&) = delete;
    WMMF(WMMF&& other) noexcept;
    WMMF& operator=(WMMF&& other) noexcept;

    // Copies up to n bytes from the position into buffer; returns the count and advances.
    virtual std::int64_t Read(void* buffer, std::int64_t n);
    // Writes n bytes at the position (growing the store as needed); returns where they went.
    virtual std::int64_t Write(const void* buffer, std::int64_t n);
    // Moves the position: origin 0 from the start, 1 from the position, 2 from Size().
    virtual std::int64_t Seek(std::int64_t offset, int origin);
    // Hooks for derived stores; by default the same as Read, Write and Seek.
    virtual std::int64_t ReadBlock(void* buffer, std::int64_t n) { return Read(buffer, n); }
    virtual std::int64_t WriteBlock(const void* buffer, std::int64_t n) { return Write(buffer, n); }
    virtual std::int64_t SeekTo(std::int64_t offset, int origin) { return Seek(offset, origin); }

    // Base + offset, unchecked; valid until the store grows.
    char* PointerAt(std::int64_t offset) const noexcept { return m_base + offset; }
    // First byte of the store (null for a moved-from store).
    char* Base() const noexcept { return m_base; }
    // Logical size in bytes.
    std::int64_t Size() const noexcept { return m_size; }
    // Bytes allocated or mapped.
    std::int64_t Capacity() const noexcept { return m_capacity; }
    // The stream position.
    std::int64_t Position() const noexcept { return m_position; }
    // True while the bytes are a heap block.
    bool InMemory() const noexcept { return m_inMemory; }
    // True when the store was opened without write access.
    bool ReadOnly() const noexcept { return m_readOnly; }
    // The file descriptor (-1 while in memory).
    int FileHandle() const noexcept { return m_fd; }
    // The file's name; empty for an anonymous store that is still a heap block (an anonymous
    // store's file no longer carries this name once it is created).
    const std::string& FileName() const noexcept { return m_fileName; }
    // Writes the mapped bytes back to the file (nothing for a heap block or a read-only view).
    void Flush();

  protected:
    // Makes room for at least n bytes (heap realloc below kHeapLimit, else file + remap).
    void Grow(std::int64_t n);
    // Raises the logical size to at least n bytes (and marks them written).
    void ExtendSize(std::int64_t n) noexcept {
        if (n > m_size) m_size = n;
        MarkWritten(n);
    }
    // Bytes from here to the capacity have never been written: they are still the zeros of a
    // fresh heap block or of a file grown by ftruncate, so appending zeros there need not
    // write them (a large sort array's pages are then first touched by its filling, not all
    // at once by a memset).
    std::int64_t WrittenEnd() const noexcept { return m_written; }
    // Marks the first n bytes as possibly written.
    void MarkWritten(std::int64_t n) noexcept {
        if (n > m_written) m_written = n;
    }
    void SetPosition(std::int64_t p) noexcept { m_position = p; }

  private:
    void OpenExisting(std::uint16_t openMode);
    void CreateFile();
    void MoveToFile(std::int64_t newCapacity);
    void Remap(std::int64_t capacity);
    void Close() noexcept;

    bool m_inMemory = false;
    bool m_readOnly = false;
    bool m_anonymous = false;
    char* m_base = nullptr;
    std::int64_t m_size = 0;
    std::int64_t m_written = 0;
    std::int64_t m_initialSize = 0;
    std::int64_t m_capacity = 0;
    std::int64_t m_position = 0;
    std::int64_t m_growthStep = 0;
    int m_fd = -1;
    std::string m_fileName;
};

// Append-only store with an 8-byte header: int32 format number 1 and int32 end of data
// (offset one past the last byte written through this class; 8 when empty). Data starts at
// HeaderSize(). The header is written only through this class.
class WVersionMMF : public WMMF {
  public:
    static constexpr std::int64_t kHeaderSize = 8;

    // A new store that starts in memory; see WMMF for the name and the move to a file.
    WVersionMMF(std::string fileName, std::int64_t growthStep, std::int64_t initialSize);

    // Rewrites the header: format 1, end of data 8; the position goes to 8.
    void ResetHeader();
    // Same as ResetHeader.
    void Reset() { ResetHeader(); }
    // Size of the header (8).
    static constexpr std::int64_t HeaderSize() { return kHeaderSize; }
    // Offset one past the last data byte.
    std::int64_t DataEnd() const noexcept { return m_dataEnd; }
    // Sets the end of data (clamped to the header and the logical size).
    void SetDataEnd(std::int64_t n);
    // Write, then raise the end of data to cover the written bytes.
    std::int64_t WriteBlock(const void* buffer, std::int64_t n) override;
    // Appends n bytes at the end of data; returns their offset.
    std::int64_t Append(const void* buffer, std::int64_t n);
    // Appends the characters of text (no terminator); returns their offset.
    std::int64_t AppendText(std::string_view text) {
        return Append(text.data(), std::int64_t(text.size()));
    }
    // Appends n zero bytes; returns their offset.
    std::int64_t AppendZeros(std::int64_t n);
    // The data bytes (HeaderSize() to DataEnd()) as text.
    std::string_view DataText() const noexcept;

  private:
    void StoreDataEnd(std::int64_t n);

    std::int64_t m_dataEnd = kHeaderSize;
};

}  // namespace kindrel
