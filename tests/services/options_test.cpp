#include "services/options.h"

#include "containers/errors.h"
#include "containers/ui_hooks.h"
#include "services_test_util.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <limits>
#include <map>
#include <set>
#include <vector>

namespace kindrel {
namespace {

using test::ReadFileText;
using test::ScopedEnv;
using test::ScratchDir;
using test::WriteFileText;

TEST(OptionTableTest, Has134SettingsWithEveryKeyOnce) {
    std::set<std::string> keys;
    for (int n = 1; n <= kOptionCount; ++n) {
        const OptionDefinition& def = OptionDefinitionOf(n);
        EXPECT_TRUE(keys.insert(def.key).second) << "duplicate key " << def.key;
    }
    EXPECT_EQ(keys.size(), 134u);
    EXPECT_THROW(OptionDefinitionOf(0), EIndexError);
    EXPECT_THROW(OptionDefinitionOf(135), EIndexError);
}

TEST(OptionTableTest, SectionsHoldTheirNumberOfKeys) {
    std::map<std::string, int> perSection;
    for (int n = 1; n <= kOptionCount; ++n) ++perSection[OptionDefinitionOf(n).section];
    const std::map<std::string, int> expected = {{"General", 77}, {"Printing", 14},
                                                 {"Internet", 3}, {"SelfExtract", 12},
                                                 {"Help", 26},    {"TMG", 2}};
    EXPECT_EQ(perSection, expected);
}

TEST(OptionTableTest, NumbersMatchKeysSectionsAndDefaults) {
    struct Row {
        int number;
        Opt id;
        const char* section;
        const char* key;
        const char* defaultText;
    };
    const Row rows[] = {
        {1, Opt::UseLDS, "General", "UseLDS", "F"},
        {2, Opt::FirstTime107, "General", "FirstTime107", "T"},
        {5, Opt::Ped_Single, "Printing", "Ped_Single", "T"},
        {12, Opt::Island_Divider, "Printing", "Island_Divider", "F"},
        {13, Opt::FindDlg, "General", "FindDlg", "3"},
        {15, Opt::Finddir, "General", "Finddir", ""},
        {16, Opt::YearRange, "Internet", "YearRange", "0"},
        {19, Opt::SrcCol1, "General", "SrcCol1", "40"},
        {26, Opt::SrcCol8, "General", "SrcCol8", "150"},
        {27, Opt::File1, "General", "File1", ""},
        {36, Opt::File10, "General", "File10", ""},
        {39, Opt::LastID, "General", "LastID", "1"},
        {45, Opt::HLManual, "General", "HLManual", "F"},
        {46, Opt::SEName, "SelfExtract", "Name", ""},
        {51, Opt::SEBNRadio, "SelfExtract", "BNRadio", "0"},
        {52, Opt::SESendMsg, "SelfExtract", "sendmsg", "sendmsg.txt"},
        {55, Opt::SEAllowExtract, "SelfExtract", "AllowExtract", "F"},
        {57, Opt::SEWeb, "SelfExtract", "Web", ""},
        {58, Opt::FamCol1, "General", "FamCol1", "10"},
        {63, Opt::FamCol6, "General", "FamCol6", "200"},
        {69, Opt::DesColumns, "General", "DesColumns", "65,67,19,59,60"},
        {75, Opt::DesColW, "Printing", "DesColW", "36"},
        {87, Opt::SaveToFileDir, "Printing", "SaveToFileDir", ""},
        {88, Opt::IslandColumns, "General", "IslandColumns", "1,2,7,65,67,19,18,54,55"},
        {94, Opt::DispInitHelp, "Help", "DispInitHelp", "T"},
        {95, Opt::IH1, "Help", "IH1", "T"},
        {119, Opt::IH25, "Help", "IH25", "T"},
        {120, Opt::CalcIslands, "General", "CalcIslands", "T"},
        {121, Opt::HLCol, "General", "HLCol", "65535"},
        {126, Opt::TMGTagSent, "TMG", "TMGTagSent", "T"},
        {127, Opt::TMGEngage, "TMG", "TMGEngage", "F"},
        {130, Opt::SrcCol9, "General", "SrcCol9", "150"},
        {132, Opt::SrcCol11, "General", "SrcCol11", "150"},
        {134, Opt::QFind, "General", "QFind", "1"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(OptNumber(row.id), row.number) << row.key;
        const OptionDefinition& def = OptionDefinitionOf(row.number);
        EXPECT_STREQ(def.section, row.section) << row.number;
        EXPECT_STREQ(def.key, row.key) << row.number;
        EXPECT_STREQ(def.defaultText, row.defaultText) << row.number;
    }
    EXPECT_EQ(FileOpt(10), Opt::File10);
    EXPECT_EQ(HelpOpt(13), Opt::IH13);
    EXPECT_STREQ(OptionDefinitionOf(HelpOpt(13)).key, "IH13");
}

TEST(OptionsTest, MissingFileGivesDefaultsAndIsNotCreatedByReading) {
    ScratchDir dir;
    WOptions options(dir / "KDSE.ini");
    EXPECT_FALSE(options.ReadBool(Opt::UseLDS));
    EXPECT_TRUE(options.ReadBool(Opt::FirstTime107));
    EXPECT_EQ(options.ReadInt(Opt::HLCol), 65535);
    EXPECT_EQ(options.ReadText(Opt::SESendMsg), "sendmsg.txt");
    EXPECT_EQ(options.ReadText(Opt::File3), "");
    EXPECT_EQ(options.ReadInt(Opt::File3), 0);
    options.Flush();
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(OptionsTest, NamedPipeAsSettingsFileGivesDefaultsAndOneWarningWithoutWaiting) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo((dir / "KDSE.ini").c_str(), 0600), 0);
    std::vector<std::string> warnings;
    const auto saved = Hooks();
    Hooks().warning = [&](const std::string& message) { warnings.push_back(message); };
    WOptions options(dir / "KDSE.ini");
    EXPECT_TRUE(options.ReadBool(Opt::FirstTime107));
    EXPECT_EQ(options.ReadListColumns(), WOptions(dir / "missing.ini").ReadListColumns());
    EXPECT_EQ(options.ReadWindowPlacement(800, 600).top, 75);
    // Saving refuses too, and leaves the pipe in place.
    options.WriteInt(Opt::FontSize, 7);
    EXPECT_THROW(options.Flush(), ENotRegularFile);
    Hooks() = saved;
    struct stat info {};
    ASSERT_EQ(::stat((dir / "KDSE.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("it is a named pipe"), std::string::npos) << warnings[0];
}

TEST(OptionsTest, ReadsValuesFromFileTolerantly) {
    ScratchDir dir;
    WriteFileText(dir / "KDSE.ini",
                  "\xEF\xBB\xBF; written by hand\r\n"
                  "[general]\r\n"
                  "  UseLDS =  T  \r\n"
                  "fontsize=11\r\n"
                  "FontSize=99\r\n"
                  "this line is garbage\r\n"
                  "[Printing]\r\n"
                  "List_Grey=t\r\n"
                  "[SelfExtract]\r\n"
                  "Name=Zoë Ångström\r\n");
    WOptions options(dir / "KDSE.ini");
    EXPECT_TRUE(options.ReadBool(Opt::UseLDS));
    EXPECT_EQ(options.ReadInt(Opt::FontSize), 11);   // the first of duplicate keys wins
    EXPECT_FALSE(options.ReadBool(Opt::List_Grey));  // only "T" is true
    EXPECT_EQ(options.ReadText(Opt::SEName), "Zoë Ångström");
    EXPECT_EQ(options.ReadText(Opt::GridHeight), "14");  // missing key: default
    EXPECT_TRUE(options.ReadBool(Opt::TMGTagSent));      // missing section: default
}

TEST(OptionsTest, IntegersReadAsZeroWhenNotNumbers) {
    EXPECT_EQ(SettingToInt(""), 0);
    EXPECT_EQ(SettingToInt("abc"), 0);
    EXPECT_EQ(SettingToInt("12abc"), 0);
    EXPECT_EQ(SettingToInt("1.5"), 0);
    EXPECT_EQ(SettingToInt("99999999999"), 0);
    EXPECT_EQ(SettingToInt("-"), 0);
    EXPECT_EQ(SettingToInt(" 42 "), 42);
    EXPECT_EQ(SettingToInt("-7"), -7);
    EXPECT_EQ(SettingToInt("+8"), 8);
    EXPECT_EQ(SettingToInt("2147483647"), 2147483647);
    EXPECT_EQ(SettingToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(SettingToInt("2147483648"), 0);

    ScratchDir dir;
    WriteFileText(dir / "KDSE.ini", "[General]\nFontSize=big\nGridHeight=\n");
    WOptions options(dir / "KDSE.ini");
    EXPECT_EQ(options.ReadInt(Opt::FontSize), 0);
    EXPECT_EQ(options.ReadInt(Opt::GridHeight), 0);  // present but empty: not the default
}

TEST(OptionsTest, ReadsAreCachedUntilClearCache) {
    ScratchDir dir;
    WriteFileText(dir / "KDSE.ini", "[General]\nFontSize=10\n");
    WOptions options(dir / "KDSE.ini");
    EXPECT_FALSE(options.IsLoaded(Opt::FontSize));
    EXPECT_EQ(options.ReadInt(Opt::FontSize), 10);
    EXPECT_TRUE(options.IsLoaded(Opt::FontSize));
    WriteFileText(dir / "KDSE.ini", "[General]\nFontSize=12\n");
    EXPECT_EQ(options.ReadInt(Opt::FontSize), 10);
    options.ClearCache();
    EXPECT_FALSE(options.IsLoaded(Opt::FontSize));
    EXPECT_EQ(options.ReadInt(Opt::FontSize), 12);
}

TEST(OptionsTest, WritesMarkChangedAndFlushClearsTheFlags) {
    ScratchDir dir;
    WOptions options(dir / "KDSE.ini");
    EXPECT_FALSE(options.AnyChanged());
    options.WriteBool(Opt::UseLDS, true);
    options.WriteInt(Opt::LastID, 345);
    options.WriteText(Opt::SETitle, "Our tree");
    EXPECT_TRUE(options.IsChanged(Opt::UseLDS));
    EXPECT_TRUE(options.IsChanged(Opt::LastID));
    EXPECT_FALSE(options.IsChanged(Opt::FontSize));
    EXPECT_TRUE(options.ReadBool(Opt::UseLDS));
    EXPECT_EQ(options.ReadInt(Opt::LastID), 345);
    options.Flush();
    EXPECT_FALSE(options.AnyChanged());

    WOptions again(dir / "KDSE.ini");
    EXPECT_TRUE(again.ReadBool(Opt::UseLDS));
    EXPECT_EQ(again.ReadInt(Opt::LastID), 345);
    EXPECT_EQ(again.ReadText(Opt::SETitle), "Our tree");
    EXPECT_EQ(ReadFileText(dir / "KDSE.ini"),
              "[General]\nUseLDS=T\nLastID=345\n\n[SelfExtract]\nTitle=Our tree\n");
}

TEST(OptionsTest, FlushWritesOnlyChangedSettingsAndKeepsEverythingElse) {
    ScratchDir dir;
    const std::string original =
        "; my settings\r\n"
        "[General]\r\n"
        "FontSize = 10\r\n"
        "UnknownKey=keep me\r\n"
        "garbage without equals\r\n"
        "\r\n"
        "[Other]\r\n"
        "x=1\r\n";
    WriteFileText(dir / "KDSE.ini", original);
    WOptions options(dir / "KDSE.ini");
    EXPECT_EQ(options.ReadInt(Opt::FontSize), 10);
    EXPECT_EQ(options.ReadInt(Opt::GridHeight), 14);  // read, not changed: not written
    options.WriteInt(Opt::FontSize, 9);
    options.WriteBool(Opt::HLManual, true);
    options.WriteBool(Opt::TMGEngage, true);
    options.Flush();
    EXPECT_EQ(ReadFileText(dir / "KDSE.ini"),
              "; my settings\r\n"
              "[General]\r\n"
              "FontSize=9\r\n"
              "UnknownKey=keep me\r\n"
              "garbage without equals\r\n"
              "HLManual=T\r\n"
              "\r\n"
              "[Other]\r\n"
              "x=1\r\n"
              "\r\n"
              "[TMG]\r\n"
              "TMGEngage=T\r\n");
}

TEST(OptionsTest, FlushKeepsKeysOthersWroteMeanwhile) {
    ScratchDir dir;
    WriteFileText(dir / "KDSE.ini", "[General]\nFontSize=10\n");
    WOptions options(dir / "KDSE.ini");
    EXPECT_EQ(options.ReadInt(Opt::FontSize), 10);
    WriteFileText(dir / "KDSE.ini", "[General]\nFontSize=10\nGridHeight=20\n");
    options.WriteInt(Opt::FontSize, 8);
    options.Flush();
    EXPECT_EQ(ReadFileText(dir / "KDSE.ini"), "[General]\nFontSize=8\nGridHeight=20\n");
}

TEST(OptionsTest, FlushIsAtomicAndKeepsPermissions) {
    ScratchDir dir;
    WriteFileText(dir / "KDSE.ini", "[General]\n");
    ASSERT_EQ(chmod((dir / "KDSE.ini").c_str(), 0640), 0);
    WOptions options(dir / "KDSE.ini");
    options.WriteInt(Opt::FontSize, 8);
    options.Flush();
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"KDSE.ini"});  // no temporary left over
    struct stat st {};
    ASSERT_EQ(stat((dir / "KDSE.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(OptionsTest, FlushWritesThroughSymbolicLink) {
    ScratchDir dir;
    WriteFileText(dir / "real.ini", "[General]\nFontSize=10\n");
    std::filesystem::create_symlink("real.ini", dir / "KDSE.ini");
    WOptions options(dir / "KDSE.ini");
    options.WriteInt(Opt::FontSize, 7);
    options.Flush();
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "KDSE.ini"));
    EXPECT_EQ(ReadFileText(dir / "real.ini"), "[General]\nFontSize=7\n");
}

TEST(OptionsTest, FlushFailureKeepsTheChanges) {
    ScratchDir dir;
    WriteFileText(dir / "blocker", "a file, not a folder");
    WOptions options(dir / "blocker/sub/KDSE.ini");
    options.WriteInt(Opt::FontSize, 7);
    EXPECT_THROW(options.Flush(), EFileError);
    EXPECT_TRUE(options.IsChanged(Opt::FontSize));
}

TEST(OptionsTest, LineBreaksInValuesCannotAddLines) {
    ScratchDir dir;
    WOptions options(dir / "KDSE.ini");
    options.WriteText(Opt::SEName, "Anna\n[General]\r\nUseLDS=T");
    options.Flush();
    WOptions again(dir / "KDSE.ini");
    EXPECT_FALSE(again.ReadBool(Opt::UseLDS));
    EXPECT_EQ(again.ReadText(Opt::SEName), "Anna [General]  UseLDS=T");
}

TEST(OptionsTest, DefaultFileHonoursXdgConfigHome) {
    ScratchDir dir;
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", (dir / "config").c_str());
        EXPECT_EQ(WOptions::DefaultFileName(), dir / "config/KDSE.ini");
        WOptions options(WOptions::DefaultFileName());
        options.WriteBool(Opt::UseLDS, true);
        options.Flush();  // creates the folder
        EXPECT_EQ(ReadFileText(dir / "config/KDSE.ini"), "[General]\nUseLDS=T\n");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnv home("HOME", dir.Path().c_str());
        EXPECT_EQ(WOptions::DefaultFileName(), dir / ".config/KDSE.ini");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/path");
        ScopedEnv home("HOME", dir.Path().c_str());
        EXPECT_EQ(WOptions::DefaultFileName(), dir / ".config/KDSE.ini");
    }
}

TEST(OptionsTest, ListColumnsAreReadAndWrittenDirectly) {
    ScratchDir dir;
    WOptions options(dir / "KDSE.ini");
    EXPECT_EQ(options.ReadListColumns(), "1,2,7,65,67,19,18");
    options.WriteListColumns("1,2,3");
    EXPECT_EQ(ReadFileText(dir / "KDSE.ini"), "[List]\nString=1,2,3\n");
    EXPECT_EQ(options.ReadListColumns(), "1,2,3");
}

TEST(OptionsTest, HugeStoredEdgesGiveClampedDefaultsWithoutOverflow) {
    ScratchDir dir;
    WriteFileText(dir / "KDSE.ini", "[General]\nTop=-5\nLeft=00591144319\n");
    WOptions options(dir / "KDSE.ini");
    const WindowPlacement p = options.ReadWindowPlacement(800, 600);
    EXPECT_EQ(p.left, 591144319);
    EXPECT_EQ(p.right, std::numeric_limits<int>::max());
    EXPECT_EQ(p.bottom, -35);
}

TEST(OptionsTest, WindowPlacementDefaultsFollowTheScreen) {
    ScratchDir dir;
    WOptions options(dir / "KDSE.ini");
    const WindowPlacement p = options.ReadWindowPlacement(1920, 1080);
    EXPECT_EQ(p.showCmd, 3);
    EXPECT_EQ(p.minX, -1);
    EXPECT_EQ(p.minY, -1);
    EXPECT_EQ(p.maxX, 0);
    EXPECT_EQ(p.maxY, 0);
    EXPECT_EQ(p.top, 135);
    EXPECT_EQ(p.left, 240);
    EXPECT_EQ(p.bottom, 945);
    EXPECT_EQ(p.right, 1680);
    EXPECT_FALSE(p.HasMinimizedPosition());
}

TEST(OptionsTest, WindowPlacementRoundTripsWithoutCache) {
    ScratchDir dir;
    WOptions options(dir / "KDSE.ini");
    WindowPlacement p;
    p.showCmd = 1;
    p.minX = 5;
    p.minY = 6;
    p.maxX = -8;
    p.maxY = -9;
    p.top = 10;
    p.left = 20;
    p.bottom = 700;
    p.right = 900;
    options.WriteWindowPlacement(p);
    const WindowPlacement back = options.ReadWindowPlacement(800, 600);
    EXPECT_EQ(back.showCmd, 1);
    EXPECT_EQ(back.minX, 5);
    EXPECT_EQ(back.minY, 6);
    EXPECT_EQ(back.maxX, -8);
    EXPECT_EQ(back.maxY, -9);
    EXPECT_EQ(back.top, 10);
    EXPECT_EQ(back.left, 20);
    EXPECT_EQ(back.bottom, 700);
    EXPECT_EQ(back.right, 900);
    EXPECT_TRUE(back.HasMinimizedPosition());

    // Changed on disk: the next read sees it.
    WriteFileText(dir / "KDSE.ini", "[General]\nMinX=-1\nMinY=30\nTop=50\n");
    const WindowPlacement edited = options.ReadWindowPlacement(800, 600);
    EXPECT_FALSE(edited.HasMinimizedPosition());  // MinX = -1: the normal rectangle only
    EXPECT_EQ(edited.top, 50);
    EXPECT_EQ(edited.bottom, 350);  // Top x 7
    EXPECT_EQ(edited.left, 100);
    EXPECT_EQ(edited.right, 700);
}

TEST(OptionsTest, WindowPlacementKeepsTheCachedSettings) {
    ScratchDir dir;
    WOptions options(dir / "KDSE.ini");
    options.WriteInt(Opt::FontSize, 12);
    options.WriteWindowPlacement(WindowPlacement{});
    options.Flush();
    const std::string text = ReadFileText(dir / "KDSE.ini");
    EXPECT_NE(text.find("FontSize=12"), std::string::npos);
    EXPECT_NE(text.find("ShowCmd=3"), std::string::npos);
}

TEST(OptionsTest, RecordsTheExecutableDirectory) {
    ScratchDir dir;
    WOptions options(dir / "KDSE.ini");
    const std::string exeDir = options.RecordExecutableDirectory();
    EXPECT_FALSE(exeDir.empty());
    EXPECT_EQ(options.ExeDir(), exeDir);
    EXPECT_TRUE(std::filesystem::is_directory(exeDir));
}

TEST(OptionsTest, ProcessWideStoreIsOneObject) {
    EXPECT_EQ(&Options(), &Options());
}

}  // namespace
}  // namespace kindrel

namespace kindrel {
namespace {

TEST(OptionsTest, ScopedOverrideNeitherWritesNorMarksAndEndsOnAnError) {
    test::ScratchDir dir;
    test::WriteFileText(dir / "KDSE.ini", "[TMG]\nTMGTagSent=T\n");
    WOptions options(dir / "KDSE.ini");
    ASSERT_TRUE(options.ReadBool(Opt::TMGTagSent));
    try {
        const WScopedOverride off(options, Opt::TMGTagSent, "F");
        EXPECT_FALSE(options.ReadBool(Opt::TMGTagSent));
        options.ClearCache();  // an override is no cached value
        EXPECT_FALSE(options.ReadBool(Opt::TMGTagSent));
        throw std::runtime_error("the rendering failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(options.ReadBool(Opt::TMGTagSent));
    EXPECT_FALSE(options.IsChanged(Opt::TMGTagSent));
    EXPECT_FALSE(options.AnyChanged());
    EXPECT_EQ(test::ReadFileText(dir / "KDSE.ini"), "[TMG]\nTMGTagSent=T\n");
}

}  // namespace
}  // namespace kindrel
