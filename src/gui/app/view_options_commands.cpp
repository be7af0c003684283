// The View Options menu: what the 3D view shows.
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"
#include "gui/view/view_form.h"

#include <QMenu>

namespace meshforge::gui {

void RegisterViewOptionsCommands(TMainForm& f) {
    QMenu* m = f.AddMenu("ViewOptionsMenu", "View Options");
    // The check marks follow the Project's options (ApplySessionState); a click sets them.
    using Switch = bool ViewOptions::*;
    auto toggle = [&f, m](const char* name, const char* caption, Switch option) {
        QAction* a = f.AddEntry(m, name, caption);
        a->setCheckable(true);
        a->setChecked(f.CurrentProject().Options.*option);
        QObject::connect(a, &QAction::triggered, &f, [&f, a, option] {
            ViewOptions& o = f.CurrentProject().Options;
            o.*option = a->isChecked();
            if (option == &ViewOptions::ShowVertices)
                o.VerticesVisible = o.ShowVertices;
            f.ViewForm->Redraw();
        });
    };
    toggle("ShowAxisMenu", "Show Axis", &ViewOptions::ShowAxis);
    toggle("ShowVerticesMenu", "Show Vertices", &ViewOptions::ShowVertices);
    toggle("ShowLinesMenu", "Show Lines", &ViewOptions::ShowLines);
    toggle("ShowPolygonsMenu", "Show Polygons", &ViewOptions::ShowPolygons);
    toggle("ShowTexturesMenu", "Show Textures", &ViewOptions::ShowTextures);
    f.AddEntry(m, "ShowPlanesMenu", "Show Planes")->setVisible(false);
    f.AddEntry(m, "ShowNormalsMenu", "Show Normals")->setVisible(false);
}

} // namespace meshforge::gui
