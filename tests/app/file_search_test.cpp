// The disk file search: masks and the folder walk.
#include "app/file_search.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <fstream>

namespace kindrel {
namespace {

namespace fs = std::filesystem;

TEST(FileSearchMasks, SplitTrimsAndDropsEmptyEntries) {
    EXPECT_EQ(SplitMasks(" *.ged ; *.paf,,*.tmg;"),
              (std::vector<std::string>{"*.ged", "*.paf", "*.tmg"}));
    EXPECT_TRUE(SplitMasks("").empty());
}

TEST(FileSearchMasks, IncludeAndExcludeIgnoreCase) {
    const std::vector<std::string> include = {"*.ged", "*.paf"};
    const std::vector<std::string> exclude = {"*backup*"};
    EXPECT_TRUE(MatchesMasks("family.ged", include, exclude));
    EXPECT_TRUE(MatchesMasks("FAMILY.GED", include, exclude));
    EXPECT_TRUE(MatchesMasks("x.Paf", include, exclude));
    EXPECT_FALSE(MatchesMasks("family.txt", include, exclude));
    EXPECT_FALSE(MatchesMasks("family-Backup.ged", include, exclude));
    EXPECT_TRUE(MatchesMasks("anything", {}, {}));
    EXPECT_FALSE(MatchesMasks(".hidden.ged", include, {}));
    EXPECT_TRUE(MatchesMasks("a1.ged", {"a?.ged"}, {}));
    EXPECT_TRUE(MatchesMasks("b.ged", {"[ab].ged"}, {}));
}

class FileSearchWalk : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/kindrel-search-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        for (const char* file : {"a.ged", "B.GED", "notes.txt", "sub/c.ged", "sub/deep/d.ged",
                                 "sub/skip-me.ged", "backup/e.ged"}) {
            fs::create_directories((m_root / file).parent_path());
            std::ofstream(m_root / file) << "0 HEAD\n";
        }
        fs::create_symlink(m_root, m_root / "sub" / "loop");
    }
    void TearDown() override { fs::remove_all(m_root); }

    std::vector<std::string> Run(const FileSearchOptions& options,
                                 FileSearchResult* result = nullptr) {
        std::atomic<bool> stop{false};
        std::vector<std::string> found;
        const FileSearchResult r = RunFileSearch(options, stop, [&](const std::string& path) {
            found.push_back(fs::relative(path, m_root).string());
        });
        if (result) *result = r;
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path m_root;
};

TEST_F(FileSearchWalk, FindsMatchingFilesInSubFoldersWithoutFollowingLinks) {
    FileSearchOptions options;
    options.folders = {m_root.string()};
    options.includeMasks = "*.ged";
    FileSearchResult result;
    EXPECT_EQ(Run(options, &result),
              (std::vector<std::string>{"B.GED", "a.ged", "backup/e.ged", "sub/c.ged",
                                        "sub/deep/d.ged", "sub/skip-me.ged"}));
    EXPECT_EQ(result.found, 6);
    EXPECT_FALSE(result.stopped);
}

TEST_F(FileSearchWalk, ExcludeMasksSkipFilesAndFolders) {
    FileSearchOptions options;
    options.folders = {m_root.string()};
    options.includeMasks = "*.ged";
    options.excludeMasks = "backup;skip*";
    EXPECT_EQ(Run(options),
              (std::vector<std::string>{"B.GED", "a.ged", "sub/c.ged", "sub/deep/d.ged"}));
}

TEST_F(FileSearchWalk, WithoutSubFoldersOnlyTheFolderItself) {
    FileSearchOptions options;
    options.folders = {m_root.string()};
    options.subDirectories = false;
    EXPECT_EQ(Run(options), (std::vector<std::string>{"B.GED", "a.ged"}));
}

TEST_F(FileSearchWalk, SeveralFoldersAndMissingOnes) {
    FileSearchOptions options;
    options.folders = {(m_root / "sub" / "deep").string(), (m_root / "missing").string(), ""};
    EXPECT_EQ(Run(options), (std::vector<std::string>{"sub/deep/d.ged"}));
}

TEST_F(FileSearchWalk, StopFlagEndsTheWalk) {
    FileSearchOptions options;
    options.folders = {m_root.string()};
    std::atomic<bool> stop{true};
    int found = 0;
    const FileSearchResult result =
        RunFileSearch(options, stop, [&](const std::string&) { ++found; });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(found, 0);
    // Stopped after the first find.
    std::atomic<bool> later{false};
    const FileSearchResult partial = RunFileSearch(options, later, [&](const std::string&) {
        ++found;
        later = true;
    });
    EXPECT_TRUE(partial.stopped);
    EXPECT_EQ(found, 1);
}

}  // namespace
}  // namespace kindrel
