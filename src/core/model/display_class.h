#pragma once
// The display classes GPL knows: which of its graphic options switches an object's texture
// or the whole object off.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace meshforge {

struct DisplayClassEntry {
    int32_t Code;
    std::string_view Text;
};

// The thirteen entries in list order; codes 0 to 8, then 17 to 20.
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

// The list entry of a code; nullopt for a code outside the list (a hand-edited file).
inline std::optional<std::size_t> DisplayClassEntryOf(int32_t code) {
    for (std::size_t i = 0; i < kDisplayClasses.size(); ++i)
        if (kDisplayClasses[i].Code == code)
            return i;
    return std::nullopt;
}

} // namespace meshforge
