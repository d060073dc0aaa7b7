#include "gedcom/ged_sources.h"

#include "gedcom/ged_collection.h"
#include "gedcom/ged_lines.h"

#include <cstring>

namespace kindrel {

namespace {

// The entries of a CONC/CONT continued value starting at the line's value, each converted.
std::vector<std::string> ConvertedEntries(const WGEDCollection& collection, const char* line) {
    const char* end = collection.Text().TextEnd();
    std::vector<std::string> entries = ReadText(ValueStart(line, end), end);
    for (std::string& entry : entries) entry = collection.ConvertText(entry);
    return entries;
}

// The continued value of a line joined with separator, converted; empty for a null line.
std::string JoinedValue(const WGEDCollection& collection, const char* line,
                        std::string_view separator) {
    if (line == nullptr) return {};
    const char* end = collection.Text().TextEnd();
    std::string joined;
    bool first = true;
    for (const std::string& entry : ReadText(ValueStart(line, end), end)) {
        if (!first) joined += separator;
        joined += entry;
        first = false;
    }
    return collection.ConvertText(joined);
}

// The identifier of a pointer value ("@S1@" gives S1), or nullopt for text.
std::optional<std::string_view> PointerOf(const char* line, const char* end) {
    if (!IsPointerValue(line, end)) return std::nullopt;
    const std::string_view value = TagValue(line, end);
    return value.substr(1, value.size() - 2);
}

}  // namespace

std::unique_ptr<WABSNote> NoteFromLine(WGEDCollection& collection, const char* line) {
    if (line == nullptr) return nullptr;
    const char* end = collection.Text().TextEnd();
    if (const std::optional<std::string_view> id = PointerOf(line, end)) {
        const int32_t n = collection.FindNote(*id);
        return n != 0 ? collection.GetNote(n) : nullptr;
    }
    auto note = std::make_unique<WABSNote>();
    for (std::string& entry : ConvertedEntries(collection, line)) note->AddLine(std::move(entry));
    // Further text: the NOTE lines directly below, until a sibling that is not a NOTE or a
    // line above.
    const int level = LineLevel(line, end);
    for (const char* next = NextLine(line, end, true); next != nullptr;
         next = NextLine(next, end, true)) {
        const int nextLevel = LineLevel(next, end);
        const std::uint32_t tag = LineTag(next, end);
        if (nextLevel < level || *next == '0') break;
        if (nextLevel == level && tag != kTagNote) break;
        if (nextLevel == level + 1 && tag == kTagNote) {
            for (std::string& entry : ConvertedEntries(collection, next)) {
                note->AddLine(std::move(entry));
            }
        }
    }
    return note;
}

std::unique_ptr<WABSSource> SourceFromLine(WGEDCollection& collection, const char* line) {
    if (line == nullptr) return nullptr;
    if (const std::optional<std::string_view> id = PointerOf(line, collection.Text().TextEnd())) {
        const int32_t n = collection.FindSource(*id);
        return n != 0 ? collection.GetSource(n) : nullptr;
    }
    return std::make_unique<WGEDSource>(collection, line, true);
}

// ---------------------------------------------------------------------------------------------
// WGEDSource

WGEDSource::WGEDSource(WGEDCollection& collection, const char* line, bool isInline)
    : m_collection(collection), m_head(line), m_inline(isInline) {
    if (line == nullptr) return;
    const char* end = collection.Text().TextEnd();
    const int level = LineLevel(line, end);
    if (isInline) m_lines[kTitle] = line;
    const char* repoCallNumber = nullptr;
    const char* currentRepo = nullptr;
    for (const char* child = NextChild(line, end, level); child != nullptr;
         child = NextChild(child, end, level)) {
        const int childLevel = LineLevel(child, end);
        const std::uint32_t tag = LineTag(child, end);
        if (childLevel == level + 2 && tag == kTagCaln && currentRepo != nullptr) {
            repoCallNumber = child;
            continue;
        }
        if (childLevel != level + 1) continue;
        currentRepo = nullptr;
        if (tag == kTagNote) {
            m_noteLine = child;
        } else if (tag == kTagText) {
            m_textLine = child;
        } else if (isInline) {
            continue;
        } else if (tag == kTagName || tag == kTagTitl) {
            m_lines[kTitle] = child;
        } else if (tag == kTagAuth) {
            m_lines[kAuthor] = child;
        } else if (tag == kTagPubl) {
            m_lines[kPublication] = child;
        } else if (tag == kTagCaln) {
            m_lines[kCallNumber] = child;
        } else if (tag == kTagAbbr) {
            m_lines[kAbbreviation] = child;
        } else if (tag == kTagRepo) {
            m_repoLine = child;
            currentRepo = child;
        }
    }
    // The call number written under the repository pointer (GEDCOM 5.5) when there is none
    // at the source's own level.
    if (m_lines[kCallNumber] == nullptr) m_lines[kCallNumber] = repoCallNumber;
}

std::string WGEDSource::FieldText(Field field) {
    if (!m_texts[field]) m_texts[field] = JoinedValue(m_collection, m_lines[field], "\r\n");
    return *m_texts[field];
}

int32_t WGEDSource::RepositoryNumber() {
    if (m_repoLine == nullptr) return 0;
    const std::optional<std::string_view> id =
        ExtractXref(m_repoLine, m_collection.Text().TextEnd(), false);
    return id ? m_collection.FindRepo(*id) : 0;
}

std::string WGEDSource::AuthorText() {
    return FieldText(kAuthor);
}

std::string WGEDSource::TitleText() {
    return FieldText(kTitle);
}

std::string WGEDSource::PublicationText() {
    return FieldText(kPublication);
}

std::string WGEDSource::CallNumberText() {
    return FieldText(kCallNumber);
}

std::string WGEDSource::AbbreviationText() {
    return FieldText(kAbbreviation);
}

std::unique_ptr<WABSNote> WGEDSource::Note() {
    return NoteFromLine(m_collection, m_noteLine);
}

std::unique_ptr<WABSNote> WGEDSource::SourceText() {
    return NoteFromLine(m_collection, m_textLine);
}

std::string WGEDSource::RecordText() {
    return m_inline ? std::string() : m_collection.RecordTextOf(m_head, false);
}

// ---------------------------------------------------------------------------------------------
// WGEDCitation

WGEDCitation::WGEDCitation(WGEDCollection& collection, const char* sourLine)
    : m_collection(collection), m_sourLine(sourLine) {
    if (sourLine == nullptr) return;
    const char* end = collection.Text().TextEnd();
    const int level = LineLevel(sourLine, end);
    for (const char* line = NextChild(sourLine, end, level); line != nullptr;
         line = NextChild(line, end, level)) {
        if (LineLevel(line, end) != level + 1) continue;
        const std::uint32_t tag = LineTag(line, end);
        if (tag == kTagPage) m_pageLine = line;
        if (tag == kTagNote) m_noteLine = line;
    }
}

std::string WGEDCitation::PageText() {
    if (m_pageLine == nullptr) return {};
    return m_collection.ConvertText(TagValue(m_pageLine, m_collection.Text().TextEnd()));
}

std::unique_ptr<WABSNote> WGEDCitation::Note() {
    return NoteFromLine(m_collection, m_noteLine);
}

std::unique_ptr<WABSSource> WGEDCitation::Source() {
    return SourceFromLine(m_collection, m_sourLine);
}

// ---------------------------------------------------------------------------------------------
// WGEDNote

WGEDNote::WGEDNote(WGEDCollection& collection, const char* head) {
    if (head == nullptr) return;
    const char* end = collection.Text().TextEnd();
    const char* lineEnd = FindLineBreak(head, end);
    // The text follows the tag after the identifier: "0 @N1@ NOTE text".
    const char* first =
        static_cast<const char*>(std::memchr(head, '@', std::size_t(lineEnd - head)));
    const char* second = first != nullptr ? static_cast<const char*>(std::memchr(
                                                first + 1, '@', std::size_t(lineEnd - first - 1)))
                                          : nullptr;
    const char* text = lineEnd;
    if (second != nullptr) {
        const char* tag = second + 1;
        while (tag < lineEnd && *tag == ' ') ++tag;
        text = lineEnd - tag >= 4 ? tag + 4 : lineEnd;
    }
    const char* valueStart = text;
    while (valueStart < lineEnd && *valueStart == ' ') ++valueStart;
    if (valueStart >= lineEnd) {
        // No text on the head line: it starts with the first continuation line.
        const char* next = NextLine(head, end, true);
        if (next != nullptr && *next != '0' &&
            (LineTag(next, end) == kTagConc || LineTag(next, end) == kTagCont)) {
            text = ValueStart(next, end);
        }
    }
    for (const std::string& entry : ReadText(text, end)) AddLine(collection.ConvertText(entry));
}

// ---------------------------------------------------------------------------------------------
// WGEDAddress

WGEDAddress::WGEDAddress(WGEDCollection& collection, const char* addrLine)
    : m_collection(collection) {
    if (addrLine == nullptr) return;
    const char* end = collection.Text().TextEnd();
    static constexpr std::uint32_t kTags[kLineCount] = {kTagAddr, kTagAdr1, kTagAdr2, kTagCity,
                                                        kTagStae, kTagPost, kTagCtry, kTagPhon};
    for (const char* line = addrLine; line != nullptr; line = NextInRecord(line, end)) {
        const std::uint32_t tag = LineTag(line, end);
        for (int k = 0; k < kLineCount; ++k) {
            if (tag == kTags[k]) m_lines[k] = line;
        }
    }
}

std::string WGEDAddress::AddressLine(int line) {
    if (line < 0 || line >= kLineCount) return {};
    if (!m_texts[line]) m_texts[line] = JoinedValue(m_collection, m_lines[line], "\r\n");
    return *m_texts[line];
}

// ---------------------------------------------------------------------------------------------
// WGEDRepo

WGEDRepo::WGEDRepo(WGEDCollection& collection, const char* head)
    : m_collection(collection), m_head(head) {
    if (head == nullptr) return;
    const char* end = collection.Text().TextEnd();
    for (const char* line = NextInRecord(head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        const std::uint32_t tag = LineTag(line, end);
        if (tag == kTagName) m_nameLine = line;
        if (tag == kTagAddr) m_addrLine = line;
    }
}

std::string WGEDRepo::RepoName() {
    if (!m_name) m_name = JoinedValue(m_collection, m_nameLine, "\r");
    return *m_name;
}

std::unique_ptr<WABSAddress> WGEDRepo::Address() {
    if (m_addrLine == nullptr) return nullptr;
    return std::make_unique<WGEDAddress>(m_collection, m_addrLine);
}

std::string WGEDRepo::RecordText() {
    return m_collection.RecordTextOf(m_head, false);
}

// ---------------------------------------------------------------------------------------------
// WGEDSubmitter

WGEDSubmitter::WGEDSubmitter(WGEDCollection& collection, const char* head)
    : m_collection(collection), m_head(head) {}

const char* WGEDSubmitter::FirstLine(std::uint32_t tag) const {
    if (m_head == nullptr) return nullptr;
    const char* end = m_collection.Text().TextEnd();
    for (const char* line = NextInRecord(m_head, end); line != nullptr;
         line = NextInRecord(line, end)) {
        if (LineTag(line, end) == tag) return line;
    }
    return nullptr;
}

std::string WGEDSubmitter::SubmitterField(int field) {
    const char* end = m_collection.Text().TextEnd();
    const auto value = [&](const char* line) {
        return line != nullptr ? m_collection.ConvertText(TagValue(line, end)) : std::string();
    };
    switch (field) {
        case kName:
            return value(FirstLine(kTagName));
        case kAddress1:
        case kAddress2:
        case kAddress3: {
            if (!m_address) {
                const char* addr = FirstLine(kTagAddr);
                m_address = addr != nullptr ? ConvertedEntries(m_collection, addr)
                                            : std::vector<std::string>();
            }
            const std::size_t k = std::size_t(field - kAddress1);
            return k < m_address->size() ? (*m_address)[k] : std::string();
        }
        case kCountry:
            return value(FirstLine(kTagCtry));
        case kPhone:
            return value(FirstLine(kTagPhon));
        case kEmail: {
            const char* line = FirstLine(kTagEmail);
            if (line == nullptr) return {};
            // The value follows the whole tag word ("_EMAIL", "_EMAIL_1").
            const char* lineEnd = FindLineBreak(line, end);
            const char* at = line + 2;
            while (at < lineEnd && *at != ' ') ++at;
            return m_collection.ConvertText(LineValue(at, end));
        }
        case kRecordText:
            return m_head != nullptr ? std::string(RawRecordText(m_head, end)) : std::string();
        default:
            return {};
    }
}

}  // namespace kindrel
