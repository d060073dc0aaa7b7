// Runs the built kindrel executable on hostile input: named pipes, damaged self-viewing files,
// a file over 4 GB, and a SIGTERM in the middle of a load.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace kindrel {
namespace {

namespace fs = std::filesystem;
using clitest::RunResult;

const char* const kNoGedcomText = "This Self-Viewing file does not contain a GEDCOM.";

class CliReliabilityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kindrel-cli-rel-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        fs::create_directory(m_dir / "tmp");
        m_env = {"TMPDIR=" + (m_dir / "tmp").string(), "XDG_CONFIG_HOME=" + m_dir.string()};
    }
    void TearDown() override { fs::remove_all(m_dir); }

    RunResult Run(const std::vector<std::string>& args, int timeoutSeconds = 120) {
        return clitest::FinishProgram(clitest::StartProgram(KINDREL_EXE, args, m_dir, m_env),
                                      m_dir, timeoutSeconds);
    }
    std::string P(const std::string& name) const { return (m_dir / name).string(); }

    // Writes a family of individuals (about 110 bytes each) and packs it with kindrel
    // itself as the viewer part; answers the packed file.
    std::string PackFamily(int individuals) {
        std::string text = "0 HEAD\n1 CHAR UTF-8\n";
        std::mt19937 random(5);
        for (int i = 1; i <= individuals; ++i) {
            text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME Anna" +
                    std::to_string(random() % 500) + " /Lind/\n1 SEX F\n1 BIRT\n2 DATE " +
                    std::to_string(1700 + random() % 300) + "\n";
            if (i > 1) text += "1 FAMC @F" + std::to_string(i - 1) + "@\n";
        }
        for (int f = 1; f < individuals; ++f)
            text += "0 @F" + std::to_string(f) + "@ FAM\n1 WIFE @I" + std::to_string(f) +
                    "@\n1 CHIL @I" + std::to_string(f + 1) + "@\n";
        clitest::WriteTextFile(m_dir / "family.ged", text + "0 TRLR\n");
        const RunResult pack =
            Run({"pack", P("family.ged"), "-o", P("family.sv"), "--viewer", KINDREL_EXE});
        EXPECT_EQ(pack.exitCode, 0) << pack.err;
        return P("family.sv");
    }

    // The read commands, each over file.
    std::vector<std::vector<std::string>> ReadCommands(const std::string& file) const {
        return {{"info", file},          {"show", file, "1"},        {"list", file},
                {"islands", file},       {"descendants", file, "1"}, {"relate", file, "1", "2"},
                {"highlight", file, "+64"}};
    }

    std::vector<std::string> TempEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir / "tmp"))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path m_dir;
    std::vector<std::string> m_env;
};

TEST_F(CliReliabilityTest, NamedPipeIsRefusedByEveryCommandWithoutWaiting) {
    ASSERT_EQ(::mkfifo(P("p.ged").c_str(), 0600), 0);
    std::vector<std::vector<std::string>> commands = ReadCommands(P("p.ged"));
    commands.push_back({"trailer", P("p.ged")});
    commands.push_back({"expand", P("p.ged"), "-o", P("out.ged")});
    commands.push_back({"expand", P("p.ged"), "-o", P("out.ged"), "--blocks", "1"});
    commands.push_back({"pack", P("p.ged"), "-o", P("out.sv"), "--viewer", KINDREL_EXE});
    for (const std::vector<std::string>& command : commands) {
        const RunResult run = Run(command, 30);
        ASSERT_NE(run.exitCode, -2) << command[0] << " hung on a named pipe";
        EXPECT_EQ(run.exitCode, 1) << command[0] << ": " << run.err;
        EXPECT_NE(run.err.find("named pipe"), std::string::npos)
            << command[0] << ": " << run.err;
    }
    // Nor does the message file of pack wait on one.
    clitest::WriteTextFile(m_dir / "family.ged", "0 HEAD\n0 TRLR\n");
    const RunResult pack = Run({"pack", P("family.ged"), "-o", P("out.sv"), "--viewer",
                                KINDREL_EXE, "--message-file", P("p.ged")},
                               30);
    EXPECT_EQ(pack.exitCode, 1) << pack.err;
    EXPECT_FALSE(fs::exists(P("out.sv")));
}

TEST_F(CliReliabilityTest, ExecutableWithoutAValidTrailerIsRefused) {
    const std::string packed = PackFamily(20);
    std::string bytes = clitest::ReadText(packed);
    bytes[bytes.size() - 1] ^= 0x10;  // a bit of the trailer's signature
    clitest::WriteTextFile(m_dir / "flipped.sv", bytes);
    for (const std::string& file : {P("flipped.sv"), std::string(KINDREL_EXE)}) {
        for (const std::vector<std::string>& command : ReadCommands(file)) {
            const RunResult run = Run(command);
            EXPECT_EQ(run.exitCode, 1) << command[0] << " " << file << ": " << run.out;
            EXPECT_NE(run.err.find(kNoGedcomText), std::string::npos) << command[0] << run.err;
        }
    }
}

TEST_F(CliReliabilityTest, CrcFailureEndsEveryCommandWithExitCodeTwoAndTheWarning) {
    const std::string packed = PackFamily(20);
    std::string bytes = clitest::ReadText(packed);
    bytes[fs::file_size(KINDREL_EXE) + 8] ^= 0x01;  // the first block's stored CRC
    clitest::WriteTextFile(m_dir / "crc.sv", bytes);
    for (const std::vector<std::string>& command : ReadCommands(P("crc.sv"))) {
        const RunResult run = Run(command);
        EXPECT_EQ(run.exitCode, 2) << command[0] << ": " << run.err;
        EXPECT_NE(run.err.find("kindrel: warning: 1 of 1 block of " + P("crc.sv") +
                               " failed their CRC check"),
                  std::string::npos)
            << command[0] << ": " << run.err;
        EXPECT_FALSE(run.out.empty()) << command[0] << ": the output is given all the same";
    }
    // An undamaged file still ends with 0.
    EXPECT_EQ(Run({"info", packed}).exitCode, 0);
}

TEST_F(CliReliabilityTest, FileOver4GBIsRefusedBeforeItIsRead) {
    const std::string big = P("big.ged");
    clitest::WriteTextFile(big, "0 HEAD\n");
    std::error_code ec;
    fs::resize_file(big, 5LL << 30, ec);  // sparse: no blocks are written
    if (ec) GTEST_SKIP() << "no sparse 5 GB file here: " << ec.message();
    const RunResult run = Run({"info", big}, 30);
    ASSERT_NE(run.exitCode, -2) << "info read the whole file";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("is larger than 4 GB"), std::string::npos) << run.err;
}

TEST_F(CliReliabilityTest, SigtermDuringALoadLeavesNoTemporaryFile) {
    // Large enough that the load takes a while and its arrays need backing files.
    const std::string packed = PackFamily(40000);
    ASSERT_TRUE(TempEntries().empty());
    // The signal comes as the first temporary file appears, and a little later (expanding,
    // indexing, the islands' arrays).
    const struct {
        const char* command;
        int delayMs;
    } cases[] = {{"info", 0}, {"islands", 20}, {"list", 60}};
    for (const auto& [command, delayMs] : cases) {
        const pid_t pid = clitest::StartProgram(KINDREL_EXE, {command, packed}, m_dir, m_env);
        bool seen = false;
        for (int i = 0; i < 20000 && !seen; ++i) {
            seen = !TempEntries().empty();
            if (!seen) usleep(500);
        }
        ASSERT_TRUE(seen) << "the load made no temporary file";
        usleep(useconds_t(delayMs) * 1000);
        ::kill(pid, SIGTERM);
        const RunResult run = clitest::FinishProgram(pid, m_dir);
        EXPECT_EQ(run.exitCode, 128 + SIGTERM) << run.err;
        const std::vector<std::string> left = TempEntries();
        EXPECT_TRUE(left.empty()) << command << ": " << left.front();
    }
}

}  // namespace
}  // namespace kindrel
