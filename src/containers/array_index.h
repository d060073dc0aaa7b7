// Growable arrays of fixed-size records over a WVersionMMF: 1-based positions (0 = none),
// quicksort with a caller's compare function, binary search, and the array iterator.
#pragma once

#include "containers/mmf.h"
#include "containers/ui_hooks.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace kindrel {

// Compares record a with record b (Sort) or with a search key (Find, FindNearest; context is
// then null): negative when a comes first, 0 when equal, positive when a comes after.
using WCompareFunc = int (*)(const void* a, const void* b, void* context);

namespace detail {
template <class Compare>
class RecordSorter;
}

// Root of the index classes.
class WABSIndex {
  public:
    WABSIndex() = default;
    virtual ~WABSIndex() = default;
    WABSIndex(const WABSIndex&) = delete;
    WABSIndex& operator=(const WABSIndex&) = delete;
    WABSIndex(WABSIndex&&) = default;
    WABSIndex& operator=(WABSIndex&&) = default;
};

// Array of records of RecordSize() bytes, record i at store offset 16 + (i - 1) * RecordSize().
// The store stays a heap block below 64 KB and becomes a mapped temporary file beyond.
// Invalid positions read as null and writes to them are ignored; nothing throws for them.
// Record pointers are valid until the next Add, SetCount or Clear. Move-only.
class WABSArrayIndex : public WABSIndex {
  public:
    // Byte offset of record 1 in the store (after the store and array headers).
    static constexpr int kDataStart = 16;
    // Growth step of the store in bytes.
    static constexpr std::int64_t kGrowthStep = 16384;
    // Quicksort steps between two calls of the event pump.
    static constexpr int kPumpInterval = 200;
    // Ranges with hi - lo below this are finished by insertion sort.
    static constexpr int kInsertionLimit = 10;

    // Creates the store (empty fileName: anonymous) with room for initialCount records.
    // A named file is deleted on destruction unless keepFile is true.
    WABSArrayIndex(std::string fileName, bool keepFile, int recordSize, int initialCount);
    ~WABSArrayIndex() override;
    WABSArrayIndex(WABSArrayIndex&& other) noexcept;
    WABSArrayIndex& operator=(WABSArrayIndex&& other) noexcept;

    // Number of records; derived iterators may build their contents first.
    virtual int Count() const { return m_count; }
    // Number of records as stored, without any virtual call (for hot loops).
    int RecordCount() const noexcept { return m_count; }
    // Bytes per record.
    int RecordSize() const noexcept { return m_recordSize; }
    // Appends a copy of the record (zeros for null); returns its position (the new count).
    int Add(const void* record);
    // Pointer to record i, or null when i is not a valid position.
    char* Item(int i) noexcept { return IsValidIndex(i) ? RecordAt(i) : nullptr; }
    // Pointer to record i, or null when i is not a valid position.
    const char* Item(int i) const noexcept { return IsValidIndex(i) ? RecordAt(i) : nullptr; }
    // Copies a record into slot i; ignored when i is not valid. Clears the sorted mark.
    void SetItem(int i, const void* record) noexcept;
    // True when 1 <= i <= count.
    bool IsValidIndex(int i) const noexcept { return i >= 1 && i <= m_count; }
    // Grows the array to n zero-filled records; a smaller n changes nothing.
    void SetCount(int n);
    // Empties the array (the store keeps its capacity).
    void Clear();
    // Sorts with compare(a, b, context). Does nothing when empty, already marked sorted, or
    // while a sort of this array is running (the event pump may re-enter). Not stable.
    void Sort(WCompareFunc compare, void* context);
    // Sort with any callable compare(const void* a, const void* b) -> int (inlined).
    template <class Compare>
    void SortBy(Compare compare);
    // Binary search with compare(record, key, null); the position of a match, else 0.
    int Find(WCompareFunc compare, const void* key) const;
    // Binary search; on a match found = true and its position, else found = false and the
    // first record after the key (count when the key is after every record, 0 when empty).
    int FindNearest(WCompareFunc compare, const void* key, bool& found) const;
    // Find with a callable keyCompare(const void* record) -> int (record against the key).
    template <class KeyCompare>
    int FindBy(KeyCompare keyCompare) const;
    // FindNearest with a callable keyCompare(const void* record) -> int.
    template <class KeyCompare>
    int FindNearestBy(KeyCompare keyCompare, bool& found) const;
    // Marks the records as sorted without sorting (the caller filled them in order).
    void MarkSorted() noexcept { m_sorted = true; }
    // True while the records are known to be in the order of the last Sort.
    bool IsSorted() const noexcept { return m_sorted; }
    // True while a Sort of this array runs.
    bool IsSorting() const noexcept { return m_sorting; }
    // True while the store is a heap block (false once it lives in a mapped file).
    bool InMemory() const noexcept { return m_store.InMemory(); }
    // Name of the store's file; empty while an anonymous store is in memory.
    const std::string& StoreFileName() const noexcept { return m_store.FileName(); }

  protected:
    // Record i without a range check (1 <= i <= count is the caller's duty).
    char* RecordAt(int i) const noexcept {
        return m_store.PointerAt(kDataStart + std::int64_t(i - 1) * m_recordSize);
    }
    // Clears the sorted mark after a change of the records.
    void Touch() noexcept {
        m_sorted = false;
        ++m_changes;
    }

  private:
    template <class Compare>
    friend class detail::RecordSorter;

    std::string m_fileName;
    bool m_keepFile = false;
    WVersionMMF m_store;
    int m_recordSize = 0;
    int m_count = 0;
    int m_initialCount = 0;
    bool m_sorted = false;
    bool m_sorting = false;
    // Counts changes, so a Sort that the event pump interrupted with a change of the
    // records does not mark them sorted.
    std::uint32_t m_changes = 0;
};

// An array with a current position (1-based, 0 = none) and the walk operations.
// A walk: take First(), and while the result is not null, use it and take Next().
class WABSIterator : public WABSArrayIndex {
  public:
    // As WABSArrayIndex with keep file false; the position starts at 0.
    WABSIterator(std::string fileName, int recordSize, int initialCount);

    // Record i (position becomes i), or null (position becomes 0).
    virtual char* GoTo(int i);
    // GoTo(1).
    char* First() { return GoTo(1); }
    // GoTo(position + 1); after running off the end this starts again at record 1.
    char* Next() { return GoTo(m_position + 1); }
    // GoTo(position - 1).
    char* Prev() { return GoTo(m_position - 1); }
    // GoTo(Count()).
    char* Last() { return GoTo(Count()); }
    // The current position (0 = none).
    int Position() const noexcept { return m_position; }

  protected:
    int m_position = 0;
};

namespace detail {

// The quicksort of WABSArrayIndex: middle pivot, smaller side recursive, insertion sort
// below kInsertionLimit, event pump every kPumpInterval steps. Records are addressed by
// position on every access, so a store that grew while the pump ran is still read right.
template <class Compare>
class RecordSorter {
  public:
    RecordSorter(WABSArrayIndex& array, Compare& compare, char* pivot, char* swap)
        : m_array(array),
          m_compare(compare),
          m_pivot(pivot),
          m_swap(swap),
          m_size(array.m_recordSize) {}

    void Run(int lo, int hi) { QuickSort(lo, hi); }

  private:
    char* Rec(int i) const { return m_array.RecordAt(i); }

    void Copy(char* to, const char* from) const {
        if (to == from) return;
        switch (m_size) {
            case 4:
                std::memcpy(to, from, 4);
                break;
            case 8:
                std::memcpy(to, from, 8);
                break;
            default:
                std::memcpy(to, from, std::size_t(m_size));
                break;
        }
    }

    void Swap(int a, int b) const {
        if (a == b) return;
        Copy(m_swap, Rec(a));
        Copy(Rec(a), Rec(b));
        Copy(Rec(b), m_swap);
    }

    void QuickSort(int lo, int hi) {
        while (lo < hi) {
            if (++m_steps % WABSArrayIndex::kPumpInterval == 0) PumpEvents();
            if (hi - lo < WABSArrayIndex::kInsertionLimit) {
                InsertionSort(lo, hi);
                return;
            }
            const int p = Partition(lo, hi);
            // Recurse into the smaller side and loop on the larger: logarithmic depth.
            if (p - lo > hi - p) {
                QuickSort(p + 1, hi);
                hi = p - 1;
            } else {
                QuickSort(lo, p - 1);
                lo = p + 1;
            }
        }
    }

    int Partition(int lo, int hi) {
        const int mid = lo + (hi - lo) / 2;
        Copy(m_pivot, Rec(mid));
        Swap(lo, mid);
        int i = lo + 1;
        int j = hi;
        for (;;) {
            while (i < j && m_compare(m_pivot, Rec(i)) > 0) ++i;
            while (j >= i && m_compare(Rec(j), m_pivot) > 0) --j;
            if (j <= i) break;
            Swap(i, j);
            ++i;
            --j;
        }
        Copy(Rec(lo), Rec(j));
        Copy(Rec(j), m_pivot);
        return j;
    }

    void InsertionSort(int lo, int hi) {
        for (int k = lo + 1; k <= hi; ++k) {
            Copy(m_pivot, Rec(k));
            int m = k - 1;
            while (m >= lo && m_compare(Rec(m), m_pivot) > 0) {
                Copy(Rec(m + 1), Rec(m));
                --m;
            }
            Copy(Rec(m + 1), m_pivot);
        }
    }

    WABSArrayIndex& m_array;
    Compare& m_compare;
    char* m_pivot;
    char* m_swap;
    int m_size;
    std::uint32_t m_steps = 0;
};

}  // namespace detail

template <class Compare>
void WABSArrayIndex::SortBy(Compare compare) {
    if (m_store.Base() == nullptr || m_count < 1 || m_sorted || m_sorting) return;
    m_sorting = true;
    struct SortingGuard {
        bool& flag;
        ~SortingGuard() { flag = false; }
    } guard{m_sorting};
    std::vector<char> scratch(std::size_t(m_recordSize) * 2);
    const std::uint32_t changesBefore = m_changes;
    detail::RecordSorter<Compare> sorter(*this, compare, scratch.data(),
                                         scratch.data() + m_recordSize);
    sorter.Run(1, m_count);
    if (m_changes == changesBefore) m_sorted = true;
}

template <class KeyCompare>
int WABSArrayIndex::FindBy(KeyCompare keyCompare) const {
    int lo = 1;
    int hi = m_count;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = keyCompare(static_cast<const void*>(RecordAt(mid)));
        if (c == 0) return mid;
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return 0;
}

template <class KeyCompare>
int WABSArrayIndex::FindNearestBy(KeyCompare keyCompare, bool& found) const {
    found = false;
    int lo = 1;
    int hi = m_count;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = keyCompare(static_cast<const void*>(RecordAt(mid)));
        if (c == 0) {
            found = true;
            return mid;
        }
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return lo < m_count ? lo : m_count;
}

}  // namespace kindrel
