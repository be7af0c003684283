#pragma once
#include "model/project.h"

#include <cstdint>

namespace meshforge {

struct Ui;

// Colour dialog values are 0x00BBGGRR; the triples keep each channel as byte / 255.
std::uint32_t ColorRefOf(const ColorTriple& color);
ColorTriple ColorTripleOf(std::uint32_t colorRef);
// The colour dialog of lines and polygons, started on `color`: OK stores the choice in
// `color` and returns true, Cancel leaves it.
bool ChooseColorTriple(Ui& ui, ColorTriple& color);

// Appends the line first-second in `color` and clears every vertex's Selected flag.
void CreateLine(Project& project, int32_t first, int32_t second, ColorTriple color);

} // namespace meshforge
