#include "reports/report_row_forms.h"

#include "analysis/collection_iterator.h"
#include "analysis/des_iterator.h"
#include "analysis/islands.h"
#include "analysis/list_columns.h"
#include "app/app_texts.h"
#include "app/descendant_rows.h"
#include "app/general_rows.h"
#include "highlight/hl_group.h"
#include "model/collection.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace kindrel {

namespace {

// The list columns a report shows when the window gave none.
constexpr const char* kDefaultListColumns = "1,2,7,65,67,19,18";
constexpr const char* kDefaultDesColumns = "65,67,19,59,60";
constexpr int kMaxColumnsPrinted = 200;

// Adds the heads or cells of the laid-out columns at y = line * kReportLineHeight + top.
void AddColumnLabels(WTextMetrics& metrics, WBand& band, const std::vector<WColumnSlot>& slots,
                     int top, bool bold, const std::function<std::string(int)>& text) {
    for (const WColumnSlot& slot : slots)
        band.Label(slot.x, top + slot.line * kReportLineHeight, slot.w,
                   CutToWidth(metrics, text(slot.column), slot.w, kReportTextSize, bold), bold);
}

// The column heads of a column set in their slots, with a rule below; lead (when given) at
// the left of the columns.
WBand ColumnHeadBand(WTextMetrics& metrics, const WListColumns& columns,
                     const std::vector<WColumnSlot>& slots, int lines, const std::string& lead,
                     int leadWidth) {
    WBand band;
    if (!lead.empty()) band.Label(5, 2, leadWidth, lead, true);
    AddColumnLabels(metrics, band, slots, 2, true, [&columns](int column) {
        int state = 0;
        return columns.HeaderText(column, false, state);
    });
    band.height = lines * kReportLineHeight + 6;
    band.Rule(0, band.height - 2, kReportPageWidth);
    return band;
}

}  // namespace

std::vector<WColumnSlot> LayOutColumns(const WListColumns& columns, int startX) {
    std::vector<WColumnSlot> slots;
    int x = startX;
    int line = 0;
    const int count = std::min(columns.ColumnCount(), kMaxColumnsPrinted);
    const int widest = kReportPageWidth - startX;
    for (int i = 1; i <= count; ++i) {
        // Stored widths may be anything; a column is at least 8 units and at most a line.
        const int w = std::clamp(columns.Width(i), 8, std::max(8, widest));
        if (x + w > kReportPageWidth && x > startX) {
            ++line;
            x = startX;
        }
        slots.push_back({i, line, x, w});
        x += w + 7;
    }
    return slots;
}

std::string ColumnCell(const WListColumns& columns, int column, int32_t n) {
    std::string joined;
    for (const std::string& part : SplitAtTabs(columns.CellText(column, n))) {
        if (part.empty()) continue;
        if (!joined.empty()) joined += ' ';
        joined += part;
    }
    return ReportOneLine(joined);
}

// ---------------------------------------------------------------------------------------------
// Descendants

TReportDesForm::TReportDesForm() = default;
TReportDesForm::~TReportDesForm() = default;

std::string TReportDesForm::Title() { return "Descendants of " + PlainFullName(m_subject); }

std::string TReportDesForm::Remark() {
    if (m_walk && m_walk->Truncated())
        return "The descendant list was cut at " + FormatCount(WDesIterator::kMaxRecords) +
               " entries.";
    if (m_walk && m_walk->Stopped()) return "The descendant list was stopped.";
    return {};
}

bool TReportDesForm::DoPrepare() {
    m_walk = std::make_unique<WDesIterator>();
    m_walk->SetCollection(m_collection);
    const int limit = m_settings.desGenLimit == 0 ? WDesIterator::kMaxGenerationLimit
                                                  : m_settings.desGenLimit;
    m_walk->Start(m_subject, limit, m_settings.desRepeat);
    m_columns = nullptr;
    m_slots.clear();
    m_lines = 1;
    m_ruleX = 0;
    if (m_settings.desColumns) {
        m_columns = m_sources.desColumns;
        if (!m_columns) {
            m_ownColumns = std::make_unique<WListColumns>(m_collection, "DesList");
            m_ownColumns->SetColumns(kDefaultDesColumns);
            m_columns = m_ownColumns.get();
        }
        m_ruleX = m_settings.desColWidth * 10 - 4;
        m_slots = LayOutColumns(*m_columns, m_ruleX + 5);
        for (const WColumnSlot& slot : m_slots) m_lines = std::max(m_lines, slot.line + 1);
    }
    return true;
}

int TReportDesForm::RowCount() { return m_walk ? m_walk->Count() : 0; }

int TReportDesForm::RowHeight() {
    return m_lines * kReportLineHeight + (m_settings.desLines ? 2 : 0);
}

WBand TReportDesForm::HeadBand() {
    if (!m_columns) return {};
    return ColumnHeadBand(Metrics(), *m_columns, m_slots, m_lines, "Descendants", m_ruleX - 10);
}

WBand TReportDesForm::RowBand(int i) {
    WBand band;
    band.height = RowHeight();
    const WDesRecord record = m_walk->RecordOf(i);
    const DescendantRow row = BuildDescendantRow(*m_collection, record);
    const int textY = m_settings.desLines ? 2 : 0;
    const int area = m_columns ? m_ruleX - 4 : kReportPageWidth;
    // Blanks of generation x (indent / 3); a deep indent still leaves room for the name.
    const long blanks =
        std::lround(record.generation * (static_cast<double>(m_settings.desIndent) / 3.0));
    const int indent = std::min(static_cast<int>(std::lround(
                                    blanks * Metrics().TextWidth(" ", kReportTextSize, false))),
                                std::max(0, area - 160));
    const std::string text = ReportOneLine(DescendantRowText(row));
    band.Label(5 + indent, textY, area - 5 - indent,
               CutToWidth(Metrics(), text, area - 5 - indent, kReportTextSize, false));
    if (m_columns) {
        band.VerticalRule(m_ruleX, 0, band.height);
        AddColumnLabels(Metrics(), band, m_slots, textY, false, [&](int column) {
            return ColumnCell(*m_columns, column, record.individual);
        });
    }
    if (m_settings.desLines)
        band.Rule(0, band.height - 1, kReportPageWidth, WRuleStyle::kDotted, kReportDividerGrey);
    return band;
}

// ---------------------------------------------------------------------------------------------
// List and Highlighted

TReportListForm::TReportListForm(bool highlighted) : m_highlighted(highlighted) {}
TReportListForm::~TReportListForm() = default;

std::string TReportListForm::Title() {
    if (!m_highlighted) return "List";
    return "Individuals: " + (m_sources.group ? m_sources.group->Describe() : std::string());
}

bool TReportListForm::DoPrepare() {
    m_grey = m_highlighted ? m_settings.hlGrey : m_settings.listGrey;
    m_divider = m_highlighted ? m_settings.hlDivider : m_settings.listDivider;
    m_mark = !m_highlighted && m_settings.listHL && m_sources.group;
    m_columns = m_sources.listColumns;
    if (!m_columns) {
        m_ownColumns = std::make_unique<WListColumns>(m_collection, "List");
        m_ownColumns->SetColumns(kDefaultListColumns);
        m_columns = m_ownColumns.get();
    }
    m_order = m_highlighted ? m_sources.highlightedOrder : m_sources.listOrder;
    if (!m_order) {
        if (m_highlighted) {
            // Without conditions nothing is highlighted: no rows.
            if (m_sources.group && m_sources.group->RuleCount() > 0)
                m_ownOrder = CreateHLIterator("", m_sources.group, m_collection,
                                              m_collection->ViewCount() / 16);
        } else {
            auto order = std::make_unique<WColSortIterator>("", m_collection,
                                                            m_collection->ViewCount());
            order->EnsureBuilt();
            m_ownOrder = std::move(order);
        }
        m_order = m_ownOrder.get();
    }
    if (m_order) m_order->EnsureBuilt();
    m_slots = LayOutColumns(*m_columns, m_mark ? 14 : 5);
    m_lines = 1;
    for (const WColumnSlot& slot : m_slots) m_lines = std::max(m_lines, slot.line + 1);
    return true;
}

int TReportListForm::RowCount() { return m_order ? m_order->Count() : 0; }

int TReportListForm::RowHeight() { return m_lines * kReportLineHeight + (m_divider ? 2 : 0); }

WBand TReportListForm::HeadBand() {
    return ColumnHeadBand(Metrics(), *m_columns, m_slots, m_lines, {}, 0);
}

WBand TReportListForm::RowBand(int i) {
    WBand band;
    band.height = RowHeight();
    const int32_t n = m_order->NumberAt(i);
    const int textY = m_divider ? 2 : 0;
    Decorate(band, i, m_grey, false);
    if (m_mark && m_sources.group->IsHighlighted(n)) band.Label(3, textY, 10, "*", true);
    AddColumnLabels(Metrics(), band, m_slots, textY, false,
                    [&](int column) { return ColumnCell(*m_columns, column, n); });
    Decorate(band, i, false, m_divider);
    return band;
}

// ---------------------------------------------------------------------------------------------
// Islands

bool TReportIslandForm::DoPrepare() {
    m_count = WIslands::Of(*m_collection).CalculateIslands();
    return true;
}

WBand TReportIslandForm::HeadBand() {
    WBand band;
    band.Label(5, 2, 60, "#", true);
    band.Label(70, 2, 120, "Individuals", true, WAlign::kRight);
    band.Label(200, 2, 120, "Families", true, WAlign::kRight);
    band.Label(340, 2, 380, "1st individual in island", true);
    band.height = kReportLineHeight + 6;
    band.Rule(0, band.height - 2, kReportPageWidth);
    return band;
}

WBand TReportIslandForm::RowBand(int i) {
    WBand band;
    band.height = RowHeight();
    WIslands& islands = WIslands::Of(*m_collection);
    Decorate(band, i, m_settings.islandGrey, false);
    band.Label(5, 1, 60, std::to_string(i));
    band.Label(70, 1, 120, FormatCount(islands.IslandSize(i)), false, WAlign::kRight);
    band.Label(200, 1, 120, FormatCount(islands.IslandFamilyCount(i)), false, WAlign::kRight);
    const int32_t first = islands.IslandFirstIndividual(i);
    band.Label(340, 1, 380,
               CutToWidth(Metrics(), ReportOneLine(first > 0 ? m_collection->DisplayNameOf(first)
                                                             : std::string()),
                          380, kReportTextSize, false));
    Decorate(band, i, false, m_settings.islandDivider);
    return band;
}

}  // namespace kindrel
