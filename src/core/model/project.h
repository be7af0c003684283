#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace meshforge {

inline constexpr const char* kProgramName = "Meshforge";
inline constexpr const char* kProgramVersion = "v1.25";

// Sentinels shared by every subsystem.
inline constexpr int32_t kUntextured = 999;      // TextureIndex of a polygon without texture
inline constexpr int32_t kNoTexture = 999;       // CurrentTexture when none is selected
inline constexpr int32_t kNoElement = 9999;      // CurrentPolygon, CurrentLine, PivotVertex
inline constexpr const char* kNoFile = "None";   // ProjectFileName of a project without file
inline constexpr std::size_t kMaxTextures = 998; // 999 is the untextured marker
inline constexpr uint32_t kUndeterminedBackColor = 0x00DDDDDD;

struct ColorTriple {
    float R = 0, G = 0, B = 0;
    bool operator==(const ColorTriple&) const = default;
};

struct TexCoord {
    float U = 0, V = 0;
    bool operator==(const TexCoord&) const = default;
};

// The pair a corner has before anything was assigned: (0,0), (0,1), (1,1), (1,0), then (1,1)
// for every further corner.
constexpr TexCoord DefaultTexCoord(int corner) {
    switch (corner) {
    case 0:
        return {0, 0};
    case 1:
        return {0, 1};
    case 2:
        return {1, 1};
    case 3:
        return {1, 0};
    default:
        return {1, 1};
    }
}

struct Vertex {
    float X = 0, Y = 0, Z = 0;
    bool Selected = false;
};

// One record type for lines, visualization lines and polygons. Polygons are closed rings:
// the first index is repeated last, so VertexCount() is corners + 1.
struct ObjectData {
    ColorTriple Color;
    std::vector<int32_t> VertexIndices;
    int32_t TextureIndex = 0;
    std::vector<TexCoord> TexCoords;
    bool Selected = false;

    int32_t VertexCount() const { return static_cast<int32_t>(VertexIndices.size()); }
};

struct TextureData {
    std::string Filename;
    int32_t Transparent = 0;
    std::string MaskFilename;
    int32_t RepeatValue = 0;
    uint32_t BackColor = kUndeterminedBackColor;
};

struct CollVol {
    std::vector<int32_t> PolygonIndices;
    std::vector<int32_t> Rebounds;
    int32_t PlaneCount() const { return static_cast<int32_t>(PolygonIndices.size()); }
};

struct BoundingBox {
    float MinX = 0, MaxX = 0, MinY = 0, MaxY = 0, MinZ = 0, MaxZ = 0;
    float CenterX = 0, CenterY = 0, CenterZ = 0;
};

// Values stored with a project in its "Options" section.
struct ViewOptions {
    int32_t Zoom = 70;
    int32_t RotationX = 0, RotationY = 0, RotationZ = 0;
    int32_t PanX = 0, PanY = 0;
    bool ShowAxis = false, ShowVertices = true, ShowLines = true, ShowPolygons = true;
    bool ShowTextures = false, Perspective = true;
    int32_t VertexDisplaySize = 3;
    int32_t AxisSize = 10;
    std::string BackgroundColor = "clwhite";
    std::string VertexColor = "$00408000";
    std::string SelectedVertexColor = "$004080FF";
    ColorTriple BackgroundRgb{1, 1, 1};
    ColorTriple VertexRgb{0, 0.6f, 0};
    ColorTriple SelectedVertexRgb{1, 0, 0};
    std::string TrackFolder;
    std::string AdditionalGPLParams;
    bool Overwrite = false, UseTrackFolder = false, AutoGPL = false;
    bool MinimizeOnGPL = true, CloseOnGPL = false, GPLParam = false;
    bool VerticesVisible = true;
};

struct Project {
    std::vector<Vertex> Vertices;
    std::vector<TextureData> Textures; // the view keeps its texture objects itself
    std::vector<ObjectData> Lines;
    std::vector<ObjectData> VisLines;
    std::vector<ObjectData> Polygons;
    std::vector<CollVol> CollVols;

    std::string ProjectDescription = "None available";
    int32_t DisplayClass = 3;
    std::string ProjectFileName = kNoFile;
    std::string ProjectName;
    bool HasGeometry = false;
    bool GeometryShown = false;

    ViewOptions Options;

    int32_t CurrentPolygon = kNoElement;
    int32_t CurrentLine = kNoElement;
    int32_t CurrentTexture = 0; // 0 at program start, 999 after a reset

    BoundingBox Box;

    // Moves on with every change of a list's shape: an element added or removed, indices
    // renumbered, a list emptied or replaced (reset, read, merge, import, undo). Changing values
    // in place (coordinates, colours, a redefined ring, a texture choice) leaves it. Undo
    // records remember it and refuse to restore over any later change.
    uint64_t Revision = 0;
    // Moves on whenever the texture list may name other files than before (entries added,
    // removed, replaced, the list read or emptied). The view rebuilds its texture objects when
    // it sees a new value.
    uint64_t TexturesRevision = 0;
};

// Marks a change of a list's shape (see Project::Revision).
inline void BumpRevision(Project& project) {
    ++project.Revision;
}

// Marks a change of the texture list (see Project::TexturesRevision); a change of shape too.
inline void TexturesChanged(Project& project) {
    ++project.Revision;
    ++project.TexturesRevision;
}

// Empties the Project and restores the defaults, in the documented order. The view's repaint
// belongs to the caller.
void ResetProject(Project& project);

// The box UpdateBoundingBox would store: from the vertices, or the stored box when there are
// none.
BoundingBox ComputeBoundingBox(const Project& project);
// Recomputes Box from the vertices; an empty list keeps the previous box.
void UpdateBoundingBox(Project& project);

// Sets a colour text and recomputes its triple from it (throws ParseError on a bad text).
void SetBackgroundColor(ViewOptions& options, const std::string& text);
void SetVertexColor(ViewOptions& options, const std::string& text);
void SetSelectedVertexColor(ViewOptions& options, const std::string& text);
void RecomputeColorTriples(ViewOptions& options);

} // namespace meshforge
