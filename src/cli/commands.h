#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace CLI {
class App;
}

namespace meshforge {
struct Project;
struct SaveOptions;
struct Ui;
} // namespace meshforge

namespace meshforge::cli {

// One subcommand: it registers its options on `sub` and returns the action to run.
// The action returns the exit code (0 done, 1 refused or failed).
struct Command {
    const char* name;
    const char* help;
    std::function<std::function<int()>(CLI::App& sub)> setup;
};

const std::vector<Command>& Commands();

// output_commands.cpp
std::function<int()> WriteAseCommand(CLI::App& sub);
std::function<int()> ConvertCommand(CLI::App& sub);

// Shared by the command files.
// Reads a project the way Open does; false when the read did not complete.
bool Load(Project& project, const std::string& path, Ui& ui);
// The save-time settings of the installation's settings file.
SaveOptions SaveOptionsFromSettings(const std::string& appFolderFlag);
void AddAppFolderOption(CLI::App& sub, std::string& appFolder);

// Shared helpers of texture_commands.cpp.
// The editor works on full paths (the library stores them); so do the commands that use these.
std::string FullPath(const std::string& path);
bool LoadFull(Project& project, const std::string& path, Ui& ui);
// Writes the Project to `out`, or back over the file it was read from.
int Save(Project& project, const std::string& in, const std::string& out,
         const std::string& appFolder, Ui& ui);
// A non-negative decimal number, nothing else.
std::optional<long long> Number(std::string_view text);
// "0,2,5-9" -> ranges of polygon numbers; nullopt for a text of another form.
using PolygonRanges = std::vector<std::pair<long long, long long>>;
std::optional<PolygonRanges> ParseRanges(std::string_view text);
// "0 ... n-1", or that the list is empty.
std::string ListBounds(std::size_t count);
// The polygons the ranges name, ascending; nullopt (and the reason on stderr) when a range
// leaves the list.
std::optional<std::vector<int32_t>> PolygonsInList(const PolygonRanges& ranges, std::size_t count);

// The texture library and assignment (texture_commands.cpp).
std::function<int()> TexturesCommand(CLI::App& sub);
std::function<int()> AddTextureCommand(CLI::App& sub);
std::function<int()> RemoveTextureCommand(CLI::App& sub);
std::function<int()> MakeMaskCommand(CLI::App& sub);
std::function<int()> AssignTextureCommand(CLI::App& sub);

// The report, its print, collision volumes and the display class (report_commands.cpp).
std::function<int()> ReportCommand(CLI::App& sub);
std::function<int()> PrintCommand(CLI::App& sub);
std::function<int()> CollisionCommand(CLI::App& sub);
std::function<int()> DisplayClassCommand(CLI::App& sub);

// The vertex transforms and the polygon tools (transform_commands.cpp).
std::function<int()> MoveCommand(CLI::App& sub);
std::function<int()> MirrorCommand(CLI::App& sub);
std::function<int()> ScaleCommand(CLI::App& sub);
std::function<int()> CentreCommand(CLI::App& sub);
std::function<int()> RotateCommand(CLI::App& sub);
std::function<int()> CopyPolygonsCommand(CLI::App& sub);
std::function<int()> MovePolygonsCommand(CLI::App& sub);

} // namespace meshforge::cli
