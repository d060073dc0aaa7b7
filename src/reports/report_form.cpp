// The base forms, the settings of the dialog and the factory.
#include "reports/report_forms.h"

#include "reports/report_pedigree.h"
#include "reports/report_person_forms.h"
#include "reports/report_row_forms.h"

#include "model/collection.h"
#include "model/display_options.h"
#include "model/records.h"
#include "services/options.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace kindrel {

namespace {

const char* const kKindNames[] = {"general",     "individual", "family",      "pedigree",
                                  "descendants", "list",       "highlighted", "islands"};
const char* const kCaptions[] = {"General",     "Individual", "Family",      "Pedigree",
                                 "Descendants", "List",       "Highlighted", "Islands"};

}  // namespace

const char* ReportKindName(WReportKind kind) {
    const int k = static_cast<int>(kind);
    return k >= 0 && k < static_cast<int>(WReportKind::kCount) ? kKindNames[k] : "";
}

const char* ReportPageCaption(WReportKind kind) {
    const int k = static_cast<int>(kind);
    return k >= 0 && k < static_cast<int>(WReportKind::kCount) ? kCaptions[k] : "";
}

bool ParseReportKind(const std::string& name, WReportKind& kind) {
    for (int k = 0; k < static_cast<int>(WReportKind::kCount); ++k)
        if (name == kKindNames[k]) {
            kind = static_cast<WReportKind>(k);
            return true;
        }
    return false;
}

bool ReportNeedsSubject(WReportKind kind) {
    return kind == WReportKind::kIndividual || kind == WReportKind::kFamily ||
           kind == WReportKind::kPedigree || kind == WReportKind::kDescendants;
}

void WReportSettings::Clamp() {
    desIndent = std::clamp(desIndent, 1, 32);
    desGenLimit = std::clamp(desGenLimit, 0, 255);
    desColWidth = std::clamp(desColWidth, 18, 54);
    familyIndex = std::max(familyIndex, 1);
}

WReportSettings WReportSettings::FromSettings(WOptions& options) {
    WReportSettings s;
    s.indNotes = options.ReadBool(Opt::IndNotes);
    s.useLds = options.ReadBool(Opt::UseLDS);
    s.pedSingle = options.ReadBool(Opt::Ped_Single);
    s.desIndent = options.ReadInt(Opt::DesIndent);
    s.desGenLimit = options.ReadInt(Opt::DesGenLimit);
    s.desRepeat = options.ReadBool(Opt::DesRepDups);
    s.desColumns = options.ReadBool(Opt::DesPC);
    s.desColWidth = options.ReadInt(Opt::DesColW);
    s.desLines = options.ReadBool(Opt::DesDLines);
    s.listGrey = options.ReadBool(Opt::List_Grey);
    s.listDivider = options.ReadBool(Opt::List_Divider);
    s.listHL = options.ReadBool(Opt::List_HL);
    s.hlGrey = options.ReadBool(Opt::HL_Grey);
    s.hlDivider = options.ReadBool(Opt::HL_Divider);
    s.islandGrey = options.ReadBool(Opt::Island_Grey);
    s.islandDivider = options.ReadBool(Opt::Island_Divider);
    s.Clamp();
    return s;
}

void WReportSettings::Store(WOptions& options) const {
    options.WriteBool(Opt::IndNotes, indNotes);
    options.WriteBool(Opt::Ped_Single, pedSingle);
    options.WriteInt(Opt::DesIndent, desIndent);
    options.WriteInt(Opt::DesGenLimit, desGenLimit);
    options.WriteBool(Opt::DesRepDups, desRepeat);
    options.WriteBool(Opt::DesPC, desColumns);
    options.WriteInt(Opt::DesColW, desColWidth);
    options.WriteBool(Opt::DesDLines, desLines);
    options.WriteBool(Opt::List_Grey, listGrey);
    options.WriteBool(Opt::List_Divider, listDivider);
    options.WriteBool(Opt::List_HL, listHL);
    options.WriteBool(Opt::HL_Grey, hlGrey);
    options.WriteBool(Opt::HL_Divider, hlDivider);
    options.WriteBool(Opt::Island_Grey, islandGrey);
    options.WriteBool(Opt::Island_Divider, islandDivider);
}

// ---------------------------------------------------------------------------------------------
// TABSReportForm

TABSReportForm::~TABSReportForm() = default;

void TABSReportForm::SetSettings(const WReportSettings& settings) {
    m_settings = settings;
    m_settings.Clamp();
}

bool TABSReportForm::Prepare() {
    if (!m_collection) return false;
    if (NeedsSubject() && (m_subject <= 0 || m_subject > m_collection->IndividualCount()))
        return false;
    if (m_frame.printTime.empty()) m_frame.printTime = PrintTimeText(std::time(nullptr));
    m_frame.title = Title();
    m_frame.titleLines =
        WrapToWidth(*m_metrics, ReportOneLine(m_frame.title), kReportPageWidth, kReportTitleSize,
                    true);
    // A title of many conditions keeps at most a quarter of the page.
    if (m_frame.titleLines.size() > 10) m_frame.titleLines.resize(10);
    return DoPrepare();
}

std::string PlainFullNameOf(WABSCollection& collection, int32_t n) {
    if (n <= 0 || n > collection.IndividualCount()) return {};
    // Prefix, suffix and slashes off for this one name, back as they were however it ends.
    struct PlainNames {
        DisplayOptions& display = Display();
        const DisplayOptions saved = display;
        PlainNames() {
            display.preSuf = false;
            display.nameSlash = false;
        }
        ~PlainNames() { display = saved; }
    } plain;
    return collection.FullNameOf(n);
}

// ---------------------------------------------------------------------------------------------
// TFlowReportForm

bool TFlowReportForm::DoPrepare() {
    std::vector<WBand> bands;
    BuildBands(bands);
    WPaginator paginator(Frame(), WBand{});
    for (WBand& band : bands) paginator.Add(std::move(band));
    m_pages = paginator.Finish();
    return true;
}

WReportPage TFlowReportForm::Page(int k) {
    if (k < 1 || k > PageCount()) return {};
    return m_pages[static_cast<size_t>(k - 1)];
}

WBand TFlowReportForm::ValueBand(const std::string& label, const std::string& value,
                                 int labelWidth, bool boldLabel) {
    WBand band;
    const int valueX = 5 + labelWidth + 5;
    const int valueWidth = kReportPageWidth - valueX;
    band.Label(5, 1, labelWidth,
               CutToWidth(Metrics(), ReportOneLine(label), labelWidth, kReportTextSize, boldLabel),
               boldLabel);
    const std::vector<std::string> lines =
        WrapToWidth(Metrics(), value, valueWidth, kReportTextSize, false);
    int y = 1;
    for (const std::string& line : lines) {
        band.Label(valueX, y, valueWidth, ReportOneLine(line));
        y += kReportLineHeight;
    }
    band.height = std::max(y, 1 + kReportLineHeight) + 1;
    return band;
}

WBand TFlowReportForm::GroupBand(const std::string& caption, const std::string& head1,
                                 const std::string& head2, int headX2) {
    WBand band;
    band.Label(0, 6, kReportPageWidth, caption, true, WAlign::kLeft, 14);
    int y = 26;
    if (!head1.empty() || !head2.empty()) {
        band.Label(5, y, headX2 - 10, head1, true);
        band.Label(headX2, y, kReportPageWidth - headX2, head2, true);
        y += kReportLineHeight + 2;
    }
    band.Rule(0, y, kReportPageWidth);
    band.height = y + 4;
    return band;
}

// ---------------------------------------------------------------------------------------------
// TRowReportForm

int TRowReportForm::RowsPerPage() {
    const int top = PageHeadHeight(Frame().titleLines.size()) + HeadBand().height;
    const int room = kReportPageHeight - kPageFootHeight - top;
    return std::max(1, room / std::max(1, RowHeight()));
}

int TRowReportForm::PageCount() {
    const int rows = RowCount();
    const int per = RowsPerPage();
    return std::max(1, (rows + per - 1) / per);
}

WReportPage TRowReportForm::Page(int k) {
    WReportPage page;
    if (k < 1 || k > PageCount()) return page;
    page.number = k;
    AddPageFrame(Frame(), k, page);
    const int headTop = PageHeadHeight(Frame().titleLines.size());
    WBand head = HeadBand();
    for (WReportItem item : head.items) {
        item.y += headTop;
        page.items.push_back(std::move(item));
    }
    const int per = RowsPerPage();
    const int rows = RowCount();
    const int height = RowHeight();
    int y = headTop + head.height;
    for (int i = (k - 1) * per + 1; i <= std::min(rows, k * per); ++i) {
        WBand band = RowBand(i);
        for (WReportItem item : band.items) {
            item.y += y;
            page.items.push_back(std::move(item));
        }
        y += height;
    }
    return page;
}

std::vector<WReportPage> TRowReportForm::PaginateSequentially() {
    WPaginator paginator(Frame(), HeadBand());
    const int rows = RowCount();
    for (int i = 1; i <= rows; ++i) paginator.Add(RowBand(i));
    return paginator.Finish();
}

void TRowReportForm::Decorate(WBand& band, int i, bool grey, bool divider) const {
    if (grey && i % 2 == 1) {
        band.Fill(0, 0, kReportPageWidth, band.height, kReportGreyRow);
        // The fill goes behind the texts.
        std::rotate(band.items.begin(), band.items.end() - 1, band.items.end());
    }
    if (divider)
        band.Rule(0, band.height - 1, kReportPageWidth, WRuleStyle::kDotted, kReportDividerGrey);
}

std::unique_ptr<TABSReportForm> MakeReportForm(WReportKind kind) {
    switch (kind) {
        case WReportKind::kGeneral: return std::make_unique<TReportInfoForm>();
        case WReportKind::kIndividual: return std::make_unique<TReportIndForm>();
        case WReportKind::kFamily: return std::make_unique<TReportFamilyForm>();
        case WReportKind::kPedigree: return std::make_unique<TReportPed4Form>();
        case WReportKind::kDescendants: return std::make_unique<TReportDesForm>();
        case WReportKind::kList: return std::make_unique<TReportListForm>(false);
        case WReportKind::kHighlighted: return std::make_unique<TReportListForm>(true);
        case WReportKind::kIslands: return std::make_unique<TReportIslandForm>();
        case WReportKind::kCount: break;
    }
    return nullptr;
}

std::unique_ptr<TABSReportForm> MakeReportForm(const WReportRequest& request) {
    std::unique_ptr<TABSReportForm> form = MakeReportForm(request.kind);
    if (!form) return form;
    form->SetCollection(request.collection);
    form->SetSubject(request.subject);
    form->SetSettings(request.settings);
    form->SetSources(request.sources);
    form->SetFileText(request.fileText);
    if (request.metrics) form->SetMetrics(request.metrics);
    return form;
}

std::string PrintTimeText(long long secondsSinceEpoch) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t when = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    localtime_r(&when, &local);
    int hour = local.tm_hour % 12;
    if (hour == 0) hour = 12;
    char text[64];
    std::snprintf(text, sizeof text, "%d %s %d %02d:%02d %s", local.tm_mday, kMonths[local.tm_mon],
                  local.tm_year + 1900, hour, local.tm_min, local.tm_hour < 12 ? "AM" : "PM");
    return text;
}

}  // namespace kindrel
