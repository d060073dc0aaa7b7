// The General page's rows and the scroll bar's texts, built from the sample family.
#include "app/general_rows.h"
#include "app/ind_scroll_texts.h"
#include "gedcom/ged_collection.h"
#include "model/display_options.h"

#include <gtest/gtest.h>

#include <memory>

namespace kindrel {
namespace {

class SampleRows : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Display() = DisplayOptions{};
        std::string error;
        s_collection =
            OpenGedcomCollection(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged", error);
        ASSERT_TRUE(s_collection) << error;
        ASSERT_TRUE(s_collection->LoadFile());
        s_collection->AfterLoad();
    }
    static void TearDownTestSuite() { s_collection.reset(); }
    static std::unique_ptr<WGEDCollection> s_collection;
};

std::unique_ptr<WGEDCollection> SampleRows::s_collection;

std::string ValueOf(const std::vector<InfoRow>& rows, const std::string& label) {
    for (const InfoRow& row : rows)
        if (row.label == label) return row.value;
    return "<missing>";
}

TEST(GeneralRows, StatisticsWithoutFileAreLabelsOnly) {
    const std::vector<InfoRow> rows = StatisticsRows(nullptr);
    const std::vector<std::string> labels = {"Name",  "Size",  "Date",    "Importing",
                                             "# Ind", "# Fam", "# Notes", "# Srcs"};
    ASSERT_EQ(rows.size(), labels.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].label, labels[i]);
        EXPECT_EQ(rows[i].value, "");
    }
}

TEST(GeneralRows, StatisticsCountsAndNotesOfKindThree) {
    FileStatistics s;
    s.name = "f.ged";
    s.importing = "0.125 seconds";
    s.individuals = 200000;
    s.families = 79292;
    s.notes = 1333;
    s.sources = 4;
    s.kind = 1;
    std::vector<InfoRow> rows = StatisticsRows(&s);
    EXPECT_EQ(ValueOf(rows, "Name"), "f.ged");
    EXPECT_EQ(ValueOf(rows, "Importing"), "0.125 seconds");
    EXPECT_EQ(ValueOf(rows, "# Ind"), "200,000");
    EXPECT_EQ(ValueOf(rows, "# Fam"), "79,292");
    EXPECT_EQ(ValueOf(rows, "# Notes"), "1,333");
    EXPECT_EQ(ValueOf(rows, "# Srcs"), "4");
    s.kind = 3;
    rows = StatisticsRows(&s);
    EXPECT_EQ(ValueOf(rows, "# Notes"), "N/A");
}

TEST(GeneralRows, TabOffsetsAndParts) {
    EXPECT_EQ(ParseTabOffsets("120,200, 310"), (std::vector<int>{120, 200, 310}));
    EXPECT_EQ(ParseTabOffsets("x,40,-5,"), (std::vector<int>{40}));
    EXPECT_TRUE(ParseTabOffsets("").empty());
    EXPECT_EQ(SplitAtTabs("a\tb\t\tc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(SplitAtTabs(""), (std::vector<std::string>{""}));
    EXPECT_EQ(UnixLineBreaks("a\r\nb\rc\nd"), "a\nb\nc\nd");
}

TEST_F(SampleRows, StatisticsOfTheSample) {
    const FileStatistics s = CollectStatistics(*s_collection, "sample_family.ged");
    EXPECT_EQ(s.individuals, 59);
    EXPECT_EQ(s.families, 18);
    EXPECT_EQ(s.notes, 3);
    EXPECT_EQ(s.sources, 4);
    EXPECT_EQ(s.kind, 1);
    EXPECT_FALSE(s.size.empty());
    EXPECT_FALSE(s.date.empty());
}

TEST_F(SampleRows, HeaderRowsOfTheSample) {
    const std::vector<InfoRow> rows = HeaderRows(*s_collection);
    EXPECT_EQ(ValueOf(rows, "Source"), "KINDREL");
    EXPECT_EQ(ValueOf(rows, "Source Name"), "Kindrel Self-Viewing GEDCOM");
    EXPECT_EQ(ValueOf(rows, "Date"), "14 MAR 2024 10:42:17");
    EXPECT_EQ(ValueOf(rows, "GEDC Version"), "5.5.1");
    EXPECT_EQ(ValueOf(rows, "Char Set"), "UTF-8");
    for (const InfoRow& row : rows) EXPECT_TRUE(row.tabOffsets.empty());
}

TEST_F(SampleRows, SubmitterRowsOfTheSample) {
    const std::vector<InfoRow> rows = SubmitterRows(*s_collection);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].label, "Name");
    EXPECT_EQ(rows[0].value, "Eva Dvo\xC5\x99\xC3\xA1k");
    EXPECT_EQ(rows[1].value, "27 Lantern Row");
    EXPECT_EQ(rows[2].value, "Ashcombe Mill");
    EXPECT_EQ(rows[3].value, "Wendle WE7 3LR");
    EXPECT_EQ(rows[4].label, "Country");
    EXPECT_EQ(rows[4].value, "England");
    EXPECT_EQ(rows[5].value, "+44 1632 960482");
    EXPECT_EQ(rows[6].label, "Email");
    EXPECT_EQ(rows[6].value, "eva.dvorak@example.org");
}

TEST_F(SampleRows, RawTextsAreTheRecords) {
    const std::string header = HeaderRawText(*s_collection);
    EXPECT_EQ(header.rfind("0 HEAD\n", 0), 0u);
    EXPECT_EQ(header.find('\r'), std::string::npos);
    const std::string submitter = SubmitterRawText(*s_collection);
    EXPECT_EQ(submitter.rfind("0 @U1@ SUBM\n", 0), 0u);
    EXPECT_NE(submitter.find("1 _EMAIL eva.dvorak@example.org"), std::string::npos);
}

TEST_F(SampleRows, ScrollLabelNamesNumberNameAndBirth) {
    EXPECT_EQ(ScrollLabelText(*s_collection, 1),
              " 1 - Ambrose /Harrowgate/ [1], 1791, Ashcombe, Wendle, England");
    EXPECT_EQ(ScrollLabelText(*s_collection, 0), "");
    EXPECT_EQ(ScrollLabelText(*s_collection, 60), "");
}

TEST_F(SampleRows, SpouseListOfAManMarriedThreeTimes) {
    // I4 William: families in marriage order F3, F5, F4.
    const SelectionList list = SpouseChildrenList(*s_collection, 4);
    ASSERT_FALSE(list.items.empty());
    ASSERT_EQ(list.items.size(), list.numbers.size());
    int spouses = 0;
    for (size_t k = 0; k < list.items.size(); ++k) {
        const std::string& item = list.items[k];
        if (item.rfind("Spouse: ", 0) == 0) {
            ++spouses;
        } else {
            EXPECT_EQ(item.rfind("   ", 0), 0u) << item;
            EXPECT_GT(list.numbers[k], 0);
        }
    }
    EXPECT_EQ(spouses, 3);
    EXPECT_EQ(list.Joined().back(), ' ');
    EXPECT_TRUE(HasSpouseOrChildren(*s_collection, 4));
    EXPECT_FALSE(HasSpouseOrChildren(*s_collection, 59));
    EXPECT_TRUE(SpouseChildrenList(*s_collection, 59).items.empty());
}

TEST(ScrollTexts, ChildLinesMarkChildrenAndPadMissingYears) {
    SelectionList list;
    list.items = {"Spouse: A", "   <    1900 B"};
    EXPECT_EQ(list.Joined(), "Spouse: A;   <    1900 B ");
    EXPECT_EQ(SelectionList{}.Joined(), "");
}

}  // namespace
}  // namespace kindrel
