// Highlighting over GEDCOM files read by the real readers: a small hand-written family
// (tests/data/highlight/hill_family.ged) whose answers are known from the file, the sample
// family, and the kindrel highlight command run as a user would.
#include "gedcom/ged_collection.h"
#include "hl_test_util.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace kindrel {
namespace {

namespace fs = std::filesystem;
using hltest::Marked;
using hltest::Numbers;

const std::string kHillFamily = std::string(KINDREL_TEST_DATA_DIR) + "/highlight/hill_family.ged";
const std::string kSampleFamily = std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";

std::unique_ptr<WGEDCollection> Load(const std::string& path) {
    std::string error;
    std::unique_ptr<WGEDCollection> collection = OpenGedcomCollection(path, error);
    EXPECT_TRUE(collection) << error;
    if (!collection) return nullptr;
    EXPECT_TRUE(collection->LoadFile());
    collection->AfterLoad();
    return collection;
}

// I1 Ambrose Hill + I2 Mercy Quill (F1, 1822, Ashcombe) -> I3 William; William + I4 Anne
// Brown (F2) -> I6 John (ABT 1850); William + I5 Anne Brown (F3) -> I7 John (1855); I8 Peter
// MacDonald (1848), I9 Mary MACKAY and I10 Hugh McDonald without families.
TEST(GedcomHighlightTest, HandWrittenFamily) {
    const std::unique_ptr<WGEDCollection> family = Load(kHillFamily);
    ASSERT_TRUE(family);
    ASSERT_EQ(family->IndividualCount(), 10);
    EXPECT_EQ(Marked(*family, "+17:F"), (Numbers{2, 4, 5, 9}));
    EXPECT_EQ(Marked(*family, "-17:F"), (Numbers{1, 3, 6, 7, 8, 10}));
    EXPECT_EQ(Marked(*family, "+29:3mac"), (Numbers{8, 9}));
    EXPECT_EQ(Marked(*family, "+21:6^0"), (Numbers{1, 2, 3, 4}));
    EXPECT_EQ(Marked(*family, "+21:6^1"), (Numbers{3, 4}));
    EXPECT_EQ(Marked(*family, "+22:1^0"), (Numbers{3, 6, 7}));
    EXPECT_EQ(Marked(*family, "+37"), (Numbers{3}));
    EXPECT_EQ(Marked(*family, "+38"), (Numbers{3, 4, 5}));
    EXPECT_EQ(Marked(*family, "+39:ABT 1850"), (Numbers{6, 8}));
    EXPECT_EQ(Marked(*family, "+64"), (Numbers{8, 9, 10}));
    EXPECT_EQ(Marked(*family, "+10"), (Numbers{3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Marked(*family, "+19:1ashcombe"), (Numbers{1}));
    EXPECT_EQ(Marked(*family, "+43:2ashcombe"), (Numbers{1, 2}));
    EXPECT_EQ(Marked(*family, "+62:6"), Numbers{});
    EXPECT_EQ(Marked(*family, "+63:6"), (Numbers{3, 4}));
    EXPECT_EQ(Marked(*family, "+95:6"), (Numbers{1, 3, 6}));
    EXPECT_EQ(Marked(*family, "+23:7"), (Numbers{1, 2, 3, 5, 6, 7}));
}

TEST(GedcomHighlightTest, SampleFamily) {
    const std::unique_ptr<WGEDCollection> sample = Load(kSampleFamily);
    ASSERT_TRUE(sample);
    const int32_t count = sample->IndividualCount();
    ASSERT_EQ(count, 59);
    // Obadiah Thorne (I59) is the only individual without family links.
    EXPECT_EQ(Marked(*sample, "+64"), (Numbers{59}));
    // Plain and negated sex conditions split the file.
    EXPECT_EQ(Marked(*sample, "+17:F").size() + Marked(*sample, "-17:F").size(), size_t(count));
    // Ruth (I45) descends from Ambrose (I1) through William, Clara, Nils and Johanna.
    const Numbers ancestors = Marked(*sample, "+21:45^0");
    for (const int32_t n : {1, 4, 12, 25, 35}) {
        EXPECT_NE(std::find(ancestors.begin(), ancestors.end(), n), ancestors.end()) << n;
    }
    const Numbers descendants = Marked(*sample, "+22:1^0");
    EXPECT_NE(std::find(descendants.begin(), descendants.end(), 45), descendants.end());
    // Living people of the sample were born 1940 to 2005.
    const Numbers living = Marked(*sample, "+65");
    for (const int32_t n : {44, 49, 57, 58}) {
        EXPECT_NE(std::find(living.begin(), living.end(), n), living.end()) << n;
    }
    // William (I4) married three times; Nils (I25) has LDS events.
    const Numbers marriages = Marked(*sample, "+45:53");
    EXPECT_NE(std::find(marriages.begin(), marriages.end(), 4), marriages.end());
    const Numbers lds = Marked(*sample, "+35");
    EXPECT_NE(std::find(lds.begin(), lds.end(), 25), lds.end());
}

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs kindrel with args; stdout and stderr are captured separately.
RunResult RunKindrel(const std::vector<std::string>& args) {
    std::string pattern = (fs::temp_directory_path() / "kindrel-hl-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    const fs::path dir = pattern;
    const fs::path outFile = dir / "stdout.txt";
    const fs::path errFile = dir / "stderr.txt";
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        std::string exe = KINDREL_EXE;
        argv.push_back(exe.data());
        std::vector<std::string> copies = args;
        for (std::string& arg : copies) argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadText(outFile);
    result.err = ReadText(errFile);
    fs::remove_all(dir);
    return result;
}

TEST(CliHighlightTest, ListsDescriptionIndividualsAndCount) {
    const RunResult run = RunKindrel({"highlight", kHillFamily, "+17:F;A;-29:2brown"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "female AND with surname not equal to \"BROWN\"\n"
              "      2  2  Mercy /Quill/ [2]\n"
              "      9  9  Mary /MACKAY/ [9]\n"
              "2 individuals highlighted\n");
}

TEST(CliHighlightTest, NegatedFirstConditionIsNotAnOption) {
    const RunResult run = RunKindrel({"highlight", kHillFamily, "-13;A;+15"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("with a surname AND without a father\n"), std::string::npos);
    EXPECT_NE(run.out.find("7 individuals highlighted\n"), std::string::npos) << run.out;
}

TEST(CliHighlightTest, DescribeOnlyAndCsv) {
    RunResult run = RunKindrel({"highlight", kHillFamily, "+64", "--describe"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "who are unlinked\n3 individuals highlighted\n");
    run = RunKindrel({"highlight", kHillFamily, "+38", "--csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "\"#\",\"ID\",\"Name\"\r\n"
              "\"3\",\"3\",\"William /Hill/ [3]\"\r\n"
              "\"4\",\"4\",\"Anne /Brown/ [4]\"\r\n"
              "\"5\",\"5\",\"Anne /Brown/ [5]\"\r\n");
    run = RunKindrel({"highlight", kHillFamily, ""});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "\n0 individuals highlighted\n");
}

TEST(CliHighlightTest, BadConditionsGetAMessageAndFail) {
    const struct {
        const char* condition;
        const char* message;
    } cases[] = {
        {"+150:x", "names no condition"},
        {"+1", "names no condition"},
        {"+13;A;x", "does not start with a condition code"},
        {"+13;A;;O;+14", "does not start with a condition code"},
        {"+23:abc", "is not an individual number"},
        {"+21:6", "must be an individual number, \"^\" and a generation count"},
        {"+21:six^0", "is not a number"},
        {"+39:soon", "could not be read"},
        {"+13;O;+13;O;+13;O;+13;O;+13;O;+13;O;+13;O;+13;O;+13;O;+13;O;+13",
         "Too many high lighting options"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.condition);
        const RunResult run = RunKindrel({"highlight", kHillFamily, c.condition});
        EXPECT_NE(run.exitCode, 0);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    const RunResult missing = RunKindrel({"highlight", "/nonexistent/family.ged", "+13"});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.err.find("/nonexistent/family.ged"), std::string::npos);
}

}  // namespace
}  // namespace kindrel
