#include "app/search_links.h"

#include "app/sender_info.h"
#include "services/options.h"

#include <algorithm>
#include <array>

namespace kindrel {

namespace {

constexpr const char* kSection = "InternetSites";
constexpr int kMaxSites = 100;

constexpr std::array<std::string_view, 7> kPlaceholders = {
    "given", "surname", "terms", "birthFrom", "birthTo", "deathFrom", "deathTo"};

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// Line breaks and tabs inside a name read as blanks; runs of blanks as one.
std::string OneLine(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const char d = c == '\n' || c == '\r' || c == '\t' ? ' ' : c;
        if (d == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += d;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// The value of each placeholder for query.
std::string PlaceholderValue(std::string_view name, const WSearchQuery& query) {
    std::vector<std::string> given;
    for (const std::string& g : query.givenNames)
        if (!OneLine(g).empty()) given.push_back(OneLine(g));
    if (!query.matchAll && given.size() > 1) given.resize(1);
    std::string givenText;
    for (const std::string& g : given) givenText += (givenText.empty() ? "" : " ") + g;
    const std::string surname = OneLine(query.surname);
    const bool hasYear = IsSearchYear(query.year);
    const int range = std::max(0, query.range);
    const auto yearText = [&](bool death, int offset) {
        if (!hasYear || query.deathYear != death) return std::string();
        return std::to_string(std::clamp(query.year + offset, 1, 9999));
    };
    if (name == "given") return givenText;
    if (name == "surname") return surname;
    if (name == "birthFrom") return yearText(false, -range);
    if (name == "birthTo") return yearText(false, range);
    if (name == "deathFrom") return yearText(true, -range);
    if (name == "deathTo") return yearText(true, range);
    // terms: the names (quoted as one phrase when all must match), and the year when exact.
    std::string words = givenText;
    if (!surname.empty()) words += (words.empty() ? "" : " ") + surname;
    if (words.empty()) return {};
    std::string terms =
        query.matchAll && words.find(' ') != std::string::npos ? "\"" + words + "\"" : words;
    if (hasYear && range == 0) terms += " " + std::to_string(query.year);
    return terms;
}

}  // namespace

int YearRangeOfIndex(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kYearRanges))) return 0;
    return kYearRanges[index];
}

std::string CheckSiteTemplate(const std::string& urlTemplate) {
    std::string_view rest = urlTemplate;
    if (StartsWith(rest, "https://"))
        rest.remove_prefix(8);
    else if (StartsWith(rest, "http://"))
        rest.remove_prefix(7);
    else
        return "The address must start with http:// or https://.";
    const size_t hostEnd = rest.find_first_of("/?#");
    const std::string_view host = rest.substr(0, hostEnd);
    if (host.empty() || host.find('{') != std::string_view::npos)
        return "The address must name a web site after http:// or https://.";
    for (const char c : urlTemplate)
        if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '<' || c == '>' || c == '\\')
            return "The address must not contain blanks, quotes, \"<\", \">\" or \"\\\".";
    for (size_t at = 0; at < urlTemplate.size(); ++at) {
        if (urlTemplate[at] == '}') return "A \"}\" has no \"{\" before it.";
        if (urlTemplate[at] != '{') continue;
        const size_t close = urlTemplate.find('}', at);
        if (close == std::string::npos) return "A \"{\" has no \"}\" after it.";
        const std::string_view name(urlTemplate.data() + at + 1, close - at - 1);
        if (std::find(kPlaceholders.begin(), kPlaceholders.end(), name) == kPlaceholders.end())
            return "Unknown placeholder {" + std::string(name) +
                   "}; use {given}, {surname}, {terms}, {birthFrom}, {birthTo}, {deathFrom} or "
                   "{deathTo}.";
        at = close;
    }
    return {};
}

std::string BuildSearchUrl(const std::string& urlTemplate, const WSearchQuery& query) {
    if (!CheckSiteTemplate(urlTemplate).empty()) return {};
    if (PlaceholderValue("terms", query).empty()) return {};
    // The template is read once, left to right; placeholder values go straight to the output.
    // Each query pair ("name=..." between "?"/"&" and the next "&"/"#") is filled on its own so
    // that a pair whose placeholders all came out empty can be left out.
    const size_t queryStart = urlTemplate.find('?');
    const size_t fragment = urlTemplate.find('#', queryStart == std::string::npos ? 0 : queryStart);
    const auto fill = [&](std::string_view part, bool& anyFilled, bool& anyPlaceholder) {
        std::string out;
        for (size_t at = 0; at < part.size(); ++at) {
            if (part[at] != '{') {
                out += part[at];
                continue;
            }
            const size_t close = part.find('}', at);
            const std::string value = PlaceholderValue(part.substr(at + 1, close - at - 1), query);
            anyPlaceholder = true;
            if (!value.empty()) anyFilled = true;
            out += PercentEncode(value);
            at = close;
        }
        return out;
    };
    bool filled = false, placeholder = false;
    if (queryStart == std::string::npos) return fill(urlTemplate, filled, placeholder);
    std::string url =
        fill(std::string_view(urlTemplate).substr(0, queryStart + 1), filled, placeholder);
    const std::string_view pairs =
        std::string_view(urlTemplate)
            .substr(queryStart + 1,
                    fragment == std::string::npos ? std::string::npos : fragment - queryStart - 1);
    bool first = true;
    size_t start = 0;
    while (start <= pairs.size()) {
        size_t end = pairs.find('&', start);
        if (end == std::string_view::npos) end = pairs.size();
        const std::string_view pair = pairs.substr(start, end - start);
        bool pairFilled = false, pairPlaceholder = false;
        const std::string text = fill(pair, pairFilled, pairPlaceholder);
        if (!pair.empty() && (!pairPlaceholder || pairFilled)) {
            if (!first) url += '&';
            url += text;
            first = false;
        }
        start = end + 1;
    }
    if (url.back() == '?') url.pop_back();
    if (fragment != std::string::npos)
        url += fill(std::string_view(urlTemplate).substr(fragment), filled, placeholder);
    return url;
}

const std::vector<WSearchSite>& DefaultSearchSites() {
    static const std::vector<WSearchSite> sites = {
        {"Google", "https://www.google.com/search?q={terms}"},
        {"Yahoo", "https://search.yahoo.com/search?p={terms}"},
        {"Bing", "https://www.bing.com/search?q={terms}"},
        {"DuckDuckGo", "https://duckduckgo.com/?q={terms}"},
        {"HotBot", "https://www.hotbot.com/web?q={terms}"},
        {"Lycos", "https://search.lycos.com/web/?q={terms}"},
        {"Excite", "https://results.excite.com/serp?q={terms}"},
        {"Ancestry",
         "https://www.ancestry.com/search/"
         "?name={given}_{surname}&birth={birthFrom}&death={deathFrom}"},
        {"Find a Grave",
         "https://www.findagrave.com/memorial/search?firstname={given}&lastname={surname}"
         "&birthyear={birthFrom}&deathyear={deathFrom}"},
        {"Family Search",
         "https://www.familysearch.org/search/record/results?q.givenName={given}"
         "&q.surname={surname}&q.birthLikeDate.from={birthFrom}&q.birthLikeDate.to={birthTo}"
         "&q.deathLikeDate.from={deathFrom}&q.deathLikeDate.to={deathTo}"},
    };
    return sites;
}

std::string SiteLine(const WSearchSite& site) {
    return site.caption + "|" + site.urlTemplate;
}

bool ParseSiteLine(const std::string& line, WSearchSite& site) {
    const size_t bar = line.find('|');
    if (bar == std::string::npos) return false;
    WSearchSite parsed{OneLine(line.substr(0, bar)), line.substr(bar + 1)};
    while (!parsed.urlTemplate.empty() && parsed.urlTemplate.back() == ' ')
        parsed.urlTemplate.pop_back();
    if (parsed.caption.empty() || !CheckSiteTemplate(parsed.urlTemplate).empty()) return false;
    site = std::move(parsed);
    return true;
}

std::vector<WSearchSite> ReadSearchSites(const WOptions& options) {
    const int count =
        std::clamp(SettingToInt(options.ReadDirect(kSection, "Count", "0")), 0, kMaxSites);
    std::vector<WSearchSite> sites;
    for (int i = 1; i <= count; ++i) {
        WSearchSite site;
        if (ParseSiteLine(options.ReadDirect(kSection, "Site" + std::to_string(i), ""), site))
            sites.push_back(std::move(site));
    }
    return sites.empty() ? DefaultSearchSites() : sites;
}

void WriteSearchSites(WOptions& options, const std::vector<WSearchSite>& sites) {
    const int old = SettingToInt(options.ReadDirect(kSection, "Count", "0"));
    const int count = std::min(static_cast<int>(sites.size()), kMaxSites);
    for (int i = 1; i <= count; ++i)
        options.WriteDirect(kSection, "Site" + std::to_string(i), SiteLine(sites[size_t(i - 1)]));
    // Lines past the new end are emptied so that they are not read again.
    for (int i = count + 1; i <= std::min(old, kMaxSites); ++i)
        options.WriteDirect(kSection, "Site" + std::to_string(i), "");
    options.WriteDirect(kSection, "Count", std::to_string(count));
}

std::vector<std::string> SplitGivenNames(const std::string& givenNames) {
    std::vector<std::string> names;
    std::string word;
    for (const char c : givenNames + " ") {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!word.empty()) names.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return names;
}

}  // namespace kindrel
