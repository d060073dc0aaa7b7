#include "services/self_view_trailer.h"

#include "services_test_util.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>

namespace kindrel {
namespace {

using test::ReadFileText;
using test::ScratchDir;
using test::WriteFileText;

const char* const kNoGedcomText =
    "Error: This Self-Viewing file does not contain a GEDCOM.\n\rPlease contact the person that "
    "created this file";

SelfViewTrailer FullTrailer() {
    SelfViewTrailer t;
    t.payloadOffset = 123456;
    t.blockCount = 3;
    t.startIndividual = 42;
    t.extractAllowed = true;
    t.created = 45000.75;
    t.fileName = "family.ged";
    t.title = "The Müller Family";
    t.senderName = "Anna Smith";
    t.senderEmail = "anna@example.org";
    t.address1 = "1 Main Street";
    t.address2 = "Springfield";
    t.webSite = "https://example.org/family";
    t.phone = "+1 555 0100";
    t.message = "Hello,\r\nhere is our tree.\r\nAnna";
    return t;
}

void ExpectSameTrailer(const SelfViewTrailer& a, const SelfViewTrailer& b) {
    EXPECT_EQ(a.payloadOffset, b.payloadOffset);
    EXPECT_EQ(a.blockCount, b.blockCount);
    EXPECT_EQ(a.startIndividual, b.startIndividual);
    EXPECT_EQ(a.extractAllowed, b.extractAllowed);
    EXPECT_EQ(a.created, b.created);
    EXPECT_EQ(a.fileName, b.fileName);
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.senderName, b.senderName);
    EXPECT_EQ(a.senderEmail, b.senderEmail);
    EXPECT_EQ(a.address1, b.address1);
    EXPECT_EQ(a.address2, b.address2);
    EXPECT_EQ(a.webSite, b.webSite);
    EXPECT_EQ(a.phone, b.phone);
    EXPECT_EQ(a.message, b.message);
}

// A file of payloadBytes filler bytes behind offset bytes of "viewer", then the trailer.
std::string SelfViewFile(SelfViewTrailer t, int viewerBytes, int payloadBytes) {
    t.payloadOffset = viewerBytes;
    const auto bytes = t.ToBytes();
    return std::string(static_cast<size_t>(viewerBytes), 'V') +
           std::string(static_cast<size_t>(payloadBytes), 'P') +
           std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(SelfViewTrailerTest, RoundTripKeepsEveryField) {
    const SelfViewTrailer t = FullTrailer();
    std::vector<TrailerCut> cuts;
    const auto bytes = t.ToBytes(&cuts);
    EXPECT_TRUE(cuts.empty());
    ExpectSameTrailer(SelfViewTrailer::FromBytes(bytes.data()), t);
}

TEST(SelfViewTrailerTest, FieldsSitAtTheirOffsetsLittleEndian) {
    const auto b = FullTrailer().ToBytes();
    ASSERT_EQ(b.size(), 1497u);
    EXPECT_EQ(b[0], 0x40);  // 123456 = 0x0001E240
    EXPECT_EQ(b[1], 0xE2);
    EXPECT_EQ(b[2], 0x01);
    EXPECT_EQ(b[3], 0x00);
    EXPECT_EQ(b[4], 3);
    EXPECT_EQ(b[8], 42);
    EXPECT_EQ(b[12], 1);
    double created;
    std::memcpy(&created, &b[13], 8);
    EXPECT_EQ(created, 45000.75);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[21])), "family.ged");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[85])), "The Müller Family");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[117])), "Anna Smith");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[181])), "anna@example.org");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[245])), "1 Main Street");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[309])), "Springfield");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[373])), "https://example.org/family");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[437])), "+1 555 0100");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[469])), FullTrailer().message);
    EXPECT_EQ(b[1493], 0xEF);
    EXPECT_EQ(b[1494], 0xBE);
    EXPECT_EQ(b[1495], 0xAD);
    EXPECT_EQ(b[1496], 0xDE);
}

TEST(SelfViewTrailerTest, FieldFilledToFullWidthWithoutNulReadsAtFullWidth) {
    auto b = FullTrailer().ToBytes();
    std::memset(&b[85], 'T', 32);     // title, 32 bytes, no NUL; the sender name follows
    std::memset(&b[469], 'M', 1024);  // message up to the signature
    const SelfViewTrailer t = SelfViewTrailer::FromBytes(b.data());
    EXPECT_EQ(t.title, std::string(32, 'T'));
    EXPECT_EQ(t.senderName, "Anna Smith");
    EXPECT_EQ(t.message, std::string(1024, 'M'));
}

TEST(SelfViewTrailerTest, TextAtFullWidthIsStoredWithoutCut) {
    SelfViewTrailer t = FullTrailer();
    t.phone = std::string(32, '9');
    std::vector<TrailerCut> cuts;
    const auto b = t.ToBytes(&cuts);
    EXPECT_TRUE(cuts.empty());
    EXPECT_EQ(SelfViewTrailer::FromBytes(b.data()).phone, t.phone);
}

TEST(SelfViewTrailerTest, LongTextIsCutAtCharacterBoundaryAndReported) {
    SelfViewTrailer t = FullTrailer();
    t.title = std::string(31, 'a') + "é and more";  // "é" occupies bytes 32 and 33
    t.message = std::string(1023, 'm') + "€";       // "€" is three bytes
    std::vector<TrailerCut> cuts;
    const auto b = t.ToBytes(&cuts);
    ASSERT_EQ(cuts.size(), 2u);
    EXPECT_EQ(cuts[0].field, "Title");
    EXPECT_EQ(cuts[0].width, 32);
    EXPECT_EQ(cuts[0].kept, std::string(31, 'a'));
    EXPECT_EQ(cuts[1].field, "Message");
    EXPECT_EQ(cuts[1].kept, std::string(1023, 'm'));
    const SelfViewTrailer back = SelfViewTrailer::FromBytes(b.data());
    EXPECT_EQ(back.title, std::string(31, 'a'));
    EXPECT_EQ(back.message, std::string(1023, 'm'));
    EXPECT_EQ(back.senderName, "Anna Smith");
}

TEST(SelfViewTrailerTest, CutUtf8KeepsWholeCharacters) {
    EXPECT_EQ(CutUtf8("abc", 5), "abc");
    EXPECT_EQ(CutUtf8("abc", 3), "abc");
    EXPECT_EQ(CutUtf8("ab€", 4), "ab");
    EXPECT_EQ(CutUtf8("ab€", 5), "ab€");
    EXPECT_EQ(CutUtf8("😀x", 3), "");
    EXPECT_EQ(CutUtf8("😀x", 4), "😀");
}

TEST(SelfViewTrailerTest, WindowsBytesReadAsWindows1252) {
    auto b = FullTrailer().ToBytes();
    std::memset(&b[117], 0, 64);
    const unsigned char name[] = {'R', 0xE9, 'n', 0xE9, ' ', 0x80, 0x93};
    std::memcpy(&b[117], name, sizeof name);
    EXPECT_EQ(SelfViewTrailer::FromBytes(b.data()).senderName, "Réné €“");
}

TEST(SelfViewTrailerTest, MissingSignatureGivesTheNoGedcomMessage) {
    auto b = FullTrailer().ToBytes();
    b[1496] = 0xDF;
    try {
        SelfViewTrailer::FromBytes(b.data());
        FAIL() << "no error";
    } catch (const ENoGedcom& e) {
        EXPECT_STREQ(e.what(), kNoGedcomText);
    }
}

TEST(SelfViewTrailerTest, FileWithoutSignatureGivesTheNoGedcomMessage) {
    ScratchDir dir;
    WriteFileText(dir / "plain", std::string(5000, 'x'));
    try {
        ReadSelfViewTrailer(dir / "plain");
        FAIL() << "no error";
    } catch (const ENoGedcom& e) {
        EXPECT_STREQ(e.what(), kNoGedcomText);
    }
}

TEST(SelfViewTrailerTest, FileShorterThanTrailerGivesTheNoGedcomMessage) {
    ScratchDir dir;
    const auto b = FullTrailer().ToBytes();
    // The last 1496 bytes of a trailer: the signature is there, the trailer is not whole.
    WriteFileText(dir / "short", std::string(reinterpret_cast<const char*>(b.data()) + 1, 1496));
    EXPECT_THROW(ReadSelfViewTrailer(dir / "short"), ENoGedcom);
    WriteFileText(dir / "empty", "");
    EXPECT_THROW(ReadSelfViewTrailer(dir / "empty"), ENoGedcom);
}

TEST(SelfViewTrailerTest, ReadsTrailerFromEndOfFile) {
    ScratchDir dir;
    WriteFileText(dir / "sv", SelfViewFile(FullTrailer(), 1000, 500));
    const SelfViewFileInfo info = ReadSelfViewTrailer(dir / "sv");
    EXPECT_EQ(info.trailer.payloadOffset, 1000);
    EXPECT_EQ(info.fileSize, 1000 + 500 + 1497);
    EXPECT_EQ(info.payloadBytes, 500);
    EXPECT_EQ(info.trailer.title, "The Müller Family");
}

TEST(SelfViewTrailerTest, MissingFileIsAFileError) {
    ScratchDir dir;
    EXPECT_THROW(ReadSelfViewTrailer(dir / "missing"), EFileError);
}

TEST(SelfViewTrailerTest, PayloadOffsetOutsideFileIsRejected) {
    SelfViewTrailer t = FullTrailer();
    t.blockCount = 1;
    const long long size = 1000 + 24 + 1497;
    t.payloadOffset = -1;
    EXPECT_THROW(t.CheckAgainstFileSize(size), ETrailerError);
    t.payloadOffset = static_cast<int32_t>(size);
    EXPECT_THROW(t.CheckAgainstFileSize(size), ETrailerError);
    t.payloadOffset = 1000 + 24 - 7;  // fewer than the 8 bytes "QZLMDATA" before the trailer
    EXPECT_THROW(t.CheckAgainstFileSize(size), ETrailerError);
    t.payloadOffset = INT32_MAX;
    EXPECT_THROW(t.CheckAgainstFileSize(size), ETrailerError);
    t.payloadOffset = 1000;
    EXPECT_NO_THROW(t.CheckAgainstFileSize(size));
    t.payloadOffset = 0;
    EXPECT_NO_THROW(t.CheckAgainstFileSize(size));
}

TEST(SelfViewTrailerTest, BlockCountThatCannotFitThePayloadIsRejected) {
    SelfViewTrailer t = FullTrailer();
    t.payloadOffset = 100;
    const long long size = 100 + 4 + 2 * 20 + 1497;  // room for exactly two block headers
    for (int32_t blocks : {0, -1, 3, INT32_MAX, INT32_MIN}) {
        t.blockCount = blocks;
        EXPECT_THROW(t.CheckAgainstFileSize(size), ETrailerError) << blocks;
    }
    t.blockCount = 2;
    EXPECT_NO_THROW(t.CheckAgainstFileSize(size));
}

TEST(SelfViewTrailerTest, DamagedTrailerInFileNamesTheProblem) {
    ScratchDir dir;
    SelfViewTrailer t = FullTrailer();
    t.blockCount = 1000;
    WriteFileText(dir / "sv", SelfViewFile(t, 10, 100));
    try {
        ReadSelfViewTrailer(dir / "sv");
        FAIL() << "no error";
    } catch (const ETrailerError& e) {
        EXPECT_NE(std::string(e.what()).find("block count (1000)"), std::string::npos) << e.what();
    }
}

TEST(SelfViewTrailerTest, IsoFormatOfCreationTime) {
    EXPECT_EQ(FormatIsoDateTime(0), "1899-12-30 00:00:00");
    EXPECT_EQ(FormatIsoDateTime(45000.5), "2023-03-15 12:00:00");
    EXPECT_EQ(FormatIsoDateTime(2.0 + 1.0 / 24 + 1.0 / 1440 + 1.0 / 86400), "1900-01-01 01:01:01");
    EXPECT_EQ(FormatIsoDateTime(-1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(FormatIsoDateTime(45000.99999999), "2023-03-16 00:00:00");
    EXPECT_EQ(FormatIsoDateTime(std::nan("")).substr(0, 7), "invalid");
    EXPECT_EQ(FormatIsoDateTime(1e300).substr(0, 7), "invalid");
    EXPECT_EQ(FormatIsoDateTime(-1e9).substr(0, 7), "invalid");
}

TEST(SelfViewTrailerTest, UnixTimeConvertsToDaysSince1899) {
    test::ScopedEnv tz("TZ", "UTC");
    tzset();
    EXPECT_EQ(DateTimeFromUnix(0), 25569.0);
    EXPECT_EQ(FormatIsoDateTime(DateTimeFromUnix(1700000000)), "2023-11-14 22:13:20");
    const double now = DateTimeNow();
    EXPECT_GT(now, 45000.0);
}

}  // namespace
}  // namespace kindrel
