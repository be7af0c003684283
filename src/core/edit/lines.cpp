#include "edit/lines.h"

#include "edit/vertices.h"
#include "model/renumber.h"
#include "ui/ui.h"

#include <algorithm>
#include <cmath>

namespace meshforge {

namespace {
std::uint32_t ByteOf(float channel) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

bool NamesOnlyVertices(const ObjectData& line, std::size_t vertexCount) {
    return std::all_of(line.VertexIndices.begin(), line.VertexIndices.end(), [&](int32_t v) {
        return v >= 0 && static_cast<std::size_t>(v) < vertexCount;
    });
}
} // namespace

std::uint32_t ColorRefOf(const ColorTriple& color) {
    return ByteOf(color.R) | ByteOf(color.G) << 8 | ByteOf(color.B) << 16;
}

ColorTriple ColorTripleOf(std::uint32_t colorRef) {
    return {static_cast<float>(colorRef & 0xFF) / 255.0f,
            static_cast<float>((colorRef >> 8) & 0xFF) / 255.0f,
            static_cast<float>((colorRef >> 16) & 0xFF) / 255.0f};
}

bool ChooseColorTriple(Ui& ui, ColorTriple& color) {
    std::optional<std::uint32_t> chosen = ui.ChooseColor(ColorRefOf(color));
    if (!chosen)
        return false;
    color = ColorTripleOf(*chosen);
    return true;
}

void CreateLine(Project& project, int32_t first, int32_t second, ColorTriple color) {
    ObjectData line;
    line.Color = color;
    line.VertexIndices = {first, second};
    project.Lines.push_back(std::move(line));
    BumpRevision(project);
    ClearVertexSelection(project);
}

std::string LineListEntry(std::size_t index, const ObjectData& line) {
    std::string text = std::to_string(index).substr(0, 3);
    text.resize(3, ' ');
    text += ":  ";
    for (std::size_t i = 0; i < line.VertexIndices.size(); ++i)
        text += (i ? "," : "") + std::to_string(line.VertexIndices[i]);
    return text;
}

std::vector<std::string> LineListEntries(const Project& project) {
    std::vector<std::string> rows;
    rows.reserve(project.Lines.size());
    for (std::size_t i = 0; i < project.Lines.size(); ++i)
        rows.push_back(LineListEntry(i, project.Lines[i]));
    return rows;
}

bool SelectRows(std::vector<ObjectData>& elements, const std::vector<bool>& rowSelected) {
    bool any = false;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        elements[i].Selected = i < rowSelected.size() && rowSelected[i];
        any = any || elements[i].Selected;
    }
    return any;
}

std::size_t SelectedCount(const std::vector<ObjectData>& elements) {
    return static_cast<std::size_t>(std::count_if(elements.begin(), elements.end(),
                                                  [](const ObjectData& e) { return e.Selected; }));
}

void LineUndoSnapshot::Take(const Project& project) {
    lines_.clear();
    for (const ObjectData& line : project.Lines) {
        ObjectData copy;
        copy.Color = line.Color;
        copy.VertexIndices = line.VertexIndices;
        lines_.push_back(std::move(copy));
    }
    stamp_.Take(project);
    taken_ = true;
}

void LineUndoSnapshot::Discard() {
    lines_.clear();
    taken_ = false;
}

LineUndoResult LineUndoSnapshot::Restore(Project& project, Ui& ui) {
    LineUndoResult result = LineUndoResult::Restored;
    if (!taken_)
        result = LineUndoResult::Empty;
    else if (!stamp_.Matches(project))
        result = LineUndoResult::Stale;
    else if (!std::all_of(lines_.begin(), lines_.end(), [&](const ObjectData& line) {
                 return NamesOnlyVertices(line, project.Vertices.size());
             }))
        result = LineUndoResult::VertexMissing;
    if (result == LineUndoResult::Stale)
        ui.Message(kUndoStaleMessage);
    if (result == LineUndoResult::Restored) {
        project.Lines = std::move(lines_);
        BumpRevision(project);
    }
    Discard();
    return result;
}

bool DeleteLine(Project& project) {
    const int32_t current = project.CurrentLine;
    project.CurrentLine = kNoElement;
    if (current < 0 || static_cast<std::size_t>(current) >= project.Lines.size())
        return false;
    std::vector<bool> remove(project.Lines.size(), false);
    remove[current] = true;
    RemoveLinesWhere(project, remove);
    return true;
}

void RemoveSelectedLines(Project& project, LineUndoSnapshot& undo) {
    undo.Take(project);
    const uint64_t taken = project.Revision;
    std::vector<bool> remove;
    for (const ObjectData& line : project.Lines)
        remove.push_back(line.Selected);
    RemoveLinesWhere(project, remove);
    undo.Follow(project, taken);
    project.CurrentLine = kNoElement;
}

bool RemoveAllLines(Project& project, LineUndoSnapshot& undo, Ui& ui) {
    if (ui.Ask("Are you sure ?", "Remove all Lines", Buttons::YesNo) != Answer::Yes)
        return false;
    undo.Take(project);
    const uint64_t taken = project.Revision;
    if (!project.Lines.empty())
        BumpRevision(project);
    project.Lines.clear();
    undo.Follow(project, taken);
    project.CurrentLine = kNoElement;
    ui.Log("All Lines Cleared !");
    return true;
}

void RedefineSelectedLineColor(Project& project, ColorTriple& currentLineColor,
                               LineUndoSnapshot& undo, Ui& ui) {
    undo.Take(project);
    ChooseColorTriple(ui, currentLineColor);
    for (ObjectData& line : project.Lines)
        if (line.Selected)
            line.Color = currentLineColor;
}

EditPanelState EditPanelFor(const std::vector<ObjectData>& elements) {
    EditPanelState state;
    const std::size_t selected = SelectedCount(elements);
    state.RepickEnabled = selected < 2;
    if (selected == 1)
        state.SingleColor = std::find_if(elements.begin(), elements.end(), [](const ObjectData& e) {
                                return e.Selected;
                            })->Color;
    return state;
}

int CreateVisLines(Project& project, ColorTriple color, Ui& ui) {
    return CreateVisLines(project, color, false, ui);
}

int CreateVisLines(Project& project, ColorTriple& currentLineColor, bool askColor, Ui& ui) {
    ui.Log("Creating subsequent lines:");
    ui.Log("Pick color !");
    if (askColor)
        ChooseColorTriple(ui, currentLineColor);
    // Runs to the end without yielding to the event loop, so no command can change the
    // vertex list half-way.
    const auto n = static_cast<int32_t>(project.Vertices.size());
    for (int32_t i = 0; i < n; ++i) {
        ObjectData line;
        line.Color = currentLineColor;
        line.VertexIndices = {i, i + 1 < n ? i + 1 : 0};
        project.VisLines.push_back(std::move(line));
    }
    if (n > 0)
        BumpRevision(project);
    ClearVertexSelection(project);
    ui.Log(std::to_string(n) + " subsequent Lines created");
    return n;
}

void RemoveVisLines(Project& project, Ui& ui) {
    ClearVertexSelection(project);
    if (!project.VisLines.empty())
        BumpRevision(project);
    project.VisLines.clear();
    ui.Log("Subsequent Lines removed");
}

int ConvertVisLines(Project& project, Ui& ui) {
    for (const ObjectData& vis : project.VisLines) {
        ObjectData line;
        line.Color = vis.Color;
        line.VertexIndices = vis.VertexIndices;
        project.Lines.push_back(std::move(line));
    }
    const auto converted = static_cast<int>(project.VisLines.size());
    if (converted > 0)
        BumpRevision(project);
    ClearVertexSelection(project);
    RemoveVisLines(project, ui);
    ui.Log("Converted visualization lines to 3DO lines");
    return converted;
}

bool RebuildVisLinesAround(Project& project, ColorTriple& currentLineColor, Ui& ui,
                           const std::function<void()>& command) {
    if (project.VisLines.empty()) {
        command();
        return false;
    }
    currentLineColor = project.VisLines.front().Color;
    RemoveVisLines(project, ui);
    try {
        command();
    } catch (...) {
        // Stale lines would name vertices that moved or went away; rebuild over what is left.
        CreateVisLines(project, currentLineColor, ui);
        throw;
    }
    CreateVisLines(project, currentLineColor, ui);
    return true;
}

} // namespace meshforge
