// The editor windows as a user meets them: closing them every way, their place after a pick,
// typed vertex numbers, the buttons after a lifecycle command, the view's drag, the file
// dialog's filters, and a program that ends on Exit whatever windows are open.
#include "fake_ui.h"
#include "gui/app/editor_args.h"
#include "gui/app/main_form.h"
#include "gui/app/qt_ui.h"
#include "gui/edit/line_form.h"
#include "gui/edit/man_v_form.h"
#include "gui/edit/polygon_form.h"
#include "gui/edit/vertex_form.h"
#include "gui/view/view_form.h"
#include "keep_gl_driver.h"
#include "util/app_folder.h"
#include "view/camera.h"
#include "view_point.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <functional>

using namespace meshforge;
using meshforge::gui::TMainForm;
using meshforge::test::FakeUi;

namespace {

std::string Folder(const QTemporaryDir& dir) {
    return QDir::toNativeSeparators(dir.path()).toStdString() + "/";
}

void GiveVertices(Project& p) {
    p.Vertices = {{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}, {-20, 20, 0}};
    p.HasGeometry = p.GeometryShown = true;
    UpdateBoundingBox(p);
}

// Runs `check` on the next modal dialog or menu once it is up, then closes it with Esc.
void WhenModalShows(const std::function<void(QWidget*)>& check) {
    QTimer::singleShot(50, [check] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            modal = QApplication::activePopupWidget();
        if (!modal)
            return WhenModalShows(check);
        check(modal);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
}

// The exit scenario, run in a process of its own: every tool window opened, then Exit.
int RunExitScenario(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Editor editor(Folder(dir));
    TMainForm form(editor, {});
    FakeUi fake;
    form.UiPort().SetPrompts(&fake);
    form.show();
    GiveVertices(form.CurrentProject());
    QTimer::singleShot(0, &form, [&] {
        for (const char* entry : {"VertexMenu", "LinesMenu", "PolygonsMenu"})
            form.Action(entry)->trigger();
        fake.answers = {Answer::No}; // "Save project data ?"
        form.Action("ExitMenu")->trigger();
    });
    return app.exec();
}

} // namespace

class ToolWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_; // each case has its own program folder
    FakeUi fake_;
    std::unique_ptr<Editor> editor_; // outlives the window, as in the program
    std::unique_ptr<TMainForm> form_;

    Project& P() { return form_->CurrentProject(); }
    QPoint OnScreen(const Vertex& v) { return test::OnScreen(form_->ViewForm, P(), v); }
    void TopView() {
        form_->ViewForm->PresetClick(ViewKind::Top);
        P().Options.Perspective = false;
        P().Options.Zoom = 10;
        P().Options.VertexDisplaySize = 15;
    }

  private slots:
    void init() {
        fake_ = FakeUi{};
        dir_ = std::make_unique<QTemporaryDir>();
        editor_ = std::make_unique<Editor>(Folder(*dir_));
        form_ = std::make_unique<TMainForm>(*editor_, std::vector<std::string>{});
        form_->UiPort().SetPrompts(&fake_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        GiveVertices(P());
    }
    void cleanup() {
        P().Vertices.clear();
        form_.reset();
        fake_.Verify();
        dir_.reset();
    }

    void everyToolWindowClosesFromItsButtonEscAndTheCloseBox() {
        struct Window {
            const char* entry;
            QDialog* (*window)(TMainForm&);
            QPushButton* (*close)(TMainForm&);
        };
        const Window windows[] = {
            {"VertexMenu", [](TMainForm& f) -> QDialog* { return f.VertexForm; },
             [](TMainForm& f) { return f.VertexForm->CloseVertexButton; }},
            {"LinesMenu", [](TMainForm& f) -> QDialog* { return f.LineForm; },
             [](TMainForm& f) { return f.LineForm->CloseLineButton; }},
            {"PolygonsMenu", [](TMainForm& f) -> QDialog* { return f.PolygonForm; },
             [](TMainForm& f) { return f.PolygonForm->ExitPolygonButton; }},
        };
        const std::function<void(QDialog*, QPushButton*)> ways[] = {
            [](QDialog*, QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); },
            [](QDialog* window, QPushButton*) { QTest::keyClick(window, Qt::Key_Escape); },
            [](QDialog* window, QPushButton*) {
                QCloseEvent closeBox; // what the window manager's close box sends
                QApplication::sendEvent(window, &closeBox);
            },
        };
        for (const Window& w : windows)
            for (int way = 0; way < 3; ++way) {
                form_->Action(w.entry)->trigger();
                QDialog* window = w.window(*form_);
                QVERIFY2(window->isVisible(), w.entry);
                ways[way](window, w.close(*form_));
                QVERIFY2(!window->isVisible(),
                         qPrintable(QString("%1, way %2").arg(w.entry).arg(way)));
            }
    }

    // This test program run again in a process of its own on one of the scenarios below.
    static bool RunScenario(const char* variable, QProcess& self) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(variable, "1");
        self.setProcessEnvironment(env);
        self.start(QCoreApplication::applicationFilePath(), {});
        const bool ended = self.waitForFinished(60000);
        if (!ended)
            self.kill();
        return ended;
    }

    void exitEndsTheProgramWithEveryWindowOpen() {
        QProcess self;
        QVERIFY2(RunScenario("MESHFORGE_EXIT_SCENARIO", self), "the program still runs after Exit");
        QCOMPARE(self.exitStatus(), QProcess::NormalExit);
        QCOMPARE(self.exitCode(), 0);
    }

    void aMisspeltEntryNameEndsTheProgramWithItsName() {
        QProcess self;
        QVERIFY(RunScenario("MESHFORGE_MISSPELT_ENTRY", self));
        QVERIFY(self.exitStatus() == QProcess::CrashExit || self.exitCode() != 0);
        QVERIFY(self.readAllStandardError().contains("OpenMenuu"));
    }

    void aWindowHiddenForAPickComesBackWhereTheUserLeftIt() {
        TopView();
        form_->Action("LinesMenu")->trigger();
        gui::TLineform* window = form_->LineForm;
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Moved as a window manager moves it, not by the program.
        const QPoint place(37, 41);
        window->windowHandle()->setFramePosition(place);
        QTRY_COMPARE(window->frameGeometry().topLeft(), place);
        fake_.colorAnswers = {std::nullopt};
        fake_.newLineAnswers = {NextElement::Stop};
        QTest::mouseClick(window->AddLineButton, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        for (int v : {0, 1})
            QTest::mouseClick(form_->ViewForm, Qt::LeftButton, {}, OnScreen(P().Vertices[v]));
        QCOMPARE(P().Lines.size(), std::size_t(1));
        QVERIFY(window->isVisible());
        QTRY_COMPARE(window->frameGeometry().topLeft(), place);
    }

    void typedAndChosenVertexNumbersAreTaken() {
        gui::TManVForm* manual = form_->ManVForm;
        form_->Action("PolygonsMenu")->trigger();
        QVERIFY(form_->PolygonForm->FlatButton->isEnabled());
        // Each way of entering a number: typed and "Add Vertex", typed and Return, chosen
        // from the drop-down list and "Add Vertex".
        const std::function<void(int)> ways[] = {
            [manual](int n) {
                QTest::keyClicks(manual->VertexComboBox->lineEdit(), QString::number(n));
                QTest::mouseClick(manual->AddButton, Qt::LeftButton);
            },
            [manual](int n) {
                QTest::keyClicks(manual->VertexComboBox->lineEdit(), QString::number(n));
                QTest::keyClick(manual->VertexComboBox->lineEdit(), Qt::Key_Return);
            },
            [manual](int n) {
                manual->VertexComboBox->showPopup();
                QAbstractItemView* list = manual->VertexComboBox->view();
                const QModelIndex row = list->model()->index(n, 0);
                list->scrollTo(row);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualRect(row).center());
                QCOMPARE(manual->VertexComboBox->currentText(), QString::number(n));
                QTest::mouseClick(manual->AddButton, Qt::LeftButton);
            },
        };
        for (int way = 0; way < 3; ++way) {
            const std::size_t before = P().Polygons.size();
            QStringList labels;
            QTimer::singleShot(0, this, [&] {
                for (int n : {3, 0, 2}) {
                    ways[way](n);
                    labels << manual->Label1->text();
                }
                QTest::mouseClick(manual->CloseButton, Qt::LeftButton);
            });
            fake_.answers = {Answer::No}; // typed, not picked
            QTest::mouseClick(form_->PolygonForm->FlatButton, Qt::LeftButton);
            QVERIFY2(fake_.messages.empty(),
                     fake_.messages.empty() ? "" : fake_.messages[0].c_str());
            QCOMPARE(labels,
                     (QStringList{"Vertex No. 2 = ", "Vertex No. 3 = ", "Vertex No. 4 = "}));
            QCOMPARE(P().Polygons.size(), before + 1);
            QCOMPARE(P().Polygons.back().VertexIndices, (std::vector<int32_t>{3, 0, 2, 3}));
        }
        // A number past the list is still refused.
        QTimer::singleShot(0, this, [&] {
            QTest::keyClicks(manual->VertexComboBox->lineEdit(), "4");
            QTest::mouseClick(manual->AddButton, Qt::LeftButton);
            QTest::mouseClick(manual->CancelButton, Qt::LeftButton);
        });
        fake_.answers = {Answer::No};
        QTest::mouseClick(form_->PolygonForm->FlatButton, Qt::LeftButton);
        QCOMPARE(fake_.messages, std::vector<std::string>{"Not a valid Vertex number !"});
    }

    void buttonsFollowTheListsAfterLifecycleCommandsAndEdits() {
        P().Lines.push_back({{0.5f, 0.5f, 0.5f}, {0, 1}, kUntextured, {}});
        P().Polygons.push_back({{0.5f, 0.5f, 0.5f}, {0, 1, 2, 0}, kUntextured, {}});
        for (const char* entry : {"VertexMenu", "LinesMenu", "PolygonsMenu"})
            form_->Action(entry)->trigger();
        gui::TLineform* lines = form_->LineForm;
        gui::TPolygonform* polygons = form_->PolygonForm;
        gui::TVertexform* vertices = form_->VertexForm;
        QVERIFY(lines->RemoveAllButton->isEnabled());
        QVERIFY(polygons->RemoveAllPolyButton->isEnabled());

        // Undo with nothing selected: nothing to remove.
        vertices->VertexListBox->selectionModel()->select(
            vertices->VertexListBox->model()->index(3, 0), QItemSelectionModel::Select);
        vertices->VertexListBoxClick();
        QVERIFY(vertices->RemoveVertexButton->isEnabled());
        QTest::mouseClick(vertices->RemoveVertexButton, Qt::LeftButton);
        QTest::mouseClick(vertices->UndoButton, Qt::LeftButton);
        QVERIFY(!vertices->RemoveVertexButton->isEnabled());

        form_->ApplyIdleRules();
        form_->Action("ClearAllMenu")->trigger();
        QVERIFY(P().Vertices.empty());
        for (QPushButton* b :
             {lines->AddLineButton, lines->RemoveLineButton, lines->EditButton,
              lines->RemoveAllButton, polygons->RemoveAllPolyButton, polygons->FlatButton,
              vertices->RemoveAllButton, vertices->RemoveVertexButton})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    }

    void theContextMenuEndsTheDrag() {
        gui::TViewForm* view = form_->ViewForm;
        P().Lines.push_back({{0.5f, 0.5f, 0.5f}, {0, 1}, kUntextured, {}});
        P().Options.ShowVertices = P().Options.VerticesVisible = true;
        bool menuSeen = false;
        WhenModalShows([&](QWidget* menu) { menuSeen = qobject_cast<QMenu*>(menu) != nullptr; });
        // On X11 the menu opens on the press and takes the release itself.
        QTest::mousePress(view, Qt::RightButton, {}, QPoint(100, 100));
        QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(100, 100),
                               view->mapToGlobal(QPoint(100, 100)));
        QApplication::sendEvent(view, &open);
        QVERIFY(menuSeen);
        QVERIFY(!view->Camera().Dragging);
        QVERIFY(P().Options.VerticesVisible);
        const int panX = P().Options.PanX;
        QTest::mouseMove(view, QPoint(300, 250));
        QCOMPARE(P().Options.PanX, panX); // the picture does not follow the pointer
    }

    void fileDialogsShowEachFilterOnce() {
        gui::QtUi real(form_.get());
        QStringList shown;
        WhenModalShows([&](QWidget* dialog) {
            if (auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo"))
                for (int i = 0; i < combo->count(); ++i)
                    shown << combo->itemText(i);
        });
        real.ChooseOpenFile(
            {"Open", {"Meshforge Project [*.3dp]|*.3dp", "AutoCAD R12 DXF [*.dxf]|*.dxf"}, 1, ""});
        QCOMPARE(shown, (QStringList{"Meshforge Project [*.3dp]", "AutoCAD R12 DXF [*.dxf]"}));
    }

    void startedWithAnAppFolderFromAnotherFolderOpensTheProject() {
        // The example copied with its bitmaps, started from a sibling folder by a relative path.
        QTemporaryDir tmp;
        QDir(tmp.path()).mkpath("project");
        QDir(tmp.path()).mkpath("elsewhere");
        QDir(tmp.path()).mkpath("app");
        for (const char* name : {"pavilion.3dp", "planks.bmp", "roof.bmp"})
            QVERIFY(QFile::copy(QString(MESHFORGE_EXAMPLES) + "/" + name,
                                tmp.path() + "/project/" + name));
        const QString before = QDir::currentPath();
        QDir::setCurrent(tmp.path() + "/elsewhere");
        int exitCode = -1;
        std::optional<gui::EditorArgs> args = gui::ParseEditorArguments(
            {"meshforge", "--app-folder", "../app", "../project/pavilion.3dp"}, exitCode);
        QDir::setCurrent(before);
        QVERIFY(args);
        const std::string project = (tmp.path() + "/project/pavilion.3dp").toStdString();
        QCOMPARE(args->Projects, std::vector<std::string>{project});
        QCOMPARE(ResolveAppFolder(args->AppFolder, ""), (tmp.path() + "/app/").toStdString());

        form_.reset();
        editor_ = std::make_unique<Editor>(ResolveAppFolder(args->AppFolder, ""));
        form_ = std::make_unique<TMainForm>(*editor_, args->Projects);
        form_->UiPort().SetPrompts(&fake_);
        form_->show();
        QTRY_COMPARE(P().ProjectFileName, project); // opened on the view's first paint
        QCOMPARE(P().Textures.size(), std::size_t(2));
        QVERIFY(fake_.bitmapPresets.empty()); // no bitmap to re-select
        QCOMPARE(fake_.messages, std::vector<std::string>{});
    }

    void theEditorPrintsItsOptions() {
        QProcess editor;
        editor.start(MESHFORGE_EDITOR, {"--help"});
        QVERIFY(editor.waitForFinished(30000));
        QCOMPARE(editor.exitCode(), 0);
        const QString help = editor.readAllStandardOutput();
        QVERIFY2(help.contains("--app-folder <DIR>") && help.contains("--version"),
                 qPrintable(help));
        editor.start(MESHFORGE_EDITOR, {"--version"});
        QVERIFY(editor.waitForFinished(30000));
        QCOMPARE(editor.readAllStandardOutput(), QByteArray("Meshforge v1.25\n"));
        editor.start(MESHFORGE_EDITOR, {"--no-such-option"});
        QVERIFY(editor.waitForFinished(30000));
        QCOMPARE(editor.exitCode(), 2);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("MESHFORGE_EXIT_SCENARIO"))
        return RunExitScenario(argc, argv);
    if (qEnvironmentVariableIsSet("MESHFORGE_MISSPELT_ENTRY")) {
        QApplication app(argc, argv);
        QTemporaryDir dir;
        Editor editor(Folder(dir));
        TMainForm form(editor, {});
        form.Action("OpenMenuu")->trigger(); // must not pass unnoticed
        return 0;
    }
    QApplication app(argc, argv);
    ToolWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tool_windows_test.moc"
