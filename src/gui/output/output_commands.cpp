// The output commands: the "Write ASE file" entries of the File menu and the launch entries of
// the Misc. menu with their tool buttons. The converter runs beside the editor; while it runs
// the write and launch commands are disabled, and what follows it happens only on the Project
// it was started for.
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"
#include "gui/settings/options_form.h"
#include "output/launch.h"
#include "process/qt_processes.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace meshforge::gui {

namespace {

class EditorLaunchPort : public LaunchPort {
  public:
    explicit EditorLaunchPort(TMainForm& f) : f_(f), processes_(new AsyncProcesses(&f)) {}
    bool Start(const ProcessRequest& request) override { return StartDetached(request); }
    void StartAndWait(const ProcessRequest& request, std::function<void(bool)> ended) override {
        // What follows the converter runs as a command: its errors are shown, the windows and
        // the entries refreshed afterwards.
        processes_->Start(request, [this, ended = std::move(ended)](bool started) {
            f_.Run([&] { ended(started); });
        });
    }
    void MinimizeEditor() override { f_.showMinimized(); }
    void EndEditor() override { f_.EndProgram(); }
    bool Busy() const { return processes_->Busy(); }

  private:
    TMainForm& f_;
    AsyncProcesses* processes_; // the main window's child: gone, and silent, with it
};

constexpr const char* kOutputEntries[] = {
    "WriteASEOnlyMenu",      "WriteASEandStartMenu", "WriteASEConvertGPLMenu",
    "GPLStartMenu",          "GPLStartToolButton",   "ViewerStartMenu",
    "ViewerStartToolButton", "UserStartMenu",        "UserStartToolButton"};

} // namespace

void RegisterOutputCommands(TMainForm& f) {
    auto port = std::make_shared<EditorLaunchPort>(f);
    auto context = [&f] {
        LaunchContext c;
        c.AppFolder = f.CurrentSession().AppFolder;
        c.General = f.OptionsForm->General();
        const uint64_t generation = f.State().ProjectGeneration;
        c.SameProject = [&f, generation] { return f.State().ProjectGeneration == generation; };
        c.SaveProject = [&f] {
            return SaveProject(f.CurrentProject(), f.CurrentSession(), f.CurrentSaveOptions(),
                               f.UiPort());
        };
        return c;
    };
    auto afterConverter = [](bool) {};
    auto on = [&f](const char* name, std::function<void()> handler) {
        QObject::connect(f.Action(name), &QAction::triggered, &f, std::move(handler));
    };
    on("WriteASEOnlyMenu", [&f] { f.Run([&f] { JustWriteAse(f.CurrentProject(), f.UiPort()); }); });
    on("WriteASEandStartMenu", [&f, port, context, afterConverter] {
        f.Run([&] {
            WriteAseAndConvert(f.CurrentProject(), context(), *port, f.UiPort(), afterConverter);
        });
    });
    on("WriteASEConvertGPLMenu", [&f, port, context, afterConverter] {
        f.Run([&] {
            WriteAseConvertAndStartGpl(f.CurrentProject(), context(), *port, f.UiPort(),
                                       afterConverter);
        });
    });
    auto gpl = [&f, port, context] {
        f.Run([&] { StartGpl(f.CurrentProject(), context(), *port, f.UiPort()); });
    };
    auto viewer = [&f, port] {
        f.Run([&] { StartProgram(f.OptionsForm->General().ViewerPath, *port, f.UiPort()); });
    };
    auto user = [&f, port] {
        f.Run([&] { StartProgram(f.OptionsForm->General().UserPath, *port, f.UiPort()); });
    };
    on("GPLStartMenu", gpl);
    on("GPLStartToolButton", gpl);
    on("ViewerStartMenu", viewer);
    on("ViewerStartToolButton", viewer);
    on("UserStartMenu", user);
    on("UserStartToolButton", user);
    f.AddEnableRule([&f, port] {
        // The entries themselves are always on but while the converter runs; the submenu and
        // the tool button follow the Project's rules otherwise.
        const bool busy = port->Busy();
        for (const char* name : kOutputEntries)
            f.Action(name)->setEnabled(!busy);
        if (busy) {
            f.Action("WriteASEToolButton")->setEnabled(false);
            f.Menu("WriteASEMenu")->menuAction()->setEnabled(false);
        }
    });
}

} // namespace meshforge::gui
