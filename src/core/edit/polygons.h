#pragma once
#include "model/project.h"

#include <cstdint>
#include <vector>

namespace meshforge {

struct Ui;

// Appends an untextured polygon in `color` whose corners are `closedRing` (which already ends
// with the repeat of its first corner), clears every polygon's and vertex's Selected flag and
// logs the creation with the new polygon count.
void CreatePolygon(Project& project, const std::vector<int32_t>& closedRing, ColorTriple color,
                   Ui& ui);

} // namespace meshforge
