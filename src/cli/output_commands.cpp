// write-ase and convert: the ASE file and the converter, as the editor's write commands do,
// for scripts that convert many projects.
#include "cli_ui.h"
#include "commands.h"
#include "model/project.h"
#include "model/project_file.h"
#include "output/ase_writer.h"
#include "output/launch.h"
#include "settings/settings.h"
#include "util/app_folder.h"
#include "util/platform_file.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#if MESHFORGE_CLI_ADAPTERS
#include "process/qt_processes.h"
#endif

namespace meshforge::cli {

namespace {

namespace fs = std::filesystem;

#if MESHFORGE_CLI_ADAPTERS
// The command line has no window: the converter is waited for, nothing is minimized.
struct WaitingPort : LaunchPort {
    bool Start(const ProcessRequest& request) override { return StartDetached(request); }
    void StartAndWait(const ProcessRequest& request, std::function<void(bool)> ended) override {
        ended(RunAndWait(request));
    }
    void MinimizeEditor() override {}
    void EndEditor() override {}
};
#endif

// Reads the project with its path made absolute: the derived paths are built from it.
bool LoadAbsolute(Project& project, const std::string& path, Ui& ui) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(platform::PathFromUtf8(path), ec);
    project.ProjectFileName = ec ? path : platform::Utf8FromPath(absolute);
    return ReadProject(project, ui) == ReadOutcome::Completed;
}

} // namespace

std::function<int()> WriteAseCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    sub.add_option("PROJECT", *in, "Project file (.3dp)")->required();
    sub.add_option("-o,--output", *out, "ASE file to write (default: beside the project)");
    return [in, out] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!LoadAbsolute(project, *in, ui))
            return 1;
        if (auto problem = CommonWriteProblem(project)) {
            ui.Message(*problem);
            return 1;
        }
        const std::string path = out->empty() ? AsePath(project) : *out;
        std::error_code ec;
        if (fs::equivalent(platform::PathFromUtf8(path),
                           platform::PathFromUtf8(project.ProjectFileName), ec)) {
            ui.Message("The ASE file cannot be written over the project file !\r\r" + path);
            return 1;
        }
        return WriteAseFile(project, path, ui) ? 0 : 1;
    };
}

#if MESHFORGE_CLI_ADAPTERS
std::function<int()> ConvertCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    sub.add_option("PROJECT", *in, "Project file (.3dp)")->required();
    sub.add_option(
        "--app-folder", *appFolder,
        "Program folder holding ase23doc.exe and Meshforge.ini (default: "
        "MESHFORGE_APP_FOLDER or the executable's folder when writable, else ~/.config/meshforge)");
    return [in, appFolder] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!LoadAbsolute(project, *in, ui))
            return 1;
        LaunchContext context;
        context.AppFolder = ResolveAppFolder(*appFolder, ExecutableFolder());
        std::error_code ec;
        const fs::path absolute = fs::absolute(platform::PathFromUtf8(context.AppFolder), ec);
        if (!ec)
            context.AppFolder = platform::Utf8FromPath(absolute);
        context.General =
            SettingsFile(SettingsFile::PathFor(context.AppFolder)).ReadGeneralOptions();
        WaitingPort port;
        bool converted = false;
        WriteAseAndConvert(project, context, port, ui, [&](bool ok) { converted = ok; });
        return converted ? 0 : 1;
    };
}
#endif

} // namespace meshforge::cli
