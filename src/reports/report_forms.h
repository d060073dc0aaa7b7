// The eight printed reports. A form is given the collection, its subject, the settings and the
// orders it reads (or builds its own), is prepared once, and then answers any page by number.
// List, Highlighted, Islands and Descendants rows have one height, so page k is computed
// directly; Pedigree plans its charts (individual numbers only) and draws chart k on demand;
// General, Individual and Family are short and paginated once.
//
//   std::unique_ptr<TABSReportForm> form = MakeReportForm(WReportKind::kList);
//   form->SetCollection(&collection);
//   form->SetSources(sources);
//   if (form->Prepare()) for (int k = 1; k <= form->PageCount(); ++k) Draw(form->Page(k));
#pragma once

#include "reports/report_model.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kindrel {

class WABSCollection;
class WCollectionIterator;
class WColSortIterator;
class WDesIterator;
class WHLGroup;
class WListColumns;
class WOptions;

enum class WReportKind : int {
    kGeneral = 0,
    kIndividual,
    kFamily,
    kPedigree,
    kDescendants,
    kList,
    kHighlighted,
    kIslands,
    kCount
};

// The command-line names "general" ... "islands", and the dialog's page captions.
const char* ReportKindName(WReportKind kind);
const char* ReportPageCaption(WReportKind kind);
// The kind a name gives; false for an unknown name.
bool ParseReportKind(const std::string& name, WReportKind& kind);
// Family and Pedigree need a subject with which to do anything; Individual and Descendants
// need a subject too.
bool ReportNeedsSubject(WReportKind kind);

// The dialog's options of every report.
struct WReportSettings {
    bool indNotes = true;     // IndNotes
    bool useLds = false;      // UseLDS
    int familyIndex = 1;      // which family as spouse (1-based) Family and Pedigree use
    bool pedSingle = true;    // Ped_Single
    int desIndent = 8;        // DesIndent, 1 .. 32
    int desGenLimit = 0;      // DesGenLimit, 0 = all
    bool desRepeat = false;   // DesRepDups
    bool desColumns = false;  // DesPC
    int desColWidth = 36;     // DesColW, 18 .. 54
    bool desLines = false;    // DesDLines
    bool listGrey = false, listDivider = false, listHL = false;
    bool hlGrey = false, hlDivider = false;
    bool islandGrey = false, islandDivider = false;

    // The values a settings store holds, clamped to their ranges.
    static WReportSettings FromSettings(WOptions& options);
    // Writes the values back (familyIndex and useLds are not settings of the dialog).
    void Store(WOptions& options) const;
    // Ranges applied to values from anywhere.
    void Clamp();
};

// What the reports read besides the collection; every member may be null and the form then
// builds what it needs itself (default columns, file order, a fresh island calculation).
struct WReportSources {
    WHLGroup* group = nullptr;               // the window's highlighter (Highlighted, List "*")
    WListColumns* listColumns = nullptr;     // the "List" column set
    WCollectionIterator* listOrder = nullptr;  // the List tab's order
    WCollectionIterator* highlightedOrder = nullptr;  // the Highlighted tab's order
    WListColumns* desColumns = nullptr;      // the "DesList" column set
    std::string gedcomName;                  // the GEDCOM file's name (General report)
};

class TABSReportForm {
  public:
    virtual ~TABSReportForm();

    virtual void SetCollection(WABSCollection* collection) { m_collection = collection; }
    virtual void SetSubject(int32_t individual) { m_subject = individual; }
    void SetSettings(const WReportSettings& settings);
    void SetSources(const WReportSources& sources) { m_sources = sources; }
    // The footer's file text (the sender's title, else the GEDCOM's name).
    void SetFileText(std::string text) { m_frame.fileText = std::move(text); }
    // The footer's time text (PrintTimeText of now unless set).
    void SetPrintTime(std::string text) { m_frame.printTime = std::move(text); }
    // The metrics every width is measured with (not owned); fixed metrics unless set.
    void SetMetrics(WTextMetrics* metrics) { m_metrics = metrics; }

    // The title printed on every page.
    virtual std::string Title() = 0;
    // The ending of a proposed file name (" - List", ...).
    virtual std::string FileNameEnding() const = 0;
    // Walks, plans or paginates; false when the report has nothing to print (no collection,
    // or no subject for a report that needs one). Pumps events on long walks.
    bool Prepare();
    // Pages after Prepare (at least 1 when Prepare answered true).
    virtual int PageCount() = 0;
    // Page k (1 .. PageCount) laid out; an empty page outside.
    virtual WReportPage Page(int k) = 0;
    // Something to say about the content, e.g. that a walk was cut short (empty: nothing).
    virtual std::string Remark() { return {}; }

    WABSCollection* Collection() const { return m_collection; }
    int32_t Subject() const { return m_subject; }
    const WReportSettings& Settings() const { return m_settings; }

  protected:
    // The form's own preparation, called with a collection (and subject when needed).
    virtual bool DoPrepare() = 0;
    virtual bool NeedsSubject() const { return false; }
    WTextMetrics& Metrics() { return *m_metrics; }
    // The heading and footer of the pages (title wrapped to the page).
    const WPageFrame& Frame() const { return m_frame; }
    // The subject's full name with name prefix, suffix and slashes left out (titles, names).
    std::string PlainFullName(int32_t n);

    WABSCollection* m_collection = nullptr;
    int32_t m_subject = 0;
    WReportSettings m_settings;
    WReportSources m_sources;

  private:
    WPageFrame m_frame;
    WFixedMetrics m_fixedMetrics;
    WTextMetrics* m_metrics = &m_fixedMetrics;
};

// A report made of bands paginated once (General, Individual, Family).
class TFlowReportForm : public TABSReportForm {
  public:
    int PageCount() override { return static_cast<int>(m_pages.size()); }
    WReportPage Page(int k) override;

  protected:
    bool DoPrepare() override;
    // Appends the bands in order.
    virtual void BuildBands(std::vector<WBand>& bands) = 0;
    // A band of label + memo value: the label at x 5 (width labelWidth), the value wrapped
    // right of it.
    WBand ValueBand(const std::string& label, const std::string& value, int labelWidth,
                    bool boldLabel = false);
    // A group heading: bold caption, optional column heads, rule below.
    WBand GroupBand(const std::string& caption, const std::string& head1 = {},
                    const std::string& head2 = {}, int headX2 = 0);

  private:
    std::vector<WReportPage> m_pages;
};

// A report of rows of one height below a column head repeated on every page.
class TRowReportForm : public TABSReportForm {
  public:
    int PageCount() override;
    WReportPage Page(int k) override;
    // Rows on one page.
    int RowsPerPage();
    // Every row placed by the general paginator, one page after another: the pages that Page
    // must equal (a check of the direct access).
    std::vector<WReportPage> PaginateSequentially();

  protected:
    virtual int RowCount() = 0;
    virtual int RowHeight() = 0;
    // Row i (1-based) with y from 0.
    virtual WBand RowBand(int i) = 0;
    // The band below the heading on every page (may be empty).
    virtual WBand HeadBand() { return {}; }
    // Grey alternate fills and dotted dividers as the options ask.
    void Decorate(WBand& band, int i, bool grey, bool divider) const;
};

// A new form of a kind.
std::unique_ptr<TABSReportForm> MakeReportForm(WReportKind kind);

// Everything a report is made from; the window's dialog and the command line fill it.
struct WReportRequest {
    WReportKind kind = WReportKind::kGeneral;
    WABSCollection* collection = nullptr;
    int32_t subject = 0;
    WReportSettings settings;
    WReportSources sources;
    std::string fileText;
    WTextMetrics* metrics = nullptr;  // null: fixed metrics
};
// A form of the request's kind with everything set (not yet prepared).
std::unique_ptr<TABSReportForm> MakeReportForm(const WReportRequest& request);

// "d mmm yyyy hh:mm AM/PM" for a local time (9 Dec 2026 01:15 PM).
std::string PrintTimeText(long long secondsSinceEpoch);

}  // namespace kindrel
