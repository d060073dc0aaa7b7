#include "reports/report_text_dump.h"

#include "reports/report_forms.h"

#include <cstdio>

namespace kindrel {

namespace {

std::string Colour(uint32_t rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::string Box(const WReportItem& item) {
    return std::to_string(item.x) + " " + std::to_string(item.y) + " " + std::to_string(item.w) +
           " " + std::to_string(item.h);
}

}  // namespace

std::string ReportPageText(const WReportPage& page, int pageCount) {
    std::string out = "=== Page " + std::to_string(page.number) + " of " +
                      std::to_string(pageCount) + "\n";
    for (const WReportItem& item : page.items) {
        switch (item.kind) {
            case WItemKind::kLabel:
                out += "T " + Box(item);
                if (item.bold) out += " B";
                if (item.align == WAlign::kCentre) out += " C";
                if (item.align == WAlign::kRight) out += " R";
                if (item.size != kReportTextSize) out += " s" + std::to_string(item.size);
                if (item.colour != 0) out += " " + Colour(item.colour);
                out += " |" + item.text + "|\n";
                break;
            case WItemKind::kRule:
                out += "R " + Box(item) +
                       (item.rule == WRuleStyle::kDotted   ? " dotted"
                        : item.rule == WRuleStyle::kDouble ? " double"
                                                           : " solid") +
                       " " + Colour(item.colour) + "\n";
                break;
            case WItemKind::kFill:
                out += "F " + Box(item) + " " + Colour(item.colour) + "\n";
                break;
        }
    }
    return out;
}

std::string WReportTextDump(TABSReportForm& form) {
    std::string out;
    const int count = form.PageCount();
    for (int k = 1; k <= count; ++k) out += ReportPageText(form.Page(k), count);
    const std::string remark = form.Remark();
    if (!remark.empty()) out += "Remark: " + remark + "\n";
    return out;
}

}  // namespace kindrel
