#include "services/ini_file.h"

#include "containers/errors.h"
#include "services_test_util.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kindrel {
namespace {

TEST(IniFileTest, UnchangedDocumentWritesBackByteForByte) {
    for (const std::string text : {"", "[A]\nk=v\n", "[A]\r\nk=v\r\n\r\n; c\r\n",
                                   "\xEF\xBB\xBF[A]\nk = v\n\n\n", "no section=1\n[A]\n"}) {
        EXPECT_EQ(WIniFile::Parse(text).ToText(), text);
    }
    EXPECT_EQ(WIniFile::Parse("[A]\nk=v").ToText(), "[A]\nk=v\n");
}

TEST(IniFileTest, LooksUpSectionsAndKeysWithoutCase) {
    const WIniFile ini = WIniFile::Parse(
        "top=0\n[ General ]\nKey=1\n; Other=commented\n# "
        "Hash=commented\nEmpty=\n[Second]\nKey=2\n");
    EXPECT_EQ(ini.Get("general", "KEY"), "1");
    EXPECT_EQ(ini.Get("Second", "key"), "2");
    EXPECT_EQ(ini.Get("General", "Empty"), "");
    EXPECT_FALSE(ini.Get("General", "Other").has_value());
    EXPECT_FALSE(ini.Get("General", "Hash").has_value());
    EXPECT_FALSE(ini.Get("General", "top").has_value());
    EXPECT_FALSE(ini.Get("Missing", "Key").has_value());
}

TEST(IniFileTest, FirstOfDuplicateSectionsIsReadAndWritten) {
    WIniFile ini = WIniFile::Parse("[A]\nk=1\n[A]\nk=2\nj=3\n");
    EXPECT_EQ(ini.Get("A", "k"), "1");
    EXPECT_FALSE(ini.Get("A", "j").has_value());
    ini.Set("A", "k", "9");
    ini.Set("A", "j", "8");
    EXPECT_EQ(ini.ToText(), "[A]\nk=9\nj=8\n[A]\nk=2\nj=3\n");
}

TEST(IniFileTest, SetKeepsBlankLinesBetweenSections) {
    WIniFile ini = WIniFile::Parse("[A]\nk=1\n\n[B]\n");
    ini.Set("A", "n", "2");
    ini.Set("C", "m", "3");
    EXPECT_EQ(ini.ToText(), "[A]\nk=1\nn=2\n\n[B]\n\n[C]\nm=3\n");
}

TEST(IniFileTest, LoadOfMissingFileIsEmptyAndOfAFolderFails) {
    test::ScratchDir dir;
    EXPECT_EQ(WIniFile::Load(dir / "missing.ini").ToText(), "");
    EXPECT_THROW(WIniFile::Load(dir.Path().string()), ENotRegularFile);
}

TEST(IniFileTest, LoadOfANamedPipeFailsAtOnceSayingWhatItIs) {
    test::ScratchDir dir;
    ASSERT_EQ(::mkfifo((dir / "KDSE.ini").c_str(), 0600), 0);
    // No writer ever comes: a blocking open would wait here forever.
    try {
        WIniFile::Load(dir / "KDSE.ini");
        ADD_FAILURE() << "a named pipe was read";
    } catch (const ENotRegularFile& e) {
        EXPECT_NE(std::string(e.what()).find("it is a named pipe, not a regular file"),
                  std::string::npos);
    }
}

TEST(IniFileTest, WritingBackIsStableForStrayCarriageReturns) {
    for (const std::string text : {"[General]\nuset]\r\r\nA=1\r\r\r\n", "[General]\r\nA=1\r\r\n",
                                   "x\ry\n\r\n\r\r"}) {
        const std::string once = WIniFile::Parse(text).ToText();
        EXPECT_EQ(WIniFile::Parse(once).ToText(), once) << text;
    }
    EXPECT_EQ(WIniFile::Parse("[General]\nA=1\r\r\n").Get("General", "A"), "1");
}

}  // namespace
}  // namespace kindrel
