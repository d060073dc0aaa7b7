#include "reports/report_model.h"

#include <algorithm>
#include <utility>

namespace kindrel {

namespace {

// Length of the UTF-8 character that starts with byte c (1 for stray bytes).
size_t CharLength(unsigned char c) {
    if (c >= 0xF0 && c < 0xF8) return 4;
    if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
    if (c >= 0xC0) return 2;
    return 1;
}

// Ends of whole characters in text[from, to): the offset after the first k characters.
size_t AdvanceChars(std::string_view text, size_t from, size_t count) {
    size_t at = from;
    while (count-- > 0 && at < text.size())
        at = std::min(text.size(), at + CharLength(static_cast<unsigned char>(text[at])));
    return at;
}

size_t CharCount(std::string_view text) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); ++count)
        at += CharLength(static_cast<unsigned char>(text[at]));
    return count;
}

// The number of characters of text from `from` that fit width (binary search; widths grow
// with the characters taken).
size_t FittingChars(WTextMetrics& metrics, std::string_view text, int width, int size, bool bold) {
    size_t low = 0;
    size_t high = CharCount(text);
    if (metrics.TextWidth(text, size, bold) <= width) return high;
    while (low < high) {
        const size_t mid = (low + high + 1) / 2;
        if (metrics.TextWidth(text.substr(0, AdvanceChars(text, 0, mid)), size, bold) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

}  // namespace

WReportItem& WBand::Label(int x, int y, int w, std::string text, bool bold, WAlign align,
                          int size) {
    WReportItem item;
    item.kind = WItemKind::kLabel;
    item.x = x;
    item.y = y;
    item.w = w;
    item.h = size + 4;
    item.text = std::move(text);
    item.bold = bold;
    item.align = align;
    item.size = size;
    items.push_back(std::move(item));
    return items.back();
}

void WBand::Rule(int x, int y, int w, WRuleStyle style, uint32_t colour) {
    WReportItem item;
    item.kind = WItemKind::kRule;
    item.x = x;
    item.y = y;
    item.w = w;
    item.h = style == WRuleStyle::kDouble ? 3 : 1;
    item.rule = style;
    item.colour = colour;
    items.push_back(std::move(item));
}

void WBand::VerticalRule(int x, int y, int h, uint32_t colour) {
    WReportItem item;
    item.kind = WItemKind::kRule;
    item.x = x;
    item.y = y;
    item.w = 0;
    item.h = h;
    item.colour = colour;
    items.push_back(std::move(item));
}

void WBand::Fill(int x, int y, int w, int h, uint32_t colour) {
    WReportItem item;
    item.kind = WItemKind::kFill;
    item.x = x;
    item.y = y;
    item.w = w;
    item.h = h;
    item.colour = colour;
    items.push_back(std::move(item));
}

double WFixedMetrics::TextWidth(std::string_view text, int size, bool bold) {
    return static_cast<double>(CharCount(text)) * size * (bold ? 0.6 : 0.55);
}

std::string CutToWidth(WTextMetrics& metrics, std::string_view text, int width, int size,
                       bool bold) {
    if (width <= 0) return {};
    return std::string(text.substr(0, AdvanceChars(text, 0, FittingChars(metrics, text, width,
                                                                         size, bold))));
}

std::vector<std::string> WrapToWidth(WTextMetrics& metrics, std::string_view text, int width,
                                     int size, bool bold) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view para = text.substr(start, end - start);
        while (true) {
            const size_t fit = FittingChars(metrics, para, width, size, bold);
            const size_t fitEnd = AdvanceChars(para, 0, fit);
            if (fitEnd >= para.size()) {
                lines.emplace_back(para);
                break;
            }
            // Break at the last blank that fits; a word longer than the line is broken inside.
            size_t cut = para.rfind(' ', fitEnd);
            size_t next = cut + 1;
            if (cut == std::string_view::npos || cut == 0) {
                cut = std::max(fitEnd, AdvanceChars(para, 0, 1));
                next = cut;
            }
            lines.emplace_back(para.substr(0, cut));
            para = para.substr(next);
            if (para.empty()) break;
        }
        if (end >= text.size()) break;
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::string ReportOneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

int PageHeadHeight(size_t titleLines) {
    return 14 + static_cast<int>(std::max<size_t>(1, titleLines)) * 22;
}

void AddPageFrame(const WPageFrame& frame, int number, WReportPage& page) {
    WBand head;
    head.Rule(0, 0, kReportPageWidth);
    const std::vector<std::string> single{frame.title};
    const std::vector<std::string>& lines = frame.titleLines.empty() ? single : frame.titleLines;
    int y = 5;
    for (const std::string& line : lines) {
        head.Label(0, y, kReportPageWidth, line, true, WAlign::kCentre, kReportTitleSize);
        y += 22;
    }
    head.Rule(0, y + 3, kReportPageWidth, WRuleStyle::kDouble);
    for (WReportItem& item : head.items) {
        item.frame = true;
        page.items.push_back(std::move(item));
    }

    const int top = kReportPageHeight - kPageFootHeight;
    WBand foot;
    foot.Rule(0, top + 2, kReportPageWidth);
    foot.Label(0, top + 6, 300,
               frame.fileText.empty() ? std::string("Printed by Kindrel")
                                      : "File: " + ReportOneLine(frame.fileText));
    foot.Label(300, top + 6, 120, "Page " + std::to_string(number), false, WAlign::kCentre);
    foot.Label(420, top + 6, 300, frame.printTime, false, WAlign::kRight);
    for (WReportItem& item : foot.items) {
        item.frame = true;
        page.items.push_back(std::move(item));
    }
}

WPaginator::WPaginator(const WPageFrame& frame, WBand columnHead)
    : m_frame(frame), m_columnHead(std::move(columnHead)) {}

int WPaginator::BodyTop() const {
    return PageHeadHeight(m_frame.titleLines.size()) + m_columnHead.height;
}

void WPaginator::NewPage() {
    WReportPage page;
    page.number = static_cast<int>(m_pages.size()) + 1;
    AddPageFrame(m_frame, page.number, page);
    const int headTop = PageHeadHeight(m_frame.titleLines.size());
    for (WReportItem item : m_columnHead.items) {
        item.y += headTop;
        page.items.push_back(std::move(item));
    }
    m_pages.push_back(std::move(page));
    m_y = BodyTop();
}

void WPaginator::Place(const WBand& band, int offsetInBand, int top) {
    for (const WReportItem& item : band.items) {
        if (item.y < offsetInBand) continue;
        WReportItem placed = item;
        placed.y = item.y - offsetInBand + top;
        m_pages.back().items.push_back(std::move(placed));
    }
}

void WPaginator::Add(WBand band) {
    if (m_pages.empty() || (band.pageBreakBefore && m_y > BodyTop())) NewPage();
    const int room = BodyBottom() - BodyTop();
    int offset = 0;  // the part of the band already placed
    while (band.height - offset > BodyBottom() - m_y) {
        if (band.height - offset <= room && m_y > BodyTop()) {
            NewPage();  // fits whole on a fresh page
            continue;
        }
        // Split: the items that start and end within the room stay here, the rest moves on.
        const int limit = offset + (BodyBottom() - m_y);
        int cut = limit;
        for (const WReportItem& item : band.items)
            if (item.y >= offset && item.y < limit && item.y + item.h > limit)
                cut = std::min(cut, item.y);
        if (cut <= offset) cut = limit;  // an item taller than a page is cut where it must be
        for (const WReportItem& item : band.items) {
            if (item.y < offset || item.y >= cut) continue;
            WReportItem placed = item;
            placed.y = item.y - offset + m_y;
            if (placed.kind == WItemKind::kFill) placed.h = std::min(placed.h, cut - item.y);
            m_pages.back().items.push_back(std::move(placed));
        }
        // Fills that began above the cut continue on the next page.
        for (WReportItem& item : band.items)
            if (item.kind == WItemKind::kFill && item.y < cut && item.y + item.h > cut) {
                item.h = item.y + item.h - cut;
                item.y = cut;
            }
        offset = cut;
        NewPage();
    }
    Place(band, offset, m_y);
    m_y += band.height - offset;
}

std::vector<WReportPage> WPaginator::Finish() {
    if (m_pages.empty()) NewPage();
    return std::move(m_pages);
}

uint32_t RgbFromBgr(uint32_t bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

}  // namespace kindrel
