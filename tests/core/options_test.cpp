#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/options.h"
#include "temp_dir.h"

using namespace meshforge;

namespace {

TEST(OptionsStartMenuCaption, DropsFolderAndExtension) {
    EXPECT_EQ(StartMenuCaption("C:\\Programs\\Viewer\\VIEW3DO.EXE"), "Start VIEW3DO");
    EXPECT_EQ(StartMenuCaption("/opt/viewer/VIEW3DO.EXE"), "Start VIEW3DO");
    EXPECT_EQ(StartMenuCaption("C:/mixed\\dirs/tool.exe"), "Start tool");
    EXPECT_EQ(StartMenuCaption("VIEW3DO.EXE"), "Start VIEW3DO");
    // Only the last four characters go, whatever they are.
    EXPECT_EQ(StartMenuCaption("C:\\my.tool.exe"), "Start my.tool");
    EXPECT_EQ(StartMenuCaption("C:\\bin\\runme"), "Start r");
    EXPECT_EQ(StartMenuCaption("x.exe"), "Start x");
}

TEST(OptionsStartMenuCaption, ShortOrMissingNameLeavesOnlyStart) {
    EXPECT_EQ(StartMenuCaption(""), "Start ");
    EXPECT_EQ(StartMenuCaption(".exe"), "Start ");
    EXPECT_EQ(StartMenuCaption("C:\\dir\\a.e"), "Start ");
    EXPECT_EQ(StartMenuCaption("C:\\dir\\"), "Start ");
    // A long folder must not leak into the caption when the name itself is short.
    EXPECT_EQ(StartMenuCaption("/a/long/folder/abc"), "Start ");
}

TEST(OptionsBrowseDialog, EachButtonPreselectsItsOwnFileType) {
    struct Case {
        BrowseTarget target;
        const char* title;
        const char* filter;
        int index;
    };
    const Case cases[] = {
        {BrowseTarget::GPL, "Select GPL Executable", "GPL Executable|gpl.exe", 1},
        {BrowseTarget::Viewer, "Select Executable of 3DO- Viewer Application",
         "3DO Viewer Application|*.exe", 3},
        {BrowseTarget::UserProgram, "Select Executable of External Program",
         "3DO Viewer Application|*.exe", 3},
        {BrowseTarget::BitmapArchive, "Select any Bitmap File in Archive Directory",
         "Bitmaps|*.bmp", 4},
    };
    const std::vector<std::string> all{"GPL Executable|gpl.exe", "ASE23DO Executable|ase23do.exe",
                                       "3DO Viewer Application|*.exe", "Bitmaps|*.bmp",
                                       "Track DAT|*.dat"};
    for (const Case& c : cases) {
        FileDialogSpec request = BrowseDialogFor(c.target);
        EXPECT_EQ(request.Title, c.title);
        EXPECT_EQ(request.Filters, all) << c.title;
        EXPECT_EQ(request.FilterIndex, c.index) << c.title;
        ASSERT_GE(request.FilterIndex, 1);
        ASSERT_LE(request.FilterIndex, static_cast<int>(request.Filters.size()));
        EXPECT_EQ(request.Filters[request.FilterIndex - 1], c.filter);
        EXPECT_EQ(request.DefaultExt, "");
    }
}

TEST(OptionsGridColor, TripleIsChannelOver255InBgrOrder) {
    EXPECT_EQ(GridColorTripleOf("clBlack"), (ColorTriple{0, 0, 0}));
    EXPECT_EQ(GridColorTripleOf("clwhite"), (ColorTriple{1, 1, 1}));
    EXPECT_EQ(GridColorTripleOf("$000000FF"), (ColorTriple{1, 0, 0}));
    EXPECT_EQ(GridColorTripleOf("$00FF0000"), (ColorTriple{0, 0, 1}));
    ColorTriple t = GridColorTripleOf("$00336699");
    EXPECT_FLOAT_EQ(t.R, 0x99 / 255.0f);
    EXPECT_FLOAT_EQ(t.G, 0x66 / 255.0f);
    EXPECT_FLOAT_EQ(t.B, 0x33 / 255.0f);
}

TEST(OptionsGridColor, DamagedTextFallsBackToBlack) {
    EXPECT_EQ(ColorValueOrBlack("notacolour"), 0u);
    EXPECT_EQ(ColorValueOrBlack(""), 0u);
    EXPECT_EQ(ColorValueOrBlack("$xyz"), 0u);
    EXPECT_EQ(GridColorTripleOf("$"), (ColorTriple{0, 0, 0}));
    EXPECT_EQ(ColorValueOrBlack("$00408000"), 0x00408000u);
    EXPECT_EQ(ColorValueOrBlack("clRed"), 0x000000FFu);
}

TEST(OptionsFolderTexts, FolderOfFileKeepsItsSeparator) {
    EXPECT_EQ(FolderOfFile("C:\\Bitmaps\\Track\\wall.bmp"), "C:\\Bitmaps\\Track\\");
    EXPECT_EQ(FolderOfFile("/home/u/bmp/wall.bmp"), "/home/u/bmp/");
    EXPECT_EQ(FolderOfFile("C:\\wall.bmp"), "C:\\");
    EXPECT_EQ(FolderOfFile("/wall.bmp"), "/");
    EXPECT_EQ(FolderOfFile("wall.bmp"), "");
}

TEST(OptionsFolderTexts, TrackFolderEndsInExactlyOneSeparator) {
    EXPECT_EQ(WithTrailingSeparator("C:\\GPL\\tracks\\monza"), "C:\\GPL\\tracks\\monza\\");
    EXPECT_EQ(WithTrailingSeparator("/home/u/gpl/monza"), "/home/u/gpl/monza/");
    EXPECT_EQ(WithTrailingSeparator("C:\\"), "C:\\");
    EXPECT_EQ(WithTrailingSeparator("/home/u/"), "/home/u/");
    EXPECT_EQ(WithTrailingSeparator("monza"), "monza\\");
    EXPECT_EQ(WithTrailingSeparator(""), "");
}

class OptionsFolderTest : public ::testing::Test {
  protected:
    void SetUp() override { tmp_.Touch("file.txt"); }
    test::TempDir tmp_;
    std::string dir_ = tmp_.path.string();
};

TEST_F(OptionsFolderTest, OnlyExistingFoldersCount) {
    EXPECT_TRUE(IsExistingFolder(dir_));
    EXPECT_TRUE(IsExistingFolder(WithTrailingSeparator(dir_)));
    EXPECT_FALSE(IsExistingFolder(dir_ + "/file.txt"));
    EXPECT_FALSE(IsExistingFolder(dir_ + "/missing"));
    EXPECT_FALSE(IsExistingFolder(""));
}

TEST(OptionsTrackFolderControls, ToggleEnablesChainAndRadiosOnlyWithAutostart) {
    EXPECT_EQ(TrackFolderControlsWhenToggled(true, false),
              (TrackFolderControls{true, true, false}));
    EXPECT_EQ(TrackFolderControlsWhenToggled(true, true), (TrackFolderControls{true, true, true}));
    EXPECT_EQ(TrackFolderControlsWhenToggled(false, true),
              (TrackFolderControls{false, false, false}));
    EXPECT_EQ(TrackFolderControlsWhenToggled(false, false),
              (TrackFolderControls{false, false, false}));
}

TEST_F(OptionsFolderTest, ShowingNeedsAnExistingTrackFolderForAutostart) {
    ViewOptions o;
    o.UseTrackFolder = true;
    o.AutoGPL = true;
    o.TrackFolder = WithTrailingSeparator(dir_);
    EXPECT_EQ(TrackFolderControlsWhenShown(o), (TrackFolderControls{true, true, true}));

    o.AutoGPL = false;
    EXPECT_EQ(TrackFolderControlsWhenShown(o), (TrackFolderControls{true, true, false}));

    // A checked Autostart whose folder has gone keeps the radios disabled too.
    o.AutoGPL = true;
    o.TrackFolder = dir_ + "/gone/";
    EXPECT_EQ(TrackFolderControlsWhenShown(o), (TrackFolderControls{true, false, false}));
    o.TrackFolder.clear();
    EXPECT_EQ(TrackFolderControlsWhenShown(o), (TrackFolderControls{true, false, false}));

    o.TrackFolder = dir_;
    o.UseTrackFolder = false;
    EXPECT_EQ(TrackFolderControlsWhenShown(o), (TrackFolderControls{false, false, false}));
}

} // namespace
