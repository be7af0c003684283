// The Misc. menu: the description, visibility and collision entries, visualization lines,
// Add Interpolated Vertices and the program starts.
#include "app/commands.h"
#include "edit/vertices.h"
#include "gui/app/command_areas.h"
#include "gui/app/desc_form.h"
#include "gui/app/main_form.h"
#include "gui/edit/line_form.h"
#include "gui/settings/options_form.h"
#include "settings/options.h"

#include <QMenu>

namespace meshforge::gui {

namespace {

void AddInterpolatedVerticesClick(TMainForm& f) {
    f.setEnabled(false); // no other command while the list is rebuilt
    f.Run([&f] {
        Project& p = f.CurrentProject();
        AddInterpolatedVertices(p, f.State().LineColor, f.UiPort(), f.Pump(p.Vertices.size()));
        f.AfterVisLinesRebuilt();
    });
    f.setEnabled(true);
}

// Without a program the entry keeps its own caption rather than a bare "Start ".
void ShowProgramCaption(QAction* entry, const std::string& path) {
    if (!path.empty())
        entry->setText(QString::fromStdString(StartMenuCaption(path)));
}

} // namespace

void RegisterMiscCommands(TMainForm& f) {
    QMenu* m = f.AddMenu("MiscMenu", "Misc.");
    f.AddEntry(m, "DescMenu", "Project Description", [&f] { f.DescForm->exec(); });
    // The collision and display-class commands are in collision/collision_commands.cpp.
    f.AddEntry(m, "DisplayClassMenu", "Set Object Visibility within GPL");
    f.AddEntry(m, "CollisionMenu", "Set Collision Type");
    m->addSeparator();
    f.AddEntry(m, "CreateVisLinesMenu", "Create Subsequent Visualization Lines", [&f] {
        f.Run([&f] {
            CreateVisLinesCommand(f.CurrentProject(), f.State().LineColor, f.CurrentSession().Menus,
                                  f.UiPort());
        });
    });
    f.AddEntry(m, "RemoveVisLinesMenu", "Remove Visualization Lines", [&f] {
        f.Run([&f] {
            RemoveVisLinesCommand(f.CurrentProject(), f.CurrentSession().Menus, f.UiPort());
        });
    });
    f.AddEntry(m, "ConvertVisLinesMenu", "Convert Visualization Lines to 3DO Line Objects", [&f] {
        f.Run([&f] {
            ConvertVisLinesCommand(f.CurrentProject(), f.CurrentSession().Menus, f.UiPort());
        });
        f.ShowToolWindow(f.LineForm);
    });
    f.AddEntry(m, "AddInterpolMenu", "Add Interpolated Vertices",
               [&f] { AddInterpolatedVerticesClick(f); });
    m->addSeparator();
    f.AddEntry(m, "GPLStartMenu", "Start GPL");
    QAction* viewer = f.AddEntry(m, "ViewerStartMenu", "Start 3DO- Viewer Application");
    QAction* user = f.AddEntry(m, "UserStartMenu", "Start User-Defined Program");
    const GeneralOptions& general = f.OptionsForm->General();
    ShowProgramCaption(viewer, general.ViewerPath);
    ShowProgramCaption(user, general.UserPath);
    QObject::connect(f.OptionsForm, &TOptionsForm::ViewerCaptionChanged, viewer, &QAction::setText);
    QObject::connect(f.OptionsForm, &TOptionsForm::UserProgramCaptionChanged, user,
                     &QAction::setText);

    f.AddToolButton("GPLStartToolButton", LetterIcon("GPL", kLaunchColor), "Start GPL");
    f.AddToolButton("ViewerStartToolButton", LetterIcon("3V", kLaunchColor),
                    "Start 3DO- Viewer Application");
    f.AddToolButton("UserStartToolButton", LetterIcon("U", kLaunchColor),
                    "Start User-Defined Program");
}

} // namespace meshforge::gui
