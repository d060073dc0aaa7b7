// GEDCOM line functions over mapped text. A line is a one-character level, a space, a
// four-byte tag at line offsets 2 to 5, then the value; record heads carry an identifier
// between two '@'. Every function takes the end of the text and never reads at or past it,
// so the last line needs no line break. A line pointer points at the level character.
// Values are views into the text, valid as long as the text (no copy, no length limit).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

// Record kinds answered by RecordKind.
enum GedRecordKind : int {
    kKindIndividual = 0,  // INDI
    kKindFamily = 1,      // any tag beginning with F
    kKindObject = 2,      // OBJE
    kKindNote = 3,        // NOTE
    kKindRepository = 4,  // REPO
    kKindSource = 5,      // SOUR
    kKindSubmission = 6,  // SUBN
    kKindSubmitter = 7,   // SUBM, any other tag, or no tag
    kKindNoXref = 8,      // no identifier on the line
};

// The four bytes of a tag as one integer, to compare with LineTag ("SEX " keeps its space).
constexpr std::uint32_t TagCode(const char (&tag)[5]) {
    return std::uint32_t(std::uint8_t(tag[0])) | std::uint32_t(std::uint8_t(tag[1])) << 8 |
           std::uint32_t(std::uint8_t(tag[2])) << 16 | std::uint32_t(std::uint8_t(tag[3])) << 24;
}

// Tag codes used by the line functions.
inline constexpr std::uint32_t kTagConc = TagCode("CONC");
inline constexpr std::uint32_t kTagCont = TagCode("CONT");
inline constexpr std::uint32_t kTagDate = TagCode("DATE");
inline constexpr std::uint32_t kTagPlac = TagCode("PLAC");

// The bytes at line offsets 2 to 5 as a tag code; 0 when the line is shorter than 6 bytes.
std::uint32_t LineTag(const char* line, const char* end);

// True when the line's tag is the given code.
inline bool LineTagIs(const char* line, const char* end, std::uint32_t tag) {
    return LineTag(line, end) == tag;
}

// The first carriage return or line feed at or after p, or end.
const char* FindLineBreak(const char* p, const char* end);

// Start of the line after the one containing p, or null at the end of the text. With
// skipBlank, spaces, tabs and empty lines are stepped over too (callers always pass true;
// without it a CR LF pair yields a pointer to the LF).
const char* NextLine(const char* p, const char* end, bool skipBlank);

// The next line after p that begins with '0' (a record head), or null. The line containing
// p is never returned; an indented level-0 line is not found.
const char* NextRecord(const char* p, const char* end);

// True when the first line break of the text is a line feed (false for CR or none).
bool UsesLF(const char* begin, const char* end);

// The value from p (usually just after the tag): leading spaces skipped, running to the line
// break, trailing spaces removed; tabs kept. Empty for a null p or p at or past end.
std::string_view LineValue(const char* p, const char* end);

// LineValue of the line's value, read from line offset 6 (or empty when the line is shorter).
std::string_view TagValue(const char* line, const char* end);

// The decimal number before the first space of the line; 0 when that is not a number.
int LineLevel(const char* p, const char* end);

// The identifier between the first two '@' of the line from p (dropFirst leaves out its first
// character too: "@I12@" gives I12, or 12). Whole, however long; "@@" gives an empty
// identifier; no pair of '@' on the line gives nullopt.
std::optional<std::string_view> ExtractXref(const char* p, const char* end, bool dropFirst);

// The kind of the level-0 line at p (a GedRecordKind).
int RecordKind(const char* p, const char* end);

// The bytes from p up to the next level-0 line, or up to the end for the last record.
std::string_view RawRecordText(const char* p, const char* end);

// A multi-line value: the value at p, then the following CONC lines appended to the current
// entry and CONT lines starting new entries, until any other tag. Spaces at a CONC join are
// kept on both sides (exactly one delimiter space after the tag is dropped), so texts split
// before or after a space keep it; each entry then loses its trailing spaces.
std::vector<std::string> ReadText(const char* p, const char* end);

// The value of a DATE line: the line at p, or the line after it with stepFirst. Nullopt when
// p is null or that line's tag is not DATE. Only that one line is examined.
std::optional<std::string_view> EventDateValue(const char* p, const char* end, bool stepFirst);

// The value of the first PLAC line among the lines after p that begin with '2'; the walk
// ends at the first line that does not. Empty when there is none.
std::string_view ReadEventPlace(const char* p, const char* end);

}  // namespace kindrel
