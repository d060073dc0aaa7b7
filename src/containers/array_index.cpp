#include "containers/array_index.h"

#include <unistd.h>
#include <utility>

namespace kindrel {

namespace {

// Initial capacity of an array's store: room for the records plus the headers, or a small
// default for an array that starts empty.
std::int64_t InitialCapacity(int recordSize, int initialCount) {
    if (initialCount <= 0) return 2048;
    return std::int64_t(recordSize) * initialCount + 1024;
}

}  // namespace

WABSArrayIndex::WABSArrayIndex(std::string fileName, bool keepFile, int recordSize,
                               int initialCount)
    : m_fileName(fileName),
      m_keepFile(keepFile),
      m_store(std::move(fileName), kGrowthStep,
              InitialCapacity(recordSize < 1 ? 1 : recordSize, initialCount)),
      m_recordSize(recordSize < 1 ? 1 : recordSize),
      m_initialCount(initialCount < 0 ? 0 : initialCount) {
    Clear();
}

WABSArrayIndex::~WABSArrayIndex() {
    if (m_store.Base() == nullptr) return;
    // The final count goes into the array header, for whoever reads a kept file.
    const std::int32_t count = m_count;
    std::memcpy(m_store.PointerAt(8), &count, sizeof count);
    // Only a file the store actually created is deleted, never one it did not touch.
    if (!m_keepFile && !m_fileName.empty() && !m_store.InMemory()) ::unlink(m_fileName.c_str());
}

WABSArrayIndex::WABSArrayIndex(WABSArrayIndex&& other) noexcept
    : WABSIndex(std::move(other)),
      m_fileName(std::exchange(other.m_fileName, {})),
      m_keepFile(other.m_keepFile),
      m_store(std::move(other.m_store)),
      m_recordSize(other.m_recordSize),
      m_count(std::exchange(other.m_count, 0)),
      m_initialCount(other.m_initialCount),
      m_sorted(std::exchange(other.m_sorted, false)),
      m_sorting(false),
      m_changes(other.m_changes) {}

WABSArrayIndex& WABSArrayIndex::operator=(WABSArrayIndex&& other) noexcept {
    if (this == &other) return *this;
    WABSArrayIndex taken(std::move(other));
    std::swap(m_fileName, taken.m_fileName);
    std::swap(m_keepFile, taken.m_keepFile);
    std::swap(m_store, taken.m_store);
    std::swap(m_recordSize, taken.m_recordSize);
    std::swap(m_count, taken.m_count);
    std::swap(m_initialCount, taken.m_initialCount);
    std::swap(m_sorted, taken.m_sorted);
    m_sorting = false;
    ++m_changes;
    return *this;
}

int WABSArrayIndex::Add(const void* record) {
    if (record != nullptr) {
        m_store.Append(record, m_recordSize);
    } else {
        m_store.AppendZeros(m_recordSize);
    }
    ++m_count;
    Touch();
    return m_count;
}

void WABSArrayIndex::SetItem(int i, const void* record) noexcept {
    if (!IsValidIndex(i) || record == nullptr) return;
    std::memcpy(RecordAt(i), record, std::size_t(m_recordSize));
    Touch();
}

void WABSArrayIndex::SetCount(int n) {
    if (n <= m_count) return;
    m_store.AppendZeros(std::int64_t(n - m_count) * m_recordSize);
    m_count = n;
    // Zero records appended to a sorted array need not be in order.
    Touch();
}

void WABSArrayIndex::Clear() {
    m_store.ResetHeader();
    m_count = 0;
    const std::int32_t fields[2] = {0, m_recordSize};
    m_store.Append(fields, sizeof fields);
    Touch();
}

void WABSArrayIndex::Sort(WCompareFunc compare, void* context) {
    if (compare == nullptr) return;
    SortBy([compare, context](const void* a, const void* b) { return compare(a, b, context); });
}

int WABSArrayIndex::Find(WCompareFunc compare, const void* key) const {
    if (compare == nullptr) return 0;
    return FindBy([compare, key](const void* record) { return compare(record, key, nullptr); });
}

int WABSArrayIndex::FindNearest(WCompareFunc compare, const void* key, bool& found) const {
    found = false;
    if (compare == nullptr) return 0;
    return FindNearestBy(
        [compare, key](const void* record) { return compare(record, key, nullptr); }, found);
}

WABSIterator::WABSIterator(std::string fileName, int recordSize, int initialCount)
    : WABSArrayIndex(std::move(fileName), false, recordSize, initialCount) {}

char* WABSIterator::GoTo(int i) {
    char* record = Item(i);
    m_position = record != nullptr ? i : 0;
    return record;
}

}  // namespace kindrel
