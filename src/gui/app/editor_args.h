#pragma once
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace meshforge::gui {

struct EditorArgs {
    std::string AppFolder; // empty: as ResolveAppFolder chooses
    std::vector<std::string> Projects;
};

// The editor's command line (program name first): --app-folder DIR, --help, --version and a
// project to open. Read before the application exists, so that --help and --version work
// without a display; nullopt: the program ends at once with `exitCode` (help, version or a
// bad option, whose text has gone to stdout or stderr).
std::optional<EditorArgs> ParseEditorArguments(const QStringList& arguments, int& exitCode);

} // namespace meshforge::gui
