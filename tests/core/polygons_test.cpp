#include "edit/polygons.h"

#include "edit/editor_state.h"
#include "edit/lines.h"
#include "edit/manual_vertex.h"
#include "fake_ui.h"
#include "model/renumber.h"

#include <gtest/gtest.h>

namespace meshforge {
namespace {

using test::FakeUi;
using Ring = std::vector<int32_t>;
using Outcome = ManualVertexEntry::Outcome;

Project WithVertices(std::size_t n) {
    Project p;
    p.Vertices.resize(n);
    return p;
}

// Polygon i is the triangle i, i + 1, i + 2, untextured, its red channel telling it apart.
Project WithTriangles(std::size_t n) {
    Project p = WithVertices(n + 2);
    FakeUi ui;
    for (std::size_t i = 0; i < n; ++i) {
        const auto v = static_cast<int32_t>(i);
        CreatePolygon(p, {v, v + 1, v + 2, v}, {static_cast<float>(i) / 10, 0, 0}, ui);
    }
    return p;
}

std::vector<Ring> RingsOf(const Project& p) {
    std::vector<Ring> rings;
    for (const ObjectData& polygon : p.Polygons)
        rings.push_back(polygon.VertexIndices);
    return rings;
}

CollVol Volume(std::vector<int32_t> polygons, std::vector<int32_t> rebounds) {
    CollVol c;
    c.PolygonIndices = std::move(polygons);
    c.Rebounds = std::move(rebounds);
    return c;
}

TEST(PolygonList, PadsIndexAndTextureAndListsTheDistinctCorners) {
    ObjectData triangle;
    triangle.VertexIndices = {3, 7, 9, 3};
    triangle.TextureIndex = kUntextured;
    EXPECT_EQ(PolygonListEntry(0, triangle), "0  :  None  3, 7, 9");
    triangle.TextureIndex = 12;
    EXPECT_EQ(PolygonListEntry(57, triangle), "57 :  12    3, 7, 9");
    EXPECT_EQ(PolygonListEntry(1000, triangle), "100:  12    3, 7, 9");
    Project p = WithTriangles(2);
    EXPECT_EQ(PolygonListEntries(p),
              (std::vector<std::string>{"0  :  None  0, 1, 2", "1  :  None  1, 2, 3"}));
}

TEST(PolygonRemoval, RemovesPolygonsZeroAndTwoOfFour) {
    Project p = WithTriangles(4);
    EXPECT_TRUE(SelectRows(p.Polygons, {true, false, true, false}));
    p.CurrentPolygon = 3;
    RemoveSelectedPolygons(p);
    EXPECT_EQ(RingsOf(p), (std::vector<Ring>{{1, 2, 3, 1}, {3, 4, 5, 3}}));
    EXPECT_EQ(p.Polygons[1].Color, (ColorTriple{0.3f, 0, 0}));
    EXPECT_EQ(p.CurrentPolygon, kNoElement);
}

TEST(PolygonRemoval, DeletePolygonRemovesTheCurrentOneAndRenumbersVolumes) {
    Project p = WithTriangles(3);
    p.CollVols = {Volume({2, 0}, {7, 8})};
    p.CurrentPolygon = 1;
    EXPECT_TRUE(DeletePolygon(p));
    EXPECT_EQ(RingsOf(p), (std::vector<Ring>{{0, 1, 2, 0}, {2, 3, 4, 2}}));
    EXPECT_EQ(p.CurrentPolygon, kNoElement);
    ASSERT_EQ(p.CollVols.size(), 1u);
    EXPECT_EQ(p.CollVols[0].PolygonIndices, (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(p.CollVols[0].Rebounds, (std::vector<int32_t>{7, 8}));
    p.CurrentPolygon = 2;
    EXPECT_FALSE(DeletePolygon(p));
    EXPECT_EQ(p.Polygons.size(), 2u);
}

TEST(RenumberPolygons, CollisionVolumesStayValidAfterRemoval) {
    Project p = WithTriangles(4);
    p.CollVols = {Volume({0, 1, 3}, {1, 2, 3}), // keeps the planes of 1 and 3
                  Volume({2, 0}, {5, 6}),       // loses every plane
                  Volume({3, 9}, {4}),          // a stale index and a missing rebound
                  Volume({1}, {})};
    RemovePolygonsWhere(p, {true, false, true}); // a short flag list keeps the rest
    EXPECT_EQ(RingsOf(p), (std::vector<Ring>{{1, 2, 3, 1}, {3, 4, 5, 3}}));
    ASSERT_EQ(p.CollVols.size(), 3u);
    EXPECT_EQ(p.CollVols[0].PolygonIndices, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(p.CollVols[0].Rebounds, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(p.CollVols[1].PolygonIndices, (std::vector<int32_t>{1}));
    EXPECT_EQ(p.CollVols[1].Rebounds, (std::vector<int32_t>{4}));
    EXPECT_EQ(p.CollVols[2].PolygonIndices, (std::vector<int32_t>{0}));
    EXPECT_EQ(p.CollVols[2].Rebounds, (std::vector<int32_t>{0}));
}

TEST(PolygonRemoval, RemoveAllAsksAndKeepsTexturesInStep) {
    Project p = WithTriangles(2);
    p.Textures.resize(2);
    p.CollVols = {Volume({0, 1}, {1, 1})};
    FakeUi ui;
    ui.answers = {Answer::No};
    EXPECT_FALSE(RemoveAllPolygons(p, ui));
    EXPECT_EQ(p.Polygons.size(), 2u);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "Are you sure ?");
    EXPECT_EQ(ui.questions[0].caption, "Remove all Polygons");
    EXPECT_EQ(ui.questions[0].buttons, Buttons::YesNo);

    ui.answers.push_back(Answer::Yes);
    p.CurrentPolygon = 1;
    EXPECT_TRUE(RemoveAllPolygons(p, ui));
    EXPECT_TRUE(p.Polygons.empty());
    EXPECT_TRUE(p.CollVols.empty());
    EXPECT_EQ(p.CurrentPolygon, kNoElement);
    EXPECT_EQ(p.Textures.size(), 2u);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"All Polygons Cleared !"}));
}

TEST(PolygonRecolor, SelectedPolygonsTakeTheCurrentColourEvenWhenCancelled) {
    Project p = WithTriangles(3);
    SelectRows(p.Polygons, {false, true, true});
    ColorTriple current{0.25f, 0.5f, 0.75f};
    FakeUi ui;
    ui.colorAnswers = {std::nullopt};
    RedefineSelectedPolygonColor(p, current, ui);
    EXPECT_EQ(p.Polygons[0].Color, (ColorTriple{0, 0, 0}));
    EXPECT_EQ(p.Polygons[1].Color, current);
    EXPECT_EQ(p.Polygons[2].Color, current);
    ui.colorAnswers.push_back(0x0000FF00);
    RedefineSelectedPolygonColor(p, current, ui);
    EXPECT_EQ(current, (ColorTriple{0, 1, 0}));
    EXPECT_EQ(p.Polygons[2].Color, current);
    EXPECT_EQ(ui.colorInitials.size(), 2u);
}

// Polygons: 0 on texture 1, 1 untextured, 2 on texture 0 (not selected), 3 on texture 0.
Project MixedTextures() {
    Project p = WithTriangles(4);
    p.Textures.resize(3);
    p.Polygons[0].TextureIndex = 1;
    p.Polygons[2].TextureIndex = 0;
    p.Polygons[3].TextureIndex = 0;
    p.Polygons[3].TexCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 0}};
    SelectRows(p.Polygons, {true, true, false, true});
    return p;
}

TEST(PolygonTexture, ReassignsTexturedOnesAndReportsEachUntexturedOne) {
    Project p = MixedTextures();
    FakeUi ui;
    EXPECT_EQ(ReassignSelectedTexture(p, 2, ui), 2);
    EXPECT_EQ(p.Polygons[0].TextureIndex, 2);
    EXPECT_EQ(p.Polygons[1].TextureIndex, kUntextured);
    EXPECT_EQ(p.Polygons[2].TextureIndex, 0);
    EXPECT_EQ(p.Polygons[3].TextureIndex, 2);
    EXPECT_EQ(p.Polygons[3].TexCoords.size(), 4u);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{
                               "Not possible to texturize polygon No. 1 with this function !"}));
}

TEST(PolygonTexture, RefusesMultipleAndIndicesPastTheList) {
    Project p = MixedTextures();
    FakeUi ui;
    EXPECT_EQ(ReassignSelectedTexture(p, std::nullopt, ui), 0);
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Not possible to texturize polygon with this function !"}));
    EXPECT_EQ(ReassignSelectedTexture(p, 3, ui), 0);
    EXPECT_EQ(ReassignSelectedTexture(p, -1, ui), 0);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(p.Polygons[0].TextureIndex, 1);
    EXPECT_EQ(p.Polygons[3].TextureIndex, 0);
}

TEST(PolygonTexture, ChoiceListFollowsTheSelection) {
    Project p = MixedTextures();
    EXPECT_EQ(TextureChoices(p), (std::vector<std::string>{"0", "1", "2", "Multiple"}));
    TextureChoiceState several = TextureChoiceFor(p);
    EXPECT_TRUE(several.Enabled);
    EXPECT_EQ(several.Row, 3u);
    SelectRows(p.Polygons, {true});
    EXPECT_EQ(TextureChoiceFor(p).Row, 1u);
    SelectRows(p.Polygons, {false, true});
    EXPECT_FALSE(TextureChoiceFor(p).Enabled);
    p.Polygons[1].TextureIndex = 7; // past the list
    EXPECT_EQ(TextureChoiceFor(p).Row, 3u);
}

// The manual vertex dialog over ten vertices and one existing polygon.
struct ManualVertex : ::testing::Test {
    Project p = WithTriangles(1); // vertices 0 to 2
    EditorState editor{1};
    FakeUi ui;
    void SetUp() override { p.Vertices.resize(10); }
    Outcome Type(ManualVertexEntry& entry, std::string_view text, bool manual = true) {
        return entry.Add(p, text, editor, manual, ui);
    }
};

TEST_F(ManualVertex, TypingThreeSevenNineAndClosingMakesATriangle) {
    ManualVertexEntry entry = ManualVertexEntry::ForNewPolygon();
    EXPECT_TRUE(entry.CloseEnabled());
    EXPECT_EQ(entry.Label(), "Vertex No. 1 = ");
    EXPECT_EQ(Type(entry, "3"), Outcome::Continue);
    EXPECT_EQ(Type(entry, "7"), Outcome::Continue);
    EXPECT_EQ(Type(entry, "9"), Outcome::Continue);
    EXPECT_EQ(entry.Label(), "Vertex No. 4 = ");
    ui.colorAnswers.push_back(0x00FF0000);
    EXPECT_EQ(entry.ClosePolygon(p, editor, true, ui), Outcome::Closed);
    ASSERT_EQ(p.Polygons.size(), 2u);
    const ObjectData& made = p.Polygons[1];
    EXPECT_EQ(made.VertexIndices, (Ring{3, 7, 9, 3}));
    EXPECT_EQ(made.VertexCount(), 4);
    EXPECT_EQ(made.TextureIndex, kUntextured);
    EXPECT_EQ(made.Color, (ColorTriple{0, 0, 1}));
    EXPECT_EQ(ui.log,
              (std::vector<std::string>{"Pick color for Polygon!",
                                        "Polygon No. 2 created, using vertices 3, 7, 9, 3"}));
    EXPECT_TRUE(entry.Corners().empty());
    EXPECT_TRUE(ui.newPolygonDialogs.empty()); // no "Create New Polygon ?" here
}

TEST_F(ManualVertex, AFifthCornerClosesTheQuadrilateralWithoutIt) {
    ManualVertexEntry entry = ManualVertexEntry::ForNewPolygon();
    for (const char* text : {"1", "2", "3", "4"})
        EXPECT_EQ(Type(entry, text, false), Outcome::Continue);
    EXPECT_EQ(Type(entry, "not even a number", false), Outcome::Closed);
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{
                  "Only triangular or rectangular polygons are supported. Closing Polygon..."}));
    EXPECT_EQ(p.Polygons.back().VertexIndices, (Ring{1, 2, 3, 4, 1}));
    // Random colour: no dialog, three values in [0, 1) that are now the current colour.
    EXPECT_TRUE(ui.colorInitials.empty());
    const ColorTriple c = p.Polygons.back().Color;
    EXPECT_EQ(c, editor.PolygonColor);
    for (float channel : {c.R, c.G, c.B}) {
        EXPECT_GE(channel, 0.0f);
        EXPECT_LT(channel, 1.0f);
    }
}

TEST_F(ManualVertex, RefusesWhatIsNotAVertexNumber) {
    ManualVertexEntry entry = ManualVertexEntry::ForNewPolygon();
    for (const char* text : {"", "abc", "3.5", "2x", "-1", "10", "99999999999"})
        EXPECT_EQ(Type(entry, text), Outcome::Refused) << text;
    EXPECT_EQ(ui.messages, std::vector<std::string>(7, "Not a valid Vertex number !"));
    EXPECT_TRUE(entry.Corners().empty());
    EXPECT_EQ(entry.Label(), "Vertex No. 1 = ");
    EXPECT_EQ(Type(entry, "9"), Outcome::Continue);
    EXPECT_EQ(entry.Corners(), (Ring{9}));
}

TEST_F(ManualVertex, ClosingNeedsThreeCorners) {
    ManualVertexEntry entry = ManualVertexEntry::ForNewPolygon();
    Type(entry, "0");
    Type(entry, "5");
    EXPECT_EQ(entry.ClosePolygon(p, editor, true, ui), Outcome::Refused);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"Add Vertices first !"}));
    EXPECT_EQ(p.Polygons.size(), 1u);
    EXPECT_EQ(entry.Corners(), (Ring{0, 5}));
    Type(entry, "6");
    ui.colorAnswers = {std::nullopt};
    EXPECT_EQ(entry.ClosePolygon(p, editor, true, ui), Outcome::Closed);
    EXPECT_EQ(p.Polygons.back().VertexIndices, (Ring{0, 5, 6, 0}));
    entry.Cancel();
    EXPECT_TRUE(entry.Corners().empty());
}

TEST_F(ManualVertex, RetypingAQuadrilateralTakesFourNumbersAndRenewsTheClosingEntry) {
    p.Polygons.push_back({});
    p.Polygons[1].VertexIndices = {0, 1, 2, 3, 0};
    ManualVertexEntry entry = ManualVertexEntry::ForPolygon(p, 1);
    EXPECT_EQ(p.CurrentPolygon, 1);
    EXPECT_EQ(Type(entry, "5"), Outcome::Continue);
    EXPECT_EQ(Type(entry, "6"), Outcome::Continue);
    EXPECT_EQ(Type(entry, "x"), Outcome::Refused); // does not count
    EXPECT_EQ(entry.Label(), "Vertex No. 3 = ");
    EXPECT_EQ(Type(entry, "7"), Outcome::Continue);
    EXPECT_EQ(p.Polygons[1].VertexIndices, (Ring{5, 6, 7, 3, 0}));
    EXPECT_EQ(Type(entry, "8"), Outcome::Closed);
    EXPECT_EQ(p.Polygons[1].VertexIndices, (Ring{5, 6, 7, 8, 5}));
    EXPECT_EQ(p.Polygons.size(), 2u);
}

TEST_F(ManualVertex, CancelledRedefinitionKeepsWhatWasStored) {
    ManualVertexEntry entry = ManualVertexEntry::ForPolygon(p, 0); // ring 0, 1, 2, 0
    EXPECT_EQ(Type(entry, "4"), Outcome::Continue);
    EXPECT_EQ(entry.ClosePolygon(p, editor, true, ui), Outcome::Refused);
    entry.Cancel();
    EXPECT_EQ(p.Polygons[0].VertexIndices, (Ring{4, 1, 2, 0}));
    EXPECT_EQ(p.Polygons.size(), 1u);
}

TEST_F(ManualVertex, LineModeTakesTwoNumbers) {
    CreateLine(p, 0, 1, {});
    CreateLine(p, 1, 2, {});
    ManualVertexEntry entry = ManualVertexEntry::ForLine(p, 1);
    EXPECT_EQ(p.CurrentLine, 1);
    EXPECT_FALSE(entry.CloseEnabled());
    EXPECT_EQ(entry.Label(), "Vertex No. 1 = ");
    EXPECT_EQ(Type(entry, "8"), Outcome::Continue);
    EXPECT_EQ(entry.Label(), "Vertex No. 2 = ");
    EXPECT_EQ(p.Lines[1].VertexIndices, (Ring{8, 2}));
    EXPECT_EQ(Type(entry, "10"), Outcome::Refused);
    EXPECT_EQ(Type(entry, "4"), Outcome::Closed);
    EXPECT_EQ(p.Lines[1].VertexIndices, (Ring{8, 4}));
    EXPECT_EQ(p.Lines[0].VertexIndices, (Ring{0, 1}));
    EXPECT_EQ(p.Polygons.size(), 1u);
}

} // namespace
} // namespace meshforge
