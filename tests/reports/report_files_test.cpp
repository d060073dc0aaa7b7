// The file side of saving a report: proposed names, the format a typed name picks, and the
// names of image pages.
#include "reports/report_files.h"

#include <gtest/gtest.h>

#include <string>

namespace kindrel {
namespace {

struct ProposedCase {
    const char* base;
    const char* ending;
    const char* expected;
};

TEST(ReportFiles, ProposedNamesAreSafeFileNames) {
    const ProposedCase cases[] = {
        {"The Sample Family", " - List", "The Sample Family - List"},
        {"Łucja Dvořák", " - Individual", "Łucja Dvořák - Individual"},
        {"a/b\\c:d*e?f\"g<h>i|j", " - Family", "a_b_c_d_e_f_g_h_i_j - Family"},
        {"tab\there\nand\r\x7f", " - Pedigree", "tab_here_and__ - Pedigree"},
        {".hidden", " - Islands", "hidden - Islands"},
        {" . .dots", " - List", "dots - List"},
        {"...", " - List", "List"},
        {"   ", " - Descendants", "Descendants"},
        {"", " - General Info", "General Info"},
        {"", "", "Report"},
        {"../../etc/passwd", " - List", "_.._etc_passwd - List"},
    };
    for (const ProposedCase& c : cases)
        EXPECT_EQ(ProposedReportFileName(c.base, c.ending), c.expected)
            << "base \"" << c.base << "\"";
}

struct TargetCase {
    const char* typed;
    WReportFormat chosen;
    const char* expectedName;
    WReportFormat expectedFormat;
};

TEST(ReportFiles, TypedKnownExtensionPicksTheFormat) {
    using F = WReportFormat;
    const TargetCase cases[] = {
        {"tree.html", F::kPdf, "tree.html", F::kHtml},
        {"tree.HTM", F::kPdf, "tree.HTM", F::kHtml},
        {"tree.Pdf", F::kRtf, "tree.Pdf", F::kPdf},
        {"tree.jpeg", F::kPng, "tree.jpeg", F::kJpeg},
        {"tree.jpg", F::kPng, "tree.jpg", F::kJpeg},
        {"tree.bmp", F::kPdf, "tree.bmp", F::kBmp},
        {"tree.svg", F::kPdf, "tree.svg", F::kSvg},
        {"tree.rtf", F::kHtml, "tree.rtf", F::kRtf},
        {"tree", F::kPdf, "tree.pdf", F::kPdf},
        {"tree", F::kHtml, "tree.html", F::kHtml},
        {"tree.txt", F::kRtf, "tree.txt.rtf", F::kRtf},
        {"my.folder/tree", F::kPng, "my.folder/tree.png", F::kPng},
        {"/tmp/.pdf", F::kSvg, "/tmp/.pdf.svg", F::kSvg},
    };
    for (const TargetCase& c : cases) {
        WReportFormat format = c.chosen;
        EXPECT_EQ(ReportTargetName(c.typed, format), c.expectedName) << c.typed;
        EXPECT_EQ(format, c.expectedFormat) << c.typed;
    }
    WReportFormat format = WReportFormat::kPdf;
    EXPECT_FALSE(ReportFormatOfName("report", format));
    EXPECT_FALSE(ReportFormatOfName("report.emf", format));
    EXPECT_EQ(format, WReportFormat::kPdf);
}

TEST(ReportFiles, ImagePagesAreNumberedWhenThereAreSeveral) {
    EXPECT_EQ(ReportPageFileName("out/list.png", 1, 1), "out/list.png");
    EXPECT_EQ(ReportPageFileName("out/list.png", 3, 12), "out/list-0003.png");
    EXPECT_EQ(ReportPageFileName("out.v2/list", 2, 5), "out.v2/list-0002");
    EXPECT_EQ(ReportPageFileName("list.svg", 12345, 20000), "list-12345.svg");
    for (int k = 0; k < static_cast<int>(WReportFormat::kCount); ++k) {
        const auto format = static_cast<WReportFormat>(k);
        WReportFormat back{};
        ASSERT_TRUE(ReportFormatOfName(std::string("x") + ReportFormatExtension(format), back));
        EXPECT_EQ(back, format);
        EXPECT_NE(std::string(ReportFormatFilter(format)).find(ReportFormatExtension(format)),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace kindrel
