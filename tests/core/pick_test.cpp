#include "view/pick.h"

#include "view/camera.h"
#include "view/cpu_pick.h"

#include "fake_ui.h"

#include <gtest/gtest.h>

#include <limits>

namespace meshforge {
namespace {

using test::FakeUi;
using Names = std::vector<uint32_t>;

Project WithVertices(std::size_t n) {
    Project p;
    p.Vertices.resize(n);
    return p;
}

Names V(std::initializer_list<std::size_t> indices) {
    Names names;
    for (std::size_t i : indices)
        names.push_back(VertexPickName(i));
    return names;
}

bool Logged(const FakeUi& ui, const std::string& line) {
    return std::find(ui.log.begin(), ui.log.end(), line) != ui.log.end();
}

TEST(PickNames, KindsStayApartBeyondTenThousand) {
    Project p = WithVertices(10001);
    p.Lines.resize(1);
    p.Polygons.resize(10001);
    p.Polygons[10000].TextureIndex = kUntextured;
    const uint32_t vertex = VertexPickName(10000), line = LinePickName(0),
                   polygon = PolygonPickName(10000);
    EXPECT_EQ(DecodePickName(vertex), (PickHit{PickHit::Kind::Vertex, 10000}));
    EXPECT_EQ(DecodePickName(line), (PickHit{PickHit::Kind::Line, 0}));
    EXPECT_EQ(DecodePickName(polygon), (PickHit{PickHit::Kind::Polygon, 10000}));
    EXPECT_EQ(DecodePickName(kNoObjectName).kind, PickHit::Kind::None);
    EXPECT_EQ(DecodePickName(PolygonPickName(kPickIndexLimit)).kind, PickHit::Kind::None);
    EXPECT_EQ(HoverText(p, {vertex}), "Vertex No. 10000");
    EXPECT_EQ(HoverText(p, {line}), "Line No. 0");
    EXPECT_EQ(HoverText(p, {polygon}), "Polygon No. 10000\r\nTexture Name: Untextured");
}

TEST(HoverText, LastHitDecidesAndNamesTheTexture) {
    Project p = WithVertices(2);
    p.Lines.resize(1);
    p.Textures.resize(2);
    p.Textures[0].Filename = "C:\\gpl\\tex\\wall.bmp";
    p.Textures[1].Filename = "grass.bmp";
    p.Polygons.resize(3);
    p.Polygons[0].TextureIndex = 0;
    p.Polygons[1].TextureIndex = kUntextured;
    p.Polygons[2].TextureIndex = 5; // past the texture list
    const uint32_t p0 = PolygonPickName(0);
    EXPECT_EQ(HoverText(p, {VertexPickName(0), LinePickName(0), p0}),
              "Polygon No. 0\r\nTexture Name: wall");
    EXPECT_EQ(HoverText(p, {p0, VertexPickName(1)}), "Vertex No. 1");
    EXPECT_EQ(HoverText(p, {PolygonPickName(1)}), "Polygon No. 1\r\nTexture Name: Untextured");
    EXPECT_EQ(HoverText(p, {PolygonPickName(2)}), "Polygon No. 2\r\nTexture Name: Untextured");
    EXPECT_EQ(HoverText(p, {LinePickName(0), kNoObjectName}, "old"), "Line No. 0");
    EXPECT_EQ(HoverText(p, {kNoObjectName, VertexPickName(2)}, "old"), "old");
    EXPECT_EQ(HoverText(p, {}, "old"), std::nullopt);
}

TEST(PickClick, WrongPicksAreReportedAndChangeNothing) {
    Project p = WithVertices(3);
    FakeUi ui;
    EditorState editor(1);
    PickState pick(editor);
    EXPECT_FALSE(pick.Click(p, V({0}), true, false, ui, ui).Redraw); // no mode on
    ui.colorAnswers = {std::nullopt};
    pick.StartLineCreation(ui);
    ui.log.clear();
    EXPECT_FALSE(pick.Click(p, V({0}), false, false, ui, ui).Redraw);
    EXPECT_TRUE(pick.Click(p, {}, true, false, ui, ui).Redraw);
    pick.Click(p, {LinePickName(0), PolygonPickName(0), VertexPickName(3)}, true, false, ui, ui);
    EXPECT_EQ(ui.log,
              (std::vector<std::string>{"Oops, nothing Selected !", "Select Vertex only !"}));
    pick.Click(p, {}, true, true, ui, ui);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(ui.log.size(), 2u);
    EXPECT_EQ(pick.LinePickCount(), 0);
    EXPECT_FALSE(p.Vertices[0].Selected);
}

TEST(CreateLine, TwoDifferentVerticesMakeALineInTheChosenColour) {
    Project p = WithVertices(4);
    FakeUi ui;
    ui.colorAnswers = {0x000000FF};
    ui.newLineAnswers = {NextElement::Stop};
    EditorState editor(1);
    PickState pick(editor);
    pick.StartLineCreation(ui);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Creating a line:", "Pick color !",
                                                "Pick first vertex !"}));
    EXPECT_EQ(ui.colorInitials, (std::vector<uint32_t>{0x00808080}));
    pick.Click(p, V({2}), true, false, ui, ui);
    EXPECT_TRUE(p.Vertices[2].Selected);
    pick.Click(p, V({2}), true, false, ui, ui);
    EXPECT_EQ(ui.log.back(), "Select different Vertex !");
    EXPECT_TRUE(p.Lines.empty());
    ClickResult r = pick.Click(p, V({1, 3}), true, false, ui, ui); // higher index wins
    ASSERT_EQ(p.Lines.size(), 1u);
    EXPECT_EQ(p.Lines[0].VertexIndices, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(p.Lines[0].Color, (ColorTriple{1, 0, 0}));
    EXPECT_TRUE(Logged(ui, "Line No. 1 created, using vertices 2 and 3"));
    EXPECT_FALSE(p.Vertices[2].Selected || p.Vertices[3].Selected);
    EXPECT_EQ(ui.newLineDialogs, 1);
    EXPECT_FALSE(pick.AnyModeOn());
    EXPECT_EQ(r.Show, WindowToShow::LineWindow);
    EXPECT_TRUE(r.LinesChanged);
}

TEST(CreateLine, AnswersOfCreateNewLine) {
    Project p = WithVertices(4);
    FakeUi ui;
    ui.colorAnswers = {0x000000FF, 0x00FF0000};
    ui.newLineAnswers = {NextElement::SameColor, NextElement::NewColor, NextElement::Stop};
    EditorState editor(1);
    PickState pick(editor);
    pick.StartLineCreation(ui);
    auto line = [&](std::size_t a, std::size_t b) {
        pick.Click(p, V({a}), true, false, ui, ui);
        return pick.Click(p, V({b}), true, false, ui, ui);
    };
    EXPECT_EQ(line(0, 1).Show, WindowToShow::None);
    EXPECT_EQ(ui.log.back(), "Pick first vertex !");
    EXPECT_EQ(ui.colorInitials.size(), 1u); // Same Color asks nothing
    EXPECT_TRUE(pick.ModeOn(PickMode::LineCreation));
    line(1, 2);
    EXPECT_EQ(p.Lines[1].Color, p.Lines[0].Color);
    EXPECT_EQ(ui.colorInitials.size(), 2u);
    line(2, 3);
    EXPECT_EQ(p.Lines[2].Color, (ColorTriple{0, 0, 1}));
    EXPECT_FALSE(pick.AnyModeOn());
}

TEST(CreatePolygon, CornerRulesAndClosing) {
    Project p = WithVertices(8);
    p.Polygons.resize(1);
    p.Polygons[0].Selected = true;
    FakeUi ui;
    ui.colorAnswers = {std::nullopt, std::nullopt};
    ui.newPolygonAnswers = {NextElement::Stop};
    EditorState editor(1);
    PickState pick(editor);
    pick.StartPolygonCreation(ui, true);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Creating a Flat Shading Polygon:",
                                                "Pick color for Polygon!", "Pick first vertex !"}));
    pick.Click(p, V({1}), true, false, ui, ui);
    pick.Click(p, V({1}), true, false, ui, ui);
    EXPECT_EQ(ui.log.back(), "Select different Vertex !");
    ui.log.clear();
    pick.Click(p, V({2, 3}), true, false, ui, ui);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Picked = 2", "Picked = 3", "Pick next vertex !"}));
    pick.Click(p, V({4}), true, false, ui, ui);
    EXPECT_EQ(ui.log.back(), "Pick next vertex (or first vertex to close) !");
    pick.Click(p, V({3}), true, false, ui, ui);
    EXPECT_EQ(ui.log.back(),
              "Select vertex already used in this polygon. Select different Vertex !");
    EXPECT_EQ(pick.PickedVertices(), (std::vector<int32_t>{1, 3, 4}));
    EXPECT_TRUE(p.Vertices[3].Selected);
    ClickResult r = pick.Click(p, V({1}), true, false, ui, ui);
    ASSERT_EQ(p.Polygons.size(), 2u);
    EXPECT_EQ(p.Polygons[1].VertexIndices, (std::vector<int32_t>{1, 3, 4, 1}));
    EXPECT_EQ(p.Polygons[1].TextureIndex, kUntextured);
    EXPECT_FALSE(p.Polygons[0].Selected || p.Vertices[3].Selected);
    EXPECT_TRUE(Logged(ui, "Polygon No. 2 created, using vertices 1, 3, 4, 1"));
    EXPECT_EQ(r.Show, WindowToShow::PolygonWindow);
    EXPECT_TRUE(pick.PickedVertices().empty());

    ui.newPolygonAnswers = {NextElement::SameColor};
    pick.StartPolygonCreation(ui, true);
    for (std::size_t v : {5, 6, 5})
        pick.Click(p, V({v}), true, false, ui, ui);
    EXPECT_EQ(p.Polygons[2].VertexIndices, (std::vector<int32_t>{5, 6, 5}));
    EXPECT_TRUE(pick.ModeOn(PickMode::PolygonCreation));
}

TEST(CreatePolygon, AnswersAndColours) {
    Project p = WithVertices(3);
    FakeUi ui;
    auto triangle = [&](PickState& pick) {
        for (std::size_t v : {0, 1, 2, 0})
            pick.Click(p, V({v}), true, false, ui, ui);
        return p.Polygons.back().Color;
    };
    EditorState randomEditor(7), sameEditor(7);
    PickState random(randomEditor), same(sameEditor);
    ui.newPolygonAnswers = {NextElement::SameColor, NextElement::SameColor};
    random.StartPolygonCreation(ui, false);
    same.StartPolygonCreation(ui, false);
    EXPECT_TRUE(ui.colorInitials.empty());
    const ColorTriple first = triangle(random), second = triangle(random);
    EXPECT_NE(first, second);
    EXPECT_EQ(sameEditor.PolygonColor, first); // seeded generator
    for (float c : {first.R, first.G, first.B, second.R, second.G, second.B})
        EXPECT_TRUE(c >= 0 && c < 1);
    EXPECT_EQ(ui.newPolygonDialogs, (std::vector<bool>{false, false}));

    EditorState manualEditor(1);
    PickState manual(manualEditor);
    ui.colorAnswers = {0x0000FF00, 0x00FF0000};
    ui.newPolygonAnswers = {NextElement::SameColor, NextElement::NewColor, NextElement::Stop};
    manual.StartPolygonCreation(ui, true);
    EXPECT_EQ(triangle(manual), (ColorTriple{0, 1, 0}));
    EXPECT_EQ(triangle(manual), (ColorTriple{0, 1, 0}));
    EXPECT_EQ(triangle(manual), (ColorTriple{0, 0, 1}));
    EXPECT_FALSE(manual.AnyModeOn());
}

TEST(PickRedefinition, TriangleTakesThreePicksAndRenewsTheClosingEntry) {
    Project p = WithVertices(7);
    ObjectData tri{{0.1f, 0.2f, 0.3f}, {0, 1, 2, 0}, 3, {{0, 0}, {1, 0}, {1, 1}, {0, 0}}};
    p.Polygons = {tri};
    FakeUi ui;
    EditorState editor(1);
    PickState pick(editor);
    EXPECT_FALSE(pick.StartPolygonRedefinition(p, 1));
    ASSERT_TRUE(pick.StartPolygonRedefinition(p, 0));
    pick.Click(p, V({4}), true, false, ui, ui);
    pick.Click(p, V({4}), true, false, ui, ui);
    EXPECT_EQ(ui.log.back(), "Select different Vertex !");
    pick.Click(p, V({5}), true, false, ui, ui);
    EXPECT_EQ(p.Polygons[0].VertexIndices, tri.VertexIndices);
    ClickResult r = pick.Click(p, V({6}), true, false, ui, ui);
    EXPECT_EQ(p.Polygons[0].VertexIndices, (std::vector<int32_t>{4, 5, 6, 4}));
    EXPECT_EQ(p.Polygons[0].Color, tri.Color);
    EXPECT_EQ(p.Polygons[0].TextureIndex, 3);
    EXPECT_EQ(ui.log.back(), "Polygon No. 0 redefined.");
    EXPECT_EQ(r.Show, WindowToShow::PolygonWindow);
    EXPECT_FALSE(pick.AnyModeOn() || p.Vertices[4].Selected);
}

TEST(PickRedefinition, LineNeedsTwoDifferentVertices) {
    Project p = WithVertices(4);
    p.Lines.resize(2);
    p.Lines[1].VertexIndices = {0, 1};
    FakeUi ui;
    EditorState editor(1);
    PickState pick(editor);
    ASSERT_TRUE(pick.StartLineRedefinition(p, 1));
    EXPECT_EQ(p.CurrentLine, 1);
    pick.Click(p, V({2}), true, false, ui, ui);
    pick.Click(p, V({2}), true, false, ui, ui);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Picked vertex 2", "Select different Vertex !"}));
    ClickResult r = pick.Click(p, V({3}), true, false, ui, ui);
    EXPECT_EQ(p.Lines[1].VertexIndices, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(ui.log.back(), "Line No. 1 redefined.");
    EXPECT_EQ(r.Show, WindowToShow::LineWindow);
    EXPECT_FALSE(pick.AnyModeOn() || p.Vertices[2].Selected);
}

TEST(PickPivot, TakesOneVertexAndWaitsBehindLineCreation) {
    Project p = WithVertices(3);
    FakeUi ui;
    ui.colorAnswers = {std::nullopt};
    ui.newLineAnswers = {NextElement::Stop};
    EditorState editor(1);
    PickState pick(editor);
    pick.StartPivotPick(ui);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"Pick vertex as pivot point !"}));
    pick.StartLineCreation(ui);
    pick.Click(p, V({1}), true, false, ui, ui); // line creation is served first
    EXPECT_EQ(editor.PivotVertex, kNoElement);
    pick.Click(p, V({2}), true, false, ui, ui);
    ClickResult r = pick.Click(p, V({0, 2}), true, false, ui, ui);
    EXPECT_TRUE(r.PivotChanged);
    EXPECT_EQ(editor.PivotVertex, 2);
    EXPECT_EQ(ui.log.back(), "Picked vertex 2 as pivot point.");
    EXPECT_FALSE(pick.AnyModeOn());
}

// The CPU pick on hand-made cases whose answer is plain geometry (the GUI tests compare it with
// the selection pass on random scenes): a 200 x 200 square around the origin seen from the top,
// orthographic, 60 units either side of the centre of a 200 x 160 view.
TEST(CpuPick, NamesWhatCoversTheRegion) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        std::vector<int32_t> ring;
        bool cull, selected;
        int px, py; // the pick pixel (y from the bottom)
        bool hit;
    } cases[] = {
        {"front face at the centre", {0, 1, 2, 3, 0}, true, false, 100, 80, true},
        {"back face, culled", {0, 3, 2, 1, 0}, true, false, 100, 80, false},
        {"back face, shown", {0, 3, 2, 1, 0}, false, false, 100, 80, true},
        {"two corners only: no face", {0, 2, 0}, false, false, 100, 80, false},
        {"outline of a selected two-corner ring", {0, 2, 0}, false, true, 100, 80, true},
        {"a corner index past the list", {0, 1, 2, 9, 0}, false, false, 100, 80, false},
        {"a corner that is not a number", {0, 1, 5, 0}, false, false, 100, 80, false},
        {"a corner of the view, still on the square", {0, 1, 2, 3, 0}, false, false, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Project p;
        p.Vertices = {{-100, -100, 0}, {100, -100, 0}, {100, 100, 0},
                      {-100, 100, 0},  {0, 0, 0},      {nan, 0, 0}};
        ObjectData polygon;
        polygon.VertexIndices = c.ring;
        polygon.Selected = c.selected;
        p.Polygons = {polygon};
        p.HasGeometry = p.GeometryShown = true;
        p.Options.Perspective = false;
        p.Options.Zoom = 10;
        p.Options.VerticesVisible = false;
        UpdateBoundingBox(p);
        p.Box.CenterX = p.Box.CenterY = p.Box.CenterZ = 0;
        ViewState camera;
        camera.Kind = ViewKind::Top;
        PickView view;
        view.Scene = SceneMatrix(p.Options, camera, p.Box, 200, 160);
        view.Region = PickMatrix(c.px, c.py, 1, 1, {0, 0, 200, 160});
        view.CullBackFaces = c.cull;
        EXPECT_EQ(PickNamesOnCpu(p, view), c.hit ? Names{PolygonPickName(0)} : Names{});
    }
}

// The sphere of vertex 4 at the centre, the pivot's larger one around it, the origin pivot
// (no vertex), and nothing once the geometry is hidden.
TEST(CpuPick, SpheresNameTheirVertex) {
    Project p;
    p.Vertices = {{-100, -100, 0}, {100, 100, 0}, {0, 0, 0}, {0, 0, 0}, {2.5f, 0, 0}};
    p.HasGeometry = p.GeometryShown = true;
    p.Options.Perspective = false;
    p.Options.Zoom = 10;
    p.Options.VertexDisplaySize = 30; // radius 2
    UpdateBoundingBox(p);
    ViewState camera;
    camera.Kind = ViewKind::Top;
    PickView view;
    view.Scene = SceneMatrix(p.Options, camera, p.Box, 200, 160);
    view.Spheres = SphereSizing::For(p.Options, 200, 160, 160);
    auto at = [&](double x) { // the pick pixel over world point (x, 0, 0)
        view.Region = PickMatrix(100 + x * 200 / 120, 80, 1, 1, {0, 0, 200, 160});
        return PickNamesOnCpu(p, view);
    };
    EXPECT_EQ(at(0), V({2, 3}));
    EXPECT_EQ(at(4), V({4}));
    EXPECT_EQ(at(-4), Names{});
    view.PivotVertex = 2; // radius 6
    EXPECT_EQ(at(-4), V({2}));
    view.OriginPivot = true;
    EXPECT_EQ(at(-4), (Names{VertexPickName(2), kNoObjectName}));
    p.GeometryShown = false;
    EXPECT_EQ(at(0), Names{});
}

} // namespace
} // namespace meshforge
