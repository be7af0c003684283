#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/project_file_ui.h"

namespace meshforge {

enum class Answer { Yes, No, Cancel };
enum class Buttons { YesNo, YesNoCancel };

// A file dialog: title (empty = the system's), filters as "Description|pattern" in order,
// the 1-based filter to preselect, for saving the default extension (no dot), and the path
// the dialog proposes (empty: none).
struct FileDialogSpec {
    std::string Title;
    std::vector<std::string> Filters;
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string FileName{};
};

// How core operations talk to the user. The GUI implements it with Qt, tests with a scripted
// fake, the command line with stdout/stderr and fixed answers. Texts may contain "\r" breaks.
// Log, Message, ChooseBitmap and AskImportOffset come from the project file's port
// (model/project_file_ui.h). A subsystem that asks something only it needs has a port of its
// own: picking (view/pick_prompts.h), the project lifecycle (app/lifecycle_ui.h).
struct Ui : ProjectFileUi {
    virtual Answer Ask(std::string_view text, std::string_view caption, Buttons buttons) = 0;
    virtual void Beep() = 0;
    // Path chosen in an open or save dialog; nullopt = cancelled. A save dialog asks before
    // overwriting.
    virtual std::optional<std::string> ChooseOpenFile(const FileDialogSpec& request) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileDialogSpec& request) = 0;
    virtual std::optional<std::string> ChooseFolder(std::string_view title) = 0;
    // Colour dialog on a 0x00BBGGRR colour; nullopt = cancelled.
    virtual std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) = 0;
    // Opens a document, web page or "mailto:" address with the system's default handler;
    // false when the system has no handler for it or the handler could not be started.
    virtual bool OpenDocument(std::string_view pathOrUrl) = 0;
};

} // namespace meshforge
