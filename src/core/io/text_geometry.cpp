#include "io/text_geometry.h"

#include "io/dxf_import.h"
#include "io/export_file.h"
#include "model/located_lines.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/texts.h"
#include "ui/ui.h"
#include "util/atomic_file.h"
#include "util/errors.h"
#include "util/text_sink.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace meshforge {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kNoVerticesMessage =
    "      No Vertices defined      \r\r      Nothing to save !";

void Put(TextSink& out, std::string_view line) {
    out += line;
    out += kEol;
}

// Hands out the fields of a text separated by single blanks, one at a time, so that a line
// of many blanks costs no allocation.
class Fields {
  public:
    explicit Fields(std::string_view text) : rest_(text) {}
    bool Done() const { return done_; }
    std::string_view Next() {
        std::size_t blank = rest_.find(' ');
        std::string_view field = rest_.substr(0, blank);
        if (blank == std::string_view::npos)
            done_ = true;
        else
            rest_.remove_prefix(blank + 1);
        return field;
    }

  private:
    std::string_view rest_;
    bool done_ = false;
};

std::string_view From(std::string_view line, std::size_t pos) {
    return pos < line.size() ? line.substr(pos) : std::string_view{};
}

// What an import does before reading: the offset when adding, or the refusal.
struct ImportStart {
    bool adding = false;
    bool cancelled = false;
    Offset3 offset;
};

ImportStart Start(const Project& project, Ui& ui) {
    ImportStart s;
    s.adding = project.HasGeometry;
    if (s.adding) {
        std::optional<Offset3> o = ui.AskImportOffset();
        s.cancelled = !o;
        if (o)
            s.offset = *o;
    }
    return s;
}

TextImportResult Stopped(Project& project, TextImportResult r, const ParseError& e, Ui& ui) {
    ui.Message(e.what());
    // What was read before the faulty line stays, so the Project must show it has geometry.
    project.HasGeometry = project.HasGeometry || !project.Vertices.empty();
    r.Outcome = TextImportOutcome::Failed;
    return r;
}

TextImportResult Outcome(TextImportOutcome o) {
    TextImportResult r;
    r.Outcome = o;
    return r;
}

} // namespace

std::string_view TextExportRefusal(const Project& project) {
    return project.HasGeometry ? std::string_view{} : kNoVerticesMessage;
}

// ---------------------------------------------------------------------------------------------
// Vertex text

void WriteVertexText(const Project& project, TextSink& out) {
    Put(out, kVertexTextHeader);
    Put(out, "    Following the Keyword \"VertexXYZ\" are blocks");
    Put(out, "  of Data X,Y,Z, each block preceeded by a blank line");
    Put(out, std::string(53, '='));
    Put(out, kVertexTextKeyword);
    for (const Vertex& v : project.Vertices) {
        Put(out, "");
        Put(out, FormatGeneral(v.X));
        Put(out, FormatGeneral(v.Y));
        Put(out, FormatGeneral(v.Z));
    }
}

std::string VertexTextOf(const Project& project) {
    StringSink out;
    WriteVertexText(project, out);
    return out.Take();
}

bool ExportVertexText(const Project& project, const std::string& path, Ui& ui) {
    if (!WriteExportFile(
            path, [&](TextSink& out) { WriteVertexText(project, out); }, ui))
        return false;
    ui.Log(std::to_string(project.Vertices.size()) + " Vertices saved to file " + path);
    return true;
}

TextImportResult ReadVertexText(Project& project, const std::string& path, std::string_view text,
                                Ui& ui) {
    LocatedLines lines(path, text);
    if (lines.Size() == 0 || lines[0] != kVertexTextHeader) {
        ui.Message("Not a valid Vertex Text file !");
        return Outcome(TextImportOutcome::NotValid);
    }
    std::size_t keyword = 0;
    while (keyword < lines.Size() && lines[keyword] != kVertexTextKeyword)
        ++keyword;
    if (keyword == lines.Size()) {
        ui.Message("Error in file " + path + ": no line \"" + std::string(kVertexTextKeyword) +
                   "\" found");
        return Outcome(TextImportOutcome::Failed);
    }
    // m never exceeds the number of lines, and Vertices are appended only as their lines are
    // read, so a large m costs nothing before the file runs out.
    std::size_t m = 0;
    for (std::size_t i = 0; i < lines.Size(); ++i)
        m += lines[i].empty() ? 1 : 0;

    ImportStart start = Start(project, ui);
    if (start.cancelled)
        return Outcome(TextImportOutcome::OffsetCancelled);
    if (!start.adding)
        project.Vertices.clear();
    BumpRevision(project);
    std::size_t before = project.Vertices.size();
    TextImportResult r;
    try {
        auto coord = [&lines](std::size_t at, const char* axis, std::size_t c) {
            if (at >= lines.Size())
                throw ParseError(lines.Where(at) + "expected the " + axis +
                                 " coordinate of Vertex " + std::to_string(c + 1) +
                                 ", found the end of the file");
            return lines.FloatField(at, lines[at], "a coordinate");
        };
        for (std::size_t c = 0; c < m; ++c) {
            std::size_t at = keyword + 2 + 4 * c;
            Vertex v;
            v.X = coord(at, "X", c) + start.offset.X;
            v.Y = coord(at + 1, "Y", c) + start.offset.Y;
            v.Z = coord(at + 2, "Z", c) + start.offset.Z;
            project.Vertices.push_back(v);
            ++r.Vertices;
        }
    } catch (const ParseError& e) {
        return Stopped(project, r, e, ui);
    }
    ui.Log(
        std::to_string(project.Vertices.size() - before) +
        (start.adding ? " additional Vertices added from file " : " Vertices loaded from file ") +
        path);
    project.HasGeometry = true;
    UpdateBoundingBox(project);
    r.Outcome = TextImportOutcome::Imported;
    return r;
}

namespace {
// The file's text, or nullopt after showing why it cannot be read.
std::optional<std::string> ReadOrTell(const std::string& path, Ui& ui) {
    try {
        return ReadWholeFile(path);
    } catch (const FileError& e) {
        ui.Message(e.what());
        return std::nullopt;
    }
}
} // namespace

TextImportResult ImportVertexText(Project& project, const std::string& path, Ui& ui) {
    std::optional<std::string> text = ReadOrTell(path, ui);
    if (!text)
        return Outcome(TextImportOutcome::Unreadable);
    return ReadVertexText(project, path, *text, ui);
}

// ---------------------------------------------------------------------------------------------
// 3DOText

namespace {

bool Writable(const ObjectData& polygon, std::size_t vertexCount) {
    if (polygon.VertexCount() < 2)
        return false;
    return std::all_of(
        polygon.VertexIndices.begin(), polygon.VertexIndices.end() - 1,
        [vertexCount](int32_t i) { return i >= 0 && static_cast<std::size_t>(i) < vertexCount; });
}

} // namespace

void Write3DOText(const Project& project, TextSink& out) {
    Put(out, k3DOTextHeader);
    Put(out, std::to_string(project.Vertices.size()));
    for (const Vertex& v : project.Vertices)
        Put(out, "p " + FormatGeneral(v.X) + " " + FormatGeneral(v.Y) + " " + FormatGeneral(v.Z));
    for (const ObjectData& polygon : project.Polygons) {
        if (!Writable(polygon, project.Vertices.size()))
            continue;
        int32_t k = polygon.VertexCount() - 1;
        std::string line = "v " + std::to_string(k) + " " + std::string(k3DOTextToken) + " ";
        for (int32_t c = 0; c < k; ++c)
            line += std::to_string(polygon.VertexIndices[c]) + " ";
        Put(out, line);
    }
    Put(out, "v -1");
}

std::string ThreeDOTextOf(const Project& project) {
    StringSink out;
    Write3DOText(project, out);
    return out.Take();
}

bool Export3DOText(const Project& project, const std::string& path, Ui& ui) {
    if (!WriteExportFile(
            path, [&](TextSink& out) { Write3DOText(project, out); }, ui))
        return false;
    ui.Log("Data saved to 3DO Text file " + path);
    return true;
}

namespace {

void ReadPoint(const LocatedLines& lines, std::size_t at, const Offset3& offset, Vertex& v) {
    std::string_view line = lines[at];
    if (line.empty() || line[0] != 'p')
        return; // such a line leaves its Vertex at the origin
    Fields fields(From(line, 2));
    float xyz[3];
    for (int axis = 0; axis < 3; ++axis) {
        if (fields.Done())
            throw ParseError(lines.Where(at) + "expected three coordinates after \"p\"");
        xyz[axis] = lines.FloatField(at, fields.Next(), "a coordinate");
    }
    if (!fields.Done())
        throw ParseError(lines.Where(at) + "more than three coordinates after \"p\"");
    v.X = xyz[0] + offset.X;
    v.Y = xyz[1] + offset.Y;
    v.Z = xyz[2] + offset.Z;
}

// Reads one "v" line: false when it names a Vertex outside the list.
bool ReadPolygon(const LocatedLines& lines, std::size_t at, std::size_t base,
                 std::size_t vertexCount, ObjectData& polygon) {
    std::string_view rest = From(lines[at], 2);
    std::size_t blank = rest.find(' ');
    int32_t k = lines.IntField(at, rest.substr(0, blank), "the corner count");
    if (k < 1)
        throw ParseError(lines.Where(at) + "a polygon needs at least one corner");
    if (blank == std::string_view::npos)
        throw ParseError(lines.Where(at) + "expected the corner indices after the corner count");
    std::string_view tail = rest.substr(blank + 1);
    // The export closes every line with a blank; without it the last index is still whole.
    if (!tail.empty() && tail.back() == ' ')
        tail.remove_suffix(1);
    std::size_t fieldCount =
        static_cast<std::size_t>(std::count(tail.begin(), tail.end(), ' ')) + 1;
    if (static_cast<std::size_t>(k) > fieldCount - 1)
        throw ParseError(lines.Where(at) + "the corner count " + std::to_string(k) +
                         " is more than the line holds");
    Fields fields(tail);
    fields.Next(); // the fixed token carries nothing
    polygon.VertexIndices.reserve(static_cast<std::size_t>(k) + 1);
    bool inside = true;
    for (int32_t c = 0; c < k; ++c) {
        int64_t i = lines.IntField(at, fields.Next(), "a vertex index");
        if (i < 0 || base + static_cast<std::size_t>(i) >= vertexCount)
            inside = false;
        else
            polygon.VertexIndices.push_back(
                static_cast<int32_t>(base + static_cast<std::size_t>(i)));
    }
    if (inside)
        polygon.VertexIndices.push_back(polygon.VertexIndices.front());
    return inside;
}

std::string SkippedMessage(const std::vector<std::size_t>& skipped, const std::string& path) {
    constexpr std::size_t kListed = 10;
    std::string s = std::to_string(skipped.size()) + " Polygon(s) in file " + path +
                    " refer to Vertices outside the list and were not added: line";
    s += skipped.size() == 1 ? " " : "s ";
    for (std::size_t j = 0; j < std::min(skipped.size(), kListed); ++j)
        s += (j ? ", " : "") + std::to_string(skipped[j] + 1);
    if (skipped.size() > kListed)
        s += " and " + std::to_string(skipped.size() - kListed) + " more";
    return s;
}

} // namespace

TextImportResult Read3DOText(Project& project, const std::string& path, std::string_view text,
                             Ui& ui, std::mt19937& rng) {
    LocatedLines lines(path, text);
    if (lines.Size() == 0 || lines[0] != k3DOTextHeader) {
        ui.Message("Not a valid 3DOText file !");
        return Outcome(TextImportOutcome::NotValid);
    }
    ImportStart start = Start(project, ui);
    if (start.cancelled)
        return Outcome(TextImportOutcome::OffsetCancelled);
    if (!start.adding) {
        project.Vertices.clear();
        project.Polygons.clear();
    }
    BumpRevision(project);
    const std::size_t base = project.Vertices.size();
    TextImportResult r;
    std::vector<std::size_t> skipped;
    try {
        int32_t n = lines.Int(1, "the vertex count");
        if (n < 0)
            throw ParseError(lines.Where(1) + "the vertex count " + std::to_string(n) +
                             " is negative");
        if (static_cast<std::size_t>(n) > lines.Size() - 2)
            throw ParseError(lines.Where(1) + "the vertex count " + std::to_string(n) +
                             " is more than the rest of the file can hold");
        project.Vertices.reserve(base + static_cast<std::size_t>(n));
        for (std::size_t p = 1; p <= static_cast<std::size_t>(n); ++p) {
            Vertex v;
            ReadPoint(lines, 1 + p, start.offset, v);
            project.Vertices.push_back(v);
            ++r.Vertices;
        }
        ui.Log(std::to_string(n) +
               (start.adding ? " additional Vertices added from file "
                             : " Vertices loaded from file ") +
               path);

        for (std::size_t at = 0; at < lines.Size(); ++at) {
            std::string_view line = lines[at];
            if (line.empty() || line[0] != 'v')
                continue;
            if (line.size() > 2 && line[2] == '-')
                break;
            ObjectData polygon;
            if (!ReadPolygon(lines, at, base, project.Vertices.size(), polygon)) {
                skipped.push_back(at);
                continue;
            }
            polygon.Color = RandomPolygonColor(rng);
            polygon.TextureIndex = kUntextured;
            project.Polygons.push_back(std::move(polygon));
            ++r.Polygons;
        }
    } catch (const ParseError& e) {
        r.Skipped = static_cast<int64_t>(skipped.size());
        return Stopped(project, r, e, ui);
    }
    r.Skipped = static_cast<int64_t>(skipped.size());
    if (!skipped.empty())
        ui.Message(SkippedMessage(skipped, path));
    ui.Log(start.adding
               ? std::to_string(r.Polygons) + " new Polygons added from file " + path
               : std::to_string(project.Polygons.size()) + " Polygons loaded from file " + path);
    project.HasGeometry = true;
    project.GeometryShown = true;
    UpdateBoundingBox(project);
    r.Outcome = TextImportOutcome::Imported;
    return r;
}

TextImportResult Import3DOText(Project& project, const std::string& path, Ui& ui) {
    std::optional<std::string> text = ReadOrTell(path, ui);
    if (!text)
        return Outcome(TextImportOutcome::Unreadable);
    std::mt19937 rng(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return Read3DOText(project, path, *text, ui, rng);
}

} // namespace meshforge
