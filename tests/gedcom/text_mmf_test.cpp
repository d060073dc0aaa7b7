#include "gedcom/text_mmf.h"
#include "containers/errors.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>

namespace kindrel {
namespace {

namespace fs = std::filesystem;

static_assert(!std::is_copy_constructible_v<WGEDTextMMF>);
static_assert(std::is_move_constructible_v<WGEDTextMMF>);

// A GEDCOM file written for one test and removed afterwards.
class GedFile {
  public:
    GedFile(const std::string& name, const std::string& bytes)
        : m_path((fs::temp_directory_path() /
                  ("kindrel_text_" + std::to_string(::getpid()) + "_" + name))
                     .string()) {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    ~GedFile() { fs::remove(m_path); }
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

TEST(WGEDTextMMF, MissingFileRaisesTheFileMessage) {
    const std::string path = (fs::temp_directory_path() / "kindrel_no_such_file.ged").string();
    try {
        WGEDTextMMF text(path);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error using the file " + path +
                      "\r\nPlease check that this file is not being used by another "
                      "application.");
    }
}

TEST(WGEDTextMMF, EmptyFileRaisesTheFileMessage) {
    const GedFile file("empty.ged", "");
    try {
        WGEDTextMMF text(file.Path());
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("Error using the file " + file.Path()),
                  std::string::npos);
    }
}

TEST(WGEDTextMMF, WalksTheRecordsOfAMappedFile) {
    const GedFile file(
        "walk.ged",
        "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Ann /Lee/\r\n0 @F1@ FAM\r\n1 WIFE @I1@\r\n"
        "0 TRLR\r\n");
    const WGEDTextMMF text(file.Path());
    EXPECT_FALSE(text.UsesLF());
    EXPECT_TRUE(text.ReadOnly());
    std::vector<int> kinds;
    std::vector<std::string> ids;
    for (const char* r = text.TextStart(); r != nullptr; r = text.NextRecord(r)) {
        kinds.push_back(text.RecordKind(r));
        const auto id = text.ExtractXref(r + 2, false);
        ids.emplace_back(id ? std::string(*id) : "-");
    }
    EXPECT_EQ(kinds, (std::vector<int>{kKindNoXref, kKindIndividual, kKindFamily, kKindNoXref}));
    EXPECT_EQ(ids, (std::vector<std::string>{"-", "I1", "F1", "-"}));
    const char* name = text.NextLine(text.NextRecord(text.TextStart()), true);
    EXPECT_EQ(text.TagValue(name), "Ann /Lee/");
    EXPECT_EQ(text.LineTag(name), TagCode("NAME"));
    EXPECT_EQ(text.OffsetOf(name), 35);
    EXPECT_EQ(text.AtOffset(35), name);
    EXPECT_EQ(text.AtOffset(text.Size()), nullptr);
    EXPECT_EQ(text.AtOffset(-1), nullptr);
}

TEST(WGEDTextMMF, LineFeedFileAndTheLastRecordText) {
    const GedFile file("lf.ged", "0 HEAD\n0 @N1@ NOTE a\n1 CONC b\n1 CONT c");
    const WGEDTextMMF text(file.Path());
    EXPECT_TRUE(text.UsesLF());
    const char* note = text.NextRecord(text.TextStart());
    EXPECT_EQ(text.RawRecordText(note), "0 @N1@ NOTE a\n1 CONC b\n1 CONT c");
    EXPECT_EQ(text.ReadText(note + 12), (std::vector<std::string>{"ab", "c"}));
}

TEST(WGEDTextMMF, MovedTextKeepsItsMapping) {
    const GedFile file("move.ged", "0 HEAD\n0 TRLR\n");
    WGEDTextMMF a(file.Path());
    WGEDTextMMF b(std::move(a));
    EXPECT_EQ(b.Text(), "0 HEAD\n0 TRLR\n");
    EXPECT_TRUE(b.UsesLF());
    EXPECT_EQ(a.Base(), nullptr);
}

// Files of exactly one page end where the mapping ends: any read past the text would fault.
TEST(WGEDTextMMF, ScansStopAtTheEndOfAPageSizedFile) {
    const long page = ::sysconf(_SC_PAGESIZE);
    const std::string tails[] = {"0 @I12345678901234567890",
                                 "1 NOTE x\n2 CONC",
                                 "1 NAME abc   ",
                                 "0 @X@",
                                 "\n\n\n   ",
                                 "2 PLAC",
                                 "0"};
    for (const std::string& tail : tails) {
        std::string bytes = "0 HEAD\n1 NOTE a\n";
        bytes += std::string(std::size_t(page) - bytes.size() - tail.size() - 1, 'x');
        bytes += '\n';
        bytes += tail;
        ASSERT_EQ(bytes.size(), std::size_t(page));
        const GedFile file("page.ged", bytes);
        const WGEDTextMMF text(file.Path());
        std::size_t lines = 0;
        for (const char* p = text.TextStart(); p != nullptr; p = text.NextLine(p, true)) {
            ++lines;
            text.ExtractXref(p, true);
            text.RecordKind(p);
            text.LineLevel(p);
            text.TagValue(p);
            text.ReadText(p + 2);
            text.ReadEventPlace(p);
            text.EventDateValue(p, true);
        }
        for (const char* r = text.TextStart(); r != nullptr; r = text.NextRecord(r))
            text.RawRecordText(r);
        EXPECT_GE(lines, 3u) << tail;
    }
}

}  // namespace
}  // namespace kindrel
