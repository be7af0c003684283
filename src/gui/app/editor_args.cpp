#include "gui/app/editor_args.h"

#include "model/project.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace meshforge::gui {

std::optional<EditorArgs> ParseEditorArguments(const QStringList& arguments, int& exitCode) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Meshforge, the editor of 3D objects for GPL.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption appFolder(
        "app-folder",
        "The program folder (settings file, converter, help); default: "
        "MESHFORGE_APP_FOLDER, else the executable's folder when it is writable, else "
        "~/.config/meshforge.",
        "DIR");
    parser.addOption(appFolder);
    parser.addPositionalArgument("project", "A project file (.3dp) to open at start-up.",
                                 "[PROJECT.3dp]");
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(parser.errorText()),
                     qPrintable(parser.helpText()));
        exitCode = 2;
        return std::nullopt;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        if (parser.isSet(help))
            std::printf("%s", qPrintable(parser.helpText()));
        else
            std::printf("%s %s\n", meshforge::kProgramName, meshforge::kProgramVersion);
        exitCode = 0;
        return std::nullopt;
    }
    EditorArgs args;
    if (parser.isSet(appFolder))
        args.AppFolder =
            QDir::toNativeSeparators(QFileInfo(parser.value(appFolder)).absoluteFilePath())
                .toStdString();
    // The project path is kept absolute: the recent list and the view caption outlive the
    // folder the program was started from.
    for (const QString& project : parser.positionalArguments())
        args.Projects.push_back(
            QDir::toNativeSeparators(QFileInfo(project).absoluteFilePath()).toStdString());
    return args;
}

} // namespace meshforge::gui
