#pragma once
// The rules of the vertex, line and polygon windows that need no widget: which buttons can be
// used, and the questions and messages of their buttons.
#include "model/project.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace meshforge {

struct Ui;

// Which buttons of a list window (lines or polygons) outside its edit panel can be used, from
// the Project alone, so that every refresh of a window gives the same answer: after an edit in
// the window, after an edit elsewhere and after a lifecycle command.
struct ListWindowButtons {
    bool Add = false;            // "Add Line ($815)" / the three add-polygon buttons
    bool RemoveSelected = false; // "Remove Line(s)" / "Remove Selected"
    bool EditSelected = false;   // "Edit Selected" / "Edit selected"
    bool RemoveAll = false;      // "Remove All Lines" / "Remove All"
    bool List = false;
};

// While the edit panel is open only the panel is live. A line needs two vertices, a polygon
// three, as the windows' menu entries ask.
ListWindowButtons LineWindowButtons(const Project& project, bool editPanelOpen);
ListWindowButtons PolygonWindowButtons(const Project& project, bool editPanelOpen);

// "Remove Selected" and "Remove All Vertices" of the vertex window.
struct VertexWindowButtons {
    bool RemoveSelected = false;
    bool RemoveAll = false;
};
VertexWindowButtons VertexButtons(const Project& project);

// "Re-Pick Vertices": the first selected element and whether its vertices are picked with the
// mouse (Yes) or typed (No); nullopt when nothing is selected or the user cancels.
struct Repick {
    std::size_t Index;
    bool WithMouse;
};
std::optional<Repick> AskRepick(const std::vector<ObjectData>& elements, Ui& ui);

// "Flat Shading": whether the new polygon's corners are picked with the mouse (Yes) or typed
// (No); nullopt when the user cancels.
std::optional<bool> AskPickPolygonWithMouse(Ui& ui);

// "Gouraud Shading" and "Specular Shading".
void ShadingNotAvailable(Ui& ui);

// Closing a line or polygon window: nothing of its list stays selected.
void Deselect(std::vector<ObjectData>& elements);

} // namespace meshforge
