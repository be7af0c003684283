#pragma once
#include "edit/editor_state.h"
#include "model/project.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

struct Ui;
struct PickPrompts;

// Selection names of the drawn objects. Each kind has its own range of 2^30 names, so no
// index of one list can be read as an object of another (indices must stay below 2^30).
inline constexpr uint32_t kNoObjectName = 0xFFFFFFFF; // grid, axis, visualization lines
inline constexpr uint32_t kLineNameBase = 0x40000000;
inline constexpr uint32_t kPolygonNameBase = 0x80000000;
inline constexpr std::size_t kPickIndexLimit = 0x40000000;

constexpr uint32_t VertexPickName(std::size_t i) {
    return static_cast<uint32_t>(i);
}
constexpr uint32_t LinePickName(std::size_t i) {
    return kLineNameBase + static_cast<uint32_t>(i);
}
constexpr uint32_t PolygonPickName(std::size_t i) {
    return kPolygonNameBase + static_cast<uint32_t>(i);
}

struct PickHit {
    enum class Kind { Vertex, Line, Polygon, None } kind = Kind::None;
    uint32_t index = 0;
    bool operator==(const PickHit&) const = default;
};
// Names outside the three ranges (kNoObjectName included) decode as None.
PickHit DecodePickName(uint32_t name);

// Tooltip text for the hits under the resting mouse, in buffer order. nullopt: no hit, the
// tooltip is off. Otherwise the tooltip is on and the last object hit decides the text; hits
// that name no object (or an index past its list, e.g. stale names) leave it as it was, so a
// list of only such hits returns `previous`, the tooltip's current text.
std::optional<std::string> HoverText(const Project& project, const std::vector<uint32_t>& names,
                                     std::string_view previous = {});

// The pick modes, in the order a click serves them when several are on.
enum class PickMode {
    LineCreation,
    PolygonCreation,
    PolygonRedefinition,
    PivotPick,
    LineRedefinition
};

enum class WindowToShow { None, LineWindow, PolygonWindow };

// What the view does after a click.
struct ClickResult {
    bool Redraw = false;
    WindowToShow Show = WindowToShow::None; // a mode ended: show its hidden window again
    bool LinesChanged = false;              // refresh the line list
    bool PolygonsChanged = false;           // refresh the polygon list
    bool PivotChanged = false;              // the editor's PivotVertex was picked
};

// The process-wide pick state of the 3D view: five modes and their counters. The colours of
// new lines and polygons and the pivot vertex are the editor state's, which the pick state
// refers to. The Start* entry points are called by the windows, which hide themselves; Click by
// the view on each mouse release. The view shows the hand cursor while AnyModeOn().
class PickState {
  public:
    explicit PickState(EditorState& editor) : editor_(editor) {}

    // Logs "Creating a line:", "Pick color !", runs the line colour dialog, logs "Pick first
    // vertex !".
    void StartLineCreation(Ui& ui);
    // manualColors: the setting "Pick Polygon colors manually (Use random if un-checked)".
    // It is kept for the "Create New Polygon ?" answers of this run.
    void StartPolygonCreation(Ui& ui, bool manualColors);
    // false (no mode started) for an index outside the list or a ring without a corner.
    bool StartPolygonRedefinition(Project& project, int32_t polygon);
    bool StartLineRedefinition(Project& project, int32_t line);
    // Shows "Pick vertex as pivot point !".
    void StartPivotPick(Ui& ui);
    // The Rotate dialog's OK and Cancel end a pivot pick that is still waiting.
    void StopPivotPick() { Set(PickMode::PivotPick, false); }

    // A mouse release in the view; `names` are the hits in buffer order. Only the left button
    // and only the first mode that is on are served. playSound: "Play Sound on Errors", which
    // turns the four wrong-pick messages into a beep.
    ClickResult Click(Project& project, const std::vector<uint32_t>& names, bool leftButton,
                      bool playSound, Ui& ui, PickPrompts& prompts);

    bool AnyModeOn() const;
    bool ModeOn(PickMode mode) const { return on_[static_cast<std::size_t>(mode)]; }
    int LinePickCount() const { return linePickCount_; }
    int32_t LineFirstVertex() const { return lineFirst_; }
    int32_t LineSecondVertex() const { return lineSecond_; }
    // PickCount is its size.
    const std::vector<int32_t>& PickedVertices() const { return picked_; }
    EditorState& Editor() { return editor_; }

  private:
    void Set(PickMode mode, bool on) { on_[static_cast<std::size_t>(mode)] = on; }
    void BeginLine(Ui& ui, bool askColor);
    void BeginPolygon(Ui& ui, bool askColor);
    // The mode's check of one vertex hit: the refusal message, or nullptr if it passes.
    const char* Refusal(PickMode mode, int32_t vertex) const;
    void Accept(PickMode mode, Project& project, int32_t vertex, Ui& ui, PickPrompts& prompts,
                ClickResult& result);

    std::array<bool, 5> on_{};
    int linePickCount_ = 0;
    int32_t lineFirst_ = 0, lineSecond_ = 0;
    std::vector<int32_t> picked_;
    bool manualPolygonColors_ = false;
    EditorState& editor_;
};

} // namespace meshforge
