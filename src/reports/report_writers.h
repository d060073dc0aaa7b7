// The HTML and RTF forms of report pages, written page by page: Begin, then Page for each
// page, then End; the caller writes each piece where it wants (a file, a test string). Every
// value is escaped; texts are plain file text.
#pragma once

#include "reports/report_model.h"

#include <string>
#include <string_view>

namespace kindrel {

// "&amp;", "&lt;", "&gt;", "&quot;" and "&#39;" for the characters that HTML reads as markup.
std::string HtmlEscape(std::string_view text);
// "\\", "\{", "\}" escaped; characters past ASCII as \uN? (UTF-16, surrogate pairs for
// characters past U+FFFF; N signed as RTF reads it); control characters as blanks.
std::string RtfEscape(std::string_view text);

// HTML 5 in UTF-8: one box of 720 x 960 px per page (1 unit = 1 px), items placed absolutely
// by a style sheet, a page break between pages when printed.
class WHtmlWriter {
  public:
    std::string Begin(const std::string& title) const;
    std::string Page(const WReportPage& page) const;
    std::string End() const;
};

// RTF for word processors: Letter with half-inch margins, 15 twips a unit; the first page's
// heading and footer become \header and \footer (page number by \chpgn); each page's rows of
// labels become paragraphs with tab stops at the labels' places, rules become paragraph
// borders, fills shading; \page between pages.
class WRtfWriter {
  public:
    std::string Begin(const WReportPage& firstPage) const;
    std::string Page(const WReportPage& page, bool last) const;
    std::string End() const;
};

}  // namespace kindrel
