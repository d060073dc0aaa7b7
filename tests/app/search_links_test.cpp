// Internet search links: hostile names encoded in one pass, template escapes kept, empty pairs
// dropped, any/all names, birth and death years with their range, bad templates explained,
// the sites kept in the settings file with broken lines skipped.
#include "app/search_links.h"
#include "app/sender_info.h"
#include "services/options.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kindrel {
namespace {

WSearchQuery Query(std::vector<std::string> given, std::string surname, bool all = true) {
    WSearchQuery q;
    q.givenNames = std::move(given);
    q.surname = std::move(surname);
    q.matchAll = all;
    return q;
}

TEST(SearchLinks, PercentEncodeKeepsOnlyUnreservedBytes) {
    EXPECT_EQ(PercentEncode("Az09-._~"), "Az09-._~");
    EXPECT_EQ(PercentEncode("a b\"&#@+/\n<b>ř"), "a%20b%22%26%23%40%2B%2F%0A%3Cb%3E%C5%99");
    EXPECT_EQ(PercentEncode(""), "");
}

TEST(SearchLinks, FilledUrls) {
    WSearchQuery year = Query({"Anna", "Marie"}, "Lee");
    year.year = 1900;
    WSearchQuery death = year;
    death.deathYear = true;
    death.year = 5;
    death.range = 10;
    WSearchQuery badYear = year;
    badYear.year = 10000;
    struct Case {
        const char* name;
        std::string tpl;
        WSearchQuery query;
        std::string expected;
    };
    const Case cases[] = {
        {"hostile names, all", "https://s.example/?q={terms}",
         Query({"Jo\"&#@+/", "ř<b>"}, "O'Neil\nSmith"),
         "https://s.example/?q=%22Jo%22%26%23%40%2B%2F%20%C5%99%3Cb%3E%20O%27Neil%20Smith%22"},
        {"any name: first given name and surname", "https://s.example/?q={terms}",
         Query({"Anna", "Marie"}, "Lee", false), "https://s.example/?q=Anna%20Lee"},
        {"all names quoted", "https://s.example/?q={terms}", Query({"Anna", "Marie"}, "Lee"),
         "https://s.example/?q=%22Anna%20Marie%20Lee%22"},
        {"a value looking like a placeholder is not filled again",
         "https://s.example/?g={given}&s={surname}", Query({"{surname}"}, "X"),
         "https://s.example/?g=%7Bsurname%7D&s=X"},
        {"template escapes kept", "https://s.example/a%2Fb?x=1%2C2&g={given}",
         Query({"Ann"}, "Lee"), "https://s.example/a%2Fb?x=1%2C2&g=Ann"},
        {"no year: year pairs dropped",
         "https://s.example/?g={given}&bf={birthFrom}&bt={birthTo}&df={deathFrom}",
         Query({"Ann"}, "Lee"), "https://s.example/?g=Ann"},
        {"exact year for engines", "https://s.example/?q={terms}", year,
         "https://s.example/?q=%22Anna%20Marie%20Lee%22%201900"},
        {"birth year pair", "https://s.example/?bf={birthFrom}&bt={birthTo}&df={deathFrom}", year,
         "https://s.example/?bf=1900&bt=1900"},
        {"death year 5 +/- 10 held to 1..9999",
         "https://s.example/?bf={birthFrom}&df={deathFrom}&dt={deathTo}&q={terms}", death,
         "https://s.example/?df=1&dt=15&q=%22Anna%20Marie%20Lee%22"},
        {"a year outside 1..9999 is left out", "https://s.example/?q={terms}&b={birthFrom}",
         badYear, "https://s.example/?q=%22Anna%20Marie%20Lee%22"},
        {"path placeholders and fragment", "http://s.example/{surname}/x?#{given}",
         Query({"Ann"}, "Lee"), "http://s.example/Lee/x#Ann"},
        {"nobody named", "https://s.example/?q={terms}", Query({}, ""), ""},
        {"refused: file", "file:///etc/passwd?{terms}", Query({"A"}, "B"), ""},
        {"refused: javascript", "javascript:alert({terms})", Query({"A"}, "B"), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(BuildSearchUrl(c.tpl, c.query), c.expected) << c.name;
}

TEST(SearchLinks, BadTemplatesAreExplained) {
    EXPECT_EQ(CheckSiteTemplate("https://www.example.org/?q={terms}"), "");
    EXPECT_NE(CheckSiteTemplate("file:///x").find("http://"), std::string::npos);
    EXPECT_NE(CheckSiteTemplate("javascript:alert(1)").find("http://"), std::string::npos);
    EXPECT_NE(CheckSiteTemplate("https://").find("web site"), std::string::npos);
    EXPECT_NE(CheckSiteTemplate("https://{terms}.example/").find("web site"), std::string::npos);
    EXPECT_NE(CheckSiteTemplate("https://x.example/?q={name}").find("{name}"), std::string::npos);
    EXPECT_NE(CheckSiteTemplate("https://x.example/?q={terms").find("\"}\""), std::string::npos);
    EXPECT_NE(CheckSiteTemplate("https://x.example/?q=a}").find("\"{\""), std::string::npos);
    EXPECT_NE(CheckSiteTemplate("https://x.example/?q=a b").find("blanks"), std::string::npos);
    for (const WSearchSite& site : DefaultSearchSites()) {
        EXPECT_EQ(CheckSiteTemplate(site.urlTemplate), "") << site.caption;
        EXPECT_EQ(site.urlTemplate.rfind("https://", 0), 0u) << site.caption;
    }
}

TEST(SearchLinks, SitesKeptInTheSettingsFile) {
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("kindrel-sites-" + std::to_string(getpid()) + ".ini"))
                                 .string();
    std::filesystem::remove(file);
    WOptions options(file);
    EXPECT_EQ(ReadSearchSites(options), DefaultSearchSites());
    const std::vector<WSearchSite> sites = {{"One", "https://one.example/?q={terms}"},
                                            {"Two", "http://two.example/{surname}"},
                                            {"Three", "https://three.example/?g={given}"}};
    WriteSearchSites(options, sites);
    EXPECT_EQ(ReadSearchSites(WOptions(file)), sites);
    WriteSearchSites(options, {sites[1]});
    EXPECT_EQ(ReadSearchSites(WOptions(file)), std::vector<WSearchSite>{sites[1]});
    // Broken lines are skipped.
    options.WriteDirect("InternetSites", "Count", "4");
    options.WriteDirect("InternetSites", "Site2", "no bar here");
    options.WriteDirect("InternetSites", "Site3", "Bad|javascript:alert(1)");
    options.WriteDirect("InternetSites", "Site4", "|https://x.example/");
    EXPECT_EQ(ReadSearchSites(WOptions(file)), std::vector<WSearchSite>{sites[1]});
    std::filesystem::remove(file);
}

TEST(SearchLinks, YearRangesAndGivenNames) {
    EXPECT_EQ(YearRangeOfIndex(0), 0);
    EXPECT_EQ(YearRangeOfIndex(4), 10);
    EXPECT_EQ(YearRangeOfIndex(6), 40);
    EXPECT_EQ(YearRangeOfIndex(7), 0);
    EXPECT_EQ(YearRangeOfIndex(-1), 0);
    EXPECT_EQ(SplitGivenNames("  Anna\tMarie \n Jo "),
              (std::vector<std::string>{"Anna", "Marie", "Jo"}));
    EXPECT_TRUE(SplitGivenNames("").empty());
}

}  // namespace
}  // namespace kindrel
