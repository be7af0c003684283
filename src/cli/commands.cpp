#include "commands.h"

#include "cli_ui.h"
#include "model/project.h"
#include "model/project_file.h"
#include "settings/settings.h"
#include "util/app_folder.h"

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

} // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"info", "Read a project and print what the read logs", Info},
        {"resave", "Read a project and write it again", Resave},
    };
    return commands;
}

} // namespace meshforge::cli
