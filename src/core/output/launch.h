#pragma once
// The commands that take a finished Project out of the editor: write the ASE file, let the
// converter turn it into a 3DO object, start GPL, the 3DO viewer or the user's program. The
// checks come in their order with their messages; programs are started through LaunchPort
// with argument lists, never through a shell.
#include "model/project.h"
#include "settings/settings.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace meshforge {

struct Ui;

struct ProgramArg {
    std::string Text;
    bool IsPath = false; // a path the program must understand (wine maps it)
    bool operator==(const ProgramArg&) const = default;
};

struct ProcessRequest {
    std::string Program;
    std::vector<ProgramArg> Arguments;
    bool Hidden = false; // the converter runs without a window
};

// What the output commands need from the system and the editor's window.
struct LaunchPort {
    virtual ~LaunchPort() = default;
    // Start and forget; false if the program could not be started.
    virtual bool Start(const ProcessRequest& request) = 0;
    // Start and wait: `ended(false)` when it could not be started, `ended(true)` once it has
    // ended. The editor returns at once and calls it from its event loop; the command line
    // waits.
    virtual void StartAndWait(const ProcessRequest& request, std::function<void(bool)> ended) = 0;
    virtual void MinimizeEditor() = 0;
    virtual void EndEditor() = 0;
};

// Where the commands look and what they may do with the Project.
struct LaunchContext {
    std::string AppFolder; // ends with a separator
    GeneralOptions General;
    std::string ProgramName = kProgramName; // the editor's executable is ProgramName + ".exe"
    // Whether the Project the command started on is still the open one: after the converter
    // ends, nothing happens on another Project (or after Exit).
    std::function<bool()> SameProject = [] { return true; };
    // "Save Project" on it; false if it was not saved.
    std::function<bool()> SaveProject = [] { return false; };
};

// "tree.3dp" -> "tree": only a ".3dp" extension (any case) is taken off.
std::string BasePath(const std::string& projectFile);
std::string AsePath(const Project& project);
// The 3DO path; `toTrackFolder` for the command that starts GPL with "Save 3DO to
// track-folder:" on.
std::string Path3do(const Project& project, bool toTrackFolder);
// The track folder with its trailing separator.
std::string TrackFolderOf(const Project& project);
// "bark.bmp" -> "bark.mip".
std::string MipName(const TextureData& texture);
bool HasSpace(const std::string& path);

// The converter's request: ASE path and 3DO path, window hidden.
ProcessRequest ConverterRequest(const LaunchContext& context, const std::string& asePath,
                                const std::string& path3do);
// GPLstart.exe's request: the editor, the project file, GPL and (when switched on) the extra
// parameters as one argument.
ProcessRequest RestartRequest(const Project& project, const LaunchContext& context);
// "Start GPL"'s request: GPL with the extra parameters when on and beginning with "-".
ProcessRequest GplRequest(const Project& project, const LaunchContext& context, bool withParams);

// The message of the first failed check common to the three write commands, or nullopt.
std::optional<std::string> CommonWriteProblem(const Project& project);

// "Just write ASE".
bool JustWriteAse(const Project& project, Ui& ui);
// "Write ASE and convert to 3DO" and "Write ASE, Convert and start GPL": true when the
// converter was started (the rest happens when it ends, through `done`, which also runs
// after every refusal with false).
bool WriteAseAndConvert(Project& project, const LaunchContext& context, LaunchPort& port, Ui& ui,
                        std::function<void(bool converted)> done = {});
bool WriteAseConvertAndStartGpl(Project& project, const LaunchContext& context, LaunchPort& port,
                                Ui& ui, std::function<void(bool converted)> done = {});
// "Start GPL", "Start 3DO- Viewer Application", "Start User-Defined Program".
void StartGpl(const Project& project, const LaunchContext& context, LaunchPort& port, Ui& ui);
void StartProgram(const std::string& path, LaunchPort& port, Ui& ui);

// A request as this system starts it: a Windows executable (a file beginning with "MZ") on a
// system other than Windows goes through `wine`, its path arguments in wine's form
// ("Z:\dir\file"). nullopt when it needs wine and there is none.
std::optional<ProcessRequest> ForThisSystem(const ProcessRequest& request,
                                            const std::optional<std::string>& wine);
// wine: $MESHFORGE_WINE when set, else "wine" found on `pathVariable` ($PATH).
std::optional<std::string> FindWine(const char* meshforgeWine, const char* pathVariable);
// "/home/a/x.ase" -> "Z:\home\a\x.ase" (a relative path is made absolute first).
std::string WinePath(const std::string& path);

} // namespace meshforge
