#include "mesh/assimp_mesh.h"

#include "fake_images.h"
#include "fake_ui.h"
#include "meshfile/mesh_export.h"
#include "temp_dir.h"

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace meshforge {
namespace {

using test::FakeImages;
using test::FakeUi;

// A quad and a triangle on five vertices, with texture coordinates and a bitmap, placed by a
// node that moves it by (10, 0, 0).
std::unique_ptr<aiScene> StripScene() {
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("root");
    auto* child = new aiNode("strip");
    child->mTransformation = aiMatrix4x4(1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    child->mParent = scene->mRootNode;
    child->mNumMeshes = 1;
    child->mMeshes = new unsigned[1]{0};
    scene->mRootNode->mNumChildren = 1;
    scene->mRootNode->mChildren = new aiNode* [1] { child };

    auto* material = new aiMaterial;
    aiString texture("wall.bmp");
    material->AddProperty(&texture, AI_MATKEY_TEXTURE_DIFFUSE(0));
    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial* [1] { material };

    auto* mesh = new aiMesh;
    mesh->mPrimitiveTypes = aiPrimitiveType_POLYGON | aiPrimitiveType_TRIANGLE;
    const aiVector3D at[5] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5f, 2, 0.5f}};
    mesh->mNumVertices = 5;
    mesh->mVertices = new aiVector3D[5];
    mesh->mNormals = new aiVector3D[5];
    mesh->mTextureCoords[0] = new aiVector3D[5];
    mesh->mNumUVComponents[0] = 2;
    for (unsigned i = 0; i < 5; ++i) {
        mesh->mVertices[i] = at[i];
        mesh->mNormals[i] = {0, 0, 1};
        mesh->mTextureCoords[0][i] = {at[i].x, at[i].y / 2, 0};
    }
    mesh->mNumFaces = 2;
    mesh->mFaces = new aiFace[2];
    const std::vector<unsigned> corners[2] = {{0, 1, 2, 3}, {3, 2, 4}};
    for (unsigned f = 0; f < 2; ++f) {
        mesh->mFaces[f].mNumIndices = static_cast<unsigned>(corners[f].size());
        mesh->mFaces[f].mIndices = new unsigned[corners[f].size()];
        std::copy(corners[f].begin(), corners[f].end(), mesh->mFaces[f].mIndices);
    }
    scene->mNumMeshes = 1;
    scene->mMeshes = new aiMesh* [1] { mesh };
    return scene;
}

struct Imported {
    Project project;
    std::string error;
};

Imported ReadAndImport(const std::string& path, FakeImages& images) {
    Imported out;
    MeshData mesh;
    if (!ReadMeshFile(path, mesh, out.error))
        return out;
    FakeUi ui;
    std::mt19937 rng(1);
    ColorTriple lineColor;
    EXPECT_EQ(ImportMesh(out.project, path, mesh, ui, rng, images, lineColor).Outcome,
              MeshImportOutcome::Imported);
    return out;
}

std::vector<std::size_t> Corners(const Project& p) {
    std::vector<std::size_t> corners;
    for (const ObjectData& polygon : p.Polygons)
        corners.push_back(polygon.VertexIndices.size() - 1);
    std::sort(corners.begin(), corners.end());
    return corners;
}

TEST(AssimpMesh, ReadsTheFormatsAssimpAndMeshLabWrite) {
    test::TempDir dir;
    const std::string data =
        std::getenv("MESHFORGE_TEST_DATA") ? std::getenv("MESHFORGE_TEST_DATA") : "";
    struct Case {
        const char* format; // Assimp's exporter, or empty for a MeshLab file
        std::string file;
        unsigned steps; // what the exporter needs done first
        float dx;       // the node's move, where the format keeps nodes
        bool placed;    // Assimp's 3DS writer and reader disagree on the axes and the move
        std::vector<std::size_t> corners;
        bool textured;
    } cases[] = {
        {"obj", dir / "strip.obj", 0, 10, true, {3, 4}, true},
        {"ply", dir / "strip.ply", 0, 10, true, {3, 4}, true},
        {"gltf2", dir / "strip.gltf", aiProcess_Triangulate, 10, true, {3, 3, 3}, true},
        {"stl", dir / "strip.stl", aiProcess_Triangulate, 10, true, {3, 3, 3}, false},
        {"3ds", dir / "strip.3ds", aiProcess_Triangulate, 10, false, {3, 3, 3}, true},
        {"", data + "/meshlab_strip.obj", 0, 0, true, {3, 3, 3}, false},
        {"", data + "/meshlab_strip.ply", 0, 0, true, {3, 3, 3}, false},
        {"", data + "/meshlab_strip.stl", 0, 0, true, {3, 3, 3}, false},
        {"", data + "/meshlab_strip.dae", 0, 0, true, {3, 3, 3}, false},
    };
    const std::unique_ptr<aiScene> scene = StripScene();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (*c.format) {
            Assimp::Exporter exporter;
            ASSERT_EQ(exporter.Export(scene.get(), c.format, c.file, c.steps), AI_SUCCESS)
                << exporter.GetErrorString();
        }
        FakeImages images;
        images.Put(dir / "wall.bmp", 32, 32);
        const Imported r = ReadAndImport(c.file, images);
        ASSERT_EQ(r.error, "");
        const Project& p = r.project;
        EXPECT_EQ(p.Vertices.size(), 5u); // corners shared by the faces joined
        EXPECT_EQ(Corners(p), c.corners);
        EXPECT_EQ(p.Textures.size(), c.textured ? 1u : 0u);
        for (const ObjectData& polygon : p.Polygons)
            EXPECT_EQ(polygon.TextureIndex, c.textured ? 0 : kUntextured);
        if (!c.placed)
            continue;
        const BoundingBox& box = p.Box;
        EXPECT_FLOAT_EQ(box.MinX, c.dx);
        EXPECT_FLOAT_EQ(box.MaxX, c.dx + 1);
        EXPECT_FLOAT_EQ(box.MaxY, 2);
        EXPECT_FLOAT_EQ(box.MaxZ, 0.5f);
        for (const ObjectData& polygon : p.Polygons) {
            if (!c.textured)
                continue;
            // Every corner's coordinates as the scene gave them: U = x, V = y / 2.
            for (std::size_t k = 0; k + 1 < polygon.VertexIndices.size(); ++k) {
                const Vertex& v = p.Vertices[static_cast<std::size_t>(polygon.VertexIndices[k])];
                EXPECT_NEAR(polygon.TexCoords[k].U, v.X - c.dx, 1e-5);
                EXPECT_NEAR(polygon.TexCoords[k].V, v.Y / 2, 1e-5);
            }
        }
    }
}

TEST(AssimpMesh, ExportedObjReadsBackTheSame) {
    test::TempDir dir;
    FakeImages images;
    images.Put(dir / "wall.bmp", 32, 32);
    const std::unique_ptr<aiScene> scene = StripScene();
    Assimp::Exporter exporter;
    ASSERT_EQ(exporter.Export(scene.get(), "obj", dir / "strip.obj"), AI_SUCCESS);
    const Imported first = ReadAndImport(dir / "strip.obj", images);
    FakeUi ui;
    ASSERT_TRUE(ExportMeshObj(first.project, dir / "again.obj", ui));
    const Imported second = ReadAndImport(dir / "again.obj", images);
    ASSERT_EQ(second.error, "");
    ASSERT_EQ(second.project.Vertices.size(), first.project.Vertices.size());
    for (std::size_t i = 0; i < first.project.Vertices.size(); ++i) {
        EXPECT_EQ(second.project.Vertices[i].X, first.project.Vertices[i].X);
        EXPECT_EQ(second.project.Vertices[i].Y, first.project.Vertices[i].Y);
        EXPECT_EQ(second.project.Vertices[i].Z, first.project.Vertices[i].Z);
    }
    ASSERT_EQ(second.project.Polygons.size(), first.project.Polygons.size());
    for (std::size_t i = 0; i < first.project.Polygons.size(); ++i) {
        EXPECT_EQ(second.project.Polygons[i].VertexIndices,
                  first.project.Polygons[i].VertexIndices);
        EXPECT_EQ(second.project.Polygons[i].TextureIndex, first.project.Polygons[i].TextureIndex);
        EXPECT_EQ(second.project.Polygons[i].TexCoords, first.project.Polygons[i].TexCoords);
    }
    EXPECT_EQ(second.project.Textures[0].Filename, dir / "wall.bmp");
}

TEST(AssimpMesh, ARefusedFileGivesAssimpsMessage) {
    test::TempDir dir;
    for (const std::string& file : {dir / "missing.obj", dir.Touch("noise.xyz", "not a mesh\n"),
                                    dir.Touch("empty.ply", "")}) {
        SCOPED_TRACE(file);
        Assimp::Importer importer;
        ASSERT_EQ(importer.ReadFile(file, aiProcess_ValidateDataStructure), nullptr);
        MeshData mesh;
        std::string error;
        EXPECT_FALSE(ReadMeshFile(file, mesh, error));
        EXPECT_EQ(error, importer.GetErrorString());
        EXPECT_NE(error, "");
    }
}

} // namespace
} // namespace meshforge
