#include "edit/polygons.h"

#include "edit/lines.h"
#include "edit/vertices.h"
#include "model/renumber.h"
#include "ui/ui.h"

#include <algorithm>
#include <string>

namespace meshforge {

namespace {

std::string LeftAligned(std::string text, std::size_t width) {
    if (text.size() < width)
        text.resize(width, ' ');
    return text;
}

bool IsUntextured(const ObjectData& polygon) {
    return polygon.TextureIndex == kUntextured;
}

std::vector<bool> SelectionFlags(const std::vector<ObjectData>& elements) {
    std::vector<bool> flags;
    flags.reserve(elements.size());
    for (const ObjectData& e : elements)
        flags.push_back(e.Selected);
    return flags;
}

} // namespace

void CreatePolygon(Project& project, const std::vector<int32_t>& closedRing, ColorTriple color,
                   Ui& ui) {
    ObjectData polygon;
    polygon.Color = color;
    polygon.VertexIndices = closedRing;
    polygon.TextureIndex = kUntextured;
    project.Polygons.push_back(std::move(polygon));
    BumpRevision(project);
    for (ObjectData& p : project.Polygons)
        p.Selected = false;
    ClearVertexSelection(project);

    std::string line =
        "Polygon No. " + std::to_string(project.Polygons.size()) + " created, using vertices ";
    for (std::size_t i = 0; i < closedRing.size(); ++i)
        line += (i ? ", " : "") + std::to_string(closedRing[i]);
    ui.Log(line);
}

std::string PolygonListEntry(std::size_t index, const ObjectData& polygon) {
    std::string text = LeftAligned(std::to_string(index).substr(0, 3), 3) + ":  ";
    text += LeftAligned(IsUntextured(polygon) ? "None" : std::to_string(polygon.TextureIndex), 6);
    const std::vector<int32_t>& ring = polygon.VertexIndices;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i)
        text += (i ? ", " : "") + std::to_string(ring[i]);
    return text;
}

std::vector<std::string> PolygonListEntries(const Project& project) {
    std::vector<std::string> rows;
    rows.reserve(project.Polygons.size());
    for (std::size_t i = 0; i < project.Polygons.size(); ++i)
        rows.push_back(PolygonListEntry(i, project.Polygons[i]));
    return rows;
}

bool DeletePolygon(Project& project) {
    const int32_t current = project.CurrentPolygon;
    project.CurrentPolygon = kNoElement;
    if (current < 0 || static_cast<std::size_t>(current) >= project.Polygons.size())
        return false;
    std::vector<bool> remove(project.Polygons.size(), false);
    remove[current] = true;
    RemovePolygonsWhere(project, remove);
    return true;
}

void RemoveSelectedPolygons(Project& project) {
    RemovePolygonsWhere(project, SelectionFlags(project.Polygons));
    project.CurrentPolygon = kNoElement;
}

bool RemoveAllPolygons(Project& project, Ui& ui) {
    if (ui.Ask("Are you sure ?", "Remove all Polygons", Buttons::YesNo) != Answer::Yes)
        return false;
    RemovePolygonsWhere(project, std::vector<bool>(project.Polygons.size(), true));
    project.CurrentPolygon = kNoElement;
    ui.Log("All Polygons Cleared !");
    return true;
}

void RedefineSelectedPolygonColor(Project& project, ColorTriple& currentPolygonColor, Ui& ui) {
    ChooseColorTriple(ui, currentPolygonColor);
    for (ObjectData& polygon : project.Polygons)
        if (polygon.Selected)
            polygon.Color = currentPolygonColor;
}

std::vector<std::string> TextureChoices(const Project& project) {
    std::vector<std::string> choices;
    for (std::size_t i = 0; i < project.Textures.size(); ++i)
        choices.push_back(std::to_string(i));
    choices.emplace_back("Multiple");
    return choices;
}

TextureChoiceState TextureChoiceFor(const Project& project) {
    const std::size_t multiple = project.Textures.size();
    const auto& polygons = project.Polygons;
    const auto selected = std::count_if(polygons.begin(), polygons.end(),
                                        [](const ObjectData& p) { return p.Selected; });
    if (selected != 1)
        return {true, multiple};
    const ObjectData& one = *std::find_if(polygons.begin(), polygons.end(),
                                          [](const ObjectData& p) { return p.Selected; });
    if (IsUntextured(one))
        return {false, multiple};
    const bool listed =
        one.TextureIndex >= 0 && static_cast<std::size_t>(one.TextureIndex) < multiple;
    return {true, listed ? static_cast<std::size_t>(one.TextureIndex) : multiple};
}

int ReassignSelectedTexture(Project& project, std::optional<int32_t> textureIndex, Ui& ui) {
    if (!textureIndex) {
        ui.Message("Not possible to texturize polygon with this function !");
        return 0;
    }
    if (*textureIndex < 0 || static_cast<std::size_t>(*textureIndex) >= project.Textures.size())
        return 0;
    int reassigned = 0;
    for (std::size_t i = 0; i < project.Polygons.size(); ++i) {
        ObjectData& polygon = project.Polygons[i];
        if (!polygon.Selected)
            continue;
        if (IsUntextured(polygon)) {
            ui.Message("Not possible to texturize polygon No. " + std::to_string(i) +
                       " with this function !");
            continue;
        }
        polygon.TextureIndex = *textureIndex;
        ++reassigned;
    }
    return reassigned;
}

} // namespace meshforge
