// kindrel islands, descendants and relate on a generated file of a million generations, each
// person the only child of the previous one: every walk must end without exhausting the
// call stack.
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

class CliAnalysisDeepTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "kindrel-cli-deep-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        s_dir = pattern;
        s_chain = (s_dir / "chain.ged").string();
        const std::string command = std::string("'") + KINDREL_GENGEDCOM +
                                    "' 1000000 --shape chain -o '" + s_chain + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    RunResult Run(const std::vector<std::string>& args) {
        return clitest::RunProgram(KINDREL_EXE, args, s_dir);
    }

    static fs::path s_dir;
    static std::string s_chain;
};

fs::path CliAnalysisDeepTest::s_dir;
std::string CliAnalysisDeepTest::s_chain;

TEST_F(CliAnalysisDeepTest, OneIslandOfAMillion) {
    const RunResult run = Run({"islands", s_chain});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].rfind("    1  1000000   999999 ", 0), 0u) << lines[1];
}

TEST_F(CliAnalysisDeepTest, DescendantsStopAt255Generations) {
    for (const bool repeat : {false, true}) {
        std::vector<std::string> args{"descendants", s_chain, "1"};
        if (repeat) args.push_back("--repeat");
        const RunResult run = Run(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 257u);
        EXPECT_EQ(lines[0], "Descendants (255 individuals)");
        EXPECT_EQ(lines[256].find_first_not_of(' '), 2u * 255u);
        EXPECT_EQ(lines[256].rfind(std::string(510, ' ') + "256 - ", 0), 0u);
    }
    const RunResult last = Run({"descendants", s_chain, "@I999999@", "--generations", "5"});
    ASSERT_EQ(last.exitCode, 0) << last.err;
    EXPECT_EQ(Lines(last.out).size(), 3u);
    EXPECT_EQ(Lines(last.out)[0], "Descendants (1 individuals)");
}

TEST_F(CliAnalysisDeepTest, RelationshipsAcrossTheWholeLine) {
    RunResult run = Run({"relate", s_chain, "1000000", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out)[0].rfind("999997G Grand ", 0), 0u) << run.out;
    run = Run({"relate", s_chain, "1", "1000000"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out)[0].rfind("999997G Grand ", 0), 0u) << run.out;
    run = Run({"relate", s_chain, "500000", "500001"});
    EXPECT_TRUE(run.out.rfind("Son\n", 0) == 0 || run.out.rfind("Daughter\n", 0) == 0) << run.out;
}

}  // namespace
}  // namespace kindrel
