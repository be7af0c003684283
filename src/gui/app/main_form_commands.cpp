// The main window's commands and the rules that enable them.
#include "app/main_form.h"

#include "app/about_box.h"
#include "app/desc_form.h"
#include "app/log_panel.h"
#include "app/system_info.h"
#include "edit/line_form.h"
#include "edit/polygon_form.h"
#include "edit/vertex_form.h"
#include "edit/vertices.h"
#include "io/dxf_import.h"
#include "io/scan_form.h"
#include "io/text_geometry.h"
#include "settings/options_form.h"
#include "view/view_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QUrl>

#include <exception>
#include <filesystem>
#include <memory>

namespace meshforge::gui {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

void Enable(QAction* action, bool on) {
    if (action)
        action->setEnabled(on);
}

bool IsProjectFile(const QString& path) {
    return path.endsWith(".3dp", Qt::CaseInsensitive);
}

// The local project file of a drop, if it carries exactly that.
QString DroppedProject(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1)
        return {};
    const QUrl& url = urls.front();
    if (!url.isLocalFile() || !IsProjectFile(url.toLocalFile()))
        return {};
    return url.toLocalFile();
}

} // namespace

void TMainForm::Run(const std::function<void()>& command) {
    const std::string file = project_.ProjectFileName;
    try {
        command();
    } catch (const std::exception& e) {
        ui_.Message(e.what());
    }
    // A project read brings its own camera values: the bars follow them.
    if (project_.ProjectFileName != file)
        ViewForm->SyncControls();
    ApplySessionState();
    // Any command may have changed the lists under an open editor window (its buttons
    // included); the vertex list's refresh brings the line and polygon lists along.
    VertexForm->RefreshVertexList();
    ViewForm->Redraw();
}

void TMainForm::RunLifecycle(const std::function<void()>& command) {
    Run(command);
    // The core lifecycle commands reset the editor state; the windows show it.
    VertexForm->ProjectChanged();
    LineForm->ProjectChanged();
}

std::function<void()> TMainForm::Pump(std::size_t steps) {
    // Events are handled every few thousand steps: often enough to paint, rarely enough not
    // to cost more than the work. Large Projects show their progress.
    auto count = std::make_shared<std::size_t>(0);
    std::shared_ptr<QProgressDialog> progress;
    if (steps >= 200'000) {
        progress = std::make_shared<QProgressDialog>("Adding interpolated vertices...", QString(),
                                                     0, 1000, this);
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
        progress->setValue(0);
    }
    return [count, steps, progress] {
        if (++*count % 4096 != 0)
            return;
        if (progress)
            progress->setValue(int(*count * 1000 / std::max<std::size_t>(steps, 1)));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

void TMainForm::AfterVisLinesRebuilt() {
    if (!project_.VisLines.empty()) {
        session_.Menus.CreateVisLines = false;
        session_.Menus.RemoveVisLines = session_.Menus.ConvertVisLines = true;
    }
    VertexForm->RefreshVertexList();
}

void TMainForm::LinesMenuClick() {
    LineForm->show();
    LineForm->raise();
}

void TMainForm::PolygonsMenuClick() {
    PolygonForm->show();
    PolygonForm->raise();
}

namespace {

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

} // namespace

void TMainForm::ImportDXFMenuClick() {
    std::optional<std::string> path =
        ui_.ChooseOpenFile({"Open AutoCAD R12 DXF File", OpenDialogFilters(), kOpenDxf, ""});
    if (!path)
        return;
    DxfScan scan;
    {
        FileProgress progress(*path, "Scanning", this);
        scan = ScanFile(*path, ui_, progress.report);
    }
    if (!scan.Ok)
        return;
    ScanForm->ShowScan(scan.Caption,
                       {int(scan.Points), int(scan.Vertices), int(scan.Lines), int(scan.Faces)});
    ScanForm->SetImporter([this, path, scan](TScanForm::Kind kind) {
        const DxfKind kinds[] = {DxfKind::Point, DxfKind::Vertex, DxfKind::Line, DxfKind::Face};
        const DxfKind chosen = kinds[int(kind)];
        DxfImportResult result;
        {
            FileProgress progress(*path, "Importing", this);
            result = ImportDxf(project_, *path, chosen, ui_, polygonColors_, progress.report,
                               scan.Count(chosen));
        }
        if (result.Outcome == DxfImportOutcome::Failed)
            return false;
        FinishDxfImport(project_, session_.Editor.LineColor, ui_);
        return true;
    });
    RunLifecycle([this] { ScanForm->exec(); });
    project_.GeometryShown = true;
    ViewForm->ZoomAllClick();
    project_.Options.VerticesVisible = Action("ShowVerticesMenu")->isChecked();
    ViewForm->Redraw();
}

void TMainForm::ImportTextGeometry(const char* title, int filterIndex,
                                   TextImportResult (*import)(Project&, const std::string&, Ui&)) {
    std::optional<std::string> path =
        ui_.ChooseOpenFile({title, OpenDialogFilters(), filterIndex, ""});
    if (path)
        RunLifecycle([this, path, import] { import(project_, *path, ui_); });
    project_.GeometryShown = true;
    ViewForm->Redraw();
}

void TMainForm::ImportVtxMenuClick() {
    ImportTextGeometry("Open File with Vertex Definition", kOpenVertexText, ImportVertexText);
}

void TMainForm::Import3DOTextMenuClick() {
    ImportTextGeometry("Open 3DOText File with Vertex Definition", kOpen3DOText, Import3DOText);
}

void TMainForm::ExportDxfClick(DxfMode mode) {
    std::optional<std::string> path =
        ui_.ChooseSaveFile({"", SaveDialogFilters(), kSaveDxf, "dxf"});
    if (path)
        WriteDxf(project_, *path, mode, ui_);
}

void TMainForm::ExportTextClick(bool threeDOText) {
    std::optional<std::string> path =
        ui_.ChooseSaveFile({"", SaveDialogFilters(), threeDOText ? kSave3DOText : kSaveVertexText,
                            threeDOText ? "txt" : "vtx"});
    if (!path)
        return;
    if (threeDOText)
        Export3DOText(project_, *path, ui_);
    else
        ExportVertexText(project_, *path, ui_);
}

void TMainForm::VertexMenuClick() {
    VertexForm->show();
    VertexForm->raise();
}

void TMainForm::InterpolVertexMenuClick() {
    Run([this] {
        if (CreateInterpolatedVertex(project_, ui_))
            VertexForm->RefreshVertexList();
    });
}

void TMainForm::AddInterpolMenuClick() {
    setEnabled(false); // no other command while the list is rebuilt
    Run([this] {
        AddInterpolatedVertices(project_, session_.Editor.LineColor, ui_,
                                Pump(project_.Vertices.size()));
        AfterVisLinesRebuilt();
    });
    setEnabled(true);
}

void TMainForm::RemDoubleMenuClick() {
    Run([this] {
        RemoveDoubleVertices(project_, session_.Editor.LineColor, ui_);
        AfterVisLinesRebuilt();
    });
}

std::function<void()> TMainForm::Guarded(GuardedCommand command, std::function<void()> action) {
    return [this, command, action] {
        if (auto message = GuardMessage(command, project_)) {
            ui_.Message(*message);
            return;
        }
        if (action)
            Run(action);
    };
}

SaveOptions TMainForm::CurrentSaveOptions() const {
    const GeneralOptions& g = OptionsForm->General();
    return SaveOptions{session_.AppFolder, g.MakeSubDir, g.CopyBmp, g.MipInfo};
}

void TMainForm::ApplyIdleRules() {
    IdleStates s = ComputeIdleStates(project_);
    Enable(Action("CloseToolButton"), s.CloseProject);
    Enable(Action("CloseMenu"), s.CloseProject);
    Enable(Action("SaveAsToolButton"), s.SaveProjectAs);
    Enable(Action("SaveAsMenu"), s.SaveProjectAs);
    Enable(Action("WriteASEToolButton"), s.WriteAse);
    if (QMenu* ase = Menu("WriteASEMenu"))
        ase->menuAction()->setEnabled(s.WriteAse);
    for (const char* name : {"CreateLineToolButton", "CreatePolygonToolButton"})
        Enable(Action(name), s.CreateLine);
    for (const char* name :
         {"MoveAllToolButton", "MirrorAllToolButton", "ScaleAllToolButton", "CenterAllToolButton"})
        Enable(Action(name), s.MoveAll);
    for (const char* name : {"AssignTexToolButton", "CopyPolyToolButton", "MovePolyToolButton"})
        Enable(Action(name), s.AssignTexture);
    Enable(Action("ClearAllMenu"), s.ClearAll);
    Enable(Action("PrintMenu"), s.PrintProjectData);
    Enable(Action("ContentsMenu"), s.DisplayContents);
}

void TMainForm::ApplyMenuOpenRules(QMenu* menu) {
    MenuOpenStates s = ComputeMenuOpenStates(project_);
    const QString name = menu->objectName();
    if (name == "GeometryMenu") {
        Enable(Action("AddDataMenu"), s.AddData);
        Enable(Action("InterpolVertexMenu"), s.CreateInterpolatedVertex);
        Menu("ExportMenu")->menuAction()->setEnabled(s.ExportGeometry);
    } else if (name == "VisualMenu") {
        Enable(Action("LinesMenu"), s.Lines);
        Enable(Action("PolygonsMenu"), s.Polygons);
        Enable(Action("AssignTexMenu"), s.AssignTextures);
        Enable(Action("CheckBackColorsMenu"), s.CheckBackgroundColors);
    } else if (name == "ModifyMenu") {
        Enable(Action("RotateMenu"), s.RotateVertices);
        Enable(Action("MoveMenu"), s.MoveVertices);
        Enable(Action("MirrorMenu"), s.MirrorVertices);
        Enable(Action("ScaleMenu"), s.ScaleVertices);
        Enable(Action("CenterMenu"), s.CenterAllVertices);
        Enable(Action("CopyPolyMenu"), s.CopyPolygon);
        Enable(Action("MovePolyMenu"), s.MovePolygon);
    } else if (name == "MiscMenu") {
        Enable(Action("CollisionMenu"), s.SetCollisionType);
        Enable(Action("CreateVisLinesMenu"), s.CreateVisLines);
        Enable(Action("AddInterpolMenu"), s.AddInterpolatedVertices);
    }
}

void TMainForm::ApplySessionState() {
    ViewWindow->setWindowTitle(Q(session_.ViewCaption));
    const EventMenuStates& m = session_.Menus;
    Enable(Action("SaveMenu"), m.SaveProject);
    Enable(Action("CloseMenu"), m.CloseProject);
    Enable(Action("SaveAsMenu"), m.SaveProjectAs);
    if (QMenu* ase = Menu("WriteASEMenu"))
        ase->menuAction()->setEnabled(m.WriteAse);
    Enable(Action("CreateVisLinesMenu"), m.CreateVisLines);
    Enable(Action("RemoveVisLinesMenu"), m.RemoveVisLines);
    Enable(Action("ConvertVisLinesMenu"), m.ConvertVisLines);
    Menu("ImportMenu")->setTitle(Q(ImportMenuCaption(project_)));
    const ViewOptions& o = project_.Options;
    Action("ShowAxisMenu")->setChecked(o.ShowAxis);
    Action("ShowVerticesMenu")->setChecked(o.ShowVertices);
    Action("ShowLinesMenu")->setChecked(o.ShowLines);
    Action("ShowPolygonsMenu")->setChecked(o.ShowPolygons);
    Action("ShowTexturesMenu")->setChecked(o.ShowTextures);
    RebuildRecentEntries();
}

void TMainForm::RebuildRecentEntries() {
    QMenu* file = Menu("FileMenu");
    for (QAction* a : recentEntries_) {
        file->removeAction(a);
        a->deleteLater();
    }
    recentEntries_.clear();
    // Entries sit between "Options" and "E&xit", paths shortened to 400 pixels.
    QFontMetrics metrics(file->font());
    int index = 0;
    for (const std::string& path : session_.Recent.Paths()) {
        QString caption = metrics.elidedText(Q(path), Qt::ElideMiddle, 400);
        auto* a = new QAction(caption.replace("&", "&&"), file);
        a->setObjectName(QString("RecentFile%1").arg(index++));
        a->setData(Q(path));
        connect(a, &QAction::triggered, this, [this, path] { RecentFileClick(path); });
        file->insertAction(recentSeparator_, a);
        recentEntries_.push_back(a);
    }
}

void TMainForm::OpenMenuClick() {
    RunLifecycle([this] { OpenProject(project_, session_, CurrentSaveOptions(), ui_); });
}

void TMainForm::SaveMenuClick() {
    Run([this] { SaveProject(project_, session_, CurrentSaveOptions(), ui_); });
}

void TMainForm::CloseMenuClick() {
    RunLifecycle([this] { CloseProject(project_, session_, CurrentSaveOptions(), ui_); });
}

void TMainForm::ClearAllMenuClick() {
    RunLifecycle([this] { ClearAll(project_, session_, ui_); });
}

void TMainForm::SaveAsMenuClick() {
    Run([this] { SaveProjectAs(project_, session_, CurrentSaveOptions(), ui_); });
}

void TMainForm::PrintMenuClick() {
    Guarded(GuardedCommand::PrintProjectData)();
}

void TMainForm::OptionsMenuClick() {
    OptionsForm->exec();
    ViewForm->Redraw();
}

void TMainForm::RecentFileClick(const std::string& path) {
    RunLifecycle(
        [this, path] { OpenProjectFile(project_, session_, CurrentSaveOptions(), ui_, path); });
}

void TMainForm::OpenDroppedFile(const QString& path) {
    RecentFileClick(path.toUtf8().toStdString());
}

void TMainForm::ExitMenuClick() {
    close();
}

void TMainForm::AddDataMenuClick() {
    RunLifecycle([this] { AddData(project_, session_, ui_); });
}

void TMainForm::DescMenuClick() {
    DescForm->exec();
}

void TMainForm::OnlineHelpMenuClick() {
    ui_.OpenDocument(kWebsiteUrl);
}

void TMainForm::LocalHelpMenuClick() {
    LocalHelp(session_, ui_);
}

void TMainForm::AboutMenuClick() {
    AboutBox->exec();
}

void TMainForm::ShowSwitchClick(QAction* action, bool& option) {
    option = action->isChecked();
    if (action->objectName() == "ShowVerticesMenu")
        project_.Options.VerticesVisible = option;
    ViewForm->Redraw();
}

void TMainForm::StoreRecentFiles() {
    try {
        settings_.StoreRecentFiles(session_.Recent);
    } catch (const std::exception& e) {
        ui_.Message(e.what());
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    bool mayEnd = false;
    Run([&] { mayEnd = RequestExit(project_, session_, CurrentSaveOptions(), ui_); });
    if (!mayEnd) {
        event->ignore();
        return;
    }
    StoreRecentFiles();
    event->accept();
    // The program ends with its main window, whatever tool windows are still open: none of
    // them may stay behind to act on the emptied Project.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->hide();
    QCoreApplication::quit();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        Action("AboutMenu")->setText(QString("&About ") + kProgramName);
    }
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedProject(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    QString path = DroppedProject(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    OpenDroppedFile(path);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !hintsOn_)
        return true;
    // The one view window lives as long as the program: its close box does nothing.
    if (watched == ViewWindow && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace meshforge::gui
