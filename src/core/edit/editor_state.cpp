#include "edit/editor_state.h"

#include "ui/ui.h"

#include <chrono>

namespace meshforge {

uint32_t EditorState::ClockSeed() {
    return static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

EditorState::EditorState(uint32_t seed) : PolygonColorSource(seed) {}

void ResetEditorState(EditorState& editor) {
    editor.UndoVertices.Discard();
    editor.UndoLines.Discard();
    editor.PivotVertex = kNoElement;
    ++editor.ProjectGeneration;
}

void ChoosePolygonColor(EditorState& editor, Ui& ui, bool manualColors) {
    if (manualColors) {
        ui.Log("Pick color for Polygon!");
        ChooseColorTriple(ui, editor.PolygonColor);
        return;
    }
    // 24 random bits scaled exactly, so 1.0 cannot come out.
    auto unit = [&editor] {
        return static_cast<float>(editor.PolygonColorSource() >> 8) / 16777216.0f;
    };
    editor.PolygonColor.R = unit();
    editor.PolygonColor.G = unit();
    editor.PolygonColor.B = unit();
}

void CreatePickedLine(Project& project, EditorState& editor, int32_t first, int32_t second) {
    const uint64_t before = project.Revision;
    CreateLine(project, first, second, editor.LineColor);
    editor.UndoLines.Follow(project, before);
}

} // namespace meshforge
