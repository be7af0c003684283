#pragma once
// The editor's original Remove Double Vertices and Remove Selected, step by step, as the
// baseline the fast versions in src/core/edit/vertices.cpp are measured against.
#include "model/project.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace meshforge::bench {

inline void LiteralDeleteVertex(Project& p, int32_t i) {
    for (std::size_t k = static_cast<std::size_t>(i); k + 1 < p.Vertices.size(); ++k) {
        p.Vertices[k].X = p.Vertices[k + 1].X;
        p.Vertices[k].Y = p.Vertices[k + 1].Y;
        p.Vertices[k].Z = p.Vertices[k + 1].Z;
    }
    p.Vertices.pop_back();
}

// Every ordered pair (i, j); an equal j is merged into i, all indices renumbered, j deleted and
// examined again.
inline int32_t LiteralRemoveDoubles(Project& p) {
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
                LiteralDeleteVertex(p, j);
                ++removed;
            } else {
                ++j;
            }
        }
    }
    return removed;
}

// For each selected vertex from the highest down: remove the polygons and lines using it,
// delete it and renumber everything above it. (The bench objects have no collision volumes.)
inline void LiteralRemoveSelected(Project& p) {
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
        p.Polygons.erase(std::remove_if(p.Polygons.begin(), p.Polygons.end(), uses),
                         p.Polygons.end());
        p.Lines.erase(std::remove_if(p.Lines.begin(), p.Lines.end(), uses), p.Lines.end());
        LiteralDeleteVertex(p, v);
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

} // namespace meshforge::bench
