// The pages as plain text, as "Copy To Clipboard" puts them on the clipboard: General,
// Individual, Family, Pedigree and Descendants. Lines end in "\n". Plain C++ so that the
// window, the command line and the tests build the same texts.
#pragma once

#include "app/event_rows.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kindrel {

class WABSCollection;
class WDesIterator;
class WHLGroup;
struct FileStatistics;

// "GENERAL INFORMATION", the file block from statistics (the name shown to the user), then the
// header and the submitter: as label/value lines, or in raw mode as their record texts.
std::string GeneralPageText(WABSCollection& collection, const FileStatistics& statistics, bool raw);

// The event rows of individual n with the Sex and Modify Date rows, one line each: type, ": ",
// the non-empty parts of date, information and notes joined by ", ". In raw mode the
// individual's record text. Empty when n is not an individual of the collection.
std::string IndividualPageText(WABSCollection& collection, int32_t n, bool raw,
                               const WEventRowOptions& options);

// True when n, whose sex is sex, is the husband of a family whose other partner has spouseSex:
// "M" always, "U" when the partner is "F" or "U".
bool IsHusbandBySex(char sex, char spouseSex);

// "FAMILY GROUP": husband, wife and their parents, then every child of family k of individual
// n. Empty when n is not an individual of the collection.
std::string FamilyPageText(WABSCollection& collection, int32_t n, int k);

// Lines and columns of the pedigree chart's canvas; the grandparents' 40-character fields at
// column 44 end in column 83.
inline constexpr int kPedigreeCanvasLines = 31;
inline constexpr int kPedigreeCanvasColumns = 84;

// "PEDIGREE CHART" and lines 1..30 of the canvas (right-trimmed): n with family k and its
// spouse, parents and grandparents. Empty when n is not an individual of the collection.
std::string PedigreePageText(WABSCollection& collection, int32_t n, int k);

// The heading of the descendant list's copy.
inline constexpr const char* kDescendantListHeading = "DESCENDANT LIST\n\n";

// Appends records from..to (1-based, inclusive) of a finished walk, one line each: two blanks
// per generation and the entry's text (a repeat ends " (DUPLICATED)").
void AppendDescendantLines(WABSCollection& collection, const WDesIterator& walk, int from, int to,
                           std::string& out);

// The heading and every record of walk. progress(done, total) is called every `step` records
// and may answer false to stop; the text is then empty.
std::string DescendantListText(WABSCollection& collection, const WDesIterator& walk,
                               const std::function<bool(int, int)>& progress = {}, int step = 50);
// As DescendantListText, handing the text to sink in pieces of about a megabyte, each ending
// after a line, instead of keeping it whole (a copy of a large tree then never holds both the
// UTF-8 text and the clipboard's). False when progress stopped it.
bool DescendantListTextTo(WABSCollection& collection, const WDesIterator& walk,
                          const std::function<void(std::string_view)>& sink,
                          const std::function<bool(int, int)>& progress = {}, int step = 50);

}  // namespace kindrel
