// The event rows of an individual, built from the sample family, the views fixture, a
// generated person with more than a thousand rows and a collection in memory: golden texts of
// types, dates, information, ages and links, in list and chronological order.
#include "app/event_rows.h"
#include "gedcom/ged_collection.h"
#include "model/date.h"
#include "model/display_options.h"
#include "tests/gedcom/ged_test_util.h"
#include "tests/model/fake_collection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

namespace kindrel {
namespace {

// One line per row: type | date | information | age | link (0 = none).
std::string RowsText(const std::vector<WEventRow>& rows) {
    std::string text;
    for (const WEventRow& row : rows)
        text += row.type + " | " + row.date + " | " + row.information + " | " + row.age + " | " +
                std::to_string(row.link) + "\n";
    return text;
}

std::unique_ptr<WGEDCollection> Open(const std::string& path) {
    return test::OpenLoadedCollection(path);
}

constexpr WEventRowOptions kList{false, false};
constexpr WEventRowOptions kChrono{true, false};
constexpr WEventRowOptions kListLds{false, true};

class EventRows : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Display() = DisplayOptions{};
        s_sample = Open(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged");
        s_views = Open(std::string(KINDREL_TEST_DATA_DIR) + "/views/views.ged");
    }
    static void TearDownTestSuite() {
        s_sample.reset();
        s_views.reset();
    }
    static std::string Sample(int32_t n, const WEventRowOptions& options) {
        return RowsText(BuildEventRows(*s_sample, n, false, nullptr, options));
    }
    static std::string Views(int32_t n, const WEventRowOptions& options) {
        return RowsText(BuildEventRows(*s_views, n, false, nullptr, options));
    }
    static std::unique_ptr<WGEDCollection> s_sample;
    static std::unique_ptr<WGEDCollection> s_views;
};

std::unique_ptr<WGEDCollection> EventRows::s_sample;
std::unique_ptr<WGEDCollection> EventRows::s_views;

TEST_F(EventRows, GoldenRowsOfTheSample) {
    ASSERT_TRUE(s_sample && s_views);
    struct Case {
        int32_t n;
        WEventRowOptions options;
        const char* golden;
    };
    const Case cases[] = {
        {1, kList, R"(REF / AFN / Custom |  | 1 / 1J7Q-KX3 / H-001 |  | 0
Name |  | Ambrose /Harrowgate/ |  | 1
Birth | 1791 | Ashcombe, Wendle, England | ----- | 0
Christening | 2 OCT 1791 | St Aldhelm, Ashcombe, Wendle, England | ~0 | 0
Death | 17 FEB 1860 | Ashcombe, Wendle, England | ~68 | 0
Burial | AFT 17 FEB 1860 | St Aldhelm churchyard, Ashcombe, Wendle, England | ~68 | 0
Occupation |  | Ashcombe, Wendle, England |  | 0
Marriage 1 (5) | 14 MAY 1814 | Mercy /Quill/, m. 14 MAY 1814, St Aldhelm, Ashcombe, Wendle, England | ~22 | 2
     Daughter | MAR 1816 | Prudence /Harrowgate/ [3], (b. MAR 1816, Ashcombe, Wendle, England), (d. ABT 1890, Ashcombe, Wendle, England) | ~24 | 3
     Son | EST 1818 | Josiah /Harrowgate/ [6], (b. EST 1818, Ashcombe, Wendle, England), (d. , ) | ~26 | 6
     Son | 12 JUN 1821 | William /Harrowgate/ [4], (b. 12 JUN 1821, Ashcombe, Wendle, England), (d. 3 DEC 1899, Millbrook, Wendle, England) | ~29 | 4
     Daughter | ABT 1824 | Sophia /Harrowgate/ [7], (b. ABT 1824, Ashcombe, Wendle, England), (d. 1899, Millbrook, Wendle, England) | ~32 | 7
     Daughter |  | Hannah /Harrowgate/ [5], (b. , ), (d. CAL 1826, Ashcombe, Wendle, England) |  | 5
)"},
        {4, kList, R"(REF / AFN / Custom |  | 4 / 1J7Q-LM9 / H-004 |  | 0
Name |  | William /Harrowgate/ |  | 4
Birth | 12 JUN 1821 | Ashcombe, Wendle, England | ----- | 0
Christening | 1 JUL 1821 | St Aldhelm, Ashcombe, Wendle, England | 0 | 0
Death | 3 DEC 1899 | Millbrook, Wendle, England | 78 | 0
Burial | 8 DEC 1899 | Millbrook, Wendle, England | 78 | 0
Occupation | FROM 1845 TO 1886 | Millbrook, Wendle, England | ~24 | 0
Residence (Schoolhouse) | FROM 1851 TO 1886 | Millbrook, Wendle, England | ~29 | 0
Census | 1851 | Millbrook, Wendle, England | ~29 | 0
Census | 1881 | Millbrook, Wendle, England | ~60 | 0
Father | 1791 | Ambrose /Harrowgate/ [1], (b. 1791, Ashcombe, Wendle, England), (d. 17 FEB 1860, Ashcombe, Wendle, England) | -~29 | 1
Mother |  | Mercy /Quill/ [2], (b. , ), (d. BEF 1855, Ashcombe, Wendle, England) |  | 2
Marriage 1 (2) | 3 APR 1843 | Anna /Lindqvist/, m. 3 APR 1843, Millbrook, Wendle, England | 21 | 8
     Daughter | 5 AUG 1844 | Clara /Harrowgate/ [12], (b. 5 AUG 1844, Millbrook, Wendle, England), (d. 1921, Millbrook, Wendle, England) | 23 | 12
     Son | 1846 | Henry /Harrowgate/ [13], (b. 1846, Millbrook, Wendle, England), (d. 1910, Millbrook, Wendle, England) | ~24 | 13
Marriage 2 (3) | 9 SEP 1856 | Zoë /Ashdown/, m. 9 SEP 1856, Millbrook, Wendle, England | 35 | 10
     Daughter | 1858 | Beatrice /Harrowgate/ [16], (b. 1858, Millbrook, Wendle, England), (d. 1937, ) | ~36 | 16
     Son | 14 FEB 1862 | Arthur /Harrowgate/ [15], (b. 14 FEB 1862, Millbrook, Wendle, England), (d. 1941, Sevilla, Spain) | 40 | 15
     Son |  | Frederick /Harrowgate/ [17], (b. , ), (d. DURING THE GREAT FROST, Millbrook, Wendle, England) |  | 17
Marriage 3 (1) |  | Margarethe /Vennick/, m. , Bremen, Germany |  | 9
     Daughter | JUL 1852 | Lotte /Harrowgate/ [14], (b. JUL 1852, Millbrook, Wendle, England), (d. 1930, Millbrook, Wendle, England) | ~31 | 14
)"},
        {24, kList, R"(REF / AFN / Custom |  | 24 /  /  |  | 0
Name |  | Sigrid /Halvorsen/ |  | 24
Birth | 20 JAN 1864 | Millbrook, Wendle, England | ----- | 0
Christening |  |  |  | 0
Death | 1944 | Millbrook, Wendle, England | ~79 | 0
Burial |  |  |  | 0
Adoption | 1871 | Millbrook, Wendle, England | ~7 | 0
Father (P) | 1835 | Bjørn /Halvorsen/ [20], (b. 1835, Bergen, Hordaland, Norway), (d. INT 1866 (LOST AT SEA WITH THE BRIG HALCYON), ) | -~28 | 20
Mother (P) | 5 AUG 1844 | Clara /Harrowgate/ [12], (b. 5 AUG 1844, Millbrook, Wendle, England), (d. 1921, Millbrook, Wendle, England) | -19 | 12
Father | 1838 | Edmund /Fairweather/ [21], (b. 1838, Ashcombe, Wendle, England), (d. 1905, Millbrook, Wendle, England) | -~25 | 21
Mother | 5 AUG 1844 | Clara /Harrowgate/ [12], (b. 5 AUG 1844, Millbrook, Wendle, England), (d. 1921, Millbrook, Wendle, England) | -19 | 12
)"},
        {25, kListLds, R"(REF / AFN / Custom |  | 25 /  /  |  | 0
Name |  | Nils /Halvorsen/ |  | 25
Birth | SEP 1866 | Millbrook, Wendle, England | ----- | 0
Christening |  |  |  | 0
Death | 1938 | Logan, Cache, Utah, USA | ~71 | 0
Burial |  |  |  | 0
LDS Baptism | 14 JUN 1884 | Salt Lake City, Salt Lake, Utah, USA | ~17 | 0
LDS Endowment | 1886 | LOGAN | ~20 | 0
LDS Sealed To Parents | 1950 | SLAKE | ~83 | 0
Emigration | 1884 | Liverpool, Lancashire, England | ~17 | 0
Immigration | 1884 | Salt Lake City, Salt Lake, Utah, USA | ~17 | 0
Father | 1835 | Bjørn /Halvorsen/ [20], (b. 1835, Bergen, Hordaland, Norway), (d. INT 1866 (LOST AT SEA WITH THE BRIG HALCYON), ) | -~31 | 20
Mother | 5 AUG 1844 | Clara /Harrowgate/ [12], (b. 5 AUG 1844, Millbrook, Wendle, England), (d. 1921, Millbrook, Wendle, England) | -~22 | 12
Marriage 1 (2) | 12 OCT 1888 | Karen /Sørensen/, m. 12 OCT 1888, Logan, Cache, Utah, USA | ~22 | 31
     LDS Sealed to Spouse | 12 OCT 1888 | LOGAN | ~22 | 0
     Daughter | 1890 | Johanna /Halvorsen/ [35], (b. 1890, Logan, Cache, Utah, USA), (d. 1970, Logan, Cache, Utah, USA) | ~24 | 35
     Son | 1893 | Olaf /Halvorsen/ [36], (b. 1893, Logan, Cache, Utah, USA), (d. 1960, Ogden, Weber, Utah, USA) | ~27 | 36
)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("individual " + std::to_string(c.n));
        EXPECT_EQ(Sample(c.n, c.options), c.golden);
    }
}

TEST_F(EventRows, GoldenRowsOfTheViewsFixture) {
    ASSERT_TRUE(s_views);
    struct Case {
        int32_t n;
        WEventRowOptions options;
        const char* golden;
    };
    const Case cases[] = {
        // Christened, never born: ages count from the christening, in brackets.
        {1, kList, R"(REF / AFN / Custom |  | 1 /  /  |  | 0
Name |  | Clement /Font/ |  | 1
Birth |  |  |  | 0
Christening | 1 JAN 1900 | Holloway | ----- | 0
Death | 1950 |  | [~49] | 0
Burial |  |  |  | 0
Marriage 1 (0) | 1 JUN 1923 | Ada /Marsh/, m. 1 JUN 1923, Holloway | [23] | 2
)"},
        // A family without husband; undated children in family order.
        {3, kList, R"(REF / AFN / Custom |  | 3 /  /  |  | 0
Name |  | Orla /Lone/ |  | 3
Birth | 1870 |  | ----- | 0
Christening |  |  |  | 0
Death |  |  |  | 0
Burial |  |  |  | 0
Marriage 1 (3) | 1895 | m. 1895 | ~24 | 0
     Son |  | Son /A/ [4], (b. , ), (d. , ) |  | 4
     Son |  | Son /B/ [5], (b. , ), (d. , ) |  | 5
     Daughter |  | Daughter /C/ [6], (b. , ), (d. , ) |  | 6
)"},
        // Undated rows first, by type, equal ones in their order; then by date.
        {3, kChrono, R"(REF / AFN / Custom |  | 3 /  /  |  | 0
Name |  | Orla /Lone/ |  | 3
Daughter |  | Daughter /C/ [6], (b. , ), (d. , ) |  | 6
Son |  | Son /A/ [4], (b. , ), (d. , ) |  | 4
Son |  | Son /B/ [5], (b. , ), (d. , ) |  | 5
Birth | 1870 |  | ----- | 0
Marriage 1 (3) | 1895 | m. 1895 | ~24 | 0
)"},
        // One year's qualifiers in the comparison's order; markup and ";" kept as written.
        {7, kChrono, R"(REF / AFN / Custom |  | 7 /  /  |  | 0
Name |  | <img src=x> <b>Bold /Semi;Colon/ |  | 7
Event (Undated) |  |  |  | 0
Event (Words) | IN THE SPRING |  |  | 0
Birth | 1 APR 1850 |  | ----- | 0
Event (Before) | BEF 1860 |  | ~9 | 0
Event (Calculated) | CAL 1860 |  | ~9 | 0
Event (About) | ABT 1860 |  | ~9 | 0
Event (Circa) | CIR 1860 |  | ~9 | 0
Event (Estimated) | EST 1860 |  | ~9 | 0
Event (Plain) | 1860 |  | ~9 | 0
Event (After) | AFT 1860 |  | ~9 | 0
)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("individual " + std::to_string(c.n));
        EXPECT_EQ(Views(c.n, c.options), c.golden);
    }
}

TEST_F(EventRows, SexAndModifyRowsStayFirstInChronologicalOrder) {
    ASSERT_TRUE(s_sample);
    const std::vector<WEventRow> rows = BuildEventRows(*s_sample, 1, true, nullptr, kChrono);
    ASSERT_GE(rows.size(), 5u);
    EXPECT_EQ(RowsText({rows.begin(), rows.begin() + 5}),
              R"(REF / AFN / Custom |  | 1 / 1J7Q-KX3 / H-001 |  | 0
Name |  | Ambrose /Harrowgate/ |  | 1
Sex |  | Male |  | 0
Modify Date | 14 JAN 2019 |  |  | 0
Daughter |  | Hannah /Harrowgate/ [5], (b. , ), (d. CAL 1826, Ashcombe, Wendle, England) |  | 5
)");
    // Notes and sources travel with their rows.
    EXPECT_EQ(rows[0].notes.substr(0, 20), "Ambrose kept the whe");
    const auto christening = std::find_if(
        rows.begin(), rows.end(), [](const WEventRow& row) { return row.type == "Christening"; });
    ASSERT_NE(christening, rows.end());
    EXPECT_EQ(christening->sources.substr(0, 27), "1) Baptisms 1791, folio 7, ");
}

TEST_F(EventRows, EveryRowOfAPersonWithOverAThousandRowsIsKept) {
    std::ostringstream ged;
    ged << "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME Many /Rows/\r\n1 SEX F\r\n"
           "1 FAMS @F1@\r\n";
    for (int e = 0; e < 499; ++e)
        ged << "1 EVEN\r\n2 TYPE Entry " << e << "\r\n2 DATE " << 1900 + e % 50 << "\r\n";
    for (int c = 0; c < 1000; ++c)
        ged << "0 @I" << c + 2 << "@ INDI\r\n1 NAME Kid" << c << " /Rows/\r\n1 FAMC @F1@\r\n";
    ged << "0 @F1@ FAM\r\n1 WIFE @I1@\r\n";
    for (int c = 0; c < 1000; ++c) ged << "1 CHIL @I" << c + 2 << "@\r\n";
    ged << "0 TRLR\r\n";
    test::LoadedText file(ged.str());
    ASSERT_TRUE(file.loaded);
    for (const WEventRowOptions& options : {kList, kChrono}) {
        const std::vector<WEventRow> rows = BuildEventRows(*file, 1, false, nullptr, options);
        // Identifier, name, four vital rows (list order only), 499 events, one marriage and
        // 1,000 children.
        EXPECT_EQ(rows.size(), options.chronological ? 1502u : 1506u);
        // Undated children keep their order: first in chronological order, last in the list.
        if (options.chronological) {
            EXPECT_EQ(rows[2].link, 2);
            EXPECT_EQ(rows[1001].link, 1001);
        } else {
            EXPECT_EQ(rows.back().link, 1001);
        }
    }
}

TEST(EventRowsInMemory, RelationTextsOfLinkCodesAndSealings) {
    fake::FakeCollection tree;
    const int32_t dad = tree.AddPerson("Dad", "Step", 'M');
    const int32_t mum = tree.AddPerson("Mum", "Step", 'F');
    const int32_t kid = tree.AddPerson("Kid", "Step", 'F');
    const int32_t family = tree.AddFamily(dad, mum, {kid}, "1900", "Here");
    tree.Person(kid).parentLinkCodes = {{3, 8}};  // stepfather, adoptive mother
    fake::FakeEvent sealing;
    sealing.kind = kEventLdsSealingToSpouse;
    sealing.date = "1 MAY 1901";
    tree.Family(family).sealing = sealing;
    EXPECT_EQ(RowsText(BuildEventRows(tree, kid, false, nullptr, kChrono)),
              R"(REF / AFN / Custom |  | I3 /  /  |  | 0
Name |  | Kid /Step/ |  | 3
Father-Ste |  | Dad /Step/ [I1], (b. , ), (d. , ) |  | 1
Mother-Ado |  | Mum /Step/ [I2], (b. , ), (d. , ) |  | 2
)");
    EXPECT_EQ(RowsText(BuildEventRows(tree, dad, false, nullptr, kList)),
              R"(REF / AFN / Custom |  | I1 /  /  |  | 0
Name |  | Dad /Step/ |  | 1
Birth |  |  |  | 0
Christening |  |  |  | 0
Death |  |  |  | 0
Burial |  |  |  | 0
Marriage 1 (1) | 1900 | Mum /Step/, m. 1900, Here |  | 2
     Dau-Ste |  | Kid /Step/ [I3], (b. , ), (d. , ) |  | 3
)");
    EXPECT_EQ(RowsText(BuildEventRows(tree, mum, false, nullptr, {true, true})),
              R"(REF / AFN / Custom |  | I2 /  /  |  | 0
Name |  | Mum /Step/ |  | 2
Dau-Ado |  | Kid /Step/ [I3], (b. , ), (d. , ) |  | 3
Marriage | 1900 | Dad /Step/, m. 1900, Here |  | 1
LDS Sealed to Spouse | 1 MAY 1901 |  |  | 0
)");
}

// A collection of another kind whose first individual witnessed two events: one of person 2
// and one whose link names nobody.
class WitnessCollection : public fake::FakeCollection {
  public:
    class Witnessing : public fake::FakeIndividual {
      public:
        using FakeIndividual::FakeIndividual;
        int32_t WitnessCount() override { return 2; }
        bool Witness(int32_t j, WWitnessLink& link) override {
            link = {j == 1 ? 2 : 0, 0};
            return true;
        }
    };
    explicit WitnessCollection(int kind) { m_kind = kind; }
    std::unique_ptr<WABSIndividual> GetIndividual(int32_t n) override {
        if (n != 1) return FakeCollection::GetIndividual(n);
        return std::make_unique<Witnessing>(1, Person(1));
    }
};

TEST(EventRowsInMemory, WitnessRowsAndIdentifierTypesOfOtherKinds) {
    for (const auto& [kind, type] :
         {std::pair{3, "RIN / AFN / User ID"}, std::pair{int{kKindTmg}, "RIN / AFN / Custom"}}) {
        WitnessCollection tree(kind);
        tree.AddPerson("Wit", "Ness", 'M');
        tree.AddPerson("Prin", "Cipal", 'F');
        const std::vector<WEventRow> rows = BuildEventRows(tree, 1, false, nullptr, kList);
        ASSERT_EQ(rows.size(), 8u);
        EXPECT_EQ(rows[0].type, type);
        EXPECT_EQ(RowsText({rows.begin() + 6, rows.end()}),
                  "Witness |  | Prin /Cipal/ [I2] |  | 2\nWitness |  |  |  | 0\n");
        // In chronological order a witness link without a principal leaves no row.
        EXPECT_EQ(BuildEventRows(tree, 1, false, nullptr, kChrono).size(), 3u);
    }
}

TEST(EventRowsInMemory, AgeTexts) {
    struct Case {
        const char *reference, *date;
        bool bracketed;
        const char* age;
    };
    const Case cases[] = {
        {"1 JAN 1900", "1 JAN 1900", false, "-----"},
        {"1 JAN 1900", "1 jan 1900", false, "-----"},
        {"1 JAN 1900", "1 JAN 1950", false, "50"},
        {"1 JAN 1900", "1950", false, "~49"},
        {"1 JAN 1900", "1 JAN 1850", false, "-50"},
        {"1 JAN 1900", "1850", false, "-~49"},
        {"1 JAN 1900", "31 DEC 1900", false, "0"},
        {"1 JAN 1900", "1 FEB 1899", true, "[0]"},
        {"1 JAN 1900", "1 JUN 1923", true, "[23]"},
        {"1 JAN 1900", "JUN", false, ""},
        {"1 JAN 1900", "", false, ""},
        {"1 JAN 1900", "in the spring of 1923", false, ""},
    };
    for (const Case& c : cases) {
        const WDate reference(c.reference);
        const WDate date(c.date);
        EXPECT_EQ(EventAgeText(&reference, c.bracketed, &date), c.age) << c.date;
    }
    const WDate date("1900");
    EXPECT_EQ(EventAgeText(nullptr, false, &date), "");
}

}  // namespace
}  // namespace kindrel
