// The list renderings without Qt: fixed-width and CSV lines of an individual list (the List,
// Highlighted and island-member grids, and `kindrel list`), the islands table, and the texts
// of the list pages (labels, hints, source details).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

class WABSCollection;
class WColSortIterator;
class WIslands;
class WListColumns;

// The forms of a list copy; the values are the list-copy dialog's choices.
enum class ListCopyForm : int { kFixed = 1, kCsv = 2, kCsvFile = 3, kCancelled = 99 };

// Number of UTF-8 characters in text.
size_t CharacterCount(std::string_view text);
// Appends text cut to at most cut characters (never inside a UTF-8 sequence), then blanks up
// to pad characters.
void AppendFixedField(std::string& out, std::string_view text, size_t cut, size_t pad);
// Appends text in double quotes with inner double quotes doubled.
void AppendCsvField(std::string& out, std::string_view text);
// A cell as a copy writes it: the parts of a tab-separated value joined without separator.
std::string CellForCopy(std::string text);

// A fixed field of a column W pixels wide: cut to W / 5 - 2 characters, padded to W / 5 - 1;
// nothing at all when W / 5 is below 2.
struct FixedField {
    size_t cut = 0;
    size_t pad = 0;
};
FixedField FixedFieldOfWidth(int widthPixels);

// Writes the lines of a list: fixed fields or CSV fields, each line ended by lineEnd.
class WListLineWriter {
  public:
    // fields: one per column (fixed form only). padLast false leaves the last fixed field
    // without its trailing blanks.
    WListLineWriter(bool csv, std::vector<FixedField> fields, std::string lineEnd,
                    bool padLast = true);
    // Appends one line of cells (one per column; missing cells are empty).
    void AppendLine(std::string& out, const std::vector<std::string>& cells) const;

  private:
    bool m_csv;
    std::vector<FixedField> m_fields;
    std::string m_lineEnd;
    bool m_padLast;
};

// Renders a column set's list over an iterator (attached or not) into out: the header line,
// then one line per position. progress(done, total) is called every 25 rows and answers false
// to stop; the answer is then false and out incomplete.
bool RenderListText(const WListColumns& columns, WColSortIterator& iterator, bool csv,
                    std::string& out, const std::function<bool(int, int)>& progress = {});

// One row of the islands table.
struct IslandRow {
    int32_t position = 0;
    int32_t individuals = 0;
    int32_t families = 0;
    int32_t notes = 0;
    int32_t sources = 0;
    std::string firstName;
};
// The detail pane of one source.
struct SourceDetails {
    std::string title;  // the labels: one line each
    std::string author;
    std::string abbreviation;
    std::string publication;
    std::string callNumber;
    std::string text;        // the source's TEXT lines, joined by CR LF
    std::string note;        // the note lines
    std::string repository;  // name, then CR LF and the non-empty address lines joined by ", "
    std::string raw;         // the GEDCOM record as it stands in the file
};
// The details of source n (empty for a number outside the collection's sources).
SourceDetails BuildSourceDetails(WABSCollection& collection, int32_t source);
// The caption of the note box: "Construction Sentence" for collection kind 5, else "Note".
std::string SourceNoteCaption(int collectionKind);
// A source's details as copied text: the labelled fields, then the memos (raw: the record).
std::string SourceDetailsText(const SourceDetails& details, bool raw);
// The nine cells of a Sources row for source n at row r (number with separators, the three
// "Y" marks, title, abbreviation, author, publication, call number on one line each).
std::vector<std::string> SourceRowCells(WABSCollection& collection, int32_t source);

// The islands of a collection's tables as rows of the islands table; the note and source
// counts are the distinct notes and sources the island's individuals and families refer to.
// progress(done, total) answers false to stop (the rows are then incomplete).
std::vector<IslandRow> BuildIslandRows(WABSCollection& collection, WIslands& islands,
                                       const std::function<bool(int, int)>& progress = {});

// The islands table: fixed ("ISLANDS", the header and one line per island in
// "%5s %8s %8s %8s %8s %s" columns) or CSV; lines end CR LF; double quotes in names doubled.
std::string RenderIslandsText(const std::vector<IslandRow>& rows, bool csv);

// count formatted with separators + " Individuals".
std::string IndividualsLabel(long long count);
// count formatted with separators + " islands".
std::string IslandsLabel(long long count);
// count + " Sources".
std::string SourcesLabel(long long count);
// "Use Islands", or "Use Island (" + position + ")" while position is in use.
std::string UseIslandText(int32_t position);
// The Sources grid's hint, one line per column.
std::string SourcesHintText();
// A text with carriage returns as blanks and line feeds removed (a one-line cell or label).
std::string OneLine(std::string_view text);

}  // namespace kindrel
