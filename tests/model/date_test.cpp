// Parsing, printing and ordering of genealogical dates.
#include "model/date.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kindrel {
namespace {

struct ParseCase {
    const char* text;
    int qualifier;
    int secondQualifier;
    int calendar;
    int day, month, year;
    int day2, month2, year2;
    bool clean;
    const char* display;
};

// One row per text: what the parser must read from it and how it prints.
const ParseCase kParseCases[] = {
    // text                      q  q2 cal  d   m   y      d2  m2  y2   clean display
    {"ABT 1850", 6, 0, 0, 0, 0, 1850, 0, 0, 0, true, "Abt 1850"},
    {"25 DEC 1900", 0, 0, 0, 25, 12, 1900, 0, 0, 0, true, "25 Dec 1900"},
    {"25 dec 1900", 0, 0, 0, 25, 12, 1900, 0, 0, 0, true, "25 Dec 1900"},
    {"BEF JAN 1900", 1, 0, 0, 0, 1, 1900, 0, 0, 0, true, "Bef Jan 1900"},
    {"BEF 3 MAR 1901", 1, 0, 0, 3, 3, 1901, 0, 0, 0, true, "Bef 3 Mar 1901"},
    {"AFT. 1900", 2, 0, 0, 0, 0, 1900, 0, 0, 0, true, "Aft 1900"},
    {"EST 1900", 7, 0, 0, 0, 0, 1900, 0, 0, 0, true, "Est 1900"},
    {"CIR. 1900", 8, 0, 0, 0, 0, 1900, 0, 0, 0, true, "Cir 1900"},
    {"CAL 1900", 9, 0, 0, 0, 0, 1900, 0, 0, 0, true, "Cal 1900"},
    {"BET 1850 AND 1860", 3, 11, 0, 0, 0, 1850, 0, 0, 1860, true, "1850/1860"},
    {"FROM 1850 TO 1860", 4, 5, 0, 0, 0, 1850, 0, 0, 1860, true, "1850/1860"},
    {"BET 1 JAN 1850 AND 5 MAY 1860", 3, 11, 0, 1, 1, 1850, 5, 5, 1860, true, "1 Jan 1850/1860"},
    {"TO 1860", 5, 0, 0, 0, 0, 1860, 0, 0, 0, true, "1860"},
    {"FROMAGE 1850", 4, 0, 0, 0, 0, 1850, 0, 0, 0, true, "1850"},
    {"10 FEB 1750/51", 0, 0, 0, 10, 2, 1750, 0, 0, 51, true, "10 Feb 1750/51"},
    {"12/25/1900", 0, 0, 0, 25, 12, 1900, 0, 0, 0, true, "25 Dec 1900"},
    {"12-25-1900", 0, 0, 0, 25, 12, 1900, 0, 0, 0, true, "25 Dec 1900"},
    {"5/1900", 0, 0, 0, 0, 5, 1900, 0, 0, 0, true, "May 1900"},
    {"25/1900", 0, 0, 0, 0, 0, 0, 0, 0, 0, true, ""},
    {"1750/51", 0, 0, 0, 0, 0, 0, 0, 0, 0, true, ""},
    {"13/1/1900", 0, 0, 0, 0, 0, 0, 0, 0, 0, true, ""},
    // A day out of range keeps only the month, and the same tokens are read again.
    {"12/32/1900", 0, 0, 0, 0, 12, 0, 0, 12, 0, true, "Dec "},
    {"INT 1900 (the winter)", 10, 0, 0, 0, 0, 1900, 0, 0, 0, false, "1900"},
    {"JANUARY 1900", 0, 0, 0, 0, 1, 1900, 0, 0, 0, true, "Jan 1900"},
    {"1 SEPTEMBER 1900", 0, 0, 0, 1, 9, 1900, 0, 0, 0, true, "1 Sep 1900"},
    {"JUNE 1900", 0, 0, 0, 0, 6, 1900, 0, 0, 0, true, "Jun 1900"},
    {"MAY 1900", 0, 0, 0, 0, 5, 1900, 0, 0, 0, true, "May 1900"},
    {"MAYBE 1900", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    {"JAN. 1900", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    {"BEFORE 1900", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    {"25 DEC 1900 10", 0, 0, 0, 25, 12, 1900, 10, 0, 0, true, "25 Dec 1900"},
    {" 12 JAN 1900", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    {"1 JAN 1900 ", 0, 0, 0, 1, 1, 1900, 0, 0, 0, false, "1 Jan 1900"},
    {"today", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    {"1900", 0, 0, 0, 0, 0, 1900, 0, 0, 0, true, "1900"},
    {"JAN 1900 5", 0, 0, 0, 5, 1, 1900, 0, 0, 0, true, "5 Jan 1900"},
    {"1 2 1900", 0, 0, 0, 2, 1, 1900, 0, 0, 0, true, "2 Jan 1900"},
    {"5 1900", 0, 0, 0, 0, 5, 1900, 0, 0, 0, true, "May 1900"},
    {"0 JAN 1900", 0, 0, 0, 0, 1, 1900, 0, 0, 0, true, "Jan 1900"},
    {"1 JAN 0", 0, 0, 0, 1, 1, 0, 0, 0, 0, true, "1 Jan "},
    {"5 20 1900", 0, 0, 0, 20, 5, 1900, 0, 0, 0, true, "20 May 1900"},
    {"5 32 1900", 0, 0, 0, 0, 5, 0, 0, 5, 0, true, "May "},
    // Two numbers first are month and year, whatever follows.
    {"5 20 JAN", 0, 0, 0, 0, 5, 20, 0, 1, 0, true, "May 20"},
    {"1ST JAN 1900", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    {"65535", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    {"65536", 0, 0, 0, 0, 0, 0, 0, 0, 0, true, ""},
    {"70000", 0, 0, 0, 0, 0, 4464, 0, 0, 0, true, "4464"},
    {"1234567890", 0, 0, 0, 0, 0, 54919, 0, 0, 0, true, "54919"},
    {"ABT ABT 1900", 6, 6, 0, 0, 0, 0, 0, 0, 1900, true, "Abt /1900"},
    {"AND 1900", 11, 0, 0, 0, 0, 1900, 0, 0, 0, true, "1900"},
    {"TOO 1900", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    // Calendars.
    {"@#DHEBREW@ 1 ADS 5760", 0, 0, 2, 1, 7, 5760, 0, 0, 0, true, "1 Jul 5760"},
    {"@#DHEBREW@ 1 ELL 5760", 0, 0, 2, 1, 13, 5760, 0, 0, 0, true, "1 5760"},
    // A Gregorian month name fails in the Hebrew part; the second part is Gregorian again.
    {"@#DHEBREW@ 1 JAN 5760", 0, 0, 2, 1, 0, 0, 0, 1, 5760, false, "1 /5760"},
    {"@#DFRENCH R@ 1 VEND 10", 0, 0, 3, 1, 1, 10, 0, 0, 0, true, "1 Jan 10"},
    {"@#DFRENCH R@ 3 COMPLEMENTAIRE 11", 0, 0, 3, 3, 13, 11, 0, 0, 0, true, "3 11"},
    {"@#DJULIAN@ 10 FEB 1750/51", 0, 0, 1, 10, 2, 1750, 0, 0, 51, true, "10 Feb 1750/51"},
    {"ABT @#DJULIAN@ 1700", 6, 0, 1, 0, 0, 1700, 0, 0, 0, true, "Abt 1700"},
    {"@#DGREGORIAN@ 1 JAN 1900", 0, 0, 0, 1, 1, 1900, 0, 0, 0, true, "1 Jan 1900"},
    {"@#DROMAN@ 5 AUC 753", 0, 0, 4, 5, 0, 0, 0, 0, 0, false, "5 "},
    {"@#DUNKNOWN@ 1900", 0, 0, 5, 0, 0, 1900, 0, 0, 0, true, "1900"},
    {"@#D 1900", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    // Era marks.
    {"1900 BC", 0, 0, 0, 0, 0, 1900, 0, 0, 0, true, "1900 BC"},
    {"1 JAN 100 B.C.", 0, 0, 0, 1, 1, 100, 0, 0, 0, true, "1 Jan 100 BC"},
    {"44 BCE", 0, 0, 0, 0, 0, 44, 0, 0, 0, true, "44 BC"},
    {"10 BC", 0, 0, 0, 0, 0, 10, 0, 0, 0, true, "10 BC"},
    {"5/100 BC", 0, 0, 0, 0, 5, 100, 0, 0, 0, true, "May 100 BC"},
    {"BET 100 BC AND 50 BC", 3, 11, 0, 0, 0, 100, 0, 0, 50, true, "100 BC/50 BC"},
    {"BC 100", 0, 0, 0, 0, 0, 0, 0, 0, 0, false, ""},
    {"100 BC BC", 0, 0, 0, 0, 0, 100, 0, 0, 0, false, "100 BC"},
    {"ABT. 50 AD", 6, 0, 0, 0, 0, 50, 0, 0, 0, true, "Abt 50"},
    {"5 A.D.", 0, 0, 0, 0, 0, 5, 0, 0, 0, true, "5"},
    {"1 JAN 1900 CE", 0, 0, 0, 1, 1, 1900, 0, 0, 0, true, "1 Jan 1900"},
    {"@#DJULIAN@ 15 MAR 44 BC", 0, 0, 1, 15, 3, 44, 0, 0, 0, true, "15 Mar 44 BC"},
    // Dual years and day-first numeric dates found in real files: month out of range.
    {"BET. 1830 - 1871", 3, 0, 0, 0, 0, 0, 0, 0, 0, true, ""},
    {"14/11/1931", 0, 0, 0, 0, 0, 0, 0, 0, 0, true, ""},
};

class DateParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateParseTest, ReadsNumbersQualifiersAndPrints) {
    const ParseCase& c = GetParam();
    const WDate date(c.text);
    SCOPED_TRACE(c.text);
    EXPECT_TRUE(date.IsSet());
    EXPECT_EQ(date.Qualifier(), c.qualifier);
    EXPECT_EQ(date.SecondQualifier(), c.secondQualifier);
    EXPECT_EQ(date.FirstPart().calendar, c.calendar);
    EXPECT_EQ(date.Day(), c.day);
    EXPECT_EQ(date.Month(), c.month);
    EXPECT_EQ(date.Year(), c.year);
    EXPECT_EQ(date.SecondPart().day, c.day2);
    EXPECT_EQ(date.SecondPart().month, c.month2);
    EXPECT_EQ(date.SecondPart().year, c.year2);
    EXPECT_EQ(date.IsClean(), c.clean);
    EXPECT_EQ(date.HasSecondYear(), c.year2 != 0);
    EXPECT_EQ(date.DisplayText(), c.display);
}

INSTANTIATE_TEST_SUITE_P(Table, DateParseTest, ::testing::ValuesIn(kParseCases));

TEST(DateTest, EmptyTextGivesEmptyDate) {
    const WDate date("");
    EXPECT_FALSE(date.IsSet());
    EXPECT_TRUE(date.IsClean());
    EXPECT_EQ(date.Text(), "");
    EXPECT_EQ(date.DisplayText(), "");
    EXPECT_EQ(date.Year(), 0);
    EXPECT_EQ(date.Qualifier(), 0);
    EXPECT_EQ(date.MonthName(), "");
    EXPECT_EQ(date.DayNumber(2), 0);
    const WDate defaulted;
    EXPECT_FALSE(defaulted.IsSet());
}

TEST(DateTest, SetTextReplacesTheWholeValue) {
    WDate date("INT 1 JAN 1900 AND 1901 (guess)");
    EXPECT_FALSE(date.IsClean());
    date.SetText("MAY 1850");
    EXPECT_TRUE(date.IsClean());
    EXPECT_EQ(date.Qualifier(), 0);
    EXPECT_EQ(date.SecondQualifier(), 0);
    EXPECT_EQ(date.Day(), 0);
    EXPECT_EQ(date.Month(), 5);
    EXPECT_FALSE(date.HasSecondYear());
    date.SetText("");
    EXPECT_FALSE(date.IsSet());
    EXPECT_FALSE(date.HasSecondYear());
}

TEST(DateTest, TextIsStoredUpperCased) {
    const WDate date("abt 1 jan 1900");
    EXPECT_EQ(date.Text(), "ABT 1 JAN 1900");
    EXPECT_EQ(date.Qualifier(), WDate::kQualAbt);
    const WDate lowerToday("today");
    EXPECT_EQ(lowerToday.Text(), "TODAY");
    EXPECT_FALSE(lowerToday.IsClean());
}

TEST(DateTest, MonthNameAndQualifierLetter) {
    EXPECT_EQ(WDate("1 FEB 1900").MonthName(), "Feb");
    EXPECT_EQ(WDate("1900").MonthName(), "");
    EXPECT_EQ(WDate("@#DHEBREW@ ELL 5760").MonthName(), "");
    EXPECT_EQ(WDate("BEF 1900").QualifierLetter(), "b");
    EXPECT_EQ(WDate("AFT 1900").QualifierLetter(), "a");
    EXPECT_EQ(WDate("ABT 1900").QualifierLetter(), "c");
    EXPECT_EQ(WDate("CIR 1900").QualifierLetter(), "c");
    EXPECT_EQ(WDate("EST 1900").QualifierLetter(), "e");
    EXPECT_EQ(WDate("CAL 1900").QualifierLetter(), "");
    EXPECT_EQ(WDate("BET 1900 AND 1901").QualifierLetter(), "");
    EXPECT_EQ(WDate("1900").QualifierLetter(), "");
}

TEST(DateTest, SetFromPartsWritesTheText) {
    WDate date;
    date.SetFromParts(12, 1, 1900);
    EXPECT_EQ(date.Text(), "12 JAN 1900");
    EXPECT_EQ(date.DisplayText(), "12 Jan 1900");
    date.SetFromParts(0, 0, 1900);
    EXPECT_EQ(date.Text(), "1900");
    date.SetFromParts(0, 12, 1900);
    EXPECT_EQ(date.Text(), "DEC 1900");
    date.SetFromParts(0, 0, 0);
    EXPECT_EQ(date.Text(), "0");
    EXPECT_TRUE(date.IsSet());
    // Month 13 is not written; what is left is two numbers, read as month and year.
    date.SetFromParts(5, 13, 1900);
    EXPECT_EQ(date.Text(), "5 1900");
    EXPECT_EQ(date.DisplayText(), "May 1900");
}

TEST(DateTest, TooManyTokensAreDropped) {
    std::string text = "BET 1 JAN 1900 AND 2 FEB 1901";
    for (int i = 0; i < 40; ++i) text += " WORD";
    const WDate date(text);
    EXPECT_TRUE(date.IsClean());
    EXPECT_EQ(date.DisplayText(), "1 Jan 1900/1901");
    EXPECT_EQ(date.SecondPart().month, 2);
}

TEST(DateTest, LongAndHostileTextsStayInBounds) {
    const std::string longWord(100000, 'Z');
    EXPECT_FALSE(WDate(longWord).IsClean());
    const std::string longNumber(100000, '9');
    const WDate number(longNumber);  // truncated to 9999999, keeps the low 16 bits
    EXPECT_EQ(number.Year(), 9999999 & 0xFFFF);
    const std::string separators(100000, '/');
    EXPECT_FALSE(WDate(separators).IsClean());
    std::string manyTokens;
    for (int i = 0; i < 10000; ++i) manyTokens += "1 ";
    EXPECT_TRUE(WDate(manyTokens).IsSet());
    const std::string binary("\0\xff\x80@#DF\0 R@ 1", 13);
    EXPECT_TRUE(WDate(binary).IsSet());
}

// -- TODAY --------------------------------------------------------------------------------------

WCalendarDay FixedToday() {
    return WCalendarDay{8, 12, 2026};
}
WCalendarDay EarlyToday() {
    return WCalendarDay{1, 1, 999};
}

class TodayTest : public ::testing::Test {
  protected:
    void TearDown() override { WDate::SetTodayProvider(nullptr); }
};

TEST_F(TodayTest, TodayUsesTheClock) {
    WDate::SetTodayProvider(&FixedToday);
    const WDate date("TODAY");
    EXPECT_TRUE(date.IsSet());
    EXPECT_TRUE(date.IsClean());
    EXPECT_EQ(date.Text(), "8 DEC 2026");
    EXPECT_EQ(date.Day(), 8);
    EXPECT_EQ(date.Month(), 12);
    EXPECT_EQ(date.Year(), 2026);
    EXPECT_EQ(date.Qualifier(), 0);
    EXPECT_EQ(date.FirstPart().calendar, 0);
    EXPECT_FALSE(date.HasSecondYear());
    EXPECT_EQ(date.DisplayText(), "8 Dec 2026");
}

TEST_F(TodayTest, YearIsWrittenWithFourDigits) {
    WDate::SetTodayProvider(&EarlyToday);
    EXPECT_EQ(WDate("TODAY").Text(), "1 JAN 0999");
}

TEST_F(TodayTest, SystemClockGivesACompleteDate) {
    const WDate date("TODAY");
    EXPECT_GE(date.Year(), 2024);
    EXPECT_GE(date.Month(), 1);
    EXPECT_LE(date.Month(), 12);
    EXPECT_GE(date.Day(), 1);
    // The stored text parses back to the same numbers.
    const WDate reparsed(date.Text());
    EXPECT_EQ(reparsed.Compare(date), 0);
}

TEST_F(TodayTest, LowerCaseTodayIsNotTheKeyword) {
    WDate::SetTodayProvider(&FixedToday);
    EXPECT_FALSE(WDate("Today").IsClean());
    EXPECT_EQ(WDate("TODAY ").Year(), 0);
}

// -- Compare ------------------------------------------------------------------------------------

TEST(DateCompareTest, EmptyOrMissingGivesMinusTwo) {
    const WDate empty("");
    const WDate date("1900");
    EXPECT_EQ(empty.Compare(date), -2);
    EXPECT_EQ(empty.Compare(empty), -2);
    EXPECT_EQ(empty.Compare(WDate("today")), -2);
    EXPECT_EQ(date.Compare(nullptr), -2);
}

TEST(DateCompareTest, CleanDatesCompareByNumbers) {
    EXPECT_EQ(WDate("1900").Compare(WDate("JAN 1900")), -1);
    EXPECT_EQ(WDate("JAN 1900").Compare(WDate("1 JAN 1900")), -1);
    EXPECT_EQ(WDate("1 JAN 1900").Compare(WDate("JAN 1900")), 1);
    EXPECT_EQ(WDate("31 DEC 1899").Compare(WDate("1 JAN 1900")), -1);
    EXPECT_EQ(WDate("12/25/1900").Compare(WDate("25 DEC 1900")), 0);
    EXPECT_EQ(WDate("1 FEB 1900").Compare(WDate("2 JAN 1900")), 1);
    // An empty other date counts as year, month and day 0.
    EXPECT_EQ(WDate("1900").Compare(WDate("")), 1);
    EXPECT_EQ(WDate("25/1900").Compare(WDate("")), 0);
    EXPECT_EQ(WDate("BEF 25/1900").Compare(WDate("")), -1);
}

TEST(DateCompareTest, CleanBeforeUnclean) {
    EXPECT_EQ(WDate("2000").Compare(WDate("SOMETIME")), 1);
    EXPECT_EQ(WDate("SOMETIME").Compare(WDate("2000")), -1);
    EXPECT_EQ(WDate("SOMETIME").Compare(WDate("")), -1);
}

TEST(DateCompareTest, UncleanDatesCompareByTextBytes) {
    EXPECT_EQ(WDate("ABC").Compare(WDate("ABD")), -1);
    EXPECT_EQ(WDate("ABD").Compare(WDate("ABC")), 1);
    EXPECT_EQ(WDate("ABC").Compare(WDate("abc")), 0);
    EXPECT_EQ(WDate("AB").Compare(WDate("ABC")), -1);
    EXPECT_EQ(WDate("ABC").Compare(WDate("AB")), 1);
    // Bytes above 0x7F sort after ASCII (unsigned comparison).
    EXPECT_EQ(WDate("\xC3\xA9T\xC3\xA9").Compare(WDate("ZZZ")), 1);
}

TEST(DateCompareTest, EraMarkSortsBeforeTheCommonEra) {
    EXPECT_EQ(WDate("100 BC").Compare(WDate("50 BC")), -1);
    EXPECT_EQ(WDate("50 BC").Compare(WDate("100 BC")), 1);
    EXPECT_EQ(WDate("50 BC").Compare(WDate("50")), -1);
    EXPECT_EQ(WDate("1 JAN 50 BC").Compare(WDate("1 FEB 50 BC")), -1);
    EXPECT_EQ(WDate("50 BC").Compare(WDate("50 B.C.")), 0);
}

// Expected order of equal numbers under each pair of qualifiers: [this][other].
constexpr int kExpectedQualifierOrder[12][12] = {
    {0, 1, -1, 0, 0, 0, 1, 1, 1, 1, 0, 0},   {-1, 0, -1, 0, 0, 0, -1, -1, -1, -1, 0, 0},
    {1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0},    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {-1, 1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0},  {-1, 1, -1, 0, 0, 0, 0, 0, 1, 1, 0, 0},
    {-1, 1, -1, 0, 0, 0, 0, -1, 0, 1, 0, 0}, {-1, 1, -1, 0, 0, 0, 0, -1, -1, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

const char* const kQualifierPrefixes[12] = {"",      "BEF ", "AFT ", "BET ", "FROM ", "TO ",
                                            "ABT. ", "EST ", "CIR ", "CAL ", "INT ",  "AND "};

TEST(DateCompareTest, QualifierMatrixOrdersEqualNumbers) {
    for (int a = 0; a < 12; ++a) {
        const WDate left(std::string(kQualifierPrefixes[a]) + "1 JAN 1900");
        ASSERT_EQ(left.Qualifier(), a);
        ASSERT_TRUE(left.IsClean());
        for (int b = 0; b < 12; ++b) {
            const WDate right(std::string(kQualifierPrefixes[b]) + "1 JAN 1900");
            EXPECT_EQ(left.Compare(right), kExpectedQualifierOrder[a][b])
                << "this " << a << " other " << b;
        }
    }
}

TEST(DateCompareTest, NumbersDecideBeforeQualifiers) {
    EXPECT_EQ(WDate("AFT 1899").Compare(WDate("BEF 1900")), -1);
    EXPECT_EQ(WDate("BEF 1 JAN 1900").Compare(WDate("1900")), 1);
}

// -- DayNumber ----------------------------------------------------------------------------------

TEST(DateDayNumberTest, LevelsCountYearMonthAndDay) {
    const WDate first("1 JAN 1");
    EXPECT_EQ(first.DayNumber(0), 0);
    EXPECT_EQ(first.DayNumber(1), 0);
    EXPECT_EQ(first.DayNumber(2), 1);
    const WDate march1900("1 MAR 1900");
    EXPECT_EQ(march1900.DayNumber(0), 693595);
    EXPECT_EQ(march1900.DayNumber(1), 693654);
    EXPECT_EQ(march1900.DayNumber(2), 693655);
    const WDate march2000("1 MAR 2000");  // leap year: one more day from March on
    EXPECT_EQ(march2000.DayNumber(0), 730120);
    EXPECT_EQ(march2000.DayNumber(1), 730179);
    EXPECT_EQ(march2000.DayNumber(2), 730180);
    EXPECT_EQ(WDate("29 FEB 2000").DayNumber(2), 730179);
    EXPECT_EQ(WDate("31 DEC 1999").DayNumber(2), 730119);
    EXPECT_EQ(WDate("25 DEC 1900").DayNumber(2), 693954);
    EXPECT_EQ(WDate("1 JAN 1950").DayNumber(2), 711858);
    EXPECT_EQ(WDate("31 DEC 9999").DayNumber(2), 3652059);
}

TEST(DateDayNumberTest, OutOfTableMonthsStayInBounds) {
    // The thirteenth month counts after all twelve; larger months the same.
    const WDate hebrew("@#DHEBREW@ 1 ELL 5759");
    EXPECT_EQ(hebrew.DayNumber(1), hebrew.DayNumber(0) + 365);
    WDate date("1 DEC 1900");
    date.SetMonth(500);
    EXPECT_EQ(date.DayNumber(1), date.DayNumber(0) + 365);
    date.SetMonth(0);
    EXPECT_EQ(date.DayNumber(1), date.DayNumber(0));
    EXPECT_EQ(WDate("0").DayNumber(0), -365);
    EXPECT_EQ(WDate("65535").DayNumber(2), -365);  // a word: year, month and day 0
    EXPECT_GT(WDate("31 DEC 65534").DayNumber(2), 0);
}

TEST(DateDayNumberTest, EraMarkCountsBackwards) {
    EXPECT_EQ(WDate("1 JAN 1 BC").DayNumber(2), 1 - 366);  // 1 BC is a leap year
    EXPECT_EQ(WDate("31 DEC 1 BC").DayNumber(2), 0);
    EXPECT_LT(WDate("1 JAN 100 BC").DayNumber(2), WDate("1 JAN 50 BC").DayNumber(2));
}

}  // namespace
}  // namespace kindrel
