#include "meshfile/mesh_export.h"
#include "meshfile/mesh_import.h"
#include "texture/library.h"

#include "fake_images.h"
#include "fake_ui.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace meshforge {
namespace {

using test::FakeImages;
using test::FakeUi;

struct FaceSpec {
    std::vector<uint32_t> corners;
    int32_t texture = -1;
    std::vector<TexCoord> uvs = {};
};

MeshData Mesh(std::vector<MeshPosition> positions, std::vector<FaceSpec> faces,
              std::vector<std::string> textures = {}) {
    MeshData mesh;
    mesh.Positions = std::move(positions);
    mesh.Textures = std::move(textures);
    for (const FaceSpec& f : faces) {
        MeshFace face{static_cast<uint32_t>(mesh.Corners.size()),
                      static_cast<uint32_t>(f.corners.size()), f.texture, !f.uvs.empty()};
        mesh.Corners.insert(mesh.Corners.end(), f.corners.begin(), f.corners.end());
        mesh.Uvs.resize(mesh.Corners.size());
        std::copy(f.uvs.begin(), f.uvs.end(), mesh.Uvs.begin() + face.First);
        mesh.Faces.push_back(face);
    }
    return mesh;
}

// A Project holding one vertex at (1, 1, 1), as a file read earlier leaves it.
Project WithVertex() {
    Project p;
    p.Vertices = {{1, 1, 1, false}};
    p.HasGeometry = true;
    return p;
}

std::vector<std::vector<int32_t>> Rings(const Project& p) {
    std::vector<std::vector<int32_t>> rings;
    for (const ObjectData& polygon : p.Polygons)
        rings.push_back(polygon.VertexIndices);
    return rings;
}

TEST(MeshImport, ConvertsFacesAsTheDxfImportDoes) {
    const std::vector<MeshPosition> strip = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                             {1, 0, 0}, {2, 0, 0}, {1, 1, 0}};
    struct Case {
        const char* name;
        Project project;
        MeshData mesh;
        std::optional<Offset3> offset;
        std::size_t vertices;
        std::vector<std::vector<int32_t>> rings;
        std::vector<std::string> log;
    } cases[] = {
        {"a quad stays one polygon, a repeated position joins the first vertex",
         Project{},
         Mesh(strip, {{{0, 1, 2, 3}}, {{4, 5, 6}}}),
         std::nullopt,
         5,
         {{0, 1, 2, 3, 0}, {1, 4, 2, 1}},
         {"2 valid Polygons loaded from file m.obj", "No overlaying/double Vertices in project"}},
        {"adding: the offset moves the new corners onto an old vertex",
         WithVertex(),
         Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}}}),
         Offset3{1, 1, 1},
         3,
         {{0, 1, 2, 0}},
         {"1 additional Polygons added from file m.obj",
          "No overlaying/double Vertices in project"}},
        {"points and segments are left out; without any polygon the positions are vertices",
         Project{},
         Mesh({{0, 0, 0}, {3, 0, 0}, {0, 0, 0}}, {{{0}}, {{0, 1}}}),
         std::nullopt,
         2,
         {},
         {"2 points and lines of file m.obj left out", "2 valid Vertices loaded from file m.obj",
          "No overlaying/double Vertices in project"}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeUi ui;
        if (c.offset)
            ui.offsetAnswers.push_back(c.offset);
        FakeImages images;
        std::mt19937 rng(1);
        ColorTriple lineColor;
        const MeshImportResult r =
            ImportMesh(c.project, "m.obj", c.mesh, ui, rng, images, lineColor);
        EXPECT_EQ(r.Outcome, MeshImportOutcome::Imported);
        EXPECT_EQ(c.project.Vertices.size(), c.vertices);
        EXPECT_EQ(Rings(c.project), c.rings);
        EXPECT_EQ(ui.log, c.log);
        EXPECT_TRUE(c.project.HasGeometry);
        for (const ObjectData& polygon : c.project.Polygons)
            EXPECT_EQ(polygon.TextureIndex, kUntextured);
    }
}

TEST(MeshImport, RefusalsLeaveTheProjectAsItWas) {
    const std::string kInconsistent =
        "Unable to import from file 'm.obj'\r The file's mesh names corners it does not have !";
    struct Case {
        const char* name;
        MeshData mesh;
        bool answerOffset;
        MeshImportOutcome outcome;
        std::vector<std::string> messages;
    } cases[] = {
        {"a corner past the positions",
         Mesh({{0, 0, 0}}, {{{0, 0, 1}}}),
         false,
         MeshImportOutcome::Failed,
         {kInconsistent}},
        {"a face past the corners",
         [] {
             MeshData m = Mesh({{0, 0, 0}}, {{{0, 0, 0}}});
             m.Faces[0].Count = 4;
             return m;
         }(),
         false,
         MeshImportOutcome::Failed,
         {kInconsistent}},
        {"a texture the file does not list",
         Mesh({{0, 0, 0}}, {{{0, 0, 0}, 0}}),
         false,
         MeshImportOutcome::Failed,
         {kInconsistent}},
        {"nothing in the file",
         MeshData{},
         false,
         MeshImportOutcome::Empty,
         {"Sorry, no vertices in file m.obj"}},
        {"the offset dialog cancelled",
         Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}}}),
         true,
         MeshImportOutcome::OffsetCancelled,
         {}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Project p = WithVertex();
        const Project before = p;
        FakeUi ui;
        if (c.answerOffset)
            ui.offsetAnswers.push_back(std::nullopt);
        FakeImages images;
        std::mt19937 rng(1);
        ColorTriple lineColor;
        EXPECT_EQ(ImportMesh(p, "m.obj", c.mesh, ui, rng, images, lineColor).Outcome, c.outcome);
        EXPECT_EQ(ui.messages, c.messages);
        EXPECT_TRUE(ui.log.empty());
        EXPECT_EQ(p.Vertices.size(), before.Vertices.size());
        EXPECT_EQ(p.Polygons.size(), before.Polygons.size());
        EXPECT_EQ(p.Revision, before.Revision);
    }
}

TEST(MeshImport, TexturesFollowTheLibraryRules) {
    const std::vector<TexCoord> uvs = {{0.25f, 0.5f}, {1, 0}, {0, 1}};
    struct Case {
        const char* name;
        std::string texture;
        std::size_t existing; // entries already in the library
        bool withUv;
        int32_t index;
        std::vector<TexCoord> coords;
        std::string logged; // a refusal's log line
    } cases[] = {
        {"a bitmap beside the file, its coordinates kept",
         "wall.bmp",
         0,
         true,
         0,
         {uvs[0], uvs[1], uvs[2], {}},
         ""},
        {"without coordinates the defaults",
         "wall.bmp",
         0,
         false,
         0,
         {DefaultTexCoord(0), DefaultTexCoord(1), DefaultTexCoord(2), {}},
         ""},
        {"an entry of that name is reused",
         "sub/tex1.bmp",
         3,
         true,
         1,
         {uvs[0], uvs[1], uvs[2], {}},
         ""},
        {"a name too long",
         "longername.bmp",
         0,
         true,
         kUntextured,
         {},
         "Texture /d/longername.bmp not used: Filename must not exceed 8 characters !"},
        {"not a bitmap",
         "wall.png",
         0,
         true,
         kUntextured,
         {},
         "Texture /d/wall.png not used: Only Bitmap files (*.bmp) can be textures !"},
        {"a full library",
         "wall.bmp",
         kMaxTextures,
         true,
         kUntextured,
         {},
         "Texture /d/wall.bmp not used: No more than 998 textures allowed !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Project p;
        for (std::size_t i = 0; i < c.existing; ++i)
            p.Textures.push_back(FreshTextureEntry("/old/tex" + std::to_string(i) + ".bmp"));
        FakeUi ui;
        FakeImages images;
        images.Put("/d/wall.bmp", 64, 64);
        images.Put("/d/wall.png", 64, 64);
        images.Put("/d/longername.bmp", 64, 64);
        std::mt19937 rng(1);
        ColorTriple lineColor;
        const MeshData mesh =
            Mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
                 {{{0, 1, 2}, 0, c.withUv ? uvs : std::vector<TexCoord>{}}}, {c.texture});
        const MeshImportResult r = ImportMesh(p, "/d/m.obj", mesh, ui, rng, images, lineColor);
        ASSERT_EQ(r.Outcome, MeshImportOutcome::Imported);
        ASSERT_EQ(p.Polygons.size(), 1u);
        EXPECT_EQ(p.Polygons[0].TextureIndex, c.index);
        EXPECT_EQ(p.Polygons[0].TexCoords, c.coords);
        const bool added = c.index != kUntextured && c.existing == 0;
        EXPECT_EQ(r.NewTextures, added ? 1 : 0);
        EXPECT_EQ(p.Textures.size(), c.existing + (added ? 1 : 0));
        EXPECT_EQ(c.logged.empty(),
                  std::find(ui.log.begin(), ui.log.end(), c.logged) == ui.log.end());
    }
}

TEST(MeshImport, CountsAreCheckedBeforeRoomIsTaken) {
    struct Case {
        MeshCounts counts;
        std::optional<std::string> problem;
    } cases[] = {
        {{kMaxMeshPositions, kMaxMeshFaces, kMaxMeshCorners, kMaxFaceCorners}, std::nullopt},
        {{kMaxMeshPositions + 1, 1, 3, 3},
         "Unable to import from file 'm.obj'\r Too many Vertices !"},
        {{3, kMaxMeshFaces + 1, 3, 3}, "Unable to import from file 'm.obj'\r Too many Polygons !"},
        {{3, 1, kMaxMeshCorners + 1, 3},
         "Unable to import from file 'm.obj'\r Too many Polygons !"},
        {{3, 1, 3, kMaxFaceCorners + 1},
         "Unable to import from file 'm.obj'\r A face with 65537 corners !"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MeshCountsProblem("m.obj", c.counts), c.problem);
        if (c.problem) {
            MeshData mesh;
            std::string error;
            EXPECT_FALSE(PrepareMesh(mesh, c.counts, true, "m.obj", error));
            EXPECT_EQ(error, *c.problem);
            EXPECT_EQ(mesh.Corners.capacity(), 0u);
        }
    }
}

TEST(MeshExport, WritesVerticesLinesPolygonsAndMaterials) {
    Project p;
    p.ProjectName = "box";
    p.HasGeometry = true;
    p.Vertices = {{0, 0, 0}, {1.5f, 0, 0}, {1.5f, 2, 0}, {0, 2, -0.25f}};
    p.Textures = {FreshTextureEntry("/t/wall.bmp")};
    ObjectData line;
    line.VertexIndices = {0, 2};
    p.Lines = {line};
    ObjectData plain, textured, broken;
    plain.VertexIndices = {0, 1, 2, 0};
    plain.TextureIndex = kUntextured;
    textured.VertexIndices = {0, 2, 3, 0};
    textured.TextureIndex = 0;
    textured.TexCoords = {{0, 0}, {1, 1}, {0.5f, 1}, {0, 0}};
    broken.VertexIndices = {0, 9, 2, 0};
    broken.TextureIndex = kUntextured;
    p.Polygons = {plain, textured, broken, plain};
    int64_t written = 0;
    EXPECT_EQ(MeshObjText(p, "box.mtl", &written), "# box\nmtllib box.mtl\n"
                                                   "v 0 0 0\nv 1.5 0 0\nv 1.5 2 0\nv 0 2 -0.25\n"
                                                   "l 1 3\n"
                                                   "usemtl untextured\nf 1 2 3\n"
                                                   "usemtl texture0\nvt 0 0\nvt 1 1\nvt 0.5 1\n"
                                                   "f 1/1 3/2 4/3\n"
                                                   "usemtl untextured\nf 1 2 3\n");
    EXPECT_EQ(written, 3);
    EXPECT_EQ(MeshMtlText(p), "newmtl untextured\nKd 0.5 0.5 0.5\n\nnewmtl texture0\nKd 1 1 "
                              "1\nmap_Kd /t/wall.bmp\n");

    for (auto [obj, mtl] : {std::pair{"/a/car.obj", "/a/car.mtl"},
                            {"/a.b/car", "/a.b/car.mtl"},
                            {"car.x.obj", "car.x.mtl"}})
        EXPECT_EQ(MaterialFileFor(obj), mtl);

    test::TempDir dir;
    FakeUi ui;
    ASSERT_TRUE(ExportMeshObj(p, dir / "box.obj", ui));
    EXPECT_EQ(ui.log, std::vector<std::string>{"4 Vertices and 3 Polygons saved to file " +
                                               (dir / "box.obj")});
    EXPECT_TRUE(std::filesystem::exists(dir / "box.mtl"));
}

} // namespace
} // namespace meshforge
