#include "gedcom/ged_events.h"

#include "gedcom/ged_collection.h"
#include "gedcom/ged_lines.h"
#include "gedcom/ged_sources.h"
#include "model/date.h"

#include <array>
#include <cstring>

namespace kindrel {

namespace {

struct OtherEventName {
    std::uint32_t tag;
    const char* text;
};

// The other events of an individual with their type texts (SSN is matched apart, being a
// three-letter tag).
constexpr std::array<OtherEventName, 29> kOtherEvents = {{
    {TagCode("CHRA"), "Adult Christening"},
    {TagCode("PROB"), "Probate"},
    {TagCode("EDUC"), "Education"},
    {TagCode("GRAD"), "Graduation"},
    {TagCode("CONF"), "Confirmation"},
    {TagCode("EMIG"), "Emigration"},
    {TagCode("NCHI"), "Children Count"},
    {TagCode("RELI"), "Religion"},
    {TagCode("IMMI"), "Immigration"},
    {TagCode("RESI"), "Residence"},
    {TagCode("NATI"), "Nationality"},
    {TagCode("RETI"), "Retirement"},
    {TagCode("WILL"), "Will"},
    {TagCode("CONL"), "Confirmation LDS"},
    {TagCode("TITL"), "Nobility Title"},
    {TagCode("CREM"), "Cremation"},
    {TagCode("FCOM"), "First Communion"},
    {TagCode("BAPM"), "Baptism"},
    {TagCode("ORDN"), "Ordinance"},
    {TagCode("EVEN"), "Event"},
    {TagCode("ASSO"), "Associates"},
    {TagCode("ADOP"), "Adoption"},
    {TagCode("PROP"), "Property"},
    {TagCode("DSCR"), "Phyical Description"},
    {TagCode("BLES"), "Blessing"},
    {TagCode("CENS"), "Census"},
    {TagCode("CAST"), "Caste"},
    {TagCode("OCCU"), "Occupation"},
    {TagCode("NATU"), "Naturalization"},
}};

const char* OtherEventText(std::uint32_t tag) {
    for (const OtherEventName& entry : kOtherEvents) {
        if (entry.tag == tag) return entry.text;
    }
    return nullptr;
}

// Appends a citation line unless the list is full.
void AddCitation(std::vector<const char*>& citations, const char* line) {
    if (int(citations.size()) < kMaxCitations) citations.push_back(line);
}

std::unique_ptr<WABSCitation> CitationAt(WGEDCollection& collection,
                                         const std::vector<const char*>& citations, int32_t i) {
    if (i < 1 || i > int32_t(citations.size())) return nullptr;
    return std::make_unique<WGEDCitation>(collection, citations[std::size_t(i - 1)]);
}

// The value of a QUAL line: after the tag, to the line break, trailing spaces removed.
std::string QualText(const char* line, const char* end) {
    return std::string(TagValue(line, end));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WGEDName

WGEDName::WGEDName(WGEDCollection& collection, const char* nameLine)
    : m_collection(collection), m_text(collection.Text()), m_nameLine(nameLine) {
    const char* end = m_text.TextEnd();
    const int level = LineLevel(nameLine, end);
    for (const char* line = NextChild(nameLine, end, level); line != nullptr;
         line = NextChild(line, end, level)) {
        if (LineLevel(line, end) != level + 1) continue;
        switch (LineTag(line, end)) {
            case kTagNote:
                m_noteLine = line;
                break;
            case kTagSurn:
                m_surnLine = line;
                break;
            case kTagGivn:
                m_givnLine = line;
                break;
            case kTagSour:
                AddCitation(m_citations, line);
                break;
            case kTagNpfx:
                m_npfxLine = line;
                break;
            case kTagNsfx:
                m_nsfxLine = line;
                break;
            default:
                break;
        }
    }
    m_citationCount = int32_t(m_citations.size());
}

std::string WGEDName::GivenNames() {
    if (m_givenNames) return *m_givenNames;
    const char* end = m_text.TextEnd();
    std::string result;
    if (m_givnLine != nullptr) {
        result = m_collection.ConvertText(TagValue(m_givnLine, end));
    } else {
        const std::string_view value = TagValue(m_nameLine, end);
        if (!value.empty() && value.front() != '/') {
            const std::size_t slash = value.find('/');
            std::string_view given = value.substr(0, slash);
            while (!given.empty() && given.back() == ' ') given.remove_suffix(1);
            result = m_collection.ConvertText(given);
        } else if (!value.empty()) {
            // Surname first: the given names follow the closing slash.
            const std::size_t close = value.find('/', 1);
            if (close != std::string_view::npos) {
                std::string_view given = value.substr(close + 1);
                while (!given.empty() && given.front() == ' ') given.remove_prefix(1);
                while (!given.empty() && given.back() == ' ') given.remove_suffix(1);
                result = m_collection.ConvertText(given);
            }
        }
    }
    m_givenNames = result;
    return result;
}

std::string WGEDName::Surname() {
    if (m_surname) return *m_surname;
    const char* end = m_text.TextEnd();
    std::string result;
    if (m_surnLine != nullptr) {
        result = m_collection.ConvertText(TagValue(m_surnLine, end));
    } else {
        const std::string_view value = TagValue(m_nameLine, end);
        const std::size_t open = value.find('/');
        if (open != std::string_view::npos) {
            const std::size_t close = value.find('/', open + 1);
            result = m_collection.ConvertText(value.substr(open + 1, close == std::string_view::npos
                                                                         ? std::string_view::npos
                                                                         : close - open - 1));
        }
    }
    m_surname = result;
    return result;
}

std::string WGEDName::Prefix() {
    return m_npfxLine != nullptr ? m_collection.ConvertText(TagValue(m_npfxLine, m_text.TextEnd()))
                                 : std::string();
}

std::string WGEDName::Suffix() {
    if (m_suffix) return *m_suffix;
    const char* end = m_text.TextEnd();
    std::string result;
    if (m_nsfxLine != nullptr) {
        result = m_collection.ConvertText(TagValue(m_nsfxLine, end));
    } else {
        // The text after the second slash, untrimmed: "John /Smith/ Jr." gives " Jr.".
        const std::string_view value = TagValue(m_nameLine, end);
        const std::size_t open = value.find('/');
        const std::size_t close = open == std::string_view::npos ? open : value.find('/', open + 1);
        if (close != std::string_view::npos) {
            result = m_collection.ConvertText(value.substr(close + 1));
        }
    }
    m_suffix = result;
    return result;
}

std::unique_ptr<WABSCitation> WGEDName::Citation(int32_t i) {
    return CitationAt(m_collection, m_citations, i);
}

std::unique_ptr<WABSNote> WGEDName::Note() {
    return NoteFromLine(m_collection, m_noteLine);
}

// ---------------------------------------------------------------------------------------------
// WGEDPlace

WGEDPlace::WGEDPlace(WGEDCollection& collection, const char* placeLine)
    : m_collection(collection), m_placeLine(placeLine) {
    if (placeLine == nullptr) return;
    const char* end = collection.Text().TextEnd();
    const int level = LineLevel(placeLine, end);
    for (const char* line = NextChild(placeLine, end, level); line != nullptr;
         line = NextChild(line, end, level)) {
        if (LineLevel(line, end) != level + 1) continue;
        const std::uint32_t tag = LineTag(line, end);
        if (tag == kTagSour) AddCitation(m_citations, line);
        if (tag == kTagNote) m_noteLine = line;
    }
    m_citationCount = int32_t(m_citations.size());
}

std::string WGEDPlace::PlaceName() {
    if (m_placeLine == nullptr) return {};
    return m_collection.ConvertText(TagValue(m_placeLine, m_collection.Text().TextEnd()));
}

std::unique_ptr<WABSCitation> WGEDPlace::Citation(int32_t i) {
    return CitationAt(m_collection, m_citations, i);
}

std::unique_ptr<WABSNote> WGEDPlace::Note() {
    return NoteFromLine(m_collection, m_noteLine);
}

// ---------------------------------------------------------------------------------------------
// Event kinds

void VitalEventKind(const char* line, const char* end, int& kind, std::string& typeText) {
    typeText.clear();
    kind = kEventOther;
    const std::uint32_t tag = LineTag(line, end);
    if (tag == kTagBirt) {
        kind = kEventBirth;
    } else if (tag == kTagDeat) {
        kind = kEventDeath;
    } else if (tag == kTagBuri) {
        kind = kEventBurial;
    } else if (Tag3Is(line, end, "CHR")) {
        kind = kEventChristening;
    } else if (tag == TagCode("BAPM")) {
        kind = kEventBaptism;
        typeText = "Baptism";
    } else if (Tag3Is(line, end, "SSN")) {
        typeText = "SSN";
    } else if (const char* text = OtherEventText(tag)) {
        typeText = text;
    }
}

bool IsOtherEventTag(const char* line, const char* end) {
    return OtherEventText(LineTag(line, end)) != nullptr || Tag3Is(line, end, "SSN");
}

int LdsEventKind(const char* line, const char* end) {
    switch (LineTag(line, end)) {
        case kTagBapl:
        case kTagCons:
            return kEventLdsBaptism;
        case kTagEndl:
            return kEventLdsEndowment;
        case kTagSlgc:
            return kEventLdsSealingToParents;
        case kTagSlgs:
            return kEventLdsSealingToSpouse;
        default:
            return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// WGEDVitEvent

WGEDVitEvent::WGEDVitEvent(WGEDCollection& collection, const char* eventLine)
    : m_collection(collection), m_eventLine(eventLine) {
    const char* end = collection.Text().TextEnd();
    VitalEventKind(eventLine, end, m_kind, m_typeText);
    m_eventName = m_typeText;
    // A value on the event line itself (1 OCCU Farmer, 1 DEAT Y) reads as the event's note.
    if (!TagValue(eventLine, end).empty()) m_noteLine = eventLine;
    const int level = LineLevel(eventLine, end);
    for (const char* line = NextChild(eventLine, end, level); line != nullptr;
         line = NextChild(line, end, level)) {
        if (LineLevel(line, end) != level + 1) continue;
        switch (LineTag(line, end)) {
            case kTagPlac:
                m_placeLine = line;
                break;
            case kTagType:
                m_typeText = collection.ConvertText(TagValue(line, end));
                break;
            case kTagDate:
                m_dateLine = line;
                break;
            case kTagNote:
                m_noteLine = line;
                break;
            case kTagQual:
                m_qualText = QualText(line, end);
                m_hasQual = true;
                break;
            case kTagSour:
                AddCitation(m_citations, line);
                break;
            default:
                break;
        }
    }
    m_citationCount = int32_t(m_citations.size());
}

void WGEDVitEvent::LoadDate() {
    if (m_dateLoaded) return;
    m_dateLoaded = true;
    const char* end = m_collection.Text().TextEnd();
    if (m_dateLine != nullptr) {
        m_date = std::make_unique<WDate>(TagValue(m_dateLine, end));
    } else if (m_hasQual) {
        m_date = std::make_unique<WDate>(m_qualText);
    }
}

std::unique_ptr<WABSPlace> WGEDVitEvent::Place() {
    if (m_placeLine == nullptr) return nullptr;
    return std::make_unique<WGEDPlace>(m_collection, m_placeLine);
}

std::unique_ptr<WABSCitation> WGEDVitEvent::Citation(int32_t i) {
    return CitationAt(m_collection, m_citations, i);
}

bool WGEDVitEvent::HasNote() {
    return Note() != nullptr;
}

std::unique_ptr<WABSNote> WGEDVitEvent::Note() {
    return NoteFromLine(m_collection, m_noteLine);
}

// ---------------------------------------------------------------------------------------------
// WGEDLDSEvent

WGEDLDSEvent::WGEDLDSEvent(WGEDCollection& collection, const char* eventLine)
    : m_collection(collection), m_eventLine(eventLine) {
    const char* end = collection.Text().TextEnd();
    m_kind = LdsEventKind(eventLine, end);
    m_hasTemple = false;
    const int level = LineLevel(eventLine, end);
    for (const char* line = NextChild(eventLine, end, level); line != nullptr;
         line = NextChild(line, end, level)) {
        if (LineLevel(line, end) != level + 1) continue;
        switch (LineTag(line, end)) {
            case kTagPlac:
                m_placeLine = line;
                m_hasTemple = false;
                break;
            case kTagTemp:
                m_placeLine = line;
                m_hasTemple = true;
                break;
            case kTagType:
                m_typeText = collection.ConvertText(TagValue(line, end));
                break;
            case kTagDate:
                m_dateLine = line;
                break;
            case kTagNote:
                m_noteLine = line;
                break;
            case kTagQual:
                m_qualText = QualText(line, end);
                m_hasQual = true;
                break;
            case kTagStat:
                m_statLine = line;
                break;
            case kTagSour:
                AddCitation(m_citations, line);
                break;
            default:
                break;
        }
    }
    m_citationCount = int32_t(m_citations.size());
}

void WGEDLDSEvent::LoadDate() {
    if (m_dateLoaded) return;
    m_dateLoaded = true;
    const char* end = m_collection.Text().TextEnd();
    if (m_dateLine != nullptr) {
        m_date = std::make_unique<WDate>(TagValue(m_dateLine, end));
    } else if (m_statLine != nullptr) {
        m_date = std::make_unique<WDate>(TagValue(m_statLine, end));
    } else if (m_hasQual) {
        m_date = std::make_unique<WDate>(m_qualText);
    }
}

std::unique_ptr<WABSPlace> WGEDLDSEvent::Place() {
    return std::make_unique<WGEDPlace>(m_collection, m_placeLine);
}

std::unique_ptr<WABSCitation> WGEDLDSEvent::Citation(int32_t i) {
    return CitationAt(m_collection, m_citations, i);
}

bool WGEDLDSEvent::HasNote() {
    return Note() != nullptr;
}

std::unique_ptr<WABSNote> WGEDLDSEvent::Note() {
    return NoteFromLine(m_collection, m_noteLine);
}

std::string WGEDLDSEvent::StatusText() const {
    if (m_statLine == nullptr) return {};
    return m_collection.ConvertText(TagValue(m_statLine, m_collection.Text().TextEnd()));
}

}  // namespace kindrel
