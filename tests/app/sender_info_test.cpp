// The Sender page's texts from a trailer.
#include "app/sender_info.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kindrel {
namespace {

// 2024-03-14 10:42 as days since 1899-12-30.
constexpr double kThursdayMorning = 45365.0 + (10 * 60 + 42) / 1440.0;

SelfViewTrailer SampleTrailer() {
    SelfViewTrailer trailer;
    trailer.title = "The Sample Family";
    trailer.senderName = "Eva";
    trailer.senderEmail = "eva@example.org";
    trailer.created = kThursdayMorning;
    trailer.fileName = "sample_family.ged";
    trailer.message = "Line one\r\nLine two\rLine three";
    return trailer;
}

TEST(SenderInfo, CreatedTimeShortAndLongForms) {
    EXPECT_EQ(FormatShortDateTime(kThursdayMorning), "Thu, Mar 14, 2024, 10:42 AM");
    EXPECT_EQ(FormatLongDateTime(kThursdayMorning), "Thursday, Mar 14, 2024, 10:42 AM");
}

TEST(SenderInfo, TwelveHourClockAroundMidnightAndNoon) {
    EXPECT_EQ(FormatShortDateTime(45365.0), "Thu, Mar 14, 2024, 12:00 AM");
    EXPECT_EQ(FormatShortDateTime(45365.5), "Thu, Mar 14, 2024, 12:00 PM");
    EXPECT_EQ(FormatShortDateTime(45365.0 + 13.5 / 24), "Thu, Mar 14, 2024, 01:30 PM");
    // The day the count starts.
    EXPECT_EQ(FormatShortDateTime(0.0), "Sat, Dec 30, 1899, 12:00 AM");
    EXPECT_EQ(FormatShortDateTime(-1.25), "Fri, Dec 29, 1899, 06:00 AM");
}

TEST(SenderInfo, ValuesOutsideTheCalendarGiveNoText) {
    EXPECT_EQ(FormatShortDateTime(std::nan("")), "");
    EXPECT_EQ(FormatShortDateTime(1e12), "");
    EXPECT_EQ(FormatLongDateTime(-1e9), "");
}

TEST(SenderInfo, MailLinkComposesSubjectAndBody) {
    EXPECT_EQ(SenderMailUrl(SampleTrailer(), "SampleFamily"),
              "mailto:eva@example.org?subject=The%20Sample%20Family%3A%20SampleFamily"
              "&body=File%3A%20SampleFamily%20created%20on%20Thursday%2C%20Mar%2014%2C%202024%2C"
              "%2010%3A42%20AM");
}

TEST(SenderInfo, MailLinkEncodesCharactersThatWouldBreakIt) {
    SelfViewTrailer trailer = SampleTrailer();
    trailer.title = "Smith & Jones? #1";
    const std::string url = SenderMailUrl(trailer, "F");
    EXPECT_NE(url.find("subject=Smith%20%26%20Jones%3F%20%231%3A%20F&body="), std::string::npos);
    EXPECT_EQ(url.find('#'), std::string::npos);
}

TEST(SenderInfo, NoEmailGivesNoMailLink) {
    SelfViewTrailer trailer = SampleTrailer();
    trailer.senderEmail.clear();
    EXPECT_EQ(SenderMailUrl(trailer, "F"), "");
}

TEST(SenderInfo, PercentEncodingKeepsUnreservedAndEncodesUtf8Bytes) {
    EXPECT_EQ(PercentEncode("aZ09-._~"), "aZ09-._~");
    EXPECT_EQ(PercentEncode("Dvo\xC5\x99\xC3\xA1k"), "Dvo%C5%99%C3%A1k");
    EXPECT_EQ(PercentEncode(""), "");
}

TEST(SenderInfo, WebLinkGetsASchemeWhenItHasNone) {
    EXPECT_EQ(SenderWebUrl(""), "");
    EXPECT_EQ(SenderWebUrl("example.org/family"), "http://example.org/family");
    EXPECT_EQ(SenderWebUrl("https://example.org"), "https://example.org");
    EXPECT_EQ(SenderWebUrl("www.example.org:8080"), "http://www.example.org:8080");
}

TEST(SenderInfo, BuildsEveryField) {
    SelfViewTrailer trailer = SampleTrailer();
    trailer.address1 = "1 Road";
    trailer.address2 = "Town";
    trailer.phone = "123";
    trailer.extractAllowed = true;
    const SenderInfo info = BuildSenderInfo(trailer, "SampleFamily");
    EXPECT_EQ(info.fileName, "sample_family.ged");
    EXPECT_EQ(info.title, "The Sample Family");
    EXPECT_EQ(info.name, "Eva");
    EXPECT_EQ(info.email, "eva@example.org");
    EXPECT_EQ(info.address1, "1 Road");
    EXPECT_EQ(info.address2, "Town");
    EXPECT_EQ(info.phone, "123");
    EXPECT_EQ(info.webSite, "");
    EXPECT_EQ(info.webUrl, "");
    EXPECT_EQ(info.created, "Thu, Mar 14, 2024, 10:42 AM");
    EXPECT_EQ(info.message, "Line one\nLine two\nLine three");
    EXPECT_TRUE(info.extractAllowed);
    EXPECT_EQ(info.mailUrl, SenderMailUrl(trailer, "SampleFamily"));
}

}  // namespace
}  // namespace kindrel
