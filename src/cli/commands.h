#pragma once
#include <functional>
#include <string>
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

// The texture library and assignment (texture_commands.cpp).
std::function<int()> TexturesCommand(CLI::App& sub);
std::function<int()> AddTextureCommand(CLI::App& sub);
std::function<int()> RemoveTextureCommand(CLI::App& sub);
std::function<int()> MakeMaskCommand(CLI::App& sub);
std::function<int()> AssignTextureCommand(CLI::App& sub);

} // namespace meshforge::cli
