// Small line tests shared by the GEDCOM readers: exact level tests, tag tests with the
// three-letter rules, value starts and the walk over a line's children. All bounded by the
// end of the text like the functions of gedcom_line.h.
#pragma once

#include "gedcom/gedcom_line.h"

#include <cstdint>
#include <string_view>

namespace kindrel {

// Tag codes the readers match (the four bytes at line offsets 2 to 5).
inline constexpr std::uint32_t kTagAbbr = TagCode("ABBR");
inline constexpr std::uint32_t kTagAddr = TagCode("ADDR");
inline constexpr std::uint32_t kTagAdr1 = TagCode("ADR1");
inline constexpr std::uint32_t kTagAdr2 = TagCode("ADR2");
inline constexpr std::uint32_t kTagAfn = TagCode("AFN ");
inline constexpr std::uint32_t kTagAuth = TagCode("AUTH");
inline constexpr std::uint32_t kTagBapl = TagCode("BAPL");
inline constexpr std::uint32_t kTagBirt = TagCode("BIRT");
inline constexpr std::uint32_t kTagBuri = TagCode("BURI");
inline constexpr std::uint32_t kTagCaln = TagCode("CALN");
inline constexpr std::uint32_t kTagChan = TagCode("CHAN");
inline constexpr std::uint32_t kTagChar = TagCode("CHAR");
inline constexpr std::uint32_t kTagChil = TagCode("CHIL");
inline constexpr std::uint32_t kTagCity = TagCode("CITY");
inline constexpr std::uint32_t kTagCons = TagCode("CONS");
inline constexpr std::uint32_t kTagCorp = TagCode("CORP");
inline constexpr std::uint32_t kTagCtry = TagCode("CTRY");
inline constexpr std::uint32_t kTagDeat = TagCode("DEAT");
inline constexpr std::uint32_t kTagDest = TagCode("DEST");
inline constexpr std::uint32_t kTagEmail = TagCode("_EMA");
inline constexpr std::uint32_t kTagEndl = TagCode("ENDL");
inline constexpr std::uint32_t kTagFamc = TagCode("FAMC");
inline constexpr std::uint32_t kTagFams = TagCode("FAMS");
inline constexpr std::uint32_t kTagFile = TagCode("FILE");
inline constexpr std::uint32_t kTagForm = TagCode("FORM");
inline constexpr std::uint32_t kTagGedc = TagCode("GEDC");
inline constexpr std::uint32_t kTagGivn = TagCode("GIVN");
inline constexpr std::uint32_t kTagHead = TagCode("HEAD");
inline constexpr std::uint32_t kTagHusb = TagCode("HUSB");
inline constexpr std::uint32_t kTagMarr = TagCode("MARR");
inline constexpr std::uint32_t kTagName = TagCode("NAME");
inline constexpr std::uint32_t kTagNote = TagCode("NOTE");
inline constexpr std::uint32_t kTagNpfx = TagCode("NPFX");
inline constexpr std::uint32_t kTagNsfx = TagCode("NSFX");
inline constexpr std::uint32_t kTagPage = TagCode("PAGE");
inline constexpr std::uint32_t kTagPhon = TagCode("PHON");
inline constexpr std::uint32_t kTagPost = TagCode("POST");
inline constexpr std::uint32_t kTagPubl = TagCode("PUBL");
inline constexpr std::uint32_t kTagQual = TagCode("QUAL");
inline constexpr std::uint32_t kTagRefn = TagCode("REFN");
inline constexpr std::uint32_t kTagRepo = TagCode("REPO");
inline constexpr std::uint32_t kTagSlgc = TagCode("SLGC");
inline constexpr std::uint32_t kTagSlgs = TagCode("SLGS");
inline constexpr std::uint32_t kTagSour = TagCode("SOUR");
inline constexpr std::uint32_t kTagStae = TagCode("STAE");
inline constexpr std::uint32_t kTagStat = TagCode("STAT");
inline constexpr std::uint32_t kTagSubm = TagCode("SUBM");
inline constexpr std::uint32_t kTagSurn = TagCode("SURN");
inline constexpr std::uint32_t kTagTemp = TagCode("TEMP");
inline constexpr std::uint32_t kTagText = TagCode("TEXT");
inline constexpr std::uint32_t kTagTime = TagCode("TIME");
inline constexpr std::uint32_t kTagTitl = TagCode("TITL");
inline constexpr std::uint32_t kTagType = TagCode("TYPE");
inline constexpr std::uint32_t kTagVers = TagCode("VERS");
inline constexpr std::uint32_t kTagWife = TagCode("WIFE");

// True when the line is a level-digit line: its first character is digit and a space
// follows ("1 NAME", not "10 NAME").
inline bool IsLevelLine(const char* line, const char* end, char digit) {
    return line != nullptr && end - line >= 2 && line[0] == digit && line[1] == ' ';
}

// True when the line's tag is the three letters of tag followed by a space, a line break or
// the end of the text ("CHR" matches "1 CHR" but not "1 CHRA").
inline bool Tag3Is(const char* line, const char* end, const char (&tag)[4]) {
    if (line == nullptr || end - line < 5) return false;
    if (line[2] != tag[0] || line[3] != tag[1] || line[4] != tag[2]) return false;
    return end - line == 5 || line[5] == ' ' || line[5] == '\r' || line[5] == '\n';
}

// Where a line's value begins: line offset 6 (leading spaces are skipped by the readers),
// or the line break when the line is shorter.
inline const char* ValueStart(const char* line, const char* end) {
    const char* lineEnd = FindLineBreak(line, end);
    return line + 6 <= lineEnd ? line + 6 : lineEnd;
}

// True when the line's value is a pointer "@XREF@" rather than text.
inline bool IsPointerValue(const char* line, const char* end) {
    const std::string_view value = TagValue(line, end);
    return value.size() >= 2 && value.front() == '@' && value.back() == '@';
}

// The line after line, or null at a level-0 line or the end: the walk over one record.
inline const char* NextInRecord(const char* line, const char* end) {
    const char* next = NextLine(line, end, true);
    return next != nullptr && *next != '0' ? next : nullptr;
}

// The walk over the lines below a line of level `level`: the next line while its level is
// greater, else null.
inline const char* NextChild(const char* line, const char* end, int level) {
    const char* next = NextLine(line, end, true);
    return next != nullptr && LineLevel(next, end) > level ? next : nullptr;
}

}  // namespace kindrel
