#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace meshforge {

struct Project;

struct Offset3 {
    float X = 0, Y = 0, Z = 0;
};

// What reading and writing a project file needs from the user: log lines, messages, a
// re-selected bitmap and the import offset of a merge. The full Ui
// port of the editor extends it, so every Ui can be passed where this is asked for.
struct ProjectFileUi {
    virtual ~ProjectFileUi() = default;
    virtual void Log(std::string_view line) = 0;
    virtual void Message(std::string_view text) = 0;
    // The bitmap open dialog ("Bitmaps (*.bmp)|*.bmp") preset with `preset`; nullopt = cancelled.
    virtual std::optional<std::string> ChooseBitmap(std::string_view preset) = 0;
    // The Offset New Vertices dialog; nullopt = closed other than with "Add with Offset".
    virtual std::optional<Offset3> AskImportOffset() = 0;
};

} // namespace meshforge
