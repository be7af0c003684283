#include "model/project_file.h"

#include "model/located_lines.h"
#include "model/project.h"
#include "model/project_file_ui.h"
#include "model/project_sections.h"
#include "model/renumber.h"
#include "model/texts.h"
#include "util/atomic_file.h"
#include "util/errors.h"
#include "util/line_source.h"
#include "util/platform_file.h"
#include "util/text_sink.h"

#include <filesystem>
#include <limits>
#include <optional>
#include <stdexcept>

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
    explicit Writer(TextSink& out) : out_(out) {}
    void Line(std::string_view s) {
        out_ += s;
        out_ += "\r\n";
    }
    void Int(int32_t v) {
        AppendInt(out_, v);
        out_ += "\r\n";
    }
    void Bool(bool v) { Line(v ? "1" : "0"); }
    void General(float v) { Line(FormatGeneral(v)); }
    void Fixed(float v) {
        AppendFixed(out_, v, 3);
        out_ += "\r\n";
    }
    void Color(const ColorTriple& c) {
        General(c.R);
        General(c.G);
        General(c.B);
    }

  private:
    TextSink& out_;
};

std::string ProjectSubfolder(const Project& p, const SaveOptions& o) {
    return o.AppFolder + p.ProjectName + std::string(1, fs::path::preferred_separator);
}

// Copies the bitmap into the project subfolder and returns its new path, or the old one when the
// copy cannot be made (missing subfolder, missing source, already in place).
std::string CopyBitmapToProject(const std::string& filename, const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(platform::PathFromUtf8(folder), ec))
        return filename;
    std::string target = folder + std::string(FileNamePart(filename));
    const fs::path from = platform::PathFromUtf8(filename), to = platform::PathFromUtf8(target);
    if (fs::exists(to, ec) && fs::equivalent(from, to, ec))
        return filename;
    if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec))
        return filename;
    return target;
}

void WriteTextures(Writer& w, Project& p, const SaveOptions& o, ProjectFileUi& ui) {
    w.Line("Textures");
    w.Int(static_cast<int32_t>(p.Textures.size()));
    std::string folder = ProjectSubfolder(p, o);
    std::error_code ec;
    bool folderExists = o.MakeSubDir && fs::is_directory(platform::PathFromUtf8(folder), ec);
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

void SerializeProject(Project& p, const SaveOptions& o, ProjectFileUi& ui, TextSink& out) {
    Writer w(out);
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
}

std::string SerializeProject(Project& p, const SaveOptions& o, ProjectFileUi& ui) {
    StringSink out;
    SerializeProject(p, o, ui, out);
    return out.Take();
}

void WriteProject(Project& p, const SaveOptions& o, ProjectFileUi& ui) {
    AtomicFileWriter out(p.ProjectFileName);
    SerializeProject(p, o, ui, out);
    out.Commit();
    ui.Log("Project " + p.ProjectFileName + " saved !");
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {

using namespace project_sections;

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

std::string CountsLine(std::size_t v, std::size_t l, std::size_t p, std::size_t t) {
    return std::to_string(v) + " Vertices, " + std::to_string(l) + " Line(s), " +
           std::to_string(p) + " Polygons(s), " + std::to_string(t) + " Texture(s).";
}

// Runs a scan and keeps the Project's invariants whatever way the scan ends.
std::optional<ReadOutcome> GuardedScan(ReadContext& c, const Scan& scan) {
    BumpRevision(c.project); // whatever part of the file is read, the lists are not what they were
    try {
        scan(c);
    } catch (const StopRead& stop) {
        if (stop.outcome != ReadOutcome::Cleared)
            EnforceIndices(c.project, c.where, c.path, c.ui);
        return stop.outcome;
    } catch (...) {
        EnforceIndices(c.project, c.where, c.path, c.ui);
        throw;
    }
    EnforceIndices(c.project, c.where, c.path, c.ui);
    return std::nullopt;
}

// Where the lines of a project come from: a file, opened afresh for every cursor, or a text.
class LineOrigin {
  public:
    LineOrigin(const std::string& path, std::size_t chunkBytes) : path_(path), chunk_(chunkBytes) {}
    LineOrigin(const std::string& path, std::string_view text) : path_(path), text_(text) {}

    // Lines from byte `offset` on, read `chunkBytes` at a time from a file.
    LineSource Open(uint64_t offset, std::size_t chunkBytes) const {
        if (text_)
            return LineSource(text_->substr(static_cast<std::size_t>(offset)));
        return LineSource::File(path_, chunkBytes, offset);
    }
    std::size_t Chunk() const { return chunk_; }
    const std::string& Path() const { return path_; }

    // The number of lines, as SplitLines counts them.
    std::size_t CountLines() const {
        const uint64_t n =
            text_ ? LineSource::CountTextLines(*text_) : LineSource::CountFileLines(path_, chunk_);
        // A file of more lines than this system can count holds no Project it could keep.
        if (n > std::numeric_limits<std::size_t>::max() / 2)
            throw FileError("Cannot read file " + path_ + ": " + "it is too large");
        return static_cast<std::size_t>(n);
    }

  private:
    std::string path_;
    std::optional<std::string_view> text_;
    std::size_t chunk_ = LineSource::kDefaultChunk;
};

// A keyword met inside lines a section read, where the scan of the whole file still has to
// visit it; `offset` is where the line after it starts.
struct PendingKeyword {
    std::size_t line;
    uint64_t offset;
    std::string keyword;
};

// Numbered lines read front to back, with the typed, located access of LocatedLines. A
// section may ask for lines ahead of the last one (the lines between are passed over) and for
// the last one again. The main cursor notes the keywords among the lines a section takes, so
// that the scan still visits them in their turn.
class LineCursor : public TypedLines<LineCursor> {
  public:
    LineCursor(const LineOrigin& origin, std::size_t firstLine, uint64_t offset,
               std::size_t chunkBytes, std::size_t totalLines, std::vector<PendingKeyword>* pending)
        : lines_(origin.Open(offset, chunkBytes)), path_(origin.Path()), next_(firstLine),
          total_(totalLines), pending_(pending) {}

    // The next line for the scan itself, which is not noted.
    bool NextForScan(std::string_view& line, std::size_t& index) {
        if (!lines_.Next(line))
            return false;
        last_ = line;
        index = next_++;
        return true;
    }

    std::size_t Size() const { return total_; }
    const std::string& Path() const { return path_; }

    std::string_view Text(std::size_t i, std::string_view what) const {
        std::string_view line;
        if (i >= total_ || !Fetch(i, line))
            throw ParseError(Where(i) + "expected " + std::string(what) +
                             ", found the end of the file");
        return line;
    }

  private:
    // Line `i`: the last one again, or one further on. The sections keep to that order.
    bool Fetch(std::size_t i, std::string_view& line) const {
        if (next_ > 0 && i == next_ - 1) {
            line = last_;
            return true;
        }
        if (i < next_)
            throw std::logic_error("project lines asked for out of order");
        while (next_ <= i) {
            if (!lines_.Next(line))
                return false;
            if (pending_ && IsSectionKeyword(line))
                pending_->push_back({next_, lines_.Position(), std::string(line)});
            ++next_;
        }
        last_ = line;
        return true;
    }
    // The sections read through a const source; reading moves the cursor.
    mutable LineSource lines_;
    const std::string& path_;
    mutable std::size_t next_;
    mutable std::string_view last_;
    std::size_t total_;
    std::vector<PendingKeyword>* pending_;
};

// Smaller chunks for the cursors that reread a few lines after a keyword met inside a section.
constexpr std::size_t kRereadChunk = 1 << 12;

// Visits every line of the file in order, as the sections of a whole text would be found,
// holding only a chunk or two of the file at a time. A section reads on through the main
// cursor; a keyword among the lines it took (a flag or a name may be one) is then visited in
// its turn, with its section read by a cursor of its own from that line on.
template <class Section>
Scan StreamScan(const LineOrigin& origin, std::size_t total, Section section) {
    return [&origin, total, section](ReadContext& c) {
        std::vector<PendingKeyword> pending;
        LineCursor main(origin, 0, 0, origin.Chunk(), total, &pending);
        std::string_view line;
        std::size_t i = 0;
        while (main.NextForScan(line, i)) {
            if (!IsKeywordStart(line))
                continue;
            const std::string keyword(line); // the cursor's view moves on with the section
            section(c, main, i, keyword);
            for (std::size_t k = 0; k < pending.size(); ++k) {
                LineCursor again(origin, pending[k].line + 1, pending[k].offset, kRereadChunk,
                                 total, nullptr);
                section(c, again, pending[k].line, pending[k].keyword);
            }
            pending.clear();
        }
    };
}

void ReadSections(ReadContext& c, const LineCursor& src, std::size_t i, std::string_view line) {
    ReadSection(c, src, i, line);
}
void MergeSections(ReadContext& c, const LineCursor& src, std::size_t i, std::string_view line) {
    MergeSection(c, src, i, line);
}

} // namespace

namespace project_sections {

ReadOutcome ReadProjectWith(Project& p, ProjectFileUi& ui, const Scan& scan) {
    const std::string path = p.ProjectFileName;
    ui.Log("Loading Project......");
    std::string_view name = FileNamePart(path);
    p.ProjectName = std::string(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
    ReadContext c(p, ui, path);
    if (auto stopped = GuardedScan(c, scan))
        return *stopped;
    ui.Log("");
    ui.Log("Loaded from Project " + path + ": ");
    ui.Log(CountsLine(p.Vertices.size(), p.Lines.size(), p.Polygons.size(), p.Textures.size()));
    p.HasGeometry = true;
    UpdateBoundingBox(p);
    return ReadOutcome::Completed;
}

ReadOutcome MergeProjectWith(Project& p, const std::string& path, ProjectFileUi& ui,
                             const Scan& scan) {
    const std::size_t v0 = p.Vertices.size(), t0 = p.Textures.size(), l0 = p.Lines.size(),
                      p0 = p.Polygons.size();
    ReadContext c(p, ui, path);
    c.v0 = v0;
    c.t0 = t0;
    if (auto stopped = GuardedScan(c, scan))
        return *stopped;
    ui.Log("");
    ui.Log("Added from Project " + path + ": ");
    ui.Log(CountsLine(p.Vertices.size() - v0, p.Lines.size() - l0, p.Polygons.size() - p0,
                      p.Textures.size() - t0));
    p.HasGeometry = true;
    UpdateBoundingBox(p);
    return ReadOutcome::Completed;
}

} // namespace project_sections

// The lines are counted first (the sections' counts are checked against the lines left), so
// a file that cannot be read fails before anything is logged.
ReadOutcome ReadProjectText(Project& p, std::string_view text, ProjectFileUi& ui) {
    const LineOrigin origin(p.ProjectFileName, text);
    return ReadProjectWith(p, ui, StreamScan(origin, origin.CountLines(), ReadSections));
}

ReadOutcome ReadProject(Project& p, ProjectFileUi& ui, std::size_t chunkBytes) {
    const LineOrigin origin(p.ProjectFileName, chunkBytes);
    return ReadProjectWith(p, ui, StreamScan(origin, origin.CountLines(), ReadSections));
}

ReadOutcome MergeProjectText(Project& p, const std::string& path, std::string_view text,
                             ProjectFileUi& ui) {
    const LineOrigin origin(path, text);
    return MergeProjectWith(p, path, ui, StreamScan(origin, origin.CountLines(), MergeSections));
}

ReadOutcome MergeProject(Project& p, const std::string& path, ProjectFileUi& ui,
                         std::size_t chunkBytes) {
    const LineOrigin origin(path, chunkBytes);
    return MergeProjectWith(p, path, ui, StreamScan(origin, origin.CountLines(), MergeSections));
}

} // namespace meshforge
