// The Help menu: the web page, the local user guide and the About box.
#include "app/system_info.h"
#include "gui/app/about_box.h"
#include "gui/app/command_areas.h"
#include "gui/app/main_form.h"

#include <QMenu>

namespace meshforge::gui {

void RegisterHelpCommands(TMainForm& f) {
    QMenu* m = f.AddMenu("HelpMenu", "&Help");
    f.AddEntry(m, "OnlineHelpMenu", "&Online Help", [&f] { f.UiPort().OpenDocument(kWebsiteUrl); });
    f.AddEntry(m, "LocalHelpMenu", "Local Help",
               [&f] { LocalHelp(f.CurrentSession(), f.UiPort()); });
    m->addSeparator();
    // The caption gets the program's name when the window is first shown.
    f.AddEntry(m, "AboutMenu", "&About...", [&f] { f.AboutBox->exec(); });
}

} // namespace meshforge::gui
