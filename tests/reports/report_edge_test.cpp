// The report model's edge cases: wrapping that always ends, cut labels, clamped column widths,
// a long note over pages, files without individuals, long titles, a subject without family.
#include "reports/report_forms.h"
#include "reports/report_row_forms.h"
#include "reports/report_text_dump.h"
#include "report_test_util.h"

#include "analysis/list_columns.h"
#include "containers/temp_file.h"
#include "highlight/hl_group.h"
#include "model/display_options.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kindrel {
namespace {

std::string TempGedcom(const std::string& body) {
    const std::string path =
        (std::filesystem::temp_directory_path() /
         ("kindrel-report-edge-" + std::to_string(::getpid()) + "-" +
          std::to_string(std::hash<std::string>{}(body) % 100000) + ".ged"))
            .string();
    test::WriteWholeFile(path, "0 HEAD\n1 CHAR UTF-8\n" + body + "0 TRLR\n");
    return path;
}

std::vector<std::string> LabelTexts(const WReportPage& page) {
    std::vector<std::string> texts;
    for (const WReportItem& item : page.items)
        if (item.kind == WItemKind::kLabel) texts.push_back(item.text);
    return texts;
}

TEST(ReportText, WrappingAlwaysEndsAndKeepsEveryCharacter) {
    WFixedMetrics metrics;
    for (int width : {-5, 0, 1, 3, 40}) {
        const std::vector<std::string> lines =
            WrapToWidth(metrics, "łódź Москва 😀 averyveryverylongword end", width, 12, false);
        std::string joined;
        for (const std::string& line : lines) {
            EXPECT_FALSE(line.empty()) << "width " << width;
            joined += line;
        }
        std::string expected = "łódź Москва 😀 averyveryverylongword end";
        std::erase(expected, ' ');
        std::erase(joined, ' ');
        EXPECT_EQ(joined, expected) << "width " << width;
    }
    EXPECT_EQ(WrapToWidth(metrics, "a\r\nb\rc\nd", 100, 12, false),
              (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(ReportText, CutKeepsWholeCharacters) {
    WFixedMetrics metrics;  // 6.6 units a character at size 12
    EXPECT_EQ(CutToWidth(metrics, "Жёлтый", 20, 12, false), "Жёл");
    EXPECT_EQ(CutToWidth(metrics, "😀😀😀", 14, 12, false), "😀😀");
    EXPECT_EQ(CutToWidth(metrics, "abc", 0, 12, false), "");
    EXPECT_EQ(CutToWidth(metrics, "abc", 1000, 12, false), "abc");
    EXPECT_EQ(ReportOneLine("a\r\nb\tc"), "a  b c");
}

TEST(ReportColumns, StoredWidthsAreClampedAndWrap) {
    WListColumns columns(nullptr, "List");
    columns.SetColumns("1,2,7");
    columns.SetWidth(1, 0);
    columns.SetWidth(2, -5);
    columns.SetWidth(3, 5000);
    const std::vector<WColumnSlot> slots = LayOutColumns(columns, 5);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].w, 8);
    EXPECT_EQ(slots[1].w, 8);
    EXPECT_EQ(slots[1].x, 5 + 8 + 7);
    EXPECT_EQ(slots[2].w, 715);  // at most a line
    EXPECT_EQ(slots[2].line, 1);
    EXPECT_EQ(slots[2].x, 5);
}

TEST(ReportPages, LongNoteSplitsBetweenItsLines) {
    std::string body = "0 @I1@ INDI\n1 NAME Note /Writer/\n1 NOTE line 1\n";
    for (int k = 2; k <= 2000; ++k) body += "2 CONT line " + std::to_string(k) + "\n";
    Display() = DisplayOptions{};
    auto collection = test::OpenReportFile(TempGedcom(body));
    ASSERT_TRUE(collection);
    std::unique_ptr<TABSReportForm> form = MakeReportForm(WReportKind::kIndividual);
    form->SetCollection(collection.get());
    form->SetSubject(1);
    ASSERT_TRUE(form->Prepare());
    EXPECT_GT(form->PageCount(), 30);
    int next = 1;
    for (int k = 1; k <= form->PageCount(); ++k) {
        const WReportPage page = form->Page(k);
        for (const WReportItem& item : page.items) {
            EXPECT_GE(item.y, 0);
            if (item.text.rfind("Page ", 0) == 0) continue;  // the footer
            if (item.kind == WItemKind::kLabel && item.y < kReportPageHeight - kPageFootHeight) {
                EXPECT_LE(item.y + item.h, kReportPageHeight - kPageFootHeight + 2) << item.text;
            }
            if (item.text == "line " + std::to_string(next)) ++next;
        }
    }
    EXPECT_EQ(next, 2001);  // every line, in order
}

TEST(ReportPages, FileWithoutIndividualsRunsOnlyGeneralAndIslands) {
    auto collection = test::OpenReportFile(TempGedcom(""));
    ASSERT_TRUE(collection);
    for (int k = 0; k < static_cast<int>(WReportKind::kCount); ++k) {
        const auto kind = static_cast<WReportKind>(k);
        std::unique_ptr<TABSReportForm> form = MakeReportForm(kind);
        form->SetCollection(collection.get());
        form->SetSubject(1);
        const bool prepared = form->Prepare();
        EXPECT_EQ(prepared, !ReportNeedsSubject(kind)) << ReportKindName(kind);
        if (prepared) {
            EXPECT_EQ(form->PageCount(), 1) << ReportKindName(kind);
        }
    }
    std::unique_ptr<TABSReportForm> none = MakeReportForm(WReportKind::kGeneral);
    EXPECT_FALSE(none->Prepare());  // no collection
}

TEST(ReportPages, TenConditionTitleWrapsAndRowsFollowIt) {
    Display() = DisplayOptions{};
    auto collection = test::OpenReportFile(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged");
    ASSERT_TRUE(collection);
    WHLGroup group(collection.get());
    std::string conditions = "+17:F";
    for (int k = 0; k < 9; ++k) conditions += ";O;+17:M";
    group.SetConditions(conditions);
    group.Prepare();
    std::unique_ptr<TABSReportForm> form = MakeReportForm(WReportKind::kHighlighted);
    form->SetCollection(collection.get());
    WReportSources sources;
    sources.group = &group;
    form->SetSources(sources);
    ASSERT_TRUE(form->Prepare());
    const WReportPage page = form->Page(1);
    int titleLines = 0;
    int lowestTitle = 0;
    for (const WReportItem& item : page.items)
        if (item.size == kReportTitleSize) {
            ++titleLines;
            lowestTitle = std::max(lowestTitle, item.y + item.h);
            EXPECT_EQ(item.text.find("Individuals: ") == 0, titleLines == 1);
        }
    EXPECT_GT(titleLines, 1);
    for (const WReportItem& item : page.items)
        if (item.size != kReportTitleSize && item.kind == WItemKind::kLabel) {
            EXPECT_GE(item.y, lowestTitle) << item.text;
        }
    EXPECT_GT(form->PageCount(), 0);
}

TEST(ReportPages, FamilyWithoutMarriagePrintsSubjectAndEmptySpouse) {
    auto collection =
        test::OpenReportFile(TempGedcom("0 @I1@ INDI\n1 NAME Lone /Person/\n1 SEX F\n"));
    ASSERT_TRUE(collection);
    std::unique_ptr<TABSReportForm> form = MakeReportForm(WReportKind::kFamily);
    form->SetCollection(collection.get());
    form->SetSubject(1);
    ASSERT_TRUE(form->Prepare());
    const std::vector<std::string> texts = LabelTexts(form->Page(1));
    const auto at = [&](const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) - texts.begin();
    };
    ASSERT_LT(at("Wife"), static_cast<long>(texts.size()));
    EXPECT_EQ(texts[static_cast<size_t>(at("Wife") + 1)], "Lone /Person/");
    EXPECT_EQ(texts[static_cast<size_t>(at("Husband") + 1)], "");
}

}  // namespace
}  // namespace kindrel
