#pragma once
// The shapes the 3D view draws besides the Project's own lists: the vertex spheres and the grid
// lattice. The drawing and the picking on the CPU both take them from here, so they see the
// same triangles and points.
#include "util/vec_math.h"

#include <cstddef>
#include <vector>

namespace meshforge {

struct BoundingBox;
struct ViewOptions;
struct Vertex;

// A sphere a pixel or two across needs only a handful of triangles; a large one stays round.
inline constexpr std::size_t kSphereLevels = 7;
// The unit sphere of a level as plain triangles: x, y, z of each corner.
const std::vector<float>& UnitSphereTriangles(std::size_t level);
std::size_t SphereLevelFor(double pixelRadius);

// Selected vertices are drawn larger, the pivot as a second sphere around its vertex.
inline constexpr double kSelectedSphereScale = 1.5;
inline constexpr double kPivotSphereScale = 3;
// The origin pivot's level: it is drawn as if 40 pixels across, whatever the zoom.
inline constexpr double kOriginPivotPixels = 40;

struct SphereSizing {
    double Radius = 0;     // of a plain vertex: VertexDisplaySize / 15
    double PixelScale = 0; // pixels per unit of radius at clip-space w = 1
    // w, h: the view's size as the projection takes it; deviceHeight in device pixels.
    static SphereSizing For(const ViewOptions& options, int w, int h, int deviceHeight);
    // The level of a sphere of radius r around v, from its size on the screen.
    std::size_t Level(const Mat4& scene, const Vertex& v, double r) const;
};

// The grid: points at whole multiples of the grid scale, indices from the box rounded to whole
// numbers. Grids beyond kMaxGridPoints are left out: a lattice over a terrain several
// kilometres wide would otherwise stop the program drawing at all.
inline constexpr long long kMaxGridPoints = 2'000'000;
struct GridLattice {
    long long X0 = 0, X1 = -1, Y0 = 0, Y1 = -1, Z0 = 0, Z1 = -1;
    bool Drawn = false;
};
GridLattice GridLatticeOf(const BoundingBox& box);

} // namespace meshforge
