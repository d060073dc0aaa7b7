#include "gedcom/ged_individual.h"

#include "containers/errors.h"
#include "gedcom/ged_collection.h"
#include "gedcom/ged_events.h"
#include "gedcom/ged_lines.h"
#include "gedcom/ged_sources.h"

#include <cstring>
#include <limits>

namespace kindrel {

namespace {

// Slots whose first line wins; every other slot keeps the last one.
bool FirstWins(int slot) {
    return slot == WIndCache::kName || slot == WIndCache::kNote;
}

// The cache slot of a level-1 line's tag, or -1.
int SlotOfLine(const char* line, const char* end) {
    switch (LineTag(line, end)) {
        case kTagName:
            return WIndCache::kName;
        case kTagAfn:
            return WIndCache::kAfn;
        case kTagNote:
            return WIndCache::kNote;
        case kTagBirt:
            return WIndCache::kBirth;
        case kTagDeat:
            return WIndCache::kDeath;
        case kTagBuri:
            return WIndCache::kBurial;
        case kTagChan:
            return WIndCache::kChange;
        case kTagBapl:
        case kTagCons:
            return WIndCache::kLdsBaptism;
        case kTagEndl:
            return WIndCache::kLdsEndowment;
        case kTagSlgc:
            return WIndCache::kLdsSealingToParents;
        default:
            break;
    }
    return Tag3Is(line, end, "CHR") ? int(WIndCache::kChristening) : -1;
}

// The slot of a vital event kind (1 to 4) or LDS kind (7 to 9), or -1.
int SlotOfKind(int kind) {
    switch (kind) {
        case kEventBirth:
            return WIndCache::kBirth;
        case kEventDeath:
            return WIndCache::kDeath;
        case kEventChristening:
            return WIndCache::kChristening;
        case kEventBurial:
            return WIndCache::kBurial;
        case kEventLdsBaptism:
            return WIndCache::kLdsBaptism;
        case kEventLdsEndowment:
            return WIndCache::kLdsEndowment;
        case kEventLdsSealingToParents:
            return WIndCache::kLdsSealingToParents;
        default:
            return -1;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WGEDIndividual

WGEDIndividual::WGEDIndividual(WGEDCollection& collection)
    : WABSIndividual(0), m_collection(collection) {}

WGEDIndividual::~WGEDIndividual() {
    Unload();
}

void WGEDIndividual::ClearCache() {
    if (m_cache != nullptr) {
        std::memset(m_cache->slots, 0, sizeof m_cache->slots);
        m_cache->sex = 'U';
        m_cache->flags = 0;
    }
    WABSIndividual::ClearCache();
}

void WGEDIndividual::Load(int32_t n) {
    if (n == 0) {
        m_head = nullptr;
        m_cache = nullptr;
        return;
    }
    m_number = n;
    m_changeDate.reset();
    m_changeDateRead = false;
    m_citationsScanned = false;
    m_otherEventsScanned = false;
    m_citations.clear();
    m_otherEvents.clear();
    m_head = m_collection.RecordHead(kBucketIndividual, n);
    if (m_head == nullptr) throw EMemoryError(n);
    m_cache = m_collection.IndividualIndex().CacheAt(n);
    if ((m_cache->flags & WIndCache::kValid) == 0) ScanCache();
}

void WGEDIndividual::ScanCache() {
    ClearCache();
    m_cache->flags = WIndCache::kValid;
    const char* end = m_collection.Text().TextEnd();
    bool noteSeen = false;
    for (const char* line = NextInRecord(m_head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        if (!IsLevelLine(line, end, '1')) continue;
        if (Tag3Is(line, end, "SEX")) {
            // The letter at line offset 6, when the line reaches that far.
            const char letter = end - line > 6 && line[5] == ' ' ? line[6] : '\r';
            m_cache->sex = letter == '\r' || letter == '\n' || letter == ' ' ? 'U' : letter;
            continue;
        }
        const int slot = SlotOfLine(line, end);
        if (slot < 0) continue;
        if (slot == WIndCache::kNote) {
            if (noteSeen) {
                m_cache->flags |= WIndCache::kMoreNotes;
                continue;
            }
            noteSeen = true;
        } else if (FirstWins(slot) && m_cache->slots[slot] != 0) {
            continue;
        }
        const std::ptrdiff_t offset = line - m_head;
        if (offset > std::numeric_limits<std::uint16_t>::max()) {
            // Too far for the cache: the getters find this record's key lines by a scan.
            m_cache->flags |= WIndCache::kBeyondReach;
            continue;
        }
        m_cache->slots[slot] = std::uint16_t(offset);
    }
}

const char* WGEDIndividual::ScanSlot(int slot) const {
    const char* end = m_collection.Text().TextEnd();
    const char* found = nullptr;
    for (const char* line = NextInRecord(m_head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        if (!IsLevelLine(line, end, '1') || SlotOfLine(line, end) != slot) continue;
        found = line;
        if (FirstWins(slot)) break;
    }
    return found;
}

const char* WGEDIndividual::SlotLine(int slot) const {
    if (m_head == nullptr || m_cache == nullptr || slot < 0) return nullptr;
    if ((m_cache->flags & WIndCache::kBeyondReach) != 0) return ScanSlot(slot);
    const std::uint16_t offset = m_cache->slots[slot];
    return offset != 0 ? m_head + offset : nullptr;
}

std::string WGEDIndividual::IdText() {
    if (m_head == nullptr) return {};
    const std::optional<std::string_view> id =
        ExtractXref(m_head, m_collection.Text().TextEnd(), true);
    return id ? std::string(*id) : std::string();
}

std::string WGEDIndividual::XrefText() const {
    if (m_head == nullptr) return {};
    const std::optional<std::string_view> id =
        ExtractXref(m_head, m_collection.Text().TextEnd(), false);
    return id ? std::string(*id) : std::string();
}

std::string WGEDIndividual::RefNumberText() {
    if (m_head == nullptr) return {};
    const char* end = m_collection.Text().TextEnd();
    for (const char* line = NextInRecord(m_head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        if (IsLevelLine(line, end, '1') && LineTag(line, end) == kTagRefn) {
            return std::string(TagValue(line, end));
        }
    }
    return {};
}

std::string WGEDIndividual::AfnText() {
    const char* line = SlotLine(WIndCache::kAfn);
    return line != nullptr ? std::string(TagValue(line, m_collection.Text().TextEnd()))
                           : std::string();
}

char WGEDIndividual::Sex() {
    return m_cache != nullptr && m_cache->sex != 0 ? m_cache->sex : 'U';
}

const WDate* WGEDIndividual::ChangeDate() {
    if (m_changeDateRead) return m_changeDate.get();
    m_changeDateRead = true;
    const char* chan = SlotLine(WIndCache::kChange);
    if (chan == nullptr) return nullptr;
    const char* end = m_collection.Text().TextEnd();
    const int level = LineLevel(chan, end);
    for (const char* line = NextChild(chan, end, level); line != nullptr;
         line = NextChild(line, end, level)) {
        if (LineTag(line, end) == kTagDate) {
            m_changeDate = std::make_unique<WDate>(TagValue(line, end));
            break;
        }
    }
    return m_changeDate.get();
}

std::unique_ptr<WABSName> WGEDIndividual::Name() {
    const char* line = SlotLine(WIndCache::kName);
    return line != nullptr ? std::make_unique<WGEDName>(m_collection, line) : nullptr;
}

std::vector<std::unique_ptr<WABSName>> WGEDIndividual::AllNames() {
    std::vector<std::unique_ptr<WABSName>> names;
    if (m_head == nullptr) return names;
    const char* end = m_collection.Text().TextEnd();
    for (const char* line = NextInRecord(m_head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        if (IsLevelLine(line, end, '1') && LineTag(line, end) == kTagName) {
            names.push_back(std::make_unique<WGEDName>(m_collection, line));
        }
    }
    return names;
}

std::string WGEDIndividual::PedigreeText(int32_t f) {
    if (m_head == nullptr || f <= 0) return {};
    const char* end = m_collection.Text().TextEnd();
    for (const char* line = NextInRecord(m_head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        if (!IsLevelLine(line, end, '1') || LineTag(line, end) != kTagFamc) continue;
        const std::optional<std::string_view> id = ExtractXref(line, end, false);
        if (!id || m_collection.FindFamily(*id) != f) continue;
        for (const char* child = NextChild(line, end, 1); child != nullptr;
             child = NextChild(child, end, 1)) {
            if (LineLevel(child, end) == 2 && LineTag(child, end) == TagCode("PEDI")) {
                return m_collection.ConvertText(TagValue(child, end));
            }
        }
    }
    return {};
}

void WGEDIndividual::ScanOtherEvents() {
    if (m_otherEventsScanned) return;
    m_otherEventsScanned = true;
    m_otherEvents.clear();
    if (m_head == nullptr) return;
    const char* end = m_collection.Text().TextEnd();
    for (const char* line = NextInRecord(m_head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        if (!IsLevelLine(line, end, '1') || !IsOtherEventTag(line, end)) continue;
        m_otherEvents.push_back(line);
        if (int(m_otherEvents.size()) >= kMaxOtherEvents) break;
    }
}

void WGEDIndividual::ScanCitations() {
    if (m_citationsScanned) return;
    m_citationsScanned = true;
    m_citations.clear();
    if (m_head == nullptr) return;
    const char* end = m_collection.Text().TextEnd();
    for (const char* line = NextInRecord(m_head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        if (!IsLevelLine(line, end, '1') || LineTag(line, end) != kTagSour) continue;
        m_citations.push_back(line);
        if (int(m_citations.size()) >= kMaxCitations) break;
    }
}

int32_t WGEDIndividual::EventCount(int kind) {
    if (kind >= kEventBirth && kind <= kEventBurial) {
        return SlotLine(SlotOfKind(kind)) != nullptr ? 1 : 0;
    }
    if (kind == kEventOther) {
        ScanOtherEvents();
        return int32_t(m_otherEvents.size());
    }
    return 0;
}

std::unique_ptr<WABSEvent> WGEDIndividual::Event(int kind, int32_t i) {
    if (kind >= kEventBirth && kind <= kEventBurial) {
        const char* line = SlotLine(SlotOfKind(kind));
        return line != nullptr ? std::make_unique<WGEDVitEvent>(m_collection, line) : nullptr;
    }
    if (kind == kEventOther) {
        ScanOtherEvents();
        if (i < 1 || i > int32_t(m_otherEvents.size())) return nullptr;
        return std::make_unique<WGEDVitEvent>(m_collection, m_otherEvents[std::size_t(i - 1)]);
    }
    return nullptr;
}

std::unique_ptr<WABSLDSEvent> WGEDIndividual::LDSEvent(int kind) {
    if (kind < kEventLdsBaptism || kind > kEventLdsSealingToParents) return nullptr;
    const char* line = SlotLine(SlotOfKind(kind));
    return line != nullptr ? std::make_unique<WGEDLDSEvent>(m_collection, line) : nullptr;
}

int32_t WGEDIndividual::ParentFamilyCount() {
    return m_head != nullptr ? m_collection.IndividualLinks().ParentFamilyCount(m_number) : 0;
}

int32_t WGEDIndividual::ParentFamily(int32_t i) {
    return m_head != nullptr ? m_collection.IndividualLinks().ParentFamily(m_number, i) : 0;
}

bool WGEDIndividual::ParentFamilyLink(int32_t i, int32_t& family, int& fatherCode,
                                      int& motherCode) {
    family = ParentFamily(i);
    fatherCode = 1;
    motherCode = 7;
    return true;
}

int32_t WGEDIndividual::SpouseFamilyCount() {
    return m_head != nullptr ? m_collection.IndividualLinks().SpouseFamilyCount(m_number) : 0;
}

int32_t WGEDIndividual::SpouseFamily(int32_t i) {
    return m_head != nullptr ? m_collection.IndividualLinks().SpouseFamily(m_number, i) : 0;
}

int32_t WGEDIndividual::CitationCount() {
    ScanCitations();
    return int32_t(m_citations.size());
}

std::unique_ptr<WABSCitation> WGEDIndividual::Citation(int32_t i) {
    ScanCitations();
    if (i < 1 || i > int32_t(m_citations.size())) return nullptr;
    return std::make_unique<WGEDCitation>(m_collection, m_citations[std::size_t(i - 1)]);
}

std::unique_ptr<WABSNote> WGEDIndividual::Note() {
    const char* first = SlotLine(WIndCache::kNote);
    if (first == nullptr) return nullptr;
    std::unique_ptr<WABSNote> note = NoteFromLine(m_collection, first);
    if ((m_cache->flags & WIndCache::kMoreNotes) == 0) return note;
    // Each further level-1 note follows after an empty line, its text as one line. A first
    // note that cannot be read (a pointer to no record) leaves the place to the next one.
    const char* end = m_collection.Text().TextEnd();
    for (const char* line = NextInRecord(first, end); line != nullptr;
         line = NextInRecord(line, end)) {
        if (!IsLevelLine(line, end, '1') || LineTag(line, end) != kTagNote) continue;
        std::unique_ptr<WABSNote> extra = NoteFromLine(m_collection, line);
        if (!extra) continue;
        if (!note) {
            note = std::move(extra);
            continue;
        }
        note->AddLine(std::string());
        note->AddLine(extra->Text());
    }
    return note;
}

std::string WGEDIndividual::RecordText() {
    return m_collection.RecordTextOf(m_head, true);
}

// ---------------------------------------------------------------------------------------------
// WGEDMarriage

WGEDMarriage::WGEDMarriage(WGEDCollection& collection, int32_t n)
    : WABSMarriage(n), m_collection(collection) {
    m_head = collection.RecordHead(kBucketFamily, n);
    if (m_head == nullptr) throw EMemoryError(n);
    m_childCount = collection.FamilyLinks().ChildCount(n);
    const char* end = collection.Text().TextEnd();
    for (const char* line = NextInRecord(m_head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        switch (LineTag(line, end)) {
            case kTagSlgs:
                m_sealingLine = line;
                break;
            case kTagMarr:
                m_marriageLine = line;
                break;
            case kTagSour:
                if (int(m_citations.size()) < kMaxCitations) m_citations.push_back(line);
                break;
            case kTagNote:
                if (m_noteLine == nullptr) m_noteLine = line;
                break;
            default:
                break;
        }
    }
    m_citationCount = int32_t(m_citations.size());
}

void WGEDMarriage::LoadDate() {
    if (m_dateLoaded) return;
    m_dateLoaded = true;
    if (m_marriageLine == nullptr) return;
    // The DATE among the marriage's direct children, wherever it stands among them.
    const char* end = m_collection.Text().TextEnd();
    const int level = LineLevel(m_marriageLine, end);
    for (const char* line = NextChild(m_marriageLine, end, level); line != nullptr;
         line = NextChild(line, end, level)) {
        if (LineLevel(line, end) == level + 1 && LineTag(line, end) == kTagDate) {
            m_date = std::make_unique<WDate>(TagValue(line, end));
            return;
        }
    }
}

int32_t WGEDMarriage::Husband() {
    return m_collection.FamilyLinks().Husband(m_number);
}

int32_t WGEDMarriage::Wife() {
    return m_collection.FamilyLinks().Wife(m_number);
}

int32_t WGEDMarriage::Child(int32_t i) {
    return m_collection.FamilyLinks().Child(m_number, i);
}

void WGEDMarriage::OrderChildren() {
    m_collection.FamilyLinks().SortChildren(m_number, m_collection);
}

std::unique_ptr<WABSLDSEvent> WGEDMarriage::Sealing() {
    if (m_sealingLine == nullptr) return nullptr;
    return std::make_unique<WGEDLDSEvent>(m_collection, m_sealingLine);
}

std::string WGEDMarriage::MarriagePlaceText() {
    if (m_marriageLine == nullptr) return {};
    return m_collection.ConvertText(ReadEventPlace(m_marriageLine, m_collection.Text().TextEnd()));
}

std::string WGEDMarriage::IdText() {
    const std::optional<std::string_view> id =
        ExtractXref(m_head, m_collection.Text().TextEnd(), true);
    return id ? std::string(*id) : std::string();
}

std::string WGEDMarriage::XrefText() const {
    const std::optional<std::string_view> id =
        ExtractXref(m_head, m_collection.Text().TextEnd(), false);
    return id ? std::string(*id) : std::string();
}

std::unique_ptr<WABSCitation> WGEDMarriage::Citation(int32_t i) {
    if (i < 1 || i > int32_t(m_citations.size())) return nullptr;
    return std::make_unique<WGEDCitation>(m_collection, m_citations[std::size_t(i - 1)]);
}

std::unique_ptr<WABSNote> WGEDMarriage::Note() {
    return NoteFromLine(m_collection, m_noteLine);
}

std::string WGEDMarriage::RecordText() {
    return m_collection.RecordTextOf(m_head, false);
}

}  // namespace kindrel
