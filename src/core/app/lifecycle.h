#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "edit/editor_state.h"
#include "model/project_file.h"
#include "settings/recent_files.h"
#include "transform/polygon_tools.h"
#include "ui/file_dialogs.h"

namespace meshforge {

struct Project;
struct Ui;
struct LifecycleUi;

inline constexpr std::string_view kProjectNameRuleMessage = "Up to 8 Characters allowed !";
inline constexpr std::string_view kNewProjectCaption = "New Project";

// Menu entries whose enabled state is set by events rather than by the idle rules.
struct EventMenuStates {
    bool SaveProject = false;
    bool CloseProject = false;
    bool SaveProjectAs = false;
    bool WriteAse = false;
    bool CreateVisLines = true;
    bool RemoveVisLines = false;
    bool ConvertVisLines = false;
};

// What the lifecycle keeps beside the Project: the program folder, the recent-files list, the
// view caption, the event-set menu states and the editor state, which every command that
// replaces the Project resets. The window shows them after every command.
struct Session {
    std::string AppFolder; // ends with a separator
    // Where the program's read-only files (help/, mask.bmp) are looked for after AppFolder: the
    // executable's folder and the installation's shared folder.
    std::vector<std::string> FileFolders;
    RecentFiles Recent;
    bool StartupOpenPending = true;
    std::string ViewCaption = std::string(kNewProjectCaption);
    EventMenuStates Menus;
    EditorState Editor;
    TransformState Transforms; // lives for the whole run; stale records refuse themselves
};

// A project name becomes a folder below the program folder: 1 to 8 characters (UTF-8 code
// points), none of them a path separator or a character file systems refuse, and not "." or
// "..", so that the folder cannot land anywhere else.
bool IsValidProjectName(std::string_view name);

// Start-up values of the Project and the session, and the first log lines.
void StartUp(Project& project, Session& session, Ui& ui);

// "&Close Project". Returns true when no vertices remain afterwards (closed, or nothing to
// close); false when the user cancelled or the save they asked for did not happen.
bool CloseProject(Project& project, Session& session, const SaveOptions& save, LifecycleUi& ui);

// "Clear All": empties the Project, logs "All Data Cleared !" and resets the caption and the
// menu states of the session.
void ClearAll(Project& project, Session& session, Ui& ui);

// "&Open existing project" (asks for the file) and a recent-files entry or a dropped file
// (the path is given). Both close the current Project first and stop if that is cancelled.
// Read errors propagate as ParseError / FileError; what was read before stays.
void OpenProject(Project& project, Session& session, const SaveOptions& save, LifecycleUi& ui);
void OpenProjectFile(Project& project, Session& session, const SaveOptions& save, LifecycleUi& ui,
                     const std::string& path);

// Opens the first command-line argument on the view's first paint, once. Returns whether
// it ran.
bool OpenFromCommandLine(Project& project, Session& session, Ui& ui,
                         const std::vector<std::string>& args);

// "S&ave Project" and "&Save project as...". Return whether the project was written; a
// write error is shown and gives false.
bool SaveProject(Project& project, Session& session, const SaveOptions& save, LifecycleUi& ui);
bool SaveProjectAs(Project& project, Session& session, const SaveOptions& save, LifecycleUi& ui);

// "Add Data From Another Project". Read errors propagate.
void AddData(Project& project, Session& session, Ui& ui);

// "E&xit" and closing the main window: true when the program may end.
bool RequestExit(Project& project, Session& session, const SaveOptions& save, LifecycleUi& ui);

// "Save As Log File": asks for a ".log" file and writes the lines as plain text. Returns
// whether it was written; a write error is shown.
bool SaveLogFile(const std::vector<std::string>& lines, Ui& ui);

// The program's read-only file `relative` ("mask.bmp"): in AppFolder, else in the first of
// FileFolders that has it; in AppFolder when none has it.
std::string ProgramFile(const Session& session, const std::string& relative);

// "Local Help": the help page "help/index.htm" (found as ProgramFile finds it) with its date, or
// the message that there is none.
void LocalHelp(const Session& session, Ui& ui);

} // namespace meshforge
