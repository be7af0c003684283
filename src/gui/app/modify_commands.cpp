// The Modify menu: the entries and tool buttons of the transforms of vertices and polygons;
// the commands behind them are transform/transform_commands.cpp's.
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"

#include <QMenu>

#include <string_view>

namespace meshforge::gui {

void RegisterModifyCommands(TMainForm& f) {
    struct Transform {
        const char *entry, *caption, *button, *letters, *hint;
    };
    // Menu order; the tool bar has them in the same order but Rotate, which has no button.
    const Transform transforms[] = {
        {"RotateMenu", "Rotate Vertices", nullptr, nullptr, nullptr},
        {"MoveMenu", "Move Vertices", "MoveAllToolButton", "Mv", "Move Vertices"},
        {"MirrorMenu", "Mirror Vertices", "MirrorAllToolButton", "Mi", "Mirror Vertices"},
        {"ScaleMenu", "Scale Vertices", "ScaleAllToolButton", "Sc", "Scale Vertices"},
        {"CenterMenu", "Center All Vertices", "CenterAllToolButton", "Ce", "Center Vertices"},
        {"CopyPolyMenu", "Copy Polygon", "CopyPolyToolButton", "CP", "Copy Polygon(s)"},
        {"MovePolyMenu", "Move Polygon", "MovePolyToolButton", "MP", "Move Polygon(s)"},
    };
    QMenu* m = f.AddMenu("ModifyMenu", "&Modify");
    for (const Transform& t : transforms) {
        if (std::string_view(t.entry) == "CopyPolyMenu")
            m->addSeparator();
        f.AddEntry(m, t.entry, t.caption);
    }
    for (const Transform& t : transforms)
        if (t.button)
            f.AddToolButton(t.button, LetterIcon(t.letters, kModifyColor), t.hint);
    f.AddToolSeparator();
}

} // namespace meshforge::gui
