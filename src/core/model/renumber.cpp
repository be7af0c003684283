#include "model/renumber.h"

#include "model/project.h"

#include <algorithm>

namespace meshforge {

namespace {

bool Flagged(const std::vector<bool>& flags, std::size_t i) {
    return i < flags.size() && flags[i];
}

// Keeps the unflagged items in order; returns how many went.
template <class T>
std::size_t KeepUnflagged(std::vector<T>& items, const std::vector<bool>& remove) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (Flagged(remove, i))
            continue;
        if (out != i) // a self-move would empty the element's vectors
            items[out] = std::move(items[i]);
        ++out;
    }
    const std::size_t removed = items.size() - out;
    items.resize(out);
    return removed;
}

// New position of every element, -1 for a removed one.
std::vector<int32_t> NewPositions(std::size_t count, const std::vector<bool>& remove) {
    std::vector<int32_t> positions(count, -1);
    int32_t next = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (!Flagged(remove, i))
            positions[i] = next++;
    return positions;
}

// A marker follows its element (of `count`); one naming a removed element becomes `none`, one
// naming no element at all stays as it is.
void FollowMarker(int32_t& marker, std::size_t count, const std::vector<bool>& remove,
                  int32_t none) {
    if (marker < 0 || static_cast<std::size_t>(marker) >= count)
        return;
    const auto at = static_cast<std::size_t>(marker);
    if (Flagged(remove, at)) {
        marker = none;
        return;
    }
    const auto end = remove.begin() + static_cast<std::ptrdiff_t>(std::min(at, remove.size()));
    marker -= static_cast<int32_t>(std::count(remove.begin(), end, true));
}

void RemoveElements(Project& p, std::vector<ObjectData>& list, int32_t* marker,
                    const std::vector<bool>& remove) {
    if (marker)
        FollowMarker(*marker, list.size(), remove, kNoElement);
    if (KeepUnflagged(list, remove) > 0)
        BumpRevision(p);
}

// Maps every vertex index through `newIndex` (one entry per old vertex). Indices past the old
// list drop by the number of removed vertices and negative ones stay, which is what removing
// the vertices one at a time does to them.
void Renumber(std::vector<ObjectData>& items, const std::vector<int32_t>& newIndex,
              int32_t removed) {
    const auto n = static_cast<int64_t>(newIndex.size());
    for (ObjectData& item : items)
        for (int32_t& x : item.VertexIndices) {
            if (x < 0)
                continue;
            x = x < n ? newIndex[static_cast<std::size_t>(x)] : x - removed;
        }
}

bool IsGone(int32_t x, const std::vector<bool>& gone) {
    return x >= 0 && Flagged(gone, static_cast<std::size_t>(x));
}

std::vector<bool> UsingAny(const std::vector<ObjectData>& items, const std::vector<bool>& gone) {
    std::vector<bool> flags(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& v = items[i].VertexIndices;
        flags[i] = std::any_of(v.begin(), v.end(), [&](int32_t x) { return IsGone(x, gone); });
    }
    return flags;
}

// A line goes with either of its ends.
std::vector<bool> EndingInAny(const std::vector<ObjectData>& items, const std::vector<bool>& gone) {
    std::vector<bool> flags(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& ends = items[i].VertexIndices;
        flags[i] = !ends.empty() && (IsGone(ends.front(), gone) || IsGone(ends.back(), gone));
    }
    return flags;
}

// The survivors' coordinates move to their new positions; the Selected flags stay where they
// are, and the list ends after the last survivor.
template <class Survivor>
void MoveSurvivorsDown(Project& p, const std::vector<int32_t>& newIndex, Survivor survivor,
                       int32_t kept) {
    for (std::size_t i = 0; i < newIndex.size(); ++i)
        if (survivor(i)) {
            Vertex& to = p.Vertices[static_cast<std::size_t>(newIndex[i])];
            const Vertex& from = p.Vertices[i];
            to.X = from.X;
            to.Y = from.Y;
            to.Z = from.Z;
        }
    p.Vertices.resize(static_cast<std::size_t>(kept));
}

} // namespace

void RemoveLinesWhere(Project& p, const std::vector<bool>& remove) {
    RemoveElements(p, p.Lines, &p.CurrentLine, remove);
}

void RemoveVisLinesWhere(Project& p, const std::vector<bool>& remove) {
    RemoveElements(p, p.VisLines, nullptr, remove);
}

void RemovePolygonsWhere(Project& p, const std::vector<bool>& remove) {
    FollowMarker(p.CurrentPolygon, p.Polygons.size(), remove, kNoElement);
    const std::vector<int32_t> positions =
        p.CollVols.empty() ? std::vector<int32_t>{} : NewPositions(p.Polygons.size(), remove);
    bool changed = KeepUnflagged(p.Polygons, remove) > 0;

    std::size_t outVolume = 0;
    for (std::size_t c = 0; c < p.CollVols.size(); ++c) {
        CollVol& vol = p.CollVols[c];
        std::size_t keep = 0;
        for (std::size_t k = 0; k < vol.PolygonIndices.size(); ++k) {
            const int32_t old = vol.PolygonIndices[k];
            if (old < 0 || static_cast<std::size_t>(old) >= positions.size() ||
                positions[static_cast<std::size_t>(old)] < 0)
                continue;
            const int32_t rebound = k < vol.Rebounds.size() ? vol.Rebounds[k] : 0;
            vol.PolygonIndices[keep] = positions[static_cast<std::size_t>(old)];
            vol.Rebounds.resize(std::max(vol.Rebounds.size(), keep + 1));
            vol.Rebounds[keep] = rebound;
            ++keep;
        }
        changed = changed || keep < vol.PolygonIndices.size();
        vol.PolygonIndices.resize(keep);
        vol.Rebounds.resize(keep);
        if (keep == 0)
            continue; // a volume without a plane is no volume
        if (outVolume != c)
            p.CollVols[outVolume] = std::move(vol);
        ++outVolume;
    }
    changed = changed || outVolume < p.CollVols.size();
    p.CollVols.resize(outVolume);
    if (changed)
        BumpRevision(p);
}

void RemoveCollVolsWhere(Project& p, const std::vector<bool>& remove) {
    if (KeepUnflagged(p.CollVols, remove) > 0)
        BumpRevision(p);
}

void RemoveTexturesWhere(Project& p, const std::vector<bool>& remove) {
    const std::vector<int32_t> positions = NewPositions(p.Textures.size(), remove);
    FollowMarker(p.CurrentTexture, p.Textures.size(), remove, kNoTexture);
    if (KeepUnflagged(p.Textures, remove) == 0)
        return;
    TexturesChanged(p);
    for (ObjectData& polygon : p.Polygons) {
        const int32_t t = polygon.TextureIndex;
        if (t == kUntextured || t < 0 || static_cast<std::size_t>(t) >= positions.size())
            continue;
        const int32_t moved = positions[static_cast<std::size_t>(t)];
        polygon.TextureIndex = moved < 0 ? kUntextured : moved;
    }
}

int32_t RemoveVerticesWhere(Project& p, const std::vector<bool>& remove) {
    const std::size_t n = p.Vertices.size();
    std::vector<int32_t> newIndex(n);
    int32_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        // A removed vertex's entry is never used by what survives; it gets the value one-by-one
        // removal would leave in it.
        newIndex[i] = kept;
        if (!Flagged(remove, i))
            ++kept;
    }
    const auto removed = static_cast<int32_t>(n) - kept;
    if (removed == 0)
        return 0;
    BumpRevision(p);
    RemovePolygonsWhere(p, UsingAny(p.Polygons, remove));
    RemoveLinesWhere(p, EndingInAny(p.Lines, remove));
    RemoveVisLinesWhere(p, EndingInAny(p.VisLines, remove));
    Renumber(p.Polygons, newIndex, removed);
    Renumber(p.Lines, newIndex, removed);
    Renumber(p.VisLines, newIndex, removed);
    MoveSurvivorsDown(
        p, newIndex, [&remove](std::size_t i) { return !Flagged(remove, i); }, kept);
    return removed;
}

void MergeVertices(Project& p, const std::vector<int32_t>& newIndex, int32_t kept) {
    const auto removed = static_cast<int32_t>(newIndex.size()) - kept;
    if (removed <= 0)
        return;
    BumpRevision(p);
    Renumber(p.Polygons, newIndex, removed);
    Renumber(p.Lines, newIndex, removed);
    Renumber(p.VisLines, newIndex, removed);
    // A survivor is the first vertex to reach its new position; in list order they are
    // numbered 0, 1, 2, ...
    int32_t next = 0;
    MoveSurvivorsDown(
        p, newIndex, [&](std::size_t i) { return newIndex[i] == next ? (++next, true) : false; },
        kept);
}

} // namespace meshforge
