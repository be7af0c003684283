// The Visual Elements menu: the line and polygon windows and the texture entries.
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"
#include "gui/edit/line_form.h"
#include "gui/edit/polygon_form.h"

#include <QMenu>

namespace meshforge::gui {

void RegisterVisualCommands(TMainForm& f) {
    auto lines = f.Guarded(GuardedCommand::Lines, [&f] { f.ShowToolWindow(f.LineForm); });
    auto polygons = f.Guarded(GuardedCommand::Polygons, [&f] { f.ShowToolWindow(f.PolygonForm); });

    QMenu* m = f.AddMenu("VisualMenu", "&Visual Elements");
    f.AddEntry(m, "LinesMenu", "Lines", lines);
    f.AddEntry(m, "PolygonsMenu", "Polygons", polygons);
    m->addSeparator();
    // The texture entries' commands are in texture/texture_commands.cpp.
    f.AddEntry(m, "AssignTexMenu", "Assign Textures to Polygons");
    f.AddEntry(m, "TexturesMenu", "Load && Remove Textures");
    f.AddEntry(m, "CheckBackColorsMenu", "Check Texture-specific Background Colors on Polygons");

    f.AddToolButton("CreateLineToolButton", LetterIcon("L", kGeometryColor), "Create Line(s)",
                    lines);
    f.AddToolButton("CreatePolygonToolButton", LetterIcon("P", kGeometryColor), "Create Polygon(s)",
                    polygons);
    f.AddToolSeparator();
    f.AddToolButton("TexturesToolButton", LetterIcon("T", kTextureColor),
                    "Load & Remove Texture(s)");
    f.AddToolButton("AssignTexToolButton", LetterIcon("AT", kTextureColor),
                    "Assign Texture(s) To Polygon(s)");
    f.AddToolSeparator();
}

} // namespace meshforge::gui
