// The File menu: the project lifecycle, the output entries, the report, Options and Exit.
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"
#include "gui/settings/options_form.h"
#include "gui/view/view_form.h"

#include <QMenu>
#include <QPainter>
#include <QStyle>

namespace meshforge::gui {

QIcon LetterIcon(const QString& letters, const QColor& color) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter painter(&pm);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(color);
    painter.setPen(color.darker(150));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    painter.setPen(Qt::white);
    QFont font("Arial");
    font.setPixelSize(letters.size() > 2 ? 8 : 10);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pm.rect(), Qt::AlignCenter, letters);
    return QIcon(pm);
}

void RegisterFileCommands(TMainForm& f) {
    // Each command runs a lifecycle function on the window's Project and session.
    using Lifecycle = bool (*)(Project&, Session&, const SaveOptions&, LifecycleUi&);
    auto command = [&f](Lifecycle run, bool replacesProject) {
        return [&f, run, replacesProject] {
            auto body = [&f, run] {
                run(f.CurrentProject(), f.CurrentSession(), f.CurrentSaveOptions(), f.UiPort());
            };
            replacesProject ? f.RunLifecycle(body) : f.Run(body);
        };
    };
    auto open = command(
        [](Project& p, Session& s, const SaveOptions& o, LifecycleUi& ui) {
            OpenProject(p, s, o, ui);
            return true;
        },
        true);
    auto save = command(SaveProject, false);
    auto close = command(CloseProject, true);
    auto saveAs = command(SaveProjectAs, false);

    QMenu* m = f.AddMenu("FileMenu", "&File");
    f.AddEntry(m, "OpenMenu", "&Open existing project", open)->setShortcut(QKeySequence::Open);
    f.AddEntry(m, "SaveMenu", "S&ave Project", save)->setShortcut(QKeySequence::Save);
    f.AddEntry(m, "CloseMenu", "&Close Project", close);
    f.AddEntry(m, "ClearAllMenu", "Clear All", [&f] {
        f.RunLifecycle([&f] { ClearAll(f.CurrentProject(), f.CurrentSession(), f.UiPort()); });
    });
    f.AddEntry(m, "SaveAsMenu", "&Save project as...", saveAs)->setShortcut(QKeySequence::SaveAs);
    m->addSeparator();
    QMenu* ase = f.AddSubmenu(m, "WriteASEMenu", "Write ASE file");
    f.AddEntry(ase, "WriteASEOnlyMenu", "Just write ASE");
    f.AddEntry(ase, "WriteASEandStartMenu", "Write ASE and convert to 3DO");
    f.AddEntry(ase, "WriteASEConvertGPLMenu", "Write ASE, Convert and start GPL");
    f.AddEntry(ase, "WriteASEViewerMenu", "Write ASE, Convert and start Viewer")->setEnabled(false);
    f.AddEntry(m, "Write3DOMenu", "&Write 3DO file")->setEnabled(false);
    m->addSeparator();
    // The report entries' commands are in report/report_commands.cpp.
    f.AddEntry(m, "ContentsMenu", "Display All Project Contents");
    f.AddEntry(m, "PrintMenu", "&Print Project Data");
    m->addSeparator();
    f.AddEntry(m, "OptionsMenu", "Options", [&f] {
        f.OptionsForm->exec();
        f.ViewForm->Redraw();
    });
    f.SetRecentFilesPlace(m->addSeparator());
    m->addSeparator();
    f.AddEntry(m, "ExitMenu", "E&xit", [&f] { f.close(); })->setShortcut(QKeySequence::Quit);

    QStyle* st = f.style();
    f.AddToolButton("OpenToolButton", st->standardIcon(QStyle::SP_DialogOpenButton),
                    "Open existing project", open);
    f.AddToolButton("SaveToolButton", st->standardIcon(QStyle::SP_DialogSaveButton), "Save Project",
                    save);
    f.AddToolButton("CloseToolButton", st->standardIcon(QStyle::SP_DialogCloseButton),
                    "Close Project", close);
    f.AddToolButton("SaveAsToolButton", LetterIcon("As", kFileColor), "Save project as...", saveAs);
    f.AddToolSeparator();
    f.AddToolButton("WriteASEToolButton", LetterIcon("ASE", kFileColor), "Write ASE file");
    f.AddToolButton("Write3DOToolButton", LetterIcon("3DO", kFileColor), "Write 3DO file")
        ->setEnabled(false);
    f.AddToolSeparator();
}

} // namespace meshforge::gui
