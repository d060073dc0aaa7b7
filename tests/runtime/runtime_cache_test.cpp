#include "runtime/runtime_cache.h"
#include "runtime/system_libs.h"

#include "../services/services_test_util.h"

#include <fcntl.h>
#include <gnu/libc-version.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>

namespace kindrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFileText;
using test::ScratchDir;
using test::WriteFileText;

const std::string kLauncher(4096, 'L');

class RuntimeCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(m_dir.Path() / "src");
        m_files = {{"kindrel-viewer", std::string(200000, 'v') + "viewer", 0755},
                   {"lib/libQt6Core.so.6", std::string(70000, 'c') + "core", 0755},
                   {"plugins/platforms/libqxcb.so", "xcb plugin", 0755},
                   {"qt.conf", "[Paths]\nPrefix=.\n", 0644},
                   {"empty.txt", "", 0644}};
        for (const auto& file : m_files) {
            const std::string source = m_dir / ("src/" + fs::path(file.path).filename().string());
            WriteFileText(source, file.content);
            m_sources.push_back(BundleSource{file.path, source, file.mode});
        }
        m_place.cacheHome = m_dir / "cache";
        m_place.tempDir = m_dir / "tmp";
        fs::create_directories(m_place.tempDir);
        WriteBundle(m_dir / "portable");
    }

    void WriteBundle(const std::string& path, const std::string& frameCache = "") {
        WriteFileText(path, kLauncher);
        WUniqueFd fd(::open(path.c_str(), O_WRONLY | O_APPEND));
        RuntimeFooter floors;
        floors.glibcFloor = "2.34";
        floors.cxxFloor = "3.4.30";
        floors.compatGlibcFloor = "2.36";
        m_written = WriteRuntimeBundle(m_sources, floors, 3, frameCache, fd.Get());
    }

    RuntimeBundle Read(const std::string& path) {
        const WUniqueFd fd = OpenForReading(path);
        RuntimeBundle bundle;
        EXPECT_TRUE(
            ReadRuntimeBundle(fd.Get(), static_cast<long long>(fs::file_size(path)), bundle));
        return bundle;
    }

    ReadyRuntime Prepare(const std::string& path = "") {
        const std::string file = path.empty() ? m_dir / "portable" : path;
        const WUniqueFd fd = OpenForReading(file);
        return PrepareRuntime(fd.Get(), Read(file), m_place);
    }

    std::string CacheFolder() const {
        return m_place.cacheHome + "/kindrel/runtime-" + m_written.footer.RuntimeIdHex();
    }

    std::vector<std::string> Entries(const std::string& dir) const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(dir))
            names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    void ExpectUnpacked(const std::string& dir) {
        for (const auto& file : m_files) {
            EXPECT_EQ(ReadFileText(dir + "/" + file.path), file.content) << file.path;
            EXPECT_EQ(fs::status(dir + "/" + file.path).permissions(),
                      static_cast<fs::perms>(file.mode))
                << file.path;
        }
        EXPECT_EQ(fs::status(dir).permissions(), fs::perms::owner_all);
    }

    struct File {
        std::string path, content;
        uint32_t mode;
    };
    ScratchDir m_dir;
    std::vector<File> m_files;
    std::vector<BundleSource> m_sources;
    RuntimePlace m_place;
    BundleWriteResult m_written;
};

TEST_F(RuntimeCacheTest, IndexRefusesPathsThatLeaveTheFolder) {
    const char* const bad[] = {"/etc/passwd", "../x", "a/../b", "a//b", "a/./b", "", "a/"};
    for (const char* path : bad) {
        BundleIndex index;
        index.entries.push_back(BundleEntry{path, 0644, 1, 2});
        EXPECT_THROW(BundleIndex::FromBytes(index.ToBytes()), EBundleError) << path;
    }
    BundleIndex twice, fileAndFolder, badMode;
    twice.entries = {{"a", 0644, 1, 1}, {"a", 0644, 1, 1}};
    fileAndFolder.entries = {{"lib", 0644, 1, 1}, {"lib/x", 0644, 1, 1}};
    badMode.entries = {{"x", 04755, 1, 1}};
    for (const BundleIndex* index : {&twice, &fileAndFolder, &badMode})
        EXPECT_THROW(BundleIndex::FromBytes(index->ToBytes()), EBundleError);
    const std::string good = fileAndFolder.ToBytes();
    EXPECT_THROW(BundleIndex::FromBytes(good.substr(0, good.size() - 1)), EBundleError);
    EXPECT_THROW(BundleIndex::FromBytes(good + "x"), EBundleError);
}

TEST_F(RuntimeCacheTest, BundleRoundTripAndFrameReuse) {
    const RuntimeBundle bundle = Read(m_dir / "portable");
    EXPECT_EQ(bundle.where.bundleOffset, static_cast<long long>(kLauncher.size()));
    ASSERT_EQ(bundle.index.entries.size(), m_files.size());
    EXPECT_EQ(bundle.index.entries[1].path, "lib/libQt6Core.so.6");
    EXPECT_EQ(bundle.where.footer.glibcFloor, "2.34");
    WriteBundle(m_dir / "first", m_dir / "frames");
    EXPECT_EQ(m_written.framesReused, 0);
    WriteBundle(m_dir / "second", m_dir / "frames");
    EXPECT_EQ(m_written.framesReused, static_cast<int>(m_files.size()));
    EXPECT_EQ(ReadFileText(m_dir / "first"), ReadFileText(m_dir / "second"));
    EXPECT_EQ(ReadFileText(m_dir / "first"), ReadFileText(m_dir / "portable"));
}

TEST_F(RuntimeCacheTest, UnpacksOnceThenFindsItInTheCache) {
    const ReadyRuntime first = Prepare();
    EXPECT_TRUE(first.unpacked);
    EXPECT_FALSE(first.privateCopy);
    EXPECT_EQ(first.dir, CacheFolder());
    ExpectUnpacked(first.dir);
    const std::string id = m_written.footer.RuntimeIdHex();
    EXPECT_EQ(Entries(m_place.cacheHome + "/kindrel"),
              (std::vector<std::string>{"runtime-" + id, "runtime-" + id + ".lock"}));
    const ReadyRuntime second = Prepare();
    EXPECT_FALSE(second.unpacked);
    EXPECT_EQ(second.dir, first.dir);
}

TEST_F(RuntimeCacheTest, RuntimesUnusedForAMonthGoWhenANewOneIsUnpacked) {
    const std::string base = m_place.cacheHome + "/kindrel";
    for (const char* name : {"runtime-old", "runtime-recent", "runtime-nolock"}) {
        fs::create_directories(base + "/" + name + "/lib");
        WriteFileText(base + "/" + name + "/lib/x.so", "x");
        if (std::string(name) != "runtime-nolock") WriteFileText(base + "/" + name + ".lock", "");
    }
    const fs::file_time_type now = fs::file_time_type::clock::now();
    fs::last_write_time(base + "/runtime-old.lock", now - std::chrono::hours(24 * 40));
    fs::last_write_time(base + "/runtime-recent.lock", now - std::chrono::hours(24 * 20));
    EXPECT_TRUE(Prepare().unpacked);
    EXPECT_FALSE(fs::exists(base + "/runtime-old"));
    EXPECT_FALSE(fs::exists(base + "/runtime-old.lock"));
    EXPECT_TRUE(fs::exists(base + "/runtime-recent/lib/x.so"));
    EXPECT_TRUE(fs::exists(base + "/runtime-nolock/lib/x.so"));
}

TEST_F(RuntimeCacheTest, DamagedOrChangedRuntimeIsUnpackedAfresh) {
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> damages = {
        {"one byte",
         [](const std::string& dir) {
             std::string bytes = ReadFileText(dir + "/lib/libQt6Core.so.6");
             bytes[1000] ^= 1;
             WriteFileText(dir + "/lib/libQt6Core.so.6", bytes);
         }},
        {"cut short", [](const std::string& dir) { fs::resize_file(dir + "/kindrel-viewer", 10); }},
        {"removed", [](const std::string& dir) { fs::remove(dir + "/qt.conf"); }},
        {"extra plugin",
         [](const std::string& dir) { WriteFileText(dir + "/plugins/evil.so", "x"); }},
        {"mode", [](const std::string& dir) { fs::permissions(dir + "/qt.conf", fs::perms::all); }},
        {"open folder", [](const std::string& dir) { fs::permissions(dir, fs::perms::all); }},
        {"file in the way",
         [](const std::string& dir) {
             fs::remove_all(dir);
             WriteFileText(dir, "not a folder");
         }},
        {"symlink in the way",
         [this](const std::string& dir) {
             fs::remove_all(dir);
             fs::create_directory(m_dir / "elsewhere");
             fs::create_directory_symlink(m_dir / "elsewhere", dir);
         }},
    };
    for (const auto& [name, damage] : damages) {
        const std::string dir = Prepare().dir;
        damage(dir);
        const ReadyRuntime again = Prepare();
        EXPECT_TRUE(again.unpacked) << name;
        EXPECT_FALSE(again.privateCopy) << name;
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(dir))) << name;
        ExpectUnpacked(dir);
        EXPECT_EQ(Entries(m_place.cacheHome + "/kindrel").size(), 2u) << name;  // folder, lock
    }
}

TEST_F(RuntimeCacheTest, ConcurrentStartsShareOneRuntime) {
    int barrier[2];
    ASSERT_EQ(pipe(barrier), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < 4; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            char go;
            close(barrier[1]);
            if (read(barrier[0], &go, 1) != 0) _exit(3);  // all start when the pipe closes
            try {
                const ReadyRuntime ready = Prepare();
                const WUniqueFd dir(open(ready.dir.c_str(), O_RDONLY | O_DIRECTORY));
                _exit(!ready.privateCopy && VerifyRuntime(dir.Get(), Read(m_dir / "portable").index)
                          ? 0
                          : 1);
            } catch (...) {
                _exit(2);
            }
        }
        children.push_back(pid);
    }
    close(barrier[0]);
    close(barrier[1]);
    for (const pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(Entries(m_place.cacheHome + "/kindrel").size(), 2u);
    ExpectUnpacked(CacheFolder());
}

TEST_F(RuntimeCacheTest, UnusableCacheGivesAPrivateCopy) {
    const std::vector<std::pair<const char*, std::function<void()>>> spoils = {
        {"cache is a file",
         [this] {
             fs::create_directories(m_place.cacheHome);
             WriteFileText(m_place.cacheHome + "/kindrel", "file");
         }},
        {"cache is a symlink",
         [this] {
             fs::create_directories(m_place.cacheHome);
             fs::create_directory(m_dir / "other");
             fs::create_directory_symlink(m_dir / "other", m_place.cacheHome + "/kindrel");
         }},
        {"cache cannot be created", [this] { m_place.cacheHome = "/proc/kindrel-no-cache"; }},
        {"no home", [this] { m_place.cacheHome.clear(); }},
    };
    for (const auto& [name, spoil] : spoils) {
        fs::remove_all(m_dir / "cache");
        fs::remove_all(m_dir / "other");
        m_place.cacheHome = m_dir / "cache";
        spoil();
        const ReadyRuntime ready = Prepare();
        EXPECT_TRUE(ready.privateCopy) << name;
        EXPECT_FALSE(ready.cacheProblem.empty()) << name;
        EXPECT_EQ(fs::path(ready.dir).parent_path(), fs::path(m_place.tempDir)) << name;
        ExpectUnpacked(ready.dir);
        RemoveRuntimeFolder(ready.dir);
        if (fs::exists(m_dir / "other")) {
            EXPECT_TRUE(fs::is_empty(m_dir / "other")) << name;
        }
    }
    EXPECT_TRUE(fs::is_empty(m_place.tempDir));
}

TEST_F(RuntimeCacheTest, CacheOfAnotherUserIsLeftAlone) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to hand a folder to another user";
    fs::create_directories(m_place.cacheHome + "/kindrel");
    ASSERT_EQ(chown((m_place.cacheHome + "/kindrel").c_str(), 65534, 65534), 0);
    const ReadyRuntime ready = Prepare();
    EXPECT_TRUE(ready.privateCopy);
    EXPECT_NE(ready.cacheProblem.find("another user"), std::string::npos) << ready.cacheProblem;
    EXPECT_TRUE(fs::is_empty(m_place.cacheHome + "/kindrel"));
    RemoveRuntimeFolder(ready.dir);
}

TEST_F(RuntimeCacheTest, DamagedBundleLeavesNothingBehind) {
    std::string bytes = ReadFileText(m_dir / "portable");
    const RuntimeBundle bundle = Read(m_dir / "portable");
    bytes[static_cast<size_t>(bundle.DataOffset()) + 40] ^= 0x55;  // inside the first frame
    WriteFileText(m_dir / "damaged", bytes);
    EXPECT_THROW(Prepare(m_dir / "damaged"), EBundleError);
    EXPECT_EQ(Entries(m_place.cacheHome + "/kindrel").size(), 1u);  // the lock file alone
    EXPECT_TRUE(fs::is_empty(m_place.tempDir));

    // A changed index no longer matches the runtime id.
    bytes = ReadFileText(m_dir / "portable");
    bytes[kLauncher.size() + 10] ^= 1;
    WriteFileText(m_dir / "index", bytes);
    const WUniqueFd fd = OpenForReading(m_dir / "index");
    RuntimeBundle unused;
    EXPECT_THROW(ReadRuntimeBundle(fd.Get(), static_cast<long long>(bytes.size()), unused),
                 EBundleError);
    // Cut short: the footer is gone, or no longer ends where the file ends.
    const WUniqueFd cutFd = OpenForReading(m_dir / "portable");
    EXPECT_FALSE(ReadRuntimeBundle(cutFd.Get(), static_cast<long long>(bytes.size()) - 10, unused));
}

TEST(SystemLibrariesTest, VersionsCompareNumberByNumber) {
    EXPECT_LT(CompareVersions("2.9", "2.34"), 0);
    EXPECT_GT(CompareVersions("3.4.30", "3.4.9"), 0);
    EXPECT_EQ(CompareVersions("2.36", "2.36"), 0);
    EXPECT_LT(CompareVersions("2", "2.1"), 0);
    EXPECT_EQ(CompareVersions("2.0", "2"), 0);
}

TEST(SystemLibrariesTest, FindsTheSystemsGlibcAndItsVersion) {
    const WSystemLibraries system;
    const std::string libc = system.Find("libc.so.6");
    ASSERT_FALSE(libc.empty());
    const std::string newest = NewestDefinedVersion(libc, "GLIBC_");
    EXPECT_LE(CompareVersions(newest, gnu_get_libc_version()), 0) << newest;
    EXPECT_GE(CompareVersions(newest, "2.34"), 0) << newest;
    EXPECT_FALSE(NewestDefinedVersion(system.Find("libstdc++.so.6"), "GLIBCXX_").empty());
    EXPECT_TRUE(system.Find("libkindrel-none.so.1").empty());
    EXPECT_TRUE(NewestDefinedVersion("/proc/self/status", "GLIBC_").empty());
    // Without the loader's cache the standard folders still answer.
    EXPECT_FALSE(WSystemLibraries("/nonexistent").Find("libc.so.6").empty());
}

}  // namespace
}  // namespace kindrel
