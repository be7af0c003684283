// The texture commands: the library window, the Assign Texture dialog and the preview of the
// background colours, behind the Visual Elements entries and their tool buttons. Both
// windows are refreshed after every command, so that neither works on lists another window
// has changed.
#include "app/commands.h"
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"
#include "gui/texture/select_texture_form.h"
#include "gui/texture/texture_form.h"
#include "gui/view/view_form.h"
#include "image/qt_image_files.h"
#include "texture/library.h"

#include <QAction>

namespace meshforge::gui {

namespace {

// The Qt image adapter the windows share, owned by the main window like them.
class ImagesHolder : public QObject {
  public:
    using QObject::QObject;
    QtImageFiles Images;
};

} // namespace

void RegisterTextureCommands(TMainForm& f) {
    ImageFiles& images = (new ImagesHolder(&f))->Images;
    auto run = [&f](const std::function<void()>& command) { f.Run(command); };
    auto* library = new TTextureform(
        f.CurrentProject(), images, f.UiPort(), run, [&f] { f.ViewForm->Redraw(); }, &f);
    auto* assign =
        new TSelectTextureForm(f.CurrentProject(), images, f.UiPort(), *library, run, &f);

    auto textures =
        f.Guarded(GuardedCommand::LoadRemoveTextures, [library] { library->ShowModeless(); });
    auto openAssign = f.Guarded(GuardedCommand::AssignTextures, [&f, assign] {
        f.CurrentProject().CurrentPolygon = 0;
        assign->Open();
    });
    auto backColors = [&f] {
        f.Run([&f] {
            Project& p = f.CurrentProject();
            const BackColorPreview saved = ShowBackColors(p);
            f.ApplySessionState();
            f.ViewForm->Redraw();
            f.UiPort().Message(BackColorMessage(p.DisplayClass));
            RestorePolygonColors(p, saved);
        });
    };
    auto on = [&f](const char* name, std::function<void()> handler) {
        QObject::connect(f.Action(name), &QAction::triggered, &f, std::move(handler));
    };
    on("TexturesMenu", textures);
    on("TexturesToolButton", textures);
    on("AssignTexMenu", openAssign);
    on("AssignTexToolButton", openAssign);
    on("CheckBackColorsMenu", backColors);
    f.AddRefreshHandler([library, assign] {
        if (library->isVisible())
            library->Refresh();
        assign->Refresh();
    });
}

} // namespace meshforge::gui
