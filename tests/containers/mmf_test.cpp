#include "containers/mmf.h"
#include "containers/errors.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>

namespace kindrel {
namespace {

namespace fs = std::filesystem;

static_assert(!std::is_copy_constructible_v<WMMF>);
static_assert(!std::is_copy_assignable_v<WMMF>);
static_assert(std::is_nothrow_move_constructible_v<WMMF>);
static_assert(std::is_nothrow_move_constructible_v<WVersionMMF>);

const char* const kMessageTail =
    "\r\nPlease check that this file is not being used by another application.";

std::string ScratchPath(const std::string& name) {
    return (fs::temp_directory_path() /
            ("kindrel_mmf_test_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::int32_t Word(const WMMF& store, std::int64_t offset) {
    std::int32_t v;
    std::memcpy(&v, store.PointerAt(offset), sizeof v);
    return v;
}

TEST(WMMF, SmallNewStoreIsAHeapBlockWithItsInitialSize) {
    WMMF store("", true, 1024, 100);
    EXPECT_TRUE(store.InMemory());
    EXPECT_EQ(store.Size(), 100);
    EXPECT_EQ(store.FileHandle(), -1);
    EXPECT_TRUE(store.FileName().empty());
}

TEST(WMMF, WriteReturnsThePositionBeforeTheCallAndExtendsTheSize) {
    WMMF store("", true, 16, 0);
    EXPECT_EQ(store.Write("abc", 3), 0);
    EXPECT_EQ(store.Write("defg", 4), 3);
    EXPECT_EQ(store.Size(), 7);
    EXPECT_EQ(store.Position(), 7);
    // Nothing is written for a zero or negative count; the position is still reported.
    EXPECT_EQ(store.Write("x", 0), 7);
    EXPECT_EQ(store.Write("x", -5), 7);
    EXPECT_EQ(store.Size(), 7);
    EXPECT_EQ(std::string(store.PointerAt(0), 7), "abcdefg");
}

TEST(WMMF, ReadStopsAtTheSizeAndRefusesNegativePositions) {
    WMMF store("", true, 16, 0);
    store.Write("hello", 5);
    char buffer[16] = {};
    EXPECT_EQ(store.Seek(1, 0), 1);
    EXPECT_EQ(store.Read(buffer, 16), 4);
    EXPECT_EQ(std::string(buffer, 4), "ello");
    EXPECT_EQ(store.Read(buffer, 16), 0);
    store.Seek(-10, 1);
    EXPECT_LT(store.Position(), 0);
    EXPECT_EQ(store.Read(buffer, 3), 0);
    EXPECT_EQ(store.Write("zz", 2), store.Position());
    EXPECT_EQ(store.Size(), 5);
}

TEST(WMMF, SeekKnowsThreeOriginsAndIgnoresOthers) {
    WMMF store("", true, 16, 0);
    store.Write("0123456789", 10);
    EXPECT_EQ(store.Seek(3, 0), 3);
    EXPECT_EQ(store.Seek(2, 1), 5);
    EXPECT_EQ(store.Seek(-1, 2), 9);
    EXPECT_EQ(store.Seek(100, 7), 9);
}

TEST(WMMF, NewStoreOf64KOrMoreStartsInATemporaryFileWhoseNameIsGoneAtOnce) {
    WMMF store("", true, 16384, 65536);
    EXPECT_FALSE(store.InMemory());
    const std::string path = store.FileName();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(fs::path(path).filename().string().rfind("fmr", 0), 0u);
    EXPECT_EQ(fs::path(path).extension(), ".tmp");
    // Nothing is left in the temporary folder, however the process ends.
    EXPECT_FALSE(fs::exists(path));
    struct stat info {};
    ASSERT_EQ(::fstat(store.FileHandle(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_nlink, 0u);
    EXPECT_EQ(store.Size(), 65536);
    std::memset(store.Base(), 'x', 65536);
    EXPECT_EQ(store.PointerAt(65535)[0], 'x');
}

TEST(WMMF, MappingAMissingFileFailsWithTheFileName) {
    const std::string path = ScratchPath("missing.ged");
    try {
        WMMF store(path, 0, WMMF::kModeReadOnly);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Error using the file " + path + kMessageTail);
        EXPECT_EQ(e.FileName(), path);
    }
}

TEST(WMMF, MappingAnEmptyFileFailsWithTheSameMessage) {
    const std::string path = ScratchPath("empty.ged");
    WriteFile(path, "");
    try {
        WMMF store(path, 0, WMMF::kModeReadOnly);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Error using the file " + path + kMessageTail);
    }
    fs::remove(path);
}

TEST(WMMF, MappingAFolderOrANamedPipeFailsAtOnceNamingWhatItIs) {
    EXPECT_THROW(WMMF(fs::temp_directory_path().string(), 0, WMMF::kModeReadOnly),
                 ENotRegularFile);
    const std::string pipe = ScratchPath("pipe.ged");
    fs::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // No writer ever opens the pipe: a blocking open would wait here forever.
    for (const std::uint16_t mode : {WMMF::kModeReadOnly, WMMF::kModeReadWrite}) {
        try {
            WMMF store(pipe, 0, mode);
            ADD_FAILURE() << "a named pipe was mapped";
        } catch (const ENotRegularFile& e) {
            EXPECT_EQ(e.FileName(), pipe);
            EXPECT_STREQ(e.what(), ("Cannot read \"" + pipe +
                                    "\": it is a named pipe, not a regular file.")
                                       .c_str());
        }
    }
    fs::remove(pipe);
}

TEST(WMMF, ReadOnlyMappingShowsTheFileAndRefusesWrites) {
    const std::string path = ScratchPath("ro.ged");
    WriteFile(path, "0 HEAD\n0 TRLR");
    {
        WMMF store(path, 0, WMMF::kModeReadOnly);
        EXPECT_TRUE(store.ReadOnly());
        EXPECT_FALSE(store.InMemory());
        EXPECT_EQ(store.Size(), 13);
        EXPECT_EQ(std::string(store.Base(), 13), "0 HEAD\n0 TRLR");
        EXPECT_THROW(store.Write("x", 1), EFileError);
        store.Flush();
    }
    EXPECT_TRUE(fs::exists(path)) << "an existing file is never deleted by the store";
    fs::remove(path);
}

TEST(WMMF, ReadWriteMappingOfAnExistingFileGrowsIt) {
    const std::string path = ScratchPath("rw.bin");
    WriteFile(path, "abcd");
    {
        WMMF store(path, 4096, WMMF::kModeReadWriteAll);
        EXPECT_FALSE(store.ReadOnly());
        store.Seek(0, 2);
        const std::string more(10000, 'x');
        EXPECT_EQ(store.Write(more.data(), std::int64_t(more.size())), 4);
        EXPECT_EQ(store.Size(), 10004);
        store.Flush();
    }
    std::ifstream in(path, std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    EXPECT_EQ(head, "abcd");
    fs::remove(path);
}

TEST(WMMF, ExclusiveOpenFailsWhileAnotherHolderHasTheFile) {
    const std::string path = ScratchPath("excl.bin");
    WriteFile(path, "data");
    {
        WMMF first(path, 0, WMMF::kModeReadOnly);
        EXPECT_THROW(WMMF(path, 0, std::uint16_t(WMMF::kModeReadWrite | WMMF::kShareExclusive)),
                     EFileError);
    }
    WMMF alone(path, 0, std::uint16_t(WMMF::kModeReadWrite | WMMF::kShareExclusive));
    EXPECT_EQ(alone.Size(), 4);
    fs::remove(path);
}

TEST(WMMF, NamedNewFileIsKeptAfterDestruction) {
    const std::string path = ScratchPath("named.bin");
    {
        WMMF store(path, 0, WMMF::kModeCreate);
        EXPECT_EQ(store.FileName(), path);
        store.Write("kept", 4);
    }
    ASSERT_TRUE(fs::exists(path));
    std::ifstream in(path, std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    EXPECT_EQ(head, "kept");
    fs::remove(path);
}

TEST(WMMF, MovedStoreKeepsItsBytesAndTheSourceIsEmpty) {
    WMMF a("", true, 16, 0);
    a.Write("move me", 7);
    WMMF b(std::move(a));
    EXPECT_EQ(a.Base(), nullptr);
    EXPECT_EQ(a.Size(), 0);
    EXPECT_EQ(std::string(b.PointerAt(0), 7), "move me");
    WMMF c("", true, 16, 0);
    c = std::move(b);
    EXPECT_EQ(std::string(c.PointerAt(0), 7), "move me");
}

TEST(WVersionMMF, StartsWithTheHeaderOneAndEight) {
    WVersionMMF store("", 16384, 16384);
    EXPECT_EQ(WVersionMMF::HeaderSize(), 8);
    EXPECT_EQ(Word(store, 0), 1);
    EXPECT_EQ(Word(store, 4), 8);
    EXPECT_EQ(store.DataEnd(), 8);
    EXPECT_TRUE(store.DataText().empty());
}

TEST(WVersionMMF, AppendReturnsOffsetsAndRaisesTheEndOfData) {
    WVersionMMF store("", 16384, 16384);
    EXPECT_EQ(store.AppendText("Hello"), 8);
    EXPECT_EQ(store.AppendText(", world"), 13);
    EXPECT_EQ(store.AppendZeros(3), 20);
    EXPECT_EQ(store.DataEnd(), 23);
    EXPECT_EQ(Word(store, 4), 23);
    EXPECT_EQ(std::string(store.PointerAt(8)), "Hello, world");
    EXPECT_EQ(store.DataText(), std::string_view("Hello, world\0\0\0", 15));
}

TEST(WVersionMMF, WriteBlockRaisesTheEndOfDataOnlyWhenLarger) {
    WVersionMMF store("", 64, 64);
    store.AppendText("abcdefgh");
    store.Seek(8, 0);
    store.WriteBlock("XY", 2);
    EXPECT_EQ(store.DataEnd(), 16);
    EXPECT_EQ(store.DataText(), "XYcdefgh");
    store.Seek(20, 0);
    store.WriteBlock("Z", 1);
    EXPECT_EQ(store.DataEnd(), 21);
}

TEST(WVersionMMF, ResetEmptiesTheDataAndZerosAreWrittenAgain) {
    WVersionMMF store("", 64, 64);
    store.AppendText("garbage");
    store.Reset();
    EXPECT_EQ(store.DataEnd(), 8);
    EXPECT_EQ(store.AppendZeros(4), 8);
    EXPECT_EQ(store.DataText(), std::string_view("\0\0\0\0", 4));
}

TEST(WVersionMMF, MovesToAFileAt64KAndKeepsEveryByte) {
    WVersionMMF store("", 16384, 2048);
    std::string expected;
    std::string path;
    int appended = 0;
    while (store.InMemory()) {
        std::string piece = "piece " + std::to_string(appended++) + ";";
        expected += piece;
        store.AppendText(piece);
        ASSERT_LT(appended, 100000);
    }
    path = store.FileName();
    EXPECT_FALSE(fs::exists(path)) << "an anonymous store's file has no name";
    EXPECT_GE(store.Capacity(), WMMF::kHeapLimit);
    EXPECT_GE(expected.size() + 8 + 16384, std::size_t(WMMF::kHeapLimit));
    // Keep going well past the move, through several remaps of the file.
    for (int i = 0; i < 50000; ++i) {
        std::string piece = "more " + std::to_string(i) + ";";
        expected += piece;
        store.AppendText(piece);
    }
    EXPECT_EQ(store.DataText(), expected);
    EXPECT_EQ(Word(store, 0), 1);
    EXPECT_EQ(Word(store, 4), std::int32_t(expected.size() + 8));
    WVersionMMF moved(std::move(store));
    EXPECT_EQ(moved.DataText(), expected);
    moved = WVersionMMF("", 64, 64);
}

}  // namespace
}  // namespace kindrel
