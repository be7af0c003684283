#include "commands.h"

#include "cli_ui.h"
#include "edit/editor_state.h"
#include "edit/vertices.h"
#include "io/dxf_export.h"
#include "io/dxf_import.h"
#include "io/text_geometry.h"
#include "meshfile/mesh_export.h"
#include "meshfile/mesh_import.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/texts.h"
#include "settings/settings.h"
#include "util/app_folder.h"
#include "util/errors.h"
#include "util/platform_file.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <random>

#if MESHFORGE_CLI_ADAPTERS
#include "image/qt_image_files.h"
#include "mesh/assimp_mesh.h"
#endif

namespace meshforge::cli {

bool Load(Project& project, const std::string& path, Ui& ui) {
    project.ProjectFileName = path;
    return ReadProject(project, ui) == ReadOutcome::Completed;
}

// The save-time settings of the installation's settings file.
SaveOptions SaveOptionsFromSettings(const std::string& appFolderFlag) {
    SaveOptions o;
    o.AppFolder = ResolveAppFolder(appFolderFlag, ExecutableFolder());
    SettingsFile settings(SettingsFile::PathFor(o.AppFolder));
    GeneralOptions g = settings.ReadGeneralOptions();
    o.MakeSubDir = g.MakeSubDir;
    o.CopyBmp = g.CopyBmp;
    o.MipInfo = g.MipInfo;
    return o;
}

void AddAppFolderOption(CLI::App& sub, std::string& appFolder) {
    sub.add_option("--app-folder", appFolder,
                   "Program folder holding Meshforge.ini (default: MESHFORGE_APP_FOLDER or the "
                   "executable's folder when writable, else ~/.config/meshforge)");
}

namespace {

std::function<int()> Info(CLI::App& sub) {
    auto file = std::make_shared<std::string>();
    sub.add_option("FILE", *file, "Project file (.3dp)")->required();
    return [file] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        return Load(project, *file, ui) ? 0 : 1;
    };
}

std::function<int()> Resave(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    sub.add_option("--app-folder", *appFolder,
                   "Program folder holding Meshforge.ini (default: MESHFORGE_APP_FOLDER or the "
                   "executable's folder when writable, else ~/.config/meshforge)");
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("OUT", *out, "Project file to write")->required();
    return [in, out, appFolder] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!Load(project, *in, ui))
            return 1;
        SaveOptions options = SaveOptionsFromSettings(*appFolder);
        project.ProjectFileName = *out;
        WriteProject(project, options, ui);
        return 0;
    };
}

// The command line's own answer to a question: Yes when --yes was given, otherwise the
// question is printed and refused, so that nothing is deleted unasked.
class AnsweringUi : public CliUi {
  public:
    AnsweringUi(bool yes) : CliUi(std::cout, std::cerr), yes_(yes) {}
    Answer Ask(std::string_view text, std::string_view caption, Buttons buttons) override {
        if (!yes_) {
            std::cerr << caption << ": " << text << " (refused; give --yes to agree)\n";
            return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
        }
        std::cout << caption << ": " << text << " Yes\n";
        return Answer::Yes;
    }

  private:
    bool yes_;
};

// A vertex command between reading IN and writing OUT; `run` returns false when it refused,
// and then nothing is written.
std::function<int()> VertexCommand(CLI::App& sub, bool askable,
                                   std::function<bool(Project&, Ui&)> run) {
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    auto yes = std::make_shared<bool>(false);
    sub.add_option("--app-folder", *appFolder,
                   "Program folder holding Meshforge.ini (default: MESHFORGE_APP_FOLDER or the "
                   "executable's folder when writable, else ~/.config/meshforge)");
    if (askable)
        sub.add_flag("--yes", *yes, "Agree to removing the lines and polygons");
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("OUT", *out, "Project file to write")->required();
    return [in, out, appFolder, yes, run] {
        AnsweringUi ui(*yes);
        Project project;
        if (!Load(project, *in, ui))
            return 1;
        if (!run(project, ui))
            return 1;
        SaveOptions options = SaveOptionsFromSettings(*appFolder);
        project.ProjectFileName = *out;
        WriteProject(project, options, ui);
        return 0;
    };
}

std::function<int()> RemoveDoubles(CLI::App& sub) {
    return VertexCommand(sub, false, [](Project& project, Ui& ui) {
        ColorTriple lineColor = kStartElementColor;
        RemoveDoubleVertices(project, lineColor, ui);
        return true;
    });
}

std::function<int()> Interpolate(CLI::App& sub) {
    return VertexCommand(sub, true, [](Project& project, Ui& ui) {
        ColorTriple lineColor = kStartElementColor;
        return AddInterpolatedVertices(project, lineColor, ui);
    });
}

// The four counts of a scan, as the Scan DXF dialog's captions show them.
std::function<int()> ScanDxf(CLI::App& sub) {
    auto file = std::make_shared<std::string>();
    sub.add_option("FILE", *file, "DXF file")->required();
    return [file] {
        CliUi ui(std::cout, std::cerr);
        const DxfScan scan = ScanFile(*file, ui);
        if (!scan.Ok)
            return 1;
        std::cout << scan.Caption << '\n';
        for (DxfKind kind : {DxfKind::Point, DxfKind::Vertex, DxfKind::Line, DxfKind::Face})
            std::cout << DxfButtonCaption(kind, scan.Count(kind)) << '\n';
        return 0;
    };
}

// The Offset New Vertices dialog answered with --offset.
class OffsetUi : public CliUi {
  public:
    explicit OffsetUi(Offset3 offset) : CliUi(std::cout, std::cerr), offset_(offset) {}
    std::optional<Offset3> AskImportOffset() override { return offset_; }

  private:
    Offset3 offset_;
};

std::optional<Offset3> ParseOffset(const std::string& text) {
    Offset3 o;
    float* axes[3] = {&o.X, &o.Y, &o.Z};
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i < 2) == (comma == std::string::npos))
            return std::nullopt;
        try {
            *axes[i] = ParseFloat(std::string_view(text).substr(
                start, comma == std::string::npos ? std::string::npos : comma - start));
        } catch (const ParseError&) {
            return std::nullopt;
        }
        start = comma + 1;
    }
    return o;
}

// An imported Project is written like the editor would keep it: shown, and a new one named
// after its file (at most 8 characters).
void SaveImported(Project& project, bool isNew, const std::string& out,
                  const std::string& appFolder, Ui& ui) {
    project.GeometryShown = true;
    if (isNew)
        project.ProjectName =
            FirstCharacters(platform::Utf8FromPath(platform::PathFromUtf8(out).stem()), 8);
    project.ProjectFileName = out;
    WriteProject(project, SaveOptionsFromSettings(appFolder), ui);
}

// Scan, the chosen importer and the closing Remove Double Vertices, as the Scan DXF dialog's
// OK runs them; the result is written as a project file.
std::function<int()> ImportDxfCommand(CLI::App& sub) {
    auto file = std::make_shared<std::string>();
    auto kind = std::make_shared<std::string>();
    auto into = std::make_shared<std::string>();
    auto offset = std::make_shared<std::string>("0,0,0");
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    auto seed = std::make_shared<unsigned>(std::random_device{}());
    sub.add_option("FILE", *file, "DXF file")->required();
    sub.add_option("--kind", *kind, "Entities to import")
        ->required()
        ->check(CLI::IsMember({"point", "vertex", "line", "3dface"}));
    auto* intoOption = sub.add_option("--into", *into, "Project file to add to");
    sub.add_option("--offset", *offset, "X,Y,Z added to every imported coordinate")
        ->needs(intoOption);
    sub.add_option("-o", *out, "Project file to write")->required();
    sub.add_option("--seed", *seed, "Seed of the random polygon colours");
    sub.add_option("--app-folder", *appFolder,
                   "Program folder holding Meshforge.ini (default: MESHFORGE_APP_FOLDER or the "
                   "executable's folder when writable, else ~/.config/meshforge)");
    return [=] {
        const std::optional<Offset3> shift = ParseOffset(*offset);
        if (!shift) {
            std::cerr << "'" << *offset << "' is not an offset X,Y,Z\n";
            return 2;
        }
        OffsetUi ui(*shift);
        const DxfScan scan = ScanFile(*file, ui);
        if (!scan.Ok)
            return 1;
        Project project;
        if (!into->empty() && !Load(project, *into, ui))
            return 1;
        const DxfKind k = *kind == "point"    ? DxfKind::Point
                          : *kind == "vertex" ? DxfKind::Vertex
                          : *kind == "line"   ? DxfKind::Line
                                              : DxfKind::Face;
        std::mt19937 rng(*seed);
        if (ImportDxf(project, *file, k, ui, rng, {}, scan.Count(k)).Outcome !=
            DxfImportOutcome::Imported)
            return 1;
        ColorTriple lineColor = kStartElementColor;
        FinishDxfImport(project, lineColor, ui);
        SaveImported(project, into->empty(), *out, *appFolder, ui);
        return 0;
    };
}

std::function<int()> ExportDxfCommand(CLI::App& sub) {
    auto in = std::make_shared<std::string>();
    auto mode = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("--mode", *mode, "What to write")
        ->required()
        ->check(CLI::IsMember({"vertices", "lines", "polygons"}));
    sub.add_option("-o", *out, "DXF file to write")->required();
    return [=] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!Load(project, *in, ui))
            return 1;
        const DxfMode m = *mode == "vertices" ? DxfMode::Vertices
                          : *mode == "lines"  ? DxfMode::VerticesLines
                                              : DxfMode::VerticesLinesPolygons;
        if (std::string_view refusal = DxfExportRefusal(project, m); !refusal.empty()) {
            ui.Message(refusal);
            return 1;
        }
        return WriteDxf(project, *out, m, ui) ? 0 : 1;
    };
}

// ---------------------------------------------------------------------------------------------
// Vertex text and 3DOText

// FILE [--into P.3dp [--offset X,Y,Z]] -o OUT.3dp: imports into a new Project, or adds to
// the one read from --into, and writes the result.
std::function<int()> ImportCommand(CLI::App& sub, const char* fileHelp,
                                   std::function<bool(Project&, const std::string&, Ui&)> import) {
    auto file = std::make_shared<std::string>();
    auto into = std::make_shared<std::string>();
    auto offset = std::make_shared<std::string>("0,0,0");
    auto out = std::make_shared<std::string>();
    auto appFolder = std::make_shared<std::string>();
    sub.add_option("FILE", *file, fileHelp)->required();
    CLI::Option* intoOption =
        sub.add_option("--into", *into, "Project file to add to (default: a new Project)");
    sub.add_option("--offset", *offset, "X,Y,Z added to the new Vertices when adding")
        ->needs(intoOption);
    sub.add_option("-o", *out, "Project file to write")->required();
    sub.add_option("--app-folder", *appFolder,
                   "Program folder holding Meshforge.ini (default: MESHFORGE_APP_FOLDER or the "
                   "executable's folder when writable, else ~/.config/meshforge)");
    return [file, into, offset, out, appFolder, import] {
        const std::optional<Offset3> shift = ParseOffset(*offset);
        if (!shift) {
            std::cerr << "'" << *offset << "' is not an offset X,Y,Z\n";
            return 2;
        }
        OffsetUi ui(*shift);
        Project project;
        if (!into->empty() && !Load(project, *into, ui))
            return 1;
        if (!import(project, *file, ui))
            return 1;
        SaveImported(project, into->empty(), *out, *appFolder, ui);
        return 0;
    };
}

std::function<int()>
TextImportCommand(CLI::App& sub, const char* fileHelp,
                  std::function<TextImportResult(Project&, const std::string&, Ui&)> import) {
    return ImportCommand(sub, fileHelp, [import](Project& p, const std::string& file, Ui& ui) {
        return import(p, file, ui).Outcome == TextImportOutcome::Imported;
    });
}

// P.3dp -o OUT: writes the Project's geometry, refused like the menu command without any.
std::function<int()>
TextExportCommand(CLI::App& sub, const char* outHelp,
                  std::function<bool(const Project&, const std::string&, Ui&)> write) {
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    sub.add_option("IN", *in, "Project file to read")->required();
    sub.add_option("-o", *out, outHelp)->required();
    return [in, out, write] {
        CliUi ui(std::cout, std::cerr);
        Project project;
        if (!Load(project, *in, ui))
            return 1;
        if (std::string_view refusal = TextExportRefusal(project); !refusal.empty()) {
            ui.Message(refusal);
            return 1;
        }
        return write(project, *out, ui) ? 0 : 1;
    };
}

std::function<int()> ImportVtxCommand(CLI::App& sub) {
    return TextImportCommand(sub, "Vertex text file (.vtx)", ImportVertexText);
}

std::function<int()> ExportVtxCommand(CLI::App& sub) {
    return TextExportCommand(sub, "Vertex text file to write (.vtx)", ExportVertexText);
}

std::function<int()> Import3DOTextCommand(CLI::App& sub) {
    return TextImportCommand(sub, "3DOText file (.txt)", Import3DOText);
}

std::function<int()> Export3DOTextCommand(CLI::App& sub) {
    return TextExportCommand(sub, "3DOText file to write (.txt)", Export3DOText);
}

#if MESHFORGE_CLI_ADAPTERS
// FILE [--into P.3dp [--offset X,Y,Z]] -o OUT.3dp: any mesh file Assimp reads, imported as
// the Geometry menu's Mesh File entry imports it.
std::function<int()> ImportMeshCommand(CLI::App& sub) {
    auto seed = std::make_shared<unsigned>(std::random_device{}());
    sub.add_option("--seed", *seed, "Seed of the random polygon colours");
    return ImportCommand(
        sub, "Mesh file (OBJ, STL, PLY, glTF, 3DS, ...)",
        [seed](Project& project, const std::string& file, Ui& ui) {
            MeshData mesh;
            std::string error;
            if (!ReadMeshFile(file, mesh, error)) {
                ui.Message(error);
                return false;
            }
            std::mt19937 rng(*seed);
            QtImageFiles images;
            ColorTriple lineColor = kStartElementColor;
            return ImportMesh(project, file, mesh, ui, rng, images, lineColor).Outcome ==
                   MeshImportOutcome::Imported;
        });
}
#endif

std::function<int()> ExportMeshCommand(CLI::App& sub) {
    return TextExportCommand(sub, "OBJ file to write (.obj; its .mtl goes beside it)",
                             ExportMeshObj);
}

} // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"info", "Read a project and print what the read logs", Info},
        {"resave", "Read a project and write it again", Resave},
        {"remove-doubles", "Merge vertices at exactly the same position and write the result",
         RemoveDoubles},
        {"interpolate", "Add the midpoint after every vertex but the last and write the result",
         Interpolate},
        {"scan-dxf", "Count the POINT, VERTEX, LINE and 3DFACE entities of a DXF file", ScanDxf},
        {"import-dxf", "Import one kind of DXF entity into a new or given project and write it",
         ImportDxfCommand},
        {"export-dxf", "Write a project's vertices, lines or polygons as a DXF R12 file",
         ExportDxfCommand},
        {"import-vtx", "Import a vertex text file into a new project or add it to one",
         ImportVtxCommand},
        {"export-vtx", "Write a project's vertices as a vertex text file", ExportVtxCommand},
        {"import-3dotext", "Import a 3DOText file into a new project or add it to one",
         Import3DOTextCommand},
        {"export-3dotext", "Write a project's vertices and polygons as a 3DOText file",
         Export3DOTextCommand},
#if MESHFORGE_CLI_ADAPTERS
        {"import-mesh",
         "Import a mesh file (OBJ, STL, PLY, glTF, 3DS, ...) into a new project or add it to one",
         ImportMeshCommand},
#endif
        {"export-mesh", "Write a project's geometry and textures as an OBJ file with its .mtl",
         ExportMeshCommand},
        {"write-ase", "Write a project's ASE file, as \"Just write ASE\" does", WriteAseCommand},
#if MESHFORGE_CLI_ADAPTERS
        {"convert", "Write a project's ASE file beside it and convert it to 3DO with ase23doc.exe",
         ConvertCommand},
#endif
        {"textures", "List a project's textures as the library window's grid shows them",
         TexturesCommand},
#if MESHFORGE_CLI_ADAPTERS
        {"add-texture", "Load a BMP file into a project's texture library", AddTextureCommand},
#endif
        {"remove-texture", "Remove an entry of a project's texture library", RemoveTextureCommand},
#if MESHFORGE_CLI_ADAPTERS
        {"make-mask", "Write the 1-bit transparency mask of a BMP for one transparent colour",
         MakeMaskCommand},
#endif
        {"assign-texture", "Give polygons a texture and a mapping and write the result",
         AssignTextureCommand},
        {"report", "Print a project's contents listing (or its print listing) to stdout",
         ReportCommand},
#if MESHFORGE_CLI_ADAPTERS
        {"print", "Print a project's print listing to a PDF file", PrintCommand},
#endif
        {"collision", "Add, edit or remove a project's collision volume and write the result",
         CollisionCommand},
        {"display-class", "Set a project's display class (its visibility within GPL)",
         DisplayClassCommand},
        {"move", "Move all or the given vertices by an offset and write the result", MoveCommand},
        {"mirror", "Mirror all or the given vertices along an axis and write the result",
         MirrorCommand},
        {"scale", "Scale all or the given vertices about the origin and write the result",
         ScaleCommand},
        {"centre", "Move the object so that its box is centred at 0,0,0 and write the result",
         CentreCommand},
        {"rotate", "Rotate all or the given vertices about an axis and write the result",
         RotateCommand},
        {"copy-polygons",
         "Copy polygons at an offset onto vertices of their own and write the "
         "result",
         CopyPolygonsCommand},
        {"move-polygons", "Move the vertices of polygons by an offset and write the result",
         MovePolygonsCommand},
    };
    return commands;
}

} // namespace meshforge::cli
