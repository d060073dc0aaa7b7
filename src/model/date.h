// Genealogical dates (WDate) and the ages between them (WDateDiff).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kindrel {

// One date of a date value: the numbers read from the text, 0 where not given.
struct WDatePart {
    uint8_t eraMark = 0;   // 1 when the year is before the common era ("BC")
    uint8_t calendar = 0;  // one of the kCalendar... codes of WDate
    uint16_t day = 0;      // 0 when not given
    uint16_t month = 0;    // 0 when not given; 13 only in the Hebrew and French calendars
    uint16_t year = 0;     // 0 when not given; the low 16 bits of the number read
};

// A calendar day handed out by the clock behind "TODAY".
struct WCalendarDay {
    int day = 1;
    int month = 1;
    int year = 1970;
};

// A genealogical date parsed from a GEDCOM DATE value or a typed text ('ABT 1850',
// 'BET 1850 AND 1860', '10 FEB 1750/51', '@#DHEBREW@ 1 TSH 5760'). Construct it with the text
// (or set one later with SetText); it is cheap to create and to copy.
class WDate {
  public:
    // Qualifier codes: the keyword that opens the text (Qualifier) or separates the two parts.
    static constexpr uint8_t kQualNone = 0;
    static constexpr uint8_t kQualBef = 1;
    static constexpr uint8_t kQualAft = 2;
    static constexpr uint8_t kQualBet = 3;
    static constexpr uint8_t kQualFrom = 4;
    static constexpr uint8_t kQualTo = 5;
    static constexpr uint8_t kQualAbt = 6;
    static constexpr uint8_t kQualEst = 7;
    static constexpr uint8_t kQualCir = 8;
    static constexpr uint8_t kQualCal = 9;
    static constexpr uint8_t kQualInt = 10;
    static constexpr uint8_t kQualAnd = 11;

    // Calendar codes of a date part.
    static constexpr uint8_t kCalendarGregorian = 0;
    static constexpr uint8_t kCalendarJulian = 1;
    static constexpr uint8_t kCalendarHebrew = 2;
    static constexpr uint8_t kCalendarFrench = 3;
    static constexpr uint8_t kCalendarRoman = 4;
    static constexpr uint8_t kCalendarUnknown = 5;

    // The clock behind "TODAY": a plain function answering today's date.
    using TodayProvider = WCalendarDay (*)();

    // An empty date; give it a text with SetText.
    WDate() = default;
    // A date parsed from text (see SetText).
    explicit WDate(std::string_view text) { SetText(text); }

    // Replaces the whole value by parsing text: "" empties the date, "TODAY" (exactly) gives
    // today's date, anything else is upper-cased, stored and parsed.
    void SetText(std::string_view text);
    // Builds the text 'd MMM yyyy' from numbers (day 0 and months outside 1..12 left out, the
    // year always written) and parses it: (12, 1, 1900) gives '12 JAN 1900'.
    void SetFromParts(int day, int month, int year);

    // The stored (upper-cased) text.
    const std::string& Text() const { return m_text; }
    // The short printed form: qualifier prefix, day, month abbreviation, year, "/" second year.
    std::string DisplayText() const;

    // The first part's numbers; 0 when the date is empty.
    int Year() const { return m_empty ? 0 : m_first.year; }
    int Month() const { return m_empty ? 0 : m_first.month; }
    int Day() const { return m_empty ? 0 : m_first.day; }
    // "Jan".."Dec" for the first part's month 1..12, else empty.
    std::string_view MonthName() const;
    // The qualifier code (kQual...); 0 when the date is empty.
    int Qualifier() const { return m_empty ? 0 : m_qualifier; }
    // The keyword code found between the two parts (normally kQualAnd or kQualTo), or 0.
    int SecondQualifier() const { return m_empty ? 0 : m_secondQualifier; }
    // One-letter mark for short dates: "b", "a", "c", "e" or empty.
    std::string_view QualifierLetter() const;
    // The two parsed parts (all zero when not given).
    const WDatePart& FirstPart() const { return m_first; }
    const WDatePart& SecondPart() const { return m_second; }

    // Sort order against other: -2 when this date is empty or other is null, else -1, 0 or 1.
    // Clean dates compare by numbers (then qualifier), clean before unclean, unclean by text.
    int Compare(const WDate* other) const;
    // Same as Compare(&other).
    int Compare(const WDate& other) const { return Compare(&other); }

    // True when the date has a text.
    bool IsSet() const { return !m_empty; }
    // True when every word of the text was understood where a month name was expected.
    bool IsClean() const { return !m_parseError; }
    // True when the second part has a year (a range or a dual year such as 1750/51).
    bool HasSecondYear() const { return m_second.year != 0; }

    // Running day count of the first part: level 0 counts to the start of the year, 1 to the
    // start of the month, 2 to the day. 0 when the date is empty.
    int32_t DayNumber(int level) const;

    // Step the first part by n days, months or years (negative n steps the other way). Each
    // answers false and changes nothing when the date is empty or lacks the stepped field
    // (days and months also need a month of 1..12). The text is not changed.
    bool AddDays(int n);
    bool SubtractDays(int n);
    bool AddMonths(int n);
    bool SubtractMonths(int n);
    bool AddYears(int n);
    bool SubtractYears(int n);

    // Overwrite the first part's day or month (low 16 bits, unchecked) unless the date is empty.
    void SetDay(int day);
    void SetMonth(int month);

    // Replaces the clock behind "TODAY" (for tests); null restores the system clock.
    static void SetTodayProvider(TodayProvider provider);
    // Today's date from the current clock.
    static WCalendarDay Today();

  private:
    bool StepDays(int64_t n);
    bool StepMonths(int64_t n);

    uint8_t m_qualifier = 0;
    uint8_t m_secondQualifier = 0;
    bool m_empty = true;
    bool m_parseError = false;
    WDatePart m_first;
    WDatePart m_second;
    std::string m_text;
};

// The time between two dates as an age in whole years. Compute it for each pair of dates;
// the age is marked approximate ("~") unless both dates are complete and unqualified.
class WDateDiff {
  public:
    // A difference of 0 days, not exact.
    WDateDiff() = default;

    // Computes the signed day count from earlier (a birth) to later (a death, today). Answers
    // false, with 0 days, when either date is null, empty or not clean.
    bool Compute(const WDate* earlier, const WDate* later);
    // Same as Compute(&earlier, &later).
    bool Compute(const WDate& earlier, const WDate& later) { return Compute(&earlier, &later); }

    // The signed day count of the last Compute (negative when earlier lies before later).
    int32_t Days() const { return m_days; }
    // True when the last difference came from two complete, unqualified single dates.
    bool IsExact() const { return m_exact; }
    // Whole years: |days| / 365.25, truncated.
    int Years() const;
    // Years in decimal, preceded by "~" when the difference is not exact.
    std::string AgeText() const;

  private:
    int32_t m_days = 0;
    bool m_exact = false;
};

}  // namespace kindrel
