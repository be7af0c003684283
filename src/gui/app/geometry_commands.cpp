// The Geometry menu: the vertex window, interpolation, the imports and exports, adding another
// project's data and Remove Double Vertices.
#include "edit/vertices.h"
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"
#include "gui/edit/vertex_form.h"
#include "gui/io/scan_form.h"
#include "gui/view/view_form.h"
#include "image/qt_image_files.h"
#include "io/dxf_export.h"
#include "io/dxf_import.h"
#include "io/text_geometry.h"
#include "mesh/assimp_mesh.h"
#include "meshfile/mesh_export.h"
#include "meshfile/mesh_import.h"

#include <QCoreApplication>
#include <QMenu>
#include <QProgressDialog>

#include <filesystem>
#include <memory>

namespace meshforge::gui {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A progress dialog for reading a large file, and the callback that moves it and keeps the
// window painting; small files are done before a dialog could appear.
struct FileProgress {
    std::unique_ptr<QProgressDialog> dialog;
    DxfProgress report;

    FileProgress(const std::string& path, const QString& label, QWidget* parent) {
        std::error_code ec;
        if (std::filesystem::file_size(path, ec) <= (16u << 20) || ec)
            return;
        dialog =
            std::make_unique<QProgressDialog>(label + " " + Q(path), QString(), 0, 1000, parent);
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setMinimumDuration(0);
        report = [box = dialog.get()](double done) {
            box->setValue(int(done * 1000));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
    }
};

void ImportDxfClick(TMainForm& f) {
    Project& p = f.CurrentProject();
    QtUi& ui = f.UiPort();
    std::optional<std::string> path =
        ui.ChooseOpenFile({"Open AutoCAD R12 DXF File", OpenDialogFilters(), kOpenDxf, ""});
    if (!path)
        return;
    DxfScan scan;
    {
        FileProgress progress(*path, "Scanning", &f);
        scan = ScanFile(*path, ui, progress.report);
    }
    if (!scan.Ok)
        return;
    f.ScanForm->ShowScan(scan.Caption,
                         {int(scan.Points), int(scan.Vertices), int(scan.Lines), int(scan.Faces)});
    f.ScanForm->SetImporter([&f, &p, &ui, path, scan](TScanForm::Kind kind) {
        const DxfKind kinds[] = {DxfKind::Point, DxfKind::Vertex, DxfKind::Line, DxfKind::Face};
        const DxfKind chosen = kinds[int(kind)];
        DxfImportResult result;
        {
            FileProgress progress(*path, "Importing", &f);
            result = ImportDxf(p, *path, chosen, ui, f.State().PolygonColorSource, progress.report,
                               scan.Count(chosen));
        }
        if (result.Outcome == DxfImportOutcome::Failed)
            return false;
        FinishDxfImport(p, f.State().LineColor, ui);
        return true;
    });
    f.RunLifecycle([&f] { f.ScanForm->exec(); });
    p.GeometryShown = true;
    f.ViewForm->ZoomAllClick();
    p.Options.VerticesVisible = f.Action("ShowVerticesMenu")->isChecked();
    f.ViewForm->Redraw();
}

void ImportMeshClick(TMainForm& f) {
    QtUi& ui = f.UiPort();
    std::optional<std::string> path =
        ui.ChooseOpenFile({"Open Mesh File", OpenDialogFilters(), kOpenMesh, ""});
    if (!path)
        return;
    f.RunLifecycle([&f, &ui, path] {
        MeshData mesh;
        std::string error;
        bool read = false;
        {
            FileProgress progress(*path, "Reading", &f);
            read = ReadMeshFile(*path, mesh, error, progress.report);
        }
        if (!read) {
            ui.Message(error);
            return;
        }
        FileProgress progress(*path, "Importing", &f);
        QtImageFiles images;
        ImportMesh(f.CurrentProject(), *path, mesh, ui, f.State().PolygonColorSource, images,
                   f.State().LineColor, progress.report);
    });
    Project& p = f.CurrentProject();
    p.GeometryShown = true;
    f.ViewForm->ZoomAllClick();
    p.Options.VerticesVisible = f.Action("ShowVerticesMenu")->isChecked();
    f.ViewForm->Redraw();
}

void ExportMeshClick(TMainForm& f) {
    std::optional<std::string> path =
        f.UiPort().ChooseSaveFile({"", SaveDialogFilters(), kSaveObj, "obj"});
    if (path)
        ExportMeshObj(f.CurrentProject(), *path, f.UiPort());
}

// The open dialog, then the import, for the vertex text and 3DOText commands.
void ImportTextGeometry(TMainForm& f, const char* title, int filterIndex,
                        TextImportResult (*import)(Project&, const std::string&, Ui&)) {
    std::optional<std::string> path =
        f.UiPort().ChooseOpenFile({title, OpenDialogFilters(), filterIndex, ""});
    if (path)
        f.RunLifecycle([&f, path, import] { import(f.CurrentProject(), *path, f.UiPort()); });
    f.CurrentProject().GeometryShown = true;
    f.ViewForm->Redraw();
}

void ExportDxfClick(TMainForm& f, DxfMode mode) {
    std::optional<std::string> path =
        f.UiPort().ChooseSaveFile({"", SaveDialogFilters(), kSaveDxf, "dxf"});
    if (path)
        WriteDxf(f.CurrentProject(), *path, mode, f.UiPort());
}

void ExportTextClick(TMainForm& f, bool threeDOText) {
    std::optional<std::string> path = f.UiPort().ChooseSaveFile(
        {"", SaveDialogFilters(), threeDOText ? kSave3DOText : kSaveVertexText,
         threeDOText ? "txt" : "vtx"});
    if (!path)
        return;
    if (threeDOText)
        Export3DOText(f.CurrentProject(), *path, f.UiPort());
    else
        ExportVertexText(f.CurrentProject(), *path, f.UiPort());
}

} // namespace

void RegisterGeometryCommands(TMainForm& f) {
    auto vertexWindow = [&f] { f.ShowToolWindow(f.VertexForm); };
    QMenu* m = f.AddMenu("GeometryMenu", "&Geometry");
    f.AddEntry(m, "VertexMenu", "&Create/Add/Delete vertices manually", vertexWindow);
    f.AddEntry(m, "InterpolVertexMenu", "Create Interpolated Vertex", [&f] {
        f.Run([&f] {
            if (CreateInterpolatedVertex(f.CurrentProject(), f.UiPort()))
                f.VertexForm->RefreshVertexList();
        });
    });
    m->addSeparator();
    QMenu* import = f.AddSubmenu(m, "ImportMenu", "&Import Geometry from....");
    f.AddEntry(import, "ImportVtxMenu", "Vertex Text file", [&f] {
        ImportTextGeometry(f, "Open File with Vertex Definition", kOpenVertexText,
                           ImportVertexText);
    });
    f.AddEntry(import, "ImportDXFMenu", "DXF file", [&f] { ImportDxfClick(f); });
    f.AddEntry(import, "Import3DOTextMenu", "3DOText (Vertices && Polygons)", [&f] {
        ImportTextGeometry(f, "Open 3DOText File with Vertex Definition", kOpen3DOText,
                           Import3DOText);
    });
    f.AddEntry(import, "ImportMeshMenu", "Mesh File (OBJ, STL, PLY, glTF, 3DS, ...)",
               [&f] { ImportMeshClick(f); });
    QMenu* exportMenu = f.AddSubmenu(m, "ExportMenu", "Export Geometry to....");
    f.AddEntry(exportMenu, "ExportVtxMenu", "Vertex Text file",
               f.Guarded(GuardedCommand::ExportVertexText, [&f] { ExportTextClick(f, false); }));
    QMenu* dxf = f.AddSubmenu(exportMenu, "ExportDXFMenu", "DXF R12 file");
    f.AddEntry(dxf, "ExportDXFVerticesMenu", "Vertices only",
               f.Guarded(GuardedCommand::ExportDxfVertices,
                         [&f] { ExportDxfClick(f, DxfMode::Vertices); }));
    f.AddEntry(dxf, "ExportDXFLinesMenu", "Vertices && Lines",
               f.Guarded(GuardedCommand::ExportDxfLines,
                         [&f] { ExportDxfClick(f, DxfMode::VerticesLines); }));
    f.AddEntry(dxf, "ExportDXFPolygonsMenu", "Vertices && Lines && Polygons",
               f.Guarded(GuardedCommand::ExportDxfPolygons,
                         [&f] { ExportDxfClick(f, DxfMode::VerticesLinesPolygons); }));
    f.AddEntry(exportMenu, "Export3DOTextMenu", "3DOText (Vertices && Polygons)",
               f.Guarded(GuardedCommand::Export3DOText, [&f] { ExportTextClick(f, true); }));
    f.AddEntry(exportMenu, "ExportMeshMenu", "Mesh File (OBJ)",
               // Refused as the 3DOText export is: without geometry.
               f.Guarded(GuardedCommand::Export3DOText, [&f] { ExportMeshClick(f); }));
    m->addSeparator();
    f.AddEntry(m, "AddDataMenu", "Add Data From Another Project", [&f] {
        f.RunLifecycle([&f] { AddData(f.CurrentProject(), f.CurrentSession(), f.UiPort()); });
    });
    f.AddEntry(m, "RemDoubleMenu", "Remove Double Vertices", [&f] {
        f.Run([&f] {
            RemoveDoubleVertices(f.CurrentProject(), f.State().LineColor, f.UiPort());
            f.AfterVisLinesRebuilt();
        });
    });

    f.AddToolButton("VertexToolButton", LetterIcon("V", kGeometryColor),
                    "Create/Add/Delete vertices manually", vertexWindow);
}

} // namespace meshforge::gui
