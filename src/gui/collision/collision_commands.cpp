// The collision and display-class commands of the Misc. menu. The collision dialog follows
// every command, so that it never works on volumes or polygons another window changed.
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"
#include "gui/collision/collision_form.h"
#include "gui/collision/display_class_form.h"

#include <QAction>

namespace meshforge::gui {

void RegisterCollisionCommands(TMainForm& f) {
    auto run = [&f](const std::function<void()>& command) { f.Run(command); };
    auto* collision = new TCollisionForm(f.CurrentProject(), f.UiPort(), run, &f);
    auto* displayClass = new TDisplayClassForm(f.CurrentProject(), &f);
    QObject::connect(f.Action("CollisionMenu"), &QAction::triggered, &f,
                     [&f, collision] { f.Run([collision] { collision->Open(); }); });
    QObject::connect(f.Action("DisplayClassMenu"), &QAction::triggered, &f,
                     [&f, displayClass] { f.Run([displayClass] { displayClass->Open(); }); });
    f.AddRefreshHandler([collision] { collision->Refresh(); });
}

} // namespace meshforge::gui
