// The indexes of the GEDCOM load: record offsets per kind (WOffsetIndex), sorted identifier
// indexes (WXREFIndex), the individual index with its line caches (WGEDIndIndex) and the
// individual-to-family links (WIndLinks).
#pragma once

#include "containers/array_index.h"
#include "gedcom/link_array.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace kindrel {

class WABSCollection;

// Byte offsets of the records of one kind from the start of the text, in file order.
class WOffsetIndex : public WABSArrayIndex {
  public:
    // An empty index with room for initialCount offsets.
    explicit WOffsetIndex(int initialCount);
    // Appends an offset; returns its number (the new count).
    int AddOffset(std::uint32_t offset) { return Add(&offset); }
    // The offset of record n; EIndexError outside 1..count.
    std::uint32_t OffsetAt(int n) const;
};

// Identifiers of one record kind with their record numbers, sorted for binary search.
// Records are 16 bytes: the first eight bytes of the identifier (zero-padded), a reference
// to the whole identifier when it is longer than eight bytes or holds a zero byte, and the
// number. Order: the first four bytes as a little-endian signed integer, then bytes 4 to 7
// as unsigned characters, then (only when one of the two is long) the whole identifiers.
// Identifiers of any length are kept whole. The views handed to AddXref must stay valid as
// long as the index (the collection passes views into its mapped text).
class WXREFIndex : public WABSArrayIndex {
  public:
    // Bytes per record.
    static constexpr int kRecordSize = 16;

    // An empty index with room for initialCount identifiers.
    explicit WXREFIndex(int initialCount);
    // Appends an identifier with the number count + 1; notes when it breaks the order.
    void AddXref(std::string_view id);
    // The number of the record with this identifier (one of them when it occurs twice), or 0.
    // Sorts first when needed.
    int FindXref(std::string_view id);
    // Sorts when an identifier came out of order since the last sort.
    void SortIfNeeded();
    // True while an identifier came out of order and no sort followed.
    bool NeedsSorting() const noexcept { return m_needsSorting; }
    // The identifier of index record i (in index order), empty when i is invalid.
    std::string_view XrefAt(int i) const;
    // The record number stored in index record i, 0 when i is invalid.
    int NumberAt(int i) const;
    // The identifier order over two index records; ECompareError for a null record.
    int CompareRecords(const void* a, const void* b) const;

  private:
    // An identifier in the form the order reads it.
    struct Key {
        std::int32_t head = 0;   // bytes 0 to 3, little-endian, signed
        std::uint32_t rest = 0;  // bytes 4 to 7, big-endian, so it compares as bytes do
        bool isLong = false;     // compared whole when the first eight bytes tie
        std::string_view full;   // the whole identifier (filled only when isLong)
    };
    // The whole identifier of a record.
    std::string_view FullOf(const char* record) const;
    int CompareRecordToKey(const char* record, const Key& key) const;
    int CompareTwoRecords(const char* a, const char* b) const;

    bool m_needsSorting = false;
    std::vector<std::string_view> m_long;
};

// The line cache of one individual: offsets of its key lines from its level-0 line.
struct WIndCache {
    // Slots of the key lines.
    enum Slot : int {
        kName = 0,
        kAfn,
        kNote,
        kBirth,
        kChristening,
        kDeath,
        kBurial,
        kChange,
        kLdsBaptism,
        kLdsEndowment,
        kLdsSealingToParents,
        kSlotCount
    };
    // Flag bits.
    static constexpr std::uint8_t kValid = 1;
    static constexpr std::uint8_t kMoreNotes = 2;
    // Some key line lies beyond the reach of a 16-bit offset: the slots are found by a scan.
    static constexpr std::uint8_t kBeyondReach = 4;

    std::uint16_t slots[kSlotCount];
    char sex;
    std::uint8_t flags;
};
static_assert(sizeof(WIndCache) == 24);

// The individuals' record offsets in file order, and one line cache per individual. The
// caches are made in blocks on first use, so a load touches only the offsets.
class WGEDIndIndex : public WABSArrayIndex {
  public:
    // An empty index with room for initialCount individuals.
    explicit WGEDIndIndex(int initialCount);
    ~WGEDIndIndex() override;
    // Appends an individual's offset; its cache starts cleared.
    int AddIndividual(std::uint32_t offset) { return Add(&offset); }
    // The offset of individual n; EIndexError outside 1..count.
    std::uint32_t OffsetAt(int n) const;
    // The line cache of individual n (valid as long as the index); EIndexError outside
    // 1..count.
    WIndCache* CacheAt(int n);

  private:
    static constexpr int kBlockShift = 10;
    std::vector<std::unique_ptr<WIndCache[]>> m_blocks;
};

// Parent and spouse families of every individual: the first of each in the record, further
// ones in a chain of a WLinkArray. Invalid individual numbers or positions read as 0 and
// writes to them are ignored.
class WIndLinks : public WABSArrayIndex {
  public:
    // Spouse families ordered by marriage date for at most this many families; further ones
    // follow in file order.
    static constexpr int kMaxOrdered = 512;

    // A table of individualCount individuals without families.
    explicit WIndLinks(int individualCount);

    // Adds family f to the parent families of individual i unless it is there already.
    void AddParentFamily(std::int32_t i, std::int32_t f);
    // Adds family f to the spouse families of individual i unless it is there already.
    void AddSpouseFamily(std::int32_t i, std::int32_t f);
    // Number of parent families.
    std::int32_t ParentFamilyCount(std::int32_t i) const;
    // Parent family k (from 1), else 0.
    std::int32_t ParentFamily(std::int32_t i, std::int32_t k) const;
    // Number of spouse families.
    std::int32_t SpouseFamilyCount(std::int32_t i) const;
    // Spouse family k (from 1), else 0.
    std::int32_t SpouseFamily(std::int32_t i, std::int32_t k) const;
    // Orders the spouse families of every individual with more than one by marriage date
    // (undated marriages after the dated ones); runs once. Stops early, leaving the rest in
    // file order, when the cancel flag is set.
    void OrderSpouseFamilies(WABSCollection& collection);

  private:
    struct Record {
        std::int32_t parentCount;
        std::int32_t firstParent;
        std::int32_t parentChain;
        std::int32_t spouseCount;
        std::int32_t firstSpouse;
        std::int32_t spouseChain;
    };
    static_assert(sizeof(Record) == 24);

    bool Read(std::int32_t i, Record& record) const;
    void Write(std::int32_t i, const Record& record);
    // Adds f to one side (first link, chain, count) of a record.
    static void AddTo(WLinkArray& chains, std::int32_t& count, std::int32_t& first,
                      std::int32_t& chain, std::int32_t f, std::uint8_t a, std::uint8_t b);
    static std::int32_t Get(const WLinkArray& chains, std::int32_t count, std::int32_t first,
                            std::int32_t chain, std::int32_t k);

    WLinkArray m_parentChains;
    WLinkArray m_spouseChains;
    bool m_spousesOrdered = false;
};

}  // namespace kindrel
