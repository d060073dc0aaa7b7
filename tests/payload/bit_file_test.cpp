// The buffered stream, the bit reader with its byte limit, the archive file and CRC-32.
#include "payload/bit_file.h"
#include "payload/crc32.h"

#include "payload_test_util.h"

namespace kindrel::test {
namespace {

TEST(BitFile, ReadBitsOfA5GivesMostSignificantBitFirst) {
    ScratchDir dir;
    WriteFile(dir.File("a5"), {0xA5, 0xA5});
    TBitFile file(dir.File("a5"), FileOpenMode::Read);
    file.ResetBits();
    EXPECT_EQ(file.ReadBits(8), 165);
    const int expected[8] = {1, 0, 1, 0, 0, 1, 0, 1};
    for (int bit : expected) EXPECT_EQ(file.ReadBit(), bit);
}

TEST(BitFile, ResetBitsDropsTheRestOfAByte) {
    ScratchDir dir;
    WriteFile(dir.File("bits"), {0xF0, 0x0F});
    TBitFile file(dir.File("bits"), FileOpenMode::Read);
    EXPECT_EQ(file.ReadBits(3), 7);
    file.ResetBits();
    EXPECT_EQ(file.ReadBits(8), 0x0F);
}

TEST(BitFile, DeliversTwentyZeroBytesPastTheLimitThenOverruns) {
    ScratchDir dir;
    WriteFile(dir.File("limit"), Bytes(64, 0xFF));
    TBitFile file(dir.File("limit"), FileOpenMode::Read);
    file.SetByteLimit(2);
    EXPECT_EQ(file.ReadBits(16), 0xFFFF);
    for (int i = 0; i < TBitFile::kMaxBytesPastLimit; ++i) EXPECT_EQ(file.ReadBits(8), 0) << i;
    EXPECT_EQ(file.BytesTaken(), 22);
    try {
        file.ReadBit();
        FAIL() << "no overrun";
    } catch (const EBitOverrun& e) {
        EXPECT_STREQ(e.what(), "Too many bytes read in bit mode.");
    }
}

TEST(BitFile, SetByteLimitRestartsTheCount) {
    ScratchDir dir;
    WriteFile(dir.File("limit"), {1, 2, 3, 4});
    TBitFile file(dir.File("limit"), FileOpenMode::Read);
    file.SetByteLimit(1);
    EXPECT_EQ(file.ReadBits(8), 1);
    file.SetByteLimit(1);
    EXPECT_EQ(file.BytesTaken(), 0);
    EXPECT_EQ(file.ReadBits(8), 2);
    EXPECT_EQ(file.ReadBits(8), 0);  // past the new limit
}

TEST(BufferedFileStream, ReadByteAnswersZeroAtTheEnd) {
    ScratchDir dir;
    WriteFile(dir.File("two"), {7, 9});
    TBufferedFileStream file(dir.File("two"), 16, FileOpenMode::Read);
    uint8_t b = 1;
    EXPECT_EQ(file.ReadByte(b), 1);
    EXPECT_EQ(b, 7);
    EXPECT_EQ(file.ReadByte(b), 1);
    EXPECT_EQ(b, 9);
    EXPECT_EQ(file.ReadByte(b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(file.ReadByte(b), 0);
}

TEST(BufferedFileStream, ReadsAcrossBufferBoundariesAndSeeks) {
    ScratchDir dir;
    const Bytes data = RandomBytes(100000, 1);
    WriteFile(dir.File("data"), data);
    TBufferedFileStream file(dir.File("data"), 65536, FileOpenMode::Read);
    EXPECT_EQ(file.Size(), 100000);
    for (size_t i = 0; i < data.size(); ++i) {
        uint8_t b;
        ASSERT_EQ(file.ReadByte(b), 1);
        ASSERT_EQ(b, data[i]) << i;
    }
    EXPECT_EQ(file.Position(), 100000);
    file.SmartSeek(70000, SeekOrigin::Begin);  // inside the second buffer
    uint8_t b;
    file.ReadByte(b);
    EXPECT_EQ(b, data[70000]);
    file.SmartSeek(10, SeekOrigin::Begin);  // outside it
    EXPECT_EQ(file.Position(), 10);
    file.ReadByte(b);
    EXPECT_EQ(b, data[10]);
    file.SmartSeek(-2, SeekOrigin::Current);
    file.ReadByte(b);
    EXPECT_EQ(b, data[9]);
    file.SmartSeek(-1, SeekOrigin::End);
    file.ReadByte(b);
    EXPECT_EQ(b, data.back());
    EXPECT_THROW(file.SmartSeek(-1, SeekOrigin::Begin), ESeekError);
}

TEST(BufferedFileStream, ReadBytesCountsWhatTheFileHad) {
    ScratchDir dir;
    WriteFile(dir.File("three"), {1, 2, 3});
    TBufferedFileStream file(dir.File("three"), 64, FileOpenMode::Read);
    uint8_t buffer[5] = {9, 9, 9, 9, 9};
    EXPECT_EQ(file.ReadBytes(buffer, 5), 3);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_EQ(buffer[3], 0);
    EXPECT_EQ(buffer[4], 0);
}

TEST(BufferedFileStream, WritesThroughTheBuffer) {
    ScratchDir dir;
    const Bytes data = RandomBytes(200000, 2);
    {
        TBufferedFileStream file(dir.File("out"), 65536, FileOpenMode::Create);
        for (size_t i = 0; i < 1000; ++i) file.WriteByte(data[i]);
        file.WriteBytes(data.data() + 1000, 150000);
        file.WriteBytes(data.data() + 151000, 49000);
        EXPECT_EQ(file.Position(), 200000);
        file.Close();
    }
    EXPECT_EQ(ReadFile(dir.File("out")), data);
}

TEST(BufferedFileStream, MissingFileIsAFileError) {
    EXPECT_THROW(TBufferedFileStream("/nonexistent-kindrel/x", 64, FileOpenMode::Read), EFileError);
    EXPECT_THROW(TBufferedFileStream("/nonexistent-kindrel/x", 64, FileOpenMode::Create),
                 EFileError);
}

TEST(ArchiveFile, ChecksTheArchiveSignature) {
    ScratchDir dir;
    WriteFile(dir.File("good"), FromText("QZLMDATA"));
    WriteFile(dir.File("bad"), FromText("QZLXDATA"));
    WriteFile(dir.File("short"), FromText("QZ"));
    TArchiveFile good(dir.File("good"));
    uint32_t value = 0;
    EXPECT_TRUE(good.Read4(value));
    EXPECT_EQ(value, TDataBlockHeader::kSignature);
    good.SkipHeader();
    EXPECT_EQ(good.Position(), 4);
    try {
        TArchiveFile bad(dir.File("bad"));
        FAIL() << "signature accepted";
    } catch (const ESignatureWrong& e) {
        EXPECT_STREQ(e.what(), "Wrong Signature. Archive could be corrupted.");
    }
    EXPECT_THROW(TArchiveFile(dir.File("short")), ESignatureWrong);
}

TEST(ArchiveFile, CreatingWritesTheSignature) {
    ScratchDir dir;
    {
        TArchiveFile archive(dir.File("new"), FileOpenMode::Create);
        archive.Write4(0x01020304);
        archive.Close();
    }
    EXPECT_EQ(ReadFile(dir.File("new")), (Bytes{'Q', 'Z', 'L', 'M', 4, 3, 2, 1}));
}

TEST(DataBlockHeader, RoundTripsItsFields) {
    ScratchDir dir;
    {
        TBufferedFileStream out(dir.File("header"), 64, FileOpenMode::Create);
        TDataBlockHeader(0xCAFEBABE, 18684, 22189, 32769).WriteHeader(out);
        out.Close();
    }
    const Bytes bytes = ReadFile(dir.File("header"));
    ASSERT_EQ(bytes.size(), 20u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "DATA");
    EXPECT_EQ(Get32(bytes, 4), 0xCAFEBABEu);
    TBufferedFileStream in(dir.File("header"), 64, FileOpenMode::Read);
    TDataBlockHeader header;
    header.ReadHeader(in);
    EXPECT_TRUE(header.Complete());
    EXPECT_EQ(header.Crc(), 0xCAFEBABEu);
    EXPECT_EQ(header.CompressedSize(), 18684);
    EXPECT_EQ(header.StartIndex(), 22189);
    EXPECT_EQ(header.SentinelPosition(), 32769);
}

TEST(DataBlockHeader, NoticesATruncatedBody) {
    ScratchDir dir;
    WriteFile(dir.File("cut"), FromText("DATA1234567"));
    TBufferedFileStream in(dir.File("cut"), 64, FileOpenMode::Read);
    TDataBlockHeader header;
    header.ReadHeader(in);
    EXPECT_FALSE(header.Complete());
}

TEST(Crc32, MatchesTheCheckValue) {
    const std::string check = "123456789";
    EXPECT_EQ(TCRC32::Of(check.data(), check.size()), 0xCBF43926u);
    TCRC32 crc;
    crc.Reset();
    for (char c : check) crc.Add(static_cast<uint8_t>(c));
    EXPECT_EQ(crc.Value(), 0xCBF43926u);
    EXPECT_EQ(TCRC32::Of(nullptr, 0), 0u);
}

TEST(Crc32, BlockAndByteWiseAgree) {
    const Bytes data = RandomBytes(1003, 3);
    TCRC32 bytewise;
    for (uint8_t b : data) bytewise.Add(b);
    for (size_t split : {0, 1, 7, 8, 500, 1003}) {
        TCRC32 crc;
        crc.Add(data.data(), split);
        crc.Add(data.data() + split, data.size() - split);
        EXPECT_EQ(crc.Value(), bytewise.Value()) << split;
    }
}

}  // namespace
}  // namespace kindrel::test
