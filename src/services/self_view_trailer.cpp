#include "services/self_view_trailer.h"

#include "services/posix_file.h"

#include <sys/stat.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace kindrel {

namespace {

// Field offsets inside the trailer.
constexpr int kOffPayload = 0;
constexpr int kOffBlocks = 4;
constexpr int kOffStart = 8;
constexpr int kOffExtract = 12;
constexpr int kOffCreated = 13;
constexpr int kOffFileName = 21;
constexpr int kOffTitle = 85;
constexpr int kOffSenderName = 117;
constexpr int kOffEmail = 181;
constexpr int kOffAddress1 = 245;
constexpr int kOffAddress2 = 309;
constexpr int kOffWeb = 373;
constexpr int kOffPhone = 437;
constexpr int kOffMessage = 469;
constexpr int kOffSignature = 1493;
static_assert(kOffMessage + kTrailerMessageWidth == kOffSignature);
static_assert(kOffSignature + 4 == kTrailerSize);

// The archive starts with "QZLM" and each block with a 20-byte header.
constexpr long long kArchiveSignatureBytes = 4;
constexpr long long kBlockHeaderBytes = 20;

// Days from 1899-12-30 to 1970-01-01.
constexpr double kUnixEpochDays = 25569.0;

uint32_t GetU32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void PutU32(unsigned char* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

double GetDouble(const unsigned char* p) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void PutDouble(unsigned char* p, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(bits >> (8 * i));
}

// True when bytes[0..size) is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const unsigned char* s, size_t size) {
    size_t i = 0;
    while (i < size) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (size - i <= static_cast<size_t>(extra)) return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = s[i + k];
            if ((cc & 0xC0) != 0x80) return false;
            cp = cp << 6 | (cc & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Windows-1252 code points of the bytes 0x80 to 0x9F (the five unassigned ones map to the
// C1 control of the same number, as Windows does).
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The text of a fixed-width field: up to the first NUL or the full width, as UTF-8.
std::string ReadField(const unsigned char* p, int width) {
    size_t size = 0;
    while (size < static_cast<size_t>(width) && p[size] != 0) ++size;
    if (IsUtf8(p, size)) return std::string(reinterpret_cast<const char*>(p), size);
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = p[i];
        AppendUtf8(out, c >= 0x80 && c <= 0x9F ? kCp1252High[c - 0x80] : c);
    }
    return out;
}

void WriteField(unsigned char* p, int width, const std::string& text, const char* label,
                std::vector<TrailerCut>* cuts) {
    // A NUL would end the field early on reading; the text ends there already.
    const std::string plain = text.substr(0, text.find('\0'));
    const std::string kept = CutUtf8(plain, static_cast<size_t>(width));
    if (kept.size() < plain.size() && cuts) cuts->push_back(TrailerCut{label, width, kept});
    std::memcpy(p, kept.data(), kept.size());
}

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

// The inverse of DaysFromCivil.
void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

}  // namespace

ENoGedcom::ENoGedcom()
    : KindrelError(
          "Error: This Self-Viewing file does not contain a GEDCOM.\n\rPlease contact the person "
          "that created this file") {}

std::string CutUtf8(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t cut = maxBytes;
    // Step back over continuation bytes so the character that straddles the limit goes whole.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

SelfViewTrailer SelfViewTrailer::FromBytes(const unsigned char* bytes) {
    if (GetU32(bytes + kOffSignature) != kTrailerSignature) throw ENoGedcom();
    SelfViewTrailer t;
    t.payloadOffset = static_cast<int32_t>(GetU32(bytes + kOffPayload));
    t.blockCount = static_cast<int32_t>(GetU32(bytes + kOffBlocks));
    t.startIndividual = static_cast<int32_t>(GetU32(bytes + kOffStart));
    t.extractAllowed = bytes[kOffExtract] != 0;
    t.created = GetDouble(bytes + kOffCreated);
    t.fileName = ReadField(bytes + kOffFileName, kTrailerFileNameWidth);
    t.title = ReadField(bytes + kOffTitle, kTrailerTitleWidth);
    t.senderName = ReadField(bytes + kOffSenderName, kTrailerSenderNameWidth);
    t.senderEmail = ReadField(bytes + kOffEmail, kTrailerEmailWidth);
    t.address1 = ReadField(bytes + kOffAddress1, kTrailerAddressWidth);
    t.address2 = ReadField(bytes + kOffAddress2, kTrailerAddressWidth);
    t.webSite = ReadField(bytes + kOffWeb, kTrailerWebWidth);
    t.phone = ReadField(bytes + kOffPhone, kTrailerPhoneWidth);
    t.message = ReadField(bytes + kOffMessage, kTrailerMessageWidth);
    return t;
}

std::array<unsigned char, kTrailerSize> SelfViewTrailer::ToBytes(
    std::vector<TrailerCut>* cuts) const {
    std::array<unsigned char, kTrailerSize> out{};
    unsigned char* p = out.data();
    PutU32(p + kOffPayload, static_cast<uint32_t>(payloadOffset));
    PutU32(p + kOffBlocks, static_cast<uint32_t>(blockCount));
    PutU32(p + kOffStart, static_cast<uint32_t>(startIndividual));
    p[kOffExtract] = extractAllowed ? 1 : 0;
    PutDouble(p + kOffCreated, created);
    WriteField(p + kOffFileName, kTrailerFileNameWidth, fileName, "File name", cuts);
    WriteField(p + kOffTitle, kTrailerTitleWidth, title, "Title", cuts);
    WriteField(p + kOffSenderName, kTrailerSenderNameWidth, senderName, "Sender name", cuts);
    WriteField(p + kOffEmail, kTrailerEmailWidth, senderEmail, "E-mail", cuts);
    WriteField(p + kOffAddress1, kTrailerAddressWidth, address1, "Address 1", cuts);
    WriteField(p + kOffAddress2, kTrailerAddressWidth, address2, "Address 2", cuts);
    WriteField(p + kOffWeb, kTrailerWebWidth, webSite, "Web site", cuts);
    WriteField(p + kOffPhone, kTrailerPhoneWidth, phone, "Phone", cuts);
    WriteField(p + kOffMessage, kTrailerMessageWidth, message, "Message", cuts);
    PutU32(p + kOffSignature, kTrailerSignature);
    return out;
}

void SelfViewTrailer::CheckAgainstFileSize(long long fileSize) const {
    if (fileSize < kTrailerSize) throw ENoGedcom();
    const long long payloadEnd = fileSize - kTrailerSize;
    // The archive needs at least its "QZLMDATA" before the trailer starts.
    if (payloadOffset < 0 || static_cast<long long>(payloadOffset) + 8 > payloadEnd)
        throw ETrailerError("This Self-Viewing file is damaged: its payload offset (" +
                            std::to_string(payloadOffset) + ") lies outside the file (" +
                            std::to_string(fileSize) + " bytes).");
    const long long payloadBytes = payloadEnd - payloadOffset;
    const long long maxBlocks = (payloadBytes - kArchiveSignatureBytes) / kBlockHeaderBytes;
    if (blockCount < 1 || blockCount > maxBlocks)
        throw ETrailerError("This Self-Viewing file is damaged: its block count (" +
                            std::to_string(blockCount) + ") does not fit its payload of " +
                            std::to_string(payloadBytes) + " bytes.");
}

SelfViewFileInfo ReadSelfViewTrailer(int fd, const std::string& fileName) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) throw EFileError(fileName);
    if (!S_ISREG(st.st_mode) || st.st_size < kTrailerSize) throw ENoGedcom();
    std::array<unsigned char, kTrailerSize> bytes{};
    const ssize_t got = ReadAt(fd, bytes.data(), bytes.size(), st.st_size - kTrailerSize);
    if (got < 0) throw EFileError(fileName);
    if (got != kTrailerSize) throw ENoGedcom();  // the file shrank under us
    SelfViewFileInfo info;
    info.trailer = SelfViewTrailer::FromBytes(bytes.data());
    info.trailer.CheckAgainstFileSize(st.st_size);
    info.fileSize = st.st_size;
    info.payloadBytes = st.st_size - kTrailerSize - info.trailer.payloadOffset;
    return info;
}

SelfViewFileInfo ReadSelfViewTrailer(const std::string& fileName) {
    const WUniqueFd fd = OpenForReading(fileName);
    if (!fd.IsOpen()) throw EFileError(fileName);
    return ReadSelfViewTrailer(fd.Get(), fileName);
}

double DateTimeFromUnix(long long unixSeconds) {
    const time_t t = static_cast<time_t>(unixSeconds);
    struct tm local {};
    if (!localtime_r(&t, &local)) return kUnixEpochDays + static_cast<double>(unixSeconds) / 86400;
    const long long days =
        DaysFromCivil(local.tm_year + 1900LL, static_cast<unsigned>(local.tm_mon + 1),
                      static_cast<unsigned>(local.tm_mday));
    const int seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return static_cast<double>(days) + kUnixEpochDays + seconds / 86400.0;
}

double DateTimeNow() {
    return DateTimeFromUnix(static_cast<long long>(std::time(nullptr)));
}

std::string FormatIsoDateTime(double dateTime) {
    // Years 1 to 9999 only: everything else (and NaN) is not a date a packer wrote.
    if (!(dateTime > -693594.0 && dateTime < 2958466.0)) {
        char raw[64];
        std::snprintf(raw, sizeof raw, "invalid (%g)", dateTime);
        return raw;
    }
    // The integer part counts days and the fraction is the time of day, also for negative
    // values (-1.25 is 1899-12-29 06:00).
    long long day = static_cast<long long>(std::trunc(dateTime));
    long long seconds = std::llround(std::fabs(dateTime - static_cast<double>(day)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    long long y;
    unsigned m, d;
    CivilFromDays(day - static_cast<long long>(kUnixEpochDays), y, m, d);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld", y, m, d,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

}  // namespace kindrel
