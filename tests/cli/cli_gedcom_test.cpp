// Runs the built kindrel executable: info and show over the sample family and bad input.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
};

// Runs kindrel with arguments (stderr joined to stdout).
RunResult RunKindrel(const std::string& arguments) {
    RunResult result;
    const std::string command = std::string(KINDREL_EXE) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

const std::string kSample = std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";

TEST(CliGedcom, InfoPrintsCountsHeaderAndSubmitter) {
    const RunResult r = RunKindrel("info " + kSample);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    for (const char* line :
         {"Individuals: 59\n", "Families: 18\n", "Notes: 3\n", "Sources: 4\n",
          "Character set: UTF-8, read as UTF-8\n", "Load time: ", "Date: 14 MAR 2024 10:42:17\n",
          "GEDC Version: 5.5.1\n", "Submitter name: Eva Dvo\xC5\x99\xC3\xA1k\n",
          "Submitter address 2: Ashcombe Mill\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    }
}

TEST(CliGedcom, ShowByIdentifierOrNumber) {
    const RunResult byId = RunKindrel("show " + kSample + " @I4@");
    EXPECT_EQ(byId.exitCode, 0);
    EXPECT_NE(byId.out.find("Name: William /Harrowgate/"), std::string::npos) << byId.out;
    EXPECT_EQ(RunKindrel("show " + kSample + " I4").out, byId.out);
    EXPECT_EQ(RunKindrel("show " + kSample + " 4").out, byId.out);
    const RunResult raw = RunKindrel("show " + kSample + " I4 --raw");
    EXPECT_EQ(raw.out.substr(0, 12), "0 @I4@ INDI\n");
}

TEST(CliGedcom, BadInputEndsWithAMessageAndExitCodeOne) {
    const RunResult missing = RunKindrel("show " + kSample + " I999");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.out.find("No individual \"I999\""), std::string::npos);
    const RunResult none = RunKindrel("info /nonexistent/kindrel.ged");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.out.find("Error using the file /nonexistent/kindrel.ged"), std::string::npos);
    const std::string paf =
        (std::filesystem::temp_directory_path() / "kindrel_cli_gedcom_test.paf").string();
    std::ofstream(paf) << "0 HEAD\n0 TRLR\n";
    const RunResult refused = RunKindrel("info " + paf);
    std::filesystem::remove(paf);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("Unknown file format"), std::string::npos);
}

}  // namespace
