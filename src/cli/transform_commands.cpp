// The vertex transforms and the polygon tools, one subcommand each; the rules, refusals and log
// lines are the core's, as the windows show them.
#include "commands.h"

#include "app/commands.h"
#include "cli_ui.h"
#include "edit/editor_state.h"
#include "model/project.h"
#include "model/texts.h"
#include "transform/polygon_tools.h"
#include "transform/transform.h"
#include "util/errors.h"

#include <CLI/CLI.hpp>

#include <array>
#include <iostream>
#include <memory>
#include <string>

namespace meshforge::cli {

namespace {

constexpr int kWrongArguments = 2;

// "X,Y,Z" as the three texts of an offset, each a number; nullopt (and the reason on stderr)
// otherwise.
std::optional<OffsetTexts> ThreeNumbers(const std::string& text, const char* what) {
    OffsetTexts parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i < 2) == (comma == std::string::npos)) {
            std::cerr << "'" << text << "' is not " << what << " X,Y,Z\n";
            return std::nullopt;
        }
        parts[i] = text.substr(start, comma == std::string::npos ? comma : comma - start);
        start = comma + 1;
    }
    for (const std::string& part : parts)
        try {
            ParseFloat(part);
        } catch (const ParseError& e) {
            std::cerr << e.what() << '\n';
            return std::nullopt;
        }
    return parts;
}

std::optional<Axis> AxisOf(const std::string& text) {
    if (text == "x")
        return Axis::X;
    if (text == "y")
        return Axis::Y;
    if (text == "z")
        return Axis::Z;
    return std::nullopt;
}

// What every transform shares: IN, -o OUT, --selected and --app-folder.
struct Common {
    std::shared_ptr<std::string> in = std::make_shared<std::string>();
    std::shared_ptr<std::string> out = std::make_shared<std::string>();
    std::shared_ptr<std::string> selected = std::make_shared<std::string>();
    std::shared_ptr<std::string> appFolder = std::make_shared<std::string>();

    Common(CLI::App& sub, bool selectable) {
        sub.add_option("IN", *in, "Project file to read")->required();
        if (selectable)
            sub.add_option("--selected", *selected,
                           "Transform only these vertices, e.g. 0,2,5-9 (default: all)");
        sub.add_option("-o", *out, "Project file to write")->required();
        AddAppFolderOption(sub, *appFolder);
    }
};

// The ranges of --selected; an empty text gives an empty list. False when malformed.
bool SelectionRanges(const std::string& text, PolygonRanges& ranges) {
    if (text.empty())
        return true;
    const std::optional<PolygonRanges> parsed = ParseRanges(text);
    if (!parsed) {
        std::cerr << "'" << text << "' is not a vertex list such as 0,2,5-9\n";
        return false;
    }
    ranges = *parsed;
    return true;
}

// Selects exactly the vertices of the ranges: Scope::Selected, or Scope::All without ranges.
// nullopt (and the reason on stderr) when a range leaves the list.
std::optional<Scope> SelectVertices(Project& project, const PolygonRanges& ranges) {
    if (ranges.empty())
        return Scope::All;
    const std::size_t n = project.Vertices.size();
    for (auto [first, last] : ranges)
        if (static_cast<unsigned long long>(last) >= n) {
            std::cerr << "Vertex " << std::max(first, static_cast<long long>(n))
                      << " is not in the list (" << ListBounds(n) << ")\n";
            return std::nullopt;
        }
    for (Vertex& v : project.Vertices)
        v.Selected = false;
    for (auto [first, last] : ranges)
        for (long long i = first; i <= last; ++i)
            project.Vertices[static_cast<std::size_t>(i)].Selected = true;
    return Scope::Selected;
}

// Reads IN, runs the menu entry's guard, selects, runs `apply` and writes OUT; `apply` returns
// false when the core refused (its message already shown).
template <class Apply>
int RunTransform(const Common& c, GuardedCommand guard, const PolygonRanges& ranges,
                 const Apply& apply) {
    CliUi ui(std::cout, std::cerr);
    Project project;
    if (!LoadFull(project, *c.in, ui))
        return 1;
    if (std::optional<std::string_view> refusal = GuardMessage(guard, project)) {
        ui.Message(*refusal);
        return 1;
    }
    const std::optional<Scope> scope = SelectVertices(project, ranges);
    if (!scope || !apply(project, *scope, ui))
        return 1;
    return Save(project, *c.in, *c.out, *c.appFolder, ui);
}

} // namespace

std::function<int()> MoveCommand(CLI::App& sub) {
    Common c(sub, true);
    auto by = std::make_shared<std::string>();
    sub.add_option("--by", *by, "Offset X,Y,Z")->required();
    return [=] {
        PolygonRanges ranges;
        const std::optional<OffsetTexts> texts = ThreeNumbers(*by, "an offset");
        if (!texts || !SelectionRanges(*c.selected, ranges))
            return kWrongArguments;
        return RunTransform(c, GuardedCommand::MoveVertices, ranges,
                            [&](Project& p, Scope scope, Ui& ui) {
                                VertexBackup undo;
                                return MoveVertices(p, *texts, scope, undo, ui);
                            });
    };
}

std::function<int()> MirrorCommand(CLI::App& sub) {
    Common c(sub, true);
    auto axis = std::make_shared<std::string>();
    auto keep = std::make_shared<bool>(false);
    sub.add_option("--axis", *axis, "The coordinate negated")
        ->required()
        ->check(CLI::IsMember({"x", "y", "z"}));
    sub.add_flag("--keep", *keep, "Keep the originals and add mirrored copies");
    return [=] {
        PolygonRanges ranges;
        if (!SelectionRanges(*c.selected, ranges))
            return kWrongArguments;
        return RunTransform(c, GuardedCommand::MirrorVertices, ranges,
                            [&](Project& p, Scope scope, Ui& ui) {
                                VertexBackup undo;
                                MirrorVertices(p, *AxisOf(*axis), *keep, scope, undo, ui);
                                return true;
                            });
    };
}

std::function<int()> ScaleCommand(CLI::App& sub) {
    Common c(sub, true);
    auto factor = std::make_shared<std::string>();
    auto factors = std::make_shared<std::string>();
    CLI::Option* one = sub.add_option("--factor", *factor, "One factor for all three axes");
    CLI::Option* three = sub.add_option("--factors", *factors,
                                        "X,Y,Z: a factor per axis, applied as single-axis scales");
    one->excludes(three);
    return [=] {
        if (one->empty() == three->empty()) {
            std::cerr << "give one of --factor and --factors\n";
            return kWrongArguments;
        }
        PolygonRanges ranges;
        if (!SelectionRanges(*c.selected, ranges))
            return kWrongArguments;
        // (axis, text) pairs; an axis with the factor 1 is left out.
        std::vector<std::pair<ScaleAxis, std::string>> steps;
        if (!one->empty()) {
            try {
                ParseFloat(*factor);
            } catch (const ParseError& e) {
                std::cerr << e.what() << '\n';
                return kWrongArguments;
            }
            steps.emplace_back(ScaleAxis::All, *factor);
        } else {
            const std::optional<OffsetTexts> texts = ThreeNumbers(*factors, "a factor triple");
            if (!texts)
                return kWrongArguments;
            const ScaleAxis axes[] = {ScaleAxis::X, ScaleAxis::Y, ScaleAxis::Z};
            for (std::size_t i = 0; i < 3; ++i)
                if (ParseFloat((*texts)[i]) != 1)
                    steps.emplace_back(axes[i], (*texts)[i]);
        }
        return RunTransform(c, GuardedCommand::ScaleVertices, ranges,
                            [&](Project& p, Scope scope, Ui& ui) {
                                VertexBackup undo;
                                for (const auto& [axis, text] : steps)
                                    if (!ScaleVertices(p, text, axis, scope, undo, ui))
                                        return false;
                                return true;
                            });
    };
}

std::function<int()> CentreCommand(CLI::App& sub) {
    Common c(sub, false);
    return [=] {
        return RunTransform(c, GuardedCommand::CenterAllVertices, {},
                            [](Project& p, Scope, Ui& ui) {
                                VertexBackup undo;
                                return CentreVertices(p, undo, ui);
                            });
    };
}

namespace {

// The fixed-list entry of a whole angle, or -1.
int FixedIndexOf(long long degrees) {
    const long long angles[] = {30, 45, 60, 90, 180, 270};
    for (int i = 0; i < 6; ++i)
        if (angles[i] == degrees)
            return i;
    return -1;
}

} // namespace

std::function<int()> RotateCommand(CLI::App& sub) {
    Common c(sub, true);
    auto axis = std::make_shared<std::string>();
    auto degrees = std::make_shared<long long>(0);
    auto pivot = std::make_shared<long long>(-1);
    sub.add_option("--axis", *axis, "The axis turned about")
        ->required()
        ->check(CLI::IsMember({"x", "y", "z"}));
    sub.add_option("--degrees", *degrees,
                   "Whole degrees: 30, 45, 60, 90, 180 or 270 turn one step of the fixed list; "
                   "any other A turns |A| steps of 1 degree, backwards when A is negative")
        ->required()
        ->check(CLI::Range(-100000LL, 100000LL));
    sub.add_option("--pivot", *pivot, "Turn about this vertex (default: the origin)")
        ->check(CLI::NonNegativeNumber);
    return [=] {
        PolygonRanges ranges;
        if (!SelectionRanges(*c.selected, ranges))
            return kWrongArguments;
        return RunTransform(
            c, GuardedCommand::RotateVertices, ranges, [&](Project& p, Scope scope, Ui& ui) {
                if (*pivot >= 0 && static_cast<unsigned long long>(*pivot) >= p.Vertices.size()) {
                    std::cerr << "Vertex " << *pivot << " is not in the list ("
                              << ListBounds(p.Vertices.size()) << ")\n";
                    return false;
                }
                EditorState editor(0);
                RotateSession session;
                session.Begin(p, editor);
                if (*pivot >= 0)
                    editor.PivotVertex = static_cast<int32_t>(*pivot);
                const Axis about = *AxisOf(*axis);
                if (const int fixed = FixedIndexOf(*degrees); fixed >= 0)
                    return RotateStep(p, editor, about, *FixedStep(fixed), scope, ui);
                const int sign = *degrees < 0 ? -1 : 1;
                for (long long k = 1; k <= *degrees * sign; ++k)
                    if (!RotateStep(p, editor, about, *session.FreeStep(int(k) * sign), scope, ui))
                        return false;
                session.Accept(editor);
                return true;
            });
    };
}

namespace {

// The polygon tools: IN --polygons LIST --offset X,Y,Z -o OUT, run as their windows run them.
struct PolygonToolArgs {
    Common c;
    std::shared_ptr<std::string> polygons = std::make_shared<std::string>();
    std::shared_ptr<std::string> offset = std::make_shared<std::string>();

    explicit PolygonToolArgs(CLI::App& sub) : c(sub, false) {
        sub.add_option("--polygons", *polygons, "The polygons, e.g. 0,2,5-9")->required();
        sub.add_option("--offset", *offset, "Offset X,Y,Z")->required();
    }
};

template <class Apply>
int RunPolygonTool(const PolygonToolArgs& a, GuardedCommand guard, const Apply& apply) {
    const std::optional<PolygonRanges> ranges = ParseRanges(*a.polygons);
    if (!ranges) {
        std::cerr << "'" << *a.polygons << "' is not a polygon list such as 0,2,5-9\n";
        return kWrongArguments;
    }
    const std::optional<OffsetTexts> texts = ThreeNumbers(*a.offset, "an offset");
    if (!texts)
        return kWrongArguments;
    CliUi ui(std::cout, std::cerr);
    Project project;
    if (!LoadFull(project, *a.c.in, ui))
        return 1;
    if (std::optional<std::string_view> refusal = GuardMessage(guard, project)) {
        ui.Message(*refusal);
        return 1;
    }
    const std::optional<std::vector<int32_t>> listed =
        PolygonsInList(*ranges, project.Polygons.size());
    if (!listed)
        return 1;
    OpenPolygonTool(project);
    SelectListedPolygons(project, *listed);
    if (!apply(project, *texts, ui))
        return 1;
    ClosePolygonTool(project);
    return Save(project, *a.c.in, *a.c.out, *a.c.appFolder, ui);
}

} // namespace

std::function<int()> CopyPolygonsCommand(CLI::App& sub) {
    PolygonToolArgs a(sub);
    auto opposite = std::make_shared<bool>(false);
    auto mirrored = std::make_shared<bool>(false);
    auto untextured = std::make_shared<bool>(false);
    sub.add_flag("--opposite", *opposite, "The copies face the other way");
    CLI::Option* m =
        sub.add_flag("--mirror-texture", *mirrored, "The copies' texture coordinates reversed");
    CLI::Option* n = sub.add_flag("--no-texture", *untextured, "The copies untextured");
    m->excludes(n);
    return [=] {
        return RunPolygonTool(
            a, GuardedCommand::CopyPolygon, [&](Project& p, const OffsetTexts& texts, Ui& ui) {
                // As in the window: an untextured polygon among the chosen forces "No texture".
                CopyTexture texture = *untextured ? CopyTexture::None
                                      : *mirrored ? CopyTexture::Mirrored
                                                  : CopyTexture::Same;
                if (!CopyTextureChoiceFor(p).Enabled)
                    texture = CopyTexture::None;
                PolygonCopyUndo undo;
                return CopyPolygons(p, texts, *opposite ? CopySide::Opposite : CopySide::Same,
                                    texture, undo, ui);
            });
    };
}

std::function<int()> MovePolygonsCommand(CLI::App& sub) {
    PolygonToolArgs a(sub);
    return [=] {
        return RunPolygonTool(a, GuardedCommand::MovePolygon,
                              [](Project& p, const OffsetTexts& texts, Ui& ui) {
                                  VertexBackup undo;
                                  return MovePolygons(p, texts, undo, ui);
                              });
    };
}

} // namespace meshforge::cli
