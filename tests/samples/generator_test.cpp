// kindrel-gengedcom: deterministic, well-formed output in every shape, charset and line end,
// exact chain depth, size targeting and argument handling.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "gedcom_checker.h"

namespace kindrel::testing {
namespace {

namespace fs = std::filesystem;

const std::string kGenerator = KINDREL_GENGEDCOM;

class GeneratorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kindrel_gen_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    // Runs the generator with the given arguments; returns its exit code.
    int Run(const std::string& arguments) const {
        const std::string command = "'" + kGenerator + "' " + arguments + " > '" +
                                    (m_dir / "stdout.txt").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Generates into dir/name and returns the bytes (empty on failure).
    std::string Generate(const std::string& arguments, const std::string& name = "out.ged",
                         const std::string& subdir = "") const {
        const fs::path dir = subdir.empty() ? m_dir : m_dir / subdir;
        fs::create_directories(dir);
        const fs::path file = dir / name;
        EXPECT_EQ(Run(arguments + " -o '" + file.string() + "'"), 0) << Output();
        return ReadBinaryFile(file.string());
    }

    std::string Output() const { return ReadBinaryFile((m_dir / "stdout.txt").string()); }

    fs::path m_dir;
};

TEST_F(GeneratorTest, HelpDescribesTheOptions) {
    EXPECT_EQ(Run("--help"), 0);
    const std::string help = Output();
    for (const char* option : {"--seed", "--shape", "--charset", "--line-ends", "--bytes",
                               "--shuffle-ids", "--output"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

TEST_F(GeneratorTest, RejectsBadArguments) {
    const std::string out = " -o '" + (m_dir / "x.ged").string() + "'";
    EXPECT_NE(Run(out), 0) << "neither N nor --bytes";
    EXPECT_NE(Run("0" + out), 0);
    EXPECT_NE(Run("10 --shape round" + out), 0);
    EXPECT_NE(Run("10 --charset latin1" + out), 0);
    EXPECT_NE(Run("10 --line-ends cr" + out), 0);
    EXPECT_NE(Run("10 --bytes 5000" + out), 0) << "N and --bytes together";
    EXPECT_NE(Run("10"), 0) << "no output file";
    EXPECT_NE(Run("10 -o '" + (m_dir / "missing" / "x.ged").string() + "'"), 0);
}

TEST_F(GeneratorTest, SameSeedGivesTheSameBytes) {
    const std::string first = Generate("3000 --seed 7", "same.ged", "a");
    const std::string second = Generate("3000 --seed 7", "same.ged", "b");
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first == second);
    const std::string other = Generate("3000 --seed 8", "same.ged", "c");
    EXPECT_FALSE(first == other);
    EXPECT_TRUE(Generate("200 --shape wide --seed 3", "w.ged", "d") ==
                Generate("200 --shape wide --seed 3", "w.ged", "e"));
}

TEST_F(GeneratorTest, EveryShapeCharsetAndLineEndIsWellFormed) {
    for (const char* shape : {"normal", "chain", "wide"}) {
        for (const char* charset : {"UTF-8", "ANSEL"}) {
            for (const char* ends : {"crlf", "lf"}) {
                const std::string arguments = std::string("700 --shape ") + shape + " --charset " +
                                              charset + " --line-ends " + ends;
                SCOPED_TRACE(arguments);
                const std::string bytes = Generate(arguments);
                const bool ansel = std::string(charset) == "ANSEL";
                const GedCheck check =
                    CheckGedcom(bytes, std::string(ends) == "lf" ? LineEnds::kLf : LineEnds::kCrlf,
                                ansel ? TextEncoding::kAnsel : TextEncoding::kUtf8);
                EXPECT_TRUE(check.errors.empty()) << check.ErrorText();
                EXPECT_EQ(check.individuals, 700u);
                EXPECT_EQ(check.records.front().FirstValue(1, "CHAR"), charset);
                EXPECT_EQ(check.records.front().FirstValue(1, "FILE"), "out.ged");
                EXPECT_EQ(check.submitters, 1u);
                EXPECT_GE(check.repositories, 1u);
            }
        }
    }
}

TEST_F(GeneratorTest, TinyCountsGiveExactlyThatManyPeople) {
    for (const char* shape : {"normal", "chain", "wide"}) {
        for (const int n : {1, 2, 3, 4, 7, 13, 21}) {
            const std::string arguments =
                std::to_string(n) + " --shape " + shape + " --seed " + std::to_string(n);
            SCOPED_TRACE(arguments);
            const GedCheck check =
                CheckGedcom(Generate(arguments), LineEnds::kCrlf, TextEncoding::kUtf8);
            EXPECT_TRUE(check.errors.empty()) << check.ErrorText();
            EXPECT_EQ(check.individuals, static_cast<size_t>(n));
        }
    }
}

TEST_F(GeneratorTest, AnselOutputUsesAnselBytesForAccentedNames) {
    const std::string utf8 = Generate("2000 --seed 5", "u.ged");
    const std::string ansel = Generate("2000 --seed 5 --charset ANSEL", "a.ged");
    EXPECT_FALSE(CheckGedcom(ansel, LineEnds::kCrlf, TextEncoding::kUtf8).errors.empty())
        << "accented names must not stay UTF-8";
    // Same people and structure, only the encoding of names and places differs.
    const GedCheck a = CheckGedcom(ansel, LineEnds::kCrlf, TextEncoding::kAnsel);
    const GedCheck u = CheckGedcom(utf8, LineEnds::kCrlf, TextEncoding::kUtf8);
    EXPECT_EQ(a.families, u.families);
    EXPECT_EQ(a.islandSizes, u.islandSizes);
}

TEST_F(GeneratorTest, ChainDepthIsExactlyN) {
    for (const int n : {1, 2, 37, 5000}) {
        const std::string bytes = Generate(std::to_string(n) + " --shape chain --line-ends lf");
        const GedCheck check = CheckGedcom(bytes, LineEnds::kLf, TextEncoding::kUtf8);
        EXPECT_TRUE(check.errors.empty()) << check.ErrorText();
        EXPECT_EQ(check.generations, static_cast<size_t>(n));
        EXPECT_EQ(check.families, static_cast<size_t>(n - 1));
        EXPECT_EQ(check.islandSizes, (std::vector<size_t>{static_cast<size_t>(n)}));
    }
}

TEST_F(GeneratorTest, NormalShapeHasIslandsRemarriagesAndVariedRecords) {
    const std::string bytes = Generate("5000 --seed 11");
    const GedCheck check = CheckGedcom(bytes, LineEnds::kCrlf, TextEncoding::kUtf8);
    ASSERT_TRUE(check.errors.empty()) << check.ErrorText();
    EXPECT_GE(check.islandSizes.size(), 5u);
    EXPECT_EQ(check.islandSizes.back(), 1u) << "some singletons";
    EXPECT_GT(check.islandSizes.front(), 2500u) << "one dominant family";
    EXPECT_GE(check.generations, 6u);
    EXPECT_GE(check.notes, 1u);
    EXPECT_GE(check.sources, 3u);

    size_t remarried = 0;
    size_t bigFamilies = 0;
    for (const GedRecord& record : check.records) {
        if (record.tag == "INDI" && record.LinesAt(1, "FAMS").size() >= 2) ++remarried;
        if (record.tag == "FAM" && record.LinesAt(1, "CHIL").size() >= 7) ++bigFamilies;
    }
    EXPECT_GT(remarried, 10u);
    EXPECT_GT(bigFamilies, 10u);
    for (const char* needle :
         {"\r\n2 DATE ABT ", "\r\n2 DATE BEF ", "\r\n2 DATE AFT ", "\r\n2 DATE BET ",
          "\r\n2 DATE FROM ", "\r\n1 CONC ", "\r\n2 CONC ", "\r\n2 CONT ", "\r\n3 PAGE ",
          "\r\n1 OCCU ", "\r\n1 RESI\r\n", "\r\n1 CENS\r\n", "\r\n1 CHR\r\n", "\r\n1 BURI\r\n",
          "\r\n1 DEAT Y\r\n", "\r\n1 NOTE @N", "\r\n2 TYPE married\r\n", "\r\n2 CALN ",
          "\r\n3 TIME "}) {
        EXPECT_NE(bytes.find(needle), std::string::npos) << needle;
    }
    const size_t perIndividual = bytes.size() / 5000;
    EXPECT_GE(perIndividual, 250u);
    EXPECT_LE(perIndividual, 450u);
}

TEST_F(GeneratorTest, WideShapeIsOneFamilyOfFewGenerations) {
    const std::string bytes = Generate("4000 --shape wide");
    const GedCheck check = CheckGedcom(bytes, LineEnds::kCrlf, TextEncoding::kUtf8);
    ASSERT_TRUE(check.errors.empty()) << check.ErrorText();
    EXPECT_EQ(check.islandSizes, (std::vector<size_t>{4000}));
    EXPECT_LE(check.generations, 4u) << "founders, children, grandchildren, great-grandchildren";
    size_t largest = 0;
    for (const GedRecord& record : check.records) {
        if (record.tag == "FAM") largest = std::max(largest, record.LinesAt(1, "CHIL").size());
    }
    EXPECT_GE(largest, 12u);
}

TEST_F(GeneratorTest, ShuffledIdsAreNotAscendingButStillResolve) {
    const std::string bytes = Generate("1500 --shuffle-ids");
    const GedCheck check = CheckGedcom(bytes, LineEnds::kCrlf, TextEncoding::kUtf8);
    ASSERT_TRUE(check.errors.empty()) << check.ErrorText();
    std::set<int> seen;
    int descents = 0;
    int previous = 0;
    for (const GedRecord& record : check.records) {
        if (record.tag != "INDI") continue;
        const int number = std::stoi(record.xref.substr(1));
        descents += number < previous ? 1 : 0;
        previous = number;
        seen.insert(number);
    }
    EXPECT_GT(descents, 100);
    EXPECT_EQ(seen.size(), 1500u);
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), 1500);

    const std::string plain = Generate("1500", "plain.ged");
    const GedCheck ordered = CheckGedcom(plain, LineEnds::kCrlf, TextEncoding::kUtf8);
    int expected = 1;
    for (const GedRecord& record : ordered.records) {
        if (record.tag == "INDI") {
            EXPECT_EQ(record.xref, "I" + std::to_string(expected++));
        }
    }
}

TEST_F(GeneratorTest, BytesOptionComesCloseToTheTarget) {
    const std::string bytes = Generate("--bytes 1000000 --seed 2");
    EXPECT_GT(bytes.size(), 900000u);
    EXPECT_LT(bytes.size(), 1100000u);
    const GedCheck check = CheckGedcom(bytes, LineEnds::kCrlf, TextEncoding::kUtf8);
    EXPECT_TRUE(check.errors.empty()) << check.ErrorText();
    const std::string tiny = Generate("--bytes 2000 --shape chain", "tiny.ged");
    EXPECT_FALSE(tiny.empty());
    EXPECT_LT(tiny.size(), 6000u);
}

}  // namespace
}  // namespace kindrel::testing
