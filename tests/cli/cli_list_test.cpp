// Runs the built kindrel executable: `kindrel list` on the sample family and on small files,
// fixed-width and CSV, sorted, for one island, and with bad input.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kindrel {
namespace {

namespace fs = std::filesystem;
using clitest::Lines;
using clitest::RunResult;

class CliListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kindrel-cli-list-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    RunResult Run(const std::vector<std::string>& args) {
        return clitest::RunProgram(KINDREL_EXE, args, m_dir);
    }

    // The lines of a CSV output (CR LF line ends).
    static std::vector<std::string> CsvLines(const std::string& text) {
        std::vector<std::string> lines = Lines(text);
        for (std::string& line : lines) {
            EXPECT_TRUE(!line.empty() && line.back() == '\r') << line;
            if (!line.empty() && line.back() == '\r') line.pop_back();
        }
        return lines;
    }

    const std::string m_sample = std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";
    fs::path m_dir;
};

TEST_F(CliListTest, DefaultColumnsFixedWidth) {
    const RunResult run = Run({"list", m_sample});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 60u);
    // Widths in pixels / 5: Index 40 -> cut 6, padded to 7; names 160 -> 30 and 31.
    EXPECT_EQ(lines[0].substr(0, 14), "Index  REF    ");
    EXPECT_EQ(lines[0].substr(14, 31), "Surname, Given                 ");
    EXPECT_EQ(lines[1].substr(0, 45), "1      1      Harrowgate, Ambrose            ");
    EXPECT_NE(lines[1].find("(S)-Mercy /Quill/"), std::string::npos);
    // Values are cut to W / 5 - 2 characters: a 15-character date cut to 13.
    EXPECT_NE(lines[1].find("17 FEB 1860"), std::string::npos);
    EXPECT_NE(lines[20].find("INT 1866 (LOS "), std::string::npos);
}

TEST_F(CliListTest, CsvQuotesEveryField) {
    const RunResult run = Run({"list", m_sample, "--csv", "--columns", "1,2,7,65,67,19,29"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = CsvLines(run.out);
    ASSERT_EQ(lines.size(), 60u);
    EXPECT_EQ(lines[0],
              "\"Index\",\"REF\",\"Surname, Given\",\"Birth/[C] Date\",\"Death/[B] Date\","
              "\"Age\",\"LDS\"");
    EXPECT_EQ(lines[1],
              "\"1\",\"1\",\"Harrowgate, Ambrose\",\"1791\",\"17 FEB 1860\",\"~68\","
              "\"----\"");
    // The LDS marks are joined without their tabs, as the list copy writes them.
    EXPECT_EQ(lines[25],
              "\"25\",\"25\",\"Halvorsen, Nils\",\"SEP 1866\",\"1938\",\"~71\","
              "\"BEPS\"");
}

TEST_F(CliListTest, CsvDoublesInnerQuotes) {
    const fs::path file = m_dir / "quotes.ged";
    std::ofstream(file) << "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME John \"Jack\" /Smith/\n"
                           "0 TRLR\n";
    const RunResult run = Run({"list", file.string(), "--csv", "--columns", "5"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = CsvLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "\"John \"\"Jack\"\"\"");
}

TEST_F(CliListTest, SortedAscendingAndDescending) {
    const RunResult up = Run({"list", m_sample, "--csv", "--columns", "1,7", "--sort", "7"});
    ASSERT_EQ(up.exitCode, 0) << up.err;
    const std::vector<std::string> ascending = CsvLines(up.out);
    ASSERT_EQ(ascending.size(), 60u);
    EXPECT_EQ(ascending[1], "\"10\",\"Ashdown, Zoë\"");
    const RunResult down =
        Run({"list", m_sample, "--csv", "--columns", "1,7", "--sort", "7", "--descending"});
    ASSERT_EQ(down.exitCode, 0) << down.err;
    const std::vector<std::string> descending = CsvLines(down.out);
    ASSERT_EQ(descending.size(), 60u);
    for (size_t i = 1; i < ascending.size(); ++i) {
        EXPECT_EQ(ascending[i], descending[ascending.size() - i]);
    }
    // Without --sort, --descending reverses the file order.
    const RunResult reversed = Run({"list", m_sample, "--csv", "--columns", "1", "--descending"});
    ASSERT_EQ(reversed.exitCode, 0) << reversed.err;
    EXPECT_EQ(CsvLines(reversed.out)[1], "\"59\"");
}

TEST_F(CliListTest, OneIsland) {
    const RunResult run = Run({"list", m_sample, "--csv", "--columns", "1,7,58", "--island", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = CsvLines(run.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "\"55\",\"Yıldız, Şükrü\",\"2\"");
    EXPECT_EQ(lines[4], "\"58\",\"Yıldız, Emre\",\"2\"");
}

TEST_F(CliListTest, RelationshipsToAReference) {
    const RunResult run =
        Run({"list", m_sample, "--csv", "--columns", "1,38", "--reference", "@I12@"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = CsvLines(run.out);
    ASSERT_EQ(lines.size(), 60u);
    EXPECT_EQ(lines[4], "\"4\",\"Father\"");
    EXPECT_EQ(lines[12], "\"12\",\"* Selected Person *\"");
}

TEST_F(CliListTest, FitSizesColumnsByContent) {
    const RunResult run = Run({"list", m_sample, "--fit", "--columns", "1,14,9"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 60u);
    // The widest death date is written whole.
    EXPECT_NE(lines[20].find("INT 1866 (LOST AT SEA WITH THE BRIG HALCYON) M"), std::string::npos);
    EXPECT_EQ(lines[0].substr(0, 6), "Index ");
}

TEST_F(CliListTest, BadInputIsRefused) {
    RunResult run = Run({"list", m_sample, "--columns", "1,x"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("\"x\" is not a column code"), std::string::npos) << run.err;
    run = Run({"list", m_sample, "--columns", "1,69"});
    EXPECT_NE(run.exitCode, 0);
    run = Run({"list", m_sample, "--columns", "1,,2"});
    EXPECT_NE(run.exitCode, 0);
    run = Run({"list", m_sample, "--columns", "1,2", "--sort", "7"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("--sort: column 7"), std::string::npos) << run.err;
    run = Run({"list", m_sample, "--island", "9"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("--island: 9"), std::string::npos) << run.err;
    run = Run({"list", m_sample, "--reference", "I999"});
    EXPECT_NE(run.exitCode, 0);
    run = Run({"list", (m_dir / "missing.ged").string()});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.err.empty());
    EXPECT_TRUE(run.out.empty());
}

}  // namespace
}  // namespace kindrel
