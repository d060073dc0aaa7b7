// The pedigree report: charts of four generations (15 positions in ancestor numbering). The
// charts are planned first as individual numbers only (who stands where, who was printed
// earlier, which chart continues an outer ancestor), so chart k is drawn directly.
#pragma once

#include "reports/report_forms.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kindrel {

class TReportPedigreeForm : public TABSReportForm {
  public:
    std::string Title() override { return "Pedigree Chart"; }
    std::string FileNameEnding() const override { return " - Pedigree"; }
    int PageCount() override { return static_cast<int>(m_charts.size()); }
    WReportPage Page(int k) override;

    // One planned chart: positions 1 .. 15, the family of each couple (index by the father's
    // even position; [1] the root's family), which positions were printed before, and for
    // outer ancestors the chart that continues them.
    struct Chart {
        std::array<int32_t, 16> person{};
        std::array<int32_t, 16> family{};
        std::array<int32_t, 16> continuedOn{};
        uint16_t alreadyPrinted = 0;  // bit p
    };
    const std::vector<Chart>& Charts() const { return m_charts; }

  protected:
    bool NeedsSubject() const override { return true; }
    bool DoPrepare() override;

  private:
    std::vector<Chart> m_charts;
    // Per individual: its first position and chart (0 = not printed).
    std::vector<int32_t> m_position;
    std::vector<int32_t> m_chartOf;
};

// The four-generation chart form; cascading is its option.
class TReportPed4Form : public TReportPedigreeForm {};

}  // namespace kindrel
