// How the main window runs commands and enables them, and its window events.
#include "gui/app/main_form.h"

#include "gui/edit/line_form.h"
#include "gui/edit/polygon_form.h"
#include "gui/edit/vertex_form.h"
#include "gui/settings/options_form.h"
#include "gui/view/view_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QUrl>

#include <exception>
#include <memory>

namespace meshforge::gui {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The local project file of a drop, if it carries exactly that.
QString DroppedProject(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1)
        return {};
    const QUrl& url = urls.front();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(".3dp", Qt::CaseInsensitive))
        return {};
    return url.toLocalFile();
}

} // namespace

void TMainForm::Run(const std::function<void()>& command) {
    const std::string file = editor_.Project.ProjectFileName;
    try {
        command();
    } catch (const std::exception& e) {
        ui_.Message(e.what());
    }
    // A project read brings its own camera values: the bars follow them.
    if (editor_.Project.ProjectFileName != file)
        ViewForm->SyncControls();
    ApplySessionState();
    // Any command may have changed the lists under an open editor window (its buttons
    // included); the vertex list's refresh brings the line and polygon lists along.
    VertexForm->RefreshVertexList();
    for (const auto& refresh : refreshHandlers_)
        refresh();
    ViewForm->Redraw();
}

void TMainForm::RunLifecycle(const std::function<void()>& command) {
    Run(command);
    // The core lifecycle commands reset the editor state; the windows show it.
    VertexForm->ProjectChanged();
    LineForm->ProjectChanged();
}

std::function<void()> TMainForm::Guarded(GuardedCommand command, std::function<void()> action) {
    return [this, command, action] {
        if (auto message = GuardMessage(command, editor_.Project)) {
            ui_.Message(*message);
            return;
        }
        if (action)
            Run(action);
    };
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
    EventMenuStates& m = editor_.Session.Menus;
    if (!editor_.Project.VisLines.empty()) {
        m.CreateVisLines = false;
        m.RemoveVisLines = m.ConvertVisLines = true;
    }
    VertexForm->RefreshVertexList();
}

void TMainForm::ShowToolWindow(QWidget* window) {
    window->show();
    window->raise();
}

void TMainForm::OpenRecentFile(const std::string& path) {
    RunLifecycle([this, path] {
        OpenProjectFile(editor_.Project, editor_.Session, CurrentSaveOptions(), ui_, path);
    });
}

SaveOptions TMainForm::CurrentSaveOptions() const {
    const GeneralOptions& g = OptionsForm->General();
    return SaveOptions{editor_.Session.AppFolder, g.MakeSubDir, g.CopyBmp, g.MipInfo};
}

void TMainForm::Enable(const char* name, bool on) {
    Action(name)->setEnabled(on);
}

void TMainForm::ApplyIdleRules() {
    IdleStates s = ComputeIdleStates(editor_.Project);
    Enable("CloseToolButton", s.CloseProject);
    Enable("CloseMenu", s.CloseProject);
    Enable("SaveAsToolButton", s.SaveProjectAs);
    Enable("SaveAsMenu", s.SaveProjectAs);
    Enable("WriteASEToolButton", s.WriteAse);
    Menu("WriteASEMenu")->menuAction()->setEnabled(s.WriteAse);
    for (const char* name : {"CreateLineToolButton", "CreatePolygonToolButton"})
        Enable(name, s.CreateLine);
    for (const char* name :
         {"MoveAllToolButton", "MirrorAllToolButton", "ScaleAllToolButton", "CenterAllToolButton"})
        Enable(name, s.MoveAll);
    for (const char* name : {"AssignTexToolButton", "CopyPolyToolButton", "MovePolyToolButton"})
        Enable(name, s.AssignTexture);
    Enable("ClearAllMenu", s.ClearAll);
    Enable("PrintMenu", s.PrintProjectData);
    Enable("ContentsMenu", s.DisplayContents);
    ApplyEnableRules();
}

void TMainForm::ApplyEnableRules() {
    for (const auto& rule : enableRules_)
        rule();
}

void TMainForm::ApplyMenuOpenRules(QMenu* menu) {
    MenuOpenStates s = ComputeMenuOpenStates(editor_.Project);
    const QString name = menu->objectName();
    if (name == "GeometryMenu") {
        Enable("AddDataMenu", s.AddData);
        Enable("InterpolVertexMenu", s.CreateInterpolatedVertex);
        Menu("ExportMenu")->menuAction()->setEnabled(s.ExportGeometry);
    } else if (name == "VisualMenu") {
        Enable("LinesMenu", s.Lines);
        Enable("PolygonsMenu", s.Polygons);
        Enable("AssignTexMenu", s.AssignTextures);
        Enable("CheckBackColorsMenu", s.CheckBackgroundColors);
    } else if (name == "ModifyMenu") {
        Enable("RotateMenu", s.RotateVertices);
        Enable("MoveMenu", s.MoveVertices);
        Enable("MirrorMenu", s.MirrorVertices);
        Enable("ScaleMenu", s.ScaleVertices);
        Enable("CenterMenu", s.CenterAllVertices);
        Enable("CopyPolyMenu", s.CopyPolygon);
        Enable("MovePolyMenu", s.MovePolygon);
    } else if (name == "MiscMenu") {
        Enable("CollisionMenu", s.SetCollisionType);
        Enable("CreateVisLinesMenu", s.CreateVisLines);
        Enable("AddInterpolMenu", s.AddInterpolatedVertices);
    }
}

void TMainForm::ApplySessionState() {
    ViewWindow->setWindowTitle(Q(editor_.Session.ViewCaption));
    const EventMenuStates& m = editor_.Session.Menus;
    Enable("SaveMenu", m.SaveProject);
    Enable("CloseMenu", m.CloseProject);
    Enable("SaveAsMenu", m.SaveProjectAs);
    Menu("WriteASEMenu")->menuAction()->setEnabled(m.WriteAse);
    Enable("CreateVisLinesMenu", m.CreateVisLines);
    Enable("RemoveVisLinesMenu", m.RemoveVisLines);
    Enable("ConvertVisLinesMenu", m.ConvertVisLines);
    Menu("ImportMenu")->setTitle(Q(ImportMenuCaption(editor_.Project)));
    const ViewOptions& o = editor_.Project.Options;
    Action("ShowAxisMenu")->setChecked(o.ShowAxis);
    Action("ShowVerticesMenu")->setChecked(o.ShowVertices);
    Action("ShowLinesMenu")->setChecked(o.ShowLines);
    Action("ShowPolygonsMenu")->setChecked(o.ShowPolygons);
    Action("ShowTexturesMenu")->setChecked(o.ShowTextures);
    RebuildRecentEntries();
    ApplyEnableRules();
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
    for (const std::string& path : editor_.Session.Recent.Paths()) {
        QString caption = metrics.elidedText(Q(path), Qt::ElideMiddle, 400);
        auto* a = new QAction(caption.replace("&", "&&"), file);
        a->setObjectName(QString("RecentFile%1").arg(index++));
        a->setData(Q(path));
        connect(a, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
        file->insertAction(recentSeparator_, a);
        recentEntries_.push_back(a);
    }
}

void TMainForm::StoreRecentFiles() {
    try {
        editor_.Settings.StoreRecentFiles(editor_.Session.Recent);
    } catch (const std::exception& e) {
        ui_.Message(e.what());
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    bool mayEnd = false;
    Run([&] { mayEnd = RequestExit(editor_.Project, editor_.Session, CurrentSaveOptions(), ui_); });
    if (!mayEnd) {
        event->ignore();
        return;
    }
    event->accept();
    EndProgram();
}

void TMainForm::EndProgram() {
    StoreRecentFiles();
    // The program ends with its main window, whatever tool windows are still open: none of
    // them may stay behind to act on the emptied Project.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->hide();
    hide();
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
    OpenRecentFile(path.toUtf8().toStdString());
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
