#pragma once
// Vertex editing: the operations behind the vertex window and the main menu's vertex
// commands. Everything here is free of the user interface; questions, messages and log lines
// go through Ui.
#include "edit/undo_stamp.h"
#include "model/project.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

struct Ui;

inline constexpr std::string_view kMissingCoordinateMessage =
    "Every coordinate needs to be assigned !";
inline constexpr std::string_view kRemoveAllQuestion =
    "OK to remove all vertices and associated lines/polygons ?";
inline constexpr std::string_view kRemoveAllCaption = "Remove all Vertices";
inline constexpr std::string_view kInterpolateQuestion =
    "OK to remove all associated polygons and lines ?";
inline constexpr std::string_view kInterpolateCaption = "Add Interpolated Vertices";
inline constexpr std::string_view kNotEnoughVerticesMessage = "Not enough Vertices !";
inline constexpr std::string_view kOnlyTwoSelectedMessage = "Only 2 Vertices can be selected !";

// The texts of the three coordinate fields of the vertex window.
struct VertexFields {
    std::string X, Y, Z;
    bool operator==(const VertexFields&) const = default;
};

// One line of the vertex list: the index padded right to 4 characters (cut to 4), ":", then
// X, Y and Z with 3 decimals, each padded left to 9 characters (cut to 9).
std::string VertexListLine(int32_t index, const Vertex& vertex);

// The fields after a click into the list, from the vertices' Selected flags: one selected
// vertex shows its coordinates; with several, a field keeps its text only where it equals
// that coordinate of every selected vertex and is cleared otherwise; with none the fields
// stay as they are.
VertexFields FieldsForSelection(const Project& project, const VertexFields& current);
// Whether "Modify" is enabled after the click: not when several vertices are selected and
// the three fields hold the same text.
bool ModifyEnabled(const Project& project, const VertexFields& fields);

// A vertex number typed by the user: an integer naming an existing vertex. Anything else is
// shown as a message and gives nullopt.
std::optional<int32_t> ParseVertexNumber(std::string_view text, const Project& project, Ui& ui);

void ClearVertexSelection(Project& project);

// Removes vertex `index` (out of range: nothing happens). The following vertices' X, Y and Z
// move down by one; the Selected flags stay with their positions. Lines and polygons are the
// caller's business.
void DeleteVertex(Project& project, int32_t index);

// The one-step undo of Modify, Remove Selected and Remove All Vertices.
//
// A snapshot may be restored only over the lists its command left: any later change of a
// list's shape (Project::Revision) makes it stale, and the lifecycle discards it whenever the
// Project is replaced.
class VertexUndo {
  public:
    // Copies the vertices, and the lines and the polygons (with their collision volumes) when
    // the project has any. A list absent at snapshot time is not restored later.
    void Take(const Project& project);
    // The command that took the snapshot changed the lists, starting at revision `before`.
    void Follow(const Project& project, uint64_t before) { stamp_.Follow(project, before); }
    void Discard();
    // "Undo" is enabled: the snapshot holds vertices and no list has changed since.
    bool CanRestore(const Project& project) const;
    // Restores the snapshot (with the visualization lines rebuilt around it) and empties it.
    // Current lines or polygons that would point past the restored vertex list are removed.
    // False, with nothing changed, when there is nothing to restore; a stale snapshot is
    // refused with kUndoStaleMessage and discarded.
    bool Restore(Project& project, ColorTriple& currentLineColor, Ui& ui);

  private:
    bool taken_ = false;
    UndoStamp stamp_;
    std::vector<Vertex> vertices_;
    std::optional<std::vector<ObjectData>> lines_;
    std::optional<std::vector<ObjectData>> polygons_;
    std::vector<CollVol> collVols_;
};

// Add: all three fields non-empty and numbers, else a message and nothing changes. Returns
// whether the vertex was appended.
bool AddVertex(Project& project, const VertexFields& fields, Ui& ui);

struct ModifyResult {
    bool Done = false;         // false: refused with a message, nothing changed
    int32_t LastModified = -1; // the highest selected vertex, -1 when none was selected
};
// Modify: takes the undo snapshot, then sets every selected vertex's coordinates from the
// non-empty fields. Every non-empty field must be a number, else nothing changes.
ModifyResult ModifySelectedVertices(Project& project, const VertexFields& fields, VertexUndo& undo,
                                    Ui& ui);

// The renumbering core of Remove Selected: removes the selected vertices, every polygon and
// line using one of them, and renumbers the rest. Returns the number of removed vertices.
int32_t EraseSelectedVertices(Project& project);
// Remove Selected: snapshot, EraseSelectedVertices with the visualization lines rebuilt
// around it, selection cleared. Nothing selected: nothing happens (no snapshot). Returns the
// number of removed vertices.
int32_t RemoveSelectedVertices(Project& project, VertexUndo& undo, ColorTriple& currentLineColor,
                               Ui& ui);

// Remove All Vertices, after its question. Returns whether the user agreed.
bool RemoveAllVertices(Project& project, VertexUndo& undo, Ui& ui);

// The renumbering core of Remove Double Vertices: every vertex at exactly the position of an
// earlier one (0 equal to -0, NaN equal to nothing) is merged into the first of its group.
// Lines and polygons keep their entries, renumbered. Returns the number of removed vertices.
int32_t MergeDoubleVertices(Project& project);
// Remove Double Vertices: MergeDoubleVertices with the visualization lines rebuilt around it
// and its log line.
int32_t RemoveDoubleVertices(Project& project, ColorTriple& currentLineColor, Ui& ui);

// Add Interpolated Vertices: after each old vertex but the last, the midpoint to the next
// one. When lines or polygons exist it asks first and removes them (with textures and
// collision volumes). The new list is built aside and swapped in at the end; `pump` is called
// once per old vertex so a window can keep painting (it must refuse input meanwhile).
// Returns whether vertices were added.
bool AddInterpolatedVertices(Project& project, ColorTriple& currentLineColor, Ui& ui,
                             const std::function<void()>& pump = {});

// Create Interpolated Vertex: appends the midpoint of the two selected vertices and selects
// it instead of them. Returns its index, nullopt when refused.
std::optional<int32_t> CreateInterpolatedVertex(Project& project, Ui& ui);

} // namespace meshforge
