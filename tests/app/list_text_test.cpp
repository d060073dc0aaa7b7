// The list renderings without Qt: fixed fields at their pixel widths, CSV quoting, the list
// over a column set, the islands table in both forms, the Sources cells and details, and the
// page labels; over the lists fixture.
#include "app/list_text.h"

#include "analysis/collection_iterator.h"
#include "analysis/islands.h"
#include "analysis/list_columns.h"
#include "gedcom/ged_collection.h"
#include "model/display_options.h"
#include "tests/gedcom/ged_test_util.h"

#include <gtest/gtest.h>

#include <memory>

namespace kindrel {
namespace {

// The fixture under the default name forms (other tests in this program change them).
std::unique_ptr<WGEDCollection> OpenFixture() {
    Display() = DisplayOptions{};
    return test::OpenLoadedCollection(std::string(KINDREL_TEST_DATA_DIR) + "/lists/lists.ged");
}

TEST(ListTextTest, FixedFieldsFollowThePixelWidth) {
    struct Case {
        int width;
        const char* text;
        const char* field;
    } cases[] = {
        {9, "Smith", ""},           // W / 5 = 1: no field at all
        {10, "Smith", " "},         // cut to 0, padded to 1
        {15, "Smith", "S "},        // cut to 1, padded to 2
        {40, "Smith", "Smith  "},   // cut to 6, padded to 7
        {40, "Šťastný", "Šťastn "},  // characters, not bytes
        {0, "x", ""},
        {-20, "x", ""},
    };
    for (const Case& c : cases) {
        const FixedField field = FixedFieldOfWidth(c.width);
        std::string out;
        if (field.pad > 0) AppendFixedField(out, c.text, field.cut, field.pad);
        EXPECT_EQ(out, c.field) << c.width << " " << c.text;
    }
    std::string csv;
    AppendCsvField(csv, "say \"hi\", then");
    EXPECT_EQ(csv, "\"say \"\"hi\"\", then\"");
    EXPECT_EQ(CellForCopy("a\tb\tc"), "abc");
    EXPECT_EQ(CharacterCount("Zoë"), 3u);
}

TEST(ListTextTest, LineWriterPadsOrLeavesTheLastField) {
    const std::vector<FixedField> fields = {FixedFieldOfWidth(30), FixedFieldOfWidth(9),
                                            FixedFieldOfWidth(30)};
    std::string out;
    WListLineWriter(false, fields, "\r\n").AppendLine(out, {"abcdefgh", "gone", "xy"});
    EXPECT_EQ(out, "abcd xy   \r\n");
    out.clear();
    WListLineWriter(false, fields, "\n", false).AppendLine(out, {"abcdefgh", "gone", "xy"});
    EXPECT_EQ(out, "abcd xy\n");
    out.clear();
    WListLineWriter(true, {}, "\r\n").AppendLine(out, {"a,b", "", "\"q\""});
    EXPECT_EQ(out, "\"a,b\",\"\",\"\"\"q\"\"\"\r\n");
}

TEST(ListTextTest, ListOverAColumnSetAndItsEmptyForm) {
    const auto collection = OpenFixture();
    ASSERT_TRUE(collection);
    WListColumns columns(collection.get(), "List");
    columns.SetColumns("1,7,65");
    WColSortIterator iterator("", collection.get(), collection->ViewCount());
    columns.AttachIterator(&iterator);
    columns.SortByColumn(3);  // birth dates: Zed, John, Mary, Alice
    std::string csv;
    ASSERT_TRUE(RenderListText(columns, iterator, true, csv));
    EXPECT_EQ(csv,
              "\"Index\",\"Surname, Given\",\"Birth/[C] Date\"\r\n"
              "\"4\",\"Loner, Zed\",\"1850\"\r\n"
              "\"1\",\"Smith, Jr, John \"\"Jack\"\"\",\"1900\"\r\n"
              "\"2\",\"<b>Jones<, Mary\",\"1905\"\r\n"
              "\"3\",\"Smith, Alice\",\"1930\"\r\n");
    // A stop from the progress callback leaves the text incomplete and says so.
    std::string stopped;
    int calls = 0;
    EXPECT_TRUE(RenderListText(columns, iterator, false, stopped, [&](int, int) {
        ++calls;
        return false;
    }));  // four rows: the callback (every 25 rows) is never reached
    EXPECT_EQ(calls, 0);
    // An empty list renders only the header line.
    WColSortIterator empty("", nullptr);
    columns.AttachIterator(&empty);
    std::string header;
    ASSERT_TRUE(RenderListText(columns, empty, true, header));
    EXPECT_EQ(header, "\"Index\",\"Surname, Given\",\"Birth/[C] Date\"\r\n");
    columns.AttachIterator(nullptr);
}

TEST(ListTextTest, IslandsTableInBothForms) {
    const std::vector<IslandRow> rows = {{1, 1234, 56, 7, 8, "Ann \"Nan\" /Lee/"},
                                         {2, 1, 0, 0, 0, "Bo /Ek/"}};
    EXPECT_EQ(RenderIslandsText(rows, false),
              "ISLANDS\r\n\r\n"
              "    #      Ind      Mar     Note   Source 1st Individual\r\n"
              "    1    1,234       56        7        8 Ann \"\"Nan\"\" /Lee/\r\n"
              "    2        1        0        0        0 Bo /Ek/\r\n");
    EXPECT_EQ(RenderIslandsText(rows, true),
              "\"#\",\"Ind\",\"Mar\",\"Note\",\"Source\",\"1st Individual\"\r\n"
              "\"1\",\"1,234\",\"56\",\"7\",\"8\",\"Ann \"\"Nan\"\" /Lee/\"\r\n"
              "\"2\",\"1\",\"0\",\"0\",\"0\",\"Bo /Ek/\"\r\n");
    EXPECT_EQ(RenderIslandsText({}, true),
              "\"#\",\"Ind\",\"Mar\",\"Note\",\"Source\",\"1st Individual\"\r\n");

    // The fixture: the family (one note, one source among them) and the loner.
    const auto collection = OpenFixture();
    ASSERT_TRUE(collection);
    WIslands& islands = WIslands::Of(*collection);
    islands.CalculateIslands();
    const std::vector<IslandRow> built = BuildIslandRows(*collection, islands);
    ASSERT_EQ(built.size(), 2u);
    EXPECT_EQ(built[0].individuals, 3);
    EXPECT_EQ(built[0].families, 1);
    EXPECT_EQ(built[0].notes, 1);
    EXPECT_EQ(built[0].sources, 1);
    EXPECT_EQ(built[0].firstName, "John \"Jack\" /Smith, Jr/ [1]");
    EXPECT_EQ(built[1].individuals, 1);
    EXPECT_EQ(built[1].families, 0);
    EXPECT_EQ(built[1].notes, 1);
    EXPECT_EQ(built[1].sources, 1);
}

TEST(ListTextTest, SourceCellsAndDetails) {
    const auto collection = OpenFixture();
    ASSERT_TRUE(collection);
    EXPECT_EQ(SourceRowCells(*collection, 1),
              (std::vector<std::string>{"1", "Y", "Y", "Y", "Parish book second line", "PB",
                                        "Zeta Author", "", "CN-1"}));
    EXPECT_EQ(SourceRowCells(*collection, 3),
              (std::vector<std::string>{"3", "", "", "", "Census", "", "Mid Author",
                                        "1901 \"official\", printed", ""}));
    EXPECT_EQ(SourceRowCells(*collection, 9), std::vector<std::string>(9));
    const SourceDetails one = BuildSourceDetails(*collection, 1);
    EXPECT_EQ(one.title, "Parish book second line");
    EXPECT_EQ(one.text, "Some text\r\nmore text");
    EXPECT_EQ(one.note, "A note on the book");
    EXPECT_EQ(one.repository, "County Office\r\nHigh Street, Millbrook, England");
    EXPECT_EQ(one.raw.rfind("0 @S1@ SOUR", 0), 0u);
    EXPECT_EQ(BuildSourceDetails(*collection, 2).repository, "Plain Repo");
    EXPECT_EQ(SourceDetailsText(BuildSourceDetails(*collection, 3), false),
              "Title:        Census\r\nAuthor:       Mid Author\r\nAbbreviation: \r\n"
              "Publication:  1901 \"official\", printed\r\nCall Number:  \r\n");
    EXPECT_EQ(SourceDetailsText(one, true), one.raw);
    EXPECT_EQ(SourceNoteCaption(5), "Construction Sentence");
    EXPECT_EQ(SourceNoteCaption(1), "Note");
}

TEST(ListTextTest, LabelsAndOneLineTexts) {
    EXPECT_EQ(IndividualsLabel(1234567), "1,234,567 Individuals");
    EXPECT_EQ(IndividualsLabel(0), "0 Individuals");
    EXPECT_EQ(IslandsLabel(12000), "12,000 islands");
    EXPECT_EQ(SourcesLabel(4), "4 Sources");
    EXPECT_EQ(UseIslandText(0), "Use Islands");
    EXPECT_EQ(UseIslandText(3), "Use Island (3)");
    EXPECT_EQ(OneLine("a\r\nb\rc\nd"), "a b c d");
    EXPECT_EQ(SourcesHintText().substr(0, 25), "Column 1: Source number\r\n");
}

}  // namespace
}  // namespace kindrel
