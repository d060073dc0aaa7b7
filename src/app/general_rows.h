// The rows of the General page's three grids (statistics, header, submitter) and its raw
// texts, built from the collection and the window's figures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kindrel {

class WABSCollection;

// One row of an information grid. A value with tab offsets is drawn split at its tab
// characters: the first part 3 pixels in, each further part at the next offset.
struct InfoRow {
    std::string label;
    std::string value;
    std::vector<int> tabOffsets;  // pixels; empty for a plain value
};

// What the statistics grid shows besides the collection's counts.
struct FileStatistics {
    std::string name;       // the GEDCOM's file name
    std::string size;       // the collection's size text
    std::string date;       // the collection's date text
    std::string importing;  // "%.3f seconds"
    long long individuals = 0;
    long long families = 0;
    long long notes = 0;
    long long sources = 0;
    int kind = 0;  // collection kind; 3 reads "N/A" for notes
};

// The figures of a loaded collection (name, size, date, counts, kind); importing stays empty.
FileStatistics CollectStatistics(WABSCollection& collection, const std::string& displayName);

// Rows "Name", "Size", "Date", "Importing", "# Ind", "# Fam", "# Notes", "# Srcs"; counts with
// thousands separators; every value empty when statistics is null (no file open).
std::vector<InfoRow> StatisticsRows(const FileStatistics* statistics);

// One row per entry of the collection's header summary (at most 100).
std::vector<InfoRow> HeaderRows(WABSCollection& collection);

// Rows "Name", "Addr 1", "Addr 2", "Addr 3", "Country" ("Web Site" for collection kind 3),
// "Phone", "Email"; empty values when the file names no submitter.
std::vector<InfoRow> SubmitterRows(WABSCollection& collection);

// The header record's text, line breaks as "\n".
std::string HeaderRawText(WABSCollection& collection);
// The submitter record's text, line breaks as "\n"; empty without submitter.
std::string SubmitterRawText(WABSCollection& collection);

// Tab offsets written as pixel numbers separated by ","; entries that are not numbers are skipped.
std::vector<int> ParseTabOffsets(const std::string& text);
// A value split at its tab characters.
std::vector<std::string> SplitAtTabs(const std::string& value);
// Line breaks of any kind (CR LF, CR, LF) as "\n".
std::string UnixLineBreaks(const std::string& text);

}  // namespace kindrel
