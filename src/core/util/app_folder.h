#pragma once
#include <string>

namespace meshforge {

// The program folder, with a trailing separator: `overrideFolder` when given (--app-folder),
// else the MESHFORGE_APP_FOLDER environment variable, else the executable's folder.
std::string ResolveAppFolder(const std::string& overrideFolder, const std::string& exeFolder);

// The folder of the running executable (from /proc/self/exe), with a trailing separator.
std::string ExecutableFolder();

} // namespace meshforge
