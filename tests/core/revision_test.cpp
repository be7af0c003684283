// The Project's revision and the undo records that depend on it.
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
#include <random>
#include <string>
#include <vector>

namespace meshforge {
namespace {

using test::FakeUi;

struct Editor {
    Project p;
    EditorState editor{1};
    FakeUi ui;
    std::mt19937 rng{1};
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
    return SerializeProject(p, {}, quiet);
}

void Select(std::vector<Vertex>& vertices, std::initializer_list<std::size_t> which) {
    for (std::size_t i : which)
        vertices[i].Selected = true;
}

const Step kNothing;

TEST(Revision, EveryChangeOfAListMovesItAndNoValueChangeDoes) {
    enum Effect { Shape, Values, Nothing };
    struct Case {
        const char* name;
        Effect effect;
        Step op;
        Step prepare = kNothing;
    };
    const Case cases[] = {
        {"reset", Shape, [](Editor& e) { ResetProject(e.p); }},
        {"add vertex", Shape,
         [](Editor& e) {
             AddVertex(e.p, {"1", "2", "3"}, e.ui);
         }},
        {"delete vertex", Shape, [](Editor& e) { DeleteVertex(e.p, 4); }},
        {"remove selected vertices", Shape,
         [](Editor& e) {
             Select(e.p.Vertices, {3});
             RemoveSelectedVertices(e.p, e.editor.UndoVertices, e.editor.LineColor, e.ui);
         }},
        {"remove all vertices", Shape,
         [](Editor& e) {
             e.ui.answers = {Answer::Yes};
             RemoveAllVertices(e.p, e.editor.UndoVertices, e.ui);
         }},
        {"remove double vertices", Shape, [](Editor& e) { MergeDoubleVertices(e.p); }},
        {"add interpolated vertices", Shape,
         [](Editor& e) {
             e.ui.answers = {Answer::Yes};
             AddInterpolatedVertices(e.p, e.editor.LineColor, e.ui);
         }},
        {"create interpolated vertex", Shape,
         [](Editor& e) {
             Select(e.p.Vertices, {0, 1});
             CreateInterpolatedVertex(e.p, e.ui);
         }},
        {"create line", Shape, [](Editor& e) { CreateLine(e.p, 2, 3, {}); }},
        {"remove selected lines", Shape,
         [](Editor& e) {
             SelectRows(e.p.Lines, {true});
             RemoveSelectedLines(e.p, e.editor.UndoLines);
         }},
        {"remove all lines", Shape,
         [](Editor& e) {
             e.ui.answers = {Answer::Yes};
             RemoveAllLines(e.p, e.editor.UndoLines, e.ui);
         }},
        {"create visualization lines", Shape, [](Editor& e) { CreateVisLines(e.p, {}, e.ui); }},
        {"remove visualization lines", Shape, [](Editor& e) { RemoveVisLines(e.p, e.ui); },
         [](Editor& e) { CreateVisLines(e.p, {}, e.ui); }},
        {"convert visualization lines", Shape, [](Editor& e) { ConvertVisLines(e.p, e.ui); },
         [](Editor& e) { CreateVisLines(e.p, {}, e.ui); }},
        {"create polygon", Shape,
         [](Editor& e) {
             CreatePolygon(e.p, {0, 1, 3, 0}, {}, e.ui);
         }},
        {"remove selected polygons", Shape,
         [](Editor& e) {
             SelectRows(e.p.Polygons, {true});
             RemoveSelectedPolygons(e.p);
         }},
        {"remove all polygons", Shape,
         [](Editor& e) {
             e.ui.answers = {Answer::Yes};
             RemoveAllPolygons(e.p, e.ui);
         }},
        {"remove a texture", Shape, [](Editor& e) { RemoveTexturesWhere(e.p, {true}); }},
        {"read a project", Shape, [](Editor& e) { ReadProjectText(e.p, TextOf(Other()), e.ui); }},
        {"merge a project", Shape,
         [](Editor& e) {
             e.ui.offsetAnswers = {Offset3{}};
             MergeProjectText(e.p, "/x/m.3dp", TextOf(Base()), e.ui);
         }},
        {"import vertex text", Shape,
         [](Editor& e) {
             e.ui.offsetAnswers = {Offset3{}};
             ReadVertexText(e.p, "v.vtx", VertexTextOf(Base()), e.ui);
         }},
        {"import 3DOText", Shape,
         [](Editor& e) {
             e.ui.offsetAnswers = {Offset3{}};
             Read3DOText(e.p, "t.txt", ThreeDOTextOf(Base()), e.ui, e.rng);
         }},
        {"import DXF", Shape,
         [](Editor& e) {
             e.ui.offsetAnswers = {Offset3{}};
             ImportDxfText(e.p, "d.dxf",
                           "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  8\n0\n10\n7\n20\n8\n30\n9\n"
                           "  0\nENDSEC\n  0\nEOF\n",
                           DxfKind::Point, e.ui, e.rng);
         }},
        {"vertex undo", Shape,
         [](Editor& e) { e.editor.UndoVertices.Restore(e.p, e.editor.LineColor, e.ui); },
         [](Editor& e) {
             Select(e.p.Vertices, {0});
             ModifySelectedVertices(e.p, {"5", "", ""}, e.editor.UndoVertices, e.ui);
         }},
        {"line undo", Shape, [](Editor& e) { e.editor.UndoLines.Restore(e.p, e.ui); },
         [](Editor& e) {
             SelectRows(e.p.Lines, {true});
             RedefineSelectedLineColor(e.p, e.editor.LineColor, e.editor.UndoLines, e.ui);
         }},

        {"modify vertices", Values,
         [](Editor& e) {
             Select(e.p.Vertices, {0});
             ModifySelectedVertices(e.p, {"5", "", ""}, e.editor.UndoVertices, e.ui);
         }},
        {"recolour lines", Values,
         [](Editor& e) {
             SelectRows(e.p.Lines, {true, true});
             RedefineSelectedLineColor(e.p, e.editor.LineColor, e.editor.UndoLines, e.ui);
         }},
        {"reassign a texture", Values,
         [](Editor& e) {
             SelectRows(e.p.Polygons, {true});
             ReassignSelectedTexture(e.p, 1, e.ui);
         }},
        {"redefine a line by picking", Values,
         [](Editor& e) {
             PickState pick(e.editor);
             pick.StartLineRedefinition(e.p, 0);
             pick.Click(e.p, {VertexPickName(2)}, true, false, e.ui);
             pick.Click(e.p, {VertexPickName(3)}, true, false, e.ui);
         }},
        {"remove no polygon", Nothing, [](Editor& e) { RemoveSelectedPolygons(e.p); }},
        {"remove no texture", Nothing, [](Editor& e) { RemoveTexturesWhere(e.p, {}); }},
        {"remove doubles where there are none", Nothing,
         [](Editor& e) { MergeDoubleVertices(e.p); }, [](Editor& e) { DeleteVertex(e.p, 4); }},
        {"cancelled import", Nothing,
         [](Editor& e) { ReadVertexText(e.p, "v.vtx", VertexTextOf(Base()), e.ui); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e;
        e.p = Base();
        if (c.prepare)
            c.prepare(e);
        const Project before = e.p;
        c.op(e);
        EXPECT_EQ(e.p.Revision != before.Revision, c.effect == Shape);
        // Whether the operation changed anything at all.
        auto state = [](const Project& p) { return TextOf(p) + std::to_string(p.VisLines.size()); };
        EXPECT_EQ(state(e.p) != state(before), c.effect != Nothing);
    }
}

// Steps a user can take between taking an undo record and pressing "Undo".
void ModifyVertexZero(Editor& e) {
    Select(e.p.Vertices, {0});
    ModifySelectedVertices(e.p, {"5", "", ""}, e.editor.UndoVertices, e.ui);
}
void RemoveVertexOne(Editor& e) {
    Select(e.p.Vertices, {1});
    RemoveSelectedVertices(e.p, e.editor.UndoVertices, e.editor.LineColor, e.ui);
}
void AddALine(Editor& e) {
    CreateLine(e.p, 2, 3, {});
}
void MergeAProject(Editor& e) {
    e.ui.offsetAnswers = {Offset3{}};
    MergeProjectText(e.p, "/x/m.3dp", TextOf(Other()), e.ui);
}
void RemoveDoubles(Editor& e) {
    RemoveDoubleVertices(e.p, e.editor.LineColor, e.ui);
}
void ReadAnotherProject(Editor& e) {
    ResetProject(e.p);
    e.p.ProjectFileName = "/x/other.3dp";
    ReadProjectText(e.p, TextOf(Other()), e.ui);
}
void RecolourLines(Editor& e) {
    SelectRows(e.p.Lines, {true, true});
    RedefineSelectedLineColor(e.p, e.editor.LineColor, e.editor.UndoLines, e.ui);
}
void RemoveNoPolygon(Editor& e) {
    RemoveSelectedPolygons(e.p);
}
void RemoveLineZero(Editor& e) {
    SelectRows(e.p.Lines, {true});
    RemoveSelectedLines(e.p, e.editor.UndoLines);
}
void RemoveAllTheLines(Editor& e) {
    e.ui.answers = {Answer::Yes};
    RemoveAllLines(e.p, e.editor.UndoLines, e.ui);
}
void CreateTheVisLines(Editor& e) {
    CreateVisLines(e.p, {}, e.ui);
}
void RemovePolygonZero(Editor& e) {
    SelectRows(e.p.Polygons, {true});
    RemoveSelectedPolygons(e.p);
}
// "Add Line": the window takes the record, then lines are picked in the view.
void StartAddLine(Editor& e) {
    e.editor.UndoLines.Take(e.p);
    e.ui.newLineAnswers = {NextElement::SameColor, NextElement::SameColor};
}
void PickTwoLines(Editor& e) {
    PickState pick(e.editor);
    pick.StartLineCreation(e.ui);
    for (std::size_t v : {2, 3, 0, 3})
        pick.Click(e.p, {VertexPickName(v)}, true, false, e.ui);
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
            EXPECT_EQ(TextOf(e.p), TextOf(before));
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
        if (c.restored) {
            EXPECT_EQ(result, LineUndoResult::Restored);
            ASSERT_EQ(e.p.Lines.size(), 2u);
            EXPECT_EQ(e.p.Lines[1].VertexIndices, (std::vector<int32_t>{1, 2}));
            EXPECT_EQ(e.p.Lines[1].Color, ColorTriple{});
        } else {
            EXPECT_EQ(result, LineUndoResult::Stale);
            EXPECT_EQ(TextOf(e.p), TextOf(before));
            EXPECT_EQ(e.ui.messages, std::vector<std::string>{std::string(kUndoStaleMessage)});
        }
        EXPECT_FALSE(e.editor.UndoLines.Available(e.p));
    }
}

} // namespace
} // namespace meshforge
