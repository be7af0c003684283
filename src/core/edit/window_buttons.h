#pragma once
#include "model/project.h"

namespace meshforge {

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

} // namespace meshforge
