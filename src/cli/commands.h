#pragma once
#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

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

} // namespace meshforge::cli
