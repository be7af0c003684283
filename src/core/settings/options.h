#pragma once
// Rules behind the Options dialog that need no window: menu captions, browse dialogs, the
// grid colour, folder texts and which dependent controls are enabled.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/project.h"
#include "ui/ui.h"

namespace meshforge {

// "Start " + the program's file name without folder and without its last four characters
// (the extension). Both "\" and "/" separate folders. A file name of four characters or
// fewer leaves nothing, so the caption is "Start " alone.
std::string StartMenuCaption(std::string_view programPath);

// The file types every browse dialog of the Options dialog offers, in this order.
inline constexpr std::array<std::string_view, 5> kBrowseFilters{
    "GPL Executable|gpl.exe", "ASE23DO Executable|ase23do.exe", "3DO Viewer Application|*.exe",
    "Bitmaps|*.bmp", "Track DAT|*.dat"};

enum class BrowseTarget { GPL, Viewer, UserProgram, BitmapArchive };

// Title, the full filter list and the preselected (1-based) filter of one Browse button.
FileDialogSpec BrowseDialogFor(BrowseTarget target);

// The colour value of a stored colour text; a text that is not a colour gives black, so a
// damaged settings file cannot stop the dialog from being created.
std::uint32_t ColorValueOrBlack(std::string_view colorText);

// The drawing triple (channel / 255) of a colour text, black for a text that is not a colour.
ColorTriple GridColorTripleOf(std::string_view colorText);

// The folder part of a file path including its last separator ("C:\bmp\a.bmp" gives
// "C:\bmp\"); a bare file name gives "".
std::string FolderOfFile(std::string_view filePath);

// A chosen folder as TrackFolder holds it: ending in a separator. One is appended only when
// missing, in the style the path already uses ("/" for "/home/x", "\" for "C:\x"); a path
// without any separator gets "\". An empty text stays empty (it names no folder).
std::string WithTrailingSeparator(std::string_view folder);

// True when the path names an existing folder; empty or unreadable paths are not.
bool IsExistingFolder(std::string_view path);

// Enabled state of the controls that depend on "Save 3DO to track-folder:".
struct TrackFolderControls {
    bool Folder = false;    // the read-only edit and its Browse button
    bool Autostart = false; // "Autostart GPL when 3DO is written"
    bool Radios = false;    // minimize / close-and-restart
    bool operator==(const TrackFolderControls&) const = default;
};

// When the user toggles the track-folder box: the chain follows the box, the radios also need
// Autostart checked.
TrackFolderControls TrackFolderControlsWhenToggled(bool useTrackFolder, bool autoGPL);

// Each time the dialog is shown: Autostart additionally needs TrackFolder to be an existing
// folder, and a disabled Autostart keeps the radios disabled even when it is checked.
TrackFolderControls TrackFolderControlsWhenShown(const ViewOptions& options);

// Checking "Autostart GPL": allowed only with an existing track folder, else the message
// "Invalid Trackfolder !" and the box goes back unchecked. Returns the box's new state.
bool CheckAutoGPL(bool checked, const ViewOptions& options, Ui& ui);

} // namespace meshforge
