#include "gedcom/ged_indexes.h"

#include "containers/errors.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "model/date.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kindrel {

// ---------------------------------------------------------------------------------------------
// WOffsetIndex

WOffsetIndex::WOffsetIndex(int initialCount)
    : WABSArrayIndex("", false, sizeof(std::uint32_t), initialCount) {}

std::uint32_t WOffsetIndex::OffsetAt(int n) const {
    const char* at = Item(n);
    if (at == nullptr) throw EIndexError(n);
    std::uint32_t offset;
    std::memcpy(&offset, at, sizeof offset);
    return offset;
}

// ---------------------------------------------------------------------------------------------
// WXREFIndex

namespace {

constexpr int kInlineBytes = 8;
constexpr int kLongRefOffset = 8;
constexpr int kNumberOffset = 12;

}  // namespace

WXREFIndex::WXREFIndex(int initialCount) : WABSArrayIndex("", false, kRecordSize, initialCount) {}

namespace {

std::int32_t HeadOf(const char* record) {
    std::int32_t head;
    std::memcpy(&head, record, sizeof head);
    return head;
}

std::uint32_t RestOf(const char* record) {
    std::uint32_t rest;
    std::memcpy(&rest, record + 4, sizeof rest);
    return __builtin_bswap32(rest);
}

std::uint32_t LongRefOf(const char* record) {
    std::uint32_t ref;
    std::memcpy(&ref, record + kLongRefOffset, sizeof ref);
    return ref;
}

// The record an identifier is stored as (without its number); true when it is long.
bool FillRecord(std::string_view id, char (&record)[WXREFIndex::kRecordSize]) {
    std::memset(record, 0, sizeof record);
    const std::size_t inlineLength = std::min<std::size_t>(id.size(), kInlineBytes);
    if (inlineLength > 0) std::memcpy(record, id.data(), inlineLength);
    // A zero byte inside the first eight would read as padding, so such identifiers are
    // compared whole like the long ones.
    return id.size() > kInlineBytes || std::memchr(record, 0, inlineLength) != nullptr;
}

int Sign(long long value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

}  // namespace

std::string_view WXREFIndex::FullOf(const char* record) const {
    const std::uint32_t ref = LongRefOf(record);
    if (ref != 0 && ref <= m_long.size()) return m_long[ref - 1];
    const void* zero = std::memchr(record, 0, kInlineBytes);
    return std::string_view(record, zero != nullptr
                                        ? std::size_t(static_cast<const char*>(zero) - record)
                                        : std::size_t(kInlineBytes));
}

int WXREFIndex::CompareRecordToKey(const char* record, const Key& key) const {
    const std::int32_t head = HeadOf(record);
    if (head != key.head) return head < key.head ? -1 : 1;
    const std::uint32_t rest = RestOf(record);
    if (rest != key.rest) return rest < key.rest ? -1 : 1;
    if (LongRefOf(record) == 0 && !key.isLong) return 0;
    // The first eight bytes are equal; the whole identifiers decide (a prefix sorts first).
    return Sign(FullOf(record).compare(key.full));
}

int WXREFIndex::CompareTwoRecords(const char* a, const char* b) const {
    const std::int32_t headA = HeadOf(a);
    const std::int32_t headB = HeadOf(b);
    if (headA != headB) return headA < headB ? -1 : 1;
    const std::uint32_t restA = RestOf(a);
    const std::uint32_t restB = RestOf(b);
    if (restA != restB) return restA < restB ? -1 : 1;
    if (LongRefOf(a) == 0 && LongRefOf(b) == 0) return 0;
    return Sign(FullOf(a).compare(FullOf(b)));
}

void WXREFIndex::AddXref(std::string_view id) {
    char record[kRecordSize];
    if (FillRecord(id, record)) {
        m_long.push_back(id);
        const std::uint32_t ref = std::uint32_t(m_long.size());
        std::memcpy(record + kLongRefOffset, &ref, sizeof ref);
    }
    const std::int32_t number = RecordCount() + 1;
    std::memcpy(record + kNumberOffset, &number, sizeof number);
    if (!m_needsSorting && RecordCount() >= 1 &&
        CompareTwoRecords(RecordAt(RecordCount()), record) > 0) {
        m_needsSorting = true;
    }
    Add(record);
}

void WXREFIndex::SortIfNeeded() {
    if (!m_needsSorting) {
        MarkSorted();
        return;
    }
    SortBy([this](const void* a, const void* b) {
        return CompareTwoRecords(static_cast<const char*>(a), static_cast<const char*>(b));
    });
    m_needsSorting = !IsSorted();
}

int WXREFIndex::FindXref(std::string_view id) {
    if (m_needsSorting) SortIfNeeded();
    char record[kRecordSize];
    Key key;
    key.isLong = FillRecord(id, record);
    key.head = HeadOf(record);
    key.rest = RestOf(record);
    key.full = id;
    const int position = FindBy([this, &key](const void* r) {
        return CompareRecordToKey(static_cast<const char*>(r), key);
    });
    return position != 0 ? NumberAt(position) : 0;
}

std::string_view WXREFIndex::XrefAt(int i) const {
    const char* record = Item(i);
    return record != nullptr ? FullOf(record) : std::string_view();
}

int WXREFIndex::NumberAt(int i) const {
    const char* record = Item(i);
    if (record == nullptr) return 0;
    std::int32_t number;
    std::memcpy(&number, record + kNumberOffset, sizeof number);
    return number;
}

int WXREFIndex::CompareRecords(const void* a, const void* b) const {
    if (a == nullptr || b == nullptr) throw ECompareError();
    return CompareTwoRecords(static_cast<const char*>(a), static_cast<const char*>(b));
}

// ---------------------------------------------------------------------------------------------
// WGEDIndIndex

WGEDIndIndex::WGEDIndIndex(int initialCount)
    : WABSArrayIndex("", false, sizeof(std::uint32_t), initialCount) {}

WGEDIndIndex::~WGEDIndIndex() = default;

std::uint32_t WGEDIndIndex::OffsetAt(int n) const {
    const char* at = Item(n);
    if (at == nullptr) throw EIndexError(n);
    std::uint32_t offset;
    std::memcpy(&offset, at, sizeof offset);
    return offset;
}

WIndCache* WGEDIndIndex::CacheAt(int n) {
    if (!IsValidIndex(n)) throw EIndexError(n);
    const std::size_t block = std::size_t(n - 1) >> kBlockShift;
    if (block >= m_blocks.size()) m_blocks.resize(block + 1);
    if (!m_blocks[block])
        m_blocks[block] = std::make_unique<WIndCache[]>(std::size_t(1) << kBlockShift);
    return &m_blocks[block][std::size_t(n - 1) & ((std::size_t(1) << kBlockShift) - 1)];
}

// ---------------------------------------------------------------------------------------------
// WIndLinks

namespace {

// The attribute bytes stored with every parent link (the pedigree codes of father and
// mother; never read).
constexpr std::uint8_t kFatherAttribute = 1;
constexpr std::uint8_t kMotherAttribute = 7;
// Individuals between two calls of the event pump while spouse families are ordered.
constexpr int kOrderPumpInterval = 4096;

}  // namespace

WIndLinks::WIndLinks(int individualCount)
    : WABSArrayIndex("", false, sizeof(Record), individualCount < 0 ? 0 : individualCount),
      m_parentChains(individualCount / 3),
      m_spouseChains(individualCount / 3) {
    SetCount(individualCount);
}

bool WIndLinks::Read(std::int32_t i, Record& record) const {
    const char* at = Item(i);
    if (at == nullptr) return false;
    std::memcpy(&record, at, sizeof record);
    return true;
}

void WIndLinks::Write(std::int32_t i, const Record& record) {
    char* at = Item(i);
    if (at != nullptr) std::memcpy(at, &record, sizeof record);
}

void WIndLinks::AddTo(WLinkArray& chains, std::int32_t& count, std::int32_t& first,
                      std::int32_t& chain, std::int32_t f, std::uint8_t a, std::uint8_t b) {
    if (count == 0) {
        first = f;
        count = 1;
        return;
    }
    if (f == first) return;
    if (chain != 0) {
        if (chains.AppendLink(chain, false, a, b, f)) ++count;
        return;
    }
    chain = chains.NewList(f, a, b);
    ++count;
}

std::int32_t WIndLinks::Get(const WLinkArray& chains, std::int32_t count, std::int32_t first,
                            std::int32_t chain, std::int32_t k) {
    if (k < 1 || k > count) return 0;
    if (k == 1) return first;
    return chains.LinkAt(chain, k - 1);
}

void WIndLinks::AddParentFamily(std::int32_t i, std::int32_t f) {
    Record record;
    if (f <= 0 || !Read(i, record)) return;
    AddTo(m_parentChains, record.parentCount, record.firstParent, record.parentChain, f,
          kFatherAttribute, kMotherAttribute);
    Write(i, record);
}

void WIndLinks::AddSpouseFamily(std::int32_t i, std::int32_t f) {
    Record record;
    if (f <= 0 || !Read(i, record)) return;
    AddTo(m_spouseChains, record.spouseCount, record.firstSpouse, record.spouseChain, f, 0, 0);
    Write(i, record);
}

std::int32_t WIndLinks::ParentFamilyCount(std::int32_t i) const {
    Record record;
    return Read(i, record) ? record.parentCount : 0;
}

std::int32_t WIndLinks::ParentFamily(std::int32_t i, std::int32_t k) const {
    Record record;
    if (!Read(i, record)) return 0;
    return Get(m_parentChains, record.parentCount, record.firstParent, record.parentChain, k);
}

std::int32_t WIndLinks::SpouseFamilyCount(std::int32_t i) const {
    Record record;
    return Read(i, record) ? record.spouseCount : 0;
}

std::int32_t WIndLinks::SpouseFamily(std::int32_t i, std::int32_t k) const {
    Record record;
    if (!Read(i, record)) return 0;
    return Get(m_spouseChains, record.spouseCount, record.firstSpouse, record.spouseChain, k);
}

void WIndLinks::OrderSpouseFamilies(WABSCollection& collection) {
    if (m_spousesOrdered) return;
    struct Entry {
        std::int32_t family;
        std::unique_ptr<WABSMarriage> marriage;
        const WDate* date;  // null when the marriage has no set date
    };
    std::vector<Entry> entries;
    const int count = RecordCount();
    for (std::int32_t i = 1; i <= count; ++i) {
        if (i % kOrderPumpInterval == 0) {
            PumpEvents();
            ReportProgress("Ordering marriages", i, count);
            if (CancelRequested()) return;
        }
        Record record;
        if (!Read(i, record) || record.spouseCount < 2) continue;
        const int ordered = std::min<int>(record.spouseCount, kMaxOrdered);
        entries.clear();
        for (int k = 1; k <= ordered; ++k) {
            Entry entry{SpouseFamily(i, k), nullptr, nullptr};
            entry.marriage = collection.GetMarriage(entry.family);
            if (entry.marriage) {
                entry.date = entry.marriage->Date();
                if (entry.date != nullptr && !entry.date->IsSet()) entry.date = nullptr;
            }
            entries.push_back(std::move(entry));
        }
        // The exchange order of the viewer: the earliest dated marriage moves to the front of
        // what is left; undated marriages end up after all dated ones.
        for (int s = 0; s + 1 < ordered; ++s) {
            const WDate* current = entries[std::size_t(s)].date;
            for (int t = s + 1; t < ordered; ++t) {
                const WDate* other = entries[std::size_t(t)].date;
                if (current == nullptr || (other != nullptr && current->Compare(*other) > 0)) {
                    std::swap(entries[std::size_t(s)], entries[std::size_t(t)]);
                    current = entries[std::size_t(s)].date;
                }
            }
        }
        record.firstSpouse = entries[0].family;
        for (int k = 1; k < ordered; ++k) {
            m_spouseChains.SetLink(record.spouseChain, k, entries[std::size_t(k)].family, 0, 0);
        }
        Write(i, record);
    }
    m_spousesOrdered = true;
}

}  // namespace kindrel
