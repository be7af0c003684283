#include "edit/lines.h"

#include "app/commands.h"
#include "app/lifecycle.h"
#include "fake_ui.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace meshforge {
namespace {

using test::FakeUi;
using Ends = std::vector<int32_t>;

constexpr ColorTriple kGrey{0.5f, 0.5f, 0.5f};

// `n` vertices, all selected so that clearing the selection shows.
Project WithVertices(std::size_t n) {
    Project p;
    p.Vertices.resize(n);
    for (Vertex& v : p.Vertices)
        v.Selected = true;
    return p;
}

// Line i runs from vertex i to vertex i + 1, coloured by its index.
Project WithLines(std::size_t n) {
    Project p = WithVertices(n + 1);
    for (std::size_t i = 0; i < n; ++i)
        CreateLine(p, static_cast<int32_t>(i), static_cast<int32_t>(i + 1),
                   {static_cast<float>(i) / 10, 0, 0});
    return p;
}

std::vector<Ends> EndsOf(const std::vector<ObjectData>& lines) {
    std::vector<Ends> ends;
    for (const ObjectData& l : lines)
        ends.push_back(l.VertexIndices);
    return ends;
}

bool NoneSelected(const Project& p) {
    for (const Vertex& v : p.Vertices)
        if (v.Selected)
            return false;
    return true;
}

TEST(LineList, PadsTheIndexToThreeAndCutsLongerOnes) {
    ObjectData line;
    line.VertexIndices = {2, 3};
    EXPECT_EQ(LineListEntry(0, line), "0  :  2,3");
    EXPECT_EQ(LineListEntry(45, line), "45 :  2,3");
    EXPECT_EQ(LineListEntry(1234, line), "123:  2,3");
    Project p = WithLines(2);
    EXPECT_EQ(LineListEntries(p), (std::vector<std::string>{"0  :  0,1", "1  :  1,2"}));
}

TEST(LineRemoval, RemovesLinesOneAndThreeOfFive) {
    Project p = WithLines(5);
    EXPECT_TRUE(SelectRows(p.Lines, {false, true, false, true}));
    EXPECT_EQ(SelectedCount(p.Lines), 2u);
    p.CurrentLine = 1;
    LineUndoSnapshot undo;
    FakeUi ui;
    RemoveSelectedLines(p, undo);
    EXPECT_EQ(EndsOf(p.Lines), (std::vector<Ends>{{0, 1}, {2, 3}, {4, 5}}));
    EXPECT_EQ(LineListEntries(p),
              (std::vector<std::string>{"0  :  0,1", "1  :  2,3", "2  :  4,5"}));
    EXPECT_EQ(p.CurrentLine, kNoElement);

    ASSERT_TRUE(undo.Available(p));
    EXPECT_EQ(undo.Restore(p, ui), LineUndoResult::Restored);
    EXPECT_EQ(p.Lines.size(), 5u);
    EXPECT_EQ(p.Lines[3].Color, (ColorTriple{0.3f, 0, 0}));
    EXPECT_EQ(SelectedCount(p.Lines), 0u);
    EXPECT_FALSE(undo.Available(p));
}

TEST(LineRemoval, DeleteLineRemovesOnlyTheCurrentOne) {
    Project p = WithLines(3);
    p.CurrentLine = 1;
    EXPECT_TRUE(DeleteLine(p));
    EXPECT_EQ(EndsOf(p.Lines), (std::vector<Ends>{{0, 1}, {2, 3}}));
    EXPECT_EQ(p.CurrentLine, kNoElement);
    EXPECT_FALSE(DeleteLine(p)); // none is current now
    p.CurrentLine = 2;
    EXPECT_FALSE(DeleteLine(p));
    EXPECT_EQ(p.Lines.size(), 2u);
    EXPECT_EQ(p.CurrentLine, kNoElement);
}

TEST(LineRemoval, RemoveAllAsksAndCanBeUndone) {
    Project p = WithLines(3);
    LineUndoSnapshot undo;
    FakeUi ui;
    ui.answers = {Answer::No};
    EXPECT_FALSE(RemoveAllLines(p, undo, ui));
    EXPECT_EQ(p.Lines.size(), 3u);
    EXPECT_FALSE(undo.Available(p));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "Are you sure ?");
    EXPECT_EQ(ui.questions[0].caption, "Remove all Lines");
    EXPECT_EQ(ui.questions[0].buttons, Buttons::YesNo);

    ui.answers.push_back(Answer::Yes);
    p.CurrentLine = 0;
    EXPECT_TRUE(RemoveAllLines(p, undo, ui));
    EXPECT_TRUE(p.Lines.empty());
    EXPECT_EQ(p.CurrentLine, kNoElement);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"All Lines Cleared !"}));
    EXPECT_EQ(undo.Restore(p, ui), LineUndoResult::Restored);
    EXPECT_EQ(EndsOf(p.Lines), (std::vector<Ends>{{0, 1}, {1, 2}, {2, 3}}));
    EXPECT_FALSE(undo.Available(p));
    EXPECT_EQ(undo.Restore(p, ui), LineUndoResult::Empty);
    EXPECT_EQ(p.Lines.size(), 3u);
}

TEST(LineUndo, NeverRestoresPastTheVertices) {
    LineUndoSnapshot undo;
    FakeUi ui;
    Project p = WithLines(3); // lines up to vertex 3
    undo.Take(p);
    p.Vertices.resize(3); // behind the revision's back
    EXPECT_EQ(undo.Restore(p, ui), LineUndoResult::VertexMissing);
    EXPECT_EQ(p.Lines.size(), 3u);
    EXPECT_FALSE(undo.Available(p));

    undo.Take(p);
    undo.Discard();
    EXPECT_FALSE(undo.Available(p));
    EXPECT_EQ(undo.Restore(p, ui), LineUndoResult::Empty);
}

TEST(LineRecolor, SelectedLinesTakeTheCurrentColourEvenWhenCancelled) {
    Project p = WithLines(3);
    SelectRows(p.Lines, {true, false, true});
    ColorTriple current{0.2f, 0.4f, 0.6f};
    LineUndoSnapshot undo;
    FakeUi ui;
    ui.colorAnswers = {std::nullopt};
    RedefineSelectedLineColor(p, current, undo, ui);
    EXPECT_EQ(ui.colorInitials, (std::vector<std::uint32_t>{ColorRefOf({0.2f, 0.4f, 0.6f})}));
    EXPECT_EQ(p.Lines[0].Color, current);
    EXPECT_EQ(p.Lines[1].Color, (ColorTriple{0.1f, 0, 0}));
    EXPECT_EQ(p.Lines[2].Color, current);

    ui.colorAnswers.push_back(0x00FF0033);
    RedefineSelectedLineColor(p, current, undo, ui);
    EXPECT_EQ(current, (ColorTriple{0x33 / 255.0f, 0, 1}));
    EXPECT_EQ(p.Lines[2].Color, current);
    EXPECT_EQ(undo.Restore(p, ui), LineUndoResult::Restored);
    EXPECT_EQ(p.Lines[2].Color, (ColorTriple{0.2f, 0.4f, 0.6f}));
}

TEST(LineRecolor, EditPanelShowsOneColourAndRepicksFewerThanTwo) {
    Project p = WithLines(3);
    EXPECT_TRUE(EditPanelFor(p.Lines).RepickEnabled);
    EXPECT_FALSE(SelectRows(p.Lines, {}));
    SelectRows(p.Lines, {false, false, true});
    EditPanelState one = EditPanelFor(p.Lines);
    EXPECT_TRUE(one.RepickEnabled);
    EXPECT_EQ(one.SingleColor, (ColorTriple{0.2f, 0, 0}));
    SelectRows(p.Lines, {true, false, true});
    EditPanelState two = EditPanelFor(p.Lines);
    EXPECT_FALSE(two.RepickEnabled);
    EXPECT_FALSE(two.SingleColor);
}

TEST(VisLines, FourVerticesGiveAClosedLoop) {
    Project p = WithVertices(4);
    ColorTriple current = kGrey;
    EventMenuStates menus;
    FakeUi ui;
    ui.colorAnswers.push_back(0x000000FF);
    CreateVisLinesCommand(p, current, menus, ui);
    EXPECT_EQ(EndsOf(p.VisLines), (std::vector<Ends>{{0, 1}, {1, 2}, {2, 3}, {3, 0}}));
    for (const ObjectData& l : p.VisLines)
        EXPECT_EQ(l.Color, (ColorTriple{1, 0, 0}));
    EXPECT_EQ(current, (ColorTriple{1, 0, 0}));
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Creating subsequent lines:", "Pick color !",
                                                "4 subsequent Lines created"}));
    EXPECT_EQ(ui.colorInitials.size(), 1u);
    EXPECT_TRUE(NoneSelected(p));
    EXPECT_TRUE(p.Lines.empty());
    EXPECT_FALSE(menus.CreateVisLines);
    EXPECT_TRUE(menus.RemoveVisLines);
    EXPECT_TRUE(menus.ConvertVisLines);
}

TEST(VisLines, CreatedTwiceAreDoubled) {
    Project p = WithVertices(3);
    FakeUi ui;
    EXPECT_EQ(CreateVisLines(p, kGrey, ui), 3);
    EXPECT_EQ(CreateVisLines(p, ColorTriple{0, 1, 0}, ui), 3);
    EXPECT_EQ(EndsOf(p.VisLines),
              (std::vector<Ends>{{0, 1}, {1, 2}, {2, 0}, {0, 1}, {1, 2}, {2, 0}}));
    EXPECT_EQ(p.VisLines[2].Color, kGrey);
    EXPECT_EQ(p.VisLines[3].Color, (ColorTriple{0, 1, 0}));
    EXPECT_TRUE(ui.colorInitials.empty()); // not asked
}

TEST(VisLines, RemoveAndConvert) {
    Project p = WithLines(1); // vertices 0 and 1, line 0-1
    FakeUi ui;
    EventMenuStates menus;
    CreateVisLines(p, kGrey, ui);
    ui.log.clear();
    p.Vertices[0].Selected = true;
    ConvertVisLinesCommand(p, menus, ui);
    EXPECT_EQ(EndsOf(p.Lines), (std::vector<Ends>{{0, 1}, {0, 1}, {1, 0}}));
    EXPECT_EQ(p.Lines[2].Color, kGrey);
    EXPECT_TRUE(p.VisLines.empty());
    EXPECT_TRUE(NoneSelected(p));
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Subsequent Lines removed",
                                                "Converted visualization lines to 3DO lines"}));
    EXPECT_TRUE(menus.CreateVisLines);
    EXPECT_FALSE(menus.RemoveVisLines || menus.ConvertVisLines);

    ColorTriple current = kGrey;
    ui.colorAnswers = {std::nullopt};
    CreateVisLinesCommand(p, current, menus, ui);
    ui.log.clear();
    p.Vertices[1].Selected = true;
    RemoveVisLinesCommand(p, menus, ui);
    EXPECT_TRUE(p.VisLines.empty());
    EXPECT_EQ(p.Lines.size(), 3u);
    EXPECT_TRUE(NoneSelected(p));
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Subsequent Lines removed"}));
    EXPECT_TRUE(menus.CreateVisLines);
    EXPECT_FALSE(menus.RemoveVisLines || menus.ConvertVisLines);
}

TEST(VisLineRebuild, RecreatesOverTheNewVerticesInTheFirstLinesColour) {
    Project p = WithVertices(4);
    FakeUi ui;
    const ColorTriple first{0, 0, 1};
    CreateVisLines(p, first, ui);
    CreateVisLines(p, kGrey, ui);
    ColorTriple current = kGrey;
    ui.log.clear();
    std::size_t visLinesDuringCommand = 99;
    EXPECT_TRUE(RebuildVisLinesAround(p, current, ui, [&] {
        visLinesDuringCommand = p.VisLines.size();
        p.Vertices.pop_back();
    }));
    EXPECT_EQ(visLinesDuringCommand, 0u);
    EXPECT_EQ(current, first);
    EXPECT_EQ(EndsOf(p.VisLines), (std::vector<Ends>{{0, 1}, {1, 2}, {2, 0}}));
    EXPECT_EQ(p.VisLines[1].Color, first);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"Subsequent Lines removed",
                                                "Creating subsequent lines:", "Pick color !",
                                                "3 subsequent Lines created"}));
    EXPECT_TRUE(ui.colorInitials.empty());
}

TEST(VisLineRebuild, LeavesThingsAloneWithoutVisLinesAndSurvivesAThrow) {
    Project p = WithVertices(3);
    FakeUi ui;
    ColorTriple current = kGrey;
    int runs = 0;
    EXPECT_FALSE(RebuildVisLinesAround(p, current, ui, [&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(p.VisLines.empty());
    EXPECT_TRUE(ui.log.empty());

    CreateVisLines(p, ColorTriple{0, 1, 0}, ui);
    EXPECT_THROW(RebuildVisLinesAround(p, current, ui,
                                       [&] {
                                           p.Vertices.resize(2);
                                           throw std::runtime_error("half-way");
                                       }),
                 std::runtime_error);
    EXPECT_EQ(EndsOf(p.VisLines), (std::vector<Ends>{{0, 1}, {1, 0}}));
    EXPECT_EQ(current, (ColorTriple{0, 1, 0}));
}

} // namespace
} // namespace meshforge
