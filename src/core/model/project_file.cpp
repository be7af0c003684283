#include "model/project_file.h"

#include "model/located_lines.h"
#include "model/project.h"
#include "model/project_file_ui.h"
#include "model/renumber.h"
#include "model/texts.h"
#include "util/atomic_file.h"
#include "util/errors.h"

#include <filesystem>
#include <optional>

namespace meshforge {

namespace fs = std::filesystem;

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::string_view FileNamePart(std::string_view path) {
    std::size_t pos = path.find_last_of("\\/");
    return pos == std::string_view::npos ? path : path.substr(pos + 1);
}

std::string_view FolderPart(std::string_view path) {
    std::size_t pos = path.find_last_of("\\/");
    return pos == std::string_view::npos ? std::string_view{} : path.substr(0, pos + 1);
}

std::string ConversionInfoText(const std::string& filename, int transparent,
                               const std::string& maskFilename, int repeatValue) {
    std::string s;
    for (const char* line : {"; Conversion Info for BMP > MIP", ";", "; Filename: Path to Bitmap",
                             "; Transparent: 0= No, 1= Yes", "; MaskFilename: Path to Mask Bitmap",
                             "; Repeat Texture: 0= No, 1= Horizontal, 2= Vertical, 3= Both", ";"}) {
        s += line;
        s += "\r\n";
    }
    s += "Filename=" + filename + "\r\n";
    s += "Transparent=" + FormatInt(transparent) + "\r\n";
    s += "MaskFilename=" + maskFilename + "\r\n";
    s += "RepeatValue=" + FormatInt(repeatValue) + "\r\n";
    return s;
}

void ClearAllData(Project& p, ProjectFileUi& ui) {
    ResetProject(p);
    ui.Log("All Data Cleared !");
}

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

class Writer {
  public:
    void Line(std::string_view s) {
        out_ += s;
        out_ += "\r\n";
    }
    void Int(int32_t v) { Line(FormatInt(v)); }
    void Bool(bool v) { Line(v ? "1" : "0"); }
    void General(float v) { Line(FormatGeneral(v)); }
    void Fixed(float v) { Line(FormatFixed(v, 3)); }
    void Color(const ColorTriple& c) {
        General(c.R);
        General(c.G);
        General(c.B);
    }
    std::string Take() { return std::move(out_); }

  private:
    std::string out_;
};

std::string ProjectSubfolder(const Project& p, const SaveOptions& o) {
    return o.AppFolder + p.ProjectName + std::string(1, fs::path::preferred_separator);
}

// Copies the bitmap into the project subfolder and returns its new path, or the old one when the
// copy cannot be made (missing subfolder, missing source, already in place).
std::string CopyBitmapToProject(const std::string& filename, const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return filename;
    std::string target = folder + std::string(FileNamePart(filename));
    if (fs::exists(target, ec) && fs::equivalent(filename, target, ec))
        return filename;
    if (!fs::copy_file(filename, target, fs::copy_options::overwrite_existing, ec))
        return filename;
    return target;
}

void WriteTextures(Writer& w, Project& p, const SaveOptions& o, ProjectFileUi& ui) {
    w.Line("Textures");
    w.Int(static_cast<int32_t>(p.Textures.size()));
    std::string folder = ProjectSubfolder(p, o);
    std::error_code ec;
    bool folderExists = o.MakeSubDir && fs::is_directory(folder, ec);
    for (TextureData& t : p.Textures) {
        if (o.CopyBmp && folderExists)
            t.Filename = CopyBitmapToProject(t.Filename, folder);
        if (o.MipInfo && folderExists) {
            std::string_view name = FileNamePart(t.Filename);
            std::string base(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
            WriteFileAtomically(
                folder + base + ".mci",
                ConversionInfoText(t.Filename, t.Transparent, t.MaskFilename, t.RepeatValue));
            ui.Log("Mip-Conversion Info for " + std::string(name) + " written/updated !");
        }
        w.Line(t.Filename);
        w.Int(t.Transparent);
        w.Line(t.MaskFilename);
        w.Int(t.RepeatValue);
    }
    w.Line("TextureBackColors");
    for (const TextureData& t : p.Textures)
        w.Line(FormatColor(t.BackColor));
}

void WritePolygon(Writer& w, const ObjectData& poly) {
    w.Color(poly.Color);
    w.Int(poly.VertexCount());
    for (int32_t idx : poly.VertexIndices)
        w.Int(idx);
    w.Int(poly.TextureIndex);
    if (poly.TextureIndex < kUntextured) {
        for (int32_t k = 0; k + 1 < poly.VertexCount(); ++k) {
            TexCoord tc =
                k < static_cast<int32_t>(poly.TexCoords.size()) ? poly.TexCoords[k] : TexCoord{};
            w.General(tc.U);
            w.General(tc.V);
        }
    }
}

void WriteOptions(Writer& w, const ViewOptions& o) {
    w.Int(o.Zoom);
    w.Int(o.RotationX);
    w.Int(o.RotationY);
    w.Int(o.RotationZ);
    w.Int(o.PanX);
    w.Int(o.PanY);
    w.Bool(o.ShowAxis);
    w.Bool(o.ShowVertices);
    w.Bool(o.ShowLines);
    w.Bool(o.ShowPolygons);
    w.Bool(o.ShowTextures);
    w.Bool(o.Perspective);
    w.Int(o.VertexDisplaySize);
    w.Line(o.BackgroundColor);
    w.Line(o.VertexColor);
    w.Line(o.SelectedVertexColor);
    w.Bool(o.Overwrite);
    w.Bool(o.UseTrackFolder);
    w.Line(o.TrackFolder);
    w.Bool(o.AutoGPL);
    w.Bool(o.MinimizeOnGPL);
    w.Bool(o.CloseOnGPL);
    w.Bool(o.GPLParam);
    w.Line(o.AdditionalGPLParams);
    w.Int(o.AxisSize);
}

} // namespace

std::string SerializeProject(Project& p, const SaveOptions& o, ProjectFileUi& ui) {
    Writer w;
    w.Line("ProjectDescription");
    w.Line(p.ProjectDescription);
    w.Line("Vertices");
    w.Int(static_cast<int32_t>(p.Vertices.size()));
    for (const Vertex& v : p.Vertices) {
        w.Fixed(v.X);
        w.Fixed(v.Y);
        w.Fixed(v.Z);
    }
    if (!p.Textures.empty())
        WriteTextures(w, p, o, ui);
    if (!p.Lines.empty()) {
        w.Line("Lines");
        w.Int(static_cast<int32_t>(p.Lines.size()));
        for (const ObjectData& l : p.Lines) {
            w.Color(l.Color);
            w.Int(l.VertexIndices.size() > 0 ? l.VertexIndices[0] : 0);
            w.Int(l.VertexIndices.size() > 1 ? l.VertexIndices[1] : 0);
        }
    }
    if (!p.Polygons.empty()) {
        w.Line("Polygons");
        w.Int(static_cast<int32_t>(p.Polygons.size()));
        for (const ObjectData& poly : p.Polygons)
            WritePolygon(w, poly);
    }
    w.Line("DisplayClass");
    w.Int(p.DisplayClass);
    if (!p.CollVols.empty()) {
        w.Line("Collision");
        w.Int(static_cast<int32_t>(p.CollVols.size()));
        for (const CollVol& c : p.CollVols) {
            w.Int(c.PlaneCount());
            for (int32_t k = 0; k < c.PlaneCount(); ++k) {
                w.Int(k < static_cast<int32_t>(c.Rebounds.size()) ? c.Rebounds[k] : 0);
                w.Int(c.PolygonIndices[k]);
            }
        }
    }
    w.Line("Options");
    WriteOptions(w, p.Options);
    return w.Take();
}

void WriteProject(Project& p, const SaveOptions& o, ProjectFileUi& ui) {
    WriteFileAtomically(p.ProjectFileName, SerializeProject(p, o, ui));
    ui.Log("Project " + p.ProjectFileName + " saved !");
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {

// Element lines remembered for the index check after a read; index = position in the list.
struct SourceLines {
    std::vector<std::size_t> lines, polygons, visLines, collVols;
};

void Remember(std::vector<std::size_t>& v, std::size_t index, std::size_t line) {
    if (v.size() <= index)
        v.resize(index + 1, SIZE_MAX);
    v[index] = line;
}

ColorTriple ReadTriple(const LocatedLines& src, std::size_t at) {
    return {src.Float(at, "a red value"), src.Float(at + 1, "a green value"),
            src.Float(at + 2, "a blue value")};
}

ObjectData ReadLineRecord(const LocatedLines& src, std::size_t at) {
    ObjectData l;
    l.Color = ReadTriple(src, at);
    l.VertexIndices = {src.Int(at + 3, "a start vertex index"),
                       src.Int(at + 4, "an end vertex index")};
    return l;
}

// Reads one polygon starting at `at`; returns the line after it.
std::size_t ReadPolygonRecord(const LocatedLines& src, std::size_t at, ObjectData& poly) {
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

    Result Resolve(std::string& path) {
        std::error_code ec;
        const std::string name(FileNamePart(path));
        // Only a folder the user re-selected from: without one the bare name would be looked
        // for in the working folder and another file of that name taken.
        std::string candidate = folder_ + name;
        if (!folder_.empty() && !name.empty() && fs::exists(candidate, ec)) {
            path = candidate;
            return Result::Resolved;
        }
        // A relative name is the project folder's, not the working folder's; it is kept as a
        // full path, as every other entry is.
        const bool relative = !path.empty() && fs::path(path).is_relative();
        if (relative && projectFolder_ && !projectFolder_->empty() &&
            fs::exists(*projectFolder_ + path, ec)) {
            path = *projectFolder_ + path;
            return Result::Resolved;
        }
        if (!path.empty() && (!relative || !projectFolder_ || projectFolder_->empty()) &&
            fs::exists(path, ec))
            return Result::Resolved;
        if (projectFolder_ && !name.empty() && fs::exists(*projectFolder_ + name, ec)) {
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
void ReadTexture(const LocatedLines& src, std::size_t at, Project& p, BitmapResolver& resolver,
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

void CheckTextureRoom(const LocatedLines& src, std::size_t at, std::size_t existing,
                      std::size_t added) {
    if (existing + added > kMaxTextures)
        throw ParseError(src.Where(at) + "a project can hold at most " +
                         std::to_string(kMaxTextures) + " textures, this would make " +
                         std::to_string(existing + added));
}

void ReadOptions(const LocatedLines& src, std::size_t at, ViewOptions& o) {
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

// Keeps the list invariants after a read: elements whose indices point outside their lists are
// dropped (or lose their texture) by the rules of the editor's removals, and the user is told
// which element and line.
void EnforceIndices(Project& p, const SourceLines& src, const std::string& path,
                    ProjectFileUi& ui) {
    std::vector<std::string> problems;
    auto lineText = [](const std::vector<std::size_t>& v, std::size_t i) {
        return i < v.size() && v[i] != SIZE_MAX ? ", line " + std::to_string(v[i] + 1) : "";
    };
    auto vertexOk = [&](int32_t idx) {
        return idx >= 0 && static_cast<std::size_t>(idx) < p.Vertices.size();
    };
    auto badLines = [&](const std::vector<ObjectData>& list, const std::vector<std::size_t>& lines,
                        const char* kind) {
        std::vector<bool> bad(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            const ObjectData& l = list[i];
            if (l.VertexIndices.size() == 2 && vertexOk(l.VertexIndices[0]) &&
                vertexOk(l.VertexIndices[1]))
                continue;
            bad[i] = true;
            problems.push_back(std::string(kind) + " " + std::to_string(i) + lineText(lines, i) +
                               ": vertex index outside the vertex list, dropped");
        }
        return bad;
    };
    RemoveLinesWhere(p, badLines(p.Lines, src.lines, "Line"));
    RemoveVisLinesWhere(p, badLines(p.VisLines, src.visLines, "Visualization line"));

    std::vector<bool> badPolygons(p.Polygons.size());
    for (std::size_t i = 0; i < p.Polygons.size(); ++i) {
        ObjectData& poly = p.Polygons[i];
        bool ok =
            !poly.VertexIndices.empty() && poly.VertexIndices.front() == poly.VertexIndices.back();
        for (int32_t idx : poly.VertexIndices)
            ok = ok && vertexOk(idx);
        if (!ok) {
            badPolygons[i] = true;
            problems.push_back("Polygon " + std::to_string(i) + lineText(src.polygons, i) +
                               ": vertex index outside the vertex list or ring not closed, "
                               "dropped");
            continue;
        }
        if (poly.TextureIndex != kUntextured &&
            (poly.TextureIndex < 0 ||
             static_cast<std::size_t>(poly.TextureIndex) >= p.Textures.size())) {
            problems.push_back("Polygon " + std::to_string(i) + lineText(src.polygons, i) +
                               ": texture index " + std::to_string(poly.TextureIndex) +
                               " outside the texture list, made untextured");
            poly.TextureIndex = kUntextured;
        }
    }
    // The removal below drops the planes that name no kept polygon and the volumes left
    // without a plane; they are named here, by their place in the file.
    for (std::size_t c = 0; c < p.CollVols.size(); ++c) {
        const CollVol& vol = p.CollVols[c];
        std::size_t kept = 0;
        for (std::size_t k = 0; k < vol.PolygonIndices.size(); ++k) {
            const int32_t idx = vol.PolygonIndices[k];
            if (idx >= 0 && static_cast<std::size_t>(idx) < badPolygons.size() &&
                !badPolygons[static_cast<std::size_t>(idx)]) {
                ++kept;
                continue;
            }
            problems.push_back("Collision volume " + std::to_string(c) + lineText(src.collVols, c) +
                               ": plane " + std::to_string(k) +
                               " names a missing polygon, dropped");
        }
        if (kept == 0)
            problems.push_back("Collision volume " + std::to_string(c) + lineText(src.collVols, c) +
                               ": no plane left, dropped");
    }
    RemovePolygonsWhere(p, badPolygons);
    if (problems.empty())
        return;
    std::string text = "File " + path + " refers to data it does not hold:";
    const std::size_t shown = 10;
    for (std::size_t i = 0; i < problems.size() && i < shown; ++i)
        text += "\r" + problems[i];
    if (problems.size() > shown)
        text += "\r... and " + std::to_string(problems.size() - shown) + " more";
    ui.Message(text);
    for (const std::string& line : problems)
        ui.Log(line);
}

bool IsKeywordStart(std::string_view line) {
    // Cheap pre-check: every keyword starts with one of these letters.
    return !line.empty() && (line[0] == 'P' || line[0] == 'V' || line[0] == 'T' || line[0] == 'L' ||
                             line[0] == 'D' || line[0] == 'C' || line[0] == 'O');
}

std::string CountsLine(std::size_t v, std::size_t l, std::size_t p, std::size_t t) {
    return std::to_string(v) + " Vertices, " + std::to_string(l) + " Line(s), " +
           std::to_string(p) + " Polygons(s), " + std::to_string(t) + " Texture(s).";
}

void ScanForRead(Project& p, const LocatedLines& src, ProjectFileUi& ui, SourceLines& where) {
    BitmapResolver resolver(ui, src.Path());
    for (std::size_t i = 0; i < src.Size(); ++i) {
        std::string_view line = src[i];
        if (!IsKeywordStart(line))
            continue;
        if (line == "ProjectDescription") {
            p.ProjectDescription = std::string(src.Text(i + 1, "the project description"));
        } else if (line == "Vertices") {
            int32_t n = src.Count(i + 1, "vertex count", 3);
            p.Vertices.clear();
            p.Vertices.reserve(static_cast<std::size_t>(n));
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
            resolver.ResetFolder();
            for (int32_t k = 0; k < n; ++k)
                ReadTexture(src, i + 2 + 4 * static_cast<std::size_t>(k), p, resolver, ui);
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
                Remember(vis ? where.visLines : where.lines, list.size() - 1, at);
            }
        } else if (line == "Polygons") {
            int32_t n = src.Count(i + 1, "polygon count", 5);
            p.Polygons.clear();
            p.Polygons.reserve(static_cast<std::size_t>(n));
            std::size_t at = i + 2;
            for (int32_t k = 0; k < n; ++k) {
                ObjectData poly;
                std::size_t start = at;
                at = ReadPolygonRecord(src, at, poly);
                p.Polygons.push_back(std::move(poly));
                Remember(where.polygons, p.Polygons.size() - 1, start);
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
                Remember(where.collVols, p.CollVols.size() - 1, start);
            }
        } else if (line == "Options") {
            ReadOptions(src, i + 1, p.Options);
        }
    }
}

// Runs a scan and keeps the Project's invariants whatever way the scan ends.
template <class Scan>
std::optional<ReadOutcome> GuardedScan(Project& p, const std::string& path, ProjectFileUi& ui,
                                       Scan scan) {
    BumpRevision(p); // whatever part of the file is read, the lists are not what they were
    SourceLines where;
    try {
        scan(where);
    } catch (const StopRead& stop) {
        if (stop.outcome != ReadOutcome::Cleared)
            EnforceIndices(p, where, path, ui);
        return stop.outcome;
    } catch (...) {
        EnforceIndices(p, where, path, ui);
        throw;
    }
    EnforceIndices(p, where, path, ui);
    return std::nullopt;
}

} // namespace

ReadOutcome ReadProjectText(Project& p, std::string_view text, ProjectFileUi& ui) {
    const std::string path = p.ProjectFileName;
    ui.Log("Loading Project......");
    std::string_view name = FileNamePart(path);
    p.ProjectName = std::string(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
    LocatedLines src(path, text);
    if (auto stopped =
            GuardedScan(p, path, ui, [&](SourceLines& w) { ScanForRead(p, src, ui, w); }))
        return *stopped;
    ui.Log("");
    ui.Log("Loaded from Project " + path + ": ");
    ui.Log(CountsLine(p.Vertices.size(), p.Lines.size(), p.Polygons.size(), p.Textures.size()));
    p.HasGeometry = true;
    UpdateBoundingBox(p);
    return ReadOutcome::Completed;
}

ReadOutcome ReadProject(Project& p, ProjectFileUi& ui) {
    std::string text = ReadWholeFile(p.ProjectFileName);
    return ReadProjectText(p, text, ui);
}

namespace {

void ScanForMerge(Project& p, const LocatedLines& src, ProjectFileUi& ui, SourceLines& where,
                  std::size_t v0, std::size_t t0) {
    BitmapResolver resolver(ui, src.Path());
    for (std::size_t i = 0; i < src.Size(); ++i) {
        std::string_view line = src[i];
        if (!IsKeywordStart(line))
            continue;
        if (line == "Vertices") {
            int32_t n = src.Count(i + 1, "vertex count", 3);
            std::optional<Offset3> offset = ui.AskImportOffset();
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
            resolver.ResetFolder();
            for (int32_t k = 0; k < n; ++k)
                ReadTexture(src, i + 2 + 4 * static_cast<std::size_t>(k), p, resolver, ui);
            for (TextureData& t : p.Textures)
                t.BackColor = kUndeterminedBackColor;
            ui.Log("Rebuilding Texture Library.....");
            ui.Log("Done.");
        } else if (line == "TextureBackColors") {
            for (std::size_t k = t0; k < p.Textures.size(); ++k)
                p.Textures[k].BackColor = src.Color(i + 1 + (k - t0), "a background colour");
        } else if (line == "Lines") {
            int32_t n = src.Count(i + 1, "line count", 5);
            for (int32_t k = 0; k < n; ++k) {
                std::size_t at = i + 2 + 5 * static_cast<std::size_t>(k);
                ObjectData l = ReadLineRecord(src, at);
                for (int32_t& idx : l.VertexIndices)
                    idx += static_cast<int32_t>(v0);
                p.Lines.push_back(std::move(l));
                Remember(where.lines, p.Lines.size() - 1, at);
            }
        } else if (line == "Polygons") {
            int32_t n = src.Count(i + 1, "polygon count", 5);
            std::size_t at = i + 2;
            for (int32_t k = 0; k < n; ++k) {
                ObjectData poly;
                std::size_t start = at;
                at = ReadPolygonRecord(src, at, poly);
                for (int32_t& idx : poly.VertexIndices)
                    idx += static_cast<int32_t>(v0);
                if (poly.TextureIndex != kUntextured)
                    poly.TextureIndex += static_cast<int32_t>(t0);
                p.Polygons.push_back(std::move(poly));
                Remember(where.polygons, p.Polygons.size() - 1, start);
            }
        }
    }
}

} // namespace

ReadOutcome MergeProjectText(Project& p, const std::string& path, std::string_view text,
                             ProjectFileUi& ui) {
    const std::size_t v0 = p.Vertices.size(), t0 = p.Textures.size(), l0 = p.Lines.size(),
                      p0 = p.Polygons.size();
    LocatedLines src(path, text);
    if (auto stopped =
            GuardedScan(p, path, ui, [&](SourceLines& w) { ScanForMerge(p, src, ui, w, v0, t0); }))
        return *stopped;
    ui.Log("");
    ui.Log("Added from Project " + path + ": ");
    ui.Log(CountsLine(p.Vertices.size() - v0, p.Lines.size() - l0, p.Polygons.size() - p0,
                      p.Textures.size() - t0));
    p.HasGeometry = true;
    UpdateBoundingBox(p);
    return ReadOutcome::Completed;
}

ReadOutcome MergeProject(Project& p, const std::string& path, ProjectFileUi& ui) {
    std::string text = ReadWholeFile(path);
    return MergeProjectText(p, path, text, ui);
}

} // namespace meshforge
