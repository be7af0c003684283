// The Modify menu: the transforms of vertices and polygons.
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"

#include <QMenu>

namespace meshforge::gui {

void RegisterModifyCommands(TMainForm& f) {
    struct Transform {
        const char *entry, *caption, *button, *letters, *hint;
        GuardedCommand guard;
    };
    // Menu order; the tool bar has them in the same order but Rotate, which has no button.
    const Transform transforms[] = {
        {"RotateMenu", "Rotate Vertices", nullptr, nullptr, nullptr,
         GuardedCommand::RotateVertices},
        {"MoveMenu", "Move Vertices", "MoveAllToolButton", "Mv", "Move Vertices",
         GuardedCommand::MoveVertices},
        {"MirrorMenu", "Mirror Vertices", "MirrorAllToolButton", "Mi", "Mirror Vertices",
         GuardedCommand::MirrorVertices},
        {"ScaleMenu", "Scale Vertices", "ScaleAllToolButton", "Sc", "Scale Vertices",
         GuardedCommand::ScaleVertices},
        {"CenterMenu", "Center All Vertices", "CenterAllToolButton", "Ce", "Center Vertices",
         GuardedCommand::CenterAllVertices},
        {"CopyPolyMenu", "Copy Polygon", "CopyPolyToolButton", "CP", "Copy Polygon(s)",
         GuardedCommand::CopyPolygon},
        {"MovePolyMenu", "Move Polygon", "MovePolyToolButton", "MP", "Move Polygon(s)",
         GuardedCommand::MovePolygon},
    };
    QMenu* m = f.AddMenu("ModifyMenu", "&Modify");
    for (const Transform& t : transforms) {
        if (t.guard == GuardedCommand::CopyPolygon)
            m->addSeparator();
        f.AddEntry(m, t.entry, t.caption, f.Guarded(t.guard));
    }
    for (const Transform& t : transforms)
        if (t.button)
            f.AddToolButton(t.button, LetterIcon(t.letters, kModifyColor), t.hint,
                            f.Guarded(t.guard));
    f.AddToolSeparator();
}

} // namespace meshforge::gui
