// Stepping dates by days, months and years, and the ages between two dates.
#include "model/date.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace kindrel {
namespace {

// -- Reference stepping, one step at a time -------------------------------------------------------

struct Ymd {
    int day;
    int month;
    uint16_t year;
};

bool Leap(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int MonthDays(int month, int year) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (month == 2 && Leap(year)) ? 29 : kDays[month - 1];
}

Ymd ReferenceAddDays(Ymd d, int n) {
    for (int i = 0; i < n; ++i) {
        if (d.day + 1 > MonthDays(d.month, d.year)) {
            d.day = 1;
            if (++d.month > 12) {
                d.month = 1;
                ++d.year;
            }
        } else {
            ++d.day;
        }
    }
    return d;
}

Ymd ReferenceSubtractDays(Ymd d, int n) {
    for (int i = 0; i < n; ++i) {
        if (d.day > 1) {
            --d.day;
        } else {
            if (--d.month < 1) {
                d.month = 12;
                --d.year;
            }
            d.day = MonthDays(d.month, d.year);
        }
    }
    return d;
}

Ymd ReferenceStepMonths(Ymd d, int n, int direction) {
    for (int i = 0; i < n; ++i) {
        d.month += direction;
        if (d.month > 12) {
            d.month = 1;
            ++d.year;
        } else if (d.month < 1) {
            d.month = 12;
            --d.year;
        }
        d.day = std::min(d.day, MonthDays(d.month, d.year));
    }
    return d;
}

WDate Make(const Ymd& d) {
    WDate date;
    date.SetFromParts(d.day, d.month, d.year);
    return date;
}

void ExpectDate(const WDate& date, const Ymd& expected) {
    EXPECT_EQ(date.Day(), expected.day);
    EXPECT_EQ(date.Month(), expected.month);
    EXPECT_EQ(date.Year(), expected.year);
}

// -- Days ---------------------------------------------------------------------------------------

TEST(DateStepTest, AddOneDayCrossesMonthAndLeapBoundaries) {
    WDate date("28 FEB 1900");
    EXPECT_TRUE(date.AddDays(1));
    EXPECT_EQ(date.DisplayText(), "1 Mar 1900");
    EXPECT_EQ(date.Text(), "28 FEB 1900");  // stepping changes the numbers only
    date.SetText("28 FEB 2000");
    EXPECT_TRUE(date.AddDays(1));
    EXPECT_EQ(date.DisplayText(), "29 Feb 2000");
    date.SetText("31 DEC 1999");
    EXPECT_TRUE(date.AddDays(1));
    EXPECT_EQ(date.DisplayText(), "1 Jan 2000");
}

TEST(DateStepTest, SubtractOneDayCrossesMonthAndLeapBoundaries) {
    WDate date("1 MAR 1900");
    EXPECT_TRUE(date.SubtractDays(1));
    EXPECT_EQ(date.DisplayText(), "28 Feb 1900");
    date.SetText("1 MAR 2000");
    EXPECT_TRUE(date.SubtractDays(1));
    EXPECT_EQ(date.DisplayText(), "29 Feb 2000");
    date.SetText("1 JAN 2000");
    EXPECT_TRUE(date.SubtractDays(1));
    EXPECT_EQ(date.DisplayText(), "31 Dec 1999");
}

TEST(DateStepTest, DaySteppingMatchesSingleSteps) {
    const Ymd starts[] = {{1, 1, 1900},  {28, 2, 1900}, {29, 2, 2000}, {31, 12, 1999},
                          {15, 6, 1899}, {31, 1, 2100}, {1, 3, 2400},  {30, 12, 65534}};
    const int counts[] = {0, 1, 27, 31, 59, 365, 366, 400, 1461, 3000, 36524, 36525, 146097};
    for (const Ymd& start : starts) {
        for (const int n : counts) {
            SCOPED_TRACE(testing::Message()
                         << start.day << "." << start.month << "." << start.year << " +/- " << n);
            WDate forward = Make(start);
            ASSERT_TRUE(forward.AddDays(n));
            ExpectDate(forward, ReferenceAddDays(start, n));
            WDate backward = Make(start);
            ASSERT_TRUE(backward.SubtractDays(n));
            ExpectDate(backward, ReferenceSubtractDays(start, n));
        }
    }
}

TEST(DateStepTest, DayStepsFollowTheDayNumber) {
    WDate date("17 AUG 1850");
    const int32_t start = date.DayNumber(2);
    ASSERT_TRUE(date.AddDays(100000));
    EXPECT_EQ(date.DayNumber(2), start + 100000);
    ASSERT_TRUE(date.SubtractDays(100000));
    EXPECT_EQ(date.DayNumber(2), start);
    EXPECT_EQ(date.DisplayText(), "17 Aug 1850");
}

TEST(DateStepTest, NegativeCountsStepBackwards) {
    WDate date("1 JAN 1900");
    EXPECT_TRUE(date.AddDays(-1));
    EXPECT_EQ(date.DisplayText(), "31 Dec 1899");
    EXPECT_TRUE(date.SubtractDays(-1));
    EXPECT_EQ(date.DisplayText(), "1 Jan 1900");
    EXPECT_TRUE(date.AddMonths(-2));
    EXPECT_EQ(date.DisplayText(), "1 Nov 1899");
    EXPECT_TRUE(date.SubtractYears(-1));
    EXPECT_EQ(date.Year(), 1900);
}

TEST(DateStepTest, YearWrapsInSixteenBits) {
    // "65535" itself reads as a word, so the year is reached by stepping.
    WDate date("31 DEC 65534");
    ASSERT_TRUE(date.AddYears(1));
    EXPECT_TRUE(date.AddDays(1));
    ExpectDate(date, {1, 1, 0});
    EXPECT_TRUE(date.SubtractDays(1));
    ExpectDate(date, {31, 12, 65535});
    EXPECT_TRUE(date.AddYears(1));
    EXPECT_EQ(date.Year(), 0);
    EXPECT_FALSE(date.AddYears(1));  // no year any more
    date.SetText("1 JAN 1");
    EXPECT_TRUE(date.SubtractYears(2));
    EXPECT_EQ(date.Year(), 65535);
    EXPECT_TRUE(date.AddYears(70000));
    EXPECT_EQ(date.Year(), (65535 + 70000) & 0xFFFF);
}

TEST(DateStepTest, HugeCountsFinishQuickly) {
    WDate date("1 JAN 1900");
    EXPECT_TRUE(date.AddDays(2147483647));
    EXPECT_TRUE(date.SubtractDays(2147483647));
    EXPECT_EQ(date.DisplayText(), "1 Jan 1900");
    EXPECT_TRUE(date.AddMonths(2147483647));
    EXPECT_TRUE(date.SubtractMonths(2147483647));
    EXPECT_EQ(date.DisplayText(), "1 Jan 1900");
    EXPECT_TRUE(date.SubtractDays(-2147483647 - 1));
    EXPECT_TRUE(date.AddDays(-2147483647 - 1));
    EXPECT_EQ(date.DisplayText(), "1 Jan 1900");
}

TEST(DateStepTest, DayBeyondTheMonthMovesToTheNextMonth) {
    WDate date("29 FEB 2000");
    EXPECT_TRUE(date.AddYears(1));  // the day is not adjusted
    EXPECT_EQ(date.DisplayText(), "29 Feb 2001");
    EXPECT_TRUE(date.AddDays(1));
    EXPECT_EQ(date.DisplayText(), "1 Mar 2001");
    date.SetText("1 JAN 1900");
    date.SetDay(40);
    EXPECT_EQ(date.DisplayText(), "40 Jan 1900");
    EXPECT_TRUE(date.AddDays(1));
    EXPECT_EQ(date.DisplayText(), "1 Feb 1900");
}

TEST(DateStepTest, StepsNeedTheSteppedField) {
    WDate empty("");
    EXPECT_FALSE(empty.AddDays(1));
    EXPECT_FALSE(empty.SubtractDays(1));
    EXPECT_FALSE(empty.AddMonths(1));
    EXPECT_FALSE(empty.SubtractMonths(1));
    EXPECT_FALSE(empty.AddYears(1));
    EXPECT_FALSE(empty.SubtractYears(1));

    WDate yearOnly("1900");
    EXPECT_FALSE(yearOnly.AddDays(1));
    EXPECT_FALSE(yearOnly.AddMonths(1));
    EXPECT_TRUE(yearOnly.AddYears(1));
    EXPECT_EQ(yearOnly.Year(), 1901);

    WDate monthYear("JAN 1900");
    EXPECT_FALSE(monthYear.SubtractDays(1));
    EXPECT_TRUE(monthYear.SubtractMonths(1));
    EXPECT_EQ(monthYear.DisplayText(), "Dec 1899");

    WDate noYear("1 JAN 0");
    EXPECT_FALSE(noYear.SubtractYears(1));
    EXPECT_TRUE(noYear.SubtractDays(1));
    ExpectDate(noYear, {31, 12, 65535});
}

TEST(DateStepTest, DayStepsWithoutAValidMonthChangeNothing) {
    // A day without a month.
    WDate date("25 DEC 1900");
    date.SetMonth(0);
    EXPECT_FALSE(date.AddDays(1));
    EXPECT_FALSE(date.SubtractDays(1));
    EXPECT_FALSE(date.AddMonths(1));
    ExpectDate(date, {25, 0, 1900});
    // The thirteenth month of the Hebrew calendar.
    WDate hebrew("@#DHEBREW@ 29 ELL 5760");
    EXPECT_FALSE(hebrew.AddDays(1));
    EXPECT_FALSE(hebrew.SubtractDays(40));
    EXPECT_FALSE(hebrew.AddMonths(1));
    EXPECT_FALSE(hebrew.SubtractMonths(1));
    ExpectDate(hebrew, {29, 13, 5760});
    EXPECT_TRUE(hebrew.AddYears(1));
    // Any month beyond the table.
    date.SetText("1 JAN 1900");
    date.SetMonth(65535);
    EXPECT_FALSE(date.AddDays(1));
    EXPECT_EQ(date.Month(), 65535);
}

// -- Months and years ---------------------------------------------------------------------------

TEST(DateStepTest, MonthStepsLowerTheDay) {
    WDate date("31 JAN 1900");
    EXPECT_TRUE(date.AddMonths(1));
    EXPECT_EQ(date.DisplayText(), "28 Feb 1900");
    EXPECT_TRUE(date.AddMonths(1));
    EXPECT_EQ(date.DisplayText(), "28 Mar 1900");  // the lowered day stays
    date.SetText("31 JAN 2000");
    EXPECT_TRUE(date.AddMonths(1));
    EXPECT_EQ(date.DisplayText(), "29 Feb 2000");
    date.SetText("31 DEC 1900");
    EXPECT_TRUE(date.AddMonths(1));
    EXPECT_EQ(date.DisplayText(), "31 Jan 1901");
    date.SetText("31 MAR 1900");
    EXPECT_TRUE(date.SubtractMonths(1));
    EXPECT_EQ(date.DisplayText(), "28 Feb 1900");
    date.SetText("15 JAN 1900");
    EXPECT_TRUE(date.SubtractMonths(13));
    EXPECT_EQ(date.DisplayText(), "15 Dec 1898");
}

TEST(DateStepTest, MonthSteppingMatchesSingleSteps) {
    const Ymd starts[] = {{31, 1, 1900}, {30, 1, 2000}, {29, 3, 2004}, {31, 12, 1899},
                          {28, 2, 1900}, {0, 5, 1850},  {31, 8, 0},    {31, 10, 65535}};
    for (const Ymd& start : starts) {
        for (int n = 0; n <= 100; n += (n < 30 ? 1 : 7)) {
            SCOPED_TRACE(testing::Message() << start.day << "." << start.month << "." << start.year
                                            << " +/- " << n << " months");
            WDate forward;
            forward.SetText("1 JAN 1");
            forward.SetDay(start.day);
            forward.SetMonth(start.month);
            WDate backward = forward;
            // Years are set by stepping from 1 so that year 0 and 65535 can be reached.
            ASSERT_TRUE(forward.AddYears(start.year - 1));
            ASSERT_TRUE(backward.AddYears(start.year - 1));
            ASSERT_TRUE(forward.AddMonths(n));
            ExpectDate(forward, ReferenceStepMonths(start, n, 1));
            ASSERT_TRUE(backward.SubtractMonths(n));
            ExpectDate(backward, ReferenceStepMonths(start, n, -1));
        }
    }
}

TEST(DateStepTest, SetDayAndSetMonthOverwriteUnchecked) {
    WDate date("1 JAN 1900");
    date.SetDay(31);
    date.SetMonth(4);
    EXPECT_EQ(date.DisplayText(), "31 Apr 1900");
    EXPECT_EQ(date.Text(), "1 JAN 1900");
    WDate empty("");
    empty.SetDay(5);
    empty.SetMonth(5);
    EXPECT_EQ(empty.Day(), 0);
    EXPECT_EQ(empty.Month(), 0);
}

// -- Ages ---------------------------------------------------------------------------------------

struct AgeCase {
    const char* earlier;
    const char* later;
    int32_t days;
    bool exact;
    const char* age;
};

const AgeCase kAgeCases[] = {
    {"1 JAN 1900", "31 DEC 1900", -365, true, "0"},
    {"1900", "1901", -365, false, "~0"},
    {"1 JAN 1900", "1 JAN 1901", -366, true, "1"},
    {"1 JAN 1900", "1 JAN 1950", -18263, true, "50"},
    {"1900", "1950", -18262, false, "~49"},
    {"ABT 1900", "1950", -18262, false, "~49"},
    {"ABT 1 JAN 1900", "1 JAN 1950", -18262, false, "~49"},
    {"JAN 1900", "JUL 1900", -181, false, "~0"},
    {"JAN 1900", "1950", -18262, false, "~49"},
    {"10 FEB 1750/51", "10 FEB 1800", -18262, false, "~49"},
    {"1 JAN 1950", "1 JAN 1900", 18261, true, "49"},
    {"1 JAN 1 BC", "1 JAN 1", -367, true, "1"},
    {"@#DFRENCH R@ 1 VEND 10", "@#DFRENCH R@ 1 VEND 11", -366, true, "1"},
};

class DateDiffTest : public ::testing::TestWithParam<AgeCase> {};

TEST_P(DateDiffTest, ComputesDaysAndAge) {
    const AgeCase& c = GetParam();
    SCOPED_TRACE(std::string(c.earlier) + " .. " + c.later);
    const WDate earlier(c.earlier);
    const WDate later(c.later);
    WDateDiff diff;
    ASSERT_TRUE(diff.Compute(earlier, later));
    EXPECT_EQ(diff.Days(), c.days);
    EXPECT_EQ(diff.IsExact(), c.exact);
    EXPECT_EQ(diff.AgeText(), c.age);
}

INSTANTIATE_TEST_SUITE_P(Table, DateDiffTest, ::testing::ValuesIn(kAgeCases));

TEST(DateDiffTest, UnusableDatesGiveFalseAndZeroDays) {
    WDateDiff diff;
    EXPECT_EQ(diff.Days(), 0);
    EXPECT_EQ(diff.AgeText(), "~0");
    const WDate good("1 JAN 1900");
    const WDate later("1 JAN 1950");
    ASSERT_TRUE(diff.Compute(good, later));
    EXPECT_NE(diff.Days(), 0);
    EXPECT_FALSE(diff.Compute(&good, nullptr));
    EXPECT_EQ(diff.Days(), 0);
    EXPECT_FALSE(diff.IsExact());
    EXPECT_FALSE(diff.Compute(nullptr, &good));
    EXPECT_FALSE(diff.Compute(WDate(""), good));
    EXPECT_FALSE(diff.Compute(good, WDate("")));
    EXPECT_FALSE(diff.Compute(WDate("SOMETIME 1900"), good));
    EXPECT_FALSE(diff.Compute(good, WDate("1950 (about)")));
    EXPECT_EQ(diff.Days(), 0);
}

TEST(DateDiffTest, YearsTruncateQuarterDays) {
    WDateDiff diff;
    // 1461 days are exactly four years of 365.25 days; one day less is not.
    ASSERT_TRUE(diff.Compute(WDate("1 JAN 1900"), WDate("1 JAN 1904")));
    EXPECT_EQ(diff.Days(), -1461);
    EXPECT_EQ(diff.Years(), 4);
    ASSERT_TRUE(diff.Compute(WDate("2 JAN 1900"), WDate("1 JAN 1904")));
    EXPECT_EQ(diff.Years(), 3);
    ASSERT_TRUE(diff.Compute(WDate("1 JAN 1"), WDate("31 DEC 65534")));
    EXPECT_GT(diff.Years(), 65000);
}

}  // namespace
}  // namespace kindrel
