// The texture library window's and the Assign Texture dialog's commands, one subcommand each;
// the rules and messages are the core's, the images are read and written through Qt.
#include "commands.h"

#include "app/commands.h"
#include "cli_ui.h"
#include "model/project.h"
#include "model/project_file.h"
#include "texture/assign.h"
#include "texture/library.h"
#include "util/platform_file.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#if MESHFORGE_CLI_ADAPTERS
#include "image/qt_image_files.h"
#endif

namespace meshforge::cli {

// The editor works on full paths (the library stores them); so do these commands.
std::string FullPath(const std::string& path) {
    return path.empty()
               ? path
               : platform::Utf8FromPath(
                     std::filesystem::absolute(platform::PathFromUtf8(path)).lexically_normal());
}

bool LoadFull(Project& project, const std::string& path, Ui& ui) {
    return Load(project, FullPath(path), ui);
}

// Writes the Project to `out`, or back over the file it was read from.
int Save(Project& project, const std::string& in, const std::string& out,
         const std::string& appFolder, Ui& ui) {
    project.ProjectFileName = FullPath(out.empty() ? in : out);
    WriteProject(project, SaveOptionsFromSettings(appFolder), ui);
    return 0;
}

namespace {

// The menu entry's guard: its message and a refusal, or nothing.
bool Guarded(GuardedCommand command, const Project& project, Ui& ui) {
    if (std::optional<std::string_view> message = GuardMessage(command, project)) {
        ui.Message(*message);
        return true;
    }
    return false;
}

} // namespace

std::optional<long long> Number(std::string_view text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty() || value < 0)
        return std::nullopt;
    return value;
}

// "0,2,5-9" -> ranges of polygon numbers; nullopt for a text of another form.
std::optional<PolygonRanges> ParseRanges(std::string_view text) {
    PolygonRanges ranges;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        const std::optional<long long> first = Number(item.substr(0, dash));
        const std::optional<long long> last =
            dash == std::string_view::npos ? first : Number(item.substr(dash + 1));
        if (!first || !last || *last < *first)
            return std::nullopt;
        ranges.emplace_back(*first, *last);
        if (comma == std::string_view::npos)
            return ranges;
        text.remove_prefix(comma + 1);
    }
}

std::string ListBounds(std::size_t count) {
    return count == 0 ? "the list is empty" : "0 ... " + std::to_string(count - 1);
}

std::optional<std::vector<int32_t>> PolygonsInList(const PolygonRanges& ranges, std::size_t count) {
    std::vector<bool> chosen(count, false);
    for (auto [first, last] : ranges) {
        if (static_cast<unsigned long long>(last) >= count) {
            std::cerr << "Polygon " << std::max(first, static_cast<long long>(count))
                      << " is not in the list (" << ListBounds(count) << ")\n";
            return std::nullopt;
        }
        std::fill(chosen.begin() + first, chosen.begin() + last + 1, true);
    }
    std::vector<int32_t> selection;
    for (std::size_t i = 0; i < count; ++i)
        if (chosen[i])
            selection.push_back(static_cast<int32_t>(i));
    return selection;
}

namespace {

// "R,G,B" with each part 0 ... 255 -> 0x00RRGGBB.
[[maybe_unused]] std::optional<uint32_t> ParseColor(std::string_view text) {
    uint32_t rgb = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',');
        if ((i < 2) == (comma == std::string_view::npos))
            return std::nullopt;
        const std::optional<long long> part = Number(text.substr(0, comma));
        if (!part || *part > 255)
            return std::nullopt;
        rgb = rgb << 8 | static_cast<uint32_t>(*part);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    return rgb;
}

std::optional<std::pair<int, int>> ParseRepeat(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const std::optional<long long> u = Number(text.substr(0, comma));
    const std::optional<long long> v = Number(text.substr(comma + 1));
    if (!u || !v || *u < 1 || *v < 1 || *u > kMaxRepeat || *v > kMaxRepeat)
        return std::nullopt;
    return std::pair<int, int>(static_cast<int>(*u), static_cast<int>(*v));
}

} // namespace

std::function<int()> TexturesCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    sub.add_option("IN", *in, "Project file to read")->required();
    return [in] {
        // The read's log lines would mix with the table; its messages still reach stderr.
        std::ostream nowhere(nullptr);
        CliUi ui(nowhere, std::cerr);
        Project project;
        if (!LoadFull(project, *in, ui))
            return 1;
        auto printRow = [](const auto& cells) {
            for (std::size_t i = 0; i < cells.size(); ++i)
                std::cout << (i ? "\t" : "") << cells[i];
            std::cout << '\n';
        };
        printRow(kTextureGridColumns);
        for (std::size_t i = 0; i < project.Textures.size(); ++i)
            printRow(TextureGridRow(project, i));
        return 0;
    };
}

#if MESHFORGE_CLI_ADAPTERS
std::function<int()> AddTextureCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto bmp = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("BMP", *bmp, "Bitmap file to load")->required();
    sub.add_option("-o", *out, "Project file to write (default: IN)");
    AddAppFolderOption(sub, *appFolder);
    return [=] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!LoadFull(project, *in, ui) || Guarded(GuardedCommand::LoadRemoveTextures, project, ui))
            return 1;
        QtImageFiles images;
        if (!LoadTexture(project, FullPath(*bmp), images, ui))
            return 1;
        return Save(project, *in, *out, *appFolder, ui);
    };
}
#endif

std::function<int()> RemoveTextureCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto index = std::make_shared<long long>();
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("INDEX", *index, "Index of the entry, as the textures command lists it")
        ->required()
        ->check(CLI::NonNegativeNumber);
    sub.add_option("-o", *out, "Project file to write (default: IN)");
    AddAppFolderOption(sub, *appFolder);
    return [=] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!LoadFull(project, *in, ui) || Guarded(GuardedCommand::LoadRemoveTextures, project, ui))
            return 1;
        if (static_cast<unsigned long long>(*index) >= project.Textures.size()) {
            std::cerr << "Texture index " << *index << " is not in the list ("
                      << ListBounds(project.Textures.size()) << ")\n";
            return 1;
        }
        if (!RemoveTexture(project, static_cast<std::size_t>(*index), ui))
            return 1;
        return Save(project, *in, *out, *appFolder, ui);
    };
}

#if MESHFORGE_CLI_ADAPTERS
std::function<int()> MakeMaskCommand(CLI::App& sub) {
    auto bmp = std::make_shared<std::string>();
    auto color = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    sub.add_option("BMP", *bmp, "Texture bitmap")->required();
    sub.add_option("--color", *color, "Transparent colour R,G,B (each 0 ... 255)")->required();
    sub.add_option("-o", *out, "Mask bitmap to write")->required();
    return [=] {
        const std::optional<uint32_t> transparent = ParseColor(*color);
        if (!transparent) {
            std::cerr << "'" << *color << "' is not a colour R,G,B (each 0 ... 255)\n";
            return 2;
        }
        QtImageFiles images;
        const std::optional<RgbImage> texture = images.ReadRgb(*bmp);
        if (!texture) {
            std::cerr << "Cannot read the bitmap " << *bmp << "\n";
            return 1;
        }
        std::string error;
        if (!images.WriteMask(*out, BuildMask(*texture, *transparent), error)) {
            std::cerr << error << '\n';
            return 1;
        }
        return 0;
    };
}
#endif

std::function<int()> AssignTextureCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto polygons = std::make_shared<std::string>();
    auto texture = std::make_shared<std::string>();
    auto style = std::make_shared<std::string>();
    auto repeat = std::make_shared<std::string>();
    auto rotate = std::make_shared<int>(0);
    auto mirrorU = std::make_shared<bool>(false);
    auto mirrorV = std::make_shared<bool>(false);
    auto face = std::make_shared<bool>(false);
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("--polygons", *polygons, "Polygons to select, e.g. 0,2,5-9")->required();
    sub.add_option("--texture", *texture, "Texture index, or 'untextured'")->required();
    sub.add_option("--style", *style, "Mapping style")
        ->required()
        ->check(CLI::IsMember({"entire", "area", "repeat"}));
    sub.add_option("--repeat", *repeat, "Repeat counts U,V (1 ... 999), with --style repeat");
    sub.add_option("--rotate", *rotate, "Rotate the mapping N times")->check(CLI::Range(0, 999));
    sub.add_flag("--mirror-u", *mirrorU, "Mirror Horizontal");
    sub.add_flag("--mirror-v", *mirrorV, "Mirror Vertical");
    sub.add_flag("--face-opposite", *face, "Face Opposite");
    sub.add_option("-o", *out, "Project file to write")->required();
    AddAppFolderOption(sub, *appFolder);
    return [=] {
        const auto ranges = ParseRanges(*polygons);
        if (!ranges) {
            std::cerr << "'" << *polygons << "' is not a polygon list such as 0,2,5-9\n";
            return 2;
        }
        std::optional<long long> textureIndex =
            *texture == "untextured" ? std::optional<long long>(kUntextured) : Number(*texture);
        if (!textureIndex) {
            std::cerr << "'" << *texture << "' is not a texture index or 'untextured'\n";
            return 2;
        }
        std::optional<std::pair<int, int>> counts;
        if (!repeat->empty()) {
            counts = ParseRepeat(*repeat);
            if (!counts) {
                std::cerr << "'" << *repeat << "' is not a repeat count U,V (each 1 ... 999)\n";
                return 2;
            }
            if (*style != "repeat") {
                std::cerr << "--repeat needs --style repeat\n";
                return 2;
            }
        }

        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!LoadFull(project, *in, ui) || Guarded(GuardedCommand::AssignTextures, project, ui))
            return 1;
        const std::optional<std::vector<int32_t>> selection =
            PolygonsInList(*ranges, project.Polygons.size());
        if (!selection)
            return 1;
        if (*textureIndex != kUntextured &&
            static_cast<unsigned long long>(*textureIndex) >= project.Textures.size()) {
            std::cerr << "Texture index " << *textureIndex << " is not in the list ("
                      << ListBounds(project.Textures.size()) << ")\n";
            return 1;
        }

        // As the dialog runs: opened on polygon 0, the list selection, the texture, the style.
        project.CurrentPolygon = 0;
        AssignState state;
        StartAssignTextures(project, state);
        SelectPolygons(project, state, *selection);
        ChooseTexture(project, state, static_cast<int32_t>(*textureIndex));
        const MappingStyle mapping = *style == "entire" ? MappingStyle::EntireTexture
                                     : *style == "area" ? MappingStyle::TextureArea
                                                        : MappingStyle::RepeatTexture;
        if (!SetMappingStyle(project, state, mapping, ui))
            return 1;
        if (counts)
            SetRepeat(project, state, counts->first, counts->second);

        // The Modify Mapping buttons only where the dialog enables them.
        const AssignView controls = AssignControls(project, state);
        if ((*rotate > 0 || *face) && !controls.RotateFaceEnabled) {
            std::cerr << "Rotate and Face Opposite need a textured polygon among the selected\n";
            return 1;
        }
        if ((*mirrorU || *mirrorV) && !controls.MirrorsEnabled) {
            std::cerr << "Mirror Horizontal and Mirror Vertical need exactly one selected "
                         "quadrangle\n";
            return 1;
        }
        for (int i = 0; i < *rotate; ++i)
            RotateMapping(project, state);
        if (*mirrorU)
            MirrorHorizontal(project, state);
        if (*mirrorV)
            MirrorVertical(project, state);
        if (*face)
            FaceOpposite(project, state);
        CloseAssignTextures(project, state);
        return Save(project, *in, *out, *appFolder, ui);
    };
}

} // namespace meshforge::cli
