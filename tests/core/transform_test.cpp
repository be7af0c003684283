#include "transform/polygon_tools.h"
#include "transform/transform.h"

#include "app/commands.h"
#include "fake_ui.h"
#include "model/renumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>

using namespace meshforge;
using meshforge::test::FakeUi;

namespace {

using Vs = std::vector<Vertex>;

Vs Parse(const std::string& text) {
    Vs vs;
    std::istringstream in(text);
    for (std::string item; in >> item;) {
        Vertex v;
        std::sscanf(item.c_str(), "%f,%f,%f", &v.X, &v.Y, &v.Z);
        v.Selected = item.back() == '*';
        vs.push_back(v);
    }
    return vs;
}

Project With(const std::string& vertices) {
    Project p;
    p.Vertices = Parse(vertices);
    p.HasGeometry = !p.Vertices.empty();
    UpdateBoundingBox(p);
    return p;
}

// Vertex lists as "x,y,z" items, "*" marking a selected one: "1,2,3 0,0,0*".
std::string Text(const Vs& vs) {
    std::string s;
    for (const Vertex& v : vs) {
        char b[80];
        std::snprintf(b, sizeof b, "%s%g,%g,%g%s", s.empty() ? "" : " ", double(v.X), double(v.Y),
                      double(v.Z), v.Selected ? "*" : "");
        s += b;
    }
    return s;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines)
        s += l + ";";
    return s;
}

// One run of a transform with its records, as a dialog has them.
struct Desk {
    explicit Desk(Project project) : p(std::move(project)) {}
    Project p;
    EditorState editor{1};
    FakeUi ui;
    TransformState s;
};
using Op = std::function<bool(Desk&)>;

Op Move(OffsetTexts t, Scope s) {
    return [=](Desk& r) { return MoveVertices(r.p, t, s, r.s.Vertices.Move, r.ui); };
}
Op Mirror(Axis a, bool keep, Scope s) {
    return
        [=](Desk& r) { return MirrorVertices(r.p, a, keep, s, r.s.Vertices.Mirror, r.ui), true; };
}
Op Scale(std::string f, ScaleAxis a, Scope s) {
    return [=](Desk& r) { return ScaleVertices(r.p, f, a, s, r.s.Vertices.Scale, r.ui); };
}
Op Centre() {
    return [](Desk& r) { return CentreVertices(r.p, r.s.Vertices.Centre, r.ui); };
}
Op Rotate(Axis a, int fixed, Scope s, int32_t pivot = kNoElement) {
    return [=](Desk& r) {
        r.editor.PivotVertex = pivot;
        return RotateStep(r.p, r.editor, a, *FixedStep(fixed), s, r.ui);
    };
}

} // namespace

TEST(Transforms, HandWorkedCoordinatesAndLogLines) {
    const std::string moved = "Selected Vertice(s) moved ";
    struct Case {
        const char* name;
        std::string before;
        Op op;
        std::string after, log;
    } cases[] = {
        {"move all", "1,2,3 0,0,0 -1,0,0", Move({"10", "0.0", "0.0"}, Scope::All),
         "11,2,3 10,0,0 9,0,0", "Objects moved 10 units along X-Axis;"},
        {"move selected, a typed 0 logged", "0,0,0 1,2,3*",
         Move({"0", "2", "0.0"}, Scope::Selected), "0,0,0 1,4,3*",
         moved + "0 units along X-Axis;" + moved + "2 units along Y-Axis;"},
        {"move selected, none selected", "1,1,1", Move({"5", "5", "5"}, Scope::Selected), "1,1,1",
         ""},
        {"mirror X", "1,2,3 1,2,3*", Mirror(Axis::X, false, Scope::All), "-1,2,3 -1,2,3*",
         "Objects mirrored along X-Axis;"},
        {"mirror keeping, none on the plane", "1,0,0 0,2,0", Mirror(Axis::X, true, Scope::All),
         "1,0,0 0,2,0 -1,0,0", "Vertices added, mirrored along X-Axis;"},
        {"mirror keeping the selected", "1,2,3 1,2,3*", Mirror(Axis::Z, true, Scope::Selected),
         "1,2,3 1,2,3* 1,2,-3", "Vertices added, mirrored along Z-Axis;"},
        {"scale Y", "1,2,3 1,2,3*", Scale("2", ScaleAxis::Y, Scope::All), "1,4,3 1,4,3*",
         "All Vertices scaled by 2;"},
        {"scale the selected", "1,2,3 1,2,3*", Scale("-0.5", ScaleAxis::All, Scope::Selected),
         "1,2,3 -0.5,-1,-1.5*", "Selected Vertices scaled by -0.5;"},
        {"centre", "2,1,0 6,3,0", Centre(), "-2,-1,0 2,1,0", ""},
        {"90 about Z", "1,0,5", Rotate(Axis::Z, 3, Scope::All), "0,1,5", ""},
        {"90 about Y turns X to Z", "1,0,0", Rotate(Axis::Y, 3, Scope::All), "0,0,1", ""},
        {"90 about X", "0,1,0", Rotate(Axis::X, 3, Scope::All), "0,0,1", ""},
        {"180 about a pivot", "1,1,0 2,1,0", Rotate(Axis::Z, 4, Scope::All, 0), "1,1,0 0,1,0", ""},
        {"270, the selected", "1,0,0 1,0,0*", Rotate(Axis::Z, 5, Scope::Selected), "1,0,0 0,-1,0*",
         ""},
    };
    for (const Case& c : cases) {
        Desk r{With(c.before)};
        EXPECT_TRUE(c.op(r)) << c.name;
        EXPECT_EQ(Text(r.p.Vertices), c.after) << c.name;
        EXPECT_EQ(Joined(r.ui.log), c.log) << c.name;
        EXPECT_TRUE(r.ui.messages.empty()) << c.name;
    }
}

TEST(Transforms, EachUndoRestoresItsOwnWay) {
    const std::string before = "2,0,0 4,1,1*";
    struct Case {
        const char* name;
        Op op;
        UndoKind kind;
        bool keepsSelection, recomputesBox;
    } cases[] = {
        {"move", Move({"1", "0.0", "0.0"}, Scope::All), UndoKind::Move, false, false},
        {"mirror keeping", Mirror(Axis::X, true, Scope::All), UndoKind::Mirror, true, false},
        {"scale", Scale("3", ScaleAxis::All, Scope::All), UndoKind::Scale, true, false},
        {"centre", Centre(), UndoKind::Centre, false, true},
    };
    for (const Case& c : cases) {
        Desk r{With(before)};
        VertexBackup* record[] = {&r.s.Vertices.Move, &r.s.Vertices.Mirror, &r.s.Vertices.Scale,
                                  &r.s.Vertices.Centre};
        VertexBackup& undo = *record[int(c.kind)];
        ASSERT_TRUE(c.op(r)) << c.name;
        EXPECT_TRUE(undo.CanRestore(r.p)) << c.name;
        r.p.Box.MaxX = 99; // the box after the transform, marked
        ASSERT_TRUE(UndoTransform(r.p, c.kind, undo, r.ui)) << c.name;
        EXPECT_EQ(Text(r.p.Vertices), c.keepsSelection ? before : "2,0,0 4,1,1") << c.name;
        EXPECT_EQ(r.p.Box.MaxX, c.recomputesBox ? 4 : 99) << c.name;
        EXPECT_TRUE(undo.Empty()) << c.name;
        EXPECT_FALSE(UndoTransform(r.p, c.kind, undo, r.ui)) << c.name << ": consumed";
        EXPECT_TRUE(r.ui.messages.empty()) << c.name;
    }
}

TEST(Transforms, RefusalsChangeNothing) {
    const std::string notANumber = "'x' is not a valid floating point value";
    const std::string huge(kNotFiniteMessage), pick(kSelectPolygonsMessage);
    auto copy = [](OffsetTexts t) {
        return [=](Desk& r) {
            return CopyPolygons(r.p, t, CopySide::Same, CopyTexture::Same, r.s.Copy, r.ui);
        };
    };
    auto movePolygons = [](OffsetTexts t) {
        return [=](Desk& r) { return MovePolygons(r.p, t, r.s.MovePolygons, r.ui); };
    };
    const OffsetTexts zero{"0.0", "0.0", "0.0"};
    struct Case {
        const char* name;
        bool selected; // polygon [0, 1, 2, 0]
        std::string vertices;
        Op op;
        std::string message;
    } cases[] = {
        {"move, a later text wrong", false, "1,1,1 0,0,0 0,0,0",
         Move({"1", "x", "0.0"}, Scope::All), notANumber},
        {"move too far", false, "3e38,0,0 0,0,0 0,0,0", Move({"1e38", "0.0", "0.0"}, Scope::All),
         huge},
        {"scale 1e30 by 1e30", false, "1e30,0,0 0,0,0 0,0,0",
         Scale("1e30", ScaleAxis::X, Scope::All), huge},
        {"scale by 0", false, "1,1,1 0,0,0 0,0,0", Scale("0", ScaleAxis::All, Scope::All),
         std::string(kZeroScaleMessage)},
        {"scale, not a number", false, "1,1,1 0,0,0 0,0,0", Scale("x", ScaleAxis::Y, Scope::All),
         notANumber},
        {"centre, the midpoint overflows", false, "3.4e38,0,0 3.3e38,0,0 3.3e38,0,0", Centre(),
         huge},
        {"rotate too far", false, "3e38,-3e38,0 0,0,0 0,0,0", Rotate(Axis::Z, 1, Scope::All), huge},
        {"copy, none selected: no merge", false, "0,0,0 0,0,0 1,0,0", copy({"1", "0.0", "0.0"}),
         pick},
        {"copy selected, zero offset", true, "0,0,0 0,0,0 1,0,0", copy(zero),
         std::string(kCheckOffsetMessage)},
        {"copy selected, not a number", true, "0,0,0 0,0,0 1,0,0", copy({"1", "0.0", "x"}),
         notANumber},
        {"copy selected too far", true, "0,0,0 0,0,0 3e38,0,0", copy({"1e38", "0.0", "0.0"}), huge},
        {"move polygons, none selected", false, "0,0,0 1,0,0 1,1,0",
         movePolygons({"1", "0.0", "0.0"}), pick},
        {"move polygons selected, zero", true, "0,0,0 1,0,0 1,1,0", movePolygons(zero),
         std::string(kCheckOffsetMessage)},
        {"move polygons selected too far", true, "0,0,0 1,0,0 1,1,-3e38",
         movePolygons({"0.0", "0.0", "-1e38"}), huge},
    };
    for (const Case& c : cases) {
        Desk r{With(c.vertices)};
        r.p.Polygons.push_back({{}, {0, 1, 2, 0}, kUntextured, {}, c.selected});
        const Project old = r.p;
        EXPECT_FALSE(c.op(r)) << c.name;
        EXPECT_EQ(Joined(r.ui.messages), c.message + ";") << c.name;
        EXPECT_EQ(Text(r.p.Vertices), Text(old.Vertices)) << c.name;
        EXPECT_EQ(r.p.Polygons.size(), 1u) << c.name;
        EXPECT_EQ(r.p.Revision, old.Revision) << c.name;
        EXPECT_EQ(r.p.Box.CenterX, old.Box.CenterX) << c.name;
        EXPECT_TRUE(r.s.Vertices.Move.Empty() && r.s.Vertices.Scale.Empty() &&
                    r.s.Vertices.Centre.Empty() && r.s.MovePolygons.Empty())
            << c.name;
        EXPECT_FALSE(r.s.Copy.CanRestore(r.p)) << c.name;
        EXPECT_TRUE(r.ui.log.empty()) << c.name;
    }
}

TEST(Transforms, UndoAfterAChangeOfShapeIsRefused) {
    // Each record is taken, then another window removes vertex 3, which no polygon uses.
    struct Case {
        const char* name;
        Op take, undo;
    } cases[] = {
        {"move", Move({"1", "0.0", "0.0"}, Scope::All),
         [](Desk& r) { return UndoTransform(r.p, UndoKind::Move, r.s.Vertices.Move, r.ui); }},
        {"mirror keeping", Mirror(Axis::Y, true, Scope::All),
         [](Desk& r) { return UndoTransform(r.p, UndoKind::Mirror, r.s.Vertices.Mirror, r.ui); }},
        {"rotate's cancel",
         [](Desk& r) {
             r.s.Rotate.Begin(r.p, r.editor);
             return RotateStep(r.p, r.editor, Axis::Z, *FixedStep(3), Scope::All, r.ui);
         },
         [](Desk& r) { return r.s.Rotate.Cancel(r.p, r.editor, r.ui); }},
        {"copy",
         [](Desk& r) {
             return CopyPolygons(r.p, {"1", "0.0", "0.0"}, CopySide::Same, CopyTexture::None,
                                 r.s.Copy, r.ui);
         },
         [](Desk& r) { return UndoCopyPolygons(r.p, r.s.Copy, r.ui); }},
        {"move polygons",
         [](Desk& r) {
             return MovePolygons(r.p, {"1", "0.0", "0.0"}, r.s.MovePolygons, r.ui);
         },
         [](Desk& r) { return UndoMovePolygons(r.p, r.s.MovePolygons, r.ui); }},
    };
    for (const Case& c : cases) {
        Desk r{With("0,0,0 1,0,0 1,1,0 5,5,5")};
        r.p.Polygons.push_back({{}, {0, 1, 2, 0}, kUntextured, {}, true});
        ASSERT_TRUE(c.take(r)) << c.name;
        RemoveVerticesWhere(r.p, {false, false, false, true});
        const Project changed = r.p;
        EXPECT_FALSE(c.undo(r)) << c.name;
        EXPECT_EQ(Joined(r.ui.messages), std::string(kUndoStaleMessage) + ";") << c.name;
        EXPECT_EQ(Text(r.p.Vertices), Text(changed.Vertices)) << c.name;
        EXPECT_EQ(r.p.Polygons.size(), changed.Polygons.size()) << c.name;
        r.ui.messages.clear();
        EXPECT_FALSE(c.undo(r)) << c.name << ": the stale record is gone";
        EXPECT_TRUE(r.ui.messages.empty()) << c.name;
    }
}

TEST(Rotate, FreeStepsAndCancelRestoreTheOpeningStateExactly) {
    Desk r{With("1,0,0* 0.3,0.7,2")};
    const std::string opening = Text(r.p.Vertices);
    r.editor.PivotVertex = 1;
    r.s.Rotate.Begin(r.p, r.editor);
    EXPECT_EQ(r.editor.PivotVertex, kNoElement);
    for (int spin : {1, 2, 3, 3})
        if (std::optional<StepFactors> step = r.s.Rotate.FreeStep(spin)) {
            ASSERT_TRUE(RotateStep(r.p, r.editor, Axis::Z, *step, Scope::All, r.ui));
        }
    EXPECT_NEAR(r.p.Vertices[0].X, std::cos(3 * std::numbers::pi / 180), 1e-6);
    EXPECT_NEAR(r.p.Vertices[0].Y, std::sin(3 * std::numbers::pi / 180), 1e-6);
    EXPECT_EQ(r.s.Rotate.LastSpin(), 3);
    const std::optional<StepFactors> back = r.s.Rotate.FreeStep(-180);
    ASSERT_TRUE(back);
    EXPECT_LT(back->Sin, 0) << "a jump down is one step back";
    r.editor.PivotVertex = 0;
    EXPECT_TRUE(r.s.Rotate.Cancel(r.p, r.editor, r.ui));
    EXPECT_EQ(Text(r.p.Vertices), opening);
    EXPECT_EQ(r.editor.PivotVertex, kNoElement);
    EXPECT_FALSE(r.s.Rotate.Cancel(r.p, r.editor, r.ui)) << "the backup is used up";
}

TEST(Rotate, ThePivotIsForgottenWhenTheListsChange) {
    Desk r{With("0,0,0 1,0,0 2,0,0")};
    r.s.Rotate.Begin(r.p, r.editor);
    r.editor.PivotVertex = 1;
    EXPECT_FALSE(r.s.Rotate.FollowProject(r.p, r.editor));
    EXPECT_EQ(r.editor.PivotVertex, 1);
    // Index 1 still exists, but names another vertex now.
    RemoveVerticesWhere(r.p, {true, false, false});
    EXPECT_TRUE(r.s.Rotate.FollowProject(r.p, r.editor));
    EXPECT_EQ(r.editor.PivotVertex, kNoElement);
    r.editor.PivotVertex = 7; // names no vertex
    EXPECT_TRUE(r.s.Rotate.FollowProject(r.p, r.editor));
    EXPECT_EQ(r.editor.PivotVertex, kNoElement);
    ASSERT_TRUE(RotateStep(r.p, r.editor, Axis::Z, *FixedStep(3), Scope::All, r.ui));
    EXPECT_EQ(Text(r.p.Vertices), "0,1,0 0,2,0") << "about the origin";
}

TEST(Centre, AlreadyCentredJudgesTheRecomputedBox) {
    Desk r{With("2,0,0 6,2,0*")};
    EXPECT_EQ(GuardMessage(GuardedCommand::CenterAllVertices, r.p), std::nullopt);
    ASSERT_TRUE(CentreVertices(r.p, r.s.Vertices.Centre, r.ui));
    EXPECT_TRUE(r.p.Vertices[1].Selected && !r.s.Vertices.Centre.Vertices()[1].Selected);
    EXPECT_EQ(GuardMessage(GuardedCommand::CenterAllVertices, r.p), kAlreadyCenteredMessage);
    // Mirror leaves the stored box alone; the vertices are no longer centred.
    MirrorVertices(r.p, Axis::Y, false, Scope::Selected, r.s.Vertices.Mirror, r.ui);
    EXPECT_FALSE(IsCentred(r.p));
    EXPECT_EQ(GuardMessage(GuardedCommand::CenterAllVertices, r.p), std::nullopt);
    // A rounding remainder with nothing moved since still counts as centred.
    Desk odd{With("0.1,0,0 0.7,0,0")};
    ASSERT_TRUE(CentreVertices(odd.p, odd.s.Vertices.Centre, odd.ui));
    EXPECT_NE(ComputeBoundingBox(odd.p).CenterX, 0);
    EXPECT_TRUE(IsCentred(odd.p));
}

TEST(PolygonTools, CopyPlacesSidesAndTextures) {
    using S = CopySide;
    using T = CopyTexture;
    const std::vector<TexCoord> uv{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}},
        reversed{{1, 0}, {1, 1}, {0, 1}, {0, 0}, {0, 0}}, none(5), one{{0.5f, 0.5f}},
        oneReversed{{1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}, {0, 0}};
    const std::vector<int32_t> same{4, 5, 6, 7, 4}, opposite{4, 7, 6, 5, 4};
    struct Case {
        const char* name;
        CopySide side;
        CopyTexture texture;
        std::vector<TexCoord> uv; // of the source
        std::vector<int32_t> ring;
        std::vector<TexCoord> copyUv;
    } cases[] = {
        {"same side", S::Same, T::Same, uv, same, uv},
        {"opposite side", S::Opposite, T::Same, uv, opposite, uv},
        {"mirrored", S::Same, T::Mirrored, uv, same, reversed},
        {"no texture", S::Opposite, T::None, uv, opposite, none},
        {"fewer pairs than corners read as defaults", S::Same, T::Mirrored, one, same, oneReversed},
    };
    for (const Case& c : cases) {
        Desk r{With("0,0,0 1,0,0 1,1,0 0,1,0")};
        r.p.Polygons.push_back({{0.1f, 0.2f, 0.3f}, {0, 1, 2, 3, 0}, 2, c.uv, true});
        r.p.Polygons.push_back({{}, {0, 1, 2, 0}, kUntextured, {}, false});
        ASSERT_TRUE(CopyPolygons(r.p, {"10", "0.0", "0.0"}, c.side, c.texture, r.s.Copy, r.ui));
        EXPECT_EQ(Text(r.p.Vertices), "0,0,0 1,0,0 1,1,0 0,1,0 10,0,0 11,0,0 11,1,0 10,1,0")
            << c.name;
        ASSERT_EQ(r.p.Polygons.size(), 3u) << c.name;
        const ObjectData& copy = r.p.Polygons[2];
        EXPECT_EQ(copy.VertexIndices, c.ring) << c.name;
        EXPECT_EQ(copy.TexCoords, c.copyUv) << c.name;
        EXPECT_EQ(copy.TextureIndex, c.texture == T::None ? kUntextured : 2) << c.name;
        EXPECT_TRUE(copy.Selected && !r.p.Polygons[0].Selected) << c.name;
        EXPECT_EQ(copy.Color, r.p.Polygons[0].Color) << c.name;
        EXPECT_TRUE(r.ui.log.empty() && r.ui.messages.empty()) << c.name;
    }
}

TEST(PolygonTools, CopyMergesFirstAndItsUndoRemovesExactlyTheCopies) {
    // Vertex 4 doubles vertex 0; a visualization line and a collision volume use the list.
    Desk r{With("0,0,0 1,0,0 1,1,0 0,1,0 0,0,0")};
    r.p.Polygons = {{{}, {0, 1, 2, 0}, kUntextured, {}, true},
                    {{}, {4, 2, 3, 4}, kUntextured, {}, true},
                    {{}, {1, 2, 3, 1}, kUntextured, {}, false}};
    r.p.VisLines.push_back({{}, {3, 4}, 0, {}});
    r.p.CollVols.push_back({{2}, {0}});
    ASSERT_TRUE(
        CopyPolygons(r.p, {"0.0", "0.0", "-2"}, CopySide::Same, CopyTexture::None, r.s.Copy, r.ui));
    EXPECT_EQ(r.p.Vertices.size(), 4u + 6u);
    EXPECT_EQ(r.p.VisLines[0].VertexIndices, (std::vector<int32_t>{3, 0})) << "renumbered";
    EXPECT_EQ(r.p.Polygons[1].VertexIndices, (std::vector<int32_t>{0, 2, 3, 0}));
    EXPECT_EQ(r.p.Polygons[4].VertexIndices, (std::vector<int32_t>{7, 8, 9, 7}));
    EXPECT_EQ(Text({r.p.Vertices[7]}), "0,0,-2");
    ASSERT_TRUE(r.s.Copy.CanRestore(r.p));
    ASSERT_TRUE(UndoCopyPolygons(r.p, r.s.Copy, r.ui));
    EXPECT_EQ(Text(r.p.Vertices), "0,0,0 1,0,0 1,1,0 0,1,0") << "the merge stays";
    EXPECT_EQ(r.p.Polygons.size(), 3u);
    EXPECT_EQ(r.p.CollVols[0].PolygonIndices, std::vector<int32_t>{2});
    EXPECT_FALSE(UndoCopyPolygons(r.p, r.s.Copy, r.ui));
}

TEST(PolygonTools, MoveMovesEachSharedVertexOnce) {
    Desk r{With("0,0,0 1,0,0 1,1,0* 0,1,0 9,9,9")};
    r.p.Polygons = {{{}, {0, 1, 2, 0}, kUntextured, {}, true},
                    {{}, {0, 2, 3, 0}, kUntextured, {}, true}};
    ASSERT_TRUE(MovePolygons(r.p, {"0.0", "0.0", "5"}, r.s.MovePolygons, r.ui));
    EXPECT_EQ(Text(r.p.Vertices), "0,0,5 1,0,5 1,1,5* 0,1,5 9,9,9");
    ASSERT_TRUE(UndoMovePolygons(r.p, r.s.MovePolygons, r.ui));
    EXPECT_EQ(Text(r.p.Vertices), "0,0,0 1,0,0 1,1,0 0,1,0 9,9,9");
}

TEST(PolygonTools, ListLinesAndTheTextureChoice) {
    Project p = With("");
    p.Polygons = {{{}, {0, 1, 2, 0}, kUntextured, {}, false},
                  {{}, {12, 3, 4, 5, 12}, 17, {}, false}};
    EXPECT_EQ(PolygonToolLine(0, p.Polygons[0], 4), "0   :  None  0, 1, 2");
    EXPECT_EQ(PolygonToolLine(1234, p.Polygons[1], 3), "1234:  17    12, 3, 4, 5");
    SelectListedPolygons(p, {1});
    EXPECT_TRUE(CopyTextureChoiceFor(p).Enabled);
    SelectListedPolygons(p, {0, 1});
    const CopyTextureChoice forced = CopyTextureChoiceFor(p);
    EXPECT_TRUE(forced.Choice == CopyTexture::None && !forced.Enabled);
    ClosePolygonTool(p);
    EXPECT_TRUE(!p.Polygons[0].Selected && !p.Polygons[1].Selected);
    EXPECT_EQ(p.CurrentPolygon, kNoElement);
}
