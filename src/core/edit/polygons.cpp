#include "edit/polygons.h"

#include "app/ui.h"

#include <string>

namespace meshforge {

void CreatePolygon(Project& project, const std::vector<int32_t>& closedRing, ColorTriple color,
                   Ui& ui) {
    ObjectData polygon;
    polygon.Color = color;
    polygon.VertexIndices = closedRing;
    polygon.TextureIndex = kUntextured;
    project.Polygons.push_back(std::move(polygon));
    for (ObjectData& p : project.Polygons)
        p.Selected = false;
    for (Vertex& v : project.Vertices)
        v.Selected = false;

    std::string line =
        "Polygon No. " + std::to_string(project.Polygons.size()) + " created, using vertices ";
    for (std::size_t i = 0; i < closedRing.size(); ++i)
        line += (i ? ", " : "") + std::to_string(closedRing[i]);
    ui.Log(line);
}

} // namespace meshforge
