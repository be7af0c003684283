// The project report, its print, the collision volumes and the display class, one subcommand
// each; the rules, listings and messages are the core's.
#include "commands.h"

#include "app/commands.h"
#include "cli_ui.h"
#include "collision/collision.h"
#include "collision/display_class_choice.h"
#include "model/game_codes.h"
#include "model/project.h"
#include "report/report.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <string>

#if MESHFORGE_CLI_ADAPTERS
#include "print/listing_printer.h"

#include <QGuiApplication>
#endif

namespace meshforge::cli {

namespace {

// A read whose log lines stay out of the listing; its messages still reach stderr.
bool LoadQuietly(Project& project, const std::string& path) {
    std::ostream nowhere(nullptr);
    CliUi ui(nowhere, std::cerr);
    return LoadFull(project, path, ui);
}

} // namespace

std::function<int()> ReportCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto print = std::make_shared<bool>(false);
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_flag("--print-listing", *print, "The listing \"&Print Project Data\" prints");
    return [=] {
        Project project;
        if (!LoadQuietly(project, *in))
            return 1;
        const Listing listing =
            ProjectListing(project, *print ? ListingKind::Print : ListingKind::Contents);
        std::cout << listing.Text() << std::flush;
        return std::cout ? 0 : 1;
    };
}

#if MESHFORGE_CLI_ADAPTERS
std::function<int()> PrintCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("-o", *out, "PDF file to write")->required();
    return [=] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!LoadQuietly(project, *in))
            return 1;
        if (std::optional<std::string_view> refusal =
                GuardMessage(GuardedCommand::PrintProjectData, project)) {
            ui.Message(*refusal);
            return 1;
        }
        // Fonts need a Qt application; no display is needed for a PDF.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        int argc = 1;
        char name[] = "meshforge-cli";
        char* argv[] = {name, nullptr};
        QGuiApplication app(argc, argv);
        const int pages = WriteListingPdf(ProjectListing(project, ListingKind::Print), *out);
        ui.Log(std::to_string(pages) + (pages == 1 ? " page" : " pages") + " printed to " + *out);
        return 0;
    };
}
#endif

std::function<int()> CollisionCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto add = std::make_shared<std::string>();
    auto characteristic = std::make_shared<std::string>("Undefined");
    auto edit = std::make_shared<std::string>();
    auto remove = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    sub.add_option("IN", *in, "Project file to read")->required();
    CLI::Option* addOption =
        sub.add_option("--add", *add, "Polygons of a new volume, e.g. 0,2,5-9");
    CLI::Option* editOption =
        sub.add_option("--edit", *edit, "Volume whose planes get the characteristic");
    CLI::Option* removeOption = sub.add_option("--remove", *remove, "Volume to remove");
    sub.add_option("--characteristic", *characteristic,
                   "Collision characteristic, by name or code 0 ... 15 (default Undefined)");
    addOption->excludes(editOption)->excludes(removeOption);
    editOption->excludes(removeOption);
    sub.add_option("-o", *out, "Project file to write")->required();
    AddAppFolderOption(sub, *appFolder);
    return [=] {
        const int given =
            int(!addOption->empty()) + int(!editOption->empty()) + int(!removeOption->empty());
        if (given != 1) {
            std::cerr << "give one of --add, --edit and --remove\n";
            return 2;
        }
        const std::optional<int32_t> rebound = ReboundCodeOf(*characteristic);
        if (!rebound) {
            std::cerr << "'" << *characteristic
                      << "' is not a collision characteristic (a name such as TireWall, or a "
                         "code 0 ... 15)\n";
            return 2;
        }
        std::optional<PolygonRanges> ranges;
        std::optional<long long> volume;
        if (!add->empty()) {
            ranges = ParseRanges(*add);
            if (!ranges) {
                std::cerr << "'" << *add << "' is not a polygon list such as 0,2,5-9\n";
                return 2;
            }
        } else {
            const std::string& text = edit->empty() ? *remove : *edit;
            volume = Number(text);
            if (!volume) {
                std::cerr << "'" << text << "' is not a volume index\n";
                return 2;
            }
        }

        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!LoadFull(project, *in, ui))
            return 1;
        if (volume && static_cast<unsigned long long>(*volume) >= project.CollVols.size()) {
            std::cerr << "Volume " << *volume << " is not in the list ("
                      << ListBounds(project.CollVols.size()) << ")\n";
            return 1;
        }
        // As the dialog runs: opened, the panel, the choice, "Add" or "Edit"; then closed.
        CollisionState state;
        OpenCollisionDialog(state);
        if (ranges) {
            const std::optional<std::vector<int32_t>> polygons =
                PolygonsInList(*ranges, project.Polygons.size());
            if (!polygons)
                return 1;
            StartAddVolume(project, state);
            HighlightPolygons(project, *polygons);
            state.Rebound = *rebound;
            if (!ApplyPolygonPanel(project, state, *polygons, ui))
                return 1;
        } else {
            SelectVolume(project, state, static_cast<int32_t>(*volume));
            if (!remove->empty()) {
                RemoveSelectedVolume(project, state);
            } else {
                StartEditRebound(project, state);
                state.Rebound = *rebound;
                ApplyPolygonPanel(project, state, {}, ui);
            }
        }
        CloseCollisionDialog(project, state);
        return Save(project, *in, *out, *appFolder, ui);
    };
}

std::function<int()> DisplayClassCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto code = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("CODE", *code, "Display class code: 0 ... 8 or 17 ... 20")->required();
    sub.add_option("-o", *out, "Project file to write")->required();
    AddAppFolderOption(sub, *appFolder);
    return [=] {
        const std::optional<long long> value = Number(*code);
        if (!value || *value > 20 || !DisplayClassEntryOf(static_cast<int32_t>(*value))) {
            std::cerr << "'" << *code << "' is not a display class code (0 ... 8, 17 ... 20)\n";
            return 2;
        }
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!LoadFull(project, *in, ui))
            return 1;
        SetDisplayClass(project, static_cast<int32_t>(*value));
        ui.Log("Object Visibility within GPL: " + DisplayClassText(project.DisplayClass));
        return Save(project, *in, *out, *appFolder, ui);
    };
}

} // namespace meshforge::cli
