#pragma once
// The vertex transforms of the Modify menu: Move, Mirror, Scale, Centre and Rotate, over the
// Project and a one-step undo record per dialog. Lines and polygons name vertices by index and
// follow them; none is created or changed here. Every operation parses all of its input and
// computes every result (in double precision) before it changes anything, and refuses a result
// that is not a finite float: such a value would be written as a text no reader accepts.
#include "edit/editor_state.h"
#include "edit/undo_stamp.h"
#include "model/project.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

struct Ui;

inline constexpr std::string_view kAlreadyCenteredMessage = "Already centered !";
inline constexpr std::string_view kNoVerticesSelectedMessage = "No vertices selected !";
inline constexpr std::string_view kNotFiniteMessage =
    "The result would not be a finite number: nothing was changed.";
inline constexpr std::string_view kZeroScaleMessage =
    "A scale value of 0 would collapse the vertices: nothing was changed.";

enum class Axis { X, Y, Z };
enum class ScaleAxis { X, Y, Z, All };
enum class Scope { All, Selected }; // every vertex, or those whose Selected flag is set

// The three texts of an offset (Move's and the polygon tools' X, Y and Z fields).
using OffsetTexts = std::array<std::string, 3>;
// The default text of every offset field; an offset whose three texts are all exactly this
// counts as "not given" for the log lines and the polygon tools.
inline constexpr std::string_view kZeroOffsetText = "0.0";

bool AnyVertexSelected(const Project& project);

// One dialog's one-step undo: X, Y, Z and the Selected flag of every vertex in index order,
// with the Project revision it belongs to. Undo consumes it. It may be restored only while the
// Project's lists have the shape the transform left (see UndoStamp); a stale record is refused
// with kUndoStaleMessage and discarded. Its storage is kept for the next transform, so that a
// repeated transform on a large object does not pay for fresh memory each time.
class VertexBackup {
  public:
    void Take(const Project& project, bool keepSelection = true);
    // The transform that took it changed the lists' shape, starting at revision `before`.
    void Follow(const Project& project, uint64_t before) { stamp_.Follow(project, before); }
    void Discard();
    bool Empty() const { return !taken_; }
    // Not empty and still matching the Project: what enables a dialog's Undo button.
    bool CanRestore(const Project& project) const;
    const std::vector<Vertex>& Vertices() const { return vertices_; }
    // False (with the stale message, or silently when empty) when it may not be restored;
    // a stale record is discarded.
    bool CheckRestorable(const Project& project, Ui& ui);

  private:
    bool taken_ = false;
    UndoStamp stamp_;
    std::vector<Vertex> vertices_;
};

// The four dialogs' records; they live for the whole run (stale ones refuse themselves).
struct TransformUndo {
    VertexBackup Move, Mirror, Scale, Centre;
};

// Move: parses the three texts (a text that is not a number shows the parser's message), checks
// every result, takes the backup, adds the offset to every vertex in scope, logs one line per
// axis whose text is not exactly "0.0" ("Objects moved " + text + " units along X-Axis", or
// "Selected Vertice(s) moved " ... when Scope::Selected) if at least one vertex moved, and runs
// UpdateBoundingBox. Returns false, with nothing changed, when refused (the dialog stays open).
bool MoveVertices(Project& project, const OffsetTexts& texts, Scope scope, VertexBackup& undo,
                  Ui& ui);

// Mirror: negates `axis` of every visited vertex (the vertices there before the call, all or the
// selected), or with `keep` appends a mirrored, unselected copy of each visited vertex whose
// value on `axis` is not 0. Logs "Vertices added, mirrored along X-Axis" (keep) or "Objects
// mirrored along X-Axis". No UpdateBoundingBox. Always done.
void MirrorVertices(Project& project, Axis axis, bool keep, Scope scope, VertexBackup& undo,
                    Ui& ui);

// Scale about the origin: parses the factor, refuses 0 (kZeroScaleMessage) and results that are
// not finite, takes the backup, multiplies, runs UpdateBoundingBox and logs "All Vertices scaled
// by " + text ("Selected Vertices scaled by " for Scope::Selected). False when refused.
bool ScaleVertices(Project& project, std::string_view factorText, ScaleAxis axis, Scope scope,
                   VertexBackup& undo, Ui& ui);

// "Already centered !": the centre of the vertices' bounding box, recomputed now, is exactly
// (0, 0, 0), or the stored centre is (0, 0, 0) and the recomputed box equals the stored one (a
// Centre left a rounding remainder and nothing moved since). An empty Project is judged by its
// stored centre.
bool IsCentred(const Project& project);
// Centre: UpdateBoundingBox, backup (Selected stored as false), every vertex moved by minus the
// centre, UpdateBoundingBox, the stored centre set to exactly (0, 0, 0). No log line. False, with
// nothing changed, when a result would not be finite.
bool CentreVertices(Project& project, VertexBackup& undo, Ui& ui);

// The four undos, each from its own record. Move: X, Y, Z, every vertex deselected. Mirror: X,
// Y, Z and flags, the list cut back to the backup's length (the kept copies go). Scale: X, Y, Z
// and flags. Centre: X, Y, Z, deselected, UpdateBoundingBox. None logs. The record is emptied.
// False when there was nothing to restore or the record was stale (refused with its message).
enum class UndoKind { Move, Mirror, Scale, Centre };
bool UndoTransform(Project& project, UndoKind kind, VertexBackup& undo, Ui& ui);

// ---- Rotate ----

// Sine and cosine of one step.
struct StepFactors {
    double Sin = 0, Cos = 1;
};
// The fixed-angle list: "30°", "45°", "60°", "90°", "180°", "270°", "Select Angle!" (no step).
inline constexpr int kFixedAngleCount = 7;
inline constexpr int kSelectAngleIndex = 6;
const char* FixedAngleItem(int index);
std::optional<StepFactors> FixedStep(int index);

// One use of the Rotate dialog, from showing to OK or Cancel: the opening backup, the last spin
// value and the revision the pivot belongs to.
class RotateSession {
  public:
    // Showing: pivot := none, last spin value := 0, the opening backup taken.
    void Begin(const Project& project, EditorState& editor);
    // A free step from the spin control's new value: nullopt when it equals the last value
    // (a value pinned at -180 or 180); otherwise +-1 degree, and the value is remembered.
    std::optional<StepFactors> FreeStep(int spinValue);
    // After any command: when the Project's lists changed shape since the pivot was chosen (or
    // the pivot names no vertex), the pivot is reset to the origin. Returns whether it was.
    bool FollowProject(const Project& project, EditorState& editor);
    // OK: pivot := none; the positions stay.
    void Accept(EditorState& editor);
    // Cancel: pivot := none; every vertex's X, Y, Z and flag restored from the opening backup
    // unless the lists changed shape since (refused with kUndoStaleMessage). Returns whether it
    // restored.
    bool Cancel(Project& project, EditorState& editor, Ui& ui);
    int LastSpin() const { return lastSpin_; }

  private:
    VertexBackup opening_;
    uint64_t pivotRevision_ = 0;
    int lastSpin_ = 0;
};

// One step about an axis through the pivot (the editor's PivotVertex, read now; the origin when
// none or when it names no vertex). The pair turned is (Y, Z) about X, (X, Z) about Y, (X, Y)
// about Z: a' = a cos - b sin, b' = a sin + b cos (a - pivot and b - pivot stored as floats
// first), so a positive step turns Y towards Z about X, X towards Z about Y and X towards Y
// about Z. Scope::Selected turns the selected vertices only (none: nothing changes). No log
// line, no UpdateBoundingBox. False, with nothing changed, when a result would not be finite.
bool RotateStep(Project& project, const EditorState& editor, Axis axis, StepFactors step,
                Scope scope, Ui& ui);

} // namespace meshforge
