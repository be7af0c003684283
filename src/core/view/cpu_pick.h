#pragma once
// The hover pick without a selection pass: the view's primitives clipped against the one-pixel
// pick region on the CPU, in the order and with the names the selection pass reports them.
#include "util/vec_math.h"
#include "view/scene_geometry.h"

#include <cstdint>
#include <vector>

namespace meshforge {

struct Project;

struct PickView {
    Mat4 Scene;  // the view's SceneMatrix
    Mat4 Region; // the PickMatrix of the one-pixel region
    SphereSizing Spheres;
    int32_t PivotVertex = -1;
    bool OriginPivot = false;
    bool CullBackFaces = false; // "Show Backside" off
    bool ShowGrid = false;
    double GridScale = 1;
};

// What the selection pass of the same view reports: one name per object that has a primitive
// left after clipping to the region (and, for faces, after back faces are dropped), in drawing
// order, kNoObjectName for the visualization lines and for the axis and grid. It follows the
// renderer's own rules: lines and points are clipped as lines and points whatever their width,
// a polygon is a fan of triangles (k, k + 1, 0) culled one by one, a segment that only touches
// the region is not hit.
std::vector<uint32_t> PickNamesOnCpu(const Project& project, const PickView& view);

} // namespace meshforge
