// Extract GEDCOM and the atomic output beneath it: byte-identical copies, replaced files kept
// whole on every failure (a folder, the file itself, a size limit, a cancel, an unwritable
// folder) and no temporary file left behind; the name proposed from the sender's field.
#include "services/gedcom_extract.h"

#include "containers/ui_hooks.h"
#include "services/atomic_output.h"
#include "services/posix_file.h"
#include "services_test_util.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using test::ReadFileText;
using test::ScratchDir;
using test::WriteFileText;

// About 2.6 MB of varied bytes (NUL, CR, high bytes): more than two copy chunks.
std::string LargeGedcom() {
    std::string text = "0 HEAD\r\n1 CHAR UTF-8\r\n";
    for (int i = 1; i <= 40000; ++i) {
        text += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME Jiří \"ř\" /Nováková & Syn/\r\n";
        text += std::string(1, static_cast<char>(i % 256)) + "\n";
    }
    return text + "0 TRLR\r\n";
}

class ExtractTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_source = m_dir / "fmr1234.tmp";
        m_text = LargeGedcom();
        WriteFileText(m_source, m_text);
    }
    void TearDown() override { SetCancelRequested(false); }

    // Entries of the folder besides the source.
    std::vector<std::string> Others() const {
        std::vector<std::string> names;
        for (const std::string& name : m_dir.Entries())
            if (name != "fmr1234.tmp") names.push_back(name);
        return names;
    }

    ScratchDir m_dir;
    std::string m_source;
    std::string m_text;
};

TEST_F(ExtractTest, CopiesEveryByteAndReplacesAnOldFileKeepingItsMode) {
    const std::string target = m_dir / "family.ged";
    EXPECT_EQ(ExtractGedcomFile(m_source, target), static_cast<long long>(m_text.size()));
    EXPECT_EQ(ReadFileText(target), m_text);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    const mode_t umask = ::umask(0);
    ::umask(umask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~umask);

    WriteFileText(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ExtractGedcomFile(m_source, target);
    EXPECT_EQ(ReadFileText(target), m_text);
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Others(), std::vector<std::string>{"family.ged"});
}

TEST_F(ExtractTest, WritesThroughASymbolicLink) {
    const std::string real = m_dir / "real.ged";
    WriteFileText(real, "old");
    ASSERT_EQ(::symlink(real.c_str(), (m_dir / "link.ged").c_str()), 0);
    ExtractGedcomFile(m_source, m_dir / "link.ged");
    EXPECT_EQ(ReadFileText(real), m_text);
    struct stat st {};
    ASSERT_EQ(::lstat((m_dir / "link.ged").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST_F(ExtractTest, FailuresNameTheirReasonAndLeaveTheOldFileWhole) {
    std::filesystem::create_directory(m_dir / "folder.ged");
    struct Case {
        std::string target;
        const char* reason;
    };
    const Case cases[] = {
        {m_dir / "folder.ged", "it is a folder"},
        {m_source, "it is the file being viewed"},
        {m_dir / "missing/family.ged", "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        try {
            ExtractGedcomFile(m_source, c.target);
            ADD_FAILURE() << "no error";
        } catch (const EOutputError& e) {
            EXPECT_EQ(e.Reason(), c.reason);
            EXPECT_NE(std::string(e.what()).find(c.target), std::string::npos);
        }
    }
    EXPECT_EQ(ReadFileText(m_source), m_text);
    EXPECT_EQ(Others(), std::vector<std::string>{"folder.ged"});
    EXPECT_THROW(ExtractGedcomFile(m_dir / "none.tmp", m_dir / "x.ged"), EFileError);
}

TEST_F(ExtractTest, ReadOnlyFolderIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string folder = m_dir / "locked";
    std::filesystem::create_directory(folder);
    WriteFileText(folder + "/family.ged", "old");
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    EXPECT_THROW(ExtractGedcomFile(m_source, folder + "/family.ged"), EOutputError);
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(ReadFileText(folder + "/family.ged"), "old");
}

TEST_F(ExtractTest, AFileSizeLimitLeavesTheOldFileAndNoTemporaryFile) {
    const std::string target = m_dir / "family.ged";
    WriteFileText(target, "old");
    // Beyond the limit a write fails with EFBIG instead of ending the process.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string reason;
    try {
        ExtractGedcomFile(m_source, target);
    } catch (const EOutputError& e) {
        reason = e.Reason();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(reason, ErrorText(EFBIG));
    EXPECT_EQ(ReadFileText(target), "old");
    EXPECT_EQ(Others(), std::vector<std::string>{"family.ged"});
}

TEST_F(ExtractTest, CancelStopsAndWritesNothing) {
    const std::string target = m_dir / "family.ged";
    WriteFileText(target, "old");
    const UiHooks saved = Hooks();
    int pumps = 0;
    long long lastDone = 0;
    Hooks().pumpEvents = [&] {
        if (++pumps == 2) SetCancelRequested(true);  // Cancel pressed during the copy
    };
    Hooks().progress = [&](const std::string& label, long long done, long long) {
        EXPECT_EQ(label, "Extracting");
        lastDone = done;
    };
    EXPECT_THROW(ExtractGedcomFile(m_source, target), EExtractCancelled);
    Hooks() = saved;
    EXPECT_GT(lastDone, 0);
    EXPECT_LT(lastDone, static_cast<long long>(m_text.size()));
    EXPECT_EQ(ReadFileText(target), "old");
    EXPECT_EQ(Others(), std::vector<std::string>{"family.ged"});
}

TEST(ProposedGedcomName, BaseNameEndingInGed) {
    struct Case {
        const char* field;
        const char* title;
        const char* expected;
    };
    const Case cases[] = {
        {"family.ged", "", "family.ged"},
        {"Smith.GED", "", "Smith.GED"},
        {"../../etc/passwd", "", "passwd.ged"},
        {"C:\\Users\\ann\\Tree.ged", "", "Tree.ged"},
        {"..", "Smith Family", "Smith Family.ged"},
        {"dir/", "", "family.ged"},
        {"", "Our \"Tree\": 1900/2000", "Our _Tree__ 1900_2000.ged"},
        {"", "", "family.ged"},
        {".hidden", "", "hidden.ged"},
        {"a\nb*c.ged", "", "a_b_c.ged"},
        {"Dvořák", "", "Dvořák.ged"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProposedGedcomName(c.field, c.title), c.expected) << c.field;
}

// A file of several write-back windows: the copy is exact, the event pump runs all along (also
// while the disk catches up), and a commit whose syncs run on a worker thread still reports
// its failure on the caller's thread.
TEST_F(ExtractTest, LargeCopyKeepsPumpingAndCommitFailuresReachTheCaller) {
    std::string large;
    while (large.size() < (20u << 20)) large += m_text;
    const std::string source = m_dir / "fmr1234.tmp";
    WriteFileText(source, large);
    const std::string target = m_dir / "family.ged";
    const UiHooks saved = Hooks();
    int pumps = 0;
    Hooks().pumpEvents = [&] { ++pumps; };
    EXPECT_EQ(ExtractGedcomFile(source, target), static_cast<long long>(large.size()));
    EXPECT_EQ(ReadFileText(target), large);
    EXPECT_GE(pumps, 20);

    const std::string blocked = m_dir / "blocked.ged";
    WAtomicOutput output(blocked);
    output.Write("0 HEAD\n", 7);
    // A folder that is not empty now stands where the file should go.
    std::filesystem::create_directories(blocked + "/inside");
    int waits = 0;
    try {
        output.Commit([&] { ++waits; });
        ADD_FAILURE() << "the commit should have failed";
    } catch (const EOutputError& e) {
        EXPECT_NE(std::string(e.what()).find("blocked.ged"), std::string::npos) << e.what();
    }
    Hooks() = saved;
    EXPECT_TRUE(std::filesystem::is_directory(blocked + "/inside"));
}

}  // namespace
}  // namespace kindrel
