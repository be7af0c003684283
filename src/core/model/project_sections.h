#pragma once
// The section readers of the project file, shared by the file reader, which feeds them lines
// read a chunk at a time, and by its tests, which compare that reader with these readers run
// over the whole text split into lines. `Src` is a source of numbered lines with the typed,
// located access of LocatedLines.
#include "model/located_lines.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/project_file_ui.h"
#include "model/texts.h"
#include "util/errors.h"
#include "util/memory.h"
#include "util/platform_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge::project_sections {

// Element lines remembered for the index check after a read; index = position in the list.
struct SourceLines {
    std::vector<std::size_t> lines, polygons, visLines, collVols;
};

inline void Remember(std::vector<std::size_t>& v, std::size_t index, std::size_t line) {
    if (v.size() <= index)
        v.resize(index + 1, SIZE_MAX);
    v[index] = line;
}

template <class Src> ColorTriple ReadTriple(const Src& src, std::size_t at) {
    return {src.Float(at, "a red value"), src.Float(at + 1, "a green value"),
            src.Float(at + 2, "a blue value")};
}

template <class Src> ObjectData ReadLineRecord(const Src& src, std::size_t at) {
    ObjectData l;
    l.Color = ReadTriple(src, at);
    l.VertexIndices = {src.Int(at + 3, "a start vertex index"),
                       src.Int(at + 4, "an end vertex index")};
    return l;
}

// Reads one polygon starting at `at`; returns the line after it.
template <class Src>
std::size_t ReadPolygonRecord(const Src& src, std::size_t at, ObjectData& poly) {
    poly.Color = ReadTriple(src, at);
    at += 3;
    int32_t count = src.Count(at, "polygon vertex count", 1);
    if (count < 1)
        throw ParseError(src.Where(at) + "a polygon needs at least one vertex index");
    ++at;
    poly.VertexIndices.resize(static_cast<std::size_t>(count));
    for (int32_t k = 0; k < count; ++k)
        poly.VertexIndices[k] = src.Int(at++, "a polygon vertex index");
    poly.TextureIndex = src.Int(at++, "a texture index");
    if (poly.TextureIndex < kUntextured) {
        if (static_cast<std::size_t>(count - 1) > (src.Size() - std::min(at, src.Size())) / 2)
            throw ParseError(src.Where(at) +
                             "the texture coordinates run past the end of the file");
        poly.TexCoords.assign(static_cast<std::size_t>(count), TexCoord{});
        for (int32_t k = 0; k + 1 < count; ++k) {
            poly.TexCoords[k].U = src.Float(at++, "a U texture coordinate");
            poly.TexCoords[k].V = src.Float(at++, "a V texture coordinate");
        }
    }
    return at;
}

// Resolves stored bitmap paths for one read; the folder is learned from re-selected files.
// Before asking, the bitmap is looked for beside the project file, so that a project copied
// together with its bitmaps opens from anywhere.
class BitmapResolver {
  public:
    enum class Result { Resolved, Cancelled, Refused };

    BitmapResolver(ProjectFileUi& ui, const std::string& projectPath) : ui_(ui) {
        if (projectPath != kNoFile)
            projectFolder_ = std::string(FolderPart(projectPath));
    }
    void ResetFolder() { folder_.clear(); }

    static bool Exists(const std::string& path) {
        std::error_code ec;
        return std::filesystem::exists(platform::PathFromUtf8(path), ec);
    }

    Result Resolve(std::string& path) {
        const std::string name(FileNamePart(path));
        // Only a folder the user re-selected from: without one the bare name would be looked
        // for in the working folder and another file of that name taken.
        std::string candidate = folder_ + name;
        if (!folder_.empty() && !name.empty() && Exists(candidate)) {
            path = candidate;
            return Result::Resolved;
        }
        // A relative name is the project folder's, not the working folder's; it is kept as a
        // full path, as every other entry is.
        const bool relative = !path.empty() && platform::PathFromUtf8(path).is_relative();
        if (relative && projectFolder_ && !projectFolder_->empty() &&
            Exists(*projectFolder_ + path)) {
            path = *projectFolder_ + path;
            return Result::Resolved;
        }
        if (!path.empty() && (!relative || !projectFolder_ || projectFolder_->empty()) &&
            Exists(path))
            return Result::Resolved;
        if (projectFolder_ && !name.empty() && Exists(*projectFolder_ + name)) {
            path = *projectFolder_ + name;
            return Result::Resolved;
        }
        ui_.Message("Bitmap " + path + " not found." + "\r" + " Re-select file !");
        std::optional<std::string> chosen = ui_.ChooseBitmap(path);
        if (!chosen)
            return Result::Cancelled;
        if (FileNamePart(*chosen).size() > 12) {
            ui_.Message("Filename must not exceed 8 characters !\r\rLength of selected: " +
                        chosen->substr(0, chosen->size() >= 4 ? chosen->size() - 4 : 0));
            return Result::Refused;
        }
        folder_ = std::string(FolderPart(*chosen));
        path = *chosen;
        return Result::Resolved;
    }

  private:
    ProjectFileUi& ui_;
    std::optional<std::string> projectFolder_; // empty: the current folder
    std::string folder_;
};

struct StopRead {
    ReadOutcome outcome;
};

// Reads the four lines of texture k at `at` and appends it; stops the read on an abandoned bitmap.
template <class Src>
void ReadTexture(const Src& src, std::size_t at, Project& p, BitmapResolver& resolver,
                 ProjectFileUi& ui) {
    TextureData t;
    t.Filename = std::string(src.Text(at, "a bitmap file name"));
    BitmapResolver::Result r = resolver.Resolve(t.Filename);
    if (r == BitmapResolver::Result::Cancelled) {
        ClearAllData(p, ui);
        throw StopRead{ReadOutcome::Cleared};
    }
    if (r == BitmapResolver::Result::Refused)
        throw StopRead{ReadOutcome::Stopped};
    t.Transparent = src.Int(at + 1, "a transparency value");
    t.MaskFilename = std::string(src.Text(at + 2, "a mask file name"));
    if (!t.MaskFilename.empty()) {
        // A mask that is not re-selected keeps its stored path.
        if (resolver.Resolve(t.MaskFilename) == BitmapResolver::Result::Refused)
            throw StopRead{ReadOutcome::Stopped};
    }
    t.RepeatValue = src.Int(at + 3, "a repeat value");
    p.Textures.push_back(std::move(t));
}

template <class Src>
void CheckTextureRoom(const Src& src, std::size_t at, std::size_t existing, std::size_t added) {
    if (existing + added > kMaxTextures)
        throw ParseError(src.Where(at) + "a project can hold at most " +
                         std::to_string(kMaxTextures) + " textures, this would make " +
                         std::to_string(existing + added));
}

template <class Src> void ReadOptions(const Src& src, std::size_t at, ViewOptions& o) {
    o.Zoom = src.Int(at, "the zoom value");
    o.RotationX = src.Int(at + 1, "the X rotation");
    o.RotationY = src.Int(at + 2, "the Y rotation");
    o.RotationZ = src.Int(at + 3, "the Z rotation");
    o.PanX = src.Int(at + 4, "the X pan");
    o.PanY = src.Int(at + 5, "the Y pan");
    o.ShowAxis = src.Bool(at + 6, "the Show Axis flag");
    o.ShowVertices = src.Bool(at + 7, "the Show Vertices flag");
    o.VerticesVisible = o.ShowVertices;
    o.ShowLines = src.Bool(at + 8, "the Show Lines flag");
    o.ShowPolygons = src.Bool(at + 9, "the Show Polygons flag");
    o.ShowTextures = src.Bool(at + 10, "the Show Textures flag");
    o.Perspective = src.Bool(at + 11, "the Perspective View flag");
    o.VertexDisplaySize = src.Int(at + 12, "the vertex display size");
    for (int k = 0; k < 3; ++k) {
        std::string text(src.Text(at + 13 + k, "a colour"));
        src.Color(at + 13 + k, "a colour"); // fails with the file and line
        if (k == 0)
            SetBackgroundColor(o, text);
        else if (k == 1)
            SetVertexColor(o, text);
        else
            SetSelectedVertexColor(o, text);
    }
    o.Overwrite = src.Bool(at + 16, "the Auto-Overwrite flag");
    o.UseTrackFolder = src.Bool(at + 17, "the track-folder flag");
    o.TrackFolder = std::string(src.Text(at + 18, "the track folder"));
    o.AutoGPL = src.Bool(at + 19, "the Autostart GPL flag");
    o.MinimizeOnGPL = src.Bool(at + 20, "the minimize-on-GPL flag");
    o.CloseOnGPL = src.Bool(at + 21, "the close-on-GPL flag");
    o.GPLParam = src.Bool(at + 22, "the GPL parameter flag");
    o.AdditionalGPLParams = std::string(src.Text(at + 23, "the GPL parameters"));
    o.AxisSize = src.Int(at + 24, "the axis size");
}

inline bool IsKeywordStart(std::string_view line) {
    // Cheap pre-check: every keyword starts with one of these letters.
    return !line.empty() && (line[0] == 'P' || line[0] == 'V' || line[0] == 'T' || line[0] == 'L' ||
                             line[0] == 'D' || line[0] == 'C' || line[0] == 'O');
}

// The exact section keywords; a line that is one may start a section wherever it stands.
inline bool IsSectionKeyword(std::string_view line) {
    if (!IsKeywordStart(line))
        return false;
    for (std::string_view k :
         {"ProjectDescription", "Vertices", "Textures", "TextureBackColors", "VisLines", "Lines",
          "Polygons", "DisplayClass", "Collision", "Options"})
        if (line == k)
            return true;
    return false;
}

// What one read or merge carries from section to section.
struct ReadContext {
    ReadContext(Project& p, ProjectFileUi& u, const std::string& file)
        : project(p), ui(u), path(file), resolver(u, file) {}
    Project& project;
    ProjectFileUi& ui;
    const std::string& path;
    SourceLines where;
    BitmapResolver resolver;
    std::size_t v0 = 0, t0 = 0; // a merge's first new vertex and texture
};

// Reads the section that line `i`, `line`, starts when it is a keyword of a whole read.
template <class Src>
void ReadSection(ReadContext& c, const Src& src, std::size_t i, std::string_view line) {
    Project& p = c.project;
    if (line == "ProjectDescription") {
        p.ProjectDescription = std::string(src.Text(i + 1, "the project description"));
    } else if (line == "Vertices") {
        int32_t n = src.Count(i + 1, "vertex count", 3);
        p.Vertices.clear();
        p.Vertices.reserve(static_cast<std::size_t>(n));
        AdviseHugePages(p.Vertices.data(), p.Vertices.capacity() * sizeof(Vertex));
        for (int32_t k = 0; k < n; ++k) {
            std::size_t at = i + 2 + 3 * static_cast<std::size_t>(k);
            p.Vertices.push_back({src.Float(at, "an X coordinate"),
                                  src.Float(at + 1, "a Y coordinate"),
                                  src.Float(at + 2, "a Z coordinate"), false});
        }
    } else if (line == "Textures") {
        int32_t n = src.Count(i + 1, "texture count", 4);
        CheckTextureRoom(src, i + 1, 0, static_cast<std::size_t>(n));
        p.Textures.clear();
        TexturesChanged(p); // before the entries: a read that fails half-way changed it too
        c.resolver.ResetFolder();
        for (int32_t k = 0; k < n; ++k)
            ReadTexture(src, i + 2 + 4 * static_cast<std::size_t>(k), p, c.resolver, c.ui);
        for (TextureData& t : p.Textures)
            t.BackColor = kUndeterminedBackColor;
    } else if (line == "TextureBackColors") {
        for (std::size_t k = 0; k < p.Textures.size(); ++k)
            p.Textures[k].BackColor = src.Color(i + 1 + k, "a background colour");
    } else if (line == "VisLines" || line == "Lines") {
        bool vis = line == "VisLines";
        int32_t n = src.Count(i + 1, vis ? "visualization line count" : "line count", 5);
        std::vector<ObjectData>& list = vis ? p.VisLines : p.Lines;
        list.clear();
        list.reserve(static_cast<std::size_t>(n));
        for (int32_t k = 0; k < n; ++k) {
            std::size_t at = i + 2 + 5 * static_cast<std::size_t>(k);
            list.push_back(ReadLineRecord(src, at));
            Remember(vis ? c.where.visLines : c.where.lines, list.size() - 1, at);
        }
    } else if (line == "Polygons") {
        int32_t n = src.Count(i + 1, "polygon count", 5);
        p.Polygons.clear();
        p.Polygons.reserve(static_cast<std::size_t>(n));
        AdviseHugePages(p.Polygons.data(), p.Polygons.capacity() * sizeof(ObjectData));
        std::size_t at = i + 2;
        for (int32_t k = 0; k < n; ++k) {
            ObjectData poly;
            std::size_t start = at;
            at = ReadPolygonRecord(src, at, poly);
            p.Polygons.push_back(std::move(poly));
            Remember(c.where.polygons, p.Polygons.size() - 1, start);
        }
    } else if (line == "DisplayClass") {
        p.DisplayClass = src.Int(i + 1, "the display class");
    } else if (line == "Collision") {
        int32_t n = src.Count(i + 1, "collision volume count", 1);
        p.CollVols.clear();
        std::size_t at = i + 2;
        for (int32_t k = 0; k < n; ++k) {
            std::size_t start = at;
            int32_t planes = src.Count(at++, "plane count", 2);
            CollVol vol;
            for (int32_t j = 0; j < planes; ++j) {
                vol.Rebounds.push_back(src.Int(at++, "a rebound code"));
                vol.PolygonIndices.push_back(src.Int(at++, "a polygon index"));
            }
            p.CollVols.push_back(std::move(vol));
            Remember(c.where.collVols, p.CollVols.size() - 1, start);
        }
    } else if (line == "Options") {
        ReadOptions(src, i + 1, p.Options);
    }
}

// The same for a merge into a Project that had c.v0 vertices and c.t0 textures.
template <class Src>
void MergeSection(ReadContext& c, const Src& src, std::size_t i, std::string_view line) {
    Project& p = c.project;
    if (line == "Vertices") {
        int32_t n = src.Count(i + 1, "vertex count", 3);
        std::optional<Offset3> offset = c.ui.AskImportOffset();
        if (!offset)
            throw StopRead{ReadOutcome::Stopped};
        // Parse first so that a bad line adds none of this section's vertices.
        std::vector<Vertex> added;
        added.reserve(static_cast<std::size_t>(n));
        for (int32_t k = 0; k < n; ++k) {
            std::size_t at = i + 2 + 3 * static_cast<std::size_t>(k);
            added.push_back({src.Float(at, "an X coordinate") + offset->X,
                             src.Float(at + 1, "a Y coordinate") + offset->Y,
                             src.Float(at + 2, "a Z coordinate") + offset->Z, false});
        }
        p.Vertices.insert(p.Vertices.end(), added.begin(), added.end());
    } else if (line == "Textures") {
        int32_t n = src.Count(i + 1, "texture count", 4);
        CheckTextureRoom(src, i + 1, p.Textures.size(), static_cast<std::size_t>(n));
        // The view rebuilds its texture objects on its next frame.
        TexturesChanged(p);
        c.resolver.ResetFolder();
        for (int32_t k = 0; k < n; ++k)
            ReadTexture(src, i + 2 + 4 * static_cast<std::size_t>(k), p, c.resolver, c.ui);
        for (TextureData& t : p.Textures)
            t.BackColor = kUndeterminedBackColor;
        c.ui.Log("Rebuilding Texture Library.....");
        c.ui.Log("Done.");
    } else if (line == "TextureBackColors") {
        for (std::size_t k = c.t0; k < p.Textures.size(); ++k)
            p.Textures[k].BackColor = src.Color(i + 1 + (k - c.t0), "a background colour");
    } else if (line == "Lines") {
        int32_t n = src.Count(i + 1, "line count", 5);
        for (int32_t k = 0; k < n; ++k) {
            std::size_t at = i + 2 + 5 * static_cast<std::size_t>(k);
            ObjectData l = ReadLineRecord(src, at);
            for (int32_t& idx : l.VertexIndices)
                idx += static_cast<int32_t>(c.v0);
            p.Lines.push_back(std::move(l));
            Remember(c.where.lines, p.Lines.size() - 1, at);
        }
    } else if (line == "Polygons") {
        int32_t n = src.Count(i + 1, "polygon count", 5);
        std::size_t at = i + 2;
        for (int32_t k = 0; k < n; ++k) {
            ObjectData poly;
            std::size_t start = at;
            at = ReadPolygonRecord(src, at, poly);
            for (int32_t& idx : poly.VertexIndices)
                idx += static_cast<int32_t>(c.v0);
            if (poly.TextureIndex != kUntextured)
                poly.TextureIndex += static_cast<int32_t>(c.t0);
            p.Polygons.push_back(std::move(poly));
            Remember(c.where.polygons, p.Polygons.size() - 1, start);
        }
    }
}

// A whole read or merge: the log lines, the Project's name, the index check whatever way the
// read ends. `scan` calls ReadSection (MergeSection) for every line of the file in order.
using Scan = std::function<void(ReadContext&)>;
ReadOutcome ReadProjectWith(Project& project, ProjectFileUi& ui, const Scan& scan);
ReadOutcome MergeProjectWith(Project& project, const std::string& path, ProjectFileUi& ui,
                             const Scan& scan);

} // namespace meshforge::project_sections
