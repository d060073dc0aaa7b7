// The self-viewing trailer: the last 1497 bytes of a self-viewing file, describing the
// appended payload archive and its sender.
#pragma once

#include "containers/errors.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kindrel {

// Size of the trailer in bytes (not 1496, not 1500).
inline constexpr int kTrailerSize = 1497;
// The trailer's last four bytes (EF BE AD DE on disk).
inline constexpr uint32_t kTrailerSignature = 0xDEADBEEFu;

// Widths of the fixed-width text fields, in bytes.
inline constexpr int kTrailerFileNameWidth = 64;
inline constexpr int kTrailerTitleWidth = 32;
inline constexpr int kTrailerSenderNameWidth = 64;
inline constexpr int kTrailerEmailWidth = 64;
inline constexpr int kTrailerAddressWidth = 64;
inline constexpr int kTrailerWebWidth = 64;
inline constexpr int kTrailerPhoneWidth = 32;
inline constexpr int kTrailerMessageWidth = 1024;

// The file carries no trailer signature (or is too short to carry a trailer).
class ENoGedcom : public KindrelError {
  public:
    ENoGedcom();
};

// The trailer is present but its payload offset or block count cannot be right.
class ETrailerError : public KindrelError {
  public:
    using KindrelError::KindrelError;
};

// One text field that did not fit its width on serialisation.
struct TrailerCut {
    std::string field;  // the field's label ("Title")
    int width = 0;      // its width in bytes
    std::string kept;   // the text actually stored
};

// The decoded trailer. Texts are UTF-8; integers as stored.
struct SelfViewTrailer {
    int32_t payloadOffset = 0;    // file offset of the archive's "QZLMDATA"
    int32_t blockCount = 0;       // blocks to expand
    int32_t startIndividual = 1;  // individual made active after loading (1-based)
    bool extractAllowed = false;  // the receiver may save the GEDCOM
    double created = 0;           // days since 1899-12-30, fraction = time of day
    std::string fileName;
    std::string title;
    std::string senderName;
    std::string senderEmail;
    std::string address1;
    std::string address2;
    std::string webSite;
    std::string phone;
    std::string message;

    // Decodes the 1497 bytes at bytes. Throws ENoGedcom when the signature is missing.
    // A text field ends at its first NUL or at its full width; bytes that are not UTF-8
    // are read as Windows-1252 (trailers written on Windows).
    static SelfViewTrailer FromBytes(const unsigned char* bytes);

    // Encodes the trailer. Texts longer than their field are cut at a UTF-8 character
    // boundary; each cut is appended to cuts when given.
    std::array<unsigned char, kTrailerSize> ToBytes(std::vector<TrailerCut>* cuts = nullptr) const;

    // Checks the payload offset and block count against the size of the file that carries
    // the trailer. Throws ETrailerError naming what is wrong.
    void CheckAgainstFileSize(long long fileSize) const;
};

// A trailer read from a file, with the figures that follow from the file's size.
struct SelfViewFileInfo {
    SelfViewTrailer trailer;
    long long fileSize = 0;
    long long payloadBytes = 0;  // fileSize - payloadOffset - kTrailerSize
};

// Reads and checks the trailer of the open file fd. Throws ENoGedcom (too short, no
// signature), ETrailerError (offset or block count outside the file) or EFileError.
SelfViewFileInfo ReadSelfViewTrailer(int fd, const std::string& fileName);

// Opens fileName and reads its trailer as above.
SelfViewFileInfo ReadSelfViewTrailer(const std::string& fileName);

// The current local date-time as days since 1899-12-30 (fraction = time of day).
double DateTimeNow();

// Converts a Unix time to local days since 1899-12-30.
double DateTimeFromUnix(long long unixSeconds);

// Formats days since 1899-12-30 as "yyyy-mm-dd hh:mm:ss"; values outside the years
// 1 to 9999 (or not a number) give "invalid (<value>)".
std::string FormatIsoDateTime(double dateTime);

// Cuts text to at most maxBytes bytes without splitting a UTF-8 character.
std::string CutUtf8(const std::string& text, size_t maxBytes);

}  // namespace kindrel
