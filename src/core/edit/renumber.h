#pragma once
#include <vector>

namespace meshforge {

struct Project;

// Removes the polygons whose flag is set (`remove` has one flag per polygon), keeping the
// order of the others. Collision volumes stay valid: planes that name a removed polygon are
// dropped, the others renumbered, and a volume left without a plane is removed.
// CurrentPolygon is the callers' business.
void RemovePolygonsWhere(Project& project, const std::vector<bool>& remove);

// Removes the lines whose flag is set, keeping the order of the others.
void RemoveLinesWhere(Project& project, const std::vector<bool>& remove);

} // namespace meshforge
