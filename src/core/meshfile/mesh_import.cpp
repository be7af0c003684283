#include "meshfile/mesh_import.h"

#include "edit/vertices.h"
#include "io/vertex_lookup.h"
#include "model/project_file.h"
#include "texture/library.h"
#include "ui/ui.h"

#include <algorithm>
#include <limits>
#include <new>
#include <unordered_map>

namespace meshforge {

namespace {

constexpr std::size_t kProgressFaces = 1 << 16;

// Every index inside its list: a loader that got it wrong must not make the Project
// inconsistent.
bool Consistent(const MeshData& mesh) {
    if (mesh.Positions.size() > kMaxMeshPositions)
        return false;
    for (const MeshFace& face : mesh.Faces) {
        const uint64_t end = uint64_t{face.First} + face.Count;
        if (end > mesh.Corners.size() || (face.HasUv && end > mesh.Uvs.size()) ||
            (face.Texture >= 0 && static_cast<std::size_t>(face.Texture) >= mesh.Textures.size()))
            return false;
        for (uint32_t k = face.First; k < end; ++k)
            if (mesh.Corners[k] >= mesh.Positions.size())
                return false;
    }
    return true;
}

bool IsAbsolute(std::string_view name) {
    return name.starts_with('/') || name.starts_with('\\') || (name.size() > 1 && name[1] == ':');
}

// The library entry each of the file's textures uses, or kUntextured; new entries are added
// where the library's rules allow, refusals go to the log.
std::vector<int32_t> ResolveTextures(Project& project, const std::string& path,
                                     const MeshData& mesh, ImageFiles& images, Ui& ui,
                                     int32_t& added) {
    std::vector<int32_t> entry(mesh.Textures.size(), kUntextured);
    for (std::size_t t = 0; t < mesh.Textures.size(); ++t) {
        const std::string& name = mesh.Textures[t];
        if (name.empty())
            continue;
        const std::string file = IsAbsolute(name) ? name : std::string(FolderPart(path)) + name;
        const std::string_view shortName = FileNamePart(file);
        for (std::size_t i = 0; i < project.Textures.size(); ++i)
            if (FileNamePart(project.Textures[i].Filename) == shortName)
                entry[t] = static_cast<int32_t>(i);
        if (entry[t] != kUntextured)
            continue;
        std::optional<std::string> problem;
        if (project.Textures.size() >= kMaxTextures)
            problem = "No more than 998 textures allowed !";
        else
            problem = TextureFileProblem(project, file, images, std::nullopt);
        if (problem) {
            std::string firstLine = problem->substr(0, problem->find('\r'));
            ui.Log("Texture " + file + " not used: " + firstLine);
            continue;
        }
        project.Textures.push_back(FreshTextureEntry(file));
        entry[t] = static_cast<int32_t>(project.Textures.size() - 1);
        ++added;
    }
    if (added > 0) {
        TexturesChanged(project);
        LogTextureRebuild(ui);
    }
    return entry;
}

Point3 Shifted(const MeshPosition& p, const Offset3& offset) {
    return {p.X + offset.X, p.Y + offset.Y, p.Z + offset.Z};
}

} // namespace

std::optional<std::string> MeshCountsProblem(const std::string& path, const MeshCounts& counts) {
    const std::string head = ImportFailurePrefix(path);
    if (counts.Positions > kMaxMeshPositions)
        return head + " Too many Vertices !";
    if (counts.Faces > kMaxMeshFaces || counts.Corners > kMaxMeshCorners)
        return head + " Too many Polygons !";
    if (counts.LargestFace > kMaxFaceCorners)
        return head + " A face with " + std::to_string(counts.LargestFace) + " corners !";
    return std::nullopt;
}

bool PrepareMesh(MeshData& mesh, const MeshCounts& counts, bool uvs, const std::string& path,
                 std::string& error) {
    if (std::optional<std::string> problem = MeshCountsProblem(path, counts)) {
        error = *problem;
        return false;
    }
    try {
        mesh.Positions.reserve(counts.Positions);
        mesh.Faces.reserve(counts.Faces);
        mesh.Corners.reserve(counts.Corners);
        if (uvs)
            mesh.Uvs.reserve(counts.Corners);
    } catch (const std::bad_alloc&) {
        error = ImportFailurePrefix(path) + " Not enough memory !";
        return false;
    }
    return true;
}

MeshImportResult ImportMesh(Project& project, const std::string& path, const MeshData& mesh, Ui& ui,
                            std::mt19937& rng, ImageFiles& images, ColorTriple& currentLineColor,
                            const DxfProgress& progress) {
    MeshImportResult result;
    if (!Consistent(mesh)) {
        ui.Message(ImportFailurePrefix(path) + " The file's mesh names corners it does not have !");
        return result;
    }
    if (mesh.Positions.empty()) {
        ui.Message("Sorry, no vertices in file " + path);
        result.Outcome = MeshImportOutcome::Empty;
        return result;
    }
    // Points and line segments are left out of a mesh; a file of nothing else gives vertices.
    result.SkippedFaces = std::count_if(mesh.Faces.begin(), mesh.Faces.end(),
                                        [](const MeshFace& face) { return face.Count < 3; });
    const bool polygons = result.SkippedFaces < static_cast<int64_t>(mesh.Faces.size());
    const bool adding = project.HasGeometry;
    // The Project is only touched once the whole mesh is converted, so a failure changes
    // nothing.
    Project draft = project;
    const std::optional<Offset3> offset = BeginGeometryImport(draft, ui);
    if (!offset) {
        result.Outcome = MeshImportOutcome::OffsetCancelled;
        return result;
    }
    if (progress)
        progress(0.0);
    try {
        const std::vector<int32_t> textures =
            ResolveTextures(draft, path, mesh, images, ui, result.NewTextures);
        VertexLookup lookup(draft.Vertices);
        auto vertexAt = [&](const MeshPosition& position) {
            const Point3 p = Shifted(position, *offset);
            if (std::optional<int32_t> found = lookup.Find(p))
                return *found;
            draft.Vertices.push_back(Vertex{p.X, p.Y, p.Z, false});
            const auto at = static_cast<int32_t>(draft.Vertices.size() - 1);
            lookup.Add(at);
            return at;
        };
        if (!polygons) {
            const std::size_t before = draft.Vertices.size();
            for (const MeshPosition& position : mesh.Positions)
                vertexAt(position);
            result.Created = static_cast<int64_t>(draft.Vertices.size() - before);
        }
        draft.Polygons.reserve(draft.Polygons.size() + (polygons ? mesh.Faces.size() : 0));
        for (std::size_t f = 0; polygons && f < mesh.Faces.size(); ++f) {
            if (progress && f % kProgressFaces == kProgressFaces - 1)
                progress(std::min(0.999, static_cast<double>(f) / mesh.Faces.size()));
            const MeshFace& face = mesh.Faces[f];
            if (face.Count < 3)
                continue;
            ObjectData polygon;
            polygon.Color = RandomPolygonColor(rng);
            polygon.VertexIndices.reserve(face.Count + 1);
            for (uint32_t k = face.First; k < face.First + face.Count; ++k)
                polygon.VertexIndices.push_back(vertexAt(mesh.Positions[mesh.Corners[k]]));
            polygon.VertexIndices.push_back(polygon.VertexIndices.front());
            polygon.TextureIndex =
                face.Texture >= 0 ? textures[static_cast<std::size_t>(face.Texture)] : kUntextured;
            if (polygon.TextureIndex != kUntextured) {
                polygon.TexCoords.reserve(face.Count + 1);
                for (uint32_t k = 0; k < face.Count; ++k)
                    polygon.TexCoords.push_back(face.HasUv ? mesh.Uvs[face.First + k]
                                                           : DefaultTexCoord(static_cast<int>(k)));
                polygon.TexCoords.push_back(TexCoord{});
            }
            draft.Polygons.push_back(std::move(polygon));
            ++result.Created;
        }
    } catch (const std::bad_alloc&) {
        ui.Message(ImportFailurePrefix(path) + " Not enough memory !");
        return result;
    }
    if (draft.Vertices.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) - 4) {
        ui.Message(ImportFailurePrefix(path) + " Too many Vertices !");
        return result;
    }
    project = std::move(draft);
    if (result.SkippedFaces > 0)
        ui.Log(std::to_string(result.SkippedFaces) + " points and lines of file " + path +
               " left out");
    EndGeometryImport(project, !polygons ? DxfKind::Point : DxfKind::Face, adding, result.Created,
                      path, ui);
    if (progress)
        progress(1.0);
    RemoveDoubleVertices(project, currentLineColor, ui);
    result.Outcome = MeshImportOutcome::Imported;
    return result;
}

} // namespace meshforge
