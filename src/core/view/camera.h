#pragma once
#include "util/vec_math.h"

#include <array>
#include <cstdint>

namespace meshforge {

struct BoundingBox;
struct Project;
struct ViewOptions;

// The matrices of glFrustum/gluPerspective, glOrtho, gluLookAt, glRotated and gluPickMatrix,
// computed as those functions specify them.
Mat4 PerspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar);
Mat4 OrthoMatrix(double left, double right, double bottom, double top, double zNear, double zFar);
Mat4 LookAtMatrix(const Vec3& eye, const Vec3& centre, const Vec3& up);
Mat4 RotationMatrix(double degrees, double x, double y, double z);
// viewport = {x, y, width, height}; (px, py) in window coordinates with y counted from the
// bottom, as gluPickMatrix takes them.
Mat4 PickMatrix(double px, double py, double width, double height,
                const std::array<int, 4>& viewport);

enum class ViewKind { Left = 1, Right, Front, Back, Top, Bottom, Custom };

// Camera state owned by the view; Zoom, rotations and pan live in the Project's ViewOptions,
// the pivot vertex in the editor state.
struct ViewState {
    ViewKind Kind = ViewKind::Custom;
    bool Dragging = false;
    int DragAnchorX = 0, DragAnchorY = 0;
    bool OriginPivot = false; // the Rotate dialog's "Origin (0,0,0)" radio
    int PanScale = 10;        // the main window's hidden SpinEdit1
};

struct ProjectionParams {
    bool Perspective = true;
    // Perspective: gluPerspective(FovY, Aspect, 20, 20000). Orthographic:
    // glOrtho(Left, Right, Bottom, Top, -1, 10000).
    double FovY = 35, Aspect = 1, Near = 20, Far = 20000;
    double Left = 0, Right = 0, Bottom = 0, Top = 0;
};
// w, h: client size in pixels (0 or below is taken as 1). A Zoom of 0 or below gives the matrices
// of Zoom 1 instead of a degenerate or mirrored view.
ProjectionParams ProjectionFor(bool perspective, int zoom, int w, int h);
Mat4 ProjectionMatrix(const ProjectionParams& p);

struct CameraPose {
    Vec3 Eye, Centre, Up;
};
// The eye, the point looked at and the up vector of a preset around the box centre.
CameraPose CameraFor(ViewKind kind, bool perspective, const BoundingBox& box, int panX, int panY,
                     int panScale);

// Projection, camera and the rotations about X, then Y, then Z: the whole chain the view
// multiplies onto the projection matrix (onto the pick matrix when picking).
Mat4 SceneMatrix(const ViewOptions& options, const ViewState& view, const BoundingBox& box, int w,
                 int h);

// Zoom All: Zoom from max X, VertexDisplaySize from the X range (half to even), pan 0. The
// zoom bar clamps Zoom into 1..450. Where the X range gives a size below 1, the size comes
// from the largest extent of the box (0.15 of it, within 1..30: a radius of a hundredth), so the
// spheres never vanish.
struct ZoomAllValues {
    int Zoom = 70;
    int VertexDisplaySize = 3;
};
ZoomAllValues ZoomAll(const BoundingBox& box);

// One tick of the automatic rotation: 0, 1, ..., 361, 0, ...
int NextRotationAngle(int angle);

// The wheel: the bound is tested before the step, so Zoom may end 3 beyond the bar's range.
int WheelZoom(int zoom, bool towardsUser, int barMin = 1, int barMax = 450);

// VerticesVisible for the one redraw while a rotation bar (rotation = true) or the zoom bar
// moves, from the "Show Vertices" state.
bool VerticesVisibleWhileMoving(const Project& project, bool rotation, bool showVertices);

// The clip-space plane test: true when no point of the axis-aligned box can appear inside the
// frustum of `m` (all eight corners beyond one of its six planes). Conservative: a box near a
// plane counts as inside.
struct Box3 {
    Vec3 Min, Max;
};
bool BoxOutsideFrustum(const Mat4& m, const Box3& box);

} // namespace meshforge
