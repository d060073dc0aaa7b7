// The event rows of one individual: identifier, name, vital events, LDS ordinances, other
// events, witness links, parents, families with spouses and children, each with its date, the
// individual's age at that date, information, notes, sources and the colours it is drawn in.
// The Individual page shows them; the text exports and reports build the same rows with the
// Sex and Modify Date rows included.
//
//   std::vector<WEventRow> rows = BuildEventRows(collection, n, false, group,
//                                                WEventRowOptions::FromSettings(Options()));
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kindrel {

class WABSCollection;
class WDate;
class WHLGroup;
class WOptions;

// One row of an individual's event list. Texts are plain file text (never markup).
struct WEventRow {
    int32_t link = 0;  // the individual a double click jumps to, 0 = none
    std::string type;  // "Birth", "Father (P)", "     Son" ...
    std::string date;  // the date text as written in the file
    std::string information;
    std::string age;                 // "-----", "23", "~23", "-30", "[23]" or empty
    std::string sortKey;             // the date text the chronological order reads
    uint32_t background = 0xFFFFFF;  // 0x00BBGGRR
    uint32_t text = 0x000000;        // 0x00BBGGRR
    std::string sources;             // numbered citations "1) ...", separated by a blank line
    std::string notes;
};

// What shapes the rows besides the individual and the highlighting.
struct WEventRowOptions {
    bool chronological = false;  // setting Chrono: the rows after the fixed ones by date
    bool useLds = false;         // setting UseLDS: LDS ordinance rows

    // Chrono and UseLDS as a settings store holds them.
    static WEventRowOptions FromSettings(WOptions& options);
};

// The rows of individual n; empty when n cannot be obtained. withSexAndModify adds the "Sex"
// and "Modify Date" rows after "Name" (exports and reports). People are drawn in the group's
// colours (white on black without group). Every row is kept, however many there are.
// Reader errors propagate as exceptions.
std::vector<WEventRow> BuildEventRows(WABSCollection& collection, int32_t n, bool withSexAndModify,
                                      WHLGroup* group, const WEventRowOptions& options);

// The colours of every row again from its link (after the highlighting changed).
void RecolourEventRows(std::vector<WEventRow>& rows, WHLGroup* group);

// Orders rows[from..] chronologically, stably: rows whose sort key is a clean date with a year
// after all others; dated rows by date, then type; the others by sort-key text, then type.
// Equal rows keep their order.
void SortEventRowsChronologically(std::vector<WEventRow>& rows, std::size_t from);

// The age text of a row dated date against the reference date (the birth, or with bracketed
// set the christening): empty without either date or year, "-----" for the reference date
// itself, else the whole years ("~" when approximate), "-" before them when the reference is
// later, the whole in "[" "]" when bracketed.
std::string EventAgeText(const WDate* reference, bool bracketed, const WDate* date);

}  // namespace kindrel
