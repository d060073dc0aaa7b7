// Internet search links: a site is a caption and an http(s) address template whose
// placeholders {given}, {surname}, {terms}, {birthFrom}, {birthTo}, {deathFrom} and {deathTo}
// are filled, percent-encoded, for the individual searched. Plain C++ (no Qt).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

class WOptions;

struct WSearchSite {
    std::string caption;
    std::string urlTemplate;
    bool operator==(const WSearchSite&) const = default;
};

// What is searched for.
struct WSearchQuery {
    std::vector<std::string> givenNames;  // in order; the first is the "any name" match
    std::string surname;
    bool matchAll = true;    // every given name, the words quoted as one phrase
    int year = 0;            // 0 without a year
    bool deathYear = false;  // the year is of the death (else of the birth)
    int range = 0;           // years either side; 0 = exact
};

// The year ranges of "Year Range:" by item index ("Exact date", "+/- 1 year", ...).
inline constexpr int kYearRanges[] = {0, 1, 2, 5, 10, 20, 40};
// The range of item index (0 for an index outside the list).
int YearRangeOfIndex(int index);
// True for years the search accepts (1 to 9999).
inline bool IsSearchYear(int year) {
    return year >= 1 && year <= 9999;
}

// Empty when urlTemplate is usable, else why not: it must start with http:// or https://,
// name a host, and use only the known placeholders with matched braces.
std::string CheckSiteTemplate(const std::string& urlTemplate);

// The address for query (one pass: filled values are never read again, the template's own
// escapes stay). A query parameter whose value is only placeholders that came out empty is
// dropped. Empty when the template fails CheckSiteTemplate or nobody is named.
std::string BuildSearchUrl(const std::string& urlTemplate, const WSearchQuery& query);

// The sites offered when nothing is stored.
const std::vector<WSearchSite>& DefaultSearchSites();

// "caption|template" as kept in the settings, and back; false for a line that is no site
// (no "|", empty caption, bad template).
std::string SiteLine(const WSearchSite& site);
bool ParseSiteLine(const std::string& line, WSearchSite& site);

// The sites kept in section "InternetSites" (keys Count, Site1...); broken lines are skipped;
// the defaults when the section holds none.
std::vector<WSearchSite> ReadSearchSites(const WOptions& options);
// Keeps sites in section "InternetSites". Throws EFileError.
void WriteSearchSites(WOptions& options, const std::vector<WSearchSite>& sites);

// The given names of a GEDCOM given-names text, split at blanks.
std::vector<std::string> SplitGivenNames(const std::string& givenNames);

}  // namespace kindrel
