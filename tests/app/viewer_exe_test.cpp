// Runs the built kindrel-viewer as a user would: help, no display, a packed file, a GEDCOM
// given instead of a payload, and neither.
#include "services/self_view_packer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kindrel {
namespace {

namespace fs = std::filesystem;

class ViewerExeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kindrel-viewer-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs command with the environment prefix env; stdout and stderr go to files.
    int Run(const std::string& env, const std::string& arguments,
            const std::string& exe = KINDREL_VIEWER) {
        const std::string command = "cd \"" + m_dir.string() + "\" && env " + env +
                                    " XDG_CONFIG_HOME=\"" + m_dir.string() + "\" TMPDIR=\"" +
                                    m_dir.string() + "\" \"" + exe + "\" " + arguments +
                                    " > out.txt 2> err.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const char* name) const {
        std::ifstream in(m_dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string Sample() const { return std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged"; }

    fs::path m_dir;
};

TEST_F(ViewerExeTest, HelpPrintsUsage) {
    EXPECT_EQ(Run("-u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY", "--help"), 0);
    EXPECT_NE(Read("out.txt").find("Usage: kindrel-viewer"), std::string::npos);
}

TEST_F(ViewerExeTest, WithoutDisplayItPointsToTheOffscreenMode) {
    const int code = Run("-u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY", "");
    EXPECT_NE(code, 0);
    EXPECT_NE(Read("err.txt").find("QT_QPA_PLATFORM=offscreen"), std::string::npos);
}

TEST_F(ViewerExeTest, PackedSampleLoadsAndIsScreenshot) {
    PackOptions pack;
    pack.gedcomFile = Sample();
    pack.outputFile = (m_dir / "SampleFamily").string();
    pack.viewerFile = KINDREL_VIEWER;
    pack.title = "The Sample Family";
    PackSelfViewing(pack);
    EXPECT_EQ(Run("QT_QPA_PLATFORM=offscreen", "--screenshot-tab 1 --screenshot general.png",
                  pack.outputFile),
              0)
        << Read("err.txt");
    EXPECT_GT(fs::file_size(m_dir / "general.png"), 1000u);
    EXPECT_EQ(Run("QT_QPA_PLATFORM=offscreen", "--timing", pack.outputFile), 0) << Read("err.txt");
    EXPECT_NE(Read("err.txt").find("(ok)"), std::string::npos);
    // The run left no temporary file behind.
    for (const auto& entry : fs::directory_iterator(m_dir))
        EXPECT_NE(entry.path().filename().string().rfind("fmr", 0), 0u) << entry.path();
}

TEST_F(ViewerExeTest, KindrelPackTakesTheViewerBesideIt) {
    // Both executables are built into one folder, so pack needs no --viewer.
    ASSERT_EQ(fs::path(KINDREL_EXE).parent_path(), fs::path(KINDREL_VIEWER).parent_path());
    EXPECT_EQ(Run("", "pack \"" + Sample() + "\" -o Packed --title Beside", KINDREL_EXE), 0)
        << Read("err.txt");
    EXPECT_EQ(Run("QT_QPA_PLATFORM=offscreen", "--timing", (m_dir / "Packed").string()), 0)
        << Read("err.txt");
    EXPECT_NE(Read("err.txt").find("(ok)"), std::string::npos);
}

TEST_F(ViewerExeTest, WithoutPayloadAGivenGedcomIsOpened) {
    EXPECT_EQ(Run("QT_QPA_PLATFORM=offscreen", "--timing \"" + Sample() + "\""), 0)
        << Read("err.txt");
    EXPECT_NE(Read("err.txt").find("loaded:"), std::string::npos);
}

TEST_F(ViewerExeTest, WithoutPayloadOrGedcomItEndsWithTheMessage) {
    EXPECT_EQ(Run("QT_QPA_PLATFORM=offscreen", "--timing"), 1);
    EXPECT_NE(Read("err.txt").find("does not contain a GEDCOM"), std::string::npos);
}

// A named pipe as the settings file or as the GEDCOM: the viewer neither waits on it nor
// reads it, and says why. timeout ends a viewer that hangs (exit code 137).
TEST_F(ViewerExeTest, NamedPipesAsSettingsFileOrGedcomNeitherHangNorAreRead) {
    ASSERT_EQ(::mkfifo((m_dir / "KDSE.ini").c_str(), 0600), 0);
    const std::string viewer = std::string(" \"") + KINDREL_VIEWER + "\" ";
    EXPECT_EQ(Run("QT_QPA_PLATFORM=offscreen", "-s KILL 60" + viewer + "--timing \"" + Sample() +
                                                   "\"",
                  "timeout"),
              0)
        << Read("err.txt");
    EXPECT_NE(Read("err.txt").find("(ok)"), std::string::npos) << Read("err.txt");
    EXPECT_NE(Read("err.txt").find("it is a named pipe, not a regular file"), std::string::npos)
        << Read("err.txt");

    ASSERT_EQ(::mkfifo((m_dir / "p.ged").c_str(), 0600), 0);
    const int code = Run("QT_QPA_PLATFORM=offscreen",
                         "-s KILL 60" + viewer + "--timing \"" + (m_dir / "p.ged").string() + "\"",
                         "timeout");
    EXPECT_NE(code, 137) << "the viewer hung on a named pipe";
    EXPECT_NE(Read("err.txt").find("\"" + (m_dir / "p.ged").string() +
                                   "\": it is a named pipe, not a regular file"),
              std::string::npos)
        << Read("err.txt");
}

// The "fmr*.tmp" files in folder (Qt keeps its own runtime folder there too).
std::vector<std::string> TempFiles(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("fmr", 0) == 0) names.push_back(name);
    }
    return names;
}

// SIGTERM while the viewer expands and loads its payload: the viewer ends by the signal and
// leaves nothing of the family in the temporary folder.
TEST_F(ViewerExeTest, SigtermDuringTheLoadLeavesNoTemporaryFile) {
    std::string text = "0 HEAD\n1 CHAR UTF-8\n";
    for (int i = 1; i <= 40000; ++i)
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME Anna" + std::to_string(i % 97) +
                " /Lind/\n1 BIRT\n2 DATE " + std::to_string(1700 + i % 300) + "\n";
    std::ofstream(m_dir / "big.ged", std::ios::binary) << text << "0 TRLR\n";
    PackOptions pack;
    pack.gedcomFile = (m_dir / "big.ged").string();
    pack.outputFile = (m_dir / "Big").string();
    pack.viewerFile = KINDREL_VIEWER;
    PackSelfViewing(pack);
    const fs::path tmp = m_dir / "tmp";
    fs::create_directory(tmp);
    for (const int delayMs : {0, 100}) {
        const std::string command = "cd \"" + m_dir.string() +
                                    "\" && exec env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=\"" +
                                    m_dir.string() + "\" TMPDIR=\"" + tmp.string() + "\" \"" +
                                    pack.outputFile + "\" --timing > out.txt 2> err.txt";
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        bool seen = false;
        for (int i = 0; i < 60000 && !seen; ++i) {
            seen = !TempFiles(tmp).empty();
            if (!seen) ::usleep(500);
        }
        ASSERT_TRUE(seen) << "the viewer made no temporary file";
        ::usleep(static_cast<useconds_t>(delayMs) * 1000);
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (delayMs == 0 || WIFSIGNALED(status)) {
            ASSERT_TRUE(WIFSIGNALED(status)) << "ended normally: " << Read("err.txt");
            EXPECT_EQ(WTERMSIG(status), SIGTERM);
        } else {
            // On a quick machine the later signal may come after the load has ended and the
            // timing run has closed by itself; nothing may be left behind either way.
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Read("err.txt");
        }
        for (const std::string& name : TempFiles(tmp))
            ADD_FAILURE() << delayMs << " ms: " << name << " left behind";
    }
}

TEST_F(ViewerExeTest, BadArgumentsAreRefused) {
    EXPECT_EQ(Run("QT_QPA_PLATFORM=offscreen", "--screenshot-tab 12 --screenshot x.png"), 2);
    EXPECT_NE(Read("err.txt").find("--screenshot-tab"), std::string::npos);
    EXPECT_EQ(Run("QT_QPA_PLATFORM=offscreen", "a.ged b.ged"), 2);
}

}  // namespace
}  // namespace kindrel
