// Temporary files and special files: names removed when a signal ends the process, and
// folders, named pipes and devices refused without waiting on them.
#include "containers/errors.h"
#include "containers/regular_file.h"
#include "containers/temp_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kindrel {
namespace {

namespace fs = std::filesystem;

class TempFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kindrel-temp-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // The entries of the folder.
    int Entries() const {
        int n = 0;
        for (auto it = fs::directory_iterator(m_dir); it != fs::directory_iterator(); ++it) ++n;
        return n;
    }

    fs::path m_dir;
};

// The child makes three temporary files, keeps one (forgets it), removes one and ends by
// signalNumber; answers the child's wait status.
int RunChildEndedBy(const fs::path& dir, int signalNumber) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("TMPDIR", dir.c_str(), 1);
        InstallTerminationCleanup(true);
        const TempFile kept = CreateTempFile();
        ForgetTempFile(kept.path);
        const TempFile removed = CreateTempFile();
        RemoveTempFile(removed.path);
        CreateTempFile();
        CreateTempFile();
        ::raise(signalNumber);
        ::_exit(99);  // not reached: the signal ends the child
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

TEST_F(TempFileTest, EndingSignalsRemoveTheHeldFilesAndEndTheProcessBySignal) {
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        const int status = RunChildEndedBy(m_dir, signalNumber);
        ASSERT_TRUE(WIFSIGNALED(status)) << signalNumber;
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        // Only the file that was kept on purpose is left.
        EXPECT_EQ(Entries(), 1) << signalNumber;
        fs::remove_all(m_dir);
        fs::create_directory(m_dir);
    }
}

TEST_F(TempFileTest, RemovedAndForgottenNamesAreNotTouchedAgain) {
    const std::string tmp = m_dir.string();
    setenv("TMPDIR", tmp.c_str(), 1);
    const TempFile first = CreateTempFile();
    ::close(first.fd);
    RemoveTempFile(first.path);
    EXPECT_FALSE(fs::exists(first.path));
    const TempFile second = CreateTempFile();
    ::close(second.fd);
    ForgetTempFile(second.path);
    RemoveTempFilesNow();
    EXPECT_TRUE(fs::exists(second.path));
    unsetenv("TMPDIR");
}

TEST_F(TempFileTest, OpenRegularFileRefusesSpecialFilesWithoutWaiting) {
    const std::string pipe = (m_dir / "pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::string path;
        const char* kind;
    } cases[] = {{pipe, "a named pipe"}, {m_dir.string(), "a folder"}, {"/dev/null", "a device"}};
    for (const auto& c : cases) {
        try {
            const int fd = OpenRegularFile(c.path, O_RDONLY);
            ::close(fd);
            ADD_FAILURE() << c.path << " was opened";
        } catch (const ENotRegularFile& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot read \"" + c.path + "\": it is " + c.kind + ", not a regular file.");
        }
    }
    // A missing file is an ordinary failure; a regular one opens in blocking mode.
    errno = 0;
    EXPECT_EQ(OpenRegularFile((m_dir / "missing").string(), O_RDONLY), -1);
    EXPECT_EQ(errno, ENOENT);
    const std::string file = (m_dir / "file").string();
    ::close(::open(file.c_str(), O_CREAT | O_WRONLY, 0600));
    const int fd = OpenRegularFile(file, O_RDONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    ::close(fd);
}

}  // namespace
}  // namespace kindrel
