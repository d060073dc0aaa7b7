// `kindrel report` where the file cannot be written (a folder as target, a folder that cannot
// be written or does not exist, a full disk) and with a page range.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace kindrel {
namespace {

namespace fs = std::filesystem;
using clitest::RunResult;

const std::string kSample = std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";

// Every entry below dir, as paths relative to it.
std::set<std::string> Entries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        names.insert(fs::relative(entry.path(), dir).string());
    return names;
}

class CliReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kindrel-cli-report-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        fs::create_directory(m_dir / "tmp");
        fs::create_directory(m_dir / "out");
        // Another user must reach the folder and the sample (the unwritable-folder case).
        fs::permissions(m_dir, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
        fs::permissions(m_dir / "tmp", fs::perms::all);
        m_env = {"TMPDIR=" + (m_dir / "tmp").string(),
                 "XDG_CONFIG_HOME=" + (m_dir / "tmp").string(),
                 "XDG_CACHE_HOME=" + (m_dir / "tmp").string(), "HOME=" + (m_dir / "tmp").string(),
                 "QT_QPA_PLATFORM=offscreen"};
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_dir / "out", fs::perms::owner_all, ignored);
        fs::remove_all(m_dir);
    }

    RunResult Run(const std::vector<std::string>& args, const std::function<void()>& inChild = {}) {
        return clitest::FinishProgram(
            clitest::StartProgram(KINDREL_EXE, args, m_dir, m_env, inChild), m_dir);
    }

    fs::path m_dir;
    std::vector<std::string> m_env;
};

// A function for the child that runs it as an unprivileged user when the test runs as root,
// so that folder permissions apply (the user is looked up before the fork).
std::function<void()> DropRoot() {
    if (::geteuid() != 0) return {};
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    return [uid, gid] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(126);
    };
}

// In the child: files may grow to 4 KB only, as on a full disk.
void SmallDisk() {
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

enum class Setup { kFolderAsTarget, kReadOnlyFolder, kMissingFolder, kFullDisk };

struct UnwritableCase {
    const char* name;
    Setup setup;
    const char* kind;
    const char* target;  // below out/
    const char* reason;  // a part of the message
};

TEST_F(CliReportTest, UnwritableTargetFailsWithReasonAndLeavesTheOldFile) {
    const UnwritableCase cases[] = {
        {"folder as target", Setup::kFolderAsTarget, "general", "old.pdf", "is a folder"},
        {"folder as image target", Setup::kFolderAsTarget, "general", "old.png", "is a folder"},
        {"read-only folder, PDF", Setup::kReadOnlyFolder, "general", "old.pdf", "Cannot write"},
        {"read-only folder, HTML", Setup::kReadOnlyFolder, "list", "old.html", "Cannot write"},
        {"read-only folder, PNG pages", Setup::kReadOnlyFolder, "list", "old.png", "Cannot write"},
        {"missing folder", Setup::kMissingFolder, "individual", "none/old.rtf", "Cannot write"},
        {"full disk, PDF", Setup::kFullDisk, "general", "old.pdf", "Cannot write"},
        {"full disk, RTF", Setup::kFullDisk, "list", "old.rtf", "Cannot write"},
        {"full disk, HTML", Setup::kFullDisk, "list", "old.html", "Cannot write"},
        {"full disk, PNG pages", Setup::kFullDisk, "list", "old.png", "Cannot write"},
        {"full disk, SVG", Setup::kFullDisk, "general", "old.svg", "Cannot write"},
    };
    const fs::path out = m_dir / "out";
    for (const UnwritableCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::permissions(out, fs::perms::owner_all);
        for (const auto& entry : fs::directory_iterator(out)) fs::remove_all(entry.path());
        const fs::path target = out / c.target;
        // What was there before: an old file of the name (and of its page names), or a folder.
        const std::string old = "the old file\n";
        if (c.setup == Setup::kFolderAsTarget) {
            fs::create_directory(target);
            clitest::WriteTextFile(target / "inside.txt", old);
        } else if (c.setup != Setup::kMissingFolder) {
            clitest::WriteTextFile(target, old);
            const std::string stem = (out / target.stem()).string();
            clitest::WriteTextFile(stem + "-0001" + target.extension().string(), old);
        }
        std::function<void()> inChild;
        if (c.setup == Setup::kReadOnlyFolder) {
            fs::permissions(out, fs::perms::owner_read | fs::perms::owner_exec |
                                     fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
            inChild = DropRoot();
        }
        if (c.setup == Setup::kFullDisk) inChild = SmallDisk;
        const std::set<std::string> before = Entries(out);

        const RunResult run = Run({"report", c.kind, kSample, "-o", target.string()}, inChild);

        EXPECT_NE(run.exitCode, 0) << run.out;
        EXPECT_LT(run.exitCode, 126) << "killed or not started: " << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(target.stem().string()), std::string::npos)
            << "names the file: " << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Entries(out), before) << "nothing added, nothing removed";
        for (const std::string& name : before) {
            const fs::path path = out / name;
            if (fs::is_regular_file(path)) {
                EXPECT_EQ(clitest::ReadText(path), old) << name;
            }
        }
        for (const std::string& name : Entries(m_dir / "tmp"))
            EXPECT_EQ(name.find("old"), std::string::npos) << "temporary file left: " << name;
    }
}

TEST_F(CliReportTest, PageRangeWritesOnlyThosePages) {
    const fs::path out = m_dir / "out";
    // The list of the sample takes two pages.
    RunResult run =
        Run({"report", "list", kSample, "--pages", "2", "-o", (out / "two.html").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("1 page written"), std::string::npos) << run.out;
    const std::string html = clitest::ReadText(out / "two.html");
    EXPECT_NE(html.find("id=\"page2\""), std::string::npos);
    EXPECT_EQ(html.find("id=\"page1\""), std::string::npos);
    EXPECT_NE(html.find("Page 2<"), std::string::npos) << "the page keeps its number";

    run = Run({"report", "list", kSample, "--pages", "1-", "-o", (out / "all.png").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("2 pages written"), std::string::npos) << run.out;
    run = Run({"report", "list", kSample, "--pages", "2-9", "-o", (out / "rest.png").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Entries(out),
              (std::set<std::string>{"two.html", "all-0001.png", "all-0002.png", "rest.png"}));

    struct Bad {
        const char* pages;
        const char* message;
    };
    const Bad bad[] = {{"3", "the report has 2 pages"},  {"3-4", "the report has 2 pages"},
                       {"2-1", "is not a page range"},   {"0", "is not a page range"},
                       {"x", "is not a page range"},     {"-2", "is not a page range"},
                       {"1-2-3", "is not a page range"}, {"2-x", "is not a page range"}};
    for (const Bad& b : bad) {
        run = Run({"report", "list", kSample, std::string("--pages=") + b.pages, "-o",
                   (out / "bad.pdf").string()});
        EXPECT_NE(run.exitCode, 0) << b.pages;
        EXPECT_NE(run.err.find(b.message), std::string::npos) << b.pages << ": " << run.err;
        EXPECT_FALSE(fs::exists(out / "bad.pdf")) << b.pages;
    }
}

}  // namespace
}  // namespace kindrel
