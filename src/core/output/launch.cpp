#include "output/launch.h"

#include "model/project_file.h"
#include "output/ase_writer.h"
#include "ui/file_dialogs.h"
#include "ui/ui.h"
#include "util/platform_file.h"

#include <fstream>
#include <memory>
#include <sstream>

namespace meshforge {

namespace fs = std::filesystem;

namespace {

constexpr const char* kConverter = "ase23doc.exe";
constexpr const char* kLauncher = "GPLstart.exe";
constexpr const char* kNoConverter = "ASE23DOC not found !";
constexpr const char* kSaveFirst = "Save project first !";
constexpr const char* kStartError = "Error starting ase23doc.exe!";

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(platform::PathFromUtf8(path), ec);
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(platform::PathFromUtf8(path), ec);
}

std::optional<fs::file_time_type> WriteTime(const std::string& path) {
    std::error_code ec;
    auto t = fs::last_write_time(platform::PathFromUtf8(path), ec);
    if (ec)
        return std::nullopt;
    return t;
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size())
        return false;
    for (std::size_t i = 0; i < end.size(); ++i) {
        char c = text[text.size() - end.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != end[i])
            return false;
    }
    return true;
}

void Finish(const std::function<void(bool)>& done, bool converted) {
    if (done)
        done(converted);
}

// Writes the ASE file and runs the converter; `after` runs on the same Project once the 3DO
// is there (a converter that ended without writing it is reported, not taken for success).
bool Convert(Project& project, const LaunchContext& context, LaunchPort& port, Ui& ui,
             const std::string& path3do, std::function<void(bool)> done,
             std::function<void()> after) {
    const std::string ase = AsePath(project);
    if (!WriteAseFile(project, ase, ui)) {
        Finish(done, false);
        return false;
    }
    const std::optional<fs::file_time_type> before = WriteTime(path3do);
    port.StartAndWait(ConverterRequest(context, ase, path3do), [&ui, context, path3do, before, done,
                                                                after](bool started) {
        if (!context.SameProject()) {
            Finish(done, false);
            return;
        }
        if (!started) {
            ui.Message(kStartError);
            Finish(done, false);
            return;
        }
        const std::optional<fs::file_time_type> now = WriteTime(path3do);
        if (!now || (before && *now <= *before)) {
            ui.Message(std::string(kConverter) + " did not write " + path3do + " !");
            Finish(done, false);
            return;
        }
        ui.Log("3DO " + path3do + " written !");
        if (after)
            after();
        Finish(done, true);
    });
    return true;
}

std::vector<ProgramArg> SplitParams(const std::string& text) {
    std::vector<ProgramArg> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        out.push_back({word, false});
    return out;
}

} // namespace

std::string BasePath(const std::string& projectFile) {
    return EndsWithNoCase(projectFile, ".3dp") ? projectFile.substr(0, projectFile.size() - 4)
                                               : projectFile;
}

std::string AsePath(const Project& project) {
    return BasePath(project.ProjectFileName) + ".ase";
}

std::string TrackFolderOf(const Project& project) {
    std::string folder = project.Options.TrackFolder;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += fs::path::preferred_separator == '\\' ? '\\' : '/';
    return folder;
}

std::string Path3do(const Project& project, bool toTrackFolder) {
    if (toTrackFolder)
        return TrackFolderOf(project) +
               BasePath(std::string(FileNamePart(project.ProjectFileName))) + ".3do";
    return BasePath(project.ProjectFileName) + ".3do";
}

std::string MipName(const TextureData& texture) {
    const std::string_view name = FileNamePart(texture.Filename);
    return std::string(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0)) + ".mip";
}

bool HasSpace(const std::string& path) {
    return path.find(' ') != std::string::npos;
}

ProcessRequest ConverterRequest(const LaunchContext& context, const std::string& asePath,
                                const std::string& path3do) {
    return {context.AppFolder + kConverter, {{asePath, true}, {path3do, true}}, true};
}

ProcessRequest RestartRequest(const Project& project, const LaunchContext& context) {
    ProcessRequest r{context.AppFolder + kLauncher,
                     {{context.AppFolder + context.ProgramName + ".exe", true},
                      {project.ProjectFileName, true},
                      {context.General.GPLPath, true}},
                     false};
    if (project.Options.GPLParam)
        r.Arguments.push_back({project.Options.AdditionalGPLParams, false});
    return r;
}

ProcessRequest GplRequest(const Project& project, const LaunchContext& context, bool withParams) {
    ProcessRequest r{context.General.GPLPath, {}, false};
    const std::string& params = project.Options.AdditionalGPLParams;
    if (withParams && project.Options.GPLParam && !params.empty() && params.front() == '-')
        r.Arguments = SplitParams(params);
    return r;
}

std::optional<std::string> CommonWriteProblem(const Project& project) {
    if (project.Vertices.empty())
        return "Not enough Data to write ASE-file !";
    for (const ObjectData& polygon : project.Polygons)
        if (polygon.TextureIndex == kUntextured)
            return "Only entirely textured objects supported so far !";
    return AseProblem(project);
}

bool JustWriteAse(const Project& project, Ui& ui) {
    if (auto problem = CommonWriteProblem(project)) {
        ui.Message(*problem);
        return false;
    }
    std::optional<std::string> path = ui.ChooseSaveFile({"", SaveDialogFilters(), kSaveAse, "ase"});
    if (!path)
        return false;
    std::error_code ec;
    if (project.ProjectFileName != kNoFile &&
        (*path == project.ProjectFileName ||
         fs::equivalent(platform::PathFromUtf8(*path),
                        platform::PathFromUtf8(project.ProjectFileName), ec))) {
        ui.Message("The ASE file cannot be written over the project file !\r\r" + *path);
        return false;
    }
    return WriteAseFile(project, *path, ui);
}

bool WriteAseAndConvert(Project& project, const LaunchContext& context, LaunchPort& port, Ui& ui,
                        std::function<void(bool)> done) {
    auto refuse = [&](const std::string& message) {
        ui.Message(message);
        Finish(done, false);
        return false;
    };
    if (auto problem = CommonWriteProblem(project))
        return refuse(*problem);
    if (project.ProjectFileName == kNoFile)
        return refuse(kSaveFirst);
    if (!IsFile(context.AppFolder + kConverter))
        return refuse(kNoConverter);
    if (HasSpace(project.ProjectFileName) || HasSpace(context.AppFolder))
        return refuse("Application and/or project file path contains spaces.\rUnable to use "
                      "ase23do and/or GPL !");
    return Convert(project, context, port, ui, Path3do(project, false), std::move(done), {});
}

bool WriteAseConvertAndStartGpl(Project& project, const LaunchContext& context, LaunchPort& port,
                                Ui& ui, std::function<void(bool)> done) {
    auto refuse = [&](const std::string& message) {
        ui.Message(message);
        Finish(done, false);
        return false;
    };
    const ViewOptions& o = project.Options;
    const std::string& gpl = context.General.GPLPath;
    if (auto problem = CommonWriteProblem(project))
        return refuse(*problem);
    if (!IsFile(gpl))
        return refuse("GPL.exe not found. Check settings in OPTIONS Menu !");
    if (!IsFile(context.AppFolder + kLauncher))
        return refuse("GPLstart.exe missing !");
    if (project.ProjectFileName == kNoFile)
        return refuse(kSaveFirst);
    if (!IsFile(context.AppFolder + kConverter))
        return refuse(kNoConverter);
    // The track folder is checked too: it names the converter's output.
    if (HasSpace(project.ProjectFileName) || HasSpace(context.AppFolder) || HasSpace(gpl) ||
        (o.UseTrackFolder && HasSpace(o.TrackFolder)))
        return refuse("Application path, project file path or GPL path contains spaces.\rUnable "
                      "to use ase23do and/or GPL !");
    if (o.GPLParam && o.AdditionalGPLParams.find('"') != std::string::npos)
        return refuse("Additional GPL command-line parameters must not contain double quotes !");
    if (o.UseTrackFolder) {
        const std::string folder = TrackFolderOf(project);
        if (!IsFolder(folder))
            return refuse("Not a valid Track-folder !");
        bool missing = false;
        for (const TextureData& t : project.Textures) {
            if (IsFile(folder + MipName(t)))
                continue;
            missing = true;
            ui.Message("Referenced file '" + MipName(t) +
                       "' does not exist in specified track folder !");
        }
        if (missing && ui.Ask("One or more referenced files are missing in specified track "
                              "folder !\rUnable to start GPL !\r\rProceed anyway ?",
                              "Warning", Buttons::YesNo) != Answer::Yes) {
            Finish(done, false);
            return false;
        }
    }
    const std::string path3do = Path3do(project, o.UseTrackFolder);
    if (!o.Overwrite && ui.Ask("Overwrite " + std::string(FileNamePart(path3do)) + " ?",
                               "File exists", Buttons::YesNo) != Answer::Yes) {
        Finish(done, false);
        return false;
    }
    auto after = [&project, &port, &ui, context] {
        const ViewOptions& options = project.Options;
        const bool saved = context.SaveProject();
        auto startGpl = [&] {
            port.MinimizeEditor();
            port.Start(GplRequest(project, context, false));
        };
        if (!options.AutoGPL) {
            if (ui.Ask("Start GPL ?", "Gplstart.exe", Buttons::YesNo) == Answer::Yes)
                startGpl();
            return;
        }
        if (options.MinimizeOnGPL || !options.CloseOnGPL) {
            startGpl();
            return;
        }
        // Close and restart: the launcher starts the editor again from its Windows executable;
        // without one (or without a saved Project) the editor must not end.
        const std::string editor = context.AppFolder + context.ProgramName + ".exe";
        if (!IsFile(editor)) {
            ui.Log("GPLstart.exe cannot restart the editor here (" + editor +
                   " does not exist): the editor is minimized instead");
            startGpl();
            return;
        }
        if (!saved) {
            ui.Log("The project was not saved: the editor stays open and GPL is not started");
            return;
        }
        if (port.Start(RestartRequest(project, context)))
            port.EndEditor();
    };
    return Convert(project, context, port, ui, path3do, std::move(done), after);
}

void StartGpl(const Project& project, const LaunchContext& context, LaunchPort& port, Ui& ui) {
    if (!IsFile(context.General.GPLPath)) {
        ui.Message("GPL not found !");
        return;
    }
    if (project.Options.MinimizeOnGPL)
        port.MinimizeEditor();
    if (!port.Start(GplRequest(project, context, true)))
        ui.Message("Unable to start " + context.General.GPLPath + " !");
}

void StartProgram(const std::string& path, LaunchPort& port, Ui& ui) {
    if (!IsFile(path)) {
        ui.Message("File " + path + " not found !");
        return;
    }
    if (!port.Start({path, {}, false}))
        ui.Message("Unable to start " + path + " !");
}

std::string WinePath(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(platform::PathFromUtf8(path), ec);
    std::string out = "Z:";
    for (char c : ec ? path : platform::Utf8FromPath(absolute))
        out += c == '/' ? '\\' : c;
    return out;
}

std::optional<std::string> FindWine(const char* meshforgeWine, const char* pathVariable) {
    if (meshforgeWine && *meshforgeWine)
        return std::string(meshforgeWine);
    std::string paths = pathVariable ? pathVariable : "";
    std::size_t start = 0;
    while (start <= paths.size()) {
        std::size_t end = paths.find(':', start);
        if (end == std::string::npos)
            end = paths.size();
        const std::string dir = paths.substr(start, end - start);
        if (!dir.empty() && IsFile(dir + "/wine"))
            return dir + "/wine";
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<ProcessRequest> ForThisSystem(const ProcessRequest& request,
                                            const std::optional<std::string>& wine) {
#if defined(_WIN32)
    (void)wine;
    return request;
#else
    char magic[2] = {};
    std::ifstream in(platform::PathFromUtf8(request.Program), std::ios::binary);
    if (!in.read(magic, 2) || magic[0] != 'M' || magic[1] != 'Z')
        return request; // a script or a native program starts as it is
    if (!wine)
        return std::nullopt;
    ProcessRequest r{*wine, {{WinePath(request.Program), false}}, request.Hidden};
    for (const ProgramArg& a : request.Arguments)
        r.Arguments.push_back({a.IsPath ? WinePath(a.Text) : a.Text, false});
    return r;
#endif
}

} // namespace meshforge
