// The HTML and RTF writers: every value escaped, characters past ASCII as RTF \uN? (with
// surrogate pairs), the page structure of both forms.
#include "reports/report_writers.h"
#include "report_test_util.h"
#include "reports/report_forms.h"

#include "model/display_options.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

TEST(ReportEscapes, HtmlEscapesMarkupCharacters) {
    EXPECT_EQ(HtmlEscape("<b>Tom & \"Ann\"</b> 'x'"),
              "&lt;b&gt;Tom &amp; &quot;Ann&quot;&lt;/b&gt; &#39;x&#39;");
    EXPECT_EQ(HtmlEscape("łЖ😀"), "łЖ😀");  // UTF-8 passes
}

TEST(ReportEscapes, RtfEscapesControlWordsAndUnicode) {
    EXPECT_EQ(RtfEscape("a\\b{c}d"), "a\\\\b\\{c\\}d");
    EXPECT_EQ(RtfEscape("ł"), "\\u322?");
    EXPECT_EQ(RtfEscape("Ж"), "\\u1046?");
    EXPECT_EQ(RtfEscape("ř"), "\\u345?");
    EXPECT_EQ(RtfEscape("\xEF\xBF\xBD"), "\\u-3?");  // U+FFFD is negative as a signed word
    // U+1F600 as the pair D83D DE00, signed.
    EXPECT_EQ(RtfEscape("😀"), "\\u-10179?\\u-8704?");
    EXPECT_EQ(RtfEscape("a\r\nb\tc"), "a  b c");
    EXPECT_EQ(RtfEscape("\xFF"), "\\u-3?");  // a stray byte
}

WReportPage HostilePage() {
    WReportPage page;
    page.number = 1;
    WPageFrame frame;
    frame.title = "Title {x}";
    frame.fileText = "<file> & \"name\"";
    frame.printTime = "9 Dec 2026 01:15 PM";
    AddPageFrame(frame, 1, page);
    WBand band;
    band.Label(5, 100, 300, "<b>Bold</b> & \"q\" {b} \\ ł Жук 😀");
    band.Fill(0, 120, 720, 16, kReportGreyRow);
    band.Label(5, 121, 300, "grey row");
    band.Rule(0, 140, 720, WRuleStyle::kDotted, kReportDividerGrey);
    for (WReportItem& item : band.items) page.items.push_back(item);
    return page;
}

TEST(ReportWriters, HtmlHoldsNoUnescapedValue) {
    WHtmlWriter html;
    const std::string text = html.Begin("a<b") + html.Page(HostilePage()) + html.End();
    EXPECT_NE(text.find("<title>a&lt;b</title>"), std::string::npos);
    EXPECT_NE(text.find("&lt;b&gt;Bold&lt;/b&gt; &amp; &quot;q&quot; {b} \\ ł Жук 😀"),
              std::string::npos);
    EXPECT_NE(text.find("File: &lt;file&gt; &amp; &quot;name&quot;"), std::string::npos);
    EXPECT_EQ(text.find("<b>"), std::string::npos);
    EXPECT_NE(text.find("border-top:1px dotted #808080"), std::string::npos);
    EXPECT_NE(text.find("background:#e0e0e0"), std::string::npos);
    EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos);
}

TEST(ReportWriters, RtfHasHeaderFooterPageFieldAndEscapedBody) {
    WRtfWriter rtf;
    const WReportPage page = HostilePage();
    const std::string text =
        rtf.Begin(page) + rtf.Page(page, false) + rtf.Page(page, true) + rtf.End();
    EXPECT_EQ(text.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(text.find("{\\header"), std::string::npos);
    EXPECT_NE(text.find("Title \\{x\\}"), std::string::npos);
    EXPECT_NE(text.find("{\\footer"), std::string::npos);
    // The rules of heading and footer sit on their rows' paragraphs (a \\pard before them
    // would drop them).
    const std::string header =
        text.substr(text.find("{\\header"), text.find("{\\footer") - text.find("{\\header"));
    EXPECT_EQ(header.rfind("{\\header\\pard\\plain\\brdrt\\brdrs", 0), 0u) << header;
    EXPECT_NE(header.find("\\brdrb\\brdrdb"), std::string::npos) << header;
    EXPECT_NE(text.find("{\\footer\\pard\\plain\\brdrt\\brdrs"), std::string::npos);
    EXPECT_NE(text.find("Page \\chpgn}"), std::string::npos);
    EXPECT_NE(text.find("<b>Bold</b> & \"q\" \\{b\\} \\\\ \\u322? \\u1046?\\u1091?\\u1082? "
                        "\\u-10179?\\u-8704?"),
              std::string::npos);
    EXPECT_NE(text.find("\\cbpat3\\shading10000"), std::string::npos);
    EXPECT_NE(text.find("\\brdrb\\brdrdot"), std::string::npos);
    // One page break between the two pages, the body's title not repeated in it.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 0);
    size_t breaks = 0;
    for (size_t at = text.find("\\page\n"); at != std::string::npos;
         at = text.find("\\page\n", at + 1))
        ++breaks;
    EXPECT_EQ(breaks, 1u);
    // Braces balance.
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
            continue;
        }
        if (text[i] == '{') ++depth;
        if (text[i] == '}') --depth;
        EXPECT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

}  // namespace
}  // namespace kindrel
