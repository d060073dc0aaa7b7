// Flips every bit of a small archive, and cuts it at every length, and expands each copy:
// never a crash, always either an output or one of the archive's own errors, and the same
// result on one thread as on several.
#include "containers/ui_hooks.h"
#include "payload/blokar_compress.h"

#include "payload_test_util.h"

#include <filesystem>

namespace kindrel::test {
namespace {

struct Outcome {
    std::string error;
    int crcFailures = 0;
    Bytes output;
    bool operator==(const Outcome&) const = default;
};

class CorruptionSweep : public ::testing::Test {
  protected:
    void SetUp() override {
        m_savedWarning = Hooks().warning;
        Hooks().warning = [](const std::string&) {};
        WriteArchive(dir.File("archive"), {GedcomLikeText(160, 31),
                                           FromText("aaaaaaaaaaaaaaaaaaaaaaab"),
                                           {},
                                           RandomBytes(40, 32)});
        m_archive = ReadFile(dir.File("archive"));
    }
    void TearDown() override { Hooks().warning = m_savedWarning; }

    Outcome Expand(const Bytes& image, int threads) {
        WriteFile(dir.File("damaged"), image);
        Outcome outcome;
        std::filesystem::remove(dir.File("out"));  // see WriteFile
        m_blokar.SetThreadCount(threads);
        try {
            outcome.crcFailures =
                m_blokar.Expand(dir.File("damaged"), dir.File("out"), 4).crcFailures;
        } catch (const ESignatureWrong& e) {
            outcome.error = e.what();
        } catch (const EBitOverrun& e) {
            outcome.error = e.what();
        } catch (const EBlockError& e) {
            outcome.error = e.what();
        }
        outcome.output = ReadFile(dir.File("out"));
        return outcome;
    }

    ScratchDir dir;
    Bytes m_archive;
    WBlokarCompress m_blokar;
    std::function<void(const std::string&)> m_savedWarning;
};

TEST_F(CorruptionSweep, EveryFlippedBitExpandsWithoutACrash) {
    ASSERT_LT(m_archive.size(), 400u);
    const Outcome clean = Expand(m_archive, 1);
    ASSERT_EQ(clean.error, "");
    int failures = 0;
    int crcWarnings = 0;
    for (size_t byte = 0; byte < m_archive.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes image = m_archive;
            image[byte] ^= static_cast<uint8_t>(1 << bit);
            const Outcome sequential = Expand(image, 1);
            // On several threads: the same output and the same error.
            ASSERT_TRUE(Expand(image, 3) == sequential) << "byte " << byte << " bit " << bit;
            if (!sequential.error.empty()) ++failures;
            crcWarnings += sequential.crcFailures;
        }
    }
    // Nearly every flip is noticed, by an error or by the CRC.
    EXPECT_GT(failures + crcWarnings, static_cast<int>(m_archive.size() * 8 * 9 / 10));
}

TEST_F(CorruptionSweep, EveryTruncationExpandsWithoutACrash) {
    for (size_t length = 0; length < m_archive.size(); ++length) {
        const Bytes image(m_archive.begin(), m_archive.begin() + static_cast<long>(length));
        const Outcome sequential = Expand(image, 1);
        EXPECT_NE(sequential.error, "") << length;
        ASSERT_TRUE(Expand(image, 4) == sequential) << length;
    }
}

}  // namespace
}  // namespace kindrel::test
