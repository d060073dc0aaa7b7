#include "model/date.h"

#include "model/upper_case.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace kindrel {

namespace {

// ---------------------------------------------------------------------------------------------
// Tables

constexpr std::array<std::string_view, 12> kMonthAbbreviations = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 12> kMonthAbbreviationsUpper = {
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

constexpr std::array<int, 12> kDaysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::array<int, 12> kDaysBeforeMonth = {0,   31,  59,  90,  120, 151,
                                                  181, 212, 243, 273, 304, 334};

// A keyword of up to four characters, NUL-padded, packed into one number so that matching a
// token is a single comparison.
constexpr uint32_t Key4(std::string_view text) {
    uint32_t key = 0;
    for (size_t i = 0; i < 4 && i < text.size(); ++i) {
        key |= static_cast<uint32_t>(static_cast<unsigned char>(text[i])) << (8 * i);
    }
    return key;
}

struct KeywordCode {
    uint32_t key;
    uint8_t code;
};

constexpr std::array<KeywordCode, 19> kQualifierKeywords = {{
    {Key4("BEF"), WDate::kQualBef},   {Key4("BEF."), WDate::kQualBef},
    {Key4("AFT"), WDate::kQualAft},   {Key4("AFT."), WDate::kQualAft},
    {Key4("BET"), WDate::kQualBet},   {Key4("BET."), WDate::kQualBet},
    {Key4("FROM"), WDate::kQualFrom}, {Key4("TO"), WDate::kQualTo},
    {Key4("ABT"), WDate::kQualAbt},   {Key4("ABT."), WDate::kQualAbt},
    {Key4("EST"), WDate::kQualEst},   {Key4("EST."), WDate::kQualEst},
    {Key4("CIR"), WDate::kQualCir},   {Key4("CIR."), WDate::kQualCir},
    {Key4("CAL"), WDate::kQualCal},   {Key4("CAL."), WDate::kQualCal},
    {Key4("INT"), WDate::kQualInt},   {Key4("INT."), WDate::kQualInt},
    {Key4("AND"), WDate::kQualAnd},
}};

constexpr std::array<KeywordCode, 6> kCalendarEscapes = {{
    {Key4("@#DG"), WDate::kCalendarGregorian},
    {Key4("@#DJ"), WDate::kCalendarJulian},
    {Key4("@#DH"), WDate::kCalendarHebrew},
    {Key4("@#DF"), WDate::kCalendarFrench},
    {Key4("@#DR"), WDate::kCalendarRoman},
    {Key4("@#DU"), WDate::kCalendarUnknown},
}};

// Gregorian and Julian month names matched on their first four characters; "MAY" padded
// with a NUL so that it only matches alone.
constexpr std::array<uint32_t, 12> kLongMonthKeys = {
    Key4("JANU"), Key4("FEBR"), Key4("MARC"), Key4("APRI"), Key4("MAY"),  Key4("JUNE"),
    Key4("JULY"), Key4("AUGU"), Key4("SEPT"), Key4("OCTO"), Key4("NOVE"), Key4("DECE")};

constexpr std::array<std::string_view, 13> kHebrewMonths = {
    "TSH", "CSH", "KSL", "TVT", "SHV", "ADR", "ADS", "NSN", "IYR", "SVN", "TMZ", "AAV", "ELL"};

constexpr std::array<uint32_t, 13> kFrenchMonthKeys = {
    Key4("VEND"), Key4("BRUM"), Key4("FRIM"), Key4("NIVO"), Key4("PLUV"),
    Key4("VENT"), Key4("GERM"), Key4("FLOR"), Key4("PRAI"), Key4("MESS"),
    Key4("THER"), Key4("FRUC"), Key4("COMP")};

// Era words accepted after a year: the first four mark a year before the common era, the
// others name the common era and change nothing.
constexpr std::array<std::string_view, 8> kEraWords = {"BC", "B.C.", "BCE", "B.C.E.",
                                                       "AD", "A.D.", "CE",  "C.E."};
constexpr size_t kBeforeCommonEraWords = 4;

// Qualifier order for two clean dates with equal numbers: [this][other].
constexpr int8_t kQualifierOrder[12][12] = {
    //  0   1   2   3  4  5   6   7   8   9 10 11
    {0, 1, -1, 0, 0, 0, 1, 1, 1, 1, 0, 0},       // 0 plain
    {-1, 0, -1, 0, 0, 0, -1, -1, -1, -1, 0, 0},  // 1 Bef
    {1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0},        // 2 Aft
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},        // 3 Bet
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},        // 4 From
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},        // 5 To
    {-1, 1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0},      // 6 Abt
    {-1, 1, -1, 0, 0, 0, 0, 0, 1, 1, 0, 0},      // 7 Est
    {-1, 1, -1, 0, 0, 0, 0, -1, 0, 1, 0, 0},     // 8 Cir
    {-1, 1, -1, 0, 0, 0, 0, -1, -1, 0, 0, 0},    // 9 Cal
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},        // 10 Int
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},        // 11 And
};

// ---------------------------------------------------------------------------------------------
// Calendar arithmetic (the Gregorian leap rule, whatever the calendar)

bool IsLeapYear(int32_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Days of month 1..12 in the given year; callers check the month first.
int DaysInMonth(int month, int32_t year) {
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDaysInMonth[static_cast<size_t>(month - 1)];
}

int DaysInYear(int32_t year) {
    return IsLeapYear(year) ? 366 : 365;
}

// Days before month 1..12; month 0 counts as 0, and months above 12 (the thirteenth month of
// the Hebrew and French calendars, or any value set by SetMonth) as the whole twelve months,
// so that they keep sorting after December.
int DaysBeforeMonth(int month) {
    if (month <= 0) return 0;
    if (month > 12) return 365;
    return kDaysBeforeMonth[static_cast<size_t>(month - 1)];
}

int32_t FloorDiv(int32_t a, int32_t b) {
    const int32_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// ---------------------------------------------------------------------------------------------
// Tokens

constexpr int kMaxTokens = 15;
constexpr int kMaxTokenLength = 7;

struct Token {
    char text[kMaxTokenLength + 1];  // NUL-padded, so the first four bytes are its key
    uint8_t length;
    bool numeric;       // not empty and all digits
    bool closesWithAt;  // the whole run of characters (before truncation) ended with '@'
    int32_t value;      // the number when numeric

    uint32_t Key() const { return Key4(std::string_view(text, 4)); }
    std::string_view View() const { return std::string_view(text, length); }
};

// The working state of one parse: the text split into tokens.
struct TokenTable {
    Token tokens[kMaxTokens];
    int count = 0;
};

bool IsSeparator(char c) {
    return c == ' ' || c == '/' || c == '-';
}

// Splits text into at most kMaxTokens tokens of at most kMaxTokenLength characters. A run of
// separators closes one token; a separator at the start or the end leaves an empty token.
// Tokens past the fifteenth are dropped: a date part never reads more than four tokens, so
// they could not be read anyway.
void Tokenise(std::string_view text, TokenTable& table) {
    int current = 0;
    table.tokens[0] = Token{};
    bool inToken = true;
    for (const char c : text) {
        if (IsSeparator(c)) {
            if (!inToken) continue;
            if (current + 1 >= kMaxTokens) break;
            ++current;
            table.tokens[current] = Token{};
            inToken = false;
            continue;
        }
        Token& token = table.tokens[current];
        if (token.length < kMaxTokenLength) token.text[token.length++] = c;
        token.closesWithAt = (c == '@');
        inToken = true;
    }
    table.count = current + 1;
    for (int i = 0; i < table.count; ++i) {
        Token& token = table.tokens[i];
        token.numeric = token.length > 0;
        token.value = 0;
        for (int k = 0; k < token.length; ++k) {
            const char c = token.text[k];
            if (c < '0' || c > '9') {
                token.numeric = false;
                break;
            }
            token.value = token.value * 10 + (c - '0');  // at most 7 digits: no overflow
        }
        if (!token.numeric) token.value = 0;
    }
}

uint8_t KeywordCodeOf(const Token& token) {
    // Most tokens are numbers or month names: only these letters open a keyword.
    switch (token.text[0]) {
        case 'A':
        case 'B':
        case 'C':
        case 'E':
        case 'F':
        case 'I':
        case 'T':
            break;
        default:
            return 0;
    }
    const uint32_t key = token.Key();
    for (const KeywordCode& keyword : kQualifierKeywords) {
        if (keyword.key == key) return keyword.code;
    }
    return 0;
}

// Answers the calendar code + 1 of an escape token, 0 when the token is none.
int CalendarEscapeOf(const Token& token) {
    const uint32_t key = token.Key();
    for (const KeywordCode& escape : kCalendarEscapes) {
        if (escape.key == key) return escape.code + 1;
    }
    return 0;
}

// 0 when the token is no era word, 1 for a year before the common era, 2 for the common era.
int EraWordOf(const Token& token) {
    for (size_t i = 0; i < kEraWords.size(); ++i) {
        if (token.View() == kEraWords[i]) return i < kBeforeCommonEraWords ? 1 : 2;
    }
    return 0;
}

// The month 1..13 that a word names in the given calendar, or 0.
int MonthOf(const Token& token, uint8_t calendar) {
    switch (calendar) {
        case WDate::kCalendarGregorian:
        case WDate::kCalendarJulian: {
            // A whole-token match of a three-letter name is a match of the NUL-padded key
            // by a token of three characters.
            const uint32_t key = token.Key();
            if (token.length == 3) {
                for (size_t i = 0; i < kMonthAbbreviationsUpper.size(); ++i) {
                    if (key == Key4(kMonthAbbreviationsUpper[i])) return static_cast<int>(i) + 1;
                }
            }
            for (size_t i = 0; i < kLongMonthKeys.size(); ++i) {
                if (key == kLongMonthKeys[i]) return static_cast<int>(i) + 1;
            }
            return 0;
        }
        case WDate::kCalendarHebrew:
            for (size_t i = 0; i < kHebrewMonths.size(); ++i) {
                if (token.View() == kHebrewMonths[i]) return static_cast<int>(i) + 1;
            }
            return 0;
        case WDate::kCalendarFrench: {
            const uint32_t key = token.Key();
            for (size_t i = 0; i < kFrenchMonthKeys.size(); ++i) {
                if (key == kFrenchMonthKeys[i]) return static_cast<int>(i) + 1;
            }
            return 0;
        }
        default:
            return 0;  // Roman and unknown calendars have no month names
    }
}

uint16_t Low16(int32_t value) {
    return static_cast<uint16_t>(value & 0xFFFF);
}

// Reads one date part at the cursor (see WDate::SetText). Sets parseError when a word stood
// where a month name was expected and matched none.
void ParsePart(const TokenTable& table, int& cursor, WDatePart& part, bool& parseError) {
    if (cursor >= table.count) return;
    part = WDatePart{};
    const Token* tokens = table.tokens;

    if (const int escape = CalendarEscapeOf(tokens[cursor])) {
        part.calendar = static_cast<uint8_t>(escape - 1);
        const bool closed = tokens[cursor].closesWithAt;
        ++cursor;
        // An escape written with a space ("@#DFRENCH R@") continues in the next token up to
        // its closing "@"; that tail belongs to the escape, not to the date.
        if (!closed && cursor < table.count && tokens[cursor].closesWithAt) ++cursor;
    }

    const auto takeEraWord = [&]() {
        if (cursor >= table.count) return;
        const int era = EraWordOf(tokens[cursor]);
        if (era == 0) return;
        part.eraMark = era == 1 ? 1 : 0;
        ++cursor;
    };

    const auto isNumeric = [&](int i) { return i < table.count && tokens[i].numeric; };

    // Three numbers: month, day, year.
    if (isNumeric(cursor) && isNumeric(cursor + 1) && isNumeric(cursor + 2)) {
        const int32_t month = tokens[cursor].value;
        if (month < 1 || month > 12) return;
        part.month = Low16(month);
        const int32_t day = tokens[cursor + 1].value;
        if (day < 1 || day > 31) return;
        part.day = Low16(day);
        part.year = Low16(tokens[cursor + 2].value);
        cursor += 3;
        takeEraWord();
        return;
    }
    // Two numbers: month, year.
    if (isNumeric(cursor) && isNumeric(cursor + 1)) {
        const int32_t month = tokens[cursor].value;
        if (month < 1 || month > 12) return;
        part.month = Low16(month);
        part.year = Low16(tokens[cursor + 1].value);
        cursor += 2;
        takeEraWord();
        return;
    }

    // Words and numbers one by one; the token that stops the loop is left for the caller.
    bool daySeen = false;
    bool monthSeen = false;
    bool yearSeen = false;
    bool eraSeen = false;
    while (cursor < table.count && KeywordCodeOf(tokens[cursor]) == 0) {
        const Token& token = tokens[cursor];
        if (token.numeric && token.value != 65535) {
            const int32_t v = token.value;
            if (v >= 32) {
                if (yearSeen) break;
                part.year = Low16(v);
                yearSeen = true;
            } else if (!daySeen) {
                part.day = Low16(v);
                daySeen = true;
            } else if (monthSeen) {
                if (yearSeen) break;
                part.year = Low16(v);
                yearSeen = true;
            } else if (v <= 12) {
                part.month = Low16(v);
                monthSeen = true;
            } else {
                if (yearSeen) break;
                part.year = Low16(v);
                yearSeen = true;
            }
        } else if (!eraSeen && (yearSeen || daySeen) && EraWordOf(token) != 0) {
            // 'BC' or 'AD' after a year; after a lone small number ('10 BC') that number was
            // the year.
            if (!yearSeen) {
                part.year = part.day;
                part.day = 0;
                daySeen = false;
                yearSeen = true;
            }
            part.eraMark = EraWordOf(token) == 1 ? 1 : 0;
            eraSeen = true;
        } else {
            if (monthSeen) break;
            const int month = MonthOf(token, part.calendar);
            if (month == 0) {
                parseError = true;
                break;
            }
            part.month = static_cast<uint16_t>(month);
            monthSeen = true;
        }
        ++cursor;
    }
}

void AppendNumber(std::string& out, long long value) {
    out += std::to_string(value);
}

WCalendarDay SystemToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return WCalendarDay{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

WDate::TodayProvider g_todayProvider = nullptr;  // test hook; null means the system clock

}  // namespace

// ---------------------------------------------------------------------------------------------
// WDate

void WDate::SetTodayProvider(TodayProvider provider) {
    g_todayProvider = provider;
}

WCalendarDay WDate::Today() {
    return g_todayProvider ? g_todayProvider() : SystemToday();
}

void WDate::SetText(std::string_view text) {
    m_qualifier = 0;
    m_secondQualifier = 0;
    m_first = WDatePart{};
    m_second = WDatePart{};
    m_parseError = false;

    if (text.empty()) {
        m_empty = true;
        m_text.clear();
        return;
    }
    m_empty = false;

    if (text == "TODAY") {
        // "d MMM yyyy" with English month abbreviations, upper-cased.
        const WCalendarDay today = Today();
        m_first.day = Low16(today.day);
        m_first.month = Low16(today.month);
        m_first.year = Low16(today.year);
        m_text.clear();
        AppendNumber(m_text, today.day);
        m_text += ' ';
        if (today.month >= 1 && today.month <= 12) {
            m_text += kMonthAbbreviationsUpper[static_cast<size_t>(today.month - 1)];
        } else {
            AppendNumber(m_text, today.month);
        }
        m_text += ' ';
        char year[16];
        std::snprintf(year, sizeof year, "%04d", today.year);
        m_text += year;
        return;
    }

    m_text.assign(text);
    UpperCaseBytesInPlace(m_text);

    TokenTable table;
    Tokenise(m_text, table);

    int cursor = 0;
    if (const uint8_t code = KeywordCodeOf(table.tokens[0])) {
        m_qualifier = code;
        cursor = 1;
    }
    ParsePart(table, cursor, m_first, m_parseError);
    if (cursor < table.count) {
        if (const uint8_t code = KeywordCodeOf(table.tokens[cursor])) {
            m_secondQualifier = code;
            ++cursor;
        }
    }
    if (cursor < table.count) ParsePart(table, cursor, m_second, m_parseError);
}

void WDate::SetFromParts(int day, int month, int year) {
    std::string text;
    if (day != 0) {
        AppendNumber(text, day);
        text += ' ';
    }
    if (month >= 1 && month <= 12) {
        text += kMonthAbbreviationsUpper[static_cast<size_t>(month - 1)];
        text += ' ';
    }
    AppendNumber(text, year);
    SetText(text);
}

std::string WDate::DisplayText() const {
    if (m_empty) return m_text;
    static constexpr std::array<std::string_view, 12> kPrefixes = {
        "", "Bef ", "Aft ", "", "", "", "Abt ", "Est ", "Cir ", "Cal ", "", ""};
    std::string out;
    if (m_qualifier < kPrefixes.size()) out += kPrefixes[m_qualifier];
    if (m_first.day != 0) {
        AppendNumber(out, m_first.day);
        out += ' ';
    }
    if (m_first.month >= 1 && m_first.month <= 12) {
        out += kMonthAbbreviations[m_first.month - 1u];
        out += ' ';
    }
    if (m_first.year != 0) {
        AppendNumber(out, m_first.year);
        if (m_first.eraMark) out += " BC";
    }
    if (m_second.year != 0) {
        out += '/';
        AppendNumber(out, m_second.year);
        if (m_second.eraMark) out += " BC";
    }
    return out;
}

std::string_view WDate::MonthName() const {
    if (m_empty || m_first.month < 1 || m_first.month > 12) return {};
    return kMonthAbbreviations[m_first.month - 1u];
}

std::string_view WDate::QualifierLetter() const {
    switch (Qualifier()) {
        case kQualBef:
            return "b";
        case kQualAft:
            return "a";
        case kQualAbt:
        case kQualCir:
            return "c";
        case kQualEst:
            return "e";
        default:
            return {};
    }
}

int WDate::Compare(const WDate* other) const {
    if (m_empty || other == nullptr) return -2;
    const bool thisClean = !m_parseError;
    const bool otherClean = !other->m_parseError;
    if (thisClean && otherClean) {
        // An empty date counts as year, month and day 0.
        const WDatePart zero{};
        const WDatePart& a = m_first;
        const WDatePart& b = other->m_empty ? zero : other->m_first;
        // Years before the common era come first, the larger number the earlier.
        const int32_t yearA = a.eraMark ? -static_cast<int32_t>(a.year) : a.year;
        const int32_t yearB = b.eraMark ? -static_cast<int32_t>(b.year) : b.year;
        if (yearA != yearB) return yearA < yearB ? -1 : 1;
        if (a.month != b.month) return a.month < b.month ? -1 : 1;
        if (a.day != b.day) return a.day < b.day ? -1 : 1;
        const uint8_t qa = m_qualifier;
        const uint8_t qb = other->m_empty ? 0 : other->m_qualifier;
        if (qa == qb || qa >= 12 || qb >= 12) return 0;
        return kQualifierOrder[qa][qb];
    }
    if (thisClean) return 1;
    if (otherClean) return -1;
    // char_traits<char> compares as unsigned char; a prefix sorts first.
    const int result = m_text.compare(other->m_text);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int32_t WDate::DayNumber(int level) const {
    if (m_empty) return 0;
    int32_t number = 0;
    int32_t leapYear = 0;
    if (m_first.eraMark) {
        // Astronomical numbering: 1 BC is year 0, 2 BC year -1, with floor division so that
        // the count runs on evenly into the years of the common era.
        const int32_t astronomical = 1 - static_cast<int32_t>(m_first.year);
        const int32_t y = astronomical - 1;
        number = 365 * y + FloorDiv(y, 4) - FloorDiv(y, 100) + FloorDiv(y, 400);
        leapYear = astronomical;
    } else {
        const int32_t y = static_cast<int32_t>(m_first.year) - 1;
        number = 365 * y + y / 4 - y / 100 + y / 400;
        leapYear = m_first.year;
    }
    if (m_first.month >= 3 && IsLeapYear(leapYear)) number += 1;
    if (level >= 1) number += DaysBeforeMonth(m_first.month);
    if (level >= 2) number += m_first.day;
    return number;
}

bool WDate::StepDays(int64_t n) {
    if (m_empty || m_first.day == 0 || m_first.month < 1 || m_first.month > 12) return false;
    int day = m_first.day;
    int month = m_first.month;
    uint16_t year = m_first.year;
    if (n >= 0) {
        while (n > 0) {
            // Whole years at once from 1 January: that many days lead to 1 January next year.
            if (month == 1 && day == 1 && n >= DaysInYear(year)) {
                n -= DaysInYear(year);
                ++year;
                continue;
            }
            const int days = DaysInMonth(month, year);
            if (day < days) {
                const int64_t step = std::min<int64_t>(n, days - day);
                day += static_cast<int>(step);
                n -= step;
                continue;
            }
            // day + 1 exceeds the month (also a day beyond the month's end, as after AddYears
            // onto 29 February): the first of the next month.
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
            --n;
        }
    } else {
        n = -n;
        while (n > 0) {
            // Whole years at once from 31 December: that many days lead to 31 December before.
            if (month == 12 && day == 31 && n >= DaysInYear(year)) {
                n -= DaysInYear(year);
                --year;
                continue;
            }
            if (day > 1) {
                const int64_t step = std::min<int64_t>(n, day - 1);
                day -= static_cast<int>(step);
                n -= step;
                continue;
            }
            if (--month < 1) {
                month = 12;
                --year;
            }
            day = DaysInMonth(month, year);
            --n;
        }
    }
    m_first.day = static_cast<uint16_t>(day);
    m_first.month = static_cast<uint16_t>(month);
    m_first.year = year;
    return true;
}

bool WDate::StepMonths(int64_t n) {
    if (m_empty || m_first.month < 1 || m_first.month > 12) return false;
    int day = m_first.day;
    int month = m_first.month;
    uint16_t year = m_first.year;
    const int direction = n >= 0 ? 1 : -1;
    uint64_t count = n >= 0 ? static_cast<uint64_t>(n) : static_cast<uint64_t>(-n);
    // Month by month while the day may still be lowered; once it is 28 or less no month can
    // lower it, and the remaining months move month and year directly.
    while (count > 0 && day > 28) {
        month += direction;
        if (month > 12) {
            month = 1;
            ++year;
        } else if (month < 1) {
            month = 12;
            --year;
        }
        day = std::min(day, DaysInMonth(month, year));
        --count;
    }
    if (count > 0) {
        const uint64_t years = count / 12;
        const int months = static_cast<int>(count % 12);
        const uint16_t yearStep = static_cast<uint16_t>(years & 0xFFFF);
        year = static_cast<uint16_t>(direction > 0 ? year + yearStep : year - yearStep);
        month += direction * months;
        if (month > 12) {
            month -= 12;
            ++year;
        } else if (month < 1) {
            month += 12;
            --year;
        }
    }
    m_first.day = static_cast<uint16_t>(day);
    m_first.month = static_cast<uint16_t>(month);
    m_first.year = year;
    return true;
}

bool WDate::AddDays(int n) {
    return StepDays(n);
}
bool WDate::SubtractDays(int n) {
    return StepDays(-static_cast<int64_t>(n));
}
bool WDate::AddMonths(int n) {
    return StepMonths(n);
}
bool WDate::SubtractMonths(int n) {
    return StepMonths(-static_cast<int64_t>(n));
}

bool WDate::AddYears(int n) {
    if (m_empty || m_first.year == 0) return false;
    m_first.year = static_cast<uint16_t>(m_first.year + static_cast<uint16_t>(n & 0xFFFF));
    return true;
}

bool WDate::SubtractYears(int n) {
    if (m_empty || m_first.year == 0) return false;
    m_first.year = static_cast<uint16_t>(m_first.year - static_cast<uint16_t>(n & 0xFFFF));
    return true;
}

void WDate::SetDay(int day) {
    if (!m_empty) m_first.day = Low16(day);
}

void WDate::SetMonth(int month) {
    if (!m_empty) m_first.month = Low16(month);
}

// ---------------------------------------------------------------------------------------------
// WDateDiff

bool WDateDiff::Compute(const WDate* earlier, const WDate* later) {
    m_days = 0;
    m_exact = false;
    if (earlier == nullptr || later == nullptr) return false;
    if (!earlier->IsSet() || !later->IsSet() || !earlier->IsClean() || !later->IsClean()) {
        return false;
    }
    m_exact = earlier->Day() != 0 && later->Day() != 0 && earlier->Qualifier() == 0 &&
              later->Qualifier() == 0 && !earlier->HasSecondYear() && !later->HasSecondYear();
    if (m_exact) {
        m_days = earlier->DayNumber(2) - later->DayNumber(2) - 1;
    } else {
        const int level = (earlier->Month() != 0 && later->Month() != 0) ? 1 : 0;
        m_days = earlier->DayNumber(level) - later->DayNumber(level);
    }
    return true;
}

int WDateDiff::Years() const {
    // |days| / 365.25 truncated, in integers: 4 |days| / 1461.
    const int64_t magnitude = std::llabs(static_cast<int64_t>(m_days));
    return static_cast<int>(magnitude * 4 / 1461);
}

std::string WDateDiff::AgeText() const {
    std::string text = m_exact ? "" : "~";
    AppendNumber(text, Years());
    return text;
}

}  // namespace kindrel
