#include "edit/window_buttons.h"

#include <algorithm>

namespace meshforge {

namespace {

ListWindowButtons ButtonsFor(const std::vector<ObjectData>& elements, bool canAdd,
                             bool editPanelOpen) {
    if (editPanelOpen)
        return {};
    const bool any = std::any_of(elements.begin(), elements.end(),
                                 [](const ObjectData& e) { return e.Selected; });
    return {canAdd, any, any, !elements.empty(), true};
}

} // namespace

ListWindowButtons LineWindowButtons(const Project& project, bool editPanelOpen) {
    return ButtonsFor(project.Lines, project.Vertices.size() > 1, editPanelOpen);
}

ListWindowButtons PolygonWindowButtons(const Project& project, bool editPanelOpen) {
    return ButtonsFor(project.Polygons, project.Vertices.size() > 2, editPanelOpen);
}

VertexWindowButtons VertexButtons(const Project& project) {
    const bool any = std::any_of(project.Vertices.begin(), project.Vertices.end(),
                                 [](const Vertex& v) { return v.Selected; });
    return {any, !project.Vertices.empty()};
}

} // namespace meshforge
