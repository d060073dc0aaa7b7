// Expanding damaged or hostile archives: signatures, header fields out of range, CRC
// mismatches, short coded data, unwritable outputs, and the order of blocks and errors.
#include "containers/ui_hooks.h"
#include "payload/blokar_compress.h"
#include "payload/expander.h"
#include "payload/struc_ari_encoder.h"

#include "payload_test_util.h"

#include <filesystem>

namespace kindrel::test {
namespace {

// Collects the warnings shown while it lives.
class WarningCatcher {
  public:
    WarningCatcher() : m_saved(Hooks().warning) {
        Hooks().warning = [this](const std::string& message) { m_messages.push_back(message); };
    }
    ~WarningCatcher() { Hooks().warning = m_saved; }
    const std::vector<std::string>& Messages() const { return m_messages; }

  private:
    std::function<void(const std::string&)> m_saved;
    std::vector<std::string> m_messages;
};

class ExpandErrors : public ::testing::Test {
  protected:
    // Three small blocks of different text.
    void SetUp() override {
        m_blocks = {GedcomLikeText(3000, 1), GedcomLikeText(2000, 2), GedcomLikeText(2500, 3)};
        WriteArchive(dir.File("archive"), m_blocks);
        m_archive = ReadFile(dir.File("archive"));
    }
    Bytes Concatenated(int blocks) const {
        Bytes all;
        for (int b = 0; b < blocks; ++b)
            all.insert(all.end(), m_blocks[b].begin(), m_blocks[b].end());
        return all;
    }
    // Expands the (modified) archive image; answers the error text, empty when none.
    std::string ExpandImage(const Bytes& image, int blocks, int threads = 1,
                            ExpandResult* result = nullptr) {
        WriteFile(dir.File("damaged"), image);
        WBlokarCompress blokar;
        blokar.SetThreadCount(threads);
        try {
            const ExpandResult r = blokar.Expand(dir.File("damaged"), dir.File("out"), blocks);
            if (result) *result = r;
        } catch (const KindrelError& e) {
            return e.what();
        }
        return "";
    }

    ScratchDir dir;
    std::vector<Bytes> m_blocks;
    Bytes m_archive;
};

TEST_F(ExpandErrors, WrongArchiveSignatureFailsBeforeTheOutputExists) {
    Bytes image = m_archive;
    image[3] = 'X';
    EXPECT_EQ(ExpandImage(image, 3), "Wrong Signature. Archive could be corrupted.");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST_F(ExpandErrors, WrongBlockSignatureFailsAfterCreatingTheOutput) {
    Bytes image = m_archive;
    image[7] = 'B';
    EXPECT_EQ(ExpandImage(image, 3), "Wrong Signature. Archive could be corrupted.");
    EXPECT_TRUE(std::filesystem::exists(dir.File("out")));
    EXPECT_TRUE(ReadFile(dir.File("out")).empty());
}

TEST_F(ExpandErrors, BlocksBeforeABadSignatureAreWritten) {
    Bytes image = m_archive;
    image[BlockOffset(image, 3)] = 'd';
    for (int threads : {1, 4}) {
        EXPECT_EQ(ExpandImage(image, 3, threads), "Wrong Signature. Archive could be corrupted.");
        EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(2)) << threads;
    }
}

TEST_F(ExpandErrors, AskingForMoreBlocksThanThereAreFailsAfterTheLast) {
    EXPECT_EQ(ExpandImage(m_archive, 4), "Wrong Signature. Archive could be corrupted.");
    EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(3));
}

TEST_F(ExpandErrors, FewerBlocksThanStoredExpandsOnlyThose) {
    ExpandResult result;
    EXPECT_EQ(ExpandImage(m_archive, 2, 2, &result), "");
    EXPECT_EQ(result.blocks, 2);
    EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(2));
    EXPECT_EQ(ExpandImage(m_archive, 0, 1, &result), "");
    EXPECT_EQ(result.blocks, 0);
    EXPECT_TRUE(ReadFile(dir.File("out")).empty());
}

TEST_F(ExpandErrors, NegativeBlockCountIsRefused) {
    EXPECT_EQ(ExpandImage(m_archive, -1), "Block count -1 is out of range");
}

TEST_F(ExpandErrors, CrcMismatchWarnsWritesTheBlockAndCounts) {
    Bytes image = m_archive;
    const size_t crcOffset = BlockOffset(image, 2) + 4;
    Put32(image, crcOffset, Get32(image, crcOffset) ^ 1);
    for (int threads : {1, 3}) {
        WarningCatcher warnings;
        ExpandResult result;
        EXPECT_EQ(ExpandImage(image, 3, threads, &result), "");
        EXPECT_EQ(result.blocks, 3);
        EXPECT_EQ(result.crcFailures, 1);
        EXPECT_EQ(warnings.Messages(), std::vector<std::string>{"CRC does not match!"});
        EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(3));
    }
}

TEST_F(ExpandErrors, ExpandBlockAppendsOneBlockAtATime) {
    Bytes image = m_archive;
    const size_t crcOffset = BlockOffset(image, 3) + 4;
    Put32(image, crcOffset, ~Get32(image, crcOffset));
    WriteFile(dir.File("damaged"), image);
    WarningCatcher warnings;
    {
        TArchiveFile archive(dir.File("damaged"));
        archive.SkipHeader();
        TBufferedFileStream output(dir.File("out"), 4096, FileOpenMode::Create);
        TExpander expander;
        EXPECT_TRUE(expander.ExpandBlock(archive, output, 1));
        EXPECT_EQ(expander.Length(), 3000);
        EXPECT_TRUE(expander.ExpandBlock(archive, output, 2));
        EXPECT_TRUE(warnings.Messages().empty());
        EXPECT_FALSE(expander.ExpandBlock(archive, output, 3));
        EXPECT_EQ(warnings.Messages(), std::vector<std::string>{"CRC does not match!"});
        EXPECT_EQ(archive.Position(), static_cast<int64_t>(image.size()));
        EXPECT_THROW(expander.ExpandBlock(archive, output, 4), ESignatureWrong);
        output.Close();
    }
    EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(3));
}

TEST_F(ExpandErrors, DamagedCodedDataFailsTheCrcOrTheBlock) {
    Bytes image = m_archive;
    image[BlockOffset(image, 1) + 20 + 100] ^= 0x10;
    WarningCatcher warnings;
    ExpandResult result;
    const std::string error = ExpandImage(image, 3, 1, &result);
    if (error.empty()) {
        EXPECT_GE(result.crcFailures, 1);
    } else {
        EXPECT_EQ(error.rfind("Block 1: ", 0) == 0 || error == "Too many bytes read in bit mode.",
                  true)
            << error;
    }
}

TEST_F(ExpandErrors, NegativeCompressedSizeIsRefused) {
    Bytes image = m_archive;
    Put32(image, BlockOffset(image, 2) + 8, 0xFFFFFFF0u);
    EXPECT_EQ(ExpandImage(image, 3), "Block 2: compressed size -16 is negative");
    EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(1));
}

TEST_F(ExpandErrors, CompressedSizePastTheFileEndIsRefused) {
    Bytes image = m_archive;
    const size_t offset = BlockOffset(image, 3);
    const uint32_t left = static_cast<uint32_t>(image.size() - offset - 20);
    Put32(image, offset + 8, left + 1);
    EXPECT_EQ(ExpandImage(image, 3), "Block 3: compressed size " + std::to_string(left + 1) +
                                         " runs past the end of the archive (" +
                                         std::to_string(left) + " bytes left)");
    EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(2));
}

TEST_F(ExpandErrors, TruncatedArchiveIsRefused) {
    const Bytes image(m_archive.begin(), m_archive.end() - 10);
    const std::string error = ExpandImage(image, 3, 2);
    EXPECT_EQ(error.rfind("Block 3: compressed size", 0), 0u) << error;
    const Bytes cutHeader(m_archive.begin(),
                          m_archive.begin() + static_cast<long>(BlockOffset(m_archive, 2)) + 10);
    EXPECT_EQ(ExpandImage(cutHeader, 3), "Block 2: the archive ends inside the block header");
}

TEST_F(ExpandErrors, StartIndexPastTheBlockIsRefused) {
    Bytes image = m_archive;
    const size_t offset = BlockOffset(image, 1);
    Put32(image, offset + 12, static_cast<uint32_t>(m_blocks[0].size() + 1));
    EXPECT_EQ(ExpandImage(image, 3), "Block 1: start index 3001 lies past the block's 3000 bytes");
    Put32(image, offset + 12, kMaxBlockBytes + 1);
    EXPECT_EQ(ExpandImage(image, 3), "Block 1: start index 615400 is out of range");
    Put32(image, offset + 12, 0x80000000u);
    EXPECT_EQ(ExpandImage(image, 3), "Block 1: start index -2147483648 is out of range");
}

TEST_F(ExpandErrors, SentinelPositionPastTheBlockIsRefused) {
    Bytes image = m_archive;
    const size_t offset = BlockOffset(image, 2);
    Put32(image, offset + 16, static_cast<uint32_t>(m_blocks[1].size() + 1));
    for (int threads : {1, 3}) {
        EXPECT_EQ(ExpandImage(image, 3, threads),
                  "Block 2: sentinel position 2001 lies past the block's 2000 bytes");
        EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(1));
    }
    Put32(image, offset + 16, 0xFFFFFFFFu);
    EXPECT_EQ(ExpandImage(image, 3), "Block 2: sentinel position -1 is out of range");
}

TEST_F(ExpandErrors, StartAndSentinelAtTheLastRowAreAccepted) {
    // Position n is the last of the n + 1 rows: in range, though not this block's values.
    Bytes image = m_archive;
    const size_t offset = BlockOffset(image, 1);
    Put32(image, offset + 16, static_cast<uint32_t>(m_blocks[0].size()));
    WarningCatcher warnings;
    ExpandResult result;
    EXPECT_EQ(ExpandImage(image, 3, 1, &result), "");
    EXPECT_EQ(result.crcFailures, 1);
}

TEST_F(ExpandErrors, CodedSizeTooSmallOverrunsTheBitReader) {
    // With no coded bytes the decoder reads zeros, which never end the block; after 20 of
    // them it stops.
    Bytes image = m_archive;
    Put32(image, BlockOffset(image, 2) + 8, 0);
    EXPECT_EQ(ExpandImage(image, 3), "Too many bytes read in bit mode.");
    EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(1));
}

TEST_F(ExpandErrors, ExtraCodedBytesAreSkipped) {
    // The next header is read where the declared coded data ends.
    Bytes image = m_archive;
    const size_t offset = BlockOffset(image, 2);
    const uint32_t size = Get32(image, offset + 8);
    image.insert(image.begin() + static_cast<long>(offset + 20 + size), 7, 0x5A);
    Put32(image, offset + 8, size + 7);
    ExpandResult result;
    EXPECT_EQ(ExpandImage(image, 3, 1, &result), "");
    EXPECT_EQ(result.crcFailures, 0);
    EXPECT_TRUE(ReadFile(dir.File("out")) == Concatenated(3));
}

TEST_F(ExpandErrors, BlockExpandingPastTheLimitIsRefused) {
    // One block of kMaxBlockBytes + 1 zero bytes, as a broken writer might make it.
    std::vector<uint8_t> coded;
    TStrucAriEncoder encoder;
    encoder.Start(coded);
    for (int64_t run = kMaxBlockBytes + 1; run > 0;) {
        encoder.EncodeValue(run & 1 ? 0 : 1);
        run = (run & 1) ? (run - 1) / 2 : (run - 2) / 2;
    }
    encoder.EncodeValue(257);
    encoder.Finish();
    Bytes image = FromText("QZLMDATA");
    image.resize(24);
    Put32(image, 12, static_cast<uint32_t>(coded.size()));
    image.insert(image.end(), coded.begin(), coded.end());
    EXPECT_EQ(ExpandImage(image, 1), "Block 1: the coded data expands past 615399 bytes");
}

TEST_F(ExpandErrors, MissingArchiveIsAFileError) {
    WBlokarCompress blokar;
    EXPECT_THROW(blokar.Expand(dir.File("nothing"), dir.File("out"), 1), EFileError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST_F(ExpandErrors, UnwritableOutputIsAFileError) {
    WBlokarCompress blokar;
    try {
        blokar.Expand(dir.File("archive"), dir.File("no-such-folder/out"), 3);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.FileName(), dir.File("no-such-folder/out"));
    }
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_THROW(blokar.Expand(dir.File("archive"), dir.File("folder"), 3), EFileError);
}

TEST_F(ExpandErrors, OutputOverTheArchiveIsRefused) {
    WBlokarCompress blokar;
    EXPECT_THROW(blokar.Expand(dir.File("archive"), dir.File("archive"), 3), EFileError);
    EXPECT_TRUE(ReadFile(dir.File("archive")) == m_archive);
}

TEST(CompressErrors, MissingInputAndUnwritableArchiveAreFileErrors) {
    ScratchDir dir;
    WBlokarCompress blokar;
    EXPECT_THROW(blokar.Compress(dir.File("nothing"), dir.File("archive")), EFileError);
    WriteFile(dir.File("in"), FromText("data"));
    EXPECT_THROW(blokar.Compress(dir.File("in"), dir.File("no-such-folder/archive")), EFileError);
    EXPECT_THROW(blokar.Compress(dir.File("in"), dir.File("in")), EFileError);
    EXPECT_EQ(ReadFile(dir.File("in")), FromText("data"));
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_THROW(blokar.Compress(dir.File("folder"), dir.File("archive")), EFileError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("archive")));  // removed again
}

}  // namespace
}  // namespace kindrel::test
