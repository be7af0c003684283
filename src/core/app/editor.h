#pragma once
// The one editor value of a run: the Project, the session (program folder, recent files, menu
// states, editor state) and the settings file. main() owns it, so it outlives every window.
#include "app/lifecycle.h"
#include "model/project.h"
#include "settings/settings.h"

#include <string>
#include <utility>

namespace meshforge {

struct Editor {
    // appFolder ends with a separator; the settings file lies in it.
    explicit Editor(std::string appFolder) : Settings(SettingsFile::PathFor(appFolder)) {
        Session.AppFolder = std::move(appFolder);
    }

    meshforge::Project Project;
    meshforge::Session Session;
    SettingsFile Settings;
};

} // namespace meshforge
