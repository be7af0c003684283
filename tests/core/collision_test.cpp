#include "collision/collision.h"
#include "collision/display_class_choice.h"
#include "fake_ui.h"
#include "model/project.h"
#include "model/project_file.h"
#include "output/ase_writer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace meshforge {
namespace {

using test::FakeUi;

// Six quadrangles over eight vertices; polygon 5 is textured.
Project Sample(std::vector<CollVol> volumes) {
    Project p;
    p.Vertices.resize(8);
    for (int k = 0; k < 6; ++k) {
        ObjectData q;
        q.VertexIndices = {k, k + 1, k + 2, k + 3, k};
        q.TextureIndex = k == 5 ? 0 : kUntextured;
        p.Polygons.push_back(q);
    }
    p.Textures.resize(1);
    p.CollVols = std::move(volumes);
    return p;
}

std::vector<std::vector<int32_t>> PlanesOf(const Project& p) {
    std::vector<std::vector<int32_t>> out;
    for (const CollVol& v : p.CollVols) {
        out.push_back(v.PolygonIndices);
        out.back().insert(out.back().end(), v.Rebounds.begin(), v.Rebounds.end());
    }
    return out;
}

std::vector<int32_t> Highlighted(const Project& p) {
    std::vector<int32_t> out;
    for (std::size_t k = 0; k < p.Polygons.size(); ++k)
        if (p.Polygons[k].Selected)
            out.push_back(static_cast<int32_t>(k));
    return out;
}

// "Add" in the adding mode: the rules, their messages, and nothing changed on a refusal.
TEST(Collision, AddFollowsTheRulesAndNamesEveryConflict) {
    struct Case {
        const char* name;
        std::vector<CollVol> volumes;
        std::vector<int32_t> rows;
        std::vector<std::string> messages;
        std::vector<std::vector<int32_t>> planes; // indices then rebounds, per volume
    };
    const std::vector<std::vector<int32_t>> none;
    const Case cases[] = {
        {"ascending order", {}, {4, 2, 3}, {}, {{2, 3, 4, 10, 10, 10}}},
        {"each polygon once", {}, {3, 1, 3}, {}, {{1, 3, 10, 10}}},
        {"nothing selected", {}, {}, {"Select one or more Polygons from the list !"}, none},
        {"only rows outside the list",
         {},
         {6, -1},
         {"Select one or more Polygons from the list !"},
         none},
        {"a polygon of volume 1",
         {{{0}, {1}}, {{3}, {2}}},
         {3},
         {"Polygon No. 3 already used by Volume No.1"},
         {{0, 1}, {3, 2}}},
        {"every conflict, polygon by polygon and volume by volume",
         {{{1, 4}, {1, 1}}, {{3, 3}, {2, 2}}, {{4}, {5}}},
         {4, 3, 2},
         {"Polygon No. 3 already used by Volume No.1", "Polygon No. 4 already used by Volume No.0",
          "Polygon No. 4 already used by Volume No.2"},
         {{1, 4, 1, 1}, {3, 3, 2, 2}, {4, 5}}},
        {"free polygons beside a volume", {{{0}, {1}}}, {2, 1}, {}, {{0, 1}, {1, 2, 10, 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Project p = Sample(c.volumes);
        FakeUi ui;
        CollisionState state;
        StartAddVolume(p, state);
        state.Rebound = 10;
        HighlightPolygons(p, c.rows);
        const std::vector<int32_t> chosen = Highlighted(p);
        const bool added = ApplyPolygonPanel(p, state, c.rows, ui);
        EXPECT_EQ(added, c.messages.empty());
        EXPECT_EQ(ui.messages, c.messages);
        EXPECT_EQ(state.Mode, added ? CollisionMode::Browsing : CollisionMode::Adding);
        EXPECT_EQ(Highlighted(p), added ? std::vector<int32_t>{} : chosen);
        EXPECT_EQ(PlanesOf(p), c.planes.empty() ? PlanesOf(Sample(c.volumes)) : c.planes);
    }
}

std::string Describe(const CollisionControls& c) {
    std::string s = std::to_string(c.Width) + (c.PolygonPanel ? " panel" : "");
    for (auto [on, name] : {std::pair{c.VolumeList, " volumes"},
                            {c.PolyList, " polygons"},
                            {c.AddVolume, " add-volume"},
                            {c.EditRebound, " edit"},
                            {c.Remove, " remove"},
                            {c.RemoveAll, " remove-all"}})
        if (on)
            s += name;
    return s + " [" + std::string(c.AddButtonCaption) + "]";
}

// A session in the dialog, step by step: what the controls allow, what is highlighted, what the
// volumes are. Remove and Edit Rebound need a selected volume in every mode.
TEST(Collision, TheDialogsModesAndControls) {
    Project p = Sample({{{0, 1}, {1, 1}}, {{2}, {4}}, {{}, {}}});
    p.CurrentPolygon = 3;
    FakeUi ui;
    CollisionState state;
    using Step = std::function<void()>;
    struct Row {
        const char* name;
        Step step;
        const char* controls;
        std::vector<int32_t> highlighted;
        std::vector<std::vector<int32_t>> planes;
    };
    const std::vector<std::vector<int32_t>> start{{0, 1, 1, 1}, {2, 4}, {}};
    const Row rows[] = {
        {"open",
         [&] { OpenCollisionDialog(state); },
         "465 volumes add-volume remove-all [Add]",
         {},
         start},
        {"select volume 0",
         [&] { SelectVolume(p, state, 0); },
         "465 volumes add-volume edit remove remove-all [Add]",
         {0, 1},
         start},
        {"Edit Rebound", [&] { StartEditRebound(p, state); }, "650 panel [Edit]", {0, 1}, start},
        {"Edit",
         [&] {
             state.Rebound = 13;
             ApplyPolygonPanel(p, state, {}, ui);
         },
         "465 volumes add-volume remove-all [Add]",
         {},
         {{0, 1, 13, 13}, {2, 4}, {}}},
        {"Edit Rebound without a volume",
         [&] { StartEditRebound(p, state); },
         "465 volumes add-volume remove-all [Add]",
         {},
         {{0, 1, 13, 13}, {2, 4}, {}}},
        {"Add Volume",
         [&] {
             SelectVolume(p, state, 1);
             StartAddVolume(p, state);
         },
         "650 panel polygons [Add]",
         {},
         {{0, 1, 13, 13}, {2, 4}, {}}},
        {"polygons chosen",
         [&] {
             HighlightPolygons(p, {5, 4});
         },
         "650 panel polygons [Add]",
         {4, 5},
         {{0, 1, 13, 13}, {2, 4}, {}}},
        {"<<",
         [&] { LeavePolygonPanel(p, state); },
         "465 volumes add-volume remove-all [Add]",
         {},
         {{0, 1, 13, 13}, {2, 4}, {}}},
        {"select a row past the list",
         [&] { SelectVolume(p, state, 3); },
         "465 volumes add-volume remove-all [Add]",
         {},
         {{0, 1, 13, 13}, {2, 4}, {}}},
        {"Remove volume 0",
         [&] {
             SelectVolume(p, state, 0);
             RemoveSelectedVolume(p, state);
         },
         "465 volumes add-volume remove-all [Add]",
         {},
         {{2, 4}, {}}},
        {"Close drops the volume without planes",
         [&] { CloseCollisionDialog(p, state); },
         "465 volumes add-volume remove-all [Add]",
         {},
         {{2, 4}}},
        {"Remove All",
         [&] {
             OpenCollisionDialog(state);
             SelectVolume(p, state, 0);
             RemoveAllVolumes(p, state);
         },
         "465 volumes add-volume [Add]",
         {},
         {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        r.step();
        EXPECT_EQ(Describe(CollisionControlsOf(state, p)), r.controls);
        EXPECT_EQ(Highlighted(p), r.highlighted);
        EXPECT_EQ(PlanesOf(p), r.planes);
    }
    EXPECT_EQ(p.CurrentPolygon, kNoElement);
    EXPECT_TRUE(ui.messages.empty());
}

// Another window removed polygons while a volume was selected or being edited.
TEST(Collision, RefreshDropsASelectionThatIsGone) {
    for (CollisionMode mode : {CollisionMode::Browsing, CollisionMode::Editing}) {
        Project p = Sample({{{0}, {1}}, {{2}, {2}}});
        CollisionState state;
        SelectVolume(p, state, 1);
        state.Mode = mode;
        p.CollVols.pop_back();
        RefreshCollisionDialog(p, state);
        EXPECT_EQ(state.SelectedVolume, kNoVolume);
        EXPECT_EQ(state.Mode, CollisionMode::Browsing);
        EXPECT_TRUE(Highlighted(p).empty());
    }
}

TEST(Collision, ListItems) {
    Project p = Sample({{{2, 3, 4}, {10, 10, 10}}, {{5}, {42}}, {{}, {}}});
    p.CollVols.resize(1001);
    p.CollVols[1000] = {{1}, {15}};
    EXPECT_EQ(VolumeItem(p, 0), "0  : TireWall     2,3,4");
    EXPECT_EQ(VolumeItem(p, 1), "1  : 42           5");
    EXPECT_EQ(VolumeItem(p, 2), "2  :              ");
    EXPECT_EQ(VolumeItem(p, 1000), "1000: WoodFence    1");

    ObjectData polygon;
    polygon.VertexIndices = {0, 1, 2, 3, 0};
    struct Row {
        int32_t texture;
        std::size_t index;
        const char* item;
    };
    for (const Row& r : {Row{kUntextured, 7, "7  :  None  0,1,2,3"}, Row{2, 7, "7  :  2   0,1,2,3"},
                         Row{998, 1234, "1234:  998 0,1,2,3"}}) {
        polygon.TextureIndex = r.texture;
        EXPECT_EQ(PolygonItem(polygon, r.index), r.item);
    }
    EXPECT_EQ(PolygonItem(ObjectData{{}, {}, kUntextured, {}, false}, 0), "0  :  None  ");
}

// What the dialogs set, and codes without an entry that a file held, reach both files as they
// are.
TEST(Collision, VolumesAndClassReachTheProjectAndAseFiles) {
    Project p;
    p.Vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 1}};
    for (std::vector<int32_t> ring : {std::vector<int32_t>{0, 1, 2, 0}, {0, 2, 3, 0}, {1, 2, 3, 1}})
        p.Polygons.push_back({{}, ring, kUntextured, {}, false});
    FakeUi ui;
    ASSERT_TRUE(AddVolume(p, {2, 0}, 10, ui));
    ASSERT_TRUE(AddVolume(p, {1}, 3, ui));
    ASSERT_TRUE(SetDisplayClass(p, 19));
    for (auto [rebound, displayClass] : {std::pair{7, 19}, {42, 99}}) {
        SCOPED_TRACE(displayClass);
        ASSERT_TRUE(SetVolumeRebound(p, 1, rebound));
        p.DisplayClass = displayClass;
        Project read;
        ui.defaultAnswers = true;
        ASSERT_EQ(ReadProjectText(read, SerializeProject(p, {}, ui), ui), ReadOutcome::Completed);
        EXPECT_EQ(PlanesOf(read),
                  (std::vector<std::vector<int32_t>>{{0, 2, 10, 10}, {1, rebound}}));
        EXPECT_EQ(read.DisplayClass, displayClass);

        const std::string ase = AseFileText(read);
        const std::string planes = "*COLLISION_VOLUMES 2\r\n \r\n*COLLISION_PLANES 2\r\n"
                                   "*COLLISION_PLANE 10 ";
        EXPECT_NE(ase.find(planes), std::string::npos);
        EXPECT_NE(
            ase.find("*COLLISION_PLANES 1\r\n*COLLISION_PLANE " + std::to_string(rebound) + " "),
            std::string::npos);
        EXPECT_NE(ase.find("*DISPLAY_CLASS " + std::to_string(displayClass) + "\r\n"),
                  std::string::npos);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST(DisplayClass, TheDialogShowsAndStoresTheCode) {
    struct Row {
        int32_t code;
        std::size_t items, current;
        std::size_t chosen;
        int32_t stored;
    };
    for (const Row& r : {Row{3, 13, 3, 3, 3}, Row{20, 13, 12, 12, 20}, Row{0, 13, 0, 9, 17},
                         Row{42, 14, 13, 13, 42}, Row{42, 14, 13, 8, 8}}) {
        const DisplayClassChoice choice = DisplayClassChoiceOf(r.code);
        EXPECT_EQ(choice.Items.size(), r.items);
        EXPECT_EQ(choice.Current, r.current);
        EXPECT_EQ(DisplayClassOfItem(r.code, r.chosen), r.stored);
    }
    EXPECT_EQ(DisplayClassChoiceOf(42).Items.back(), "42");
    EXPECT_EQ(DisplayClassChoiceOf(20).Items[12], "Racing groove      (Entire Object on/off)");

    Project p;
    EXPECT_TRUE(SetDisplayClass(p, 20));
    EXPECT_FALSE(SetDisplayClass(p, 9));
    EXPECT_EQ(p.DisplayClass, 20);
}

} // namespace
} // namespace meshforge
