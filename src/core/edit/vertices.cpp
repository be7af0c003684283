#include "edit/vertices.h"

#include "edit/lines.h"
#include "model/renumber.h"
#include "model/texts.h"
#include "ui/ui.h"
#include "util/errors.h"
#include "util/memory.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace meshforge {

namespace {

std::string Fitted(std::string text, std::size_t width, bool padLeft) {
    if (text.size() > width)
        text.resize(width);
    std::string pad(width - text.size(), ' ');
    return padLeft ? pad + text : text + pad;
}

// Parses one field; empty text gives nullopt without a message. A text that is not a number
// is shown and reported through `ok`.
std::optional<float> ParseField(const std::string& text, const char* axis, Ui& ui, bool& ok) {
    if (text.empty())
        return std::nullopt;
    try {
        return ParseFloat(text);
    } catch (const ParseError&) {
        ui.Message(std::string("The ") + axis + " value '" + text + "' is not a number !");
        ok = false;
        return std::nullopt;
    }
}

// After vertices were removed: the flags and the box, as removing them one by one leaves them.
void AfterVerticesRemoved(Project& p) {
    if (p.Vertices.empty()) {
        p.HasGeometry = p.GeometryShown = false;
    } else {
        UpdateBoundingBox(p);
        p.HasGeometry = p.GeometryShown = true;
    }
}

// Keeps the lists valid for the vertex list: lines and polygons naming a vertex outside it are
// removed.
void DropDangling(Project& p) {
    const auto n = static_cast<int32_t>(p.Vertices.size());
    auto dangling = [n](const std::vector<ObjectData>& list) {
        std::vector<bool> flags(list.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            flags[i] = std::any_of(list[i].VertexIndices.begin(), list[i].VertexIndices.end(),
                                   [n](int32_t x) { return x < 0 || x >= n; });
        return flags;
    };
    RemovePolygonsWhere(p, dangling(p.Polygons));
    RemoveLinesWhere(p, dangling(p.Lines));
}

void EmptyLinesPolygonsTextures(Project& p) {
    TexturesChanged(p);
    p.Textures.clear();
    p.Lines.clear();
    p.VisLines.clear();
    p.Polygons.clear();
    p.CollVols.clear(); // they name polygons
    p.CurrentLine = kNoElement;
    p.CurrentPolygon = kNoElement;
    p.CurrentTexture = kNoTexture;
}

float Midpoint(float a, float b) {
    return static_cast<float>((static_cast<double>(a) + static_cast<double>(b)) / 2);
}

uint32_t KeyBits(float v) {
    return std::bit_cast<uint32_t>(v == 0.0f ? 0.0f : v); // -0 and 0 share a key
}

uint64_t PositionHash(const Vertex& v) {
    uint64_t h = (static_cast<uint64_t>(KeyBits(v.X)) << 32 | KeyBits(v.Y)) * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 29) ^ (KeyBits(v.Z) * 0xBF58476D1CE4E5B9ull);
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 31);
}

} // namespace

std::string VertexListLine(int32_t index, const Vertex& v) {
    return Fitted(std::to_string(index), 4, false) + ":" + Fitted(FormatFixed3(v.X), 9, true) +
           Fitted(FormatFixed3(v.Y), 9, true) + Fitted(FormatFixed3(v.Z), 9, true);
}

VertexFields FieldsForSelection(const Project& project, const VertexFields& current) {
    std::vector<const Vertex*> selected;
    for (const Vertex& v : project.Vertices)
        if (v.Selected)
            selected.push_back(&v);
    if (selected.empty())
        return current;
    if (selected.size() == 1)
        return {FormatFixed3(selected[0]->X), FormatFixed3(selected[0]->Y),
                FormatFixed3(selected[0]->Z)};
    VertexFields f = current;
    auto keepIfCommon = [&](std::string& field, float Vertex::*axis) {
        for (const Vertex* v : selected)
            if (field != FormatFixed3(v->*axis)) {
                field.clear();
                return;
            }
    };
    keepIfCommon(f.X, &Vertex::X);
    keepIfCommon(f.Y, &Vertex::Y);
    keepIfCommon(f.Z, &Vertex::Z);
    return f;
}

bool ModifyEnabled(const Project& project, const VertexFields& fields) {
    auto selected = std::count_if(project.Vertices.begin(), project.Vertices.end(),
                                  [](const Vertex& v) { return v.Selected; });
    return !(selected > 1 && fields.X == fields.Y && fields.Y == fields.Z);
}

std::optional<int32_t> ParseVertexNumber(std::string_view text, const Project& project, Ui& ui) {
    int32_t index = 0;
    try {
        index = ParseInt(text);
    } catch (const ParseError&) {
        ui.Message("'" + std::string(text) + "' is not a vertex number !");
        return std::nullopt;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= project.Vertices.size()) {
        ui.Message("Vertex " + std::to_string(index) + " does not exist !");
        return std::nullopt;
    }
    return index;
}

void ClearVertexSelection(Project& project) {
    for (Vertex& v : project.Vertices)
        v.Selected = false;
}

void DeleteVertex(Project& project, int32_t index) {
    auto& vs = project.Vertices;
    if (index < 0 || static_cast<std::size_t>(index) >= vs.size())
        return;
    BumpRevision(project);
    for (std::size_t i = static_cast<std::size_t>(index); i + 1 < vs.size(); ++i) {
        vs[i].X = vs[i + 1].X;
        vs[i].Y = vs[i + 1].Y;
        vs[i].Z = vs[i + 1].Z;
    }
    vs.pop_back();
    AfterVerticesRemoved(project);
}

void VertexUndo::Take(const Project& project) {
    taken_ = true;
    stamp_.Take(project);
    vertices_ = project.Vertices;
    lines_.reset();
    polygons_.reset();
    collVols_.clear();
    if (!project.Lines.empty())
        lines_ = project.Lines;
    if (!project.Polygons.empty()) {
        polygons_ = project.Polygons;
        for (ObjectData& p : *polygons_)
            if (p.TextureIndex == kUntextured)
                p.TexCoords.clear();
        collVols_ = project.CollVols;
    }
}

void VertexUndo::Discard() {
    *this = VertexUndo{};
}

bool VertexUndo::CanRestore(const Project& project) const {
    return taken_ && !vertices_.empty() && stamp_.Matches(project);
}

bool VertexUndo::Restore(Project& project, ColorTriple& currentLineColor, Ui& ui) {
    if (!taken_ || vertices_.empty())
        return false;
    if (!stamp_.Matches(project)) {
        ui.Message(kUndoStaleMessage);
        Discard();
        return false;
    }
    RebuildVisLinesAround(project, currentLineColor, ui, [&] {
        BumpRevision(project);
        project.Vertices = std::move(vertices_);
        ClearVertexSelection(project);
        if (lines_)
            project.Lines = std::move(*lines_);
        if (polygons_) {
            project.Polygons = std::move(*polygons_);
            project.CollVols = std::move(collVols_);
        }
        DropDangling(project);
        if (static_cast<std::size_t>(project.CurrentLine) >= project.Lines.size())
            project.CurrentLine = kNoElement;
        if (static_cast<std::size_t>(project.CurrentPolygon) >= project.Polygons.size())
            project.CurrentPolygon = kNoElement;
        UpdateBoundingBox(project);
        project.HasGeometry = project.GeometryShown = true;
    });
    Discard();
    return true;
}

bool AddVertex(Project& project, const VertexFields& fields, Ui& ui) {
    if (fields.X.empty() || fields.Y.empty() || fields.Z.empty()) {
        ui.Message(kMissingCoordinateMessage);
        return false;
    }
    bool ok = true;
    std::optional<float> x = ParseField(fields.X, "X", ui, ok);
    std::optional<float> y = ok ? ParseField(fields.Y, "Y", ui, ok) : std::nullopt;
    std::optional<float> z = ok ? ParseField(fields.Z, "Z", ui, ok) : std::nullopt;
    if (!ok)
        return false;
    project.Vertices.push_back({*x, *y, *z, false});
    BumpRevision(project);
    project.HasGeometry = project.GeometryShown = true;
    ClearVertexSelection(project);
    return true;
}

ModifyResult ModifySelectedVertices(Project& project, const VertexFields& fields, VertexUndo& undo,
                                    Ui& ui) {
    bool ok = true;
    std::optional<float> x = ParseField(fields.X, "X", ui, ok);
    std::optional<float> y = ok ? ParseField(fields.Y, "Y", ui, ok) : std::nullopt;
    std::optional<float> z = ok ? ParseField(fields.Z, "Z", ui, ok) : std::nullopt;
    if (!ok)
        return {};
    undo.Take(project);
    ModifyResult result{true, -1};
    for (std::size_t i = 0; i < project.Vertices.size(); ++i) {
        Vertex& v = project.Vertices[i];
        if (!v.Selected)
            continue;
        if (x)
            v.X = *x;
        if (y)
            v.Y = *y;
        if (z)
            v.Z = *z;
        result.LastModified = static_cast<int32_t>(i);
    }
    return result;
}

namespace {

std::vector<bool> SelectionOf(const Project& p) {
    std::vector<bool> selected(p.Vertices.size());
    for (std::size_t i = 0; i < p.Vertices.size(); ++i)
        selected[i] = p.Vertices[i].Selected;
    return selected;
}

int32_t EraseVertices(Project& p, const std::vector<bool>& gone) {
    const int32_t removed = RemoveVerticesWhere(p, gone);
    if (removed > 0)
        AfterVerticesRemoved(p);
    return removed;
}

} // namespace

int32_t EraseSelectedVertices(Project& project) {
    return EraseVertices(project, SelectionOf(project));
}

int32_t RemoveSelectedVertices(Project& project, VertexUndo& undo, ColorTriple& currentLineColor,
                               Ui& ui) {
    // Taken before the visualization lines go: removing them clears the selection.
    const std::vector<bool> selected = SelectionOf(project);
    if (std::none_of(selected.begin(), selected.end(), [](bool s) { return s; }))
        return 0;
    undo.Take(project);
    const uint64_t taken = project.Revision;
    int32_t removed = 0;
    RebuildVisLinesAround(project, currentLineColor, ui,
                          [&] { removed = EraseVertices(project, selected); });
    undo.Follow(project, taken);
    ClearVertexSelection(project);
    return removed;
}

bool RemoveAllVertices(Project& project, VertexUndo& undo, Ui& ui) {
    if (ui.Ask(kRemoveAllQuestion, kRemoveAllCaption, Buttons::YesNo) != Answer::Yes)
        return false;
    EmptyLinesPolygonsTextures(project);
    project.Vertices.clear();
    project.HasGeometry = project.GeometryShown = false;
    ui.Log("All Vertices removed !");
    undo.Take(project); // an empty snapshot: a following Undo has nothing to bring back
    return true;
}

int32_t MergeDoubleVertices(Project& p) {
    const std::size_t n = p.Vertices.size();
    if (n < 2)
        return 0;
    // Open addressing over the surviving vertices; a slot holds survivor's old index + 1.
    std::size_t capacity = std::bit_ceil(n * 2);
    // Fresh tables for a large object fill many times faster in huge pages.
    std::vector<uint32_t> slots;
    slots.reserve(capacity);
    AdviseHugePages(slots.data(), capacity * sizeof(uint32_t));
    slots.assign(capacity, 0);
    const std::size_t mask = capacity - 1;
    // The map from old to new indices is made at the first duplicate: until then every vertex
    // keeps its index, and an object without duplicates never pays for the map's memory.
    std::vector<int32_t> newIndex;
    const auto startMap = [&](std::size_t upTo) {
        newIndex.reserve(n);
        AdviseHugePages(newIndex.data(), n * sizeof(int32_t));
        newIndex.resize(n);
        for (std::size_t k = 0; k < upTo; ++k)
            newIndex[k] = static_cast<int32_t>(k);
    };
    int32_t kept = 0;
    // The probes land anywhere in tables far larger than the caches. The slot of the vertex
    // kFar steps ahead is fetched early; kNear steps ahead, that slot is read and the vertex it
    // names (if any) is fetched, so both have arrived when the vertex is placed.
    constexpr std::size_t kFar = 16, kNear = 8, kRing = 32;
    std::array<std::size_t, kRing> ahead{};
    const auto slotOf = [&](std::size_t i) { return PositionHash(p.Vertices[i]) & mask; };
    for (std::size_t i = 0; i < std::min(n, kFar); ++i)
        ahead[i % kRing] = slotOf(i);
    for (std::size_t i = 0; i < n; ++i) {
        if (i + kFar < n) {
            const std::size_t far = slotOf(i + kFar);
            ahead[(i + kFar) % kRing] = far;
            __builtin_prefetch(&slots[far]);
        }
        if (i + kNear < n)
            if (const uint32_t occupant = slots[ahead[(i + kNear) % kRing]])
                __builtin_prefetch(&p.Vertices[occupant - 1]);
        const Vertex& v = p.Vertices[i];
        const bool mapping = !newIndex.empty();
        if (std::isnan(v.X) || std::isnan(v.Y) || std::isnan(v.Z)) {
            // equal to nothing, not even itself
            if (mapping)
                newIndex[i] = kept;
            ++kept;
            continue;
        }
        std::size_t s = ahead[i % kRing];
        for (;;) {
            if (slots[s] == 0) {
                slots[s] = static_cast<uint32_t>(i + 1);
                if (mapping)
                    newIndex[i] = kept;
                ++kept;
                break;
            }
            const uint32_t survivor = slots[s] - 1;
            const Vertex& w = p.Vertices[survivor];
            if (w.X == v.X && w.Y == v.Y && w.Z == v.Z) {
                if (!mapping)
                    startMap(i);
                newIndex[i] = newIndex[survivor];
                break;
            }
            s = (s + 1) & mask;
        }
    }
    const auto removed = static_cast<int32_t>(n) - kept;
    if (removed == 0)
        return 0;
    MergeVertices(p, newIndex, kept);
    AfterVerticesRemoved(p);
    return removed;
}

int32_t RemoveDoubleVertices(Project& project, ColorTriple& currentLineColor, Ui& ui) {
    int32_t removed = 0;
    RebuildVisLinesAround(project, currentLineColor, ui, [&] {
        removed = MergeDoubleVertices(project);
        ui.Log(removed == 0 ? std::string("No overlaying/double Vertices in project")
                            : "Removed " + std::to_string(removed) + " overlaying/double Vertices");
    });
    return removed;
}

bool AddInterpolatedVertices(Project& project, ColorTriple& currentLineColor, Ui& ui,
                             const std::function<void()>& pump) {
    if (project.Vertices.size() < 2) {
        ui.Message(kNotEnoughVerticesMessage);
        return false;
    }
    // Asked before anything changes, so that No leaves the visualization lines alone too.
    const bool clearFirst = !project.Lines.empty() || !project.Polygons.empty();
    if (clearFirst &&
        ui.Ask(kInterpolateQuestion, kInterpolateCaption, Buttons::YesNo) != Answer::Yes)
        return false;
    RebuildVisLinesAround(project, currentLineColor, ui, [&] {
        if (clearFirst) {
            EmptyLinesPolygonsTextures(project);
            ui.Log("All associated Polygons/Lines removed !");
            ClearVertexSelection(project);
        }
        const std::vector<Vertex>& old = project.Vertices;
        std::vector<Vertex> rebuilt;
        rebuilt.reserve(old.size() * 2 - 1);
        for (std::size_t k = 0; k < old.size(); ++k) {
            rebuilt.push_back({old[k].X, old[k].Y, old[k].Z, false});
            // The last vertex gets no midpoint: the list is a path, not a closed ring.
            if (k + 1 < old.size())
                rebuilt.push_back({Midpoint(old[k].X, old[k + 1].X),
                                   Midpoint(old[k].Y, old[k + 1].Y),
                                   Midpoint(old[k].Z, old[k + 1].Z), false});
            if (pump)
                pump();
        }
        const std::size_t added = rebuilt.size() - old.size();
        BumpRevision(project);
        project.Vertices = std::move(rebuilt);
        ui.Log(std::to_string(added) + " interpolated Vertices added");
    });
    return true;
}

std::optional<int32_t> CreateInterpolatedVertex(Project& project, Ui& ui) {
    auto& vs = project.Vertices;
    if (vs.size() < 2) {
        ui.Message(kNotEnoughVerticesMessage);
        return std::nullopt;
    }
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < vs.size(); ++i)
        if (vs[i].Selected)
            selected.push_back(i);
    if (selected.size() != 2) {
        ui.Message(kOnlyTwoSelectedMessage);
        return std::nullopt;
    }
    Vertex& a = vs[selected[0]];
    Vertex& b = vs[selected[1]];
    Vertex mid{Midpoint(a.X, b.X), Midpoint(a.Y, b.Y), Midpoint(a.Z, b.Z), true};
    a.Selected = b.Selected = false;
    vs.push_back(mid);
    BumpRevision(project);
    const auto index = static_cast<int32_t>(vs.size() - 1);
    ui.Log("Created Vertex " + std::to_string(index) + ", located between Vertices " +
           std::to_string(selected[0]) + " and " + std::to_string(selected[1]));
    return index;
}

} // namespace meshforge
