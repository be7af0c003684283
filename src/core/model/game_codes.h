#pragma once
// The codes GPL gives meaning to, in one table each: the collision characteristics (rebounds)
// of the planes and the display classes. The collision dialog, the display-class dialog, the
// report and the background-colour check take their names from here. The project file and the
// ASE file carry the codes themselves, so a code without an entry (a hand-edited file) is
// read and written unchanged and shown as its number.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace meshforge {

// The collision characteristics: the code is the position in the list.
inline constexpr std::array<std::string_view, 16> kReboundNames{
    "Undefined", "Asphalt", "Concrete", "Paint",   "Grass",      "Dirt",  "Sand",   "Gravel",
    "Water",     "Armco",   "TireWall", "Haybale", "ChainFence", "Shrub", "Forest", "WoodFence"};

struct DisplayClassEntry {
    int32_t Code;
    std::string_view Text;
};

// The display classes in list order; codes 0 to 8, then 17 to 20.
inline constexpr std::array<DisplayClassEntry, 13> kDisplayClasses{{
    {0, "Track surface        (Textured on/off)"},
    {1, "Terrain                   (Texture on/off)"},
    {2, "Wall                       (Texture on/off)"},
    {3, "Trackside object    (Texture on/off)"},
    {4, "Car                         (Texture on/off)"},
    {5, "Horizon                  (Texture on/off)"},
    {6, "Crowd                    (Texture on/off)"},
    {7, "Cloud                     (Entire Object on/off)"},
    {8, "Tree                       (Entire Object on/off)"},
    {17, "Driver arms            (Entire Object on/off)"},
    {18, "Cockpit interior      (Texture on/off)"},
    {19, "Driver texture         (Texture on/off)"},
    {20, "Racing groove      (Entire Object on/off)"},
}};

// The name of a collision characteristic, or the code's number when the list has none.
std::string ReboundName(int32_t code);

// A characteristic given by its name (any case) or by its code; nullopt for anything not in
// the list.
std::optional<int32_t> ReboundCodeOf(std::string_view nameOrCode);

// The list entry of a display class; nullopt for a code outside the list.
std::optional<std::size_t> DisplayClassEntryOf(int32_t code);

// The entry's text of a display class, or the code's number when the list has none.
std::string DisplayClassText(int32_t code);

} // namespace meshforge
