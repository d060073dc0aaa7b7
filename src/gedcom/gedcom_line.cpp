#include "gedcom/gedcom_line.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kindrel {

namespace {

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Position of c in [from, to), or to.
const char* FindIn(const char* from, const char* to, char c) {
    if (from >= to) return to;
    const void* hit = std::memchr(from, c, std::size_t(to - from));
    return hit != nullptr ? static_cast<const char*>(hit) : to;
}

// The value of a CONC or CONT line: after exactly one delimiter space, to the line break.
std::string_view ContinuationValue(const char* line, const char* end) {
    const char* lineEnd = FindLineBreak(line, end);
    const char* start = line + 6 <= lineEnd ? line + 6 : lineEnd;
    if (start < lineEnd && *start == ' ') ++start;
    return std::string_view(start, std::size_t(lineEnd - start));
}

void TrimTrailingSpaces(std::string& text) {
    const std::size_t last = text.find_last_not_of(' ');
    text.erase(last == std::string::npos ? 0 : last + 1);
}

}  // namespace

std::uint32_t LineTag(const char* line, const char* end) {
    if (line == nullptr || end - line < 6) return 0;
    return std::uint32_t(std::uint8_t(line[2])) | std::uint32_t(std::uint8_t(line[3])) << 8 |
           std::uint32_t(std::uint8_t(line[4])) << 16 | std::uint32_t(std::uint8_t(line[5])) << 24;
}

const char* FindLineBreak(const char* p, const char* end) {
#if defined(__SSE2__)
    // Sixteen bytes at a time, never loading past end.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)));
        if (mask != 0) return p + __builtin_ctz(unsigned(mask));
        p += 16;
    }
#endif
    while (p < end && !IsLineBreak(*p)) ++p;
    return p;
}

const char* NextLine(const char* p, const char* end, bool skipBlank) {
    if (p == nullptr || p >= end) return nullptr;
    const char* q = FindLineBreak(p, end);
    if (q >= end) return nullptr;
    ++q;
    if (skipBlank) {
        while (q < end && IsBlank(*q)) ++q;
    }
    return q < end ? q : nullptr;
}

const char* NextRecord(const char* p, const char* end) {
    if (p == nullptr || p >= end) return nullptr;
    const char* q = p;
    for (;;) {
        q = FindLineBreak(q, end);
        if (q >= end) return nullptr;
        ++q;
        if (q >= end) return nullptr;
        if (*q == '0') return q;
    }
}

bool UsesLF(const char* begin, const char* end) {
    if (begin == nullptr) return false;
    const char* q = FindLineBreak(begin, end);
    return q < end && *q == '\n';
}

std::string_view LineValue(const char* p, const char* end) {
    if (p == nullptr || p >= end) return {};
    while (p < end && *p == ' ') ++p;
    const char* q = FindLineBreak(p, end);
    while (q > p && q[-1] == ' ') --q;
    return std::string_view(p, std::size_t(q - p));
}

std::string_view TagValue(const char* line, const char* end) {
    if (line == nullptr || line >= end) return {};
    const char* lineEnd = FindLineBreak(line, end);
    return LineValue(line + 6 <= lineEnd ? line + 6 : lineEnd, end);
}

int LineLevel(const char* p, const char* end) {
    if (p == nullptr) return 0;
    const char* lineEnd = FindLineBreak(p, end);
    const char* space = FindIn(p, lineEnd, ' ');
    // More than nine digits cannot be a level (and would not fit an int).
    if (space == p || space - p > 9) return 0;
    int level = 0;
    for (const char* q = p; q < space; ++q) {
        if (*q < '0' || *q > '9') return 0;
        level = level * 10 + (*q - '0');
    }
    return level;
}

std::optional<std::string_view> ExtractXref(const char* p, const char* end, bool dropFirst) {
    if (p == nullptr || p >= end) return std::nullopt;
    const char* lineEnd = FindLineBreak(p, end);
    const char* first = FindIn(p, lineEnd, '@');
    if (first >= lineEnd) return std::nullopt;
    const char* second = FindIn(first + 1, lineEnd, '@');
    if (second >= lineEnd) return std::nullopt;
    std::string_view id(first + 1, std::size_t(second - first - 1));
    if (dropFirst && !id.empty()) id.remove_prefix(1);
    return id;
}

int RecordKind(const char* p, const char* end) {
    if (p == nullptr || p >= end) return kKindNoXref;
    const char* lineEnd = FindLineBreak(p, end);
    const char* first = FindIn(p, lineEnd, '@');
    if (first >= lineEnd) return kKindNoXref;
    const char* second = FindIn(first + 1, lineEnd, '@');
    if (second >= lineEnd) return kKindNoXref;
    const char* q = second + 1;
    while (q < lineEnd && *q == ' ') ++q;
    if (q >= lineEnd) return kKindSubmitter;
    if (*q == 'F') return kKindFamily;
    if (lineEnd - q < 4) return kKindSubmitter;
    const std::string_view tag(q, 4);
    if (tag == "INDI") return kKindIndividual;
    if (tag == "SOUR") return kKindSource;
    if (tag == "NOTE") return kKindNote;
    if (tag == "SUBM") return kKindSubmitter;
    if (tag == "SUBN") return kKindSubmission;
    if (tag == "REPO") return kKindRepository;
    if (tag == "OBJE") return kKindObject;
    return kKindSubmitter;
}

std::string_view RawRecordText(const char* p, const char* end) {
    if (p == nullptr || p >= end) return {};
    const char* next = NextRecord(p, end);
    return std::string_view(p, std::size_t((next != nullptr ? next : end) - p));
}

std::vector<std::string> ReadText(const char* p, const char* end) {
    std::vector<std::string> entries;
    if (p == nullptr || p > end) return entries;
    // The first piece: leading spaces skipped as for any value; its trailing spaces stay
    // until we know whether a CONC continues it.
    const char* start = p;
    while (start < end && *start == ' ') ++start;
    entries.emplace_back(start, std::size_t(FindLineBreak(start, end) - start));
    for (const char* line = NextLine(p, end, true); line != nullptr;
         line = NextLine(line, end, true)) {
        const std::uint32_t tag = LineTag(line, end);
        if (tag == kTagConc) {
            entries.back() += ContinuationValue(line, end);
        } else if (tag == kTagCont) {
            entries.emplace_back(ContinuationValue(line, end));
        } else {
            break;
        }
    }
    for (std::string& entry : entries) TrimTrailingSpaces(entry);
    return entries;
}

std::optional<std::string_view> EventDateValue(const char* p, const char* end, bool stepFirst) {
    if (p == nullptr) return std::nullopt;
    const char* line = stepFirst ? NextLine(p, end, true) : p;
    if (line == nullptr || LineTag(line, end) != kTagDate) return std::nullopt;
    return TagValue(line, end);
}

std::string_view ReadEventPlace(const char* p, const char* end) {
    if (p == nullptr) return {};
    for (const char* line = NextLine(p, end, true); line != nullptr && *line == '2';
         line = NextLine(line, end, true)) {
        if (LineTag(line, end) == kTagPlac) return TagValue(line, end);
    }
    return {};
}

}  // namespace kindrel
