#include "io/dxf_import.h"

#include "app/ui.h"
#include "edit/vertices.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/texts.h"
#include "util/atomic_file.h"
#include "util/errors.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_set>
#include <vector>

namespace meshforge {

namespace {

constexpr std::string_view kBinaryMarker = "AutoCAD Binary DXF";
constexpr std::size_t kQuotedTextLimit = 40; // a hostile line may be megabytes long

// Walks the text line by line with exactly the line breaks of SplitLines (CR LF, LF, CR).
struct LineCursor {
    std::string_view text;
    std::size_t pos = 0;

    bool AtEnd() const { return pos >= text.size(); }
    std::string_view Next() {
        const char* begin = text.data() + pos;
        const std::size_t rest = text.size() - pos;
        std::size_t len = 0;
        for (;; ++len) {
            // One comparison for the common case: every line-break byte is at most '\r'.
            while (len<rest&& static_cast<unsigned char>(begin[len])> '\r')
                ++len;
            if (len >= rest || begin[len] == '\n' || begin[len] == '\r')
                break;
        }
        std::size_t next = pos + len;
        if (next < text.size()) {
            next +=
                (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        }
        pos = next;
        return {begin, len};
    }
};

// 10 to 13 for " 10".." 13" and "10".."13", else 0. No other spelling is a code line.
int CoordinateCode(std::string_view line) {
    if (line.size() == 3 && line[0] == ' ')
        line.remove_prefix(1);
    if (line.size() != 2 || line[0] != '1' || line[1] < '0' || line[1] > '3')
        return 0;
    return 10 + (line[1] - '0');
}

std::string Quoted(std::string_view text) {
    if (text.size() > kQuotedTextLimit)
        return std::string(text.substr(0, kQuotedTextLimit)) + "...";
    return std::string(text);
}

std::string FailurePrefix(const std::string& path) {
    return "Unable to import from file '" + path + "'\r";
}

// A code line found for some entity and where the line after it starts.
struct CodeLine {
    uint64_t line;
    std::size_t valueOffset;
};

struct Point3 {
    float X, Y, Z;
};

uint32_t KeyBits(float v) {
    return std::bit_cast<uint32_t>(v == 0.0f ? 0.0f : v); // 0 and -0 share a key
}

bool SamePosition(const Point3& a, const Vertex& b) {
    return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
}

// First vertex at exactly a position, in constant time. The hash keeps the first index of
// each position, so later equal vertices never shadow it; NaN positions are never stored and
// never found, as an exact comparison with NaN fails.
class VertexLookup {
  public:
    explicit VertexLookup(const std::vector<Vertex>& vertices) : vertices_(vertices) {
        Rehash(std::bit_ceil(std::max<std::size_t>(64, vertices.size() * 2)));
        for (std::size_t i = 0; i < vertices.size(); ++i)
            Add(static_cast<int32_t>(i));
    }

    std::optional<int32_t> Find(const Point3& p) const {
        if (std::isnan(p.X) || std::isnan(p.Y) || std::isnan(p.Z))
            return std::nullopt;
        for (std::size_t s = Hash(p.X, p.Y, p.Z) & mask_;; s = (s + 1) & mask_) {
            const int32_t at = slots_[s];
            if (at < 0)
                return std::nullopt;
            if (SamePosition(p, vertices_[static_cast<std::size_t>(at)]))
                return at;
        }
    }

    // Called after vertices_[index] was appended.
    void Add(int32_t index) {
        const Vertex& v = vertices_[static_cast<std::size_t>(index)];
        if (std::isnan(v.X) || std::isnan(v.Y) || std::isnan(v.Z))
            return;
        if ((used_ + 1) * 2 > slots_.size())
            Rehash(slots_.size() * 2);
        Insert(index);
    }

  private:
    static uint64_t Hash(float x, float y, float z) {
        uint64_t h = (static_cast<uint64_t>(KeyBits(x)) << 32 | KeyBits(y)) * 0x9E3779B97F4A7C15ull;
        h ^= (h >> 29) ^ (KeyBits(z) * 0xBF58476D1CE4E5B9ull);
        h *= 0x94D049BB133111EBull;
        return h ^ (h >> 31);
    }
    void Insert(int32_t index) {
        const Vertex& v = vertices_[static_cast<std::size_t>(index)];
        for (std::size_t s = Hash(v.X, v.Y, v.Z) & mask_;; s = (s + 1) & mask_) {
            const int32_t at = slots_[s];
            if (at < 0) {
                slots_[s] = index;
                ++used_;
                return;
            }
            const Vertex& w = vertices_[static_cast<std::size_t>(at)];
            if (w.X == v.X && w.Y == v.Y && w.Z == v.Z)
                return; // the earlier index stays the answer
        }
    }
    void Rehash(std::size_t capacity) {
        std::vector<int32_t> old = std::move(slots_);
        slots_.assign(capacity, -1);
        mask_ = capacity - 1;
        used_ = 0;
        for (int32_t at : old)
            if (at >= 0)
                Insert(at);
    }

    const std::vector<Vertex>& vertices_;
    std::vector<int32_t> slots_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;
};

uint64_t LineKey(int32_t a, int32_t b) {
    return static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32 | static_cast<uint32_t>(b);
}

// The entity keywords and needed code lines of a file, indexed in one pass so that every
// forward search becomes a binary search.
struct DxfIndex {
    std::vector<uint64_t> keywordLines;
    std::array<std::vector<CodeLine>, 4> codes; // codes 10 to 13
};

DxfIndex BuildIndex(std::string_view text, std::string_view keyword, int groups) {
    DxfIndex index;
    LineCursor cursor{text};
    for (uint64_t i = 0; !cursor.AtEnd(); ++i) {
        const std::string_view line = cursor.Next();
        if (line == keyword) {
            index.keywordLines.push_back(i);
            continue;
        }
        const int code = CoordinateCode(line);
        if (code != 0 && code - 10 < groups)
            index.codes[static_cast<std::size_t>(code - 10)].push_back({i, cursor.pos});
    }
    return index;
}

class Reader {
  public:
    Reader(const std::string& path, std::string_view text, std::string_view keyword, Ui& ui)
        : path_(path), text_(text), keyword_(keyword), ui_(ui) {}

    // Group `code` of the entity at keyword line `k`, searched from line `from`; sets `from`
    // to the line after the code line found. False when the message was shown.
    bool Group(const DxfIndex& index, int code, uint64_t k, uint64_t& from, Point3& out) {
        const auto& list = index.codes[static_cast<std::size_t>(code - 10)];
        auto it = std::lower_bound(list.begin(), list.end(), from,
                                   [](const CodeLine& c, uint64_t line) { return c.line < line; });
        if (it == list.end())
            return PastEnd(code, k);
        from = it->line + 1;
        LineCursor cursor{text_, it->valueOffset};
        float* axes[3] = {&out.X, &out.Y, &out.Z};
        for (int axis = 0; axis < 3; ++axis) {
            if (axis > 0) {
                if (cursor.AtEnd())
                    return PastEnd(code, k);
                cursor.Next(); // the 2n / 3n code line is not looked at
            }
            if (cursor.AtEnd())
                return PastEnd(code, k);
            const std::string_view value = cursor.Next();
            try {
                *axes[axis] = ParseFloat(value);
            } catch (const ParseError&) {
                ui_.Message(FailurePrefix(path_) + " Line " +
                            std::to_string(it->line + 2 + 2 * static_cast<uint64_t>(axis)) +
                            " is not a number: '" + Quoted(value) + "'");
                return false;
            }
        }
        return true;
    }

  private:
    bool PastEnd(int code, uint64_t k) {
        ui_.Message(FailurePrefix(path_) + " The " + std::string(keyword_) + " in line " +
                    std::to_string(k + 1) + " has no complete group " + std::to_string(code) +
                    " before the end of the file !");
        return false;
    }

    const std::string& path_;
    std::string_view text_;
    std::string_view keyword_;
    Ui& ui_;
};

int GroupsOf(DxfKind kind) {
    switch (kind) {
    case DxfKind::Point:
    case DxfKind::Vertex:
        return 1;
    case DxfKind::Line:
        return 2;
    case DxfKind::Face:
        break;
    }
    return 4;
}

std::string LogText(DxfKind kind, bool adding) {
    switch (kind) {
    case DxfKind::Point:
    case DxfKind::Vertex:
        return adding ? " additional valid Vertices added from file "
                      : " valid Vertices loaded from file ";
    case DxfKind::Line:
        return adding ? " additional Lines added from file " : " valid Lines loaded from file ";
    case DxfKind::Face:
        break;
    }
    return adding ? " additional Polygons added from file " : " valid Polygons loaded from file ";
}

} // namespace

std::string_view DxfKeyword(DxfKind kind) {
    switch (kind) {
    case DxfKind::Point:
        return "POINT";
    case DxfKind::Vertex:
        return "VERTEX";
    case DxfKind::Line:
        return "LINE";
    case DxfKind::Face:
        break;
    }
    return "3DFACE";
}

int64_t DxfScan::Count(DxfKind kind) const {
    switch (kind) {
    case DxfKind::Point:
        return Points;
    case DxfKind::Vertex:
        return Vertices;
    case DxfKind::Line:
        return Lines;
    case DxfKind::Face:
        break;
    }
    return Faces;
}

std::string DxfButtonCaption(DxfKind kind, int64_t count) {
    return std::to_string(count) + " " + std::string(DxfKeyword(kind)) + " objects in DXF";
}

DxfScan ScanDxfText(const std::string& path, std::string_view text, Ui& ui) {
    DxfScan scan;
    LineCursor cursor{text};
    if (!cursor.AtEnd() && cursor.Next() == kBinaryMarker) {
        ui.Message("Binary DXF format not supported...");
        return scan;
    }
    scan.Caption = "Scanning file '" + std::string(FileNamePart(path)) + "'";
    for (cursor.pos = 0; !cursor.AtEnd();) {
        const std::string_view line = cursor.Next();
        if (line.empty() || line.size() > 6)
            continue;
        if (line == "POINT")
            ++scan.Points;
        else if (line == "VERTEX")
            ++scan.Vertices;
        else if (line == "LINE")
            ++scan.Lines;
        else if (line == "3DFACE")
            ++scan.Faces;
    }
    if (scan.Points == 0 && scan.Vertices == 0 && scan.Lines == 0 && scan.Faces == 0) {
        ui.Message(FailurePrefix(path) + " No POINT, VERTEX, LINE or 3DFACE entities found !");
        return scan;
    }
    scan.Ok = true;
    return scan;
}

namespace {
std::optional<std::string> ReadOrTell(const std::string& path, Ui& ui) {
    try {
        return ReadWholeFile(path);
    } catch (const FileError&) {
        ui.Message("Unable to load file " + path);
        return std::nullopt;
    }
}
} // namespace

DxfScan ScanFile(const std::string& path, Ui& ui, std::string* keep) {
    std::optional<std::string> text = ReadOrTell(path, ui);
    if (!text)
        return {};
    DxfScan scan = ScanDxfText(path, *text, ui);
    if (keep)
        *keep = std::move(*text);
    return scan;
}

ColorTriple RandomPolygonColor(std::mt19937& rng) {
    auto unit = [&rng] { return static_cast<float>(rng() >> 8) * 0x1p-24f; };
    ColorTriple c;
    c.R = unit();
    c.G = unit();
    c.B = unit();
    return c;
}

DxfImportResult ImportDxfText(Project& project, const std::string& path, std::string_view text,
                              DxfKind kind, Ui& ui, std::mt19937& rng,
                              const DxfProgress& progress) {
    const std::string_view keyword = DxfKeyword(kind);
    const int groups = GroupsOf(kind);
    const DxfIndex index = BuildIndex(text, keyword, groups);
    if (index.keywordLines.empty()) {
        ui.Message("Sorry, no '" + std::string(keyword) + "' objects in DXF file...");
        return {DxfImportOutcome::NotPresent, 0};
    }
    const bool adding = project.HasGeometry;
    Offset3 offset;
    if (adding) {
        std::optional<Offset3> answer = ui.AskImportOffset();
        if (!answer)
            return {DxfImportOutcome::OffsetCancelled, 0};
        offset = *answer;
    } else {
        project.Vertices.clear();
    }

    std::vector<Vertex>& vertices = project.Vertices;
    VertexLookup lookup(vertices);
    std::unordered_set<uint64_t> lineKeys;
    if (kind == DxfKind::Line)
        for (const ObjectData& line : project.Lines)
            if (line.VertexIndices.size() == 2)
                lineKeys.insert(LineKey(line.VertexIndices[0], line.VertexIndices[1]));

    Reader reader(path, text, keyword, ui);
    DxfImportResult result{DxfImportOutcome::Failed, 0};
    auto append = [&](const Point3& p) -> int32_t {
        vertices.push_back(Vertex{p.X, p.Y, p.Z, false});
        const auto at = static_cast<int32_t>(vertices.size() - 1);
        lookup.Add(at);
        return at;
    };
    constexpr std::size_t kProgressStep = 1 << 15;
    const std::size_t total = index.keywordLines.size();
    for (std::size_t e = 0; e < total; ++e) {
        const uint64_t k = index.keywordLines[e];
        if (progress && e % kProgressStep == 0)
            progress(static_cast<double>(e) / static_cast<double>(total));
        // Vertex indices are 32-bit; a file that would need more is refused, not wrapped.
        if (vertices.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) - 4) {
            ui.Message(FailurePrefix(path) + " Too many Vertices !");
            return result;
        }
        std::array<Point3, 4> corner{};
        uint64_t from = k + 1;
        for (int g = 0; g < groups; ++g) {
            if (!reader.Group(index, 10 + g, k, from, corner[static_cast<std::size_t>(g)]))
                return result;
            if (adding) {
                corner[g].X += offset.X;
                corner[g].Y += offset.Y;
                corner[g].Z += offset.Z;
            }
        }
        std::array<std::optional<int32_t>, 4> found;
        for (int g = 0; g < groups; ++g)
            found[g] = lookup.Find(corner[g]);
        switch (kind) {
        case DxfKind::Point:
        case DxfKind::Vertex:
            if (!found[0]) {
                append(corner[0]);
                ++result.Created;
            }
            break;
        case DxfKind::Line: {
            const int32_t start = found[0] ? *found[0] : append(corner[0]);
            const int32_t end = found[1] ? *found[1] : append(corner[1]);
            if (lineKeys.contains(LineKey(start, end)) || lineKeys.contains(LineKey(end, start)))
                break;
            lineKeys.insert(LineKey(start, end));
            ObjectData line;
            line.Color = {0.5f, 0.5f, 0.5f};
            line.VertexIndices = {start, end};
            project.Lines.push_back(std::move(line));
            ++result.Created;
            break;
        }
        case DxfKind::Face: {
            const Point3& c3 = corner[2];
            const Point3& c4 = corner[3];
            const bool triangle = c3.X == c4.X && c3.Y == c4.Y && c3.Z == c4.Z;
            std::array<int32_t, 4> at{};
            for (int g = 0; g < (triangle ? 3 : 4); ++g)
                at[g] = found[g] ? *found[g] : append(corner[g]);
            ObjectData polygon;
            polygon.Color = RandomPolygonColor(rng);
            if (triangle)
                polygon.VertexIndices = {at[0], at[1], at[2], at[0]};
            else
                polygon.VertexIndices = {at[0], at[1], at[2], at[3], at[0]};
            polygon.TextureIndex = kUntextured;
            project.Polygons.push_back(std::move(polygon));
            ++result.Created;
            break;
        }
        }
    }
    if (progress)
        progress(1.0);
    ui.Log(std::to_string(result.Created) + LogText(kind, adding) + path);
    if (!adding)
        project.HasGeometry = true;
    UpdateBoundingBox(project);
    result.Outcome = DxfImportOutcome::Imported;
    return result;
}

DxfImportResult ImportDxf(Project& project, const std::string& path, DxfKind kind, Ui& ui,
                          std::mt19937& rng, const DxfProgress& progress) {
    const std::optional<std::string> text = ReadOrTell(path, ui);
    if (!text)
        return {DxfImportOutcome::Failed, 0};
    return ImportDxfText(project, path, *text, kind, ui, rng, progress);
}

int32_t FinishDxfImport(Project& project, ColorTriple& currentLineColor, Ui& ui) {
    return RemoveDoubleVertices(project, currentLineColor, ui);
}

} // namespace meshforge
