#include "commands.h"

#include "cli_ui.h"
#include "edit/vertices.h"
#include "model/project.h"
#include "model/project_file.h"
#include "settings/settings.h"
#include "util/app_folder.h"
#include "view/pick.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace meshforge::cli {

namespace {

// Reads a project the way Open does; false when the read did not complete.
bool Load(Project& project, const std::string& path, Ui& ui) {
    project.ProjectFileName = path;
    return ReadProject(project, ui) == ReadOutcome::Completed;
}

std::function<int()> Info(CLI::App& sub) {
    auto file = std::make_shared<std::string>();
    sub.add_option("FILE", *file, "Project file (.3dp)")->required();
    return [file] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        return Load(project, *file, ui) ? 0 : 1;
    };
}

// The save-time settings of the installation's settings file.
SaveOptions SaveOptionsFromSettings(const std::string& appFolderFlag) {
    SaveOptions o;
    o.AppFolder = ResolveAppFolder(appFolderFlag, ExecutableFolder());
    SettingsFile settings(SettingsFile::PathFor(o.AppFolder));
    GeneralOptions g = settings.ReadGeneralOptions();
    o.MakeSubDir = g.MakeSubDir;
    o.CopyBmp = g.CopyBmp;
    o.MipInfo = g.MipInfo;
    return o;
}

std::function<int()> Resave(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    sub.add_option("--app-folder", *appFolder,
                   "Program folder holding Meshforge.ini (default: MESHFORGE_APP_FOLDER or the "
                   "executable's folder)");
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("OUT", *out, "Project file to write")->required();
    return [in, out, appFolder] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!Load(project, *in, ui))
            return 1;
        SaveOptions options = SaveOptionsFromSettings(*appFolder);
        project.ProjectFileName = *out;
        WriteProject(project, options, ui);
        return 0;
    };
}

// The command line's own answer to a question: Yes when --yes was given, otherwise the
// question is printed and refused, so that nothing is deleted unasked.
class AnsweringUi : public CliUi {
  public:
    AnsweringUi(bool yes) : CliUi(std::cout, std::cerr), yes_(yes) {}
    Answer Ask(std::string_view text, std::string_view caption, Buttons buttons) override {
        if (!yes_) {
            std::cerr << caption << ": " << text << " (refused; give --yes to agree)\n";
            return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
        }
        std::cout << caption << ": " << text << " Yes\n";
        return Answer::Yes;
    }

  private:
    bool yes_;
};

// A vertex command between reading IN and writing OUT; `run` returns false when it refused,
// and then nothing is written.
std::function<int()> VertexCommand(CLI::App& sub, bool askable,
                                   std::function<bool(Project&, Ui&)> run) {
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    auto yes = std::make_shared<bool>(false);
    sub.add_option("--app-folder", *appFolder,
                   "Program folder holding Meshforge.ini (default: MESHFORGE_APP_FOLDER or the "
                   "executable's folder)");
    if (askable)
        sub.add_flag("--yes", *yes, "Agree to removing the lines and polygons");
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("OUT", *out, "Project file to write")->required();
    return [in, out, appFolder, yes, run] {
        AnsweringUi ui(*yes);
        Project project;
        if (!Load(project, *in, ui))
            return 1;
        if (!run(project, ui))
            return 1;
        SaveOptions options = SaveOptionsFromSettings(*appFolder);
        project.ProjectFileName = *out;
        WriteProject(project, options, ui);
        return 0;
    };
}

std::function<int()> RemoveDoubles(CLI::App& sub) {
    return VertexCommand(sub, false, [](Project& project, Ui& ui) {
        ColorTriple lineColor = EditColors{}.Line;
        RemoveDoubleVertices(project, lineColor, ui);
        return true;
    });
}

std::function<int()> Interpolate(CLI::App& sub) {
    return VertexCommand(sub, true, [](Project& project, Ui& ui) {
        ColorTriple lineColor = EditColors{}.Line;
        return AddInterpolatedVertices(project, lineColor, ui);
    });
}

} // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"info", "Read a project and print what the read logs", Info},
        {"resave", "Read a project and write it again", Resave},
        {"remove-doubles", "Merge vertices at exactly the same position and write the result",
         RemoveDoubles},
        {"interpolate", "Add the midpoint after every vertex but the last and write the result",
         Interpolate},
    };
    return commands;
}

} // namespace meshforge::cli
