#include "edit/edit_windows.h"

#include "ui/ui.h"

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

std::optional<Repick> AskRepick(const std::vector<ObjectData>& elements, Ui& ui) {
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (!elements[i].Selected)
            continue;
        Answer a = ui.Ask("Re-Pick vertices with the mouse?", "Vertex selection method",
                          Buttons::YesNoCancel);
        if (a == Answer::Cancel)
            return std::nullopt;
        return Repick{i, a == Answer::Yes};
    }
    return std::nullopt;
}

std::optional<bool> AskPickPolygonWithMouse(Ui& ui) {
    Answer a =
        ui.Ask("Pick vertices with the mouse?", "Vertex selection method", Buttons::YesNoCancel);
    if (a == Answer::Cancel)
        return std::nullopt;
    return a == Answer::Yes;
}

void ShadingNotAvailable(Ui& ui) {
    ui.Message("Not Available yet !");
}

void Deselect(std::vector<ObjectData>& elements) {
    for (ObjectData& e : elements)
        e.Selected = false;
}

} // namespace meshforge
