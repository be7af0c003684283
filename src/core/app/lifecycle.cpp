#include "app/lifecycle.h"

#include "app/lifecycle_ui.h"
#include "model/project.h"
#include "util/app_folder.h"
#include "util/atomic_file.h"
#include "util/errors.h"
#include "util/platform_file.h"

#include <chrono>
#include <ctime>
#include <exception>
#include <filesystem>

namespace meshforge {

namespace fs = std::filesystem;

namespace {

const std::string kSep(1, fs::path::preferred_separator);

// Caption and event-set menu states after the Project has been emptied.
void AfterReset(Session& s) {
    s.ViewCaption = std::string(kNewProjectCaption);
    s.Menus.SaveProject = false;
    s.Menus.CloseProject = false;
    s.Menus.WriteAse = false;
    s.Menus.CreateVisLines = true;
    s.Menus.RemoveVisLines = false;
    s.Menus.ConvertVisLines = false;
}

ReadOutcome Read(Project& p, Session& s, Ui& ui, const std::string& path) {
    ResetEditorState(s.Editor);
    p.ProjectFileName = path;
    ReadOutcome outcome = ReadProject(p, ui);
    if (outcome == ReadOutcome::Completed) {
        s.Menus.CloseProject = true;
        s.Menus.SaveProject = true;
        s.Menus.SaveProjectAs = true;
        s.Menus.WriteAse = true;
    } else if (outcome == ReadOutcome::Cleared) {
        AfterReset(s);
    }
    return outcome;
}

// Open's steps after choosing the file: read, then show what was read.
void ReadAndShow(Project& p, Session& s, Ui& ui, const std::string& path) {
    Read(p, s, ui, path);
    if (p.Vertices.empty())
        return;
    s.Recent.Add(path);
    s.ViewCaption = std::string(FileNamePart(path));
    p.GeometryShown = true;
    RecomputeColorTriples(p.Options);
    ui.Log("");
    ui.Log("Project Description:");
    ui.Log(p.ProjectDescription);
}

// Writes the Project to ProjectFileName. A failure is shown, not thrown: the callers decide
// what a failed save means (Close must not go on and empty the Project).
bool Write(Project& p, const SaveOptions& save, Ui& ui) {
    try {
        WriteProject(p, save, ui);
        return true;
    } catch (const std::exception& e) {
        ui.Message(e.what());
        return false;
    }
}

// Writes under a new name; on failure the Project keeps its old name and caption.
bool WriteAs(Project& p, Session& s, const SaveOptions& save, Ui& ui, const std::string& path,
             const std::string& caption) {
    std::string oldName = p.ProjectFileName, oldCaption = s.ViewCaption;
    p.ProjectFileName = path;
    s.ViewCaption = caption;
    if (!Write(p, save, ui)) {
        p.ProjectFileName = oldName;
        s.ViewCaption = oldCaption;
        return false;
    }
    s.Recent.Add(path);
    return true;
}

// A name that can only name a folder directly inside another one.
bool IsPlainFolderName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    return true;
}

bool SaveIntoSubfolder(Project& p, Session& s, const SaveOptions& save, LifecycleUi& ui) {
    NameAnswer answer = ui.AskProjectName();
    if (answer.Result == NameAnswer::How::Cancelled)
        return false;
    if (answer.Result == NameAnswer::How::Ok)
        p.ProjectName = answer.Name;
    std::error_code ec;
    bool created = IsPlainFolderName(p.ProjectName) &&
                   fs::create_directory(platform::PathFromUtf8(s.AppFolder + p.ProjectName), ec);
    if (!created) {
        ui.Message("Unable to create Directory OR Directory already exists !");
        return false;
    }
    SaveOptions inFolder = save;
    inFolder.AppFolder = s.AppFolder;
    return WriteAs(p, s, inFolder, ui, s.AppFolder + p.ProjectName + kSep + p.ProjectName + ".3dp",
                   p.ProjectName);
}

std::string LocalDateTime(fs::file_time_type t) {
    auto sys = std::chrono::file_clock::to_sys(t);
    std::time_t tt = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
    const std::tm tm = platform::LocalTime(tt);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &tm);
    return buf;
}

} // namespace

bool IsValidProjectName(std::string_view name) {
    std::size_t points = 0;
    for (unsigned char c : name)
        if ((c & 0xC0) != 0x80)
            ++points;
    return points >= 1 && points <= 8 && IsPlainFolderName(name);
}

void StartUp(Project& p, Session& s, Ui& ui) {
    p.ProjectDescription = "None available";
    ui.Log("");
    ui.Log(std::string(kProgramName) + " " + kProgramVersion);
    ui.Log("See Tool Tips for some more Information");
    p.CurrentPolygon = kNoElement;
    p.CurrentLine = kNoElement;
    p.Options.ShowVertices = p.Options.ShowLines = p.Options.ShowPolygons = true;
    p.Options.ShowAxis = p.Options.ShowTextures = false;
    p.ProjectFileName = kNoFile;
    std::error_code ec;
    s.Menus.WriteAse = fs::exists(platform::PathFromUtf8(s.AppFolder + "ase23doc.exe"), ec);
    s.StartupOpenPending = true;
}

bool CloseProject(Project& p, Session& s, const SaveOptions& save, LifecycleUi& ui) {
    if (p.Vertices.empty())
        return true;
    Answer a = ui.Ask("Save project data ?", "Closing Project...", Buttons::YesNoCancel);
    if (a == Answer::Cancel)
        return false;
    // The user asked for their work to be kept: without a save there is no close.
    if (a == Answer::Yes && !SaveProject(p, s, save, ui))
        return false;
    ResetProject(p);
    ResetEditorState(s.Editor);
    ui.Log("Project Closed !");
    AfterReset(s);
    return true;
}

void ClearAll(Project& p, Session& s, Ui& ui) {
    ClearAllData(p, ui);
    ResetEditorState(s.Editor);
    AfterReset(s);
}

void OpenProject(Project& p, Session& s, const SaveOptions& save, LifecycleUi& ui) {
    if (!CloseProject(p, s, save, ui))
        return;
    std::optional<std::string> path =
        ui.ChooseOpenFile({"", OpenDialogFilters(), kOpenProject, ""});
    if (!path)
        return;
    ReadAndShow(p, s, ui, *path);
}

void OpenProjectFile(Project& p, Session& s, const SaveOptions& save, LifecycleUi& ui,
                     const std::string& path) {
    if (!CloseProject(p, s, save, ui))
        return;
    ReadAndShow(p, s, ui, path);
}

bool OpenFromCommandLine(Project& p, Session& s, Ui& ui, const std::vector<std::string>& args) {
    if (!s.StartupOpenPending || p.ProjectFileName != kNoFile || args.empty())
        return false;
    s.StartupOpenPending = false;
    Read(p, s, ui, args.front());
    s.Recent.Add(args.front());
    s.ViewCaption = std::string(FileNamePart(args.front()));
    p.GeometryShown = true;
    RecomputeColorTriples(p.Options);
    return true;
}

bool SaveProject(Project& p, Session& s, const SaveOptions& save, LifecycleUi& ui) {
    if (p.ProjectFileName == kNoFile)
        return SaveProjectAs(p, s, save, ui);
    if (!Write(p, save, ui))
        return false;
    ui.Log("Project Saved !");
    return true;
}

bool SaveProjectAs(Project& p, Session& s, const SaveOptions& save, LifecycleUi& ui) {
    if (!p.HasGeometry) {
        ui.Message("      No Vertices defined      \r\r      No project data to save !");
        return false;
    }
    if (save.MakeSubDir)
        return SaveIntoSubfolder(p, s, save, ui);
    std::optional<std::string> path =
        ui.ChooseSaveFile({"", SaveDialogFilters(), kSaveProject, "3dp"});
    if (!path)
        return false;
    return WriteAs(p, s, save, ui, *path, std::string(FileNamePart(*path)));
}

void AddData(Project& p, Session& s, Ui& ui) {
    std::optional<std::string> path =
        ui.ChooseOpenFile({"", OpenDialogFilters(), kOpenProject, ""});
    if (!path)
        return;
    if (ui.Ask("Project Description:\r" + p.ProjectDescription + "\r\r" +
                   "OK to add Data from this project ?",
               "Add Data", Buttons::YesNo) != Answer::Yes)
        return;
    ResetEditorState(s.Editor);
    MergeProject(p, *path, ui);
}

bool RequestExit(Project& p, Session& s, const SaveOptions& save, LifecycleUi& ui) {
    return CloseProject(p, s, save, ui);
}

bool SaveLogFile(const std::vector<std::string>& lines, Ui& ui) {
    std::optional<std::string> path = ui.ChooseSaveFile({"", SaveDialogFilters(), kSaveLog, "log"});
    if (!path)
        return false;
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    try {
        WriteFileAtomically(*path, text);
        return true;
    } catch (const std::exception& e) {
        ui.Message(e.what());
        return false;
    }
}

std::string ProgramFile(const Session& s, const std::string& relative) {
    std::vector<std::string> folders{s.AppFolder};
    folders.insert(folders.end(), s.FileFolders.begin(), s.FileFolders.end());
    return FindProgramFile(folders, relative);
}

void LocalHelp(const Session& s, Ui& ui) {
    const std::string page = ProgramFile(s, "help" + kSep + "index.htm");
    std::error_code ec;
    auto when = fs::last_write_time(platform::PathFromUtf8(page), ec);
    if (ec || !fs::is_regular_file(platform::PathFromUtf8(page), ec)) {
        ui.Message("No local help available, please download current help file from the "
                   "website !");
        return;
    }
    ui.Message("Local help file is dated " + LocalDateTime(when) +
               ", please check website for newer version !");
    if (!ui.OpenDocument(page))
        ui.Message("The help page could not be opened: no program to show it was found.\r"
                   "It is the file " +
                   page);
}

} // namespace meshforge
