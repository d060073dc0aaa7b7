#include "app/sender_info.h"

#include "app/general_rows.h"

#include <cmath>
#include <cstdio>

namespace kindrel {

namespace {

constexpr const char* kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct DateTimeParts {
    long long year = 0;
    int month = 0;    // 1..12
    int day = 0;      // 1..31
    int weekday = 0;  // 0 = Sunday
    int hour = 0;
    int minute = 0;
};

// Days since 1970-01-01 to the proleptic Gregorian date (H. Hinnant's civil_from_days).
void CivilFromDays(long long z, long long& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = yoe + era * 400;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    if (m <= 2) ++y;
}

// Splits a date-time into its parts; false outside the years 1 to 9999 or for NaN.
bool SplitDateTime(double dateTime, DateTimeParts& parts) {
    if (!(dateTime > -693594.0 && dateTime < 2958466.0)) return false;
    // The integer part counts days and the fraction is the time of day, also for negative
    // values (-1.25 is 1899-12-29 06:00).
    long long day = static_cast<long long>(std::trunc(dateTime));
    long long seconds = std::llround(std::fabs(dateTime - static_cast<double>(day)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    constexpr long long kUnixEpochDays = 25569;  // 1970-01-01 as days since 1899-12-30
    const long long unixDays = day - kUnixEpochDays;
    CivilFromDays(unixDays, parts.year, parts.month, parts.day);
    // 1970-01-01 was a Thursday.
    parts.weekday = static_cast<int>(((unixDays % 7) + 7 + 4) % 7);
    parts.hour = static_cast<int>(seconds / 3600);
    parts.minute = static_cast<int>(seconds / 60 % 60);
    return true;
}

std::string FormatDateTime(double dateTime, bool longDayName) {
    DateTimeParts p;
    if (!SplitDateTime(dateTime, p)) return {};
    std::string dayName = kDayNames[p.weekday];
    if (!longDayName) dayName.resize(3);
    // A 12-hour clock: 0 and 12 both read 12.
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    char text[96];
    std::snprintf(text, sizeof text, "%s, %s %d, %04lld, %02d:%02d %s", dayName.c_str(),
                  kMonthNames[p.month - 1], p.day, p.year, hour12, p.minute,
                  p.hour < 12 ? "AM" : "PM");
    return text;
}

bool HasScheme(const std::string& text) {
    // "scheme://..." (letters, then letters, digits, "+", "-", "."), or a mail link. A bare
    // "host:port" is not a scheme.
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    for (size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && other)) return false;
    }
    return text.compare(colon, 3, "://") == 0 || text.compare(0, colon, "mailto") == 0;
}

}  // namespace

std::string FormatLongDateTime(double dateTime) {
    return FormatDateTime(dateTime, true);
}

std::string FormatShortDateTime(double dateTime) {
    return FormatDateTime(dateTime, false);
}

std::string PercentEncode(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string SenderMailUrl(const SelfViewTrailer& trailer, const std::string& executableName) {
    if (trailer.senderEmail.empty()) return {};
    const std::string subject = trailer.title + ": " + executableName;
    const std::string body =
        "File: " + executableName + " created on " + FormatLongDateTime(trailer.created);
    return "mailto:" + trailer.senderEmail + "?subject=" + PercentEncode(subject) +
           "&body=" + PercentEncode(body);
}

std::string SenderWebUrl(const std::string& webSite) {
    if (webSite.empty()) return {};
    return HasScheme(webSite) ? webSite : "http://" + webSite;
}

SenderInfo BuildSenderInfo(const SelfViewTrailer& trailer, const std::string& executableName) {
    SenderInfo info;
    info.fileName = trailer.fileName;
    info.title = trailer.title;
    info.name = trailer.senderName;
    info.email = trailer.senderEmail;
    info.mailUrl = SenderMailUrl(trailer, executableName);
    info.address1 = trailer.address1;
    info.address2 = trailer.address2;
    info.webSite = trailer.webSite;
    info.webUrl = SenderWebUrl(trailer.webSite);
    info.phone = trailer.phone;
    info.created = FormatShortDateTime(trailer.created);
    info.message = UnixLineBreaks(trailer.message);
    info.extractAllowed = trailer.extractAllowed;
    return info;
}

}  // namespace kindrel
