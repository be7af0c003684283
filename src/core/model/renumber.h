#pragma once
// Removing elements and renumbering everything that names them, so that the Project's
// invariants hold afterwards: every vertex index of a line, visualization line or polygon names
// a vertex, every texture index is 999 or names a texture, every collision plane names a polygon
// and no collision volume is left without a plane. The project reader (dropping what a file
// names wrongly) and the editor's removals both go through here. `remove` has one flag per
// element; a missing flag keeps its element. Kept elements keep their order. A call that
// changes a list bumps the Project's revision; one that changes nothing leaves it.
#include <cstdint>
#include <vector>

namespace meshforge {

struct Project;

// CurrentLine follows its line, or becomes none when that line is removed.
void RemoveLinesWhere(Project& project, const std::vector<bool>& remove);
void RemoveVisLinesWhere(Project& project, const std::vector<bool>& remove);

// Collision planes that name a removed polygon (or no polygon at all) are dropped, the others
// renumbered, and a volume left without a plane is removed. CurrentPolygon follows its polygon,
// or becomes none.
void RemovePolygonsWhere(Project& project, const std::vector<bool>& remove);

// Removes the flagged collision volumes; the later ones move down over them.
void RemoveCollVolsWhere(Project& project, const std::vector<bool>& remove);

// Polygons of a removed texture become untextured (999), the texture indices after it move down.
// CurrentTexture follows its texture, or becomes none (999).
void RemoveTexturesWhere(Project& project, const std::vector<bool>& remove);

// Removes the flagged vertices with every polygon that uses one of them and every line and
// visualization line with an end among them, and renumbers the remaining indices. Coordinates
// move down over the removed vertices; the Selected flags stay with the positions, as deleting
// the vertices one at a time leaves them. Returns the number of vertices removed.
int32_t RemoveVerticesWhere(Project& project, const std::vector<bool>& remove);

// Merges vertices: vertex i becomes vertex newIndex[i] (one entry per vertex; the `kept`
// survivors are numbered in list order and every merged vertex names its survivor). Every vertex
// index is renumbered through the map and the survivors' coordinates move down to their new
// positions; nothing is removed but the merged vertices.
void MergeVertices(Project& project, const std::vector<int32_t>& newIndex, int32_t kept);

} // namespace meshforge
