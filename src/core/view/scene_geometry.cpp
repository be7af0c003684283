#include "view/scene_geometry.h"

#include "model/project.h"
#include "view/camera.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace meshforge {

namespace {

struct Level {
    int Slices, Stacks;
    double MaxPixelRadius;
};
constexpr Level kLevels[kSphereLevels] = {{4, 2, 1.5},  {6, 4, 3},    {8, 6, 6},      {12, 8, 12},
                                          {16, 12, 30}, {24, 16, 80}, {32, 24, 1e300}};

std::vector<float> Tessellate(int slices, int stacks) {
    std::vector<float> out;
    auto point = [&](int i, int j) {
        const double theta = std::numbers::pi * i / stacks;
        const double phi = 2 * std::numbers::pi * j / slices;
        out.push_back(float(std::sin(theta) * std::cos(phi)));
        out.push_back(float(std::sin(theta) * std::sin(phi)));
        out.push_back(float(std::cos(theta)));
    };
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            // The triangles that would collapse onto a pole are left out.
            if (i + 1 < stacks) {
                point(i, j);
                point(i + 1, j);
                point(i + 1, j + 1);
            }
            if (i > 0) {
                point(i, j);
                point(i + 1, j + 1);
                point(i, j + 1);
            }
        }
    return out;
}

} // namespace

const std::vector<float>& UnitSphereTriangles(std::size_t level) {
    static const std::array<std::vector<float>, kSphereLevels> spheres = [] {
        std::array<std::vector<float>, kSphereLevels> s;
        for (std::size_t l = 0; l < kSphereLevels; ++l)
            s[l] = Tessellate(kLevels[l].Slices, kLevels[l].Stacks);
        return s;
    }();
    return spheres[std::min(level, kSphereLevels - 1)];
}

std::size_t SphereLevelFor(double pixelRadius) {
    std::size_t l = 0;
    while (l + 1 < kSphereLevels && pixelRadius > kLevels[l].MaxPixelRadius)
        ++l;
    return l;
}

SphereSizing SphereSizing::For(const ViewOptions& o, int w, int h, int deviceHeight) {
    const ProjectionParams proj = ProjectionFor(o.Perspective, o.Zoom, w, h);
    // Pixels per unit of clip-space y.
    const double yScale = proj.Perspective
                              ? 1.0 / std::tan(std::max(proj.FovY, 1e-6) * std::numbers::pi / 360.0)
                              : 2.0 / std::max(proj.Top - proj.Bottom, 1e-12);
    return {o.VertexDisplaySize / 15.0, yScale * deviceHeight / 2};
}

std::size_t SphereSizing::Level(const Mat4& scene, const Vertex& v, double r) const {
    const double clipW = scene(3, 0) * v.X + scene(3, 1) * v.Y + scene(3, 2) * v.Z + scene(3, 3);
    return SphereLevelFor(clipW > 0 ? r * PixelScale / clipW : 0);
}

GridLattice GridLatticeOf(const BoundingBox& b) {
    GridLattice g;
    if (!std::isfinite(b.MinX) || !std::isfinite(b.MaxX) || !std::isfinite(b.MinY) ||
        !std::isfinite(b.MaxY) || !std::isfinite(b.MinZ) || !std::isfinite(b.MaxZ))
        return g;
    g.X0 = std::llround(b.MinX), g.X1 = std::llround(b.MaxX);
    g.Y0 = std::llround(b.MinY), g.Y1 = std::llround(b.MaxY);
    g.Z0 = std::llround(b.MinZ), g.Z1 = std::llround(b.MaxZ);
    const double count =
        double(g.X1 - g.X0 + 1) * double(g.Y1 - g.Y0 + 1) * double(g.Z1 - g.Z0 + 1);
    g.Drawn = g.X1 >= g.X0 && g.Y1 >= g.Y0 && g.Z1 >= g.Z0 && count <= kMaxGridPoints;
    return g;
}

} // namespace meshforge
