#include "reports/report_writers.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace kindrel {

namespace {

constexpr int kTwipsPerUnit = 15;

std::string Css(uint32_t rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

// Decodes one UTF-8 character at text[at]; invalid bytes give U+FFFD and advance by one.
uint32_t NextCodePoint(std::string_view text, size_t& at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char c = byte(at);
    size_t length = c < 0x80 ? 1 : c >= 0xF0 && c < 0xF8 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return 0xFFFD;
    }
    uint32_t value = length == 1 ? c : c & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return 0xFFFD;
        }
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    at += length;
    return value;
}

void AppendRtfUnit(std::string& out, uint32_t unit) {
    out += "\\u" + std::to_string(static_cast<int16_t>(static_cast<uint16_t>(unit))) + "?";
}

// Colours of the RTF colour table, 1-based as \cf reads them.
const uint32_t kRtfColours[] = {0x000000, kReportDividerGrey, kReportGreyRow, 0x606060};

int RtfColour(uint32_t rgb) {
    for (size_t i = 0; i < std::size(kRtfColours); ++i)
        if (kRtfColours[i] == rgb) return static_cast<int>(i) + 1;
    return 1;
}

const char* RtfBorder(WRuleStyle style) {
    switch (style) {
        case WRuleStyle::kDotted: return "\\brdrdot";
        case WRuleStyle::kDouble: return "\\brdrdb";
        case WRuleStyle::kSolid: break;
    }
    return "\\brdrs";
}

// A paragraph of the labels of one row, tab stops at their places.
std::string RtfRow(const std::vector<const WReportItem*>& labels, bool shaded, int spaceBefore,
                   int height) {
    std::string stops;
    std::string text;
    for (const WReportItem* label : labels) {
        int stop = label->x;
        if (label->align == WAlign::kRight) {
            stop = label->x + label->w;
            stops += "\\tqr";
        } else if (label->align == WAlign::kCentre) {
            stop = label->x + label->w / 2;
            stops += "\\tqc";
        }
        stops += "\\tx" + std::to_string(stop * kTwipsPerUnit);
        if (stop > 0) text += "\\tab ";
        std::string style;
        if (label->bold) style += "\\b";
        style += "\\fs" + std::to_string(label->size * 3 / 2);  // half-points: units x 0.75 x 2
        if (label->colour != 0) style += "\\cf" + std::to_string(RtfColour(label->colour));
        text += "{" + style + " " + RtfEscape(label->text) + "}";
    }
    std::string out = "\\pard\\plain" + stops + "\\sb" +
                      std::to_string(std::max(0, spaceBefore) * kTwipsPerUnit) + "\\sl-" +
                      std::to_string(height * kTwipsPerUnit) + "\\slmult0";
    if (shaded) out += "\\cbpat3\\shading10000";
    return out + " " + text + "\\par\n";
}

// The labels of items grouped in rows by their y, in order of y then x.
std::map<int, std::vector<const WReportItem*>> RowsOf(const WReportPage& page, bool frame) {
    std::map<int, std::vector<const WReportItem*>> rows;
    for (const WReportItem& item : page.items)
        if (item.kind == WItemKind::kLabel && item.frame == frame) rows[item.y].push_back(&item);
    for (auto& [y, labels] : rows)
        std::stable_sort(labels.begin(), labels.end(),
                         [](const WReportItem* a, const WReportItem* b) { return a->x < b->x; });
    return rows;
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string RtfEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const uint32_t c = NextCodePoint(text, at);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += ' ';
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c > 0xFFFF) {
            const uint32_t v = c - 0x10000;
            AppendRtfUnit(out, 0xD800 + (v >> 10));
            AppendRtfUnit(out, 0xDC00 + (v & 0x3FF));
        } else {
            AppendRtfUnit(out, c);
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// HTML

std::string WHtmlWriter::Begin(const std::string& title) const {
    return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" +
           HtmlEscape(title) +
           "</title>\n<style>\n"
           "body { background: #808080; margin: 0; padding: 16px; font-family: 'DejaVu Sans', "
           "sans-serif; }\n"
           ".page { position: relative; width: 720px; height: 960px; margin: 0 auto 16px auto; "
           "padding: 48px; background: #ffffff; page-break-after: always; overflow: hidden; }\n"
           ".page > div { position: absolute; box-sizing: border-box; }\n"
           ".t { white-space: pre; overflow: hidden; line-height: 1.25; font-size: 12px; }\n"
           ".b { font-weight: bold; }\n.c { text-align: center; }\n.r { text-align: right; }\n"
           "@media print { body { background: none; padding: 0; } .page { margin: 0; } }\n"
           "</style>\n</head>\n<body>\n";
}

std::string WHtmlWriter::Page(const WReportPage& page) const {
    std::string out = "<div class=\"page\" id=\"page" + std::to_string(page.number) + "\">\n";
    // Appended piece by piece: a million-row list writes some 15 million of these boxes.
    const auto box = [&out](const WReportItem& item) {
        out += "left:";
        out += std::to_string(item.x + kReportMargin);
        out += "px;top:";
        out += std::to_string(item.y + kReportMargin);
        out += "px;";
    };
    const auto px = [&out](const char* name, int value) {
        out += name;
        out += std::to_string(value);
        out += "px;";
    };
    for (const WReportItem& item : page.items) {
        switch (item.kind) {
            case WItemKind::kLabel: {
                // An empty label shows nothing.
                if (item.text.empty()) break;
                out += "<div class=\"t";
                if (item.bold) out += " b";
                if (item.align == WAlign::kCentre) out += " c";
                if (item.align == WAlign::kRight) out += " r";
                out += "\" style=\"";
                box(item);
                px("width:", item.w);
                // The text size of the style sheet is left out.
                if (item.size != kReportTextSize) px("font-size:", item.size);
                if (item.colour) {
                    out += "color:";
                    out += Css(item.colour);
                    out += ';';
                }
                out += "\">";
                out += HtmlEscape(item.text);
                out += "</div>\n";
                break;
            }
            case WItemKind::kRule: {
                const char* style = item.rule == WRuleStyle::kDotted   ? "dotted"
                                    : item.rule == WRuleStyle::kDouble ? "double"
                                                                       : "solid";
                out += "<div style=\"";
                box(item);
                if (item.w == 0) {
                    px("height:", item.h);
                    out += "border-left:";
                } else {
                    px("width:", item.w);
                    out += "border-top:";
                }
                out += item.rule == WRuleStyle::kDouble ? "3" : "1";
                out += "px ";
                out += style;
                out += ' ';
                out += Css(item.colour);
                out += "\"></div>\n";
                break;
            }
            case WItemKind::kFill:
                out += "<div style=\"";
                box(item);
                px("width:", item.w);
                px("height:", item.h);
                out += "background:";
                out += Css(item.colour);
                out += "\"></div>\n";
                break;
        }
    }
    return out + "</div>\n";
}

std::string WHtmlWriter::End() const { return "</body>\n</html>\n"; }

// ---------------------------------------------------------------------------------------------
// RTF

std::string WRtfWriter::Begin(const WReportPage& firstPage) const {
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}\n"
        "{\\colortbl;";
    for (const uint32_t c : kRtfColours)
        out += "\\red" + std::to_string(c >> 16) + "\\green" + std::to_string((c >> 8) & 0xFF) +
               "\\blue" + std::to_string(c & 0xFF) + ";";
    out += "}\n\\paperw12240\\paperh15840\\margl720\\margr720\\margt1080\\margb900"
           "\\headery360\\footery360\n";
    // A save of later pages only numbers them as the report does.
    if (firstPage.number > 1)
        out += "\\pgnstart" + std::to_string(firstPage.number) + "\n";
    // The heading and footer of the first page, the page number as a field. Each row starts
    // its own paragraph (which resets borders), so the heading's rules go on its first and
    // last rows and the footer's rule on its first.
    std::vector<std::string> header;
    std::vector<std::string> footer;
    for (const auto& [y, labels] : RowsOf(firstPage, true)) {
        std::string row = RtfRow(labels, false, 0, labels.front()->h);
        if (y < kReportPageHeight / 2) {
            header.push_back(std::move(row));
        } else {
            // The page number becomes a field that counts the pages.
            const std::string number = " Page " + std::to_string(firstPage.number) + "}";
            if (const size_t at = row.find(number); at != std::string::npos)
                row.replace(at, number.size(), " Page \\chpgn}");
            footer.push_back(std::move(row));
        }
    }
    const auto border = [](std::string& row, const char* controls) {
        const std::string start = "\\pard\\plain";
        if (row.rfind(start, 0) == 0) row.insert(start.size(), controls);
    };
    if (header.empty()) header.push_back("\\pard\\plain\\par\n");
    if (footer.empty()) footer.push_back("\\pard\\plain\\par\n");
    // The bottom rule first: with a single row the top rule then goes in before it.
    border(header.back(), "\\brdrb\\brdrdb\\brdrw15\\brsp40");
    border(header.front(), "\\brdrt\\brdrs\\brdrw10\\brsp40");
    border(footer.front(), "\\brdrt\\brdrs\\brdrw10\\brsp40");
    out += "{\\header";
    for (const std::string& row : header) out += row;
    out += "}\n{\\footer";
    for (const std::string& row : footer) out += row;
    out += "}\n";
    return out;
}

std::string WRtfWriter::Page(const WReportPage& page, bool last) const {
    std::string out;
    // Rules and fills of the body by the y they stand at.
    std::vector<const WReportItem*> rules;
    std::vector<const WReportItem*> fills;
    for (const WReportItem& item : page.items) {
        if (item.frame) continue;
        if (item.kind == WItemKind::kRule && item.w > 0) rules.push_back(&item);
        if (item.kind == WItemKind::kFill) fills.push_back(&item);
    }
    const auto rows = RowsOf(page, false);
    int bottom = -1;  // the last row's bottom, -1 before the first row
    size_t nextRule = 0;
    std::stable_sort(rules.begin(), rules.end(),
                     [](const WReportItem* a, const WReportItem* b) { return a->y < b->y; });
    const auto emitRulesBefore = [&](int y) {
        while (nextRule < rules.size() && rules[nextRule]->y <= y) {
            const WReportItem& rule = *rules[nextRule++];
            out += "\\pard\\plain\\li" + std::to_string(rule.x * kTwipsPerUnit) + "\\ri" +
                   std::to_string(std::max(0, kReportPageWidth - rule.x - rule.w) * kTwipsPerUnit) +
                   "\\sl-15\\slmult0\\brdrb" + RtfBorder(rule.rule) + "\\brdrw10\\brdrcf" +
                   std::to_string(RtfColour(rule.colour)) + " \\fs2\\par\n";
            bottom = std::max(bottom, rule.y + 1);
        }
    };
    for (const auto& [y, labels] : rows) {
        emitRulesBefore(y);
        bool shaded = false;
        for (const WReportItem* fill : fills)
            if (fill->y <= y && y < fill->y + fill->h) shaded = true;
        int height = 0;
        for (const WReportItem* label : labels) height = std::max(height, label->h);
        out += RtfRow(labels, shaded, bottom < 0 ? 0 : y - bottom, height);
        bottom = y + height;
    }
    emitRulesBefore(kReportPageHeight);
    if (!last) out += "\\page\n";
    return out;
}

std::string WRtfWriter::End() const { return "}\n"; }

}  // namespace kindrel
