#include "edit/vertices.h"

#include "fake_ui.h"
#include "literal_vertices.h"
#include "model/renumber.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

using namespace meshforge;
using meshforge::test::FakeUi;

namespace {

std::string LiteralRemoveDoubles(Project& p) {
    const int32_t removed = literal::RemoveDoubles(p);
    return removed == 0 ? "No overlaying/double Vertices in project"
                        : "Removed " + std::to_string(removed) + " overlaying/double Vertices";
}

// ---- Random projects with many exact duplicates ----

Project RandomProject(uint32_t seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // A small pool of values so that positions repeat; 0 and -0 both occur.
    const float values[] = {0.0f, -0.0f, 1.0f, -1.0f, 2.5f, nan, 1e-30f, -7.25f};
    Project p;
    const int n = pick(0, 60);
    for (int i = 0; i < n; ++i) {
        auto coord = [&] { return values[pick(0, pick(0, 9) == 0 ? 7 : 4)]; };
        p.Vertices.push_back({coord(), coord(), coord(), pick(0, 3) == 0});
    }
    // Mostly valid vertex numbers, now and then one past the list as damaged data has them.
    auto index = [&] { return n == 0 || pick(0, 40) == 0 ? n + pick(0, 3) : pick(0, n - 1); };
    for (int k = pick(0, 25); k > 0; --k) {
        ObjectData poly;
        poly.Color = {static_cast<float>(pick(0, 255)) / 255, 0.5f, 0.25f};
        for (int c = pick(3, 5); c > 0; --c)
            poly.VertexIndices.push_back(index());
        poly.VertexIndices.push_back(poly.VertexIndices.front());
        poly.TextureIndex = pick(0, 1) ? kUntextured : pick(0, 3);
        if (poly.TextureIndex != kUntextured)
            for (std::size_t c = 0; c < poly.VertexIndices.size(); ++c)
                poly.TexCoords.push_back({static_cast<float>(pick(0, 9)), 0.5f});
        poly.Selected = pick(0, 4) == 0;
        p.Polygons.push_back(poly);
    }
    for (int k = pick(0, 20); k > 0; --k) {
        ObjectData line;
        line.Color = {0.1f, static_cast<float>(pick(0, 255)) / 255, 0.3f};
        line.VertexIndices = {index(), index()};
        p.Lines.push_back(line);
    }
    if (!p.Polygons.empty())
        for (int k = pick(0, 4); k > 0; --k) {
            CollVol c;
            for (int plane = pick(1, 4); plane > 0; --plane) {
                c.PolygonIndices.push_back(pick(0, static_cast<int>(p.Polygons.size()) - 1));
                c.Rebounds.push_back(pick(0, 100));
            }
            p.CollVols.push_back(c);
        }
    p.HasGeometry = p.GeometryShown = n > 0;
    return p;
}

// Bit patterns, so that 0 and -0 differ and a NaN equals a NaN.
void ExpectSameVertices(const Project& a, const Project& b) {
    ASSERT_EQ(a.Vertices.size(), b.Vertices.size());
    for (std::size_t i = 0; i < a.Vertices.size(); ++i) {
        const Vertex &u = a.Vertices[i], &v = b.Vertices[i];
        EXPECT_EQ(std::bit_cast<uint32_t>(u.X), std::bit_cast<uint32_t>(v.X)) << "vertex " << i;
        EXPECT_EQ(std::bit_cast<uint32_t>(u.Y), std::bit_cast<uint32_t>(v.Y)) << "vertex " << i;
        EXPECT_EQ(std::bit_cast<uint32_t>(u.Z), std::bit_cast<uint32_t>(v.Z)) << "vertex " << i;
        EXPECT_EQ(u.Selected, v.Selected) << "vertex " << i;
    }
}

void ExpectSameElements(const std::vector<ObjectData>& a, const std::vector<ObjectData>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].VertexIndices, b[i].VertexIndices) << "element " << i;
        EXPECT_EQ(a[i].Color, b[i].Color) << "element " << i;
        EXPECT_EQ(a[i].TextureIndex, b[i].TextureIndex) << "element " << i;
        EXPECT_EQ(a[i].TexCoords, b[i].TexCoords) << "element " << i;
        EXPECT_EQ(a[i].Selected, b[i].Selected) << "element " << i;
    }
}

void ExpectSameProject(const Project& a, const Project& b) {
    ExpectSameVertices(a, b);
    ExpectSameElements(a.Lines, b.Lines);
    ExpectSameElements(a.Polygons, b.Polygons);
    ASSERT_EQ(a.CollVols.size(), b.CollVols.size());
    for (std::size_t i = 0; i < a.CollVols.size(); ++i) {
        EXPECT_EQ(a.CollVols[i].PolygonIndices, b.CollVols[i].PolygonIndices);
        EXPECT_EQ(a.CollVols[i].Rebounds, b.CollVols[i].Rebounds);
    }
    EXPECT_EQ(a.HasGeometry, b.HasGeometry);
    EXPECT_EQ(a.GeometryShown, b.GeometryShown);
}

Vertex V(float x, float y, float z, bool selected = false) {
    return {x, y, z, selected};
}

ObjectData Ring(std::vector<int32_t> corners) {
    ObjectData o;
    o.VertexIndices = std::move(corners);
    o.VertexIndices.push_back(o.VertexIndices.front());
    o.TextureIndex = kUntextured;
    return o;
}

ObjectData Segment(int32_t a, int32_t b) {
    ObjectData o;
    o.VertexIndices = {a, b};
    return o;
}

std::vector<int32_t> Ends(const ObjectData& o) {
    return o.VertexIndices;
}

// ---- The fast operations against the literal ones ----

TEST(VertexEquivalence, RemoveDoubleVerticesMatchesThePairwiseMerge) {
    int merged = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Project fast = RandomProject(seed), literal = fast;
        const std::size_t before = literal.Vertices.size();
        const std::string literalLog = LiteralRemoveDoubles(literal);
        if (literal.Vertices.size() != before)
            literal.HasGeometry = literal.GeometryShown = !literal.Vertices.empty();
        FakeUi ui;
        ColorTriple lineColor;
        merged += RemoveDoubleVertices(fast, lineColor, ui);
        ASSERT_EQ(ui.log, std::vector<std::string>{literalLog});
        ExpectSameProject(fast, literal);
    }
    EXPECT_GT(merged, 2000); // the inputs really are full of duplicates
}

TEST(VertexEquivalence, RemoveSelectedMatchesTheVertexByVertexRemoval) {
    int removed = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Project fast = RandomProject(seed), literal = fast;
        const std::size_t before = literal.Vertices.size();
        literal::RemoveSelected(literal);
        ClearVertexSelection(literal);
        if (literal.Vertices.size() != before)
            literal.HasGeometry = literal.GeometryShown = !literal.Vertices.empty();
        FakeUi ui;
        VertexUndo undo;
        ColorTriple lineColor;
        removed += RemoveSelectedVertices(fast, undo, lineColor, ui);
        EXPECT_TRUE(ui.log.empty());
        ExpectSameProject(fast, literal);
    }
    EXPECT_GT(removed, 1000);
}

TEST(VertexEquivalence, EraseKeepsThePositionalSelectionFlagsAsDeletingDoes) {
    // Without the final selection clearing the flags show that coordinates move, flags stay.
    for (uint32_t seed = 500; seed < 600; ++seed) {
        Project fast = RandomProject(seed), literal = fast;
        const std::size_t before = literal.Vertices.size();
        literal::RemoveSelected(literal);
        EraseSelectedVertices(fast);
        if (literal.Vertices.size() != before)
            literal.HasGeometry = literal.GeometryShown = !literal.Vertices.empty();
        ExpectSameProject(fast, literal);
    }
}

// ---- List and fields ----

TEST(VertexList, LineFormat) {
    EXPECT_EQ(VertexListLine(0, V(1.5f, -2, 0)), "0   :    1.500   -2.000    0.000");
    EXPECT_EQ(VertexListLine(12345, V(0, 0, 0)), "1234:    0.000    0.000    0.000");
    // Too long: cut to their first 9 characters.
    EXPECT_EQ(VertexListLine(7, V(-1234567, 123456789, -0.0f)), "7   :-1234567.1.234568E    0.000");
}

TEST(VertexFieldsRule, OneSeveralOrNoSelectedVertex) {
    Project p;
    p.Vertices = {V(1, 2, 3, true), V(1, 5, 3), V(1, 2, 4)};
    VertexFields any{"x", "y", "z"};
    EXPECT_EQ(FieldsForSelection(p, any), (VertexFields{"1.000", "2.000", "3.000"}));
    EXPECT_TRUE(ModifyEnabled(p, {"", "", ""}));

    p.Vertices[1].Selected = true;
    // The fields as the first click left them: X and Z are common, Y is not.
    VertexFields f = FieldsForSelection(p, {"1.000", "2.000", "3.000"});
    EXPECT_EQ(f, (VertexFields{"1.000", "", "3.000"}));
    EXPECT_TRUE(ModifyEnabled(p, f));
    EXPECT_EQ(FieldsForSelection(p, {"1.0", "2.000", "3.000"}), (VertexFields{"", "", "3.000"}));
    EXPECT_FALSE(ModifyEnabled(p, {"", "", ""}));
    EXPECT_FALSE(ModifyEnabled(p, {"1.000", "1.000", "1.000"}));

    ClearVertexSelection(p);
    EXPECT_EQ(FieldsForSelection(p, any), any);
}

TEST(VertexFieldsRule, TypedVertexNumberMustBeAnExistingInteger) {
    Project p;
    p.Vertices = {V(0, 0, 0), V(1, 1, 1)};
    FakeUi ui;
    EXPECT_EQ(ParseVertexNumber(" 1", p, ui), 1);
    EXPECT_EQ(ParseVertexNumber("1.5", p, ui), std::nullopt);
    EXPECT_EQ(ParseVertexNumber("one", p, ui), std::nullopt);
    EXPECT_EQ(ParseVertexNumber("2", p, ui), std::nullopt);
    EXPECT_EQ(ParseVertexNumber("-1", p, ui), std::nullopt);
    EXPECT_EQ(ui.messages.size(), 4u);
}

// ---- Add, modify, delete ----

TEST(VertexAdd, NeedsThreeNumbers) {
    Project p;
    FakeUi ui;
    EXPECT_FALSE(AddVertex(p, {"1", "", "3"}, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Every coordinate needs to be assigned !"});
    EXPECT_FALSE(AddVertex(p, {"1", "2", "3,5"}, ui));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[1].find("'3,5'"), std::string::npos);
    EXPECT_TRUE(p.Vertices.empty());
    EXPECT_FALSE(p.HasGeometry);

    p.Vertices = {V(9, 9, 9, true)};
    EXPECT_TRUE(AddVertex(p, {"1.5", "-2", "1e2"}, ui));
    ASSERT_EQ(p.Vertices.size(), 2u);
    EXPECT_EQ(p.Vertices[1].X, 1.5f);
    EXPECT_EQ(p.Vertices[1].Y, -2.0f);
    EXPECT_EQ(p.Vertices[1].Z, 100.0f);
    EXPECT_FALSE(p.Vertices[0].Selected);
    EXPECT_TRUE(p.HasGeometry && p.GeometryShown);
}

TEST(VertexModify, EmptyFieldsKeepTheirCoordinate) {
    Project p;
    p.Vertices = {V(1, 2, 3, true), V(4, 5, 6), V(7, 8, 9, true)};
    FakeUi ui;
    VertexUndo undo;
    ModifyResult r = ModifySelectedVertices(p, {"", "", "-1"}, undo, ui);
    EXPECT_TRUE(r.Done);
    EXPECT_EQ(r.LastModified, 2);
    EXPECT_EQ(p.Vertices[0].X, 1);
    EXPECT_EQ(p.Vertices[0].Y, 2);
    EXPECT_EQ(p.Vertices[0].Z, -1);
    EXPECT_EQ(p.Vertices[1].Z, 6);
    EXPECT_EQ(p.Vertices[2].X, 7);
    EXPECT_EQ(p.Vertices[2].Z, -1);

    ColorTriple color;
    ASSERT_TRUE(undo.Restore(p, color, ui));
    EXPECT_EQ(p.Vertices[0].Z, 3);
    EXPECT_EQ(p.Vertices[2].Z, 9);
    EXPECT_FALSE(p.Vertices[0].Selected);
}

TEST(VertexModify, NonNumberRefusedBeforeAnythingChanges) {
    Project p;
    p.Vertices = {V(1, 2, 3, true)};
    FakeUi ui;
    VertexUndo undo;
    EXPECT_FALSE(ModifySelectedVertices(p, {"5", "", "abc"}, undo, ui).Done);
    EXPECT_EQ(p.Vertices[0].X, 1);
    EXPECT_FALSE(undo.CanRestore(p)); // no snapshot either
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(VertexDelete, MovesCoordinatesAndUpdatesFlags) {
    Project p;
    p.Vertices = {V(1, 0, 0, true), V(2, 0, 0), V(-3, 0, 0)};
    p.HasGeometry = p.GeometryShown = true;
    DeleteVertex(p, 0);
    ASSERT_EQ(p.Vertices.size(), 2u);
    EXPECT_EQ(p.Vertices[0].X, 2);
    EXPECT_TRUE(p.Vertices[0].Selected); // the flag belongs to the position
    EXPECT_EQ(p.Box.MinX, -3);
    EXPECT_EQ(p.Box.MaxX, 2);
    DeleteVertex(p, 5);
    EXPECT_EQ(p.Vertices.size(), 2u);
    DeleteVertex(p, 1);
    DeleteVertex(p, 0);
    EXPECT_TRUE(p.Vertices.empty());
    EXPECT_FALSE(p.HasGeometry || p.GeometryShown);
}

// ---- Remove Selected, Remove All, Undo ----

TEST(VertexRemoveSelected, RemovesUsersAndRenumbers) {
    Project p;
    p.Vertices = {V(0, 0, 0), V(1, 0, 0), V(0, 1, 0, true), V(1, 1, 0), V(2, 2, 2)};
    p.Polygons = {Ring({0, 1, 2}), Ring({1, 3, 4}), Ring({0, 3, 4})};
    p.Lines = {Segment(2, 4), Segment(3, 4), Segment(0, 1)};
    p.CollVols = {{{0, 1}, {5, 6}}, {{0}, {7}}, {{2}, {8}}};
    p.CurrentPolygon = 2;
    p.CurrentLine = 0;
    FakeUi ui;
    VertexUndo undo;
    ColorTriple color;
    EXPECT_EQ(RemoveSelectedVertices(p, undo, color, ui), 1);
    ASSERT_EQ(p.Vertices.size(), 4u);
    EXPECT_EQ(p.Vertices[2].X, 1); // old vertex 3
    ASSERT_EQ(p.Polygons.size(), 2u);
    EXPECT_EQ(Ends(p.Polygons[0]), (std::vector<int32_t>{1, 2, 3, 1}));
    EXPECT_EQ(Ends(p.Polygons[1]), (std::vector<int32_t>{0, 2, 3, 0}));
    ASSERT_EQ(p.Lines.size(), 2u);
    EXPECT_EQ(Ends(p.Lines[0]), (std::vector<int32_t>{2, 3}));
    // The volume naming only the removed polygon went; the others name the new positions.
    ASSERT_EQ(p.CollVols.size(), 2u);
    EXPECT_EQ(p.CollVols[0].PolygonIndices, std::vector<int32_t>{0});
    EXPECT_EQ(p.CollVols[0].Rebounds, std::vector<int32_t>{6});
    EXPECT_EQ(p.CollVols[1].PolygonIndices, std::vector<int32_t>{1});
    EXPECT_EQ(p.CurrentPolygon, 1);
    EXPECT_EQ(p.CurrentLine, kNoElement);

    // Undo brings everything back as it was, collision volumes included.
    ASSERT_TRUE(undo.CanRestore(p));
    ASSERT_TRUE(undo.Restore(p, color, ui));
    EXPECT_EQ(p.Vertices.size(), 5u);
    EXPECT_FALSE(p.Vertices[2].Selected);
    EXPECT_EQ(p.Polygons.size(), 3u);
    EXPECT_EQ(Ends(p.Polygons[0]), (std::vector<int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(p.Lines.size(), 3u);
    EXPECT_EQ(p.CollVols.size(), 3u);
    EXPECT_FALSE(undo.CanRestore(p)); // one step only
}

TEST(VertexRemoveSelected, VertexZeroUsedByEveryPolygonLeavesNone) {
    Project p;
    p.Vertices = {V(0, 0, 0, true), V(1, 0, 0), V(0, 1, 0), V(1, 1, 0)};
    p.Polygons = {Ring({0, 1, 2}), Ring({3, 2, 0})};
    p.CollVols = {{{0, 1}, {1, 1}}};
    FakeUi ui;
    VertexUndo undo;
    ColorTriple color;
    RemoveSelectedVertices(p, undo, color, ui);
    EXPECT_TRUE(p.Polygons.empty());
    EXPECT_TRUE(p.CollVols.empty());
    EXPECT_EQ(p.Vertices.size(), 3u);
}

TEST(VertexRemoveSelected, VisualizationLinesRebuiltOverTheNewList) {
    Project p;
    p.Vertices = {V(0, 0, 0), V(1, 0, 0, true), V(2, 0, 0)};
    ObjectData vis = Segment(0, 1);
    vis.Color = {0.2f, 0.4f, 0.6f};
    p.VisLines = {vis, Segment(1, 2), Segment(2, 0)};
    FakeUi ui;
    VertexUndo undo;
    ColorTriple color;
    RemoveSelectedVertices(p, undo, color, ui);
    EXPECT_EQ(color, vis.Color);
    ASSERT_EQ(p.VisLines.size(), 2u);
    EXPECT_EQ(p.VisLines[1].Color, vis.Color);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Subsequent Lines removed",
                                                "Creating subsequent lines:", "Pick color !",
                                                "2 subsequent Lines created"}));
}

TEST(VertexRemoveAll, AsksThenEmptiesAndLeavesNothingToUndo) {
    Project p;
    p.Vertices = {V(0, 0, 0), V(1, 0, 0), V(0, 1, 0)};
    p.Polygons = {Ring({0, 1, 2})};
    p.Lines = {Segment(0, 1)};
    p.CollVols = {{{0}, {1}}};
    p.Textures.resize(1);
    p.HasGeometry = true;
    FakeUi ui;
    VertexUndo undo;
    undo.Take(p);
    ui.answers = {Answer::No};
    EXPECT_FALSE(RemoveAllVertices(p, undo, ui));
    EXPECT_EQ(p.Vertices.size(), 3u);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "OK to remove all vertices and associated lines/polygons ?");
    EXPECT_EQ(ui.questions[0].caption, "Remove all Vertices");

    ui.answers = {Answer::Yes};
    EXPECT_TRUE(RemoveAllVertices(p, undo, ui));
    EXPECT_TRUE(p.Vertices.empty() && p.Polygons.empty() && p.Lines.empty());
    EXPECT_TRUE(p.CollVols.empty() && p.Textures.empty());
    EXPECT_EQ(p.CurrentTexture, 999);
    EXPECT_EQ(p.CurrentLine, kNoElement);
    EXPECT_FALSE(p.HasGeometry);
    EXPECT_EQ(ui.log, std::vector<std::string>{"All Vertices removed !"});
    ColorTriple color;
    EXPECT_FALSE(undo.CanRestore(p));
    EXPECT_FALSE(undo.Restore(p, color, ui));
    EXPECT_TRUE(p.Vertices.empty());
}

TEST(VertexUndoSnapshot, NothingPointsPastTheRestoredVertices) {
    // Snapshot without lines or polygons; the ones made afterwards use newer vertices.
    Project p;
    p.Vertices = {V(0, 0, 0, true), V(1, 0, 0), V(2, 0, 0)};
    FakeUi ui;
    VertexUndo undo;
    ModifySelectedVertices(p, {"5", "", ""}, undo, ui);
    p.Vertices.push_back(V(3, 0, 0));
    p.Lines = {Segment(0, 1), Segment(2, 3)};
    p.Polygons = {Ring({0, 1, 2}), Ring({1, 2, 3})};
    p.CollVols = {{{1}, {4}}, {{0, 1}, {2, 3}}};
    p.CurrentLine = 1;
    ColorTriple color;
    ASSERT_TRUE(undo.Restore(p, color, ui));
    EXPECT_EQ(p.Vertices.size(), 3u);
    EXPECT_EQ(p.Vertices[0].X, 0);
    ASSERT_EQ(p.Lines.size(), 1u);
    EXPECT_EQ(Ends(p.Lines[0]), (std::vector<int32_t>{0, 1}));
    ASSERT_EQ(p.Polygons.size(), 1u);
    ASSERT_EQ(p.CollVols.size(), 1u);
    EXPECT_EQ(p.CollVols[0].PolygonIndices, std::vector<int32_t>{0});
    EXPECT_EQ(p.CurrentLine, kNoElement);
}

// ---- Remove Double Vertices ----

TEST(VertexRemoveDoubles, ThreeAtOnePositionAndNone) {
    Project p;
    p.Vertices = {V(1, 2, 3), V(0, 0, 0), V(1, 2, 3), V(-0.0f, 0, 0), V(1, 2, 3)};
    p.Lines = {Segment(2, 4), Segment(3, 1)};
    p.Polygons = {Ring({0, 2, 3})};
    FakeUi ui;
    ColorTriple color;
    EXPECT_EQ(RemoveDoubleVertices(p, color, ui), 3);
    EXPECT_EQ(ui.log, std::vector<std::string>{"Removed 3 overlaying/double Vertices"});
    ASSERT_EQ(p.Vertices.size(), 2u);
    EXPECT_EQ(Ends(p.Lines[0]), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(Ends(p.Lines[1]), (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(Ends(p.Polygons[0]), (std::vector<int32_t>{0, 0, 1, 0})); // both entries kept

    ui.log.clear();
    p.Vertices.push_back(V(std::nanf(""), 0, 0));
    p.Vertices.push_back(V(std::nanf(""), 0, 0));
    EXPECT_EQ(RemoveDoubleVertices(p, color, ui), 0);
    EXPECT_EQ(ui.log, std::vector<std::string>{"No overlaying/double Vertices in project"});
    EXPECT_EQ(p.Vertices.size(), 4u);
}

// ---- Interpolation ----

TEST(VertexInterpolate, AddsMidpointsBetweenNeighbours) {
    Project p;
    FakeUi ui;
    ColorTriple color;
    p.Vertices = {V(0, 0, 0)};
    EXPECT_FALSE(AddInterpolatedVertices(p, color, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Not enough Vertices !"});

    p.Vertices = {V(0, 0, 0, true), V(2, 4, -6), V(3, 4, 0)};
    int pumped = 0;
    EXPECT_TRUE(AddInterpolatedVertices(p, color, ui, [&] { ++pumped; }));
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(pumped, 3);
    ASSERT_EQ(p.Vertices.size(), 5u);
    EXPECT_EQ(p.Vertices[1].X, 1);
    EXPECT_EQ(p.Vertices[1].Y, 2);
    EXPECT_EQ(p.Vertices[1].Z, -3);
    EXPECT_EQ(p.Vertices[2].X, 2);
    EXPECT_EQ(p.Vertices[3].X, 2.5f);
    EXPECT_EQ(p.Vertices[4].X, 3); // no midpoint after the last one
    EXPECT_FALSE(p.Vertices[0].Selected);
    EXPECT_EQ(ui.log, std::vector<std::string>{"2 interpolated Vertices added"});
}

TEST(VertexInterpolate, AsksBeforeRemovingLinesAndPolygons) {
    Project p;
    p.Vertices = {V(0, 0, 0), V(2, 0, 0), V(0, 2, 0)};
    p.Polygons = {Ring({0, 1, 2})};
    p.CollVols = {{{0}, {1}}};
    p.Textures.resize(1);
    p.VisLines = {Segment(0, 1), Segment(1, 2), Segment(2, 0)};
    const Project before = p;
    FakeUi ui;
    ui.answers = {Answer::No};
    ColorTriple color;
    EXPECT_FALSE(AddInterpolatedVertices(p, color, ui));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "OK to remove all associated polygons and lines ?");
    EXPECT_EQ(ui.questions[0].caption, "Add Interpolated Vertices");
    ExpectSameProject(p, before);
    EXPECT_EQ(p.VisLines.size(), 3u);
    EXPECT_TRUE(ui.log.empty());

    ui.answers = {Answer::Yes};
    EXPECT_TRUE(AddInterpolatedVertices(p, color, ui));
    EXPECT_TRUE(p.Polygons.empty() && p.CollVols.empty() && p.Textures.empty());
    EXPECT_EQ(p.Vertices.size(), 5u);
    EXPECT_EQ(p.VisLines.size(), 5u);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Subsequent Lines removed",
                                                "All associated Polygons/Lines removed !",
                                                "2 interpolated Vertices added",
                                                "Creating subsequent lines:", "Pick color !",
                                                "5 subsequent Lines created"}));
}

TEST(VertexInterpolate, CreateBetweenExactlyTwoSelected) {
    Project p;
    p.Vertices = {V(0, 0, 0, true), V(1, 1, 1, true), V(4, -2, 8, true)};
    FakeUi ui;
    EXPECT_EQ(CreateInterpolatedVertex(p, ui), std::nullopt);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Only 2 Vertices can be selected !"});
    EXPECT_EQ(p.Vertices.size(), 3u);

    p.Vertices[1].Selected = false;
    EXPECT_EQ(CreateInterpolatedVertex(p, ui), 3);
    ASSERT_EQ(p.Vertices.size(), 4u);
    EXPECT_EQ(p.Vertices[3].X, 2);
    EXPECT_EQ(p.Vertices[3].Y, -1);
    EXPECT_EQ(p.Vertices[3].Z, 4);
    EXPECT_TRUE(p.Vertices[3].Selected);
    EXPECT_FALSE(p.Vertices[0].Selected || p.Vertices[2].Selected);
    EXPECT_EQ(ui.log,
              std::vector<std::string>{"Created Vertex 3, located between Vertices 0 and 2"});
}

} // namespace
