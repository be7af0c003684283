#pragma once
#include "edit/undo_stamp.h"
#include "model/project.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace meshforge {

struct Ui;

// Colour dialog values are 0x00BBGGRR; the triples keep each channel as byte / 255.
std::uint32_t ColorRefOf(const ColorTriple& color);
ColorTriple ColorTripleOf(std::uint32_t colorRef);
// The colour dialog of lines and polygons, started on `color`: OK stores the choice in
// `color` and returns true, Cancel leaves it.
bool ChooseColorTriple(Ui& ui, ColorTriple& color);

// Appends the line first-second in `color` and clears every vertex's Selected flag.
void CreateLine(Project& project, int32_t first, int32_t second, ColorTriple color);

// One row of the line list: the index left-aligned in 3 characters (cut when longer), ":  ",
// then the vertex indices joined by "," ("0  :  2,3").
std::string LineListEntry(std::size_t index, const ObjectData& line);
std::vector<std::string> LineListEntries(const Project& project);

// A list click: every element's Selected := its row's selection (missing rows count as not
// selected). Returns whether any is selected ("Edit" and "Remove" are enabled then).
bool SelectRows(std::vector<ObjectData>& elements, const std::vector<bool>& rowSelected);
std::size_t SelectedCount(const std::vector<ObjectData>& elements);

// The one-step undo of the line window. The copy may be restored only over the lists its
// command left (Project::Revision); the lifecycle discards it whenever the Project is replaced.
// Restore() refuses a copy that no longer fits (see LineUndoResult).
enum class LineUndoResult {
    Restored,
    Empty,         // nothing taken (or already restored / discarded)
    Stale,         // a list changed since; kUndoStaleMessage was shown
    VertexMissing, // a saved line names a vertex past the current vertex list
};
class LineUndoSnapshot {
  public:
    void Take(const Project& project);
    // The command that took the copy changed the lists, starting at revision `before`.
    void Follow(const Project& project, uint64_t before) { stamp_.Follow(project, before); }
    // Replaces the line list with the copy (every Selected false) and empties the copy. A
    // refused copy is discarded too, so "Undo" is disabled afterwards in every case.
    LineUndoResult Restore(Project& project, Ui& ui);
    void Discard();
    // The "Undo" button's enabled state: a copy that no list change has made stale.
    bool Available(const Project& project) const { return taken_ && stamp_.Matches(project); }

  private:
    bool taken_ = false;
    UndoStamp stamp_;
    std::vector<ObjectData> lines_;
};

// Removes the line CurrentLine (later lines move down) and sets CurrentLine := none.
// Returns false, changing nothing but CurrentLine, when it names no line.
bool DeleteLine(Project& project);
// "Remove Line(s)": snapshot, then every selected line is removed; CurrentLine := none.
void RemoveSelectedLines(Project& project, LineUndoSnapshot& undo);
// "Remove All Lines": asks first; on Yes takes the snapshot and empties the list. Returns
// whether it did.
bool RemoveAllLines(Project& project, LineUndoSnapshot& undo, Ui& ui);
// "Re-define Color": snapshot, the colour dialog on `currentLineColor`, then every selected
// line takes `currentLineColor` (also when the dialog was cancelled).
void RedefineSelectedLineColor(Project& project, ColorTriple& currentLineColor,
                               LineUndoSnapshot& undo, Ui& ui);

// What the edit panel of the line and polygon windows shows for the selection.
struct EditPanelState {
    bool RepickEnabled = false;             // fewer than two selected
    std::optional<ColorTriple> SingleColor; // exactly one selected, else "Multiple"
};
EditPanelState EditPanelFor(const std::vector<ObjectData>& elements);

// Visualization lines: editor-only segments joining all vertices in index order.
// Creates them in `color` (logs as the line window's command does) and returns their count.
int CreateVisLines(Project& project, ColorTriple color, Ui& ui);
// The menu command's version: between the first two log lines and the creation the colour
// dialog runs on `currentLineColor` when `askColor`; the lines take `currentLineColor`.
int CreateVisLines(Project& project, ColorTriple& currentLineColor, bool askColor, Ui& ui);
// Removes them all and logs "Subsequent Lines removed".
void RemoveVisLines(Project& project, Ui& ui);
// Appends every visualization line to the line list, removes them (with its log line) and
// logs the conversion. Returns the number converted. Showing the line window is the caller's.
int ConvertVisLines(Project& project, Ui& ui);

// Runs `command`, which renumbers vertices, with the visualization lines rebuilt around it:
// when they exist, `currentLineColor` becomes the first one's colour, they are removed, the
// command runs and they are created again over the new vertex list in that colour. Returns
// whether visualization lines existed (and so exist again afterwards, unless the command left
// no vertex). Should the command throw, they are re-created before the exception goes on.
bool RebuildVisLinesAround(Project& project, ColorTriple& currentLineColor, Ui& ui,
                           const std::function<void()>& command);

} // namespace meshforge
