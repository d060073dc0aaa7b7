// Strict well-formedness checker for the GEDCOM files the project writes itself (the bundled
// samples and the generator's output): line syntax, line ends, encoding, level steps,
// cross-references, family links, continuation lines, generations and islands.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel::testing {

// Line ends a file must use throughout.
enum class LineEnds { kCrlf, kLf };

// Byte encoding a file must respect.
enum class TextEncoding { kUtf8, kAnsel };

// One line: "level [@xref@ ]tag[ value]".
struct GedLine {
    int level = 0;
    std::string xref;  // without the @ characters; level-0 lines only
    std::string tag;
    std::string value;
    size_t lineNumber = 0;  // 1-based
};

// One level-0 record with all its lines (lines[0] is the record head).
struct GedRecord {
    std::string xref;
    std::string tag;
    std::vector<GedLine> lines;

    // Lines of the given level and tag, in file order.
    std::vector<const GedLine*> LinesAt(int level, std::string_view tag) const;
    // Value of the first line of the given level and tag, or empty.
    std::string FirstValue(int level, std::string_view tag) const;
    // The direct children of lines[index] (lines one level deeper until the level drops back).
    std::vector<const GedLine*> ChildrenOf(size_t index) const;
};

// Result of CheckGedcom: the parsed records, every fault found, counts and shape figures.
struct GedCheck {
    std::vector<std::string> errors;  // empty for a well-formed file
    std::vector<GedRecord> records;
    std::map<std::string, size_t> recordByXref;
    size_t individuals = 0;
    size_t families = 0;
    size_t notes = 0;
    size_t sources = 0;
    size_t repositories = 0;
    size_t submitters = 0;
    size_t generations = 0;           // people on the longest parent-to-child line
    std::vector<size_t> islandSizes;  // people per connected group, largest first

    // The record with that identifier (without @), or null.
    const GedRecord* Find(std::string_view xref) const;
    // All errors joined with line breaks, for test failure messages.
    std::string ErrorText() const;
};

// Parses and checks a whole file held in memory.
GedCheck CheckGedcom(std::string_view bytes, LineEnds lineEnds, TextEncoding encoding);

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadBinaryFile(const std::string& path);

}  // namespace kindrel::testing
