#include "output/ase_writer.h"

#include "fake_ui.h"
#include "temp_dir.h"
#include "util/atomic_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace meshforge {
namespace {

using test::FakeUi;

std::string Golden(const std::string& name) {
    return ReadWholeFile(std::string(MESHFORGE_TEST_DATA) + "/ase/" + name);
}

Project OneTriangle() {
    Project p;
    p.Vertices = {{0, 0, 5}, {1, 0, 5}, {0, 1, 5}, {2.5f, -1.25f, 0.333333f}};
    p.Textures = {{"/tex/wall.bmp", 0, "", 0, 14540253}};
    p.Polygons = {{{}, {0, 1, 2, 0}, 0, {{0, 0}, {1, 0}, {0.5f, 1}}, false}};
    p.Lines = {{{1, 0.5f, 0.25f}, {0, 3}, 0, {}, false}};
    p.DisplayClass = 8;
    p.CollVols = {{{0}, {4}}};
    return p;
}

Project ThreeMaterials() {
    Project p;
    p.Vertices = {{0, 0, 0},        {10, 0, 0},         {10, 10, 0},
                  {0, 10, 0},       {-1.5f, 2.25f, -3}, {100000, 0.1f, -0.001f},
                  {12345678, 0, 0}, {-0.000001f, 0, 0}};
    p.Textures = {{"/a/brick.bmp", 0, "", 0, 0x000000FF},
                  {"C:\\tex\\roof_1.bmp", 1, "C:\\tex\\roof_1_mask.bmp", 0, 0x00804020},
                  {"/x/sky.bmp", 0, "", 0, 0x80000005}}; // a system colour: clWindow
    p.Polygons.push_back({{}, {2, 1, 0, 2}, 2, {{0, 0}, {0.25f, 0.75f}, {1, 1}}, false});
    p.Polygons.push_back({{}, {0, 1, 2, 3, 0}, 1, {{0, 0}, {0, 2}, {3, 2}, {3, 0}}, false});
    ObjectData octagon{{}, {0, 1, 2, 3, 4, 5, 6, 7, 0}, 0, {}, false};
    for (int k = 0; k < 8; ++k)
        octagon.TexCoords.push_back({k / 8.0f, 1 - k / 8.0f});
    p.Polygons.push_back(octagon);
    p.DisplayClass = 17;
    return p;
}

TEST(AseWriter, MatchesTheHandWrittenFiles) {
    EXPECT_EQ(AseFileText(OneTriangle()), Golden("one_triangle.ase"));
    EXPECT_EQ(AseFileText(ThreeMaterials()), Golden("three_materials.ase"));
}

TEST(AseWriter, MaterialBlockOnlyWithPolygons) {
    const std::string header = "*COMMENT \">>>> - Exported by Meshforge - <<<<\"\r\n"
                               "*COMMENT \"Caution: Crippled ASE file - Do not use with 3DSMAX "
                               "!\"\r\n \r\n";
    Project p;
    p.Vertices = {{0, 0, 0}};
    p.Textures = {{"/t/a.bmp", 0, "", 0, 0}};
    EXPECT_EQ(AseFileText(p), header);
    p.Textures.clear();
    p.Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    p.Polygons = {{{}, {0, 1, 2, 0}, 0, {}, false}}; // no pairs stored: the defaults are written
    const std::string text = AseFileText(p);
    const std::string start = header + " \r\n*GEOMOBJECT\r\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_NE(text.find("*MESH_TVERT 1 0.00000 1.00000 0.0000\r\n"), std::string::npos);
    EXPECT_NE(text.find("*MESH_TVERT 2 1.00000 1.00000 0.0000\r\n"), std::string::npos);
}

TEST(AseWriter, CollisionPlanes) {
    struct Case {
        const char* what;
        std::vector<Vertex> corners;
        std::optional<PlaneEquation> plane;
    };
    const float r = 1 / std::sqrt(2.0f);
    const Case cases[] = {
        {"z = 5, counter-clockwise from above",
         {{0, 0, 5}, {1, 0, 5}, {0, 1, 5}},
         PlaneEquation{0, 0, -1, 5}},
        {"clockwise", {{0, 0, 5}, {0, 1, 5}, {1, 0, 5}}, PlaneEquation{0, 0, 1, -5}},
        {"x + y = 1", {{1, 0, 0}, {0, 1, 0}, {0, 1, 1}}, PlaneEquation{-r, -r, 0, r}},
        // First three corners on a line: the whole ring decides.
        {"collinear start",
         {{0, 0, 2}, {1, 0, 2}, {2, 0, 2}, {2, 2, 2}, {0, 2, 2}},
         PlaneEquation{0, 0, -1, 2}},
        {"no area", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, std::nullopt},
        {"two corners", {{0, 0, 0}, {1, 0, 0}}, std::nullopt},
    };
    for (const Case& c : cases) {
        Project p;
        p.Vertices = c.corners;
        ObjectData polygon;
        for (int32_t k = 0; k < int32_t(c.corners.size()); ++k)
            polygon.VertexIndices.push_back(k);
        polygon.VertexIndices.push_back(0);
        std::optional<PlaneEquation> e = CollisionPlane(p, polygon);
        ASSERT_EQ(e.has_value(), c.plane.has_value()) << c.what;
        if (!e)
            continue;
        EXPECT_NEAR(e->A, c.plane->A, 1e-6) << c.what;
        EXPECT_NEAR(e->B, c.plane->B, 1e-6) << c.what;
        EXPECT_NEAR(e->C, c.plane->C, 1e-6) << c.what;
        EXPECT_NEAR(e->D, c.plane->D, 1e-5) << c.what;
    }
}

TEST(AseWriter, WriteRefusesAPlaneWithoutAreaAndLogsOnlyWhatItWrote) {
    test::TempDir dir;
    const std::string path = (dir.path / "out.ase").string();
    Project p = OneTriangle();
    p.Vertices[2] = {2, 0, 5}; // the triangle collapses onto a line
    FakeUi ui;
    EXPECT_FALSE(WriteAseFile(p, path, ui));
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Polygon 0 of collision volume 0 has no area: it has no "
                                        "plane to collide with !"}));
    EXPECT_TRUE(ui.log.empty());
    EXPECT_FALSE(std::filesystem::exists(path));

    p = OneTriangle();
    p.Textures[0].BackColor = 0x1FFFFFFF; // clNone
    ASSERT_TRUE(WriteAseFile(p, path, ui));
    EXPECT_EQ(ReadWholeFile(path), AseFileText(p));
    EXPECT_NE(ReadWholeFile(path).find("*MATERIAL_DIFFUSE 0.86667 0.86667 0.86667"),
              std::string::npos);
    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "Texture 0: background colour $1FFFFFFF is no colour, written as "
                          "221,221,221",
                          "ASE-file " + path + " saved !"}));

    FakeUi failing;
    EXPECT_FALSE(WriteAseFile(p, (dir.path / "missing" / "out.ase").string(), failing));
    EXPECT_EQ(failing.messages.size(), 1u);
    EXPECT_TRUE(failing.log.empty());
}

} // namespace
} // namespace meshforge
