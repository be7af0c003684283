// The converter run from the editor's menu with a stand-in ase23doc.exe that sleeps: the editor
// keeps handling events, the write and launch commands are disabled meanwhile, and what
// follows the converter happens only on the Project it was started for.
#include "fake_ui.h"
#include "gui/app/log_panel.h"
#include "gui/app/main_form.h"
#include "keep_gl_driver.h"
#include "model/project_file.h"
#include "wait.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <algorithm>

using namespace meshforge;
using meshforge::gui::TMainForm;
using meshforge::test::FakeUi;

namespace {

std::string Folder(const QTemporaryDir& dir) {
    return dir.path().toStdString() + "/";
}

bool Logged(const TMainForm& f, const std::string& line) {
    const auto& lines = const_cast<TMainForm&>(f).LogMemo->Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

class OutputCommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    FakeUi fake_;
    std::unique_ptr<Editor> editor_;
    std::unique_ptr<TMainForm> form_;
    std::string project_, ase_, path3do_;

    QToolButton* ToolButton(const char* action) {
        for (QToolBar* bar : form_->findChildren<QToolBar*>())
            if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(form_->Action(action))))
                return b;
        return nullptr;
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        const std::string app = Folder(*dir_) + "app/";
        QDir().mkpath(QString::fromStdString(app));
        QFile script(QString::fromStdString(app + "ase23doc.exe"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/bin/sh\ntouch \"$(dirname \"$0\")/started\"\nsleep 2\nprintf 3DO > \"$2\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);

        Project p;
        p.Vertices = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
        p.Textures.push_back(
            {std::string(MESHFORGE_EXAMPLES) + "/planks.bmp", 0, "", 0, kUndeterminedBackColor});
        p.Polygons.push_back({{0.5f, 0.5f, 0.5f}, {0, 1, 2, 0}, 0, {{0, 0}, {1, 0}, {0, 1}}});
        project_ = p.ProjectFileName = Folder(*dir_) + "tree.3dp";
        ase_ = Folder(*dir_) + "tree.ase";
        path3do_ = Folder(*dir_) + "tree.3do";
        FakeUi quiet;
        WriteProject(p, SaveOptions{app}, quiet);

        fake_ = FakeUi{};
        editor_ = std::make_unique<Editor>(app);
        form_ = std::make_unique<TMainForm>(*editor_, std::vector<std::string>{});
        form_->UiPort().SetPrompts(&fake_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), kGuiWaitMs));
        form_->OpenRecentFile(project_);
        form_->ApplyIdleRules();
        QVERIFY(form_->Menu("WriteASEMenu")->menuAction()->isEnabled());
    }
    void cleanup() {
        form_->CurrentProject().Vertices.clear();
        form_.reset();
        fake_.Verify();
        dir_.reset();
    }

    void convertsBesideTheEditor() {
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(50);
        QElapsedTimer clock;
        clock.start();
        form_->Action("WriteASEandStartMenu")->trigger();
        QVERIFY2(clock.elapsed() < 1500, "the command waited for the converter");
        QVERIFY(QFile::exists(QString::fromStdString(ase_)));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir_->filePath("app/started")), kGuiWaitMs);

        // Running: the editor handles events, the write and launch commands are off.
        const int before = ticks;
        QTest::qWait(400);
        QVERIFY(ticks > before + 3);
        form_->ApplyIdleRules();
        QVERIFY(!form_->Menu("WriteASEMenu")->menuAction()->isEnabled());
        QVERIFY(!form_->Action("WriteASEConvertGPLMenu")->isEnabled());
        QToolButton* gpl = ToolButton("GPLStartToolButton");
        QVERIFY(gpl && !gpl->isEnabled());
        QTest::mouseClick(gpl, Qt::LeftButton); // nothing: "GPL not found !" would be unscripted
        QVERIFY(!Logged(*form_, "3DO " + path3do_ + " written !"));

        QTRY_VERIFY_WITH_TIMEOUT(Logged(*form_, "3DO " + path3do_ + " written !"), kGuiWaitMs);
        QVERIFY(Logged(*form_, "ASE-file " + ase_ + " saved !"));
        QVERIFY(QFile::exists(QString::fromStdString(path3do_)));
        form_->ApplyIdleRules();
        QVERIFY(form_->Menu("WriteASEMenu")->menuAction()->isEnabled());
        QVERIFY(gpl->isEnabled());
        fake_.messages.clear();
        QTest::mouseClick(gpl, Qt::LeftButton);
        QCOMPARE(fake_.messages, std::vector<std::string>{"GPL not found !"});
    }

    void nothingFollowsOnAnotherProject() {
        form_->Action("WriteASEandStartMenu")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir_->filePath("app/started")), kGuiWaitMs);
        fake_.answers = {Answer::No}; // "Save project data ?"
        form_->Action("CloseMenu")->trigger();
        QVERIFY(form_->CurrentProject().Vertices.empty());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString::fromStdString(path3do_)), kGuiWaitMs);
        QTest::qWait(300); // the converter's end reaches the editor
        QVERIFY(!Logged(*form_, "3DO " + path3do_ + " written !"));
        QVERIFY(fake_.messages.empty());
    }
};

QTEST_MAIN(OutputCommandsTest)
#include "output_commands_test.moc"
