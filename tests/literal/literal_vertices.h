#pragma once
// The editor's original Remove Double Vertices and Remove Selected, step by step: one vertex,
// one polygon at a time, every index renumbered by a scan of every list. The tests compare the
// fast versions in src/core/edit with these and the benchmarks time both; nothing here calls
// the code it is compared with.
#include "model/project.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace meshforge::literal {

inline void EraseVertexAt(Project& p, int32_t i) {
    for (std::size_t k = static_cast<std::size_t>(i); k + 1 < p.Vertices.size(); ++k) {
        p.Vertices[k].X = p.Vertices[k + 1].X;
        p.Vertices[k].Y = p.Vertices[k + 1].Y;
        p.Vertices[k].Z = p.Vertices[k + 1].Z;
    }
    p.Vertices.pop_back();
}

// Erases polygon k: the collision planes naming it go, those above it move down, and a
// volume that loses its last plane goes too.
inline void ErasePolygonAt(Project& p, int32_t k) {
    p.Polygons.erase(p.Polygons.begin() + k);
    for (std::size_t c = 0; c < p.CollVols.size();) {
        CollVol& v = p.CollVols[c];
        bool lost = false;
        for (std::size_t plane = 0; plane < v.PolygonIndices.size();) {
            if (v.PolygonIndices[plane] == k) {
                v.PolygonIndices.erase(v.PolygonIndices.begin() + static_cast<long>(plane));
                if (plane < v.Rebounds.size())
                    v.Rebounds.erase(v.Rebounds.begin() + static_cast<long>(plane));
                lost = true;
                continue;
            }
            if (v.PolygonIndices[plane] > k)
                --v.PolygonIndices[plane];
            ++plane;
        }
        if (lost && v.PolygonIndices.empty())
            p.CollVols.erase(p.CollVols.begin() + static_cast<long>(c));
        else
            ++c;
    }
}

// Every ordered pair (i, j) of distinct indices; an equal j is merged into i, every index
// renumbered, j deleted and the same j examined again. Returns the number merged.
inline int32_t RemoveDoubles(Project& p) {
    int32_t removed = 0;
    for (int32_t i = 0; i < static_cast<int32_t>(p.Vertices.size()); ++i) {
        int32_t j = 0;
        while (j < static_cast<int32_t>(p.Vertices.size())) {
            const Vertex& a = p.Vertices[i];
            const Vertex& b = p.Vertices[j];
            if (j != i && a.X == b.X && a.Y == b.Y && a.Z == b.Z) {
                auto remap = [&](int32_t& x) {
                    if (x == j)
                        x = i;
                    else if (x > j)
                        --x;
                };
                for (ObjectData& poly : p.Polygons)
                    for (int32_t& x : poly.VertexIndices)
                        remap(x);
                for (ObjectData& line : p.Lines)
                    for (int32_t& x : line.VertexIndices)
                        remap(x);
                EraseVertexAt(p, j);
                ++removed;
            } else {
                ++j;
            }
        }
    }
    return removed;
}

// For each selected vertex from the highest down: delete the polygons (from the last down)
// and the lines that use it, delete it and renumber everything above it.
inline void RemoveSelected(Project& p) {
    std::vector<int32_t> selected;
    for (std::size_t i = 0; i < p.Vertices.size(); ++i)
        if (p.Vertices[i].Selected)
            selected.push_back(static_cast<int32_t>(i));
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        const int32_t v = *it;
        auto uses = [v](const ObjectData& o) {
            return std::find(o.VertexIndices.begin(), o.VertexIndices.end(), v) !=
                   o.VertexIndices.end();
        };
        for (auto k = static_cast<int32_t>(p.Polygons.size()) - 1; k >= 0; --k)
            if (uses(p.Polygons[k]))
                ErasePolygonAt(p, k);
        p.Lines.erase(std::remove_if(p.Lines.begin(), p.Lines.end(), uses), p.Lines.end());
        EraseVertexAt(p, v);
        for (ObjectData& poly : p.Polygons)
            for (int32_t& x : poly.VertexIndices)
                if (x > v)
                    --x;
        for (ObjectData& line : p.Lines)
            for (int32_t& x : line.VertexIndices)
                if (x > v)
                    --x;
    }
}

} // namespace meshforge::literal
