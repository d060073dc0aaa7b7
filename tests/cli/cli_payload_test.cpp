// Runs the built kindrel executable: pack, trailer and expand as a user would.
#include "payload/blokar_compress.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace kindrel {
namespace {

namespace fs = std::filesystem;

const char* const kNoGedcomText =
    "Error: This Self-Viewing file does not contain a GEDCOM.\n\rPlease contact the person that "
    "created this file";

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliPayloadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kindrel-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        std::string gedcom = "0 HEAD\n1 CHAR UTF-8\n";
        std::mt19937 random(3);
        for (int i = 1; i <= 500; ++i)
            gedcom += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME Jürgen" +
                      std::to_string(random() % 97) + " /Weiß/\n1 BIRT\n2 DATE " +
                      std::to_string(1800 + random() % 200) + "\n";
        m_gedcom = gedcom + "0 TRLR\n";
        WriteText(m_dir / "family.ged", m_gedcom);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs kindrel with args; stdout and stderr are captured separately.
    RunResult Run(const std::vector<std::string>& args) {
        const fs::path outFile = m_dir / "stdout.txt";
        const fs::path errFile = m_dir / "stderr.txt";
        const pid_t pid = fork();
        if (pid == 0) {
            const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, 1);
            dup2(err, 2);
            const int devNull = open("/dev/null", O_RDONLY);
            dup2(devNull, 0);
            std::vector<char*> argv{const_cast<char*>(KINDREL_EXE)};
            for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            execv(KINDREL_EXE, argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        RunResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.out = ReadText(outFile);
        result.err = ReadText(errFile);
        fs::remove(outFile);
        fs::remove(errFile);
        return result;
    }

    std::string P(const std::string& name) const { return (m_dir / name).string(); }

    RunResult Pack(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{"pack",         P("family.ged"), "-o",
                                      P("family.sv"), "--viewer",      m_viewer};
        args.insert(args.end(), extra.begin(), extra.end());
        return Run(args);
    }

    fs::path m_dir;
    std::string m_gedcom;
    std::string m_viewer = KINDREL_EXE;  // the viewer part packed
};

// The viewer parts packed: any executable (kindrel itself) and, when it was built, the
// portable one (launcher and runtime bundle); pack, trailer and expand behave the same.
std::vector<std::string> ViewerParts() {
    std::vector<std::string> parts{KINDREL_EXE};
    const fs::path portable = fs::path(KINDREL_EXE).parent_path() / "kindrel-portable";
    if (fs::exists(portable)) parts.push_back(portable.string());
    return parts;
}

class CliPayloadKindTest : public CliPayloadTest,
                           public ::testing::WithParamInterface<std::string> {
  protected:
    void SetUp() override {
        CliPayloadTest::SetUp();
        m_viewer = GetParam();
    }
};

INSTANTIATE_TEST_SUITE_P(Kinds, CliPayloadKindTest, ::testing::ValuesIn(ViewerParts()),
                         [](const auto& info) {
                             return fs::path(info.param).filename() == "kindrel-portable"
                                        ? std::string("Portable")
                                        : std::string("AnyExecutable");
                         });

TEST_P(CliPayloadKindTest, PackTrailerExpandGivesTheSameGedcom) {
    const RunResult pack = Pack(
        {"--title", "Die Weiß Familie", "--sender-name", "Anna", "--email", "anna@example.org",
         "--address1", "1 Main St", "--address2", "Springfield", "--web", "example.org", "--phone",
         "555", "--message", "Hello\nsecond line", "--allow-extract", "--start-individual", "7"});
    ASSERT_EQ(pack.exitCode, 0) << pack.err;
    EXPECT_NE(pack.out.find("Packed"), std::string::npos);
    EXPECT_NE(fs::status(P("family.sv")).permissions() & fs::perms::owner_exec, fs::perms::none);

    const RunResult trailer = Run({"trailer", P("family.sv")});
    ASSERT_EQ(trailer.exitCode, 0) << trailer.err;
    const auto exeSize = std::to_string(fs::file_size(m_viewer));
    for (const std::string& line :
         {"Payload offset: " + exeSize + "\n", std::string("Block count: 1\n"),
          std::string("Start individual: 7\n"), std::string("Extract allowed: Yes\n"),
          std::string("File name: family.ged\n"), std::string("Title: Die Weiß Familie\n"),
          std::string("Sender name: Anna\n"), std::string("E-mail: anna@example.org\n"),
          std::string("Address 1: 1 Main St\n"), std::string("Address 2: Springfield\n"),
          std::string("Web site: example.org\n"), std::string("Phone: 555\n"),
          std::string("Message: Hello\n         second line\n")}) {
        EXPECT_NE(trailer.out.find(line), std::string::npos) << line << "\nin:\n" << trailer.out;
    }
    const bool portable = fs::path(m_viewer).filename() == "kindrel-portable";
    EXPECT_EQ(trailer.out.rfind(portable ? "Kind: portable (launcher " : "Kind: plain", 0), 0u)
        << trailer.out;
    EXPECT_NE(trailer.out.find("Payload bytes: "), std::string::npos);
    EXPECT_NE(trailer.out.find("Created: 20"), std::string::npos);

    const RunResult expand = Run({"expand", P("family.sv"), "-o", P("back.ged")});
    ASSERT_EQ(expand.exitCode, 0) << expand.err;
    EXPECT_TRUE(ReadText(m_dir / "back.ged") == m_gedcom);
}

TEST_F(CliPayloadTest, MessageFromFileAndNotBothMessageOptions) {
    WriteText(m_dir / "msg.txt", "From a file\r\nwith two lines");
    ASSERT_EQ(Pack({"--message-file", P("msg.txt")}).exitCode, 0);
    EXPECT_NE(Run({"trailer", P("family.sv")}).out.find("Message: From a file\n"),
              std::string::npos);
    const RunResult both = Pack({"--message", "x", "--message-file", P("msg.txt")});
    EXPECT_NE(both.exitCode, 0);
    EXPECT_NE(both.err.find("excludes"), std::string::npos) << both.err;
    const RunResult missing = Pack({"--message-file", P("nothing.txt")});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.err.find("message file"), std::string::npos) << missing.err;
}

TEST_F(CliPayloadTest, FileWithoutTrailerGivesTheMessageAndFails) {
    const RunResult expand = Run({"expand", P("family.ged"), "-o", P("out.ged")});
    EXPECT_NE(expand.exitCode, 0);
    EXPECT_NE(expand.err.find(kNoGedcomText), std::string::npos) << expand.err;
    EXPECT_FALSE(fs::exists(m_dir / "out.ged"));
    const RunResult trailer = Run({"trailer", P("family.ged")});
    EXPECT_NE(trailer.exitCode, 0);
    EXPECT_NE(trailer.err.find(kNoGedcomText), std::string::npos);
    EXPECT_TRUE(trailer.out.empty());
}

TEST_F(CliPayloadTest, ExpandOfBareArchiveWithBlocks) {
    WBlokarCompress compressor;
    const CompressResult archive = compressor.Compress(P("family.ged"), P("family.qzlm"));
    const RunResult expand = Run({"expand", P("family.qzlm"), "-o", P("back.ged"), "--blocks",
                                  std::to_string(archive.blocks)});
    ASSERT_EQ(expand.exitCode, 0) << expand.err;
    EXPECT_EQ(ReadText(m_dir / "back.ged"), m_gedcom);
    const RunResult zero = Run({"expand", P("family.qzlm"), "-o", P("x.ged"), "--blocks", "0"});
    EXPECT_NE(zero.exitCode, 0);
}

TEST_P(CliPayloadKindTest, CrcMismatchWritesTheOutputAndFails) {
    ASSERT_EQ(Pack().exitCode, 0);
    std::string bytes = ReadText(m_dir / "family.sv");
    bytes[fs::file_size(m_viewer) + 8] ^= 0x01;  // the first block's stored CRC
    WriteText(m_dir / "crc.sv", bytes);
    const RunResult expand = Run({"expand", P("crc.sv"), "-o", P("back.ged")});
    EXPECT_NE(expand.exitCode, 0);
    EXPECT_NE(expand.err.find("CRC does not match!"), std::string::npos) << expand.err;
    EXPECT_EQ(ReadText(m_dir / "back.ged"), m_gedcom);
}

TEST_P(CliPayloadKindTest, DamagedArchiveFailsWithoutPartialOutput) {
    ASSERT_EQ(Pack().exitCode, 0);
    std::string bytes = ReadText(m_dir / "family.sv");
    bytes[fs::file_size(m_viewer)] = 'X';
    WriteText(m_dir / "bad.sv", bytes);
    WriteText(m_dir / "back.ged", "keep me");
    const RunResult expand = Run({"expand", P("bad.sv"), "-o", P("back.ged")});
    EXPECT_EQ(expand.exitCode, 1);
    EXPECT_NE(expand.err.find("Wrong Signature. Archive could be corrupted."), std::string::npos);
    EXPECT_EQ(ReadText(m_dir / "back.ged"), "keep me");
}

TEST_F(CliPayloadTest, PackFailuresAreClearMessages) {
    const RunResult unwritable =
        Run({"pack", P("family.ged"), "-o", P("missing/out.sv"), "--viewer", KINDREL_EXE});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("Cannot write the output file"), std::string::npos);
    const RunResult noGedcom =
        Run({"pack", P("none.ged"), "-o", P("out.sv"), "--viewer", KINDREL_EXE});
    EXPECT_EQ(noGedcom.exitCode, 1);
    EXPECT_NE(noGedcom.err.find("Cannot read the GEDCOM file"), std::string::npos);
    const RunResult badViewer =
        Run({"pack", P("family.ged"), "-o", P("out.sv"), "--viewer", P("no-viewer")});
    EXPECT_EQ(badViewer.exitCode, 1);
    EXPECT_NE(badViewer.err.find("Cannot read the viewer"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_dir / "out.sv"));
}

TEST_F(CliPayloadTest, PackWithoutViewerNamesTheOption) {
    if (fs::exists(fs::path(KINDREL_EXE).parent_path() / "kindrel-viewer"))
        GTEST_SKIP() << "a viewer is installed beside kindrel";
    const RunResult pack = Run({"pack", P("family.ged"), "-o", P("out.sv")});
    EXPECT_EQ(pack.exitCode, 1);
    EXPECT_NE(pack.err.find("--viewer"), std::string::npos) << pack.err;
}

TEST_P(CliPayloadKindTest, LongTitleIsCutWithAWarning) {
    const RunResult pack = Pack({"--title", std::string(40, 'T')});
    EXPECT_EQ(pack.exitCode, 0);
    EXPECT_NE(pack.err.find("warning: The Title is longer than 32 bytes"), std::string::npos)
        << pack.err;
    EXPECT_NE(Run({"trailer", P("family.sv")}).out.find("Title: " + std::string(32, 'T') + "\n"),
              std::string::npos);
}

TEST_P(CliPayloadKindTest, NoProgressOnStderrWhenItIsNotATerminal) {
    const RunResult pack = Pack();
    EXPECT_TRUE(pack.err.empty()) << pack.err;
    const RunResult expand = Run({"expand", P("family.sv"), "-o", P("back.ged")});
    EXPECT_TRUE(expand.err.empty()) << expand.err;
}

TEST_F(CliPayloadTest, PackTakesThePortableViewerPartUnlessPlain) {
    const fs::path bin = fs::path(KINDREL_EXE).parent_path();
    if (!fs::exists(bin / "kindrel-portable") || !fs::exists(bin / "kindrel-viewer"))
        GTEST_SKIP() << "the viewers are not built";
    ASSERT_EQ(Run({"pack", P("family.ged"), "-o", P("portable.sv")}).exitCode, 0);
    EXPECT_EQ(ReadText(P("portable.sv")).substr(0, fs::file_size(bin / "kindrel-portable")),
              ReadText(bin / "kindrel-portable"));
    const RunResult plain = Run({"pack", P("family.ged"), "-o", P("plain.sv"), "--plain"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(plain.out.find(": plain viewer part"), std::string::npos) << plain.out;
    EXPECT_NE(Run({"trailer", P("plain.sv")}).out.find("Kind: plain"), std::string::npos);
    const RunResult both =
        Run({"pack", P("family.ged"), "-o", P("x.sv"), "--plain", "--viewer", KINDREL_EXE});
    EXPECT_NE(both.exitCode, 0);
    // Packing a packed portable file again keeps its launcher and bundle, not its payload.
    ASSERT_EQ(
        Run({"pack", P("family.ged"), "-o", P("again.sv"), "--viewer", P("portable.sv")}).exitCode,
        0);
    EXPECT_EQ(fs::file_size(P("again.sv")), fs::file_size(P("portable.sv")));
    // A damaged runtime footer is reported, and the GEDCOM still expands.
    std::string bytes = ReadText(P("portable.sv"));
    bytes[fs::file_size(bin / "kindrel-portable") - 100] ^= 1;
    WriteText(m_dir / "damaged.sv", bytes);
    EXPECT_NE(Run({"trailer", P("damaged.sv")}).out.find("runtime bundle is damaged"),
              std::string::npos);
    EXPECT_EQ(Run({"expand", P("damaged.sv"), "-o", P("back.ged")}).exitCode, 0);
    EXPECT_EQ(ReadText(m_dir / "back.ged"), m_gedcom);
}

TEST_F(CliPayloadTest, EveryCommandAnswersHelp) {
    for (const char* command : {"pack", "trailer", "expand"}) {
        const RunResult help = Run({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_NE(help.out.find("Usage:"), std::string::npos) << command;
    }
    const RunResult top = Run({"--help"});
    EXPECT_EQ(top.exitCode, 0);
    for (const char* command : {"pack", "trailer", "expand"})
        EXPECT_NE(top.out.find(command), std::string::npos);
}

}  // namespace
}  // namespace kindrel
