#include "services/self_view_packer.h"

#include "containers/ui_hooks.h"
#include "services/posix_file.h"
#include "services_test_util.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kindrel {
namespace {

using test::ReadFileText;
using test::ScratchDir;
using test::WriteFileText;

const char* const kGedcom = "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME Anna /Smith/\n0 TRLR\n";

class SelfViewPackerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_viewer = std::string(3000, 'v') + "viewer end";
        WriteFileText(m_dir / "viewer", m_viewer);
        WriteFileText(m_dir / "family.ged", kGedcom);
        m_options.gedcomFile = m_dir / "family.ged";
        m_options.outputFile = m_dir / "out.sv";
        m_options.viewerFile = m_dir / "viewer";
    }

    // Runs the packer and returns the text of its error.
    std::string PackError() {
        try {
            PackSelfViewing(m_options);
        } catch (const KindrelError& e) {
            return e.what();
        }
        return "no error";
    }

    ScratchDir m_dir;
    std::string m_viewer;
    PackOptions m_options;
};

TEST_F(SelfViewPackerTest, OutputIsViewerThenArchiveThenTrailer) {
    m_options.title = "Title";
    m_options.senderName = "Sender";
    m_options.senderEmail = "s@example.org";
    m_options.address1 = "A1";
    m_options.address2 = "A2";
    m_options.webSite = "example.org";
    m_options.phone = "123";
    m_options.message = "Line 1\nLine 2";
    m_options.allowExtract = true;
    m_options.startIndividual = 5;
    const double before = DateTimeNow();
    const PackResult result = PackSelfViewing(m_options);
    const std::string out = ReadFileText(m_dir / "out.sv");
    EXPECT_EQ(static_cast<long long>(out.size()), result.outputBytes);
    EXPECT_EQ(out.substr(0, m_viewer.size()), m_viewer);
    EXPECT_EQ(out.substr(m_viewer.size(), 8), "QZLMDATA");
    EXPECT_EQ(result.viewerBytes, static_cast<long long>(m_viewer.size()));
    EXPECT_FALSE(result.viewerHadTrailer);
    EXPECT_TRUE(result.warnings.empty());

    const SelfViewFileInfo info = ReadSelfViewTrailer(m_dir / "out.sv");
    const SelfViewTrailer& t = info.trailer;
    EXPECT_EQ(t.payloadOffset, static_cast<int32_t>(m_viewer.size()));
    EXPECT_EQ(info.payloadBytes, result.archiveBytes);
    EXPECT_EQ(t.blockCount, 1);
    EXPECT_EQ(t.startIndividual, 5);
    EXPECT_TRUE(t.extractAllowed);
    EXPECT_GE(t.created, before - 1.0 / 86400);
    EXPECT_LE(t.created, DateTimeNow() + 1.0 / 86400);
    EXPECT_EQ(t.fileName, "family.ged");
    EXPECT_EQ(t.title, "Title");
    EXPECT_EQ(t.senderName, "Sender");
    EXPECT_EQ(t.senderEmail, "s@example.org");
    EXPECT_EQ(t.address1, "A1");
    EXPECT_EQ(t.address2, "A2");
    EXPECT_EQ(t.webSite, "example.org");
    EXPECT_EQ(t.phone, "123");
    EXPECT_EQ(t.message, "Line 1\nLine 2");
}

TEST_F(SelfViewPackerTest, OutputIsExecutableAndNoTemporaryIsLeft) {
    PackSelfViewing(m_options);
    struct stat st {};
    ASSERT_EQ(stat((m_dir / "out.sv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u & ~CurrentUmask());
    EXPECT_EQ(m_dir.Entries(), (std::vector<std::string>{"family.ged", "out.sv", "viewer"}));
}

TEST_F(SelfViewPackerTest, ViewerThatCarriesATrailerContributesOnlyItsViewerPart) {
    PackSelfViewing(m_options);
    WriteFileText(m_dir / "family.ged", std::string(kGedcom) + "0 NOTE more\n");
    m_options.viewerFile = m_dir / "out.sv";
    m_options.outputFile = m_dir / "again.sv";
    const PackResult again = PackSelfViewing(m_options);
    EXPECT_TRUE(again.viewerHadTrailer);
    EXPECT_EQ(again.viewerBytes, static_cast<long long>(m_viewer.size()));
    const std::string out = ReadFileText(m_dir / "again.sv");
    EXPECT_EQ(out.substr(0, m_viewer.size() + 8), m_viewer + "QZLMDATA");
    EXPECT_EQ(ReadSelfViewTrailer(m_dir / "again.sv").trailer.payloadOffset,
              static_cast<int32_t>(m_viewer.size()));
}

TEST_F(SelfViewPackerTest, ViewerWithDamagedTrailerIsRefused) {
    PackSelfViewing(m_options);
    std::string bytes = ReadFileText(m_dir / "out.sv");
    bytes[bytes.size() - 1497] = '\x7f';  // payload offset far past the end
    bytes[bytes.size() - 1494] = '\x7f';
    WriteFileText(m_dir / "damaged", bytes);
    m_options.viewerFile = m_dir / "damaged";
    m_options.outputFile = m_dir / "again.sv";
    EXPECT_NE(PackError().find("damaged self-viewing trailer"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "again.sv"));
}

TEST_F(SelfViewPackerTest, LongFieldsAreCutWithWarnings) {
    std::vector<std::string> shown;
    const auto saved = Hooks().warning;
    Hooks().warning = [&](const std::string& text) { shown.push_back(text); };
    m_options.title = std::string(30, 't') + "ää";  // 34 bytes; the second "ä" would straddle
    m_options.phone = std::string(40, '1');
    const PackResult result = PackSelfViewing(m_options);
    Hooks().warning = saved;
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_EQ(shown, result.warnings);
    EXPECT_NE(result.warnings[0].find("Title is longer than 32 bytes"), std::string::npos);
    EXPECT_NE(result.warnings[1].find("Phone is longer than 32 bytes"), std::string::npos);
    const SelfViewTrailer t = ReadSelfViewTrailer(m_dir / "out.sv").trailer;
    EXPECT_EQ(t.title, std::string(30, 't') + "ä");
    EXPECT_EQ(t.phone, std::string(32, '1'));
    EXPECT_EQ(result.trailer.title, t.title);
}

TEST_F(SelfViewPackerTest, MissingGedcomIsAClearError) {
    m_options.gedcomFile = m_dir / "missing.ged";
    const std::string error = PackError();
    EXPECT_NE(error.find("Cannot read the GEDCOM file"), std::string::npos) << error;
    EXPECT_NE(error.find("missing.ged"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out.sv"));
}

TEST_F(SelfViewPackerTest, EmptyGedcomIsRefused) {
    WriteFileText(m_dir / "family.ged", "");
    EXPECT_NE(PackError().find("is empty"), std::string::npos);
}

TEST_F(SelfViewPackerTest, BadViewerPathIsAClearError) {
    m_options.viewerFile = m_dir / "no-such-viewer";
    EXPECT_NE(PackError().find("Cannot read the viewer"), std::string::npos);
    m_options.viewerFile = m_dir.Path().string();
    EXPECT_NE(PackError().find("is a folder, not a file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out.sv"));
}

TEST_F(SelfViewPackerTest, UnwritableOutputIsAClearError) {
    m_options.outputFile = m_dir / "no-such-folder/out.sv";
    EXPECT_NE(PackError().find("Cannot write the output file"), std::string::npos);
    m_options.outputFile = m_dir.Path().string();
    EXPECT_NE(PackError().find("is a folder"), std::string::npos);
    if (geteuid() != 0) {  // root writes anywhere
        std::filesystem::create_directory(m_dir / "locked");
        chmod((m_dir / "locked").c_str(), 0500);
        m_options.outputFile = m_dir / "locked/out.sv";
        EXPECT_NE(PackError().find("Cannot write the output file"), std::string::npos);
    }
}

TEST_F(SelfViewPackerTest, OutputMayNotReplaceItsInputs) {
    m_options.outputFile = m_options.gedcomFile;
    EXPECT_NE(PackError().find("would replace the GEDCOM"), std::string::npos);
    m_options.outputFile = m_options.viewerFile;
    EXPECT_NE(PackError().find("would replace the viewer"), std::string::npos);
    EXPECT_EQ(ReadFileText(m_dir / "family.ged"), kGedcom);
}

TEST_F(SelfViewPackerTest, FailureLeavesAnExistingOutputUntouched) {
    WriteFileText(m_dir / "out.sv", "previous");
    m_options.gedcomFile = m_dir / "missing.ged";
    PackError();
    EXPECT_EQ(ReadFileText(m_dir / "out.sv"), "previous");
    m_options.gedcomFile = m_dir / "family.ged";
    PackSelfViewing(m_options);  // success replaces it
    EXPECT_NE(ReadFileText(m_dir / "out.sv"), "previous");
}

TEST_F(SelfViewPackerTest, StartIndividualMustBePositive) {
    m_options.startIndividual = 0;
    EXPECT_NE(PackError().find("start individual"), std::string::npos);
}

}  // namespace
}  // namespace kindrel
