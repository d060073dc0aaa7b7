// Golden text dumps of the eight reports over the sample family and the report fixture. Set
// KINDREL_UPDATE_GOLDEN=1 to write the golden files anew after a deliberate change.
#include "reports/report_forms.h"
#include "reports/report_row_forms.h"
#include "reports/report_text_dump.h"
#include "report_test_util.h"

#include "analysis/list_columns.h"
#include "highlight/hl_group.h"
#include "model/display_options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace kindrel {
namespace {

struct DumpCase {
    const char* golden;
    const char* file;  // under tests/data/reports or samples
    WReportKind kind;
    const char* subject;
    std::function<void(WReportSettings&)> settings;
    const char* conditions = "";  // highlighting
    const char* listColumns = "";  // "" = the report's default
};

std::string PathOf(const std::string& file) {
    if (file.rfind("sample", 0) == 0) return std::string(KINDREL_SAMPLES_DIR) + "/" + file;
    return std::string(KINDREL_TEST_DATA_DIR) + "/reports/" + file;
}

const auto kDefaults = [](WReportSettings&) {};

// Every column code 1 .. 68.
std::string AllColumns() {
    std::string s;
    for (int c = 1; c <= 68; ++c) s += (c > 1 ? "," : "") + std::to_string(c);
    return s;
}

class ReportDump : public ::testing::TestWithParam<DumpCase> {};

TEST_P(ReportDump, MatchesGolden) {
    const DumpCase& c = GetParam();
    Display() = DisplayOptions{};
    auto collection = test::OpenReportFile(PathOf(c.file));
    ASSERT_TRUE(collection);
    WHLGroup group(collection.get());
    if (*c.conditions) {
        group.SetConditions(c.conditions);
        group.Prepare();
    }
    std::string all;
    std::unique_ptr<WListColumns> columns;
    if (*c.listColumns) {
        columns = std::make_unique<WListColumns>(collection.get(), "List");
        columns->SetColumns(std::string(c.listColumns) == "all" ? AllColumns() : c.listColumns);
    }

    std::unique_ptr<TABSReportForm> form = MakeReportForm(c.kind);
    form->SetCollection(collection.get());
    form->SetSubject(*c.subject ? collection->FindIndividual(c.subject) : 0);
    WReportSettings settings;
    c.settings(settings);
    form->SetSettings(settings);
    WReportSources sources;
    sources.group = *c.conditions ? &group : nullptr;
    sources.listColumns = columns.get();
    sources.gedcomName = c.file;
    form->SetSources(sources);
    form->SetFileText("Fixture title");
    form->SetPrintTime("9 Dec 2026 01:15 PM");
    ASSERT_TRUE(form->Prepare());
    std::string dump = WReportTextDump(*form);
    // The file's date is the checkout's, not part of the golden.
    if (const size_t at = dump.find("|File Date|\n"); at != std::string::npos) {
        const size_t value = dump.find('|', at + 13);
        const size_t end = dump.find('\n', value);
        if (value != std::string::npos && end != std::string::npos)
            dump.replace(value, end - value, "|<date>|");
    }

    // Row reports: page k reached directly is the page the general paginator makes.
    if (auto* rows = dynamic_cast<TRowReportForm*>(form.get())) {
        const std::vector<WReportPage> sequential = rows->PaginateSequentially();
        ASSERT_EQ(static_cast<int>(sequential.size()), form->PageCount());
        for (int k = form->PageCount(); k >= 1; --k)
            EXPECT_EQ(ReportPageText(form->Page(k), form->PageCount()),
                      ReportPageText(sequential[static_cast<size_t>(k - 1)], form->PageCount()))
                << "page " << k;
    }

    const std::string golden =
        std::string(KINDREL_TEST_DATA_DIR) + "/reports/golden/" + c.golden + ".txt";
    if (std::getenv("KINDREL_UPDATE_GOLDEN")) test::WriteWholeFile(golden, dump);
    EXPECT_EQ(dump, test::ReadWholeFile(golden)) << "golden " << golden;
}

const DumpCase kCases[] = {
    {"sample-general", "sample_family.ged", WReportKind::kGeneral, "", kDefaults},
    {"sample-individual", "sample_family.ged", WReportKind::kIndividual, "I1", kDefaults},
    {"sample-family", "sample_family.ged", WReportKind::kFamily, "I1", kDefaults},
    {"sample-pedigree-cascading", "sample_family.ged", WReportKind::kPedigree, "I59",
     [](WReportSettings& s) { s.pedSingle = false; }},
    {"sample-descendants", "sample_family.ged", WReportKind::kDescendants, "I1",
     [](WReportSettings& s) {
         s.desColumns = true;
         s.desLines = true;
     }},
    {"sample-list", "sample_family.ged", WReportKind::kList, "", [](WReportSettings& s) {
         s.listGrey = true;
         s.listDivider = true;
         s.listHL = true;
     }, "+17:F"},
    {"sample-highlighted", "sample_family.ged", WReportKind::kHighlighted, "", kDefaults, "+17:F"},
    {"sample-islands", "sample_family.ged", WReportKind::kIslands, "", [](WReportSettings& s) {
         s.islandGrey = true;
         s.islandDivider = true;
     }},
    {"fixture-general", "report_fixture.ged", WReportKind::kGeneral, "", kDefaults},
    {"fixture-individual", "report_fixture.ged", WReportKind::kIndividual, "I1", kDefaults},
    {"fixture-family-600", "report_fixture.ged", WReportKind::kFamily, "I30", kDefaults},
    {"fixture-pedigree-twice", "report_fixture.ged", WReportKind::kPedigree, "I40",
     [](WReportSettings& s) { s.pedSingle = false; }},
    {"fixture-pedigree-cycle", "report_fixture.ged", WReportKind::kPedigree, "I20",
     [](WReportSettings& s) { s.pedSingle = false; }},
    {"fixture-descendants", "report_fixture.ged", WReportKind::kDescendants, "I7",
     [](WReportSettings& s) {
         s.desColumns = false;
         s.desIndent = 32;
     }},
    {"sample-list-68", "sample_family.ged", WReportKind::kList, "", kDefaults, "", "all"},
    {"fixture-highlighted-none", "report_fixture.ged", WReportKind::kHighlighted, "", kDefaults},
    {"fixture-islands", "report_fixture.ged", WReportKind::kIslands, "", kDefaults},
};

INSTANTIATE_TEST_SUITE_P(Goldens, ReportDump, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DumpCase>& info) {
                             std::string name = info.param.golden;
                             for (char& ch : name)
                                 if (ch == '-') ch = '_';
                             return name;
                         });

}  // namespace
}  // namespace kindrel
