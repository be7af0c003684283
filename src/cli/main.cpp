#include "commands.h"

#include "model/project.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>

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
    try {
        app.parse(argc, argv);
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
