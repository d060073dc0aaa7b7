// The viewer's fixed texts and small text builders.
#include "app/app_texts.h"

#include <gtest/gtest.h>

#include <climits>

namespace kindrel {
namespace {

TEST(AppTexts, CountsGetThousandsSeparatorsAndNoDecimals) {
    EXPECT_EQ(FormatCount(0), "0");
    EXPECT_EQ(FormatCount(999), "999");
    EXPECT_EQ(FormatCount(1000), "1,000");
    EXPECT_EQ(FormatCount(200000), "200,000");
    EXPECT_EQ(FormatCount(1234567), "1,234,567");
    EXPECT_EQ(FormatCount(-1234567), "-1,234,567");
    EXPECT_EQ(FormatCount(LLONG_MIN), "-9,223,372,036,854,775,808");
}

TEST(AppTexts, StatusPanelsPrefixTheirCounts) {
    EXPECT_EQ(StatusIndividualsText(59), "I: 59");
    EXPECT_EQ(StatusFamiliesText(1018), "F: 1,018");
    EXPECT_EQ(StatusNotesText(3), "N: 3");
    EXPECT_EQ(StatusNotesText(3, true), "N: N/A");
    EXPECT_EQ(StatusSourcesText(1000000), "S: 1,000,000");
}

TEST(AppTexts, ImportingTimeHasThreeDecimals) {
    EXPECT_EQ(ImportingText(0.0074), "0.007 seconds");
    EXPECT_EQ(ImportingText(12.5), "12.500 seconds");
}

TEST(AppTexts, CaptionsAndVersion) {
    EXPECT_STREQ(kMainCaption, "Kindrel Self-Viewing GEDCOM 1.07");
    EXPECT_EQ(CaptionWithTitle("The Sample Family"),
              "Kindrel Self-Viewing GEDCOM 1.07 - The Sample Family");
    EXPECT_EQ(SplashTitle(), "Kindrel Self-Viewing GEDCOM V1.07");
    EXPECT_EQ(AboutVersionText(), "Version: 1.07.1491");
}

TEST(AppTexts, MissingFileTextIsExact) {
    EXPECT_EQ(MissingFileText("/tmp/x.ged"),
              "The file: /tmp/x.ged\rdoes not exist.  Please select another file.");
}

TEST(AppTexts, NoGedcomMessageIsExact) {
    EXPECT_STREQ(kNoGedcomMessage,
                 "Error: This Self-Viewing file does not contain a GEDCOM.\n\rPlease contact the "
                 "person that created this file");
}

TEST(AppTexts, WelcomeMemoLinesInOrder) {
    const std::vector<std::string> lines = WelcomeMemoLines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Welcome\r\n");
    EXPECT_EQ(lines[3], "Quick Help\r\n");
    EXPECT_EQ(lines[4],
              "- The scrollbar at the top of the screen allows you to select all individuals in "
              "this GEDCOM file.\r\n");
    EXPECT_EQ(lines[6],
              "- Double clicking on an individual's name in any of the tabs moves to that person "
              "in the scrollbar.\r\n");
    EXPECT_NE(lines[7].find(kMakerWebSite), std::string::npos);
    for (const std::string& line : lines) EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
}

TEST(AppTexts, TabSetIsTheTenPagesInOrderThenInternet) {
    EXPECT_EQ(PageNames().size(), 14u);
    const std::vector<std::string> expected = {
        "Sender", "General",     "Individual", "Family",  "Pedigree", "Descendants",
        "List",   "Highlighted", "Islands",    "Sources", "Internet"};
    EXPECT_EQ(TabTexts(), expected);
    EXPECT_EQ(PageNames()[kHighlightedPageName], "Highlighted");
    EXPECT_EQ(static_cast<int>(TabTexts().size()), kTabCount);
}

TEST(AppTexts, SupportMailCarriesTheVersionBody) {
    const std::string url = SupportMailUrl();
    EXPECT_EQ(url.rfind(std::string("mailto:") + kSupportEmail, 0), 0u);
    EXPECT_NE(url.find("body=Kindrel%20SE%20Version%20%3D%201.07"), std::string::npos);
}

}  // namespace
}  // namespace kindrel
