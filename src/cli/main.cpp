#include "commands.h"

#include "model/project.h"
#include "util/platform_file.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace meshforge;
    CLI::App app{std::string(kProgramName) + " " + kProgramVersion + " command line"};
    app.set_version_flag("--version", std::string(kProgramName) + " " + kProgramVersion);
    app.require_subcommand(1);
    std::function<int()> action;
    for (const cli::Command& c : cli::Commands()) {
        CLI::App* sub = app.add_subcommand(c.name, c.help);
        auto run = c.setup(*sub);
        sub->callback([&action, run] { action = run; });
    }
    // Paths are UTF-8 everywhere in the program, also where argv is not (Windows).
    std::vector<std::string> arguments = platform::Utf8Arguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& a : arguments)
        pointers.push_back(a.data());
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    try {
        return action ? action() : 2;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
