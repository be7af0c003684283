#pragma once
#include <functional>
#include <string>
#include <vector>

namespace meshforge {

// What the program folder is chosen from besides the arguments; tests give their own.
struct AppFolderSources {
    std::function<std::string(const char* name)> Environment; // "" when the variable is unset
    std::function<bool(const std::string& folder)> Writable;
};

// The running process's environment and a real write probe.
AppFolderSources ProcessSources();

// Whether a new file can be created in `folder` (tried, then removed).
bool IsWritableFolder(const std::string& folder);

// The program folder, with a trailing separator: `overrideFolder` when given (--app-folder),
// else the MESHFORGE_APP_FOLDER environment variable, else the executable's folder when files
// can be written there, else the per-user folder ($XDG_CONFIG_HOME/meshforge/, else
// $HOME/.config/meshforge/, else %APPDATA%\meshforge\), created on the way; the executable's
// folder when none of those exists or can be made.
std::string ResolveAppFolder(const std::string& overrideFolder, const std::string& exeFolder,
                             const AppFolderSources& sources);
std::string ResolveAppFolder(const std::string& overrideFolder, const std::string& exeFolder);

// The folder of the running executable (as the system names it: /proc/self/exe, the module
// file name on Windows), with a trailing separator; the working folder when it is unknown.
std::string ExecutableFolder();

// The folders the program's read-only files (help/, mask.bmp) are looked for in, in order: the
// program folder, the executable's folder and the installation's shared folder
// (<prefix>/share/meshforge/ for an executable in <prefix>/bin/), each once.
std::vector<std::string> ProgramFileFolders(const std::string& appFolder,
                                            const std::string& exeFolder);

// `relative` ("help/index.htm") in the first of `folders` that has it; in the first folder when
// none has it, so that the place it was expected in can be named.
std::string FindProgramFile(const std::vector<std::string>& folders, const std::string& relative);

} // namespace meshforge
