#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "settings/ini_file.h"
#include "settings/recent_files.h"
#include "settings/settings.h"
#include "temp_dir.h"
#include "util/atomic_file.h"

using namespace meshforge;
namespace keys = meshforge::general_keys;

namespace {

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = test::MakeTempFolder("mfsettings-").string() + "/"; }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string IniPath() const { return SettingsFile::PathFor(dir_); }

    std::string dir_;
};

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndIsNotCreatedByReading) {
    SettingsFile settings(IniPath());
    GeneralOptions o = settings.ReadGeneralOptions();
    EXPECT_TRUE(o.MaxOnStartup && o.PlaySound && o.ShowBackside);
    EXPECT_FALSE(o.MakeSubDir || o.CopyBmp || o.MipInfo || o.RandomPolyColors || o.ToolTips ||
                 o.NoCaption || o.ShowGrid);
    EXPECT_EQ(o.GridScale, 1);
    EXPECT_EQ(o.GridSize, 1);
    EXPECT_EQ(o.GridColor, "clBlack");
    EXPECT_EQ(o.GPLPath, "");
    EXPECT_TRUE(settings.LoadRecentFiles().Paths().empty());
    EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

TEST_F(SettingsFileTest, FirstWriteCreatesFileWithExactBytes) {
    EXPECT_EQ(SettingsFile::PathFor("/app/"), "/app/Meshforge.ini");
    SettingsFile settings(IniPath());
    settings.WriteFlag(keys::kMakeSubDir, true);
    EXPECT_EQ(ReadWholeFile(IniPath()), "[General Options]\r\nMakeSubDir=1\r\n");
    settings.WriteFlag(keys::kMakeSubDir, false);
    settings.WriteNumber(keys::kGridScale, 7);
    EXPECT_EQ(ReadWholeFile(IniPath()), "[General Options]\r\nMakeSubDir=0\r\nGridScale=7\r\n");
}

TEST_F(SettingsFileTest, ValuesSurviveReopening) {
    {
        SettingsFile settings(IniPath());
        settings.WriteText(keys::kGPLPath, "C:\\Games\\GPL\\gpl.exe");
        settings.WriteFlag(keys::kPlaySound, false);
        settings.WriteText(keys::kGridColor, "$00FF00");
        RecentFiles recent;
        recent.Add("a.3dp");
        recent.Add("b.3dp");
        settings.StoreRecentFiles(recent);
    }
    SettingsFile reopened(IniPath());
    GeneralOptions o = reopened.ReadGeneralOptions();
    EXPECT_EQ(o.GPLPath, "C:\\Games\\GPL\\gpl.exe");
    EXPECT_FALSE(o.PlaySound);
    EXPECT_TRUE(o.ShowBackside);
    EXPECT_EQ(o.GridColor, "$00FF00");
    EXPECT_EQ(reopened.LoadRecentFiles().Paths(), (std::vector<std::string>{"b.3dp", "a.3dp"}));
    EXPECT_EQ(ReadWholeFile(IniPath()),
              "[General Options]\r\nGPLPath=C:\\Games\\GPL\\gpl.exe\r\nPlaySound=0\r\n"
              "GridColor=$00FF00\r\n\r\n[Recent Used Files]\r\nF0=b.3dp\r\nF1=a.3dp\r\n");
}

TEST_F(SettingsFileTest, StoredValuesAreInterpretedAndClamped) {
    WriteFileAtomically(IniPath(), "[general options]\nshowgrid=5\nGridScale=99\nGridSize=-3\n"
                                   "MaxOnStartup=yes\nCopyBmp=on\nRandomPolyColors=1\n");
    SettingsFile settings(IniPath());
    EXPECT_TRUE(settings.ReadFlag(keys::kShowGrid));
    EXPECT_EQ(settings.ReadNumber(keys::kGridScale), 20);
    EXPECT_EQ(settings.ReadNumber(keys::kGridSize), 1);
    EXPECT_TRUE(settings.ReadFlag(keys::kMaxOnStartup)); // not an integer: default
    EXPECT_FALSE(settings.ReadFlag(keys::kCopyBmp));
    EXPECT_TRUE(settings.ReadGeneralOptions().RandomPolyColors);
}

TEST_F(SettingsFileTest, UnreadableOrBinaryFileDoesNotCrash) {
    std::filesystem::create_directory(IniPath()); // a folder where the file should be
    EXPECT_NO_THROW(SettingsFile(IniPath()).ReadGeneralOptions());
    std::filesystem::remove(IniPath());
    WriteFileAtomically(IniPath(), std::string("\0[\xff\r=]\n[\n=\r\r\n[X\0]=", 18));
    SettingsFile settings(IniPath());
    EXPECT_EQ(settings.ReadNumber(keys::kGridSize), 1);
}

TEST(IniFileTest, ParsesEveryLineEndingAndKeepsNamesAndValuesVerbatim) {
    IniFile ini =
        IniFile::Parse("junk=before\r[My Group %20]\r\nA=1\nB= x=y \rnot a pair\n[Other]\nA=2");
    EXPECT_EQ(ini.Get("My Group %20", "A"), "1");
    EXPECT_EQ(ini.Get("my group %20", "b"), " x=y ");
    EXPECT_EQ(ini.Get("Other", "A"), "2");
    EXPECT_FALSE(ini.Get("My Group %20", "junk"));
    EXPECT_FALSE(ini.Get("Other", "B"));
    EXPECT_EQ(ini.Serialize(), "[My Group %20]\r\nA=1\r\nB= x=y \r\n\r\n[Other]\r\nA=2\r\n");
}

TEST(IniFileTest, TypedReadsAndWrites) {
    IniFile ini;
    ini.WriteInteger("S", "N", -42);
    ini.WriteBool("S", "T", true);
    ini.WriteBool("S", "F", false);
    ini.WriteString("S", "X", "12abc");
    EXPECT_EQ(ini.ReadInteger("S", "N", 0), -42);
    EXPECT_EQ(ini.ReadInteger("S", "X", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "missing", 9), 9);
    EXPECT_TRUE(ini.ReadBool("S", "T", false));
    EXPECT_FALSE(ini.ReadBool("S", "F", true));
    EXPECT_TRUE(ini.ReadBool("S", "X", true));
    EXPECT_EQ(ini.ReadString("S", "missing", "d"), "d");
    ini.Set("s", "n", "again"); // same key, other case: replaced in place
    EXPECT_EQ(ini.Serialize(), "[S]\r\nN=again\r\nT=1\r\nF=0\r\nX=12abc\r\n");
    ini.Set("S", "Evil=Key", "line\r\nbreak");
    EXPECT_EQ(IniFile::Parse(ini.Serialize()).Get("S", "EvilKey"), "linebreak");
}

TEST(RecentFilesTest, AddMovesToTopCapsAtTenAndIgnoresNone) {
    RecentFiles recent;
    for (int i = 0; i < 12; ++i)
        recent.Add("p" + std::to_string(i));
    ASSERT_EQ(recent.Paths().size(), 10u);
    EXPECT_EQ(recent.Paths().front(), "p11");
    EXPECT_EQ(recent.Paths().back(), "p2");
    recent.Add("p5");
    EXPECT_EQ(recent.Paths().front(), "p5");
    EXPECT_EQ(recent.Paths()[1], "p11");
    EXPECT_EQ(recent.Paths().size(), 10u);
    recent.Add("None");
    recent.Add("");
    EXPECT_EQ(recent.Paths().front(), "p5");
    EXPECT_EQ(recent.Paths().size(), 10u);
}

TEST(RecentFilesTest, LoadSkipsBadEntriesAndStoreErasesSectionFirst) {
    IniFile ini = IniFile::Parse("[Recent Used Files]\nF0=a\nF1=None\nF2=\nF3=a\nF4=b\nF10=c\n"
                                 "Stale=x\n[Other]\nK=v\n");
    RecentFiles recent;
    recent.Load(ini);
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"a", "b"}));
    recent.Store(ini);
    EXPECT_EQ(ini.Serialize(), "[Other]\r\nK=v\r\n\r\n[Recent Used Files]\r\nF0=a\r\nF1=b\r\n");
}

} // namespace
