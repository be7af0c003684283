#include "edit/manual_vertex.h"

#include "edit/editor_state.h"
#include "edit/polygons.h"
#include "model/texts.h"
#include "ui/ui.h"
#include "util/errors.h"

#include <optional>

namespace meshforge {

namespace {

constexpr const char* kInvalidVertex = "Not a valid Vertex number !";
constexpr std::size_t kMaxCorners = 4;

// The typed text as a vertex index, or nullopt when it is not an integer naming a vertex.
std::optional<int32_t> VertexOf(const Project& project, std::string_view text) {
    int32_t n = 0;
    try {
        n = ParseInt(text);
    } catch (const ParseError&) {
        return std::nullopt;
    }
    if (n < 0 || static_cast<std::size_t>(n) >= project.Vertices.size())
        return std::nullopt;
    return n;
}

} // namespace

ManualVertexEntry ManualVertexEntry::ForNewPolygon() {
    return {Mode::NewPolygon, kNoElement};
}

ManualVertexEntry ManualVertexEntry::ForPolygon(Project& project, int32_t polygon) {
    project.CurrentPolygon = polygon;
    return {Mode::PolygonRedefinition, polygon};
}

ManualVertexEntry ManualVertexEntry::ForLine(Project& project, int32_t line) {
    project.CurrentLine = line;
    return {Mode::LineRedefinition, line};
}

std::string ManualVertexEntry::Label() const {
    const std::size_t asked = mode_ == Mode::NewPolygon ? corners_.size() + 1 : count_ + 1;
    return "Vertex No. " + std::to_string(asked) + " = ";
}

ManualVertexEntry::Outcome ManualVertexEntry::Add(Project& project, std::string_view text,
                                                  EditorState& editor, bool manualColors, Ui& ui) {
    if (mode_ == Mode::NewPolygon && corners_.size() == kMaxCorners) {
        // The fifth number is not read at all.
        ui.Message("Only triangular or rectangular polygons are supported. Closing Polygon...");
        return ClosePolygon(project, editor, manualColors, ui);
    }
    const std::optional<int32_t> vertex = VertexOf(project, text);
    if (!vertex) {
        ui.Message(kInvalidVertex);
        return Outcome::Refused;
    }
    switch (mode_) {
    case Mode::PolygonRedefinition:
        return StoreIntoPolygon(project, *vertex);
    case Mode::LineRedefinition:
        return StoreIntoLine(project, *vertex);
    case Mode::NewPolygon:
        break;
    }
    corners_.push_back(*vertex);
    return Outcome::Continue;
}

ManualVertexEntry::Outcome ManualVertexEntry::StoreIntoPolygon(Project& project, int32_t vertex) {
    // The polygon is checked on every number: a ring without a corner cannot be redefined.
    if (target_ < 0 || static_cast<std::size_t>(target_) >= project.Polygons.size() ||
        project.Polygons[target_].VertexIndices.size() < 2)
        return Outcome::Closed;
    std::vector<int32_t>& ring = project.Polygons[target_].VertexIndices;
    ring[count_++] = vertex;
    if (static_cast<std::size_t>(count_) < ring.size() - 1)
        return Outcome::Continue;
    ring.back() = ring.front();
    return Outcome::Closed;
}

ManualVertexEntry::Outcome ManualVertexEntry::StoreIntoLine(Project& project, int32_t vertex) {
    if (target_ < 0 || static_cast<std::size_t>(target_) >= project.Lines.size())
        return Outcome::Closed;
    std::vector<int32_t>& ends = project.Lines[target_].VertexIndices;
    if (ends.size() < 2)
        ends.resize(2, vertex);
    ends[count_++] = vertex;
    return count_ < 2 ? Outcome::Continue : Outcome::Closed;
}

ManualVertexEntry::Outcome ManualVertexEntry::ClosePolygon(Project& project, EditorState& editor,
                                                           bool manualColors, Ui& ui) {
    if (corners_.size() < 3) {
        ui.Message("Add Vertices first !");
        return Outcome::Refused;
    }
    std::vector<int32_t> ring = corners_;
    ring.push_back(corners_.front());
    ChoosePolygonColor(editor, ui, manualColors);
    CreatePolygon(project, ring, editor.PolygonColor, ui);
    corners_.clear();
    return Outcome::Closed;
}

std::vector<std::string> ManualVertexEntry::VertexChoices(const Project& project) {
    std::vector<std::string> choices;
    choices.reserve(project.Vertices.size());
    for (std::size_t i = 0; i < project.Vertices.size(); ++i)
        choices.push_back(std::to_string(i));
    return choices;
}

} // namespace meshforge
