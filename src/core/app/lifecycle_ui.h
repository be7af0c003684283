#pragma once
#include "ui/ui.h"

#include <string>

namespace meshforge {

// How the Assign Project Name dialog was left: with OK (Name holds 1 to 8 characters), with
// Cancel, or with the window's close box (neither).
struct NameAnswer {
    enum class How { Ok, Cancelled, Closed } Result = How::Closed;
    std::string Name;
};

// What opening, saving and closing projects need beyond the common port: saving into a
// subfolder of its own asks for the project's name.
struct LifecycleUi : Ui {
    // The Assign Project Name dialog (it refuses names outside 1 to 8 characters itself).
    virtual NameAnswer AskProjectName() = 0;
};

} // namespace meshforge
