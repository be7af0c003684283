#pragma once
// Where a vertex appears in the 3D view (y from the top), from the camera arithmetic the view
// draws with: where the GUI tests click.
#include "gui/view/view_form.h"
#include "model/project.h"
#include "view/camera.h"

#include <QPoint>

namespace meshforge::test {

inline QPoint OnScreen(gui::TViewForm* view, const Project& project, const Vertex& v) {
    Mat4 m =
        SceneMatrix(project.Options, view->Camera(), project.Box, view->width(), view->height());
    double c[4];
    for (int r = 0; r < 4; ++r)
        c[r] = m(r, 0) * v.X + m(r, 1) * v.Y + m(r, 2) * v.Z + m(r, 3);
    return QPoint(int((c[0] / c[3] + 1) / 2 * view->width()),
                  int((1 - c[1] / c[3]) / 2 * view->height()));
}

} // namespace meshforge::test
