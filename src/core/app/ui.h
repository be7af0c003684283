#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace meshforge {

struct Project;

struct Offset3 {
    float X = 0, Y = 0, Z = 0;
};

// How core operations talk to the user. The GUI implements it with Qt, tests with a scripted
// fake, the command line with stdout/stderr and fixed answers. Texts may contain "\r" breaks.
struct Ui {
    virtual ~Ui() = default;
    virtual void Log(std::string_view line) = 0;
    virtual void Message(std::string_view text) = 0;
    // The bitmap open dialog ("Bitmaps (*.bmp)|*.bmp") preset with `preset`; nullopt = cancelled.
    virtual std::optional<std::string> ChooseBitmap(std::string_view preset) = 0;
    // The Offset New Vertices dialog; nullopt = closed other than with "Add with Offset".
    virtual std::optional<Offset3> AskImportOffset() = 0;
    // Recreates the view's texture objects for every texture entry.
    virtual void RebuildTextureLibrary(Project& project) = 0;
};

} // namespace meshforge
