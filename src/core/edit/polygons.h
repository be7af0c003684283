#pragma once
#include "model/project.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace meshforge {

struct Ui;

// Appends an untextured polygon in `color` whose corners are `closedRing` (which already ends
// with the repeat of its first corner), clears every polygon's and vertex's Selected flag and
// logs the creation with the new polygon count.
void CreatePolygon(Project& project, const std::vector<int32_t>& closedRing, ColorTriple color,
                   Ui& ui);

// One row of the polygon list: the index left-aligned in 3 characters (cut when longer), ":  ",
// the texture index or "None" left-aligned in 6, then the distinct corners (all entries but the
// closing repeat) joined by ", " ("2  :  None  3, 7, 9").
std::string PolygonListEntry(std::size_t index, const ObjectData& polygon);
std::vector<std::string> PolygonListEntries(const Project& project);

// Removes the polygon CurrentPolygon (later polygons move down, collision volumes follow) and
// sets CurrentPolygon := none, since the old index may now name a different polygon. Returns
// false, changing nothing but CurrentPolygon, when it names no polygon.
bool DeletePolygon(Project& project);
// "Remove Selected": every selected polygon is removed; CurrentPolygon := none.
void RemoveSelectedPolygons(Project& project);
// "Remove All": asks first; on Yes empties the polygons and with them the collision volumes.
// The texture list is kept.
// Returns whether it did.
bool RemoveAllPolygons(Project& project, Ui& ui);

// "Re-define Color": the colour dialog on `currentPolygonColor`, then every selected polygon
// takes `currentPolygonColor` (also when the dialog was cancelled).
void RedefineSelectedPolygonColor(Project& project, ColorTriple& currentPolygonColor, Ui& ui);

// The edit panel's texture list: "0" to texture count - 1, then "Multiple".
std::vector<std::string> TextureChoices(const Project& project);
struct TextureChoiceState {
    bool Enabled = true;
    std::size_t Row = 0; // into TextureChoices(); its last row is "Multiple"
};
// Exactly one selected: disabled when it is untextured, else its texture's row (a texture index
// past the list shows "Multiple"). Several or none selected: "Multiple".
TextureChoiceState TextureChoiceFor(const Project& project);

// A choice in the texture list. nullopt is "Multiple", which is refused with a message. An
// untextured selected polygon is refused with a message naming it and stays untextured; the
// textured ones take `textureIndex` and keep their TexCoords. An index past the texture list
// changes nothing. Returns the number of polygons reassigned.
int ReassignSelectedTexture(Project& project, std::optional<int32_t> textureIndex, Ui& ui);

} // namespace meshforge
