// Runs the built kindrel executable: islands, descendants and relate on the sample family,
// and on a self-viewing copy of it.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace kindrel {
namespace {

namespace fs = std::filesystem;
using clitest::Lines;
using clitest::RunResult;

class CliAnalysisTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kindrel-cli-analysis-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    RunResult Run(const std::vector<std::string>& args) {
        return clitest::RunProgram(KINDREL_EXE, args, m_dir);
    }

    const std::string m_sample = std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";
    fs::path m_dir;
};

TEST_F(CliAnalysisTest, IslandsOfTheSampleFamily) {
    const RunResult run = Run({"islands", m_sample});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_EQ(lines[0], "    #      Ind      Mar 1st Individual");
    EXPECT_EQ(lines[1].substr(0, 24), "    1       54       17 ");
    EXPECT_NE(lines[1].find("Ambrose /Harrowgate/"), std::string::npos);
    EXPECT_EQ(lines[2].substr(0, 24), "    2        4        1 ");
    EXPECT_NE(lines[2].find("Şükrü /Yıldız/"), std::string::npos);
    EXPECT_EQ(lines[3].substr(0, 24), "    3        1        0 ");
    EXPECT_NE(lines[3].find("Obadiah /Thorne/"), std::string::npos);

    const RunResult csv = Run({"islands", m_sample, "--csv"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    const std::vector<std::string> rows = Lines(csv.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "\"#\",\"Ind\",\"Mar\",\"1st Individual\"");
    EXPECT_EQ(rows[2].rfind("\"2\",\"4\",\"1\",\"Şükrü", 0), 0u) << rows[2];
    EXPECT_EQ(rows[3].back(), '"');
}

TEST_F(CliAnalysisTest, DescendantsOfTheFounder) {
    const RunResult run = Run({"descendants", m_sample, "@I1@"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0], "Descendants (36 individuals)");
    EXPECT_EQ(lines[1].rfind("1 - Ambrose /Harrowgate/", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find(" + Mercy /Quill/"), std::string::npos);
    // Clara is reached through both of her marriages' lines; Sigrid a second time.
    bool duplicate = false;
    bool firstOfThree = false;
    for (const std::string& line : lines) {
        if (line.rfind("      4 - Sigrid /Halvorsen/", 0) == 0 &&
            line.find(" (DUPLICATED)") != std::string::npos) {
            duplicate = true;
        }
        if (line.rfind("  2 - William /Harrowgate/", 0) == 0 &&
            line.find(" [1 of 3]") != std::string::npos) {
            firstOfThree = true;
        }
    }
    EXPECT_TRUE(duplicate) << run.out;
    EXPECT_TRUE(firstOfThree) << run.out;

    // The same individual by number and by identifier without at signs.
    EXPECT_EQ(Run({"descendants", m_sample, "1"}).out, run.out);
    EXPECT_EQ(Run({"descendants", m_sample, "I1"}).out, run.out);

    const RunResult repeated = Run({"descendants", m_sample, "I1", "--repeat"});
    ASSERT_EQ(repeated.exitCode, 0);
    EXPECT_EQ(repeated.out.find("(DUPLICATED)"), std::string::npos);
    EXPECT_EQ(Lines(repeated.out)[0], "Descendants (37 individuals)");

    const RunResult oneGeneration = Run({"descendants", m_sample, "I1", "--generations", "1"});
    ASSERT_EQ(oneGeneration.exitCode, 0);
    for (const std::string& line : Lines(oneGeneration.out)) {
        EXPECT_EQ(line.find("    "), std::string::npos) << line;
    }

    const RunResult alone = Run({"descendants", m_sample, "I59"});
    ASSERT_EQ(alone.exitCode, 0);
    ASSERT_EQ(Lines(alone.out).size(), 2u);
    EXPECT_EQ(Lines(alone.out)[0], "Descendants (0 individuals)");
}

TEST_F(CliAnalysisTest, RelateNamesTheRelationAndTheCommonAncestor) {
    RunResult run = Run({"relate", m_sample, "I45", "I49"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "3C");
    EXPECT_EQ(lines[1].rfind("William /Harrowgate/", 0), 0u);

    run = Run({"relate", m_sample, "45", "1"});
    EXPECT_EQ(run.out, "GGG Grand Father\n\n");
    run = Run({"relate", m_sample, "@I45@", "@I45@"});
    EXPECT_EQ(run.out, "* Selected Person *\n\n");
    // Another island: no relation, no ancestor.
    run = Run({"relate", m_sample, "45", "59"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "\n\n");
}

TEST_F(CliAnalysisTest, BadNumbersAndFilesFailWithAMessage) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"relate", m_sample, "0", "1"},
          std::vector<std::string>{"relate", m_sample, "1", "60"},
          std::vector<std::string>{"relate", m_sample, "I999", "1"},
          std::vector<std::string>{"relate", m_sample, "@@", "1"},
          std::vector<std::string>{"descendants", m_sample, "99999999999999"},
          std::vector<std::string>{"descendants", m_sample, "-3"},
          std::vector<std::string>{"descendants", m_sample, "1", "--generations", "300"},
          std::vector<std::string>{"islands", (m_dir / "missing.ged").string()}}) {
        const RunResult run = Run(args);
        EXPECT_NE(run.exitCode, 0) << args[2] << " " << args[3 % args.size()];
        EXPECT_LT(run.exitCode, 128) << "crashed";
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    const RunResult range = Run({"relate", m_sample, "1", "60"});
    EXPECT_NE(range.err.find("out of range"), std::string::npos) << range.err;
    EXPECT_NE(range.err.find("59 individuals"), std::string::npos) << range.err;
    const RunResult unknown = Run({"relate", m_sample, "I999", "1"});
    EXPECT_NE(unknown.err.find("I999"), std::string::npos) << unknown.err;
}

TEST_F(CliAnalysisTest, SelfViewingFileAnswersLikeItsGedcom) {
    const std::string packed = (m_dir / "family.sv").string();
    const RunResult pack = Run({"pack", m_sample, "-o", packed, "--viewer", KINDREL_EXE});
    ASSERT_EQ(pack.exitCode, 0) << pack.err;
    EXPECT_EQ(Run({"islands", packed}).out, Run({"islands", m_sample}).out);
    EXPECT_EQ(Run({"descendants", packed, "I4"}).out, Run({"descendants", m_sample, "I4"}).out);
    EXPECT_EQ(Run({"relate", packed, "I45", "I49"}).out,
              Run({"relate", m_sample, "I45", "I49"}).out);
}

}  // namespace
}  // namespace kindrel
