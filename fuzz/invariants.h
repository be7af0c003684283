#pragma once
// The Project's list invariants, checked after every read and import: a violation aborts, so
// libFuzzer reports the input that caused it.
#include "model/project.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void Broken(const char* what, std::size_t element) {
    std::fprintf(stderr, "invariant broken: %s %zu\n", what, element);
    std::abort();
}

inline void CheckInvariants(const meshforge::Project& p) {
    const std::size_t vertices = p.Vertices.size();
    auto inside = [](int32_t index, std::size_t size) {
        return index >= 0 && static_cast<std::size_t>(index) < size;
    };
    auto check = [&](const std::vector<meshforge::ObjectData>& list, const char* what) {
        for (std::size_t i = 0; i < list.size(); ++i)
            for (int32_t v : list[i].VertexIndices)
                if (!inside(v, vertices))
                    Broken(what, i);
    };
    check(p.Lines, "vertex index outside the list in line");
    check(p.VisLines, "vertex index outside the list in visualization line");
    check(p.Polygons, "vertex index outside the list in polygon");
    for (std::size_t i = 0; i < p.Lines.size(); ++i)
        if (p.Lines[i].VertexIndices.size() != 2)
            Broken("not two ends in line", i);
    for (std::size_t i = 0; i < p.VisLines.size(); ++i)
        if (p.VisLines[i].VertexIndices.size() != 2)
            Broken("not two ends in visualization line", i);
    for (std::size_t i = 0; i < p.Polygons.size(); ++i) {
        const meshforge::ObjectData& poly = p.Polygons[i];
        if (poly.VertexIndices.empty() || poly.VertexIndices.front() != poly.VertexIndices.back())
            Broken("ring not closed in polygon", i);
        if (poly.TextureIndex != meshforge::kUntextured &&
            !inside(poly.TextureIndex, p.Textures.size()))
            Broken("texture index outside the list in polygon", i);
    }
    for (std::size_t c = 0; c < p.CollVols.size(); ++c)
        for (int32_t poly : p.CollVols[c].PolygonIndices)
            if (!inside(poly, p.Polygons.size()))
                Broken("missing polygon named by collision volume", c);
    if (p.Textures.size() > meshforge::kMaxTextures)
        Broken("more textures than the limit:", p.Textures.size());
}

} // namespace fuzz
