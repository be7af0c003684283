#include "texture/assign.h"

#include "fake_ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace meshforge {
namespace {

using test::FakeUi;
using Coords = std::vector<TexCoord>;

const Coords kEntire{{0, 0}, {0, 1}, {1, 1}, {1, 0}};

// Polygon 0 a quad over vertices 4..7, 1 a triangle, 2 a pentagon; two textures.
Project Scene() {
    Project p;
    p.Vertices.resize(9);
    p.Textures = {{"/t/a.bmp", 0, "", 0, 0}, {"/t/b.bmp", 0, "", 0, 0}};
    p.Polygons.push_back({{}, {4, 5, 6, 7, 4}, kUntextured, {}, false});
    p.Polygons.push_back({{}, {0, 1, 2, 0}, kUntextured, {}, false});
    p.Polygons.push_back({{}, {0, 1, 2, 3, 8, 0}, kUntextured, {}, false});
    p.CurrentPolygon = 0;
    return p;
}

TEST(TextureAssign, OpeningChoosesTheStyleFromTheStoredMapping) {
    struct Case {
        const char* what;
        int32_t polygon, texture;
        Coords stored;
        MappingStyle style;
        int repeatU, repeatV;
        Coords working;
    };
    const Case cases[] = {
        {"untextured quad", 0, kUntextured, {}, MappingStyle::EntireTexture, 1, 1, kEntire},
        {"corners 0 or 1",
         0,
         1,
         {{1, 0}, {0, 0}, {0, 1}, {1, 1}},
         MappingStyle::EntireTexture,
         1,
         1,
         {{1, 0}, {0, 0}, {0, 1}, {1, 1}}},
        {"an inner corner",
         0,
         1,
         {{0.5f, 0.25f}, {0, 1}, {1, 1}, {1, 0}},
         MappingStyle::TextureArea,
         1,
         1,
         {{0.5f, 0.25f}, {0, 1}, {1, 1}, {1, 0}}},
        {"repeated",
         0,
         0,
         {{0, 0}, {0, 2}, {3, 2}, {3, 0}},
         MappingStyle::RepeatTexture,
         3,
         2,
         {{0, 0}, {0, 2}, {3, 2}, {3, 0}}},
        {"triangle",
         1,
         0,
         {{0, 0}, {0, 1}, {1, 1}},
         MappingStyle::TextureArea,
         1,
         1,
         {{0, 0}, {0, 1}, {1, 1}}},
        {"fewer pairs than corners",
         2,
         0,
         {{0.5f, 0.5f}},
         MappingStyle::TextureArea,
         1,
         1,
         {{0.5f, 0.5f}, {0, 1}, {1, 1}, {1, 0}, {1, 1}}},
    };
    for (const Case& c : cases) {
        Project p = Scene();
        p.Polygons[std::size_t(c.polygon)].TextureIndex = c.texture;
        p.Polygons[std::size_t(c.polygon)].TexCoords = c.stored;
        p.CurrentPolygon = c.polygon;
        AssignState s;
        StartAssignTextures(p, s);
        EXPECT_EQ(s.Style, c.style) << c.what;
        EXPECT_EQ(s.RepeatU, c.repeatU) << c.what;
        EXPECT_EQ(s.RepeatV, c.repeatV) << c.what;
        EXPECT_EQ(s.WorkingCoords, c.working) << c.what;
        EXPECT_EQ(p.CurrentTexture, c.texture) << c.what;
        EXPECT_TRUE(p.Options.ShowTextures) << c.what;
    }
}

TEST(TextureAssign, ChoosingATextureAppliesTheWorkingSetPerPolygon) {
    Project p = Scene();
    AssignState s;
    StartAssignTextures(p, s);          // the quad's defaults
    SelectPolygons(p, s, {0, 1, 2, 7}); // 7 is no polygon
    EXPECT_EQ(s.Selection, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(p.CurrentPolygon, 2);
    ChooseTexture(p, s, 1);
    for (int32_t i : {0, 1, 2})
        EXPECT_EQ(p.Polygons[std::size_t(i)].TextureIndex, 1);
    EXPECT_EQ(p.Polygons[0].TexCoords, kEntire);
    EXPECT_EQ(p.Polygons[1].TexCoords, (Coords{{0, 0}, {0, 1}, {1, 1}}));
    // Five corners from a set made for four: the fifth gets its default, nothing past the end.
    EXPECT_EQ(p.Polygons[2].TexCoords, (Coords{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {1, 1}}));
    ChooseTexture(p, s, 2); // no such texture: nothing happens
    EXPECT_EQ(p.Polygons[0].TextureIndex, 1);

    // One polygon selected: its own mapping is the working set, so a new texture keeps it.
    p.Polygons[1].TexCoords = {{0.2f, 0.3f}, {0.4f, 0.5f}, {0.6f, 0.7f}};
    SelectPolygons(p, s, {1});
    ChooseTexture(p, s, 0);
    EXPECT_EQ(p.Polygons[1].TextureIndex, 0);
    EXPECT_EQ(p.Polygons[1].TexCoords, (Coords{{0.2f, 0.3f}, {0.4f, 0.5f}, {0.6f, 0.7f}}));
    EXPECT_TRUE(p.Polygons[1].Selected);
    EXPECT_FALSE(p.Polygons[0].Selected);
    // Its texture is the current one (the combo box shows it); an untextured one has none.
    p.CurrentTexture = 1;
    SelectPolygons(p, s, {1});
    EXPECT_EQ(p.CurrentTexture, 0);
    p.Polygons[2].TextureIndex = kUntextured;
    SelectPolygons(p, s, {2});
    EXPECT_EQ(p.CurrentTexture, kNoTexture);
    SelectPolygons(p, s, {1});

    // A texture the library removed meanwhile is not given.
    p.Textures.pop_back();
    p.CurrentTexture = 1;
    ApplyTextureToSelection(p, s);
    EXPECT_EQ(p.Polygons[1].TextureIndex, kUntextured);
    EXPECT_TRUE(ChooseLastTexture(p, s));
    EXPECT_EQ(p.Polygons[1].TextureIndex, 0);
    p.Textures.clear(); // "-> Load New Texture" closed with an empty library
    EXPECT_FALSE(ChooseLastTexture(p, s));
    EXPECT_EQ(p.Polygons[1].TextureIndex, 0);
}

TEST(TextureAssign, StylesAndRepeatCounts) {
    Project p = Scene();
    AssignState s;
    StartAssignTextures(p, s);
    SelectPolygons(p, s, {1});
    FakeUi ui;
    EXPECT_FALSE(SetMappingStyle(p, s, MappingStyle::EntireTexture, ui));
    EXPECT_FALSE(SetMappingStyle(p, s, MappingStyle::RepeatTexture, ui));
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>(2, "Only possible for rectangular Polygons !")));
    EXPECT_EQ(s.Style, MappingStyle::TextureArea);

    SelectPolygons(p, s, {1, 0});
    ChooseTexture(p, s, 0);
    ASSERT_TRUE(SetMappingStyle(p, s, MappingStyle::RepeatTexture, ui));
    SetRepeat(p, s, 3, 2);
    EXPECT_EQ(p.Polygons[0].TexCoords, (Coords{{0, 0}, {0, 2}, {3, 2}, {3, 0}}));
    EXPECT_EQ(p.Polygons[1].TexCoords.size(), 3u); // not a quadrangle: untouched
    EXPECT_EQ(p.Polygons[0].TextureIndex, 0);
    ASSERT_TRUE(SetMappingStyle(p, s, MappingStyle::EntireTexture, ui));
    EXPECT_EQ(p.Polygons[0].TexCoords, kEntire);
    EXPECT_EQ(s.RepeatU, 1);

    // Reopened on a repeated quad: "Repeat Texture" with its counts.
    SetMappingStyle(p, s, MappingStyle::RepeatTexture, ui);
    SetRepeat(p, s, 3, 2);
    CloseAssignTextures(p, s);
    EXPECT_EQ(p.CurrentPolygon, kNoElement);
    p.CurrentPolygon = 0;
    AssignState again;
    StartAssignTextures(p, again);
    EXPECT_EQ(again.Style, MappingStyle::RepeatTexture);
    EXPECT_EQ(again.RepeatU, 3);
    EXPECT_EQ(again.RepeatV, 2);
    // Selecting one polygon shows its own style: the triangle next is "Texture Area" with no
    // repeats (else its coordinates could not be picked), the quad again its repeats.
    SelectPolygons(p, again, {1});
    EXPECT_EQ(again.Style, MappingStyle::TextureArea);
    EXPECT_EQ(again.RepeatU, 1);
    SelectPolygons(p, again, {0});
    EXPECT_EQ(again.Style, MappingStyle::RepeatTexture);
    EXPECT_EQ(again.RepeatU, 3);
}

TEST(TextureAssign, ModifyMappingOnQuadsAndTriangles) {
    struct Case {
        const char* what;
        void (*op)(Project&, AssignState&);
        int32_t polygon;
        Coords before, after;
        std::vector<int32_t> indicesAfter;
    };
    const Coords tri{{0, 0}, {0.5f, 1}, {1, 0}};
    const Case cases[] = {
        {"rotate", RotateMapping, 0, kEntire, {{0, 1}, {1, 1}, {1, 0}, {0, 0}}, {4, 5, 6, 7, 4}},
        {"rotate triangle", RotateMapping, 1, tri, {{0.5f, 1}, {1, 0}, {0, 0}}, {0, 1, 2, 0}},
        {"face opposite", FaceOpposite, 0, kEntire, kEntire, {7, 6, 5, 4, 7}},
        {"face opposite triangle", FaceOpposite, 1, tri, tri, {2, 1, 0, 2}},
        {"mirror horizontal",
         MirrorHorizontal,
         0,
         kEntire,
         {{0, 1}, {0, 0}, {1, 0}, {1, 1}},
         {4, 5, 6, 7, 4}},
        {"mirror vertical",
         MirrorVertical,
         0,
         kEntire,
         {{1, 0}, {1, 1}, {0, 1}, {0, 0}},
         {4, 5, 6, 7, 4}},
        {"mirror triangle", MirrorVertical, 1, tri, tri, {0, 1, 2, 0}},
    };
    for (const Case& c : cases) {
        Project p = Scene();
        ObjectData& poly = p.Polygons[std::size_t(c.polygon)];
        poly.TextureIndex = 0;
        poly.TexCoords = c.before;
        AssignState s;
        s.Selection = {c.polygon, 2}; // 2 is untextured: left alone
        c.op(p, s);
        EXPECT_EQ(poly.TexCoords, c.after) << c.what;
        EXPECT_EQ(poly.VertexIndices, c.indicesAfter) << c.what;
        EXPECT_EQ(p.Polygons[2].VertexIndices, (std::vector<int32_t>{0, 1, 2, 3, 8, 0})) << c.what;
        // With the one polygon selected the working set follows the change, so the next
        // texture choice does not write the old mapping back.
        poly.TexCoords = c.before;
        AssignState one;
        one.Selection = {c.polygon};
        one.WorkingCoords = c.before;
        c.op(p, one);
        ChooseTexture(p, one, 0);
        EXPECT_EQ(poly.TexCoords, c.after) << c.what << " (one selected)";
    }
}

TEST(TextureAssign, PickingOnTheImage) {
    EXPECT_EQ(CoordAt(100, 50, 200, 100), (TexCoord{0.5f, 0.5f}));
    EXPECT_EQ(CoordAt(0, 0, 200, 100), (TexCoord{0, 1}));
    EXPECT_EQ(CoordAt(5, 5, 0, 0).U, 5.0f); // a zero-sized window divides by one
    EXPECT_EQ(PickWindowSize(300, 100).Width, 300);
    EXPECT_EQ(PickWindowSize(340, 100).Width, 300);
    EXPECT_EQ(PickWindowSize(0, 100).Width, 100);
    EXPECT_EQ(PickWindowSize(50, 0).Height, 1);

    Project p = Scene();
    p.Polygons[1].TextureIndex = 0;
    p.CurrentPolygon = 1;
    AssignState s;
    StartAssignTextures(p, s);
    FakeUi ui;
    ASSERT_TRUE(MayEditCoordinates(p, s, ui));
    EXPECT_EQ(PickCaption(p, s, 100, 50, 200, 100), "Pick 1/3   [129,65] --> 0.502, 0.504");
    EXPECT_FALSE(PickNextCorner(p, s, {0.1f, 0.2f}));
    EXPECT_FALSE(PickNextCorner(p, s, {0.3f, 0.4f}));
    EXPECT_TRUE(PickNextCorner(p, s, {0.5f, 0.6f})); // the last corner closes the window
    EXPECT_EQ(s.PickCounter, 1);
    EXPECT_EQ(s.WorkingCoords, (Coords{{0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}}));
    s.PickMode = CoordPickMode::Single;
    PickCorners(p, s, {0, 2, 9}, {1, 1});
    EXPECT_EQ(s.WorkingCoords, (Coords{{1, 1}, {0.3f, 0.4f}, {1, 1}}));
    EXPECT_EQ(PickCaption(p, s, 0, 100, 200, 100), "[1,1] --> 0.000, 0.000");
}

TEST(TextureAssign, EditingCoordinatesRefusalsAndTyping) {
    Project p = Scene();
    AssignState s;
    StartAssignTextures(p, s);
    FakeUi ui;
    EXPECT_FALSE(MayEditCoordinates(p, s, ui)); // untextured
    s.RepeatU = 2;
    EXPECT_FALSE(MayEditCoordinates(p, s, ui));
    s.RepeatU = 1;
    p.CurrentTexture = 0;
    s.PickMode = CoordPickMode::FromFile;
    EXPECT_FALSE(MayEditCoordinates(p, s, ui));
    EXPECT_EQ(s.PickMode, CoordPickMode::AllAtOnce);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"Choose a Texture !",
                                                     "Repeating Texture, no Coordinates possible !",
                                                     "Load from file not available yet !"}));

    p.Polygons[0].TextureIndex = 0;
    p.Polygons[0].TexCoords = kEntire;
    EXPECT_FALSE(SetTypedCoordinate(p, s, 1, "0,5", "1", ui));
    EXPECT_EQ(ui.messages.back(), "'0,5' is not a valid floating point value");
    EXPECT_FALSE(SetTypedCoordinate(p, s, 4, "0.5", "1", ui)); // no such corner
    ASSERT_TRUE(SetTypedCoordinate(p, s, 1, "0.5", " 0.25", ui));
    EXPECT_EQ(p.Polygons[0].TexCoords[1], (TexCoord{0.5f, 0.25f}));
    EXPECT_EQ(s.WorkingCoords[1], (TexCoord{0.5f, 0.25f}));
    EXPECT_EQ(CoordinateItems(p, 0)[1], "Vertex 5: 0.500, 0.250");
    EXPECT_EQ(CoordinateItems(p, 1)[0], "Vertex 0: Not assigned");
    EXPECT_TRUE(CoordinateItems(p, 9).empty());
}

TEST(TextureAssign, ControlsAndPictureSize) {
    Project p = Scene();
    AssignState s;
    StartAssignTextures(p, s);
    SelectPolygons(p, s, {0});
    AssignView v = AssignControls(p, s);
    EXPECT_TRUE(v.MirrorsEnabled);
    EXPECT_FALSE(v.RotateFaceEnabled);
    EXPECT_FALSE(v.CoordListEnabled);
    ChooseTexture(p, s, 0);
    EXPECT_TRUE(AssignControls(p, s).RotateFaceEnabled);
    SelectPolygons(p, s, {0, 1});
    EXPECT_FALSE(AssignControls(p, s).MirrorsEnabled);
    EXPECT_EQ(AssignTextureChoices(p),
              (std::vector<std::string>{"a.bmp", "b.bmp", "Untextured", "-> Load New Texture"}));
    EXPECT_EQ(PictureSize({128, 64}).Width, 128);
    EXPECT_EQ(PictureSize({256, 16}).Width, 128);
    EXPECT_EQ(PictureSize({256, 16}).Height, 8);
}

} // namespace
} // namespace meshforge
