#pragma once
// What the editor keeps beside the Project: the colours new lines and polygons take, the
// pivot vertex, the undo records of the vertex and line windows and the source of random
// polygon colours. None of it is stored in a project file. The program has one, which the
// windows, the pick state and the 3D view share; every lifecycle command that replaces the
// Project resets it.
#include "edit/lines.h"
#include "edit/vertices.h"
#include "model/project.h"

#include <cstdint>
#include <random>

namespace meshforge {

struct Ui;

// Line and polygon colour at program start.
inline constexpr ColorTriple kStartElementColor{0.5f, 0.5f, 0.5f};

struct EditorState {
    // `seed` starts the random polygon colours; without one the clock does.
    EditorState() : EditorState(ClockSeed()) {}
    explicit EditorState(uint32_t seed);

    ColorTriple LineColor = kStartElementColor;    // every created line takes it
    ColorTriple PolygonColor = kStartElementColor; // every created polygon takes it
    int32_t PivotVertex = kNoElement;              // the Rotate dialog's pivot; drawn large
    VertexUndo UndoVertices;                       // the vertex window's one step
    LineUndoSnapshot UndoLines;                    // the line window's one step
    std::mt19937 PolygonColorSource;
    // Moves on whenever the Project is replaced: work that finishes later (the converter)
    // checks that it still has the Project it started on.
    uint64_t ProjectGeneration = 0;

    static uint32_t ClockSeed();
};

// The Project was replaced (open, close, clear all, add data, the command-line open): the undo
// records are discarded and the pivot forgotten. The colours stay, as they do for the program's
// whole run.
void ResetEditorState(EditorState& editor);

// The next polygon's colour: the colour dialog (after the log line "Pick color for Polygon!")
// when `manualColors`, else three uniform values in [0, 1).
void ChoosePolygonColor(EditorState& editor, Ui& ui, bool manualColors);

// A line picked for "Add Line": created in the current line colour. The line window's undo
// copy, taken when Add Line started, stays restorable unless something else changed a list.
void CreatePickedLine(Project& project, EditorState& editor, int32_t first, int32_t second);

} // namespace meshforge
