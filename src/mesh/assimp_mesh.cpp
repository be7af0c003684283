#include "mesh/assimp_mesh.h"

#include <assimp/Importer.hpp>
#include <assimp/ProgressHandler.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <memory>
#include <utility>
#include <vector>

namespace meshforge {

namespace {

// Polygons stay polygons and no vertex is joined: only Assimp's check of the scene's own
// indices, so that a hostile file's bad indices never reach the copy below.
constexpr unsigned kSteps = aiProcess_ValidateDataStructure;

class Progress : public Assimp::ProgressHandler {
  public:
    explicit Progress(const DxfProgress& report) : report_(report) {}
    bool Update(float share) override {
        if (report_ && share >= 0.0f && share <= 1.0f)
            report_(share);
        return true;
    }

  private:
    const DxfProgress& report_;
};

// Each mesh a node draws, with the node's transform; a tree walked without recursion, as a
// hostile file may nest deeply.
std::vector<std::pair<const aiMesh*, aiMatrix4x4>> Placed(const aiScene& scene) {
    std::vector<std::pair<const aiMesh*, aiMatrix4x4>> placed;
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> todo;
    if (scene.mRootNode)
        todo.emplace_back(scene.mRootNode, scene.mRootNode->mTransformation);
    while (!todo.empty()) {
        auto [node, transform] = todo.back();
        todo.pop_back();
        for (unsigned m = 0; m < node->mNumMeshes; ++m)
            if (node->mMeshes[m] < scene.mNumMeshes)
                placed.emplace_back(scene.mMeshes[node->mMeshes[m]], transform);
        for (unsigned c = 0; c < node->mNumChildren; ++c)
            todo.emplace_back(node->mChildren[c], transform * node->mChildren[c]->mTransformation);
    }
    return placed;
}

bool Convert(const aiScene& scene, const std::string& path, MeshData& mesh, std::string& error) {
    const auto placed = Placed(scene);
    MeshCounts counts;
    bool uvs = false;
    for (const auto& [m, transform] : placed) {
        counts.Positions += m->mNumVertices;
        counts.Faces += m->mNumFaces;
        for (unsigned f = 0; f < m->mNumFaces; ++f) {
            counts.Corners += m->mFaces[f].mNumIndices;
            counts.LargestFace = std::max<uint64_t>(counts.LargestFace, m->mFaces[f].mNumIndices);
        }
        uvs = uvs || m->HasTextureCoords(0);
    }
    if (!PrepareMesh(mesh, counts, uvs, path, error))
        return false;

    // The diffuse texture of each material, embedded ones ("*0") left out.
    std::vector<int32_t> textureOf(scene.mNumMaterials, -1);
    for (unsigned i = 0; i < scene.mNumMaterials; ++i) {
        aiString file;
        if (scene.mMaterials[i]->GetTexture(aiTextureType_DIFFUSE, 0, &file) != AI_SUCCESS ||
            file.length == 0 || file.data[0] == '*')
            continue;
        textureOf[i] = static_cast<int32_t>(mesh.Textures.size());
        mesh.Textures.emplace_back(file.C_Str());
    }
    for (const auto& [m, transform] : placed) {
        const auto base = static_cast<uint32_t>(mesh.Positions.size());
        for (unsigned v = 0; v < m->mNumVertices; ++v) {
            const aiVector3D p = transform * m->mVertices[v];
            mesh.Positions.push_back({p.x, p.y, p.z});
        }
        const bool hasUv = m->HasTextureCoords(0);
        const int32_t texture =
            m->mMaterialIndex < textureOf.size() ? textureOf[m->mMaterialIndex] : -1;
        for (unsigned f = 0; f < m->mNumFaces; ++f) {
            const aiFace& face = m->mFaces[f];
            MeshFace out;
            out.First = static_cast<uint32_t>(mesh.Corners.size());
            out.Count = face.mNumIndices;
            out.Texture = texture;
            out.HasUv = hasUv;
            for (unsigned k = 0; k < face.mNumIndices; ++k) {
                const unsigned index = face.mIndices[k];
                mesh.Corners.push_back(base + (index < m->mNumVertices ? index : 0));
                if (uvs) {
                    const aiVector3D uv = hasUv && index < m->mNumVertices
                                              ? m->mTextureCoords[0][index]
                                              : aiVector3D();
                    mesh.Uvs.push_back({uv.x, uv.y});
                }
            }
            mesh.Faces.push_back(out);
        }
    }
    return true;
}

bool Finish(Assimp::Importer& importer, const aiScene* scene, const std::string& path,
            MeshData& mesh, std::string& error) {
    if (!scene) {
        error = importer.GetErrorString();
        if (error.empty())
            error = "Unable to import from file '" + path + "'";
        return false;
    }
    return Convert(*scene, path, mesh, error);
}

} // namespace

bool ReadMeshFile(const std::string& path, MeshData& mesh, std::string& error,
                  const DxfProgress& progress) {
    Assimp::Importer importer;
    importer.SetProgressHandler(new Progress(progress)); // the importer owns it
    const aiScene* scene = importer.ReadFile(path, kSteps);
    return Finish(importer, scene, path, mesh, error);
}

bool ReadMeshMemory(const void* data, std::size_t size, const std::string& hint, MeshData& mesh,
                    std::string& error) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(data, size, kSteps, hint.c_str());
    return Finish(importer, scene, "memory", mesh, error);
}

std::string MeshFileExtensions() {
    Assimp::Importer importer;
    std::string list;
    importer.GetExtensionList(list);
    return list;
}

} // namespace meshforge
