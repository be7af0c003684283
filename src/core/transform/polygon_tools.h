#pragma once
// Copy Polygon and Move Polygon: whole polygons chosen in a list (their Selected flags) are
// duplicated at an offset or shifted by one. Each window keeps a one-step undo that refuses
// itself once the lists changed shape under it (the windows are modeless).
#include "edit/undo_stamp.h"
#include "model/project.h"
#include "transform/transform.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace meshforge {

struct Ui;

inline constexpr std::string_view kCheckOffsetMessage = "Check Offset values !";
inline constexpr std::string_view kSelectPolygonsMessage =
    "Select one or more Polygons from the list !";
inline constexpr std::string_view kPolygonListHeading = "Index      Texture  Vertices        ";

// One list line: the index left-aligned in `indexWidth` characters (4 in Copy, 3 in Move),
// ":  ", the texture index or "None" left-aligned in 6, then the corners (the closing repetition
// left out) joined by ", ".
std::string PolygonToolLine(int32_t index, const ObjectData& polygon, int indexWidth);

// A click into either list: exactly the polygons selected there get their Selected flag.
void SelectListedPolygons(Project& project, const std::vector<int32_t>& listed);
// Showing or closing either window: every polygon deselected; CurrentPolygon 0 on showing,
// none on closing.
void OpenPolygonTool(Project& project);
void ClosePolygonTool(Project& project);

enum class CopySide { Opposite, Same };          // "Opposite Side", "Same Side"
enum class CopyTexture { Same, Mirrored, None }; // "Same Orientation", "Mirrored", "No texture"
// The Copy window's texture choice after a list click: any selected polygon untextured forces
// "No texture" with the choice disabled; otherwise "Same Orientation", enabled.
struct CopyTextureChoice {
    CopyTexture Choice = CopyTexture::Same;
    bool Enabled = true;
};
CopyTextureChoice CopyTextureChoiceFor(const Project& project);

// Copy's undo: exactly the vertices and polygons the last Copy appended.
class PolygonCopyUndo {
  public:
    bool CanRestore(const Project& project) const;
    void Discard() { taken_ = false; }
    // Used by CopyPolygons.
    void Record(const Project& project, int32_t firstVertex, int32_t firstPolygon);

  private:
    friend bool UndoCopyPolygons(Project&, PolygonCopyUndo&, Ui&);
    bool taken_ = false;
    UndoStamp stamp_;
    int32_t firstVertex_ = 0, firstPolygon_ = 0;
    int32_t vertexCount_ = 0, polygonCount_ = 0;
};

// Copy: refuses nothing selected (kSelectPolygonsMessage), three texts all "0.0"
// (kCheckOffsetMessage), a text that is not a number and a result that is not finite, changing
// nothing. Then merges duplicate vertices (Remove Double Vertices' pass, no log line) and, for
// each selected polygon in index order, appends its corners + offset as new unselected vertices
// and a copy of it (colour, texture, Selected flag) running over them, reversed for
// CopySide::Opposite (the first corner stays first), its texture coordinates the source's
// (Same), the source's in reverse corner order (Mirrored) or the copy untextured (None); the
// source is deselected. A source corner without coordinates counts as its default pair. Returns
// whether it copied.
bool CopyPolygons(Project& project, const OffsetTexts& texts, CopySide side, CopyTexture texture,
                  PolygonCopyUndo& undo, Ui& ui);
// Removes exactly the copies (through the renumbering, collision volumes included). False when
// there is nothing to undo or the record is stale (refused with its message).
bool UndoCopyPolygons(Project& project, PolygonCopyUndo& undo, Ui& ui);

// Move: refuses nothing selected, an offset of three "0.0" texts, a text that is not a number
// and a result that is not finite; takes the backup of every vertex and adds the offset once to
// each corner of the selected polygons. Returns whether it moved.
bool MovePolygons(Project& project, const OffsetTexts& texts, VertexBackup& undo, Ui& ui);
// Puts the vertices back (X, Y, Z, every one deselected). False when nothing to undo or stale.
bool UndoMovePolygons(Project& project, VertexBackup& undo, Ui& ui);

// Every transform record of the run, kept beside the editor state: the four vertex dialogs',
// the Rotate dialog's use, Copy's and Move Polygon's.
struct TransformState {
    TransformUndo Vertices;
    RotateSession Rotate;
    PolygonCopyUndo Copy;
    VertexBackup MovePolygons;
};

} // namespace meshforge
