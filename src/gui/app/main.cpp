#include "gui/app/editor_args.h"
#include "gui/app/main_form.h"
#include "gui/view/view_form.h"
#include "model/project.h"
#include "util/app_folder.h"
#include "util/platform_file.h"

#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <QSurfaceFormat>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(meshforge::kProgramName);
    QCoreApplication::setApplicationVersion(meshforge::kProgramVersion);
    int exitCode = 0;
    // Read before QApplication exists; on Windows argv is not UTF-8 (the wide command line is).
    QStringList arguments;
    for (const std::string& a : meshforge::platform::Utf8Arguments(argc, argv))
        arguments << QString::fromStdString(a);
    std::optional<meshforge::gui::EditorArgs> args =
        meshforge::gui::ParseEditorArguments(arguments, exitCode);
    if (!args)
        return exitCode;

    // Every context of the program is a compatibility-profile one with the view's format.
    QSurfaceFormat::setDefaultFormat(meshforge::gui::TViewForm::ContextFormat());
    QApplication app(argc, argv);
    // "." is the decimal separator of every number the program shows or reads.
    QLocale::setDefault(QLocale::c());
    // The settings file beside the program is the one place that remembers anything: Qt's own
    // dialogs keep their history in a folder that is thrown away at exit.
    QTemporaryDir qtState;
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, qtState.path());

    std::string appFolder =
        meshforge::ResolveAppFolder(args->AppFolder, meshforge::ExecutableFolder());
    // The editor outlives every window.
    meshforge::Editor editor(appFolder);
    editor.Session.FileFolders =
        meshforge::ProgramFileFolders(appFolder, meshforge::ExecutableFolder());
    meshforge::gui::TMainForm form(editor, args->Projects);
    if (form.StartMaximized()) {
        // Without a window manager (a bare X server) maximizing is a no-op: fill the screen.
        form.setGeometry(form.screen()->availableGeometry());
        form.showMaximized();
    } else
        form.show();
    return app.exec();
}
