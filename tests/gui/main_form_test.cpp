// The main window with its real view, menus and dialogs; questions are answered by a FakeUi.
#include "fake_ui.h"
#include "gui/app/about_box.h"
#include "gui/app/log_panel.h"
#include "gui/app/main_form.h"
#include "gui/edit/line_form.h"
#include "gui/edit/man_v_form.h"
#include "gui/edit/polygon_form.h"
#include "gui/io/scan_form.h"
#include "gui/view/view_form.h"
#include "keep_gl_driver.h"
#include "model/project_file.h"
#include "util/atomic_file.h"
#include "view/camera.h"
#include "view_point.h"
#include "wait.h"

#include <QClipboard>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QOpenGLContext>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <filesystem>

using namespace meshforge;
using meshforge::gui::TMainForm;
using meshforge::test::FakeUi;

namespace {

// Captions of a menu tree, one per entry, submenus indented; hidden entries are marked.
void Walk(const QMenu* menu, const QString& indent, QStringList& out) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            continue;
        out << indent + a->text() + (a->isVisible() ? "" : " (hidden)");
        if (a->menu())
            Walk(a->menu(), indent + "  ", out);
    }
}

QStringList MenuTree(const QMenuBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions()) {
        out << a->text();
        Walk(a->menu(), "  ", out);
    }
    return out;
}

std::string Folder(const QTemporaryDir& dir) {
    return QDir::toNativeSeparators(dir.path()).toStdString() + "/";
}

// A textured triangle and an untextured one, saved as `name` in `dir`.
std::string WriteExample(const QTemporaryDir& dir, const std::string& name) {
    Project p;
    p.Vertices = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {10, 10, 5}};
    p.Textures.push_back({"", 0, "", 1, kUndeterminedBackColor});
    p.Polygons.push_back({{0.5f, 0.5f, 0.5f}, {0, 1, 2, 0}, 0, {{0, 0}, {1, 0}, {0, 1}, {0, 0}}});
    p.Polygons.push_back({{0.2f, 0.4f, 0.6f}, {1, 3, 2, 1}, kUntextured, {}});
    p.ProjectDescription = "GUI test object";
    p.ProjectFileName = Folder(dir) + name;
    // A texture needs a bitmap that exists; an empty 64x64 file name is refused, so use one.
    p.Textures[0].Filename = std::string(MESHFORGE_EXAMPLES) + "/planks.bmp";
    FakeUi quiet;
    WriteProject(p, SaveOptions{Folder(dir)}, quiet);
    return p.ProjectFileName;
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_; // each case has its own program folder and files
    FakeUi fake_;
    std::unique_ptr<Editor> editor_; // outlives the window, as in the program
    std::unique_ptr<TMainForm> form_;

    QAction* A(const char* name) { return form_->Action(name); }
    bool On(const char* name) {
        QAction* a = A(name);
        if (!a)
            qFatal("no action %s", name);
        return a->isEnabled();
    }
    void Idle() {
        form_->ApplyIdleRules();
        QCoreApplication::processEvents();
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        fake_ = FakeUi{};
        editor_ = std::make_unique<Editor>(Folder(*dir_));
        form_ = std::make_unique<TMainForm>(*editor_, std::vector<std::string>{});
        form_->UiPort().SetPrompts(&fake_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), kGuiWaitMs));
    }
    void cleanup() {
        // Nothing may stop the window from closing at the end of a case.
        form_->CurrentProject().Vertices.clear();
        form_.reset();
        fake_.Verify();
        dir_.reset();
    }

    void startsWithCaptionLogAndEmptyView() {
        QVERIFY(form_->windowTitle().startsWith("Meshforge v1.25"));
        QCOMPARE(form_->ViewWindow->windowTitle(), QString("New Project"));
        QVERIFY(form_->ViewWindow->isMaximized());
        const auto& lines = form_->LogMemo->Lines();
        QCOMPARE(lines.size(), std::size_t(3));
        QCOMPARE(lines[0], std::string());
        QCOMPARE(lines[1], std::string("Meshforge v1.25"));
        QCOMPARE(lines[2], std::string("See Tool Tips for some more Information"));
        QCOMPARE(form_->LogMemo->toPlainText(),
                 QString("\nMeshforge v1.25\nSee Tool Tips for some more Information"));
        QCOMPARE(A("AboutMenu")->text(), QString("&About Meshforge"));
        QCOMPARE(form_->ZoomScrollBar->value(), 70);
        QCOMPARE(form_->XScrollBar->minimum(), -360);
        QCOMPARE(form_->XScrollBar->maximum(), 360);
        QVERIFY(A("ShowVerticesMenu")->isChecked() && !A("ShowAxisMenu")->isChecked());
    }

    void menuTreeHasEveryEntryInOrder() {
        QStringList expected = {"&File",
                                "  &Open existing project",
                                "  S&ave Project",
                                "  &Close Project",
                                "  Clear All",
                                "  &Save project as...",
                                "  Write ASE file",
                                "    Just write ASE",
                                "    Write ASE and convert to 3DO",
                                "    Write ASE, Convert and start GPL",
                                "    Write ASE, Convert and start Viewer",
                                "  &Write 3DO file",
                                "  Display All Project Contents",
                                "  &Print Project Data",
                                "  Options",
                                "  E&xit",
                                "&Geometry",
                                "  &Create/Add/Delete vertices manually",
                                "  Create Interpolated Vertex",
                                "  &Import Geometry from....",
                                "    Vertex Text file",
                                "    DXF file",
                                "    3DOText (Vertices && Polygons)",
                                "    Mesh File (OBJ, STL, PLY, glTF, 3DS, ...)",
                                "  Export Geometry to....",
                                "    Vertex Text file",
                                "    DXF R12 file",
                                "      Vertices only",
                                "      Vertices && Lines",
                                "      Vertices && Lines && Polygons",
                                "    3DOText (Vertices && Polygons)",
                                "    Mesh File (OBJ)",
                                "  Add Data From Another Project",
                                "  Remove Double Vertices",
                                "&Visual Elements",
                                "  Lines",
                                "  Polygons",
                                "  Assign Textures to Polygons",
                                "  Load && Remove Textures",
                                "  Check Texture-specific Background Colors on Polygons",
                                "&Modify",
                                "  Rotate Vertices",
                                "  Move Vertices",
                                "  Mirror Vertices",
                                "  Scale Vertices",
                                "  Center All Vertices",
                                "  Copy Polygon",
                                "  Move Polygon",
                                "View Options",
                                "  Show Axis",
                                "  Show Vertices",
                                "  Show Lines",
                                "  Show Polygons",
                                "  Show Textures",
                                "  Show Planes (hidden)",
                                "  Show Normals (hidden)",
                                "Misc.",
                                "  Project Description",
                                "  Set Object Visibility within GPL",
                                "  Set Collision Type",
                                "  Create Subsequent Visualization Lines",
                                "  Remove Visualization Lines",
                                "  Convert Visualization Lines to 3DO Line Objects",
                                "  Add Interpolated Vertices",
                                "  Start GPL",
                                "  Start 3DO- Viewer Application",
                                "  Start User-Defined Program",
                                "&Help",
                                "  &Online Help",
                                "  Local Help",
                                "  &About Meshforge"};
        QCOMPARE(MenuTree(form_->menuBar()), expected);
        QVERIFY(!On("WriteASEViewerMenu"));
        QVERIFY(!On("Write3DOMenu"));
        QCOMPARE(A("OpenMenu")->shortcut(), QKeySequence(QKeySequence::Open));
        QCOMPARE(A("SaveMenu")->shortcut(), QKeySequence(QKeySequence::Save));
        QCOMPARE(A("ExitMenu")->shortcut(), QKeySequence(QKeySequence::Quit));
    }

    void toolBarHintsInOrder() {
        QStringList hints;
        for (QAction* a : form_->ToolBar1->actions())
            if (!a->isSeparator())
                hints << a->toolTip();
        QCOMPARE(hints, (QStringList{"Open existing project",
                                     "Save Project",
                                     "Close Project",
                                     "Save project as...",
                                     "Write ASE file",
                                     "Write 3DO file",
                                     "Create/Add/Delete vertices manually",
                                     "Create Line(s)",
                                     "Create Polygon(s)",
                                     "Load & Remove Texture(s)",
                                     "Assign Texture(s) To Polygon(s)",
                                     "Move Vertices",
                                     "Mirror Vertices",
                                     "Scale Vertices",
                                     "Center Vertices",
                                     "Copy Polygon(s)",
                                     "Move Polygon(s)",
                                     "Start GPL",
                                     "Start 3DO- Viewer Application",
                                     "Start User-Defined Program"}));
        QVERIFY(!On("Write3DOToolButton"));
    }

    void enableRulesFollowOpenAndClose() {
        Idle();
        for (const char* off : {"CloseMenu", "CloseToolButton", "SaveAsMenu", "SaveAsToolButton",
                                "WriteASEToolButton", "CreateLineToolButton", "AssignTexToolButton",
                                "ClearAllMenu", "PrintMenu", "ContentsMenu", "SaveMenu"})
            QVERIFY2(!On(off), off);
        for (const char* on : {"OpenToolButton", "SaveToolButton", "VertexToolButton",
                               "TexturesToolButton", "GPLStartToolButton"})
            QVERIFY2(On(on), on);

        std::string path = WriteExample(*dir_, "gui.3dp");
        fake_.openAnswers = {path};
        form_->Action("OpenMenu")->trigger();
        Idle();
        QCOMPARE(form_->CurrentProject().Vertices.size(), std::size_t(4));
        QCOMPARE(form_->ViewWindow->windowTitle(), QString("gui.3dp"));
        for (const char* on :
             {"CloseMenu", "CloseToolButton", "SaveAsMenu", "SaveAsToolButton", "SaveMenu",
              "WriteASEToolButton", "CreateLineToolButton", "CreatePolygonToolButton",
              "MoveAllToolButton", "CenterAllToolButton", "AssignTexToolButton",
              "CopyPolyToolButton", "ClearAllMenu", "PrintMenu", "ContentsMenu"})
            QVERIFY2(On(on), on);
        QVERIFY(form_->Menu("WriteASEMenu")->menuAction()->isEnabled());
        QCOMPARE(form_->Menu("ImportMenu")->title(),
                 QString("&Import additional Geometry from...."));
        QCOMPARE(form_->LogMemo->Lines().back(), std::string("GUI test object"));

        // Menu-open rules are applied when a top-level menu is about to show.
        emit form_->Menu("MiscMenu")->aboutToShow();
        QVERIFY(On("CollisionMenu") && On("CreateVisLinesMenu") && On("AddInterpolMenu"));
        emit form_->Menu("VisualMenu")->aboutToShow();
        QVERIFY(On("LinesMenu") && On("AssignTexMenu") && On("CheckBackColorsMenu"));

        fake_.answers = {Answer::No};
        form_->Action("CloseMenu")->trigger();
        Idle();
        QCOMPARE(fake_.questions.back().text, std::string("Save project data ?"));
        QCOMPARE(form_->LogMemo->Lines().back(), std::string("Project Closed !"));
        QCOMPARE(form_->ViewWindow->windowTitle(), QString("New Project"));
        for (const char* off : {"CloseMenu", "SaveMenu", "SaveAsMenu", "WriteASEToolButton",
                                "CreateLineToolButton", "AssignTexToolButton", "ClearAllMenu"})
            QVERIFY2(!On(off), off);
        emit form_->Menu("GeometryMenu")->aboutToShow();
        QVERIFY(!On("AddDataMenu") && !form_->Menu("ExportMenu")->menuAction()->isEnabled());
        QCOMPARE(form_->Menu("ImportMenu")->title(), QString("&Import Geometry from...."));
    }

    void guardsShowTheirMessageAndDoNothingElse() {
        A("LinesMenu")->trigger();
        A("CreatePolygonToolButton")->trigger(); // disabled: no message
        A("PolygonsMenu")->trigger();
        A("PrintMenu")->trigger(); // disabled while there are no vertices: no message
        QVERIFY(!On("PrintMenu"));
        A("CopyPolyMenu")->trigger();
        A("ExportDXFLinesMenu")->trigger();
        QCOMPARE(fake_.messages, (std::vector<std::string>{
                                     "Not enough Vertices defined", "Not enough Vertices defined",
                                     "Draw Polygons first !", "No Lines defined !"}));
    }

    void recentEntriesSitBetweenOptionsAndExit() {
        std::string a = WriteExample(*dir_, "a.3dp"), b = WriteExample(*dir_, "b.3dp");
        fake_.openAnswers = {a, b};
        fake_.answers = {Answer::No};
        form_->Action("OpenMenu")->trigger();
        form_->Action("OpenMenu")->trigger();
        QStringList file;
        Walk(form_->Menu("FileMenu"), "", file);
        int options = int(file.indexOf("Options"));
        QCOMPARE(file.mid(options + 1, 3),
                 (QStringList{QString::fromStdString(b), QString::fromStdString(a), "E&xit"}));

        // Choosing the older entry opens it again (after Close's question) and moves it up.
        fake_.answers = {Answer::No};
        A("RecentFile1")->trigger();
        QCOMPARE(form_->CurrentProject().ProjectFileName, a);
        QCOMPARE(A("RecentFile0")->data().toString(), QString::fromStdString(a));
        QVERIFY(!form_->findChild<QAction*>("RecentFile2"));
    }

    void exitWithCancelKeepsRunningAndExitStoresRecentFiles() {
        std::string a = WriteExample(*dir_, "keep.3dp");
        fake_.openAnswers = {a};
        form_->Action("OpenMenu")->trigger();
        fake_.answers = {Answer::Cancel};
        QVERIFY(!form_->close());
        QVERIFY(form_->isVisible());
        QCOMPARE(form_->CurrentProject().Vertices.size(), std::size_t(4));

        fake_.answers = {Answer::No};
        QVERIFY(form_->close());
        SettingsFile stored(SettingsFile::PathFor(Folder(*dir_)));
        QCOMPARE(stored.LoadRecentFiles().Paths(), std::vector<std::string>{a});
    }

    void droppedProjectOpensAfterClosesQuestion() {
        std::string a = WriteExample(*dir_, "drop.3dp");
        form_->CurrentProject().Vertices = {{1, 1, 1}};
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(a))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(form_.get(), &enter);
        QVERIFY(enter.isAccepted());
        fake_.answers = {Answer::Cancel};
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(form_.get(), &drop);
        QCOMPARE(form_->CurrentProject().Vertices.size(), std::size_t(1)); // cancelled

        fake_.answers = {Answer::No};
        // Every drop comes with its own drag.
        QDragEnterEvent enterAgain(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(form_.get(), &enterAgain);
        QDropEvent again(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(form_.get(), &again);
        QCOMPARE(fake_.questions.size(), std::size_t(2));
        QCOMPARE(form_->CurrentProject().ProjectFileName, a);

        QMimeData other;
        other.setUrls({QUrl::fromLocalFile("/tmp/picture.bmp")});
        QDragEnterEvent refuse(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, {});
        refuse.setAccepted(false);
        QCoreApplication::sendEvent(form_.get(), &refuse);
        QVERIFY(!refuse.isAccepted());
    }

    void commandLineProjectOpensOnTheFirstPaint() {
        std::string a = WriteExample(*dir_, "cmd.3dp");
        form_.reset();
        editor_ = std::make_unique<Editor>(Folder(*dir_));
        form_ = std::make_unique<TMainForm>(*editor_, std::vector<std::string>{a});
        form_->UiPort().SetPrompts(&fake_);
        QCOMPARE(form_->CurrentProject().Vertices.size(), std::size_t(0));
        form_->show();
        QTRY_COMPARE_WITH_TIMEOUT(form_->CurrentProject().Vertices.size(), std::size_t(4),
                                  kGuiWaitMs);
        QCOMPARE(form_->ViewWindow->windowTitle(), QString("cmd.3dp"));
        QVERIFY(!form_->CurrentSession().StartupOpenPending);
    }

    void logPopupSavesAndClears() {
        fake_.saveAnswers = {Folder(*dir_) + "run.log"};
        form_->LogMemo->SaveAsLogFileClick();
        QCOMPARE(ReadWholeFile(Folder(*dir_) + "run.log"),
                 std::string("\r\nMeshforge v1.25\r\nSee Tool Tips for some more Information\r\n"));
        form_->LogMemo->CopyLogToClipboardClick();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("\nMeshforge v1.25\nSee Tool Tips for some more Information"));
        form_->LogMemo->ClearAllClick();
        QVERIFY(form_->LogMemo->Lines().empty());
        QVERIFY(form_->LogMemo->toPlainText().isEmpty());
    }

    void viewClearsToTheBackgroundAndReportsItsContext() {
        Project& p = form_->CurrentProject();
        SetBackgroundColor(p.Options, "$00FF0000"); // blue
        form_->ViewForm->Redraw();
        QImage frame = form_->ViewForm->grabFramebuffer();
        QCOMPARE(frame.pixelColor(frame.width() / 2, frame.height() / 2).rgb(),
                 QColor(0, 0, 255).rgb());
        gui::ViewProbe probe = form_->ViewForm->Probe();
        QVERIFY(!probe.Renderer.empty() && !probe.Vendor.empty() && !probe.Version.empty());
        QVERIFY(probe.Extensions.find("GL_") != std::string::npos);
        QCOMPARE(probe.Width, form_->ViewForm->width());
        QVERIFY(form_->ViewForm->context()->format().profile() != QSurfaceFormat::CoreProfile);
    }

    void aboutBoxReportsTheRealView() {
        form_->ViewWindow->showNormal();
        form_->ViewWindow->resize(321, 234);
        QTRY_VERIFY_WITH_TIMEOUT(form_->ViewForm->width() < 321,
                                 kGuiWaitMs); // the client area inside the frame
        form_->AboutBox->show();
        QStringList lines = form_->AboutBox->SysMemo->toPlainText().split('\n');
        form_->AboutBox->hide();
        qsizetype size = lines.indexOf("Current Dimensions of View Window:");
        QVERIFY(size >= 0);
        QCOMPARE(lines[size + 1],
                 QString("%1/%2").arg(form_->ViewForm->width()).arg(form_->ViewForm->height()));
        qsizetype renderer = lines.indexOf("Renderer:");
        QVERIFY(renderer >= 0);
        QCOMPARE(lines[renderer + 1].toStdString(), form_->ViewForm->Probe().Renderer);
    }

    void rotateButtonsTurnTheCameraAndPresetsResetIt() {
        ViewOptions& o = form_->CurrentProject().Options;
        QTest::mouseClick(form_->ZRotateButton, Qt::LeftButton);
        QVERIFY(!form_->ZScrollBar->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(o.RotationZ > 5, kGuiWaitMs);
        QTest::mouseClick(form_->ZRotateButton, Qt::LeftButton);
        QVERIFY(form_->ZScrollBar->isEnabled());
        const int angle = o.RotationZ;
        QCoreApplication::processEvents();
        QCOMPARE(o.RotationZ, angle); // stopped
        QCOMPARE(form_->ZScrollBar->value(), std::min(angle, 360));

        form_->ViewForm->PresetClick(ViewKind::Custom);
        QCOMPARE(o.RotationZ, 45);
        QCOMPARE(o.Zoom, 45);
        QCOMPARE(form_->ZoomScrollBar->value(), 45);
        QCOMPARE(form_->ZScrollBar->value(), 0);
        o.PanX = 8;
        form_->ViewForm->PresetClick(ViewKind::Top);
        QCOMPARE(o.Zoom, 70);
        QCOMPARE(o.RotationZ, 0);
        QCOMPARE(o.PanX, 8); // Reset View leaves the pan
        QVERIFY(form_->ViewForm->Camera().Kind == ViewKind::Top);
    }

    QPoint OnScreen(const Vertex& v) {
        return test::OnScreen(form_->ViewForm, form_->CurrentProject(), v);
    }

    void lineCreatedByPickingInTheView() {
        Project& p = form_->CurrentProject();
        p.Vertices = {{-20, 0, 0}, {20, 0, 0}};
        p.HasGeometry = p.GeometryShown = true;
        UpdateBoundingBox(p);
        form_->ViewForm->PresetClick(ViewKind::Top);
        p.Options.Perspective = false;
        p.Options.Zoom = 10;
        p.Options.VertexDisplaySize = 15;
        fake_.colorAnswers = {0x000000FF}; // red
        fake_.newLineAnswers = {NextElement::Stop};

        A("LinesMenu")->trigger();
        QVERIFY(form_->LineForm->isVisible());
        QTest::mouseClick(form_->LineForm->AddLineButton, Qt::LeftButton);
        QVERIFY(!form_->LineForm->isVisible());
        QCOMPARE(form_->ViewForm->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(form_->ViewForm, Qt::LeftButton, {}, QPoint(2, 2)); // empty space
        QTest::mouseClick(form_->ViewForm, Qt::LeftButton, {}, OnScreen(p.Vertices[0]));
        QTest::mouseClick(form_->ViewForm, Qt::LeftButton, {}, OnScreen(p.Vertices[0]));
        QTest::mouseClick(form_->ViewForm, Qt::LeftButton, {}, OnScreen(p.Vertices[1]));

        QCOMPARE(p.Lines.size(), std::size_t(1));
        QCOMPARE(p.Lines[0].VertexIndices, (std::vector<int32_t>{0, 1}));
        QCOMPARE(p.Lines[0].Color, (ColorTriple{1, 0, 0}));
        const auto& log = form_->LogMemo->Lines();
        QVERIFY(std::find(log.begin(), log.end(), "Oops, nothing Selected !") == log.end());
        QCOMPARE(fake_.beeps, 2); // empty space and the first vertex again, with sound on
        QVERIFY(std::find(log.begin(), log.end(), "Line No. 1 created, using vertices 0 and 1") !=
                log.end());
        QVERIFY(form_->LineForm->isVisible()); // "Stop" shows the window again
        QCOMPARE(form_->LineForm->LineListBox->model()->index(0, 0).data().toString(),
                 QString("0  :  0,1"));
        QCOMPARE(form_->ViewForm->cursor().shape(), Qt::ArrowCursor);
    }

    void polygonsByPickingByTypingAndRepicked() {
        Project& p = form_->CurrentProject();
        p.Vertices = {{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}, {-20, 20, 0}};
        p.HasGeometry = p.GeometryShown = true;
        UpdateBoundingBox(p);
        form_->ViewForm->PresetClick(ViewKind::Top);
        p.Options.Perspective = false;
        p.Options.Zoom = 10;
        p.Options.VertexDisplaySize = 15;
        auto click = [&](int v) {
            QTest::mouseClick(form_->ViewForm, Qt::LeftButton, {}, OnScreen(p.Vertices[v]));
        };
        auto logged = [&](const std::string& line) {
            const auto& log = form_->LogMemo->Lines();
            return std::find(log.begin(), log.end(), line) != log.end();
        };

        // Picked: three corners and the first again closes the ring.
        A("PolygonsMenu")->trigger();
        gui::TPolygonform* window = form_->PolygonForm;
        QVERIFY(window->isVisible());
        fake_.answers = {Answer::Yes};
        fake_.newPolygonAnswers = {NextElement::Stop};
        QTest::mouseClick(window->FlatButton, Qt::LeftButton);
        QCOMPARE(fake_.questions.back().text, std::string("Pick vertices with the mouse?"));
        QVERIFY(!window->isVisible());
        for (int v : {0, 1, 2, 0})
            click(v);
        QCOMPARE(p.Polygons.size(), std::size_t(1));
        QCOMPARE(p.Polygons[0].VertexIndices, (std::vector<int32_t>{0, 1, 2, 0}));
        QVERIFY(logged("Polygon No. 1 created, using vertices 0, 1, 2, 0"));
        QVERIFY(window->isVisible()); // "Stop" brings the window back

        // Typed: 3, 1, 2 and "Close Polygon".
        fake_.answers = {Answer::No};
        QTimer::singleShot(0, this, [this] {
            gui::TManVForm* manual = form_->ManVForm;
            for (const char* n : {"3", "1", "2"}) {
                manual->VertexComboBox->setEditText(n);
                manual->AddButton->click();
            }
            QCOMPARE(manual->Label1->text(), QString("Vertex No. 4 = "));
            manual->CloseButton->click();
        });
        QTest::mouseClick(window->FlatButton, Qt::LeftButton);
        QCOMPARE(p.Polygons.size(), std::size_t(2));
        QCOMPARE(p.Polygons[1].VertexIndices, (std::vector<int32_t>{3, 1, 2, 3}));
        QCOMPARE(window->PolyListBox->model()->index(1, 0).data().toString(),
                 QString("1  :  None  3, 1, 2"));

        // Re-picked: polygon 0 gets three new corners.
        window->PolyListBox->selectionModel()->select(window->PolyListBox->model()->index(0, 0),
                                                      QItemSelectionModel::Select);
        window->PolyListBoxClick();
        QTest::mouseClick(window->EditButton, Qt::LeftButton);
        QVERIFY(window->VertButton->isEnabled());
        fake_.answers = {Answer::Yes};
        QTest::mouseClick(window->VertButton, Qt::LeftButton);
        for (int v : {3, 2, 1})
            click(v);
        QCOMPARE(p.Polygons[0].VertexIndices, (std::vector<int32_t>{3, 2, 1, 3}));
        QVERIFY(logged("Polygon No. 0 redefined."));
        QVERIFY(window->isVisible());
    }

    void dxfImportThroughTheScanDialog() {
        // Three POINTs, one of them twice, and a LINE: the user picks the POINT choice.
        std::string dxf = Folder(*dir_) + "points.dxf";
        std::string text = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
        for (auto [x, y] : {std::pair{"1.5", "2"}, std::pair{"-3", "4"}, std::pair{"1.5", "2"}})
            text += std::string("0\r\nPOINT\r\n8\r\n0\r\n 10\r\n") + x + "\r\n 20\r\n" + y +
                    "\r\n 30\r\n0\r\n";
        text +=
            "0\r\nLINE\r\n 10\r\n0\r\n 20\r\n0\r\n 30\r\n0\r\n 11\r\n1\r\n 21\r\n1\r\n 31\r\n1\r\n";
        text += "0\r\nENDSEC\r\n0\r\nEOF\r\n";
        WriteFileAtomically(dxf, text);
        fake_.openAnswers = {dxf};
        QTimer::singleShot(0, this, [this] {
            gui::TScanForm* scan = form_->ScanForm;
            QCOMPARE(scan->windowTitle(), QString("Scanning file 'points.dxf'"));
            QCOMPARE(scan->PRadioButton->text(), QString("3 POINT objects in DXF"));
            QVERIFY(!scan->VRadioButton->isEnabled());
            scan->OKButton->click(); // nothing chosen: refused, still open
            QTest::mouseClick(scan->PRadioButton, Qt::LeftButton);
            scan->OKButton->click();
        });
        A("ImportDXFMenu")->trigger();
        QCOMPARE(fake_.openDialogs.back().Title, std::string("Open AutoCAD R12 DXF File"));
        QCOMPARE(fake_.messages, std::vector<std::string>{"Select objects to import!"});
        const Project& p = form_->CurrentProject();
        QCOMPARE(p.Vertices.size(), std::size_t(2));
        QCOMPARE(p.Vertices[1].X, -3.0f);
        QVERIFY(p.Lines.empty());
        QVERIFY(p.HasGeometry && p.GeometryShown);
        const auto& log = form_->LogMemo->Lines();
        QVERIFY(std::find(log.begin(), log.end(), "2 valid Vertices loaded from file " + dxf) !=
                log.end());
        QCOMPARE(log.back(), std::string("No overlaying/double Vertices in project"));
        QCOMPARE(form_->Menu("ImportMenu")->title(),
                 QString("&Import additional Geometry from...."));
    }

    void meshFileImportedAndExportedThroughTheMenus() {
        // A quad and a triangle on five corners, the triangle's two shared corners written
        // again: they join the quad's.
        const std::string obj = Folder(*dir_) + "strip.obj";
        WriteFileAtomically(obj, "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 2 0\nv 0 1 0\n"
                                 "v 1 1 0\nf 1 2 3 4\nf 6 7 5\n");
        fake_.openAnswers = {obj};
        A("ImportMeshMenu")->trigger();
        QCOMPARE(fake_.openDialogs.back().Title, std::string("Open Mesh File"));
        const Project& p = form_->CurrentProject();
        QCOMPARE(p.Vertices.size(), std::size_t(5));
        QCOMPARE(p.Polygons.size(), std::size_t(2));
        QCOMPARE(p.Polygons[0].VertexIndices, (std::vector<int32_t>{0, 1, 2, 3, 0}));
        QVERIFY(p.HasGeometry && p.GeometryShown);
        const auto& log = form_->LogMemo->Lines();
        QVERIFY(std::find(log.begin(), log.end(), "2 valid Polygons loaded from file " + obj) !=
                log.end());

        // Added again: the Offset New Vertices dialog moves the copy apart.
        fake_.openAnswers = {obj};
        fake_.offsetAnswers = {Offset3{10, 0, 0}};
        A("ImportMeshMenu")->trigger();
        QCOMPARE(fake_.offsetDialogs, 1);
        QCOMPARE(p.Vertices.size(), std::size_t(10));
        QCOMPARE(p.Vertices[5].X, 10.0f);

        const std::string out = Folder(*dir_) + "out.obj";
        fake_.saveAnswers = {out};
        A("ExportMeshMenu")->trigger();
        QCOMPARE(form_->LogMemo->Lines().back(), "10 Vertices and 4 Polygons saved to file " + out);
        QVERIFY(std::filesystem::exists(Folder(*dir_) + "out.mtl"));
    }

    void largeDxfShowsProgressWhileScannedAndImported() {
        std::string dxf = Folder(*dir_) + "large.dxf";
        std::string text = "0\nSECTION\n2\nENTITIES\n";
        const int points = 500000;
        for (int i = 0; i < points; ++i)
            text += "0\nPOINT\n8\n0\n 10\n" + std::to_string(i) + "\n 20\n0.5\n 30\n0.25\n";
        text += "0\nENDSEC\n0\nEOF\n";
        QVERIFY(text.size() > (16u << 20));
        WriteFileAtomically(dxf, text);
        fake_.openAnswers = {dxf};
        // Every turn of the event loop notes the progress dialogs on screen.
        QStringList seen;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&seen] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QProgressDialog*>(w);
                    box && box->isVisible() && !seen.contains(box->labelText()))
                    seen << box->labelText();
        });
        watch.start(0);
        // The scan's progress turns the event loop too, so wait for the dialog to be shown.
        std::function<void()> choose = [this, &choose] {
            gui::TScanForm* scan = form_->ScanForm;
            if (!scan->isVisible()) {
                QTimer::singleShot(1, this, choose);
                return;
            }
            QTest::mouseClick(scan->PRadioButton, Qt::LeftButton);
            scan->OKButton->click();
        };
        QTimer::singleShot(0, this, choose);
        // The frame after the import draws half a million vertices at the size Zoom All gives
        // a file this wide, which has cost Mesa's software renderer over a minute of CPU
        // whenever the view was exposed at that moment (likely on a loaded machine). The
        // progress is what is tested here, so the view is hidden and draws nothing.
        form_->ViewWindow->hide();
        A("ImportDXFMenu")->trigger();
        watch.stop();
        QVERIFY(seen.contains(QString::fromStdString("Scanning " + dxf)));
        QVERIFY(seen.contains(QString::fromStdString("Importing " + dxf)));
        QCOMPARE(form_->CurrentProject().Vertices.size(), std::size_t(points));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QProgressDialog*>(w) || !w->isVisible());
    }

    void cameraBarsKeepTheirValuesAndHints() {
        form_->XScrollBar->setValue(45);
        form_->ZoomScrollBar->setValue(120);
        QCOMPARE(form_->CurrentProject().Options.RotationX, 45);
        QCOMPARE(form_->CurrentProject().Options.Zoom, 120);
        QCOMPARE(form_->XScrollBar->toolTip(), QString::fromUtf8("X-Rotation: 45\xC2\xB0"));
        QCOMPARE(form_->ZoomScrollBar->toolTip(), QString("Zoom-Ratio: 120"));
        QTest::mouseClick(form_->YRotateButton, Qt::LeftButton);
        QVERIFY(form_->YRotateButton->isChecked() && !form_->XRotateButton->isChecked());
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
