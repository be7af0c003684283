#include "view/pick.h"

#include "edit/lines.h"
#include "edit/polygons.h"
#include "edit/vertices.h"
#include "model/project_file.h"
#include "ui/ui.h"
#include "view/pick_prompts.h"

#include <algorithm>

namespace meshforge {

namespace {

constexpr const char* kNothingSelected = "Oops, nothing Selected !";
constexpr const char* kVertexOnly = "Select Vertex only !";
constexpr const char* kDifferentVertex = "Select different Vertex !";
constexpr const char* kAlreadyUsed =
    "Select vertex already used in this polygon. Select different Vertex !";

// The four wrong-pick messages: a beep replaces the log line when sounds are on.
void Report(Ui& ui, bool playSound, const char* message) {
    if (playSound)
        ui.Beep();
    else
        ui.Log(message);
}

std::string TextureNameOf(const Project& project, int32_t textureIndex) {
    if (textureIndex < 0 || textureIndex >= kUntextured ||
        static_cast<std::size_t>(textureIndex) >= project.Textures.size())
        return "Untextured";
    std::string_view name = FileNamePart(project.Textures[textureIndex].Filename);
    // Drops the extension (".bmp").
    return std::string(name.substr(0, name.size() - std::min<std::size_t>(4, name.size())));
}

} // namespace

PickHit DecodePickName(uint32_t name) {
    if (name < kLineNameBase)
        return {PickHit::Kind::Vertex, name};
    if (name < kPolygonNameBase)
        return {PickHit::Kind::Line, name - kLineNameBase};
    if (name - kPolygonNameBase < kPickIndexLimit)
        return {PickHit::Kind::Polygon, name - kPolygonNameBase};
    return {PickHit::Kind::None, 0};
}

std::optional<std::string> HoverText(const Project& project, const std::vector<uint32_t>& names,
                                     std::string_view previous) {
    if (names.empty())
        return std::nullopt;
    std::string text(previous);
    for (uint32_t name : names) {
        PickHit hit = DecodePickName(name);
        std::string n = std::to_string(hit.index);
        switch (hit.kind) {
        case PickHit::Kind::Vertex:
            if (hit.index < project.Vertices.size())
                text = "Vertex No. " + n;
            break;
        case PickHit::Kind::Line:
            if (hit.index < project.Lines.size())
                text = "Line No. " + n;
            break;
        case PickHit::Kind::Polygon:
            if (hit.index < project.Polygons.size())
                text = "Polygon No. " + n + "\r\nTexture Name: " +
                       TextureNameOf(project, project.Polygons[hit.index].TextureIndex);
            break;
        case PickHit::Kind::None:
            break;
        }
    }
    return text;
}

bool PickState::AnyModeOn() const {
    return std::any_of(on_.begin(), on_.end(), [](bool on) { return on; });
}

void PickState::BeginLine(Ui& ui, bool askColor) {
    Set(PickMode::LineCreation, true);
    ui.Log("Creating a line:");
    if (askColor) {
        ui.Log("Pick color !");
        ChooseColorTriple(ui, editor_.LineColor);
    }
    ui.Log("Pick first vertex !");
    linePickCount_ = 0;
}

void PickState::BeginPolygon(Ui& ui, bool askColor) {
    Set(PickMode::PolygonCreation, true);
    ui.Log("Creating a Flat Shading Polygon:");
    // With random colours every polygon gets a new one, whatever the answer was.
    if (askColor || !manualPolygonColors_)
        ChoosePolygonColor(editor_, ui, manualPolygonColors_);
    ui.Log("Pick first vertex !");
    picked_.clear();
}

void PickState::StartLineCreation(Ui& ui) {
    BeginLine(ui, true);
}

void PickState::StartPolygonCreation(Ui& ui, bool manualColors) {
    manualPolygonColors_ = manualColors;
    BeginPolygon(ui, true);
}

bool PickState::StartPolygonRedefinition(Project& project, int32_t polygon) {
    if (polygon < 0 || static_cast<std::size_t>(polygon) >= project.Polygons.size() ||
        project.Polygons[polygon].VertexCount() < 2)
        return false;
    project.CurrentPolygon = polygon;
    picked_.clear();
    Set(PickMode::PolygonRedefinition, true);
    return true;
}

bool PickState::StartLineRedefinition(Project& project, int32_t line) {
    if (line < 0 || static_cast<std::size_t>(line) >= project.Lines.size())
        return false;
    project.CurrentLine = line;
    picked_.clear();
    Set(PickMode::LineRedefinition, true);
    return true;
}

void PickState::StartPivotPick(Ui& ui) {
    ui.Message("Pick vertex as pivot point !");
    Set(PickMode::PivotPick, true);
}

const char* PickState::Refusal(PickMode mode, int32_t vertex) const {
    switch (mode) {
    case PickMode::LineCreation:
        return linePickCount_ == 1 && vertex == lineFirst_ ? kDifferentVertex : nullptr;
    case PickMode::PolygonCreation:
    case PickMode::PolygonRedefinition:
        if (!picked_.empty() && vertex == picked_.back())
            return kDifferentVertex;
        // The first corner may come again: it closes the ring.
        if (!picked_.empty() && vertex != picked_.front() &&
            std::find(picked_.begin(), picked_.end(), vertex) != picked_.end())
            return kAlreadyUsed;
        return nullptr;
    case PickMode::LineRedefinition:
        return !picked_.empty() && vertex == picked_.back() ? kDifferentVertex : nullptr;
    case PickMode::PivotPick:
        return nullptr;
    }
    return nullptr;
}

ClickResult PickState::Click(Project& project, const std::vector<uint32_t>& names, bool leftButton,
                             bool playSound, Ui& ui, PickPrompts& prompts) {
    if (!leftButton)
        return {};
    constexpr PickMode kOrder[] = {PickMode::LineCreation, PickMode::PolygonCreation,
                                   PickMode::PolygonRedefinition, PickMode::PivotPick,
                                   PickMode::LineRedefinition};
    const PickMode* served = std::find_if(std::begin(kOrder), std::end(kOrder),
                                          [this](PickMode m) { return ModeOn(m); });
    if (served == std::end(kOrder))
        return {};
    const PickMode mode = *served;

    ClickResult result;
    result.Redraw = true;
    if (names.empty()) {
        Report(ui, playSound, kNothingSelected);
        return result;
    }
    std::optional<int32_t> candidate;
    for (uint32_t name : names) {
        PickHit hit = DecodePickName(name);
        if (hit.kind != PickHit::Kind::Vertex || hit.index >= project.Vertices.size())
            continue;
        const auto vertex = static_cast<int32_t>(hit.index);
        if (const char* refusal = Refusal(mode, vertex)) {
            Report(ui, playSound, refusal);
            return result;
        }
        if (mode == PickMode::PolygonCreation)
            ui.Log("Picked = " + std::to_string(vertex));
        else if (mode == PickMode::PolygonRedefinition || mode == PickMode::LineRedefinition)
            ui.Log("Picked vertex " + std::to_string(vertex));
        candidate = vertex;
    }
    if (!candidate) {
        Report(ui, playSound, kVertexOnly);
        return result;
    }
    Accept(mode, project, *candidate, ui, prompts, result);
    return result;
}

void PickState::Accept(PickMode mode, Project& project, int32_t n, Ui& ui, PickPrompts& prompts,
                       ClickResult& result) {
    const std::string ns = std::to_string(n);
    switch (mode) {
    case PickMode::LineCreation:
        project.Vertices[n].Selected = true;
        ui.Log("Vertex " + ns + " selected");
        if (++linePickCount_ == 1) {
            lineFirst_ = n;
            ui.Log("Pick second vertex !");
            return;
        }
        lineSecond_ = n;
        ui.Log("Line No. " + std::to_string(project.Lines.size() + 1) +
               " created, using vertices " + std::to_string(lineFirst_) + " and " + ns);
        linePickCount_ = 0;
        CreatePickedLine(project, editor_, lineFirst_, lineSecond_);
        result.LinesChanged = true;
        switch (prompts.AskCreateNewLine()) {
        case NextElement::SameColor:
            BeginLine(ui, false);
            break;
        case NextElement::NewColor:
            BeginLine(ui, true);
            break;
        case NextElement::Stop:
            Set(PickMode::LineCreation, false);
            result.Show = WindowToShow::LineWindow;
            break;
        }
        return;

    case PickMode::PolygonCreation:
        picked_.push_back(n);
        project.Vertices[n].Selected = true;
        if (picked_.size() > 1 && n == picked_.front()) {
            CreatePolygon(project, picked_, editor_.PolygonColor, ui);
            Set(PickMode::PolygonCreation, false);
            picked_.clear();
            result.PolygonsChanged = true;
            NextElement next = prompts.AskCreateNewPolygon(manualPolygonColors_);
            if (next == NextElement::Stop)
                result.Show = WindowToShow::PolygonWindow;
            else
                BeginPolygon(ui, next == NextElement::NewColor);
            return;
        }
        ui.Log(picked_.size() > 2 ? "Pick next vertex (or first vertex to close) !"
                                  : "Pick next vertex !");
        return;

    case PickMode::PolygonRedefinition: {
        picked_.push_back(n);
        project.Vertices[n].Selected = true;
        const int32_t p = project.CurrentPolygon;
        // The polygon list may have changed while the window was hidden.
        const bool valid = p >= 0 && static_cast<std::size_t>(p) < project.Polygons.size() &&
                           project.Polygons[p].VertexCount() >= 2;
        if (valid && picked_.size() + 1 < project.Polygons[p].VertexIndices.size())
            return;
        if (valid) {
            std::vector<int32_t>& ring = project.Polygons[p].VertexIndices;
            std::copy_n(picked_.begin(), std::min(picked_.size(), ring.size() - 1), ring.begin());
            ring.back() = picked_.front();
            ui.Log("Polygon No. " + std::to_string(p) + " redefined.");
            result.PolygonsChanged = true;
        }
        ClearVertexSelection(project);
        Set(PickMode::PolygonRedefinition, false);
        picked_.clear();
        result.Show = WindowToShow::PolygonWindow;
        return;
    }

    case PickMode::PivotPick:
        editor_.PivotVertex = n;
        Set(PickMode::PivotPick, false);
        ui.Log("Picked vertex " + ns + " as pivot point.");
        result.PivotChanged = true;
        return;

    case PickMode::LineRedefinition: {
        picked_.push_back(n);
        project.Vertices[n].Selected = true;
        if (picked_.size() < 2)
            return;
        const int32_t l = project.CurrentLine;
        if (l >= 0 && static_cast<std::size_t>(l) < project.Lines.size()) {
            project.Lines[l].VertexIndices = picked_;
            ui.Log("Line No. " + std::to_string(l) + " redefined.");
            result.LinesChanged = true;
        }
        ClearVertexSelection(project);
        Set(PickMode::LineRedefinition, false);
        picked_.clear();
        result.Show = WindowToShow::LineWindow;
        return;
    }
    }
}

} // namespace meshforge
