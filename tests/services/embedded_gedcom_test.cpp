#include "services/embedded_gedcom.h"

#include "containers/temp_file.h"
#include "containers/ui_hooks.h"
#include "services/self_view_packer.h"
#include "services/stale_files.h"
#include "services_test_util.h"

#include "gedcom/ged_collection.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <random>

namespace kindrel {
namespace {

using test::ReadFileText;
using test::ScopedEnv;
using test::ScratchDir;
using test::WriteFileText;

// A GEDCOM text of about individuals * 120 bytes, the same every time.
std::string GeneratedGedcom(int individuals) {
    std::string text = "0 HEAD\n1 SOUR KINDREL_TEST\n1 CHAR UTF-8\n";
    std::mt19937 random(7);
    const char* const surnames[] = {"Smith", "Müller", "Nowak", "García", "Öberg", "O'Neil"};
    for (int i = 1; i <= individuals; ++i) {
        text += "0 @I" + std::to_string(i) + "@ INDI\n";
        text += "1 NAME Person" + std::to_string(random() % 1000) + " /" + surnames[random() % 6] +
                "/\n";
        text += "1 SEX " + std::string(random() % 2 ? "M" : "F") + "\n";
        text += "1 BIRT\n2 DATE " + std::to_string(1 + random() % 28) + " JAN " +
                std::to_string(1700 + random() % 300) + "\n2 PLAC Springfield\n";
    }
    return text + "0 TRLR\n";
}

// Everything a test needs: a private temporary directory (TMPDIR), a viewer, a GEDCOM.
class EmbeddedGedcomTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFileText(m_dir / "viewer", std::string(4096, '\x7f') + "not really a program");
        m_gedcom = GeneratedGedcom(300);
        WriteFileText(m_dir / "family.ged", m_gedcom);
    }

    PackResult Pack(const std::string& output) {
        PackOptions options;
        options.gedcomFile = m_dir / "family.ged";
        options.outputFile = output;
        options.viewerFile = m_dir / "viewer";
        options.title = "Family";
        options.senderName = "Anna";
        options.startIndividual = 17;
        options.allowExtract = true;
        return PackSelfViewing(options);
    }

    // The "fmr*.tmp" files in the private temporary directory.
    std::vector<std::string> TempFiles() const {
        std::vector<std::string> names;
        for (const std::string& name : m_tmp.Entries())
            if (name.rfind("fmr", 0) == 0) names.push_back(name);
        return names;
    }

    ScratchDir m_dir;
    ScratchDir m_tmp;
    ScopedEnv m_tmpdir{"TMPDIR", m_tmp.Path().c_str()};
    std::string m_gedcom;
};

TEST_F(EmbeddedGedcomTest, PackedGedcomLoadsBackByteForByte) {
    Pack(m_dir / "family.sv");
    EmbeddedGedcom loaded = LoadEmbeddedGedcom(m_dir / "family.sv");
    ASSERT_TRUE(loaded.gedcom.IsHeld());
    EXPECT_EQ(ReadFileText(loaded.gedcom.Path()), m_gedcom);
    EXPECT_EQ(loaded.trailer.startIndividual, 17);
    EXPECT_TRUE(loaded.trailer.extractAllowed);
    EXPECT_EQ(loaded.trailer.title, "Family");
    EXPECT_EQ(loaded.trailer.fileName, "family.ged");
    EXPECT_EQ(loaded.expand.blocks, 1);
    EXPECT_FALSE(loaded.HadCrcFailures());
    EXPECT_EQ(loaded.expand.bytesWritten, static_cast<long long>(m_gedcom.size()));

    // Only the GEDCOM is left in the temporary directory: the archive copy is gone.
    const std::vector<std::string> temps = TempFiles();
    ASSERT_EQ(temps.size(), 1u);
    EXPECT_EQ(m_tmp / temps[0], loaded.gedcom.Path());
    loaded.gedcom.Remove();
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(EmbeddedGedcomTest, LoadedGedcomSurvivesStaleCleanupWhileHeld) {
    Pack(m_dir / "family.sv");
    std::string path;
    {
        const EmbeddedGedcom loaded = LoadEmbeddedGedcom(m_dir / "family.sv");
        path = loaded.gedcom.Path();
        EXPECT_EQ(DeleteStaleTempFiles(0).deleted, 0);
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));  // the holder deletes it
}

TEST_F(EmbeddedGedcomTest, ReleasedGedcomStaysAndBecomesTheCallersFile) {
    Pack(m_dir / "family.sv");
    std::string path;
    {
        EmbeddedGedcom loaded = LoadEmbeddedGedcom(m_dir / "family.sv");
        path = loaded.gedcom.Release();
        EXPECT_FALSE(loaded.gedcom.IsHeld());
    }
    EXPECT_EQ(ReadFileText(path), m_gedcom);
    EXPECT_EQ(DeleteStaleTempFiles(0).deleted, 1);  // unlocked now, so stale
}

TEST_F(EmbeddedGedcomTest, GedcomOfSeveralBlocksLoads) {
    m_gedcom = GeneratedGedcom(16000);  // past two blocks of 615399 bytes
    ASSERT_GT(m_gedcom.size(), 2u * kMaxBlockBytes);
    WriteFileText(m_dir / "family.ged", m_gedcom);
    const PackResult packed = Pack(m_dir / "big.sv");
    EXPECT_GE(packed.trailer.blockCount, 3);
    const EmbeddedGedcom loaded = LoadEmbeddedGedcom(m_dir / "big.sv");
    EXPECT_EQ(loaded.expand.blocks, packed.trailer.blockCount);
    EXPECT_TRUE(ReadFileText(loaded.gedcom.Path()) == m_gedcom);
}

TEST_F(EmbeddedGedcomTest, SampleFamilyLoads) {
    const std::string sample = std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";
    if (!std::filesystem::exists(sample)) GTEST_SKIP() << "no sample family yet";
    PackOptions options;
    options.gedcomFile = sample;
    options.outputFile = m_dir / "sample.sv";
    options.viewerFile = m_dir / "viewer";
    PackSelfViewing(options);
    const EmbeddedGedcom loaded = LoadEmbeddedGedcom(m_dir / "sample.sv");
    EXPECT_TRUE(ReadFileText(loaded.gedcom.Path()) == ReadFileText(sample));
    EXPECT_EQ(loaded.trailer.fileName, "sample_family.ged");
}

TEST_F(EmbeddedGedcomTest, ExpandsIntoAGivenFile) {
    Pack(m_dir / "family.sv");
    const SelfViewExpansion result = ExpandSelfViewFile(m_dir / "family.sv", m_dir / "out.ged");
    EXPECT_EQ(ReadFileText(m_dir / "out.ged"), m_gedcom);
    EXPECT_EQ(result.info.trailer.title, "Family");
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(EmbeddedGedcomTest, FileWithoutTrailerLeavesNoTemporaryFile) {
    EXPECT_THROW(LoadEmbeddedGedcom(m_dir / "family.ged"), ENoGedcom);
    EXPECT_THROW(LoadEmbeddedGedcom(m_dir / "missing"), EFileError);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(EmbeddedGedcomTest, DamagedArchiveFailsAndLeavesNoTemporaryFile) {
    const PackResult packed = Pack(m_dir / "family.sv");
    std::string bytes = ReadFileText(m_dir / "family.sv");
    bytes[static_cast<size_t>(packed.viewerBytes)] = 'X';  // "QZLM" becomes "XZLM"
    WriteFileText(m_dir / "bad.sv", bytes);
    EXPECT_THROW(LoadEmbeddedGedcom(m_dir / "bad.sv"), ESignatureWrong);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(EmbeddedGedcomTest, TruncatedPayloadFailsInTheExpansion) {
    const PackResult packed = Pack(m_dir / "family.sv");
    const std::string bytes = ReadFileText(m_dir / "family.sv");
    // Keep the viewer, half of the archive and the trailer (whose offset still fits).
    const size_t keep = static_cast<size_t>(packed.viewerBytes + packed.archiveBytes / 2);
    WriteFileText(m_dir / "short.sv", bytes.substr(0, keep) + bytes.substr(bytes.size() - 1497));
    EXPECT_THROW(LoadEmbeddedGedcom(m_dir / "short.sv"), KindrelError);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(EmbeddedGedcomTest, CrcMismatchIsReportedAndTheGedcomStillWritten) {
    const PackResult packed = Pack(m_dir / "family.sv");
    std::string bytes = ReadFileText(m_dir / "family.sv");
    bytes[static_cast<size_t>(packed.viewerBytes) + 8] ^= 0x55;  // the block's stored CRC
    WriteFileText(m_dir / "crc.sv", bytes);
    std::vector<std::string> warnings;
    const auto saved = Hooks().warning;
    Hooks().warning = [&](const std::string& text) { warnings.push_back(text); };
    const EmbeddedGedcom loaded = LoadEmbeddedGedcom(m_dir / "crc.sv");
    Hooks().warning = saved;
    EXPECT_TRUE(loaded.HadCrcFailures());
    EXPECT_EQ(warnings, std::vector<std::string>{"CRC does not match!"});
    EXPECT_EQ(ReadFileText(loaded.gedcom.Path()), m_gedcom);
}

TEST_F(EmbeddedGedcomTest, ProgressAndEventsAreReported) {
    Pack(m_dir / "family.sv");
    int pumps = 0;
    std::vector<std::string> labels;
    const auto saved = Hooks();
    Hooks().pumpEvents = [&] { ++pumps; };
    Hooks().progress = [&](const std::string& label, long long, long long) {
        if (labels.empty() || labels.back() != label) labels.push_back(label);
    };
    const EmbeddedGedcom loaded = LoadEmbeddedGedcom(m_dir / "family.sv");
    Hooks() = saved;
    EXPECT_GT(pumps, 0);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "Expanding"), labels.end());
}

TEST_F(EmbeddedGedcomTest, HolderMoveKeepsOneOwner) {
    Pack(m_dir / "family.sv");
    EmbeddedGedcom loaded = LoadEmbeddedGedcom(m_dir / "family.sv");
    const std::string path = loaded.gedcom.Path();
    WGedcomTempFile moved = std::move(loaded.gedcom);
    EXPECT_FALSE(loaded.gedcom.IsHeld());
    EXPECT_EQ(moved.Path(), path);
    loaded.gedcom.Remove();  // nothing held: nothing happens
    EXPECT_TRUE(std::filesystem::exists(path));
    moved = WGedcomTempFile();
    EXPECT_FALSE(std::filesystem::exists(path));
}

// SIGTERM at each step of a load (copying the payload, expanding it, indexing the expanded
// GEDCOM with arrays large enough for backing files) leaves nothing in the temporary folder.
TEST_F(EmbeddedGedcomTest, SigtermDuringALoadLeavesNoTemporaryFile) {
    m_gedcom = GeneratedGedcom(30000);  // arrays past 64 KB, so they have backing files
    WriteFileText(m_dir / "family.ged", m_gedcom);
    Pack(m_dir / "big.sv");
    for (const char* step : {"Copying", "Expanding", "Indexing records", "Linking families"}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            InstallTerminationCleanup(false);
            static std::string stepLabel;
            stepLabel = step;
            Hooks().progress = [](const std::string& label, long long, long long) {
                if (label == stepLabel) ::raise(SIGTERM);
            };
            EmbeddedGedcom loaded = LoadEmbeddedGedcom(m_dir / "big.sv");
            std::string error;
            std::unique_ptr<WGEDCollection> c = OpenGedcomCollection(loaded.gedcom.Path(), error);
            if (c) c->LoadFile();
            ::_exit(0);  // the step was never reached
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << step;
        EXPECT_EQ(WTERMSIG(status), SIGTERM) << step;
        EXPECT_TRUE(m_tmp.Entries().empty()) << step << ": " << m_tmp.Entries().front();
    }
}

}  // namespace
}  // namespace kindrel
