// The General, Individual and Family reports.
#pragma once

#include "reports/report_forms.h"

namespace kindrel {

// True when the subject of a Family report is printed as the husband: sex "M", or "U" with
// a spouse "F" or "U" (or none).
bool SubjectIsHusband(char subjectSex, char spouseSex);

class TReportInfoForm : public TFlowReportForm {
  public:
    std::string Title() override { return "General File Information"; }
    std::string FileNameEnding() const override { return " - General Info"; }

  protected:
    void BuildBands(std::vector<WBand>& bands) override;
};

class TReportIndForm : public TFlowReportForm {
  public:
    std::string Title() override { return "Individual Information"; }
    std::string FileNameEnding() const override { return " - Individual"; }

  protected:
    bool NeedsSubject() const override { return true; }
    void BuildBands(std::vector<WBand>& bands) override;
};

class TReportFamilyForm : public TFlowReportForm {
  public:
    std::string Title() override;
    std::string FileNameEnding() const override { return " - Family"; }

  protected:
    bool NeedsSubject() const override { return true; }
    void BuildBands(std::vector<WBand>& bands) override;
};

}  // namespace kindrel
