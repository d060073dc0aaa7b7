// The band model of the printed reports: items (labels, rules, fills) placed in bands, pages
// of 720 x 960 units (1/96 inch inside half-inch margins of a Letter sheet), the text metrics
// every layout measures with, and the paginator that stacks bands onto pages with a heading
// and footer on each. Plain C++: the painters, the HTML and RTF writers and the text dump
// read the same pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

// Page geometry in report units (1/96 inch).
inline constexpr int kReportPageWidth = 720;
inline constexpr int kReportPageHeight = 960;
inline constexpr int kReportMargin = 48;  // 0.5 inch on every side of the sheet
inline constexpr int kReportSheetWidth = kReportPageWidth + 2 * kReportMargin;    // 816
inline constexpr int kReportSheetHeight = kReportPageHeight + 2 * kReportMargin;  // 1056
// Text sizes in units (pixel sizes at 96 dpi).
inline constexpr int kReportTextSize = 12;
inline constexpr int kReportTitleSize = 18;
inline constexpr int kReportLineHeight = 16;
// Light grey of alternate rows (0xRRGGBB), and the grey of dotted dividers.
inline constexpr uint32_t kReportGreyRow = 0xE0E0E0;
inline constexpr uint32_t kReportDividerGrey = 0x808080;

enum class WItemKind : uint8_t { kLabel, kRule, kFill };
enum class WRuleStyle : uint8_t { kSolid, kDotted, kDouble };
enum class WAlign : uint8_t { kLeft, kCentre, kRight };

// One item of a band or page. A label is one line of plain text cut to its width; a rule is a
// horizontal line across w at y (or a vertical one when w is 0, of height h); a fill is a
// rectangle of colour.
struct WReportItem {
    WItemKind kind = WItemKind::kLabel;
    int x = 0, y = 0, w = 0, h = 0;
    std::string text;
    WAlign align = WAlign::kLeft;
    bool bold = false;
    int size = kReportTextSize;
    uint32_t colour = 0x000000;  // 0xRRGGBB: text, rule or fill colour
    WRuleStyle rule = WRuleStyle::kSolid;
    bool frame = false;  // part of the page's heading or footer
};

// A band: items with y relative to the band's top.
struct WBand {
    int height = 0;
    std::vector<WReportItem> items;
    // The band starts a new page (each pedigree chart).
    bool pageBreakBefore = false;

    // Adds a label; returns it for further settings.
    WReportItem& Label(int x, int y, int w, std::string text, bool bold = false,
                       WAlign align = WAlign::kLeft, int size = kReportTextSize);
    // Adds a horizontal rule at y from x over w.
    void Rule(int x, int y, int w, WRuleStyle style = WRuleStyle::kSolid, uint32_t colour = 0);
    // Adds a vertical rule at x from y over h.
    void VerticalRule(int x, int y, int h, uint32_t colour = 0);
    // Adds a fill behind everything added later.
    void Fill(int x, int y, int w, int h, uint32_t colour);
};

// One laid-out page: items with absolute positions inside the 720 x 960 area.
struct WReportPage {
    int number = 0;
    std::vector<WReportItem> items;
};

// Widths of text as the output draws it; every layout measures through one of these so that
// page n is the same in the preview, the print and every file.
class WTextMetrics {
  public:
    virtual ~WTextMetrics() = default;
    // Width in units of UTF-8 text in the report font at size (units), bold or not.
    virtual double TextWidth(std::string_view text, int size, bool bold) = 0;
};

// Metrics without a font: every character is 0.55 of the size wide (0.6 bold). Used by the
// text dump and wherever no font engine is at hand.
class WFixedMetrics : public WTextMetrics {
  public:
    double TextWidth(std::string_view text, int size, bool bold) override;
};

// The longest start of text (whole UTF-8 characters) that fits width.
std::string CutToWidth(WTextMetrics& metrics, std::string_view text, int width, int size,
                       bool bold);
// text broken into lines that fit width: at line breaks (CR LF, CR, LF), else at the last
// blank that fits, else inside a word. Every line holds at least one character, so the
// wrapping always ends.
std::vector<std::string> WrapToWidth(WTextMetrics& metrics, std::string_view text, int width,
                                     int size, bool bold);
// Control characters (line breaks, tabs) of a one-line value as blanks.
std::string ReportOneLine(std::string_view text);

// The heading and footer printed on every page.
struct WPageFrame {
    std::string title;
    std::string fileText;   // "File: " + this, or "Printed by Kindrel" when empty
    std::string printTime;  // "d mmm yyyy hh:mm AM/PM"
    // Title lines wrapped to the page (a long highlighting description takes several).
    std::vector<std::string> titleLines;
};

// Height of the heading with n title lines, and of the footer.
int PageHeadHeight(size_t titleLines);
inline constexpr int kPageFootHeight = 24;

// Adds the heading (title centred between a rule and a double rule) and the footer (rule,
// file text, "Page " + n, print time) of page `number` to page.
void AddPageFrame(const WPageFrame& frame, int number, WReportPage& page);

// Stacks bands onto pages below the heading and an optional column head band repeated on
// every page; a band taller than the room left is split between items, the rest continuing
// on the next page.
class WPaginator {
  public:
    WPaginator(const WPageFrame& frame, WBand columnHead);
    // Places one band.
    void Add(WBand band);
    // Ends the last page and answers all pages (at least one).
    std::vector<WReportPage> Finish();
    // The room below the heading and column head on a page.
    int BodyTop() const;
    int BodyBottom() const { return kReportPageHeight - kPageFootHeight; }

  private:
    void NewPage();
    void Place(const WBand& band, int offsetInBand, int top);

    WPageFrame m_frame;
    WBand m_columnHead;
    std::vector<WReportPage> m_pages;
    int m_y = 0;
};

// Converts 0x00BBGGRR (the highlighter's colours) to 0xRRGGBB.
uint32_t RgbFromBgr(uint32_t bgr);

}  // namespace kindrel
