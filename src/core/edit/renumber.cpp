#include "edit/renumber.h"

#include "model/project.h"

#include <cstdint>

namespace meshforge {

namespace {

template <class T> void KeepUnflagged(std::vector<T>& items, const std::vector<bool>& remove) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i < remove.size() && remove[i])
            continue;
        if (out != i) // a self-move would empty the element's vectors
            items[out] = std::move(items[i]);
        ++out;
    }
    items.resize(out);
}

} // namespace

void RemovePolygonsWhere(Project& p, const std::vector<bool>& remove) {
    // New index of every polygon, -1 for a removed one.
    std::vector<int32_t> renumbered(p.Polygons.size(), -1);
    int32_t next = 0;
    for (std::size_t i = 0; i < p.Polygons.size(); ++i)
        if (i >= remove.size() || !remove[i])
            renumbered[i] = next++;
    KeepUnflagged(p.Polygons, remove);

    std::vector<CollVol> volumes;
    for (CollVol& c : p.CollVols) {
        CollVol kept;
        for (std::size_t k = 0; k < c.PolygonIndices.size(); ++k) {
            int32_t old = c.PolygonIndices[k];
            if (old < 0 || static_cast<std::size_t>(old) >= renumbered.size() ||
                renumbered[old] < 0)
                continue;
            kept.PolygonIndices.push_back(renumbered[old]);
            kept.Rebounds.push_back(k < c.Rebounds.size() ? c.Rebounds[k] : 0);
        }
        if (!kept.PolygonIndices.empty())
            volumes.push_back(std::move(kept));
    }
    p.CollVols = std::move(volumes);
}

void RemoveLinesWhere(Project& p, const std::vector<bool>& remove) {
    KeepUnflagged(p.Lines, remove);
}

} // namespace meshforge
