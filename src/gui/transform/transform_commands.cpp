// The Modify menu's transforms behind their entries and tool buttons: the four modal vertex
// dialogs, Rotate and the two polygon tools (modeless). The modeless ones follow every command,
// so that none works on lists another window changed.
#include "app/commands.h"
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"
#include "gui/transform/polygon_tool_forms.h"
#include "gui/transform/rotate_box.h"
#include "gui/transform/vertex_transform_forms.h"
#include "gui/view/view_form.h"

#include <QAction>

namespace meshforge::gui {

void RegisterTransformCommands(TMainForm& f) {
    RunCommand run = [&f](const std::function<void()>& command) { f.Run(command); };
    Project& p = f.CurrentProject();
    TransformState& t = f.CurrentSession().Transforms;
    QtUi& ui = f.UiPort();
    auto* move = new TMoveBox(p, t.Vertices.Move, ui, run, &f);
    auto* mirror = new TMirrorBox(p, t.Vertices.Mirror, ui, run, &f);
    auto* scale = new TScaleBox(p, t.Vertices.Scale, ui, run, &f);
    auto* centre = new TCenterBox(
        p, t.Vertices.Centre, ui, run,
        [&f](bool on) {
            f.CurrentProject().Options.ShowAxis = on;
            f.ApplySessionState();
            f.ViewForm->Redraw();
        },
        &f);
    auto* rotate = new TRotateBox(p, f.State(), t.Rotate, *f.ViewForm, ui, run, &f);
    auto* copy = new TPolyCopyForm(p, t.Copy, ui, run, &f);
    auto* movePolygons = new TPolymoveForm(p, t.MovePolygons, ui, run, &f);

    auto on = [&f](const char* name, const std::function<void()>& handler) {
        QObject::connect(f.Action(name), &QAction::triggered, &f, handler);
    };
    const struct {
        const char *entry, *button;
        GuardedCommand guard;
        std::function<void()> open;
    } commands[] = {
        {"RotateMenu", nullptr, GuardedCommand::RotateVertices, [rotate] { rotate->Open(); }},
        {"MoveMenu", "MoveAllToolButton", GuardedCommand::MoveVertices, [move] { move->Open(); }},
        {"MirrorMenu", "MirrorAllToolButton", GuardedCommand::MirrorVertices,
         [mirror] { mirror->Open(); }},
        {"ScaleMenu", "ScaleAllToolButton", GuardedCommand::ScaleVertices,
         [scale] { scale->Open(); }},
        {"CenterMenu", "CenterAllToolButton", GuardedCommand::CenterAllVertices,
         [centre] { centre->Open(); }},
        {"CopyPolyMenu", "CopyPolyToolButton", GuardedCommand::CopyPolygon,
         [copy] { copy->Open(); }},
        {"MovePolyMenu", "MovePolyToolButton", GuardedCommand::MovePolygon,
         [movePolygons] { movePolygons->Open(); }},
    };
    for (const auto& c : commands) {
        std::function<void()> handler = f.Guarded(c.guard, c.open);
        on(c.entry, handler);
        if (c.button)
            on(c.button, handler);
    }
    f.AddRefreshHandler([rotate, copy, movePolygons] {
        rotate->Refresh();
        copy->Refresh();
        movePolygons->Refresh();
    });
}

} // namespace meshforge::gui
