// The Project's revision and the undo records that depend on it.
#include "collision/collision.h"
#include "edit/editor_state.h"
#include "edit/lines.h"
#include "edit/polygons.h"
#include "edit/vertices.h"
#include "fake_ui.h"
#include "io/dxf_import.h"
#include "io/text_geometry.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/renumber.h"
#include "view/pick.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace meshforge {
namespace {

using test::FakeUi;

// The user agrees to every question and adds imports without an offset.
struct Editor {
    Project p;
    EditorState editor{1};
    FakeUi ui;
    std::mt19937 rng{1};
    // Each step runs on a fresh fixture and may ask none, one or two questions; the tables
    // check the revision, not the dialogue, so whatever is asked gets Yes, and what is left
    // unasked is not a fault here.
    Editor() {
        ui.defaultAnswers = true;
        ui.answers = {Answer::Yes, Answer::Yes};
        ui.offsetAnswers = {Offset3{}, Offset3{}};
    }
    ~Editor() {
        ui.answers.clear();
        ui.offsetAnswers.clear();
    }
};
using Step = std::function<void(Editor&)>;

ObjectData Element(std::vector<int32_t> indices, int32_t texture = kUntextured) {
    ObjectData o;
    o.VertexIndices = std::move(indices);
    o.TextureIndex = texture;
    return o;
}

// Five vertices (the last one on vertex 3), two lines, two polygons in one collision volume,
// two textures.
Project Base() {
    Project p;
    p.Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 1, 0}};
    p.Lines = {Element({0, 1}), Element({1, 2})};
    p.Polygons = {Element({0, 1, 2, 0}, 0), Element({1, 2, 3, 1})};
    p.Polygons[0].TexCoords.resize(4);
    p.CollVols = {{{0, 1}, {1, 2}}};
    p.Textures.resize(2);
    p.Textures[0].Filename = "a.bmp";
    p.Textures[1].Filename = "b.bmp";
    p.HasGeometry = true;
    p.ProjectFileName = "/x/base.3dp";
    return p;
}

// Another project for a read: Base with one more vertex.
Project Other() {
    Project p = Base();
    p.Vertices.push_back({9, 9, 9});
    return p;
}

std::string TextOf(Project p) {
    FakeUi quiet;
    quiet.defaultAnswers = true;
    return SerializeProject(p, {}, quiet);
}

void Select(std::vector<Vertex>& vertices, std::initializer_list<std::size_t> which) {
    for (std::size_t i : which)
        vertices[i].Selected = true;
}

// What a user can do between taking an undo record and pressing "Undo".
const Step Reset = [](Editor& e) { ResetProject(e.p); };
const Step AddAVertex = [](Editor& e) { AddVertex(e.p, {"1", "2", "3"}, e.ui); };
const Step DeleteLastVertex = [](Editor& e) { DeleteVertex(e.p, 4); };
const Step ModifyVertexZero = [](Editor& e) {
    Select(e.p.Vertices, {0});
    ModifySelectedVertices(e.p, {"5", "", ""}, e.editor.UndoVertices, e.ui);
};
const Step RemoveVertexOne = [](Editor& e) {
    Select(e.p.Vertices, {1});
    RemoveSelectedVertices(e.p, e.editor.UndoVertices, e.editor.LineColor, e.ui);
};
const Step RemoveAllTheVertices = [](Editor& e) {
    RemoveAllVertices(e.p, e.editor.UndoVertices, e.ui);
};
const Step RemoveDoubles = [](Editor& e) { RemoveDoubleVertices(e.p, e.editor.LineColor, e.ui); };
const Step Interpolate = [](Editor& e) { AddInterpolatedVertices(e.p, e.editor.LineColor, e.ui); };
const Step InterpolateOne = [](Editor& e) {
    Select(e.p.Vertices, {0, 1});
    CreateInterpolatedVertex(e.p, e.ui);
};
const Step AddALine = [](Editor& e) { CreateLine(e.p, 2, 3, {}); };
const Step RemoveLineZero = [](Editor& e) {
    SelectRows(e.p.Lines, {true});
    RemoveSelectedLines(e.p, e.editor.UndoLines);
};
const Step RemoveAllTheLines = [](Editor& e) { RemoveAllLines(e.p, e.editor.UndoLines, e.ui); };
const Step RecolourLines = [](Editor& e) {
    SelectRows(e.p.Lines, {true, true});
    RedefineSelectedLineColor(e.p, e.editor.LineColor, e.editor.UndoLines, e.ui);
};
const Step RepickLineZero = [](Editor& e) {
    PickState pick(e.editor);
    pick.StartLineRedefinition(e.p, 0);
    for (std::size_t v : {2, 3})
        pick.Click(e.p, {VertexPickName(v)}, true, false, e.ui, e.ui);
};
const Step CreateTheVisLines = [](Editor& e) { CreateVisLines(e.p, {}, e.ui); };
const Step RemoveTheVisLines = [](Editor& e) { RemoveVisLines(e.p, e.ui); };
const Step ConvertTheVisLines = [](Editor& e) { ConvertVisLines(e.p, e.ui); };
const Step AddAPolygon = [](Editor& e) { CreatePolygon(e.p, {0, 1, 3, 0}, {}, e.ui); };
const Step RemovePolygonZero = [](Editor& e) {
    SelectRows(e.p.Polygons, {true});
    RemoveSelectedPolygons(e.p);
};
const Step RemoveNoPolygon = [](Editor& e) { RemoveSelectedPolygons(e.p); };
const Step RemoveAllThePolygons = [](Editor& e) { RemoveAllPolygons(e.p, e.ui); };
const Step RetexturePolygonZero = [](Editor& e) {
    SelectRows(e.p.Polygons, {true});
    ReassignSelectedTexture(e.p, 1, e.ui);
};
const Step RemoveTextureZero = [](Editor& e) { RemoveTexturesWhere(e.p, {true}); };
const Step RemoveNoTexture = [](Editor& e) { RemoveTexturesWhere(e.p, {}); };
const Step ReadAnotherProject = [](Editor& e) {
    ResetProject(e.p);
    ReadProjectText(e.p, TextOf(Other()), e.ui);
};
const Step MergeAProject = [](Editor& e) {
    MergeProjectText(e.p, "/x/m.3dp", TextOf(Other()), e.ui);
};
const Step ImportVertexText = [](Editor& e) {
    ReadVertexText(e.p, "v.vtx", VertexTextOf(Base()), e.ui);
};
const Step CancelVertexText = [](Editor& e) {
    e.ui.offsetAnswers = {std::nullopt}; // the offset dialog is closed
    ReadVertexText(e.p, "v.vtx", VertexTextOf(Base()), e.ui);
};
const Step Import3DOText = [](Editor& e) {
    Read3DOText(e.p, "t.txt", ThreeDOTextOf(Base()), e.ui, e.rng);
};
const Step ImportDxf = [](Editor& e) {
    ImportDxfText(e.p, "d.dxf",
                  "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  8\n0\n10\n7\n20\n8\n30\n9\n"
                  "  0\nENDSEC\n  0\nEOF\n",
                  DxfKind::Point, e.ui, e.rng);
};
const Step AddAVolume = [](Editor& e) { AddVolume(e.p, {2}, 4, e.ui); };
const Step ReboundVolumeZero = [](Editor& e) { SetVolumeRebound(e.p, 0, 9); };
const Step RemoveVolumeZero = [](Editor& e) { RemoveVolume(e.p, 0); };
const Step UndoVertices = [](Editor& e) {
    e.editor.UndoVertices.Restore(e.p, e.editor.LineColor, e.ui);
};
const Step UndoLines = [](Editor& e) { e.editor.UndoLines.Restore(e.p, e.ui); };
// "Add Line": the window takes the record, then two lines are picked in the view.
const Step StartAddLine = [](Editor& e) {
    e.editor.UndoLines.Take(e.p);
    e.ui.newLineAnswers = {NextElement::SameColor, NextElement::SameColor};
};
const Step PickTwoLines = [](Editor& e) {
    PickState pick(e.editor);
    pick.StartLineCreation(e.ui);
    for (std::size_t v : {2, 3, 0, 3})
        pick.Click(e.p, {VertexPickName(v)}, true, false, e.ui, e.ui);
};

std::string StateOf(const Project& p) {
    return TextOf(p) + std::to_string(p.VisLines.size());
}

// A new operation that changes a list gets a row here.
TEST(Revision, EveryChangeOfAListMovesItAndNoValueChangeDoes) {
    enum Effect { Shape, Values, Nothing };
    struct Case {
        const char* name;
        std::vector<Step> prepare;
        Step op;
        Effect effect;
    };
    const Case cases[] = {
        {"reset", {}, Reset, Shape},
        {"add vertex", {}, AddAVertex, Shape},
        {"delete vertex", {}, DeleteLastVertex, Shape},
        {"remove selected vertices", {}, RemoveVertexOne, Shape},
        {"remove all vertices", {}, RemoveAllTheVertices, Shape},
        {"remove double vertices", {}, RemoveDoubles, Shape},
        {"add interpolated vertices", {}, Interpolate, Shape},
        {"create interpolated vertex", {}, InterpolateOne, Shape},
        {"create line", {}, AddALine, Shape},
        {"remove selected lines", {}, RemoveLineZero, Shape},
        {"remove all lines", {}, RemoveAllTheLines, Shape},
        {"create visualization lines", {}, CreateTheVisLines, Shape},
        {"remove visualization lines", {CreateTheVisLines}, RemoveTheVisLines, Shape},
        {"convert visualization lines", {CreateTheVisLines}, ConvertTheVisLines, Shape},
        {"create polygon", {}, AddAPolygon, Shape},
        {"remove selected polygons", {}, RemovePolygonZero, Shape},
        {"remove all polygons", {}, RemoveAllThePolygons, Shape},
        {"remove a texture", {}, RemoveTextureZero, Shape},
        {"add a collision volume", {AddAPolygon}, AddAVolume, Shape},
        {"remove a collision volume", {}, RemoveVolumeZero, Shape},
        {"edit a volume's characteristic", {}, ReboundVolumeZero, Values},
        {"read a project", {}, ReadAnotherProject, Shape},
        {"merge a project", {}, MergeAProject, Shape},
        {"import vertex text", {}, ImportVertexText, Shape},
        {"import 3DOText", {}, Import3DOText, Shape},
        {"import DXF", {}, ImportDxf, Shape},
        {"vertex undo", {ModifyVertexZero}, UndoVertices, Shape},
        {"line undo", {RecolourLines}, UndoLines, Shape},
        {"modify vertices", {}, ModifyVertexZero, Values},
        {"recolour lines", {}, RecolourLines, Values},
        {"reassign a texture", {}, RetexturePolygonZero, Values},
        {"re-pick a line", {}, RepickLineZero, Values},
        {"remove no polygon", {}, RemoveNoPolygon, Nothing},
        {"remove no texture", {}, RemoveNoTexture, Nothing},
        {"remove doubles where there are none", {DeleteLastVertex}, RemoveDoubles, Nothing},
        {"cancelled import", {}, CancelVertexText, Nothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e;
        e.p = Base();
        for (const Step& step : c.prepare)
            step(e);
        const Project before = e.p;
        c.op(e);
        EXPECT_EQ(e.p.Revision != before.Revision, c.effect == Shape);
        EXPECT_EQ(StateOf(e.p) != StateOf(before), c.effect != Nothing);
    }
}

struct UndoCase {
    const char* name;
    std::vector<Step> steps;
    bool restored;
};

// A fresh record restores what its command changed; any other change of a list before "Undo"
// makes it stale: refused with a message, nothing changed, "Undo" disabled.
TEST(UndoRevision, VertexUndoRestoresOnlyOverTheListsItsCommandLeft) {
    const UndoCase cases[] = {
        {"Modify, Undo", {ModifyVertexZero}, true},
        {"Remove Selected, Undo", {RemoveVertexOne}, true},
        {"Modify, lines recoloured, nothing removed, Undo",
         {ModifyVertexZero, RecolourLines, RemoveNoPolygon},
         true},
        {"Modify, a line added, Undo", {ModifyVertexZero, AddALine}, false},
        {"Remove Selected, a project merged, Undo", {RemoveVertexOne, MergeAProject}, false},
        {"Modify, Remove Double Vertices, Undo", {ModifyVertexZero, RemoveDoubles}, false},
        {"Modify, another project read, Undo", {ModifyVertexZero, ReadAnotherProject}, false},
    };
    for (const UndoCase& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e;
        e.p = Base();
        for (const Step& step : c.steps)
            step(e);
        EXPECT_EQ(e.editor.UndoVertices.CanRestore(e.p), c.restored);
        const Project before = e.p;
        e.ui.messages.clear();
        EXPECT_EQ(e.editor.UndoVertices.Restore(e.p, e.editor.LineColor, e.ui), c.restored);
        if (c.restored) {
            EXPECT_EQ(e.p.Vertices.size(), 5u);
            EXPECT_EQ(e.p.Vertices[0].X, 0);
            EXPECT_EQ(e.p.Polygons.size(), 2u);
            EXPECT_TRUE(e.ui.messages.empty());
        } else {
            EXPECT_EQ(StateOf(e.p), StateOf(before));
            EXPECT_EQ(e.ui.messages, std::vector<std::string>{std::string(kUndoStaleMessage)});
        }
        EXPECT_FALSE(e.editor.UndoVertices.CanRestore(e.p));
    }
}

TEST(UndoRevision, LineUndoRestoresOnlyOverTheListsItsCommandLeft) {
    const UndoCase cases[] = {
        {"Remove Line(s), Undo", {RemoveLineZero}, true},
        {"Re-define Color, a vertex modified, Undo", {RecolourLines, ModifyVertexZero}, true},
        {"Add Line, two lines picked, Undo", {StartAddLine, PickTwoLines}, true},
        {"Add Line, a vertex removed while picking, Undo",
         {StartAddLine, RemoveVertexOne, PickTwoLines},
         false},
        {"Remove All Lines, visualization lines created, Undo",
         {RemoveAllTheLines, CreateTheVisLines},
         false},
        {"Re-define Color, a polygon removed, Undo", {RecolourLines, RemovePolygonZero}, false},
    };
    for (const UndoCase& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e;
        e.p = Base();
        for (const Step& step : c.steps)
            step(e);
        EXPECT_EQ(e.editor.UndoLines.Available(e.p), c.restored);
        const Project before = e.p;
        e.ui.messages.clear();
        const LineUndoResult result = e.editor.UndoLines.Restore(e.p, e.ui);
        EXPECT_EQ(result, c.restored ? LineUndoResult::Restored : LineUndoResult::Stale);
        if (c.restored) {
            ASSERT_EQ(e.p.Lines.size(), 2u);
            EXPECT_EQ(e.p.Lines[1].VertexIndices, (std::vector<int32_t>{1, 2}));
            EXPECT_EQ(e.p.Lines[1].Color, ColorTriple{});
        } else {
            EXPECT_EQ(StateOf(e.p), StateOf(before));
            EXPECT_EQ(e.ui.messages, std::vector<std::string>{std::string(kUndoStaleMessage)});
        }
        EXPECT_FALSE(e.editor.UndoLines.Available(e.p));
    }
}

} // namespace
} // namespace meshforge
