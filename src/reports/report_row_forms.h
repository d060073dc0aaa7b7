// The reports of rows: Descendants, List, Highlighted and Islands. Every row of a report has
// the same height, so page k holds rows (k - 1) * RowsPerPage + 1 onwards.
#pragma once

#include "reports/report_forms.h"

#include <memory>
#include <vector>

namespace kindrel {

class WColSortIterator;
class WColHLIterator;

// Where each column of a column set is printed: labels of the stored widths (clamped to
// 8 .. the line), 7 units apart from startX, wrapping to a further line past 720 units.
struct WColumnSlot {
    int column = 0;  // 1-based column of the set
    int line = 0;    // 0-based line of the row
    int x = 0, w = 0;
};
std::vector<WColumnSlot> LayOutColumns(const WListColumns& columns, int startX);
// The cell of a column for individual n: parts of a tab-separated value joined, one line.
std::string ColumnCell(const WListColumns& columns, int column, int32_t n);

class TReportDesForm : public TRowReportForm {
  public:
    TReportDesForm();
    ~TReportDesForm() override;
    std::string Title() override;
    std::string FileNameEnding() const override { return " - Descendants"; }
    std::string Remark() override;

  protected:
    bool NeedsSubject() const override { return true; }
    bool DoPrepare() override;
    int RowCount() override;
    int RowHeight() override;
    WBand RowBand(int i) override;
    WBand HeadBand() override;

  private:
    std::unique_ptr<WDesIterator> m_walk;
    std::unique_ptr<WListColumns> m_ownColumns;
    WListColumns* m_columns = nullptr;  // null without "Print Columns"
    std::vector<WColumnSlot> m_slots;
    int m_lines = 1;
    int m_ruleX = 0;
};

class TReportListForm : public TRowReportForm {
  public:
    // highlighted: the Highlighted report (its order, its title).
    explicit TReportListForm(bool highlighted);
    ~TReportListForm() override;
    std::string Title() override;
    std::string FileNameEnding() const override {
        return m_highlighted ? " - Highlight List" : " - List";
    }

  protected:
    bool DoPrepare() override;
    int RowCount() override;
    int RowHeight() override;
    WBand RowBand(int i) override;
    WBand HeadBand() override;

  private:
    bool m_highlighted;
    bool m_grey = false, m_divider = false, m_mark = false;
    std::unique_ptr<WListColumns> m_ownColumns;
    std::unique_ptr<WCollectionIterator> m_ownOrder;
    WListColumns* m_columns = nullptr;
    WCollectionIterator* m_order = nullptr;  // null: no rows
    std::vector<WColumnSlot> m_slots;
    int m_lines = 1;
};

class TReportIslandForm : public TRowReportForm {
  public:
    std::string Title() override { return "Islands"; }
    std::string FileNameEnding() const override { return " - Islands"; }

  protected:
    bool DoPrepare() override;
    int RowCount() override { return m_count; }
    int RowHeight() override { return kReportLineHeight + 2; }
    WBand RowBand(int i) override;
    WBand HeadBand() override;

  private:
    int32_t m_count = 0;
};

}  // namespace kindrel
