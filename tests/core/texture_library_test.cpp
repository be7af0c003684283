#include "texture/library.h"

#include "fake_images.h"
#include "fake_ui.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace meshforge {
namespace {

using test::FakeImages;
using test::FakeUi;

Project WithTextures(const std::vector<std::string>& files) {
    Project p;
    for (const std::string& f : files)
        p.Textures.push_back({f, 0, "", 0, kDefaultBackColor});
    return p;
}

TEST(TextureLibrary, FileRulesGiveTheirMessages) {
    struct Case {
        std::string path;
        int w, h;
        std::optional<std::size_t> replacing;
        std::optional<std::string> problem;
    };
    const std::string dup = "No duplicate filenames allowed !\r\rFilename \"wall.bmp\" already in "
                            "use\rTexture index = 1\rPath = /old/";
    const Case cases[] = {
        {"/t/wide.bmp", 256, 16, {}, std::nullopt},
        {"/t/odd.bmp",
         100,
         100,
         {},
         "Unable to load Bitmap, Width and Height must be one of 16,32,64,128 or 256 !\r\r"
         "                        Width/Height of selected: 100, 100"},
        {"/t/abcdefgh.bmp", 64, 64, {}, std::nullopt},
        {"/t/abcdefghi.bmp",
         64,
         64,
         {},
         "Filename must not exceed 8 characters !\r\rLength of selected: /t/abcdefghi"},
        {"/t/WALL.BMP", 64, 64, {}, std::nullopt}, // names compare exactly
        {"/t/wall.bmp", 64, 64, {}, dup},
        {"/t/wall.bmp", 64, 64, std::size_t(1), std::nullopt}, // its own name
        {"/t/wall.bmp", 64, 64, std::size_t(0), dup},          // another entry's
        {"/t/wall.png",
         64,
         64,
         {},
         "Only Bitmap files (*.bmp) can be textures !\r\rSelected: /t/wall.png"},
        {"/t/gone.bmp",
         0,
         0,
         {},
         "Unable to load Bitmap, the file could not be read !\r\r/t/gone.bmp"},
    };
    Project p = WithTextures({"/old/floor.bmp", "/old/wall.bmp"});
    for (const Case& c : cases) {
        FakeImages images;
        if (c.w > 0)
            images.Put(c.path, c.w, c.h);
        EXPECT_EQ(TextureFileProblem(p, c.path, images, c.replacing), c.problem) << c.path;
    }
}

TEST(TextureLibrary, LoadAppendsDefaultsAndRefusesPastTheLastUsableIndex) {
    Project p = WithTextures({"/a/one.bmp"});
    p.Textures[0].BackColor = 5;
    FakeImages images;
    images.Put("/a/two.bmp", 32, 64);
    images.Put("/a/bad.bmp", 30, 64);
    FakeUi ui;
    const uint64_t before = p.TexturesRevision;
    EXPECT_FALSE(LoadTexture(p, "/a/bad.bmp", images, ui));
    EXPECT_EQ(p.Textures.size(), 1u);
    EXPECT_EQ(p.TexturesRevision, before);
    ASSERT_TRUE(LoadTexture(p, "/a/two.bmp", images, ui));
    ASSERT_EQ(p.Textures.size(), 2u);
    const TextureData& t = p.Textures[1];
    EXPECT_EQ(t.Filename, "/a/two.bmp");
    EXPECT_EQ(t.Transparent, 0);
    EXPECT_EQ(t.MaskFilename, "");
    EXPECT_EQ(t.RepeatValue, 0);
    EXPECT_EQ(t.BackColor, 14540253u);
    EXPECT_EQ(p.CurrentTexture, 1);
    EXPECT_GT(p.TexturesRevision, before);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Rebuilding Texture Library.....", "Done !"}));

    // The library stops at 998 entries: index 999 marks an untextured polygon.
    Project full;
    full.Textures.resize(kMaxTextures);
    images.Put("/a/more.bmp", 16, 16);
    EXPECT_FALSE(LoadTexture(full, "/a/more.bmp", images, ui));
    EXPECT_EQ(full.Textures.size(), kMaxTextures);
    EXPECT_EQ(
        ui.messages.back(),
        "No more than 998 textures allowed !\r\rRemove a texture before loading another one.");
}

TEST(TextureLibrary, ReplaceKeepsThePolygonsAndResetsTheEntry) {
    Project p = WithTextures({"/a/one.bmp", "/a/two.bmp"});
    p.Textures[1] = {"/a/two.bmp", 1, "/a/two_mask.bmp", 3, 7};
    p.Polygons.push_back({{}, {0, 1, 2, 0}, 1, {{0.5f, 0.5f}, {1, 0}, {0, 1}}, false});
    FakeImages images;
    images.Put("/b/new.bmp", 128, 128);
    images.Put("/b/one.bmp", 128, 128);
    FakeUi ui;
    EXPECT_FALSE(ReplaceTexture(p, 1, "/b/one.bmp", images, ui)); // entry 0's name
    EXPECT_FALSE(ReplaceTexture(p, 2, "/b/new.bmp", images, ui)); // no such entry
    ASSERT_TRUE(ReplaceTexture(p, 1, "/b/new.bmp", images, ui));
    const TextureData& t = p.Textures[1];
    EXPECT_EQ(t.Filename, "/b/new.bmp");
    EXPECT_EQ(t.Transparent, 0);
    EXPECT_EQ(t.MaskFilename, "");
    EXPECT_EQ(t.RepeatValue, 0);
    EXPECT_EQ(t.BackColor, kDefaultBackColor);
    EXPECT_EQ(p.Polygons[0].TextureIndex, 1);
    EXPECT_EQ(p.Polygons[0].TexCoords[0], (TexCoord{0.5f, 0.5f}));
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(TextureLibrary, RemoveRenumbersThePolygonsAndKeepsTheCurrentNumber) {
    Project p = WithTextures({"/a/0.bmp", "/a/1.bmp", "/a/2.bmp"});
    const int32_t before[] = {0, 1, 2, 999, 1};
    const int32_t after[] = {0, 999, 1, 999, 999};
    for (int32_t t : before)
        p.Polygons.push_back({{}, {0, 1, 2, 0}, t, {{0.25f, 0.75f}, {1, 0}, {0, 1}}, false});
    p.CurrentTexture = 1;
    FakeUi ui;
    EXPECT_FALSE(RemoveTexture(p, 3, ui));
    ASSERT_TRUE(RemoveTexture(p, 1, ui));
    ASSERT_EQ(p.Textures.size(), 2u);
    EXPECT_EQ(p.Textures[1].Filename, "/a/2.bmp");
    for (std::size_t i = 0; i < p.Polygons.size(); ++i) {
        EXPECT_EQ(p.Polygons[i].TextureIndex, after[i]) << i;
        EXPECT_EQ(p.Polygons[i].TexCoords[0], (TexCoord{0.25f, 0.75f})) << i;
    }
    EXPECT_EQ(p.CurrentTexture, 1);
}

TEST(TextureLibrary, RowsSelectTheirPolygonsAndEnableTheEntryButtons) {
    Project p = WithTextures({"/a/wall.bmp", "/a/roof.bmp"});
    p.Textures[1].Transparent = 1;
    p.Textures[1].MaskFilename = "/a/roof_mask.bmp";
    for (int32_t t : {0, 1, 999, 1})
        p.Polygons.push_back({{}, {0, 1, 2, 0}, t, {}, t == 0});
    EXPECT_TRUE(SelectTextureRow(p, 1));
    EXPECT_EQ(p.CurrentTexture, 1);
    const bool selected[] = {false, true, false, true};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(p.Polygons[i].Selected, selected[i]) << i;
    EXPECT_FALSE(SelectTextureRow(p, 5)); // a spare row
    EXPECT_FALSE(p.Polygons[1].Selected);
    EXPECT_EQ(TextureGridRows(p), 12u);
    EXPECT_EQ(
        TextureGridRow(p, 1),
        (std::array<std::string, 6>{"1", "roof.bmp", "1", "0", "/a/roof.bmp", "/a/roof_mask.bmp"}));
    CloseTextureLibrary(p);
    EXPECT_EQ(p.CurrentTexture, kNoTexture);
    for (const ObjectData& polygon : p.Polygons)
        EXPECT_FALSE(polygon.Selected);
}

TEST(TextureLibrary, MaskIsBlackExactlyOnTheTransparentColour) {
    RgbImage image{3, 2, {0xFF00FF, 0xFF00FE, 0x000000, 0xFF00FF, 0xFFFFFF, 0x10FF00FF}};
    MaskImage mask = BuildMask(image, 0xFF00FF);
    EXPECT_EQ(mask.Width, 3);
    EXPECT_EQ(mask.Height, 2);
    EXPECT_EQ(mask.White, (std::vector<bool>{false, true, true, false, true, false}));
    EXPECT_EQ(ProposedMaskPath("/tex/wall.bmp"), "/tex/wall_mask.bmp");
    EXPECT_EQ(ProposedMaskPath("C:\\tex\\wall.bmp"), "C:\\tex\\wall_mask.bmp");

    Project p = WithTextures({"/tex/wall.bmp"});
    FakeUi ui;
    const uint64_t before = p.TexturesRevision;
    SetTextureMask(p, 0, "/tex/wall_mask.bmp", ui);
    EXPECT_EQ(p.Textures[0].MaskFilename, "/tex/wall_mask.bmp");
    EXPECT_EQ(p.Textures[0].Transparent, 1);
    EXPECT_GT(p.TexturesRevision, before);
}

TEST(TextureLibrary, BackgroundColourKeepsTheOldOneWithoutAPick) {
    Project p = WithTextures({"/a/one.bmp"});
    p.Textures[0].BackColor = 0x00332211;
    SetTextureBackColor(p, 0, std::nullopt);
    EXPECT_EQ(p.Textures[0].BackColor, 0x00332211u);
    SetTextureBackColor(p, 0, 0x00AABBCC); // picked as RGB, stored red-first
    EXPECT_EQ(p.Textures[0].BackColor, 0x00CCBBAAu);
    EXPECT_EQ(RgbOf(p.Textures[0].BackColor), 0x00AABBCCu);
    EXPECT_EQ(RgbLabel(0x00FF0A01), "RGB: 255,10,1");
    EXPECT_EQ(ToggleCaption(7), "Toggle Texture --> 7/sec");
    EXPECT_EQ(ToggleIntervalMs(3), 333);
    EXPECT_EQ(ToggleIntervalMs(2), 500);
}

TEST(TextureLibrary, BackColourPreviewShowsAndRestores) {
    Project p = WithTextures({"/a/one.bmp"});
    p.Textures[0].BackColor = 0x00FF8000; // blue 255, green 128, red 0
    p.Polygons.push_back({{0.1f, 0.2f, 0.3f}, {0, 1, 2, 0}, 0, {}, false});
    p.Polygons.push_back({{0.4f, 0.5f, 0.6f}, {0, 1, 2, 0}, 999, {}, false});
    p.Options.ShowTextures = true;
    BackColorPreview saved = ShowBackColors(p);
    EXPECT_EQ(p.Polygons[0].Color, (ColorTriple{0, 128 / 255.0f, 1}));
    EXPECT_EQ(p.Polygons[1].Color, (ColorTriple{0.4f, 0.5f, 0.6f}));
    EXPECT_FALSE(p.Options.ShowTextures);
    RestorePolygonColors(p, saved);
    EXPECT_EQ(p.Polygons[0].Color, (ColorTriple{0.1f, 0.2f, 0.3f}));
    EXPECT_TRUE(p.Options.ShowTextures);
    EXPECT_EQ(BackColorMessage(18),
              "This is how the 3DO will look like in GPL when the particular graphic option is "
              "un-checked.\r\rDisplay Class is currently set to:\r\"Cockpit interior      (Texture "
              "on/off)\"");
    // A code without an entry: its number, nothing read past the table.
    EXPECT_NE(BackColorMessage(42).find("set to:\r\"42\""), std::string::npos);
}

} // namespace
} // namespace meshforge
