#include "services/stale_files.h"

#include "containers/temp_file.h"
#include "services_test_util.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kindrel {
namespace {

using test::ScopedEnv;
using test::ScratchDir;
using test::WriteFileText;

bool Exists(const std::string& path) {
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

// A child process that holds a shared lock on a file until told to let go, as a running
// viewer holds its temporary files.
class LockHolder {
  public:
    explicit LockHolder(const std::string& path) {
        int ready[2], release[2];
        if (pipe(ready) != 0 || pipe(release) != 0) std::abort();
        m_pid = fork();
        if (m_pid == 0) {
            close(ready[0]);
            close(release[1]);
            const int fd = open(path.c_str(), O_RDONLY);
            const char ok = fd >= 0 && flock(fd, LOCK_SH) == 0 ? 'y' : 'n';
            (void)!write(ready[1], &ok, 1);
            char c;
            (void)!read(release[0], &c, 1);
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        m_release = release[1];
        char ok = 'n';
        (void)!read(ready[0], &ok, 1);
        close(ready[0]);
        m_locked = ok == 'y';
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    ~LockHolder() {
        close(m_release);
        int status;
        waitpid(m_pid, &status, 0);
    }
    bool Locked() const { return m_locked; }

  private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_locked = false;
};

TEST(StaleFilesTest, DeletesUnlockedTempFilesOnly) {
    ScratchDir dir;
    WriteFileText(dir / "fmrABC123.tmp", "stale");
    WriteFileText(dir / "fmr.tmp.keep", "other name");
    WriteFileText(dir / "other.tmp", "other name");
    WriteFileText(dir / "xfmr1.tmp", "other name");
    const StaleCleanupResult result = DeleteStaleTempFiles(dir.Path().string(), 0);
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(result.kept, 0);
    EXPECT_FALSE(Exists(dir / "fmrABC123.tmp"));
    EXPECT_TRUE(Exists(dir / "fmr.tmp.keep"));
    EXPECT_TRUE(Exists(dir / "other.tmp"));
    EXPECT_TRUE(Exists(dir / "xfmr1.tmp"));
}

TEST(StaleFilesTest, FileHeldByAnotherProcessSurvives) {
    ScratchDir dir;
    WriteFileText(dir / "fmrHELD01.tmp", "in use");
    {
        const LockHolder holder(dir / "fmrHELD01.tmp");
        ASSERT_TRUE(holder.Locked());
        const StaleCleanupResult result = DeleteStaleTempFiles(dir.Path().string(), 0);
        EXPECT_EQ(result.deleted, 0);
        EXPECT_EQ(result.kept, 1);
        EXPECT_TRUE(Exists(dir / "fmrHELD01.tmp"));
    }
    // The holder has ended: now the file is stale.
    EXPECT_EQ(DeleteStaleTempFiles(dir.Path().string(), 0).deleted, 1);
    EXPECT_FALSE(Exists(dir / "fmrHELD01.tmp"));
}

TEST(StaleFilesTest, FileLockedThroughAnotherDescriptionOfThisProcessSurvives) {
    ScratchDir dir;
    WriteFileText(dir / "fmrSELF01.tmp", "in use");
    const int fd = open((dir / "fmrSELF01.tmp").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_SH), 0);
    EXPECT_EQ(DeleteStaleTempFiles(dir.Path().string(), 0).deleted, 0);
    EXPECT_TRUE(Exists(dir / "fmrSELF01.tmp"));
    close(fd);
}

TEST(StaleFilesTest, OwnTempFilesOfThisRunSurvive) {
    ScratchDir dir;
    const ScopedEnv tmp("TMPDIR", dir.Path().c_str());
    const TempFile mine = CreateTempFile();
    ASSERT_EQ(std::filesystem::path(mine.path).parent_path(), dir.Path());
    EXPECT_EQ(DeleteStaleTempFiles(0).deleted, 0);
    EXPECT_TRUE(Exists(mine.path));
    close(mine.fd);
    EXPECT_EQ(DeleteStaleTempFiles(0).deleted, 1);
    ForgetTempFile(mine.path);
}

TEST(StaleFilesTest, FoldersAndLinksAreLeftAlone) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "fmrDIR.tmp");
    WriteFileText(dir / "target", "not ours to delete");
    std::filesystem::create_symlink(dir / "target", dir / "fmrLINK.tmp");
    const StaleCleanupResult result = DeleteStaleTempFiles(dir.Path().string(), 0);
    EXPECT_EQ(result.deleted, 0);
    EXPECT_EQ(result.kept, 2);
    EXPECT_TRUE(Exists(dir / "fmrDIR.tmp"));
    EXPECT_TRUE(Exists(dir / "fmrLINK.tmp"));
    EXPECT_TRUE(Exists(dir / "target"));
}

TEST(StaleFilesTest, FilesOfAnotherUserAreLeftAlone) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
    ScratchDir dir;
    WriteFileText(dir / "fmrOTHER.tmp", "someone else's");
    ASSERT_EQ(chown((dir / "fmrOTHER.tmp").c_str(), 65534, 65534), 0);
    const StaleCleanupResult result = DeleteStaleTempFiles(dir.Path().string(), 0);
    EXPECT_EQ(result.deleted, 0);
    EXPECT_TRUE(Exists(dir / "fmrOTHER.tmp"));
}

TEST(StaleFilesTest, MissingFolderDoesNothing) {
    ScratchDir dir;
    const StaleCleanupResult result = DeleteStaleTempFiles(dir / "missing", 0);
    EXPECT_EQ(result.deleted, 0);
    EXPECT_EQ(result.kept, 0);
}

}  // namespace
TEST(StaleFilesTest, FreshUnlockedFileSurvivesTheDefaultAge) {
    // A viewer takes its lock just after creating a file; a cleanup in that instant keeps it.
    ScratchDir dir;
    WriteFileText(dir / "fmrNEW001.tmp", "just created");
    EXPECT_EQ(DeleteStaleTempFiles(dir.Path().string()).deleted, 0);
    EXPECT_TRUE(Exists(dir / "fmrNEW001.tmp"));
    EXPECT_EQ(DeleteStaleTempFiles(dir.Path().string(), 0).deleted, 1);
}

}  // namespace kindrel
