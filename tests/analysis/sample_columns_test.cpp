// The list columns over samples/sample_family.ged, each value checked against what the file
// says (see samples/README.md), and sorts and finds over the loaded collection.
#include "analysis/attrib.h"
#include "analysis/collection_iterator.h"
#include "analysis/list_columns.h"
#include "analysis/sort_keys.h"
#include "gedcom/ged_collection.h"
#include "model/date.h"
#include "model/display_options.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kindrel {
namespace {

WCalendarDay FixedToday() {
    return WCalendarDay{8, 12, 2026};
}

class SampleColumnsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        s_collection =
            OpenGedcomCollection(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged", error)
                .release();
        ASSERT_NE(s_collection, nullptr) << error;
        ASSERT_TRUE(s_collection->LoadFile());
        s_collection->AfterLoad();
    }
    static void TearDownTestSuite() {
        delete s_collection;
        s_collection = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_collection, nullptr);
        Display() = DisplayOptions{};
        WDate::SetTodayProvider(&FixedToday);
    }
    void TearDown() override {
        Display() = DisplayOptions{};
        WDate::SetTodayProvider(nullptr);
    }

    // The value of a column for the individual with identifier @I<id>@.
    static std::string Value(int code, int id, int32_t reference = 0) {
        const std::unique_ptr<WAttrib> attribute = CreateAttrib(code, s_collection);
        attribute->SetReference(reference);
        return attribute->ValueText(Number(id), 1);
    }
    static int32_t Number(int id) {
        const int32_t n = s_collection->FindIndividual("I" + std::to_string(id));
        EXPECT_GT(n, 0) << id;
        return n;
    }

    static WGEDCollection* s_collection;
};

WGEDCollection* SampleColumnsTest::s_collection = nullptr;

TEST_F(SampleColumnsTest, AmbroseTheFounder) {
    const std::map<int, std::string> expected = {
        {1, "1"},
        {2, "1"},
        {3, "1J7Q-KX3"},
        {4, "Harrowgate"},
        {5, "Ambrose"},
        {6, "Ambrose /Harrowgate/"},
        {7, "Harrowgate, Ambrose"},
        {8,
         "Ambrose kept the wheelwright's shop at the foot of Church Lane for more than "
         "forty years."},
        {9, "M"},
        {10, "1791"},
        {11, "Ashcombe, Wendle, England"},
        {12, "2 OCT 1791"},
        {13, "St Aldhelm, Ashcombe, Wendle, England"},
        {14, "17 FEB 1860"},
        {15, "Ashcombe, Wendle, England"},
        {16, "AFT 17 FEB 1860"},
        {17, "St Aldhelm churchyard, Ashcombe, Wendle, England"},
        {18, "(S)-Mercy /Quill/"},
        {19, "~68"},
        {21, "Yes"},
        {22, "Yes"},
        {23, "Yes"},
        {24, "1"},
        {25, "0"},
        {26, "5"},
        {27, "0"},
        {29, "-\t-\t-\t-"},
        {30, ""},
        {40, "No"},
        {41, "St Aldhelm, Ashcombe, Wendle, England"},
        {42, "14 MAY 1814"},
        {43, ""},
        {44, ""},
        {45, "Mercy /Quill/"},
        {46, "H623"},
        {47, "A516"},
        {48, "H-001"},
        {49, ""},
        {51, "Quill, Mercy"},
        {53, "(S)-Quill, Mercy"},
        {54, ""},
        {55, "14 JAN 2019"},
        {56, "Mercy /Quill/"},
        {57, "Quill, Mercy"},
        {58, "1"},
        {59, ""},
        {61, "0"},
        {63, "0.00"},
        {65, "1791"},
        {66, "Ashcombe, Wendle, England"},
        {67, "17 FEB 1860"},
        {68, "Ashcombe, Wendle, England"},
    };
    for (const auto& [code, value] : expected) EXPECT_EQ(Value(code, 1), value) << code;
}

TEST_F(SampleColumnsTest, StandInsAndMissingDates) {
    // Mercy: death BEF 1855, no birth; Hannah: death CAL 1826, no birth.
    EXPECT_EQ(Value(10, 2), "");
    EXPECT_EQ(Value(65, 2), "");
    EXPECT_EQ(Value(67, 2), "BEF 1855");
    EXPECT_EQ(Value(19, 2), "");
    EXPECT_EQ(Value(20, 2), "");
    EXPECT_EQ(Value(67, 5), "CAL 1826");
    // Frederick: the death date is a phrase, kept as text (upper-cased as dates are).
    EXPECT_EQ(Value(14, 17), "DURING THE GREAT FROST");
    EXPECT_EQ(Value(19, 17), "");
    // Bjørn: INT with a phrase, no death place.
    EXPECT_EQ(Value(14, 20), "INT 1866 (LOST AT SEA WITH THE BRIG HALCYON)");
    EXPECT_EQ(Value(15, 20), "");
    // Calendars and dual years stay as written.
    EXPECT_EQ(Value(10, 43), "@#DHEBREW@ 14 NSN 5683");
    EXPECT_EQ(Value(10, 59), "10 FEB 1750/51");
    EXPECT_EQ(Value(12, 59), "@#DJULIAN@ 17 FEB 1751");
    EXPECT_EQ(Value(19, 59), "~61");
    EXPECT_EQ(Value(3, 2), "");
    EXPECT_EQ(Value(48, 2), "");
}

TEST_F(SampleColumnsTest, WilliamMarriedThreeTimes) {
    // Spouse families ordered by marriage date: F3 (3 APR 1843) first.
    EXPECT_EQ(Value(24, 4), "3");
    EXPECT_EQ(Value(42, 4), "3 APR 1843");
    EXPECT_EQ(Value(41, 4), "Millbrook, Wendle, England");
    EXPECT_EQ(Value(45, 4), "Anna /Lindqvist/");
    EXPECT_EQ(Value(56, 4), "Anna /Lindqvist/");
    EXPECT_EQ(Value(18, 4), "Ambrose /Harrowgate/");
    EXPECT_EQ(Value(43, 4), "Ambrose /Harrowgate/");
    EXPECT_EQ(Value(44, 4), "Mercy /Quill/");
    EXPECT_EQ(Value(50, 4), "Quill, Mercy");
    EXPECT_EQ(Value(8, 4),
              "William was married three times. His first wife Anna died in 1849, his second "
              "wife Margarethe in 1855.");
    EXPECT_EQ(Value(19, 4), "78");
    EXPECT_EQ(Value(20, 4), "21");  // 12 JUN 1821 to 3 APR 1843
    EXPECT_EQ(Value(26, 4), "6");
    EXPECT_EQ(Value(25, 4), "2");
    EXPECT_EQ(Value(27, 4), "2");
    EXPECT_EQ(Value(61, 4), "1");
    EXPECT_EQ(Value(55, 4), "3 FEB 2023");
    EXPECT_EQ(Value(48, 4), "H-004");
}

TEST_F(SampleColumnsTest, ClaraAndHerParents) {
    EXPECT_EQ(Value(2, 12), "12");
    EXPECT_EQ(Value(59, 12), "23");  // William born 12 JUN 1821, Clara 5 AUG 1844
    EXPECT_EQ(Value(60, 12), "22");  // Anna born 2 MAR 1822
    EXPECT_EQ(Value(20, 12), "18");  // married 4 JUL 1863 (F6, the earlier family)
    EXPECT_EQ(Value(42, 12), "4 JUL 1863");
    EXPECT_EQ(Value(45, 12), "Bjørn /Halvorsen/");
    EXPECT_EQ(Value(22, 12), "Yes");  // level-1 citation
    EXPECT_EQ(Value(63, 12), "1.50");
    EXPECT_EQ(Value(27, 12), "4");
    EXPECT_EQ(Value(19, 12), "~76");
}

TEST_F(SampleColumnsTest, SigridWithTwoParentFamilies) {
    EXPECT_EQ(Value(25, 24), "4");
    EXPECT_EQ(Value(43, 24), "Bjørn /Halvorsen/");  // the first parent family, F6
    EXPECT_EQ(Value(44, 24), "Clara /Harrowgate/");
    EXPECT_EQ(Value(18, 24), "Bjørn /Halvorsen/");
    EXPECT_EQ(Value(57, 24), "(F)-Halvorsen, Bjørn");
}

TEST_F(SampleColumnsTest, LdsOrdinances) {
    EXPECT_EQ(Value(29, 25), "B\tE\tP\tS");
    EXPECT_EQ(Value(30, 25), "14 JUN 1884");
    EXPECT_EQ(Value(31, 25), "Salt Lake City, Salt Lake, Utah, USA");
    EXPECT_EQ(Value(32, 25), "1886");
    EXPECT_EQ(Value(33, 25), "LOGAN");
    EXPECT_EQ(Value(34, 25), "1950");
    EXPECT_EQ(Value(35, 25), "SLAKE");
    EXPECT_EQ(Value(36, 25), "12 OCT 1888");
    EXPECT_EQ(Value(37, 25), "LOGAN");
    EXPECT_EQ(Value(37, 31), "LOGAN");  // Karen, the wife in the sealed family
    // Johanna: SLGC with a temple and STAT BIC, no date: the status stands in for the date.
    EXPECT_EQ(Value(29, 35), "B\tE\tP\t-");
    EXPECT_EQ(Value(34, 35), "BIC");
    EXPECT_EQ(Value(35, 35), "LOGAN");
}

TEST_F(SampleColumnsTest, NamesWithPrefixesAndOtherScripts) {
    EXPECT_EQ(Value(6, 27), "Dr. Stanisław /Harrowgate/");
    Display().preSuf = false;
    EXPECT_EQ(Value(6, 27), "Stanisław /Harrowgate/");
    Display().preSuf = true;
    // Łucja has two NAME lines: the first counts.
    EXPECT_EQ(Value(4, 22), "Kowalczyk");
    EXPECT_EQ(Value(5, 22), "Łucja");
    EXPECT_EQ(Value(47, 22), "Ł200");
    EXPECT_EQ(Value(7, 23), "Ñúñez, Inés");
    EXPECT_EQ(Value(7, 55), "Yıldız, Şükrü");
    Display().nameUpper = true;
    EXPECT_EQ(Value(4, 55), "YILDIZ");
}

TEST_F(SampleColumnsTest, RelationshipsToClara) {
    const int32_t clara = Number(12);
    EXPECT_EQ(Value(38, 1, clara), "Grand Father");
    EXPECT_EQ(Value(38, 2, clara), "Grand Mother");
    EXPECT_EQ(Value(38, 4, clara), "Father");
    EXPECT_EQ(Value(38, 5, clara), "Aunt");
    EXPECT_EQ(Value(38, 17, clara), "Brother");  // half-brother
    EXPECT_EQ(Value(38, 24, clara), "Daughter");
    EXPECT_EQ(Value(38, 35, clara), "Grand Daughter");
    EXPECT_EQ(Value(38, 12, clara), "* Selected Person *");
    EXPECT_EQ(Value(38, 20, clara), "");  // her husband
    EXPECT_EQ(Value(38, 59, clara), "");
    EXPECT_EQ(Value(39, 5, clara), "Ambrose /Harrowgate/ [1]");
    EXPECT_EQ(Value(39, 4, clara), "");  // a direct line
    EXPECT_NE(Value(52, 5, clara).find("Ambrose"), std::string::npos);
}

TEST_F(SampleColumnsTest, IslandColumn) {
    EXPECT_EQ(Value(58, 1), "1");
    EXPECT_EQ(Value(58, 54), "1");
    EXPECT_EQ(Value(58, 55), "2");
    EXPECT_EQ(Value(58, 58), "2");
    EXPECT_EQ(Value(58, 59), "3");
}

TEST_F(SampleColumnsTest, LivingPeople) {
    EXPECT_EQ(Value(40, 57), "Yes");  // Deniz, born 12 MAY 2001
    EXPECT_EQ(Value(19, 57), "25?");
    EXPECT_EQ(Value(19, 58), "~20?");  // Emre, born 2005: by years only
    EXPECT_EQ(Value(40, 4), "No");
}

TEST_F(SampleColumnsTest, HeadersOfAGedcomCollection) {
    WListColumns columns(s_collection, "List");
    columns.SetColumns("1,2,7,65,67,19,18");
    int state = 0;
    EXPECT_EQ(columns.HeaderText(2, false, state), "REF");
    EXPECT_EQ(columns.HeaderText(4, true, state), "Birth/[Christening] Date");
    EXPECT_EQ(columns.CellText(2, Number(12)), "12");
}

TEST_F(SampleColumnsTest, SortByNameAndFind) {
    WColSortIterator iterator("", s_collection);
    iterator.SortDefault(7);
    ASSERT_EQ(iterator.Count(), 59);
    std::vector<std::string> names;
    const std::unique_ptr<WAttrib> name = CreateAttrib(7, s_collection);
    for (int i = 1; i <= iterator.Count(); ++i) {
        names.push_back(name->ValueText(iterator.NumberAt(i), 1));
    }
    EXPECT_EQ(names.front(), "Ashdown, Zoë");
    EXPECT_EQ(names.back(), "Yıldız, Şükrü");
    // Accented surnames sort with their base letters: Ñúñez among the N names.
    const int nunez = iterator.FindByName("Nu", "");
    ASSERT_GT(nunez, 0);
    EXPECT_EQ(name->ValueText(iterator.NumberAt(nunez), 1), "Ñúñez, Inés");
    const int kowalczyk = iterator.FindByName("kow", "");
    EXPECT_EQ(name->ValueText(iterator.NumberAt(kowalczyk), 1), "Kowalczyk, Łucja");
    const int first = iterator.FindByName("Harrowgate", "");
    EXPECT_EQ(name->ValueText(iterator.NumberAt(first), 1), "Harrowgate, Agnes");
    EXPECT_NE(name->ValueText(iterator.NumberAt(first - 1), 1).substr(0, 10), "Harrowgate");
}

TEST_F(SampleColumnsTest, SortByBirthDate) {
    WColSortIterator iterator("", s_collection);
    const std::unique_ptr<WAttrib> birth = CreateAttrib(65, s_collection);
    iterator.SortBy(birth.get(), true);
    std::vector<std::string> dates;
    for (int i = 1; i <= iterator.Count(); ++i) {
        dates.push_back(birth->SortText(iterator.NumberAt(i)));
    }
    // Empty dates first, then the dates that are not clean (the Hebrew one), then by date.
    size_t i = 0;
    while (i < dates.size() && dates[i].empty()) ++i;
    EXPECT_EQ(i, 3u);  // Mercy, Hannah and Frederick have neither birth nor christening
    // The Hebrew date cut to 15 characters ('@#DHEBREW@ 14 N') is not clean: it sorts
    // before every clean date.
    EXPECT_EQ(dates[i], "@#DHEBREW@ 14 NSN 5683");
    EXPECT_EQ(dates[i + 1], "10 FEB 1750/51");
    EXPECT_EQ(dates.back(), "2005");
    for (size_t k = i + 1; k + 1 < dates.size(); ++k) {
        EXPECT_LE(CompareDateTexts(dates[k], dates[k + 1]), 0) << dates[k] << " / " << dates[k + 1];
    }
}

}  // namespace
}  // namespace kindrel
