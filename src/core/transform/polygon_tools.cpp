#include "transform/polygon_tools.h"

#include "edit/vertices.h"
#include "model/renumber.h"
#include "model/texts.h"
#include "transform/transform_detail.h"
#include "ui/ui.h"

#include <algorithm>

namespace meshforge {

using detail::Fits;

namespace {

bool AnyPolygonSelected(const Project& project) {
    return std::any_of(project.Polygons.begin(), project.Polygons.end(),
                       [](const ObjectData& p) { return p.Selected; });
}

void DeselectPolygons(Project& project) {
    for (ObjectData& p : project.Polygons)
        p.Selected = false;
}

// The corners of a ring: every index but the closing repetition.
int32_t CornerCount(const ObjectData& polygon) {
    return std::max(polygon.VertexCount() - 1, 0);
}

bool InList(int32_t index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

// The refusals both tools share, in their order, then the offset itself.
std::optional<std::array<double, 3>> CheckedOffset(const Project& project, const OffsetTexts& texts,
                                                   Ui& ui) {
    if (!AnyPolygonSelected(project)) {
        ui.Message(kSelectPolygonsMessage);
        return std::nullopt;
    }
    if (detail::AllZeroTexts(texts)) {
        ui.Message(kCheckOffsetMessage);
        return std::nullopt;
    }
    return detail::ParseOffset(texts, ui);
}

bool MovedFits(const Vertex& v, const std::array<double, 3>& d) {
    return Fits(v.X + d[0]) && Fits(v.Y + d[1]) && Fits(v.Z + d[2]);
}

Vertex Moved(const Vertex& v, const std::array<double, 3>& d) {
    return {static_cast<float>(v.X + d[0]), static_cast<float>(v.Y + d[1]),
            static_cast<float>(v.Z + d[2]), false};
}

// The copy of `source` over the new vertices from `first` on, in the chosen side and texture.
ObjectData CopyOf(const ObjectData& source, int32_t first, CopySide side, CopyTexture texture) {
    ObjectData copy;
    copy.Color = source.Color;
    copy.TextureIndex = texture == CopyTexture::None ? kUntextured : source.TextureIndex;
    copy.Selected = source.Selected;
    copy.VertexIndices = source.VertexIndices;
    const int32_t k = CornerCount(source);
    for (int32_t j = 0; j < k; ++j)
        copy.VertexIndices[static_cast<std::size_t>(j)] = first + j;
    if (k > 0)
        copy.VertexIndices.back() = first;
    if (side == CopySide::Opposite)
        std::reverse(copy.VertexIndices.begin(), copy.VertexIndices.end());
    copy.TexCoords.assign(source.VertexIndices.size(), TexCoord{});
    if (texture != CopyTexture::None) {
        // A file may hold fewer pairs than corners: the missing ones are the defaults.
        const auto sourceCoord = [&](int32_t j) {
            return static_cast<std::size_t>(j) < source.TexCoords.size()
                       ? source.TexCoords[static_cast<std::size_t>(j)]
                       : DefaultTexCoord(j);
        };
        for (int32_t m = 0; m < k; ++m)
            copy.TexCoords[static_cast<std::size_t>(m)] =
                sourceCoord(texture == CopyTexture::Same ? m : k - 1 - m);
    }
    return copy;
}

} // namespace

std::string PolygonToolLine(int32_t index, const ObjectData& polygon, int indexWidth) {
    std::string line;
    AppendField(line, std::to_string(index), static_cast<std::size_t>(std::max(indexWidth, 0)),
                Align::Left);
    line += ":  ";
    AppendField(line,
                polygon.TextureIndex == kUntextured ? std::string("None")
                                                    : std::to_string(polygon.TextureIndex),
                6, Align::Left);
    const int32_t corners = CornerCount(polygon);
    for (int32_t j = 0; j < corners; ++j) {
        if (j > 0)
            line += ", ";
        AppendInt(line, polygon.VertexIndices[static_cast<std::size_t>(j)]);
    }
    return line;
}

void SelectListedPolygons(Project& project, const std::vector<int32_t>& listed) {
    DeselectPolygons(project);
    for (int32_t i : listed)
        if (InList(i, project.Polygons.size()))
            project.Polygons[static_cast<std::size_t>(i)].Selected = true;
}

void OpenPolygonTool(Project& project) {
    DeselectPolygons(project);
    project.CurrentPolygon = 0;
}

void ClosePolygonTool(Project& project) {
    DeselectPolygons(project);
    project.CurrentPolygon = kNoElement;
}

CopyTextureChoice CopyTextureChoiceFor(const Project& project) {
    const bool untextured =
        std::any_of(project.Polygons.begin(), project.Polygons.end(), [](const ObjectData& p) {
            return p.Selected && p.TextureIndex == kUntextured;
        });
    if (untextured)
        return {CopyTexture::None, false};
    return {CopyTexture::Same, true};
}

// ---- Copy ----

bool PolygonCopyUndo::CanRestore(const Project& project) const {
    return taken_ && stamp_.Matches(project);
}

void PolygonCopyUndo::Record(const Project& project, int32_t firstVertex, int32_t firstPolygon) {
    taken_ = true;
    stamp_.Take(project);
    firstVertex_ = firstVertex;
    firstPolygon_ = firstPolygon;
    vertexCount_ = static_cast<int32_t>(project.Vertices.size()) - firstVertex;
    polygonCount_ = static_cast<int32_t>(project.Polygons.size()) - firstPolygon;
}

bool CopyPolygons(Project& project, const OffsetTexts& texts, CopySide side, CopyTexture texture,
                  PolygonCopyUndo& undo, Ui& ui) {
    const std::optional<std::array<double, 3>> d = CheckedOffset(project, texts, ui);
    if (!d)
        return false;
    // The merge below keeps every position, so the corners can be judged before it.
    std::size_t selected = 0, newVertices = 0;
    for (const ObjectData& polygon : project.Polygons) {
        if (!polygon.Selected)
            continue;
        ++selected;
        const int32_t k = CornerCount(polygon);
        newVertices += static_cast<std::size_t>(k);
        for (int32_t j = 0; j < k; ++j) {
            const int32_t at = polygon.VertexIndices[static_cast<std::size_t>(j)];
            if (InList(at, project.Vertices.size()) &&
                !MovedFits(project.Vertices[static_cast<std::size_t>(at)], *d)) {
                ui.Message(kNotFiniteMessage);
                return false;
            }
        }
    }

    MergeDoubleVertices(project);
    const auto firstVertex = static_cast<int32_t>(project.Vertices.size());
    const auto firstPolygon = static_cast<int32_t>(project.Polygons.size());
    detail::ReserveVertices(project.Vertices, project.Vertices.size() + newVertices);
    project.Polygons.reserve(project.Polygons.size() + selected);
    for (int32_t i = 0; i < firstPolygon; ++i) {
        if (!project.Polygons[static_cast<std::size_t>(i)].Selected)
            continue;
        project.CurrentPolygon = i;
        const auto first = static_cast<int32_t>(project.Vertices.size());
        // Reserved above: appending moves neither list, so the source stays in place.
        const ObjectData& source = project.Polygons[static_cast<std::size_t>(i)];
        for (int32_t j = 0; j < CornerCount(source); ++j) {
            const int32_t at = source.VertexIndices[static_cast<std::size_t>(j)];
            const Vertex v = InList(at, project.Vertices.size())
                                 ? project.Vertices[static_cast<std::size_t>(at)]
                                 : Vertex{};
            project.Vertices.push_back(Moved(v, *d));
        }
        project.Polygons.push_back(CopyOf(source, first, side, texture));
        project.Polygons[static_cast<std::size_t>(i)].Selected = false;
    }
    BumpRevision(project);
    undo.Record(project, firstVertex, firstPolygon);
    return true;
}

bool UndoCopyPolygons(Project& project, PolygonCopyUndo& undo, Ui& ui) {
    if (!undo.taken_)
        return false;
    undo.taken_ = false;
    if (!undo.stamp_.Matches(project)) {
        ui.Message(kUndoStaleMessage);
        return false;
    }
    const auto flagRange = [](std::size_t size, int32_t first, int32_t count) {
        std::vector<bool> flags(size, false);
        const std::size_t from = std::min(static_cast<std::size_t>(std::max(first, 0)), size);
        const std::size_t to = std::min(from + static_cast<std::size_t>(std::max(count, 0)), size);
        std::fill(flags.begin() + static_cast<std::ptrdiff_t>(from),
                  flags.begin() + static_cast<std::ptrdiff_t>(to), true);
        return flags;
    };
    RemovePolygonsWhere(project,
                        flagRange(project.Polygons.size(), undo.firstPolygon_, undo.polygonCount_));
    RemoveVerticesWhere(project,
                        flagRange(project.Vertices.size(), undo.firstVertex_, undo.vertexCount_));
    return true;
}

// ---- Move ----

bool MovePolygons(Project& project, const OffsetTexts& texts, VertexBackup& undo, Ui& ui) {
    const std::optional<std::array<double, 3>> d = CheckedOffset(project, texts, ui);
    if (!d)
        return false;
    // Each corner once, however many selected polygons share it.
    const std::size_t n = project.Vertices.size();
    std::vector<bool> corner(n, false);
    for (const ObjectData& polygon : project.Polygons) {
        if (!polygon.Selected)
            continue;
        const int32_t k = CornerCount(polygon);
        for (int32_t j = 0; j < k; ++j) {
            const int32_t at = polygon.VertexIndices[static_cast<std::size_t>(j)];
            if (InList(at, n))
                corner[static_cast<std::size_t>(at)] = true;
        }
    }
    for (std::size_t i = 0; i < n; ++i)
        if (corner[i] && !MovedFits(project.Vertices[i], *d)) {
            ui.Message(kNotFiniteMessage);
            return false;
        }
    undo.Take(project);
    for (std::size_t i = 0; i < n; ++i)
        if (corner[i]) {
            Vertex& v = project.Vertices[i];
            const bool selected = v.Selected;
            v = Moved(v, *d);
            v.Selected = selected;
        }
    return true;
}

bool UndoMovePolygons(Project& project, VertexBackup& undo, Ui& ui) {
    return UndoTransform(project, UndoKind::Move, undo, ui);
}

} // namespace meshforge
