#include "edit/edit_windows.h"
#include "fake_ui.h"

#include <gtest/gtest.h>

using namespace meshforge;
using meshforge::test::FakeUi;

namespace {

ObjectData Element(bool selected) {
    ObjectData e{{0.5f, 0.5f, 0.5f}, {0, 1}, kUntextured, {}};
    e.Selected = selected;
    return e;
}

} // namespace

TEST(EditWindows, ListButtonsFollowTheListsAndTheSelection) {
    struct Case {
        const char* what;
        std::size_t vertices;
        std::vector<bool> selected; // one element per flag
        bool panel;
        ListWindowButtons lines, polygons; // Add, RemoveSelected, EditSelected, RemoveAll, List
    };
    const Case cases[] = {
        {"empty Project",
         0,
         {},
         false,
         {false, false, false, false, true},
         {false, false, false, false, true}},
        {"two vertices",
         2,
         {},
         false,
         {true, false, false, false, true},
         {false, false, false, false, true}},
        {"elements, none selected",
         3,
         {false, false},
         false,
         {true, false, false, true, true},
         {true, false, false, true, true}},
        {"one selected",
         3,
         {false, true},
         false,
         {true, true, true, true, true},
         {true, true, true, true, true}},
        {"edit panel open", 3, {true}, true, {}, {}},
    };
    for (const Case& c : cases) {
        Project p;
        p.Vertices.resize(c.vertices);
        for (bool s : c.selected) {
            p.Lines.push_back(Element(s));
            p.Polygons.push_back(Element(s));
        }
        auto same = [](const ListWindowButtons& a, const ListWindowButtons& b) {
            return a.Add == b.Add && a.RemoveSelected == b.RemoveSelected &&
                   a.EditSelected == b.EditSelected && a.RemoveAll == b.RemoveAll &&
                   a.List == b.List;
        };
        EXPECT_TRUE(same(LineWindowButtons(p, c.panel), c.lines)) << c.what;
        EXPECT_TRUE(same(PolygonWindowButtons(p, c.panel), c.polygons)) << c.what;
    }

    Project p;
    p.Vertices.resize(2);
    EXPECT_FALSE(VertexButtons(p).RemoveSelected);
    EXPECT_TRUE(VertexButtons(p).RemoveAll);
    p.Vertices[1].Selected = true;
    EXPECT_TRUE(VertexButtons(p).RemoveSelected);
}

TEST(EditWindows, RepickAsksOnceForTheFirstSelectedElement) {
    std::vector<ObjectData> elements = {Element(false), Element(true), Element(true)};
    struct Case {
        Answer answer;
        std::optional<bool> withMouse; // nullopt: cancelled
    };
    for (const Case& c :
         {Case{Answer::Yes, true}, Case{Answer::No, false}, Case{Answer::Cancel, std::nullopt}}) {
        FakeUi ui;
        ui.answers = {c.answer};
        std::optional<Repick> r = AskRepick(elements, ui);
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0].text, "Re-Pick vertices with the mouse?");
        EXPECT_EQ(ui.questions[0].caption, "Vertex selection method");
        EXPECT_EQ(r.has_value(), c.withMouse.has_value());
        if (r) {
            EXPECT_EQ(r->Index, 1u);
            EXPECT_EQ(r->WithMouse, *c.withMouse);
        }
    }
    FakeUi ui;
    Deselect(elements);
    EXPECT_FALSE(AskRepick(elements, ui)); // nothing selected: nothing asked
    EXPECT_TRUE(ui.questions.empty());
}
