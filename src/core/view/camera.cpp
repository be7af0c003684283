#include "view/camera.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "model/project.h"

namespace meshforge {

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;

Vec3 Sub(const Vec3& a, const Vec3& b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

double Dot(const Vec3& a, const Vec3& b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

// A zero vector is left as it is, as GLU does, rather than turned into NaNs.
Vec3 Normalized(const Vec3& v) {
    const double len = std::sqrt(Dot(v, v));
    if (len == 0)
        return v;
    return {v.X / len, v.Y / len, v.Z / len};
}

Mat4 Translation(double x, double y, double z) {
    Mat4 m;
    m(0, 3) = x;
    m(1, 3) = y;
    m(2, 3) = z;
    return m;
}

Mat4 Scaling(double x, double y, double z) {
    Mat4 m;
    m(0, 0) = x;
    m(1, 1) = y;
    m(2, 2) = z;
    return m;
}

// Rounds to a whole number and brings it into int range; NaN gives 0.
int ToInt(double rounded) {
    if (std::isnan(rounded))
        return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return int(std::clamp(rounded, lo, hi));
}

// Half to even, independent of the floating-point rounding mode in force.
double RoundHalfEven(double x) {
    const double lower = std::floor(x);
    const double diff = x - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

} // namespace

Mat4 PerspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar) {
    const double f = 1.0 / std::tan(fovyDegrees * kDegToRad / 2);
    Mat4 m;
    m(0, 0) = f / aspect;
    m(1, 1) = f;
    m(2, 2) = (zFar + zNear) / (zNear - zFar);
    m(2, 3) = 2 * zFar * zNear / (zNear - zFar);
    m(3, 2) = -1;
    m(3, 3) = 0;
    return m;
}

Mat4 OrthoMatrix(double left, double right, double bottom, double top, double zNear, double zFar) {
    Mat4 m;
    m(0, 0) = 2 / (right - left);
    m(1, 1) = 2 / (top - bottom);
    m(2, 2) = -2 / (zFar - zNear);
    m(0, 3) = -(right + left) / (right - left);
    m(1, 3) = -(top + bottom) / (top - bottom);
    m(2, 3) = -(zFar + zNear) / (zFar - zNear);
    return m;
}

Mat4 LookAtMatrix(const Vec3& eye, const Vec3& centre, const Vec3& up) {
    const Vec3 f = Normalized(Sub(centre, eye));
    // The side vector is normalised before u is formed, as GLU itself does; the formula
    // printed in the manual leaves it unnormalised, which scales x whenever UP is not
    // perpendicular to the line of sight (any perspective preset panned up or down).
    const Vec3 s = Normalized(Cross(f, Normalized(up)));
    const Vec3 u = Cross(s, f);
    Mat4 m;
    m(0, 0) = s.X, m(0, 1) = s.Y, m(0, 2) = s.Z;
    m(1, 0) = u.X, m(1, 1) = u.Y, m(1, 2) = u.Z;
    m(2, 0) = -f.X, m(2, 1) = -f.Y, m(2, 2) = -f.Z;
    return m * Translation(-eye.X, -eye.Y, -eye.Z);
}

Mat4 RotationMatrix(double degrees, double x, double y, double z) {
    const double len = std::sqrt(x * x + y * y + z * z);
    if (len == 0)
        return {}; // no axis, no rotation
    x /= len, y /= len, z /= len;
    const double c = std::cos(degrees * kDegToRad), s = std::sin(degrees * kDegToRad);
    const double t = 1 - c;
    Mat4 m;
    m(0, 0) = x * x * t + c, m(0, 1) = x * y * t - z * s, m(0, 2) = x * z * t + y * s;
    m(1, 0) = y * x * t + z * s, m(1, 1) = y * y * t + c, m(1, 2) = y * z * t - x * s;
    m(2, 0) = x * z * t - y * s, m(2, 1) = y * z * t + x * s, m(2, 2) = z * z * t + c;
    return m;
}

Mat4 PickMatrix(double px, double py, double width, double height,
                const std::array<int, 4>& viewport) {
    if (width <= 0 || height <= 0)
        return {}; // gluPickMatrix leaves the matrix unchanged then
    const double vw = viewport[2], vh = viewport[3];
    return Translation((vw - 2 * (px - viewport[0])) / width,
                       (vh - 2 * (py - viewport[1])) / height, 0) *
           Scaling(vw / width, vh / height, 1);
}

ProjectionParams ProjectionFor(bool perspective, int zoom, int w, int h) {
    // Zoom 0 or below would give a degenerate (fovy 0) or mirrored view; the stored Zoom is
    // left alone, only the matrices use 1.
    const int64_t z = zoom > 0 ? zoom : 1;
    const int64_t width = w > 0 ? w : 1, height = h > 0 ? h : 1;
    ProjectionParams p;
    p.Perspective = perspective;
    if (perspective) {
        // Floating division: Zoom 45 (the Custom preset) is 22.5 degrees, not 22.
        p.FovY = double(z) / 2;
        p.Aspect = double(width) / double(height);
        p.Near = 20;
        p.Far = 20000;
    } else {
        // Integer products in 64 bits so no Zoom or window size overflows; floating division.
        p.Left = double(-6 * z);
        p.Right = double(6 * z);
        p.Top = double(6 * z * height) / double(width);
        p.Bottom = -p.Top;
        p.Near = -1;
        p.Far = 10000;
    }
    return p;
}

Mat4 ProjectionMatrix(const ProjectionParams& p) {
    if (p.Perspective)
        return PerspectiveMatrix(p.FovY, p.Aspect, p.Near, p.Far);
    return OrthoMatrix(p.Left, p.Right, p.Bottom, p.Top, p.Near, p.Far);
}

CameraPose CameraFor(ViewKind kind, bool perspective, const BoundingBox& box, int panX, int panY,
                     int panScale) {
    const double cx = box.CenterX, cy = box.CenterY, cz = box.CenterZ;
    const double px = panX, py2 = double(2 * int64_t(panY));
    const Vec3 zUp{0, 0, 1}, yUp{0, 1, 0};
    // Perspective keeps the eye and turns it towards the panned point; orthographic moves the
    // eye along with the point, which shifts the picture.
    auto pose = [perspective](Vec3 eyeAtRest, const Vec3& centre, const Vec3& up,
                              const Vec3& panOfEye) {
        if (!perspective)
            eyeAtRest = {eyeAtRest.X + panOfEye.X, eyeAtRest.Y + panOfEye.Y,
                         eyeAtRest.Z + panOfEye.Z};
        return CameraPose{eyeAtRest, centre, up};
    };
    switch (kind) {
    case ViewKind::Left:
        return pose({cx - 1000, cy, cz}, {cx, cy + px, cz + py2}, zUp, {0, px, py2});
    case ViewKind::Right:
        return pose({cx + 1000, cy, cz}, {cx, cy - px, cz + py2}, zUp, {0, -px, py2});
    case ViewKind::Front:
        return pose({cx, cy - 1000, cz}, {cx - px, cy, cz + py2}, zUp, {-px, 0, py2});
    case ViewKind::Back:
        return pose({cx, cy + 1000, cz}, {cx + px, cy, cz + py2}, zUp, {px, 0, py2});
    case ViewKind::Top:
        return pose({cx, cy, cz + 1000}, {cx - px, cy + py2, cz}, yUp, {-px, py2, 0});
    case ViewKind::Bottom:
        return pose({cx, cy, cz - 1000}, {cx + px, cy + py2, cz}, yUp, {px, py2, 0});
    case ViewKind::Custom:
        break;
    }
    // Custom, and any value outside the presets: the same in both projections. The products
    // are integers, the division by 10 is not.
    const double sx = double(int64_t(panScale) * panX) / 10;
    const double sy = double(int64_t(panScale) * 2 * panY) / 10;
    return {{cx + sx, cy + 1000 - sy, cz + 1000}, {cx + sx, cy - sy, cz}, zUp};
}

Mat4 SceneMatrix(const ViewOptions& options, const ViewState& view, const BoundingBox& box, int w,
                 int h) {
    const CameraPose cam =
        CameraFor(view.Kind, options.Perspective, box, options.PanX, options.PanY, view.PanScale);
    return ProjectionMatrix(ProjectionFor(options.Perspective, options.Zoom, w, h)) *
           LookAtMatrix(cam.Eye, cam.Centre, cam.Up) * RotationMatrix(options.RotationX, 1, 0, 0) *
           RotationMatrix(options.RotationY, 0, 1, 0) * RotationMatrix(options.RotationZ, 0, 0, 1);
}

ZoomAllValues ZoomAll(const BoundingBox& box) {
    ZoomAllValues v;
    // Zoom rounds half away from zero, as a value printed without decimals does (60 gives
    // 10.5, so 11); the vertex size rounds half to even (4.5 gives 4).
    v.Zoom = ToInt(std::round(double(box.MaxX) / 10 * 1.75));
    v.VertexDisplaySize = ToInt(RoundHalfEven((double(box.MinX) + double(box.MaxX)) * 0.6));
    if (v.VertexDisplaySize < 1) {
        // Symmetric about X = 0 (or left of it) the formula gives no sphere at all: size the
        // spheres from the object's largest extent instead, within the Options bar's 1..30.
        const double extent = std::max({double(box.MaxX) - box.MinX, double(box.MaxY) - box.MinY,
                                        double(box.MaxZ) - box.MinZ});
        v.VertexDisplaySize =
            std::isfinite(extent) ? int(std::clamp(RoundHalfEven(extent * 0.15), 1.0, 30.0)) : 1;
    }
    return v;
}

int NextRotationAngle(int angle) {
    return angle >= 361 ? 0 : angle + 1;
}

int WheelZoom(int zoom, bool towardsUser, int barMin, int barMax) {
    if (towardsUser)
        return zoom >= barMin ? zoom - 3 : zoom;
    return zoom <= barMax ? zoom + 3 : zoom;
}

bool VerticesVisibleWhileMoving(const Project& project, bool rotation, bool showVertices) {
    const bool heavy = !project.Lines.empty() || !project.Polygons.empty();
    if (heavy)
        return false;
    // Without lines and polygons a rotation shows the vertices even when they are switched
    // off; the zoom bar keeps the switch.
    return rotation ? true : showVertices;
}

bool BoxOutsideFrustum(const Mat4& m, const Box3& box) {
    // Clip-space rows and, per corner, both the value and the sum of the magnitudes of its
    // terms: float rounding on the GPU (and in the matrix chain) is relative to that sum, not
    // to the possibly cancelled result.
    struct Corner {
        double C[4];   // x, y, z, w
        double Mag[4]; // sum over j of |m(i, j) * v[j]|
    };
    Corner corners[8];
    for (int i = 0; i < 8; ++i) {
        const double v[4] = {(i & 1) ? box.Max.X : box.Min.X, (i & 2) ? box.Max.Y : box.Min.Y,
                             (i & 4) ? box.Max.Z : box.Min.Z, 1};
        for (int r = 0; r < 4; ++r) {
            double sum = 0, mag = 0;
            for (int c = 0; c < 4; ++c) {
                sum += m(r, c) * v[c];
                mag += std::fabs(m(r, c) * v[c]);
            }
            corners[i].C[r] = sum;
            corners[i].Mag[r] = mag;
        }
    }
    // Far wider than float rounding (about 1e-7 per operation), still a tiny fraction of the
    // clip volume.
    constexpr double kRelative = 1e-4;
    constexpr double kAbsolute = 1e-30;
    for (int axis = 0; axis < 3; ++axis)
        for (double sign : {1.0, -1.0}) {
            bool allOut = true;
            for (const Corner& k : corners) {
                // Plane w + sign * coordinate >= 0 bounds the clip volume.
                const double value = k.C[3] + sign * k.C[axis];
                const double margin = kRelative * (k.Mag[3] + k.Mag[axis]) + kAbsolute;
                if (!(value < -margin)) { // NaN counts as inside
                    allOut = false;
                    break;
                }
            }
            if (allOut)
                return true;
        }
    return false;
}

} // namespace meshforge
