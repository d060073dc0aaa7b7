// Pack then expand gives back every byte, for one block, several blocks, one thread or many.
#include "payload/blokar_compress.h"

#include "payload_test_util.h"

#include <fcntl.h>
#include <unistd.h>
#include <limits>

namespace kindrel::test {
namespace {

struct RoundTrip {
    CompressResult packed;
    ExpandResult expanded;
    Bytes output;
    int64_t archiveSize = 0;
};

RoundTrip PackAndExpand(const Bytes& input, int threads) {
    ScratchDir dir;
    WriteFile(dir.File("in"), input);
    WBlokarCompress blokar;
    blokar.SetThreadCount(threads);
    RoundTrip result;
    result.packed = blokar.Compress(dir.File("in"), dir.File("archive"));
    result.archiveSize = static_cast<int64_t>(ReadFile(dir.File("archive")).size());
    result.expanded = blokar.Expand(dir.File("archive"), dir.File("out"), result.packed.blocks);
    result.output = ReadFile(dir.File("out"));
    return result;
}

void ExpectRoundTrip(const Bytes& input, int expectedBlocks) {
    for (int threads : {1, 3}) {
        const RoundTrip r = PackAndExpand(input, threads);
        EXPECT_EQ(r.packed.blocks, expectedBlocks) << "threads " << threads;
        EXPECT_EQ(r.packed.archiveBytes, r.archiveSize);
        EXPECT_EQ(r.expanded.blocks, expectedBlocks);
        EXPECT_EQ(r.expanded.crcFailures, 0);
        EXPECT_EQ(r.expanded.bytesWritten, static_cast<long long>(input.size()));
        EXPECT_TRUE(r.output == input) << "threads " << threads << ", " << input.size() << " bytes";
    }
}

TEST(RoundTrip, EmptyFileIsOneEmptyBlock) {
    ExpectRoundTrip({}, 1);
    ScratchDir dir;
    WriteFile(dir.File("in"), {});
    WBlokarCompress blokar;
    blokar.Compress(dir.File("in"), dir.File("archive"));
    const Bytes archive = ReadFile(dir.File("archive"));
    ASSERT_EQ(archive.size(), 4u + 20u + 2u);
    EXPECT_EQ(std::string(archive.begin(), archive.begin() + 8), "QZLMDATA");
    EXPECT_EQ(Get32(archive, 4 + 4), 0u);   // CRC of nothing
    EXPECT_EQ(Get32(archive, 4 + 12), 0u);  // start index
    EXPECT_EQ(Get32(archive, 4 + 16), 0u);  // sentinel position
}

TEST(RoundTrip, OneByte) {
    ExpectRoundTrip({'A'}, 1);
    ExpectRoundTrip({0}, 1);
    ExpectRoundTrip({255}, 1);
}

TEST(RoundTrip, AllByteValues) {
    Bytes input;
    for (int round = 0; round < 3; ++round) {
        for (int b = 0; b < 256; ++b)
            input.push_back(static_cast<uint8_t>(round == 1 ? 255 - b : b));
    }
    ExpectRoundTrip(input, 1);
}

TEST(RoundTrip, HighlyRepetitive) {
    ExpectRoundTrip(Bytes(1000000, 0), 2);
    Bytes abc;
    for (int i = 0; i < 200000; ++i) abc.push_back(static_cast<uint8_t>("abc"[i % 3]));
    ExpectRoundTrip(abc, 1);
}

TEST(RoundTrip, RandomBinary) {
    ExpectRoundTrip(RandomBytes(700000, 21), 2);
}

TEST(RoundTrip, Text) {
    const Bytes text = GedcomLikeText(400000, 22);
    ExpectRoundTrip(text, 1);
    const RoundTrip r = PackAndExpand(text, 1);
    EXPECT_LT(r.archiveSize, static_cast<int64_t>(text.size() / 5));  // text compresses well
}

TEST(RoundTrip, ExactlyOneFullBlock) {
    ExpectRoundTrip(GedcomLikeText(kMaxBlockBytes, 23), 1);
}

TEST(RoundTrip, OneByteMoreIsTwoBlocks) {
    ExpectRoundTrip(GedcomLikeText(kMaxBlockBytes + 1, 24), 2);
}

TEST(RoundTrip, SeveralMegabytes) {
    Bytes input = GedcomLikeText(2500000, 25);
    const Bytes noise = RandomBytes(300000, 26);
    input.insert(input.begin() + 1000000, noise.begin(), noise.end());
    ExpectRoundTrip(input, WBlokarCompress::BlocksFor(static_cast<long long>(input.size())));
    EXPECT_EQ(WBlokarCompress::BlocksFor(static_cast<long long>(input.size())), 5);
    // An unknown size passed as the largest value rounds up without overflow.
    EXPECT_EQ(WBlokarCompress::BlocksFor(std::numeric_limits<long long>::max()),
              std::numeric_limits<int>::max());
}

TEST(RoundTrip, ThreadCountDoesNotChangeTheArchive) {
    const Bytes input = GedcomLikeText(2 * kMaxBlockBytes + 5000, 27);
    ScratchDir dir;
    WriteFile(dir.File("in"), input);
    WBlokarCompress one;
    one.SetThreadCount(1);
    one.Compress(dir.File("in"), dir.File("a1"));
    WBlokarCompress four;
    four.SetThreadCount(4);
    four.Compress(dir.File("in"), dir.File("a4"));
    EXPECT_TRUE(ReadFile(dir.File("a1")) == ReadFile(dir.File("a4")));
}

TEST(RoundTrip, CompressToFdAppendsAtThePosition) {
    ScratchDir dir;
    const Bytes input = GedcomLikeText(50000, 28);
    WriteFile(dir.File("in"), input);
    const Bytes prefix = FromText("executable image");
    WriteFile(dir.File("exe"), prefix);
    const int fd = ::open(dir.File("exe").c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    WBlokarCompress blokar;
    const CompressResult packed = blokar.CompressToFd(dir.File("in"), fd);
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), static_cast<off_t>(prefix.size() + packed.archiveBytes));
    ::close(fd);

    const Bytes exe = ReadFile(dir.File("exe"));
    ASSERT_EQ(exe.size(), prefix.size() + static_cast<size_t>(packed.archiveBytes));
    EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), exe.begin()));
    WriteFile(dir.File("archive"),
              Bytes(exe.begin() + static_cast<long>(prefix.size()), exe.end()));
    blokar.Expand(dir.File("archive"), dir.File("out"), packed.blocks);
    EXPECT_TRUE(ReadFile(dir.File("out")) == input);
}

TEST(RoundTrip, ExpandReplacesAnExistingOutput) {
    ScratchDir dir;
    WriteFile(dir.File("in"), FromText("short"));
    WriteFile(dir.File("out"), RandomBytes(10000, 29));
    WBlokarCompress blokar;
    blokar.Compress(dir.File("in"), dir.File("archive"));
    blokar.Expand(dir.File("archive"), dir.File("out"), 1);
    EXPECT_EQ(ReadFile(dir.File("out")), FromText("short"));
}

}  // namespace
}  // namespace kindrel::test
