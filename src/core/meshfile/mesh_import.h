#pragma once
// Meshes from general 3D files (OBJ, STL, PLY, glTF, 3DS and the like) into the Project. A
// loader adapter fills MeshData; everything from there on, the limits, the merge of vertices,
// the textures and the messages, is decided here, free of the loader and the user interface.
#include "io/dxf_import.h"
#include "model/project.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace meshforge {

struct ImageFiles;

struct MeshPosition {
    float X = 0, Y = 0, Z = 0;
};

// One face: its corners are Corners[First, First + Count), each an index into Positions.
struct MeshFace {
    uint32_t First = 0;
    uint32_t Count = 0;
    int32_t Texture = -1; // index into MeshData::Textures, -1 without one
    bool HasUv = false;   // Uvs[First, First + Count) hold its texture coordinates
};

struct MeshData {
    std::vector<MeshPosition> Positions;
    std::vector<MeshFace> Faces;
    std::vector<uint32_t> Corners;
    std::vector<TexCoord> Uvs; // one per corner, or empty when no face has any
    // The texture file of each material that names one, as the file spells it (relative to
    // the file's folder unless absolute).
    std::vector<std::string> Textures;
};

// The sizes a loader reports before it copies anything.
struct MeshCounts {
    uint64_t Positions = 0, Faces = 0, Corners = 0, LargestFace = 0;
};

// A Project indexes vertices with 32 bits and a hostile file may claim any count: what is
// refused before room is taken.
inline constexpr uint64_t kMaxMeshPositions = 1ull << 27;
inline constexpr uint64_t kMaxMeshFaces = 1ull << 27;
inline constexpr uint64_t kMaxMeshCorners = 1ull << 29;
inline constexpr uint64_t kMaxFaceCorners = 1ull << 16;

// The message for counts past the limits ("Unable to import from file '<path>'\r ..."), or
// nullopt.
std::optional<std::string> MeshCountsProblem(const std::string& path, const MeshCounts& counts);
// Checks `counts` and reserves room for them in `mesh` (Uvs when `uvs`); false with `error`
// set when they are refused or the memory is not there.
bool PrepareMesh(MeshData& mesh, const MeshCounts& counts, bool uvs, const std::string& path,
                 std::string& error);

enum class MeshImportOutcome {
    Imported,        // log line written, doubles removed, bounding box updated
    Empty,           // no position in the file; message shown, nothing changed
    OffsetCancelled, // the Offset New Vertices dialog was cancelled, nothing changed
    Failed,          // an inconsistent mesh or no memory: message shown, nothing changed
};

struct MeshImportResult {
    MeshImportOutcome Outcome = MeshImportOutcome::Failed;
    int64_t Created = 0;      // Polygons, or Vertices for a file of points only
    int32_t NewTextures = 0;  // library entries added for the file's textures
    int64_t SkippedFaces = 0; // points and line segments among the faces
};

// Adds the mesh read from `path` as the DXF import adds 3DFACEs: the offset asked when the
// Project HasGeometry, every face of three or more corners a polygon with a random colour,
// each corner joined to the first vertex at exactly its position, the log line, then the
// closing Remove Double Vertices over the whole Project. A file without faces of three corners
// gives its positions as vertices. A face keeps its texture and texture coordinates when its
// texture is a bitmap the library accepts (an entry of the same file name is reused); otherwise it
// is untextured and the log says why. `progress` as for the DXF import.
MeshImportResult ImportMesh(Project& project, const std::string& path, const MeshData& mesh, Ui& ui,
                            std::mt19937& rng, ImageFiles& images, ColorTriple& currentLineColor,
                            const DxfProgress& progress = {});

} // namespace meshforge
