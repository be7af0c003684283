#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

#include "model/project.h"
#include "view/camera.h"

using namespace meshforge;

namespace {

struct Vec4 {
    double X, Y, Z, W;
};

Vec4 Apply(const Mat4& m, double x, double y, double z, double w = 1) {
    const double v[4] = {x, y, z, w};
    double r[4];
    for (int i = 0; i < 4; ++i)
        r[i] = m(i, 0) * v[0] + m(i, 1) * v[1] + m(i, 2) * v[2] + m(i, 3) * v[3];
    return {r[0], r[1], r[2], r[3]};
}

// Normalised device coordinates of a point (also the plain image of an affine transform).
Vec3 Ndc(const Mat4& m, double x, double y, double z) {
    const Vec4 c = Apply(m, x, y, z);
    return {c.X / c.W, c.Y / c.W, c.Z / c.W};
}

Vec4 Corner(const Box3& b, int i) {
    return {(i & 1) ? b.Max.X : b.Min.X, (i & 2) ? b.Max.Y : b.Min.Y, (i & 4) ? b.Max.Z : b.Min.Z,
            1};
}

void ExpectVec(const Vec3& actual, const Vec3& expected, double tol = 1e-9) {
    EXPECT_NEAR(actual.X, expected.X, tol);
    EXPECT_NEAR(actual.Y, expected.Y, tol);
    EXPECT_NEAR(actual.Z, expected.Z, tol);
}

void ExpectSameMatrix(const Mat4& a, const Mat4& b) {
    for (int i = 0; i < 16; ++i)
        EXPECT_DOUBLE_EQ(a.M[i], b.M[i]) << "element " << i;
}

TEST(MatrixProduct, ColumnMajorAndAppliedRightToLeft) {
    Mat4 t; // translation by (1, 2, 3)
    t(0, 3) = 1, t(1, 3) = 2, t(2, 3) = 3;
    EXPECT_EQ(t.M[12], 1); // OpenGL keeps the translation in the last column
    Mat4 s;                // scale by 2
    s(0, 0) = s(1, 1) = s(2, 2) = 2;
    ExpectVec(Ndc(t * s, 1, 1, 1), {3, 4, 5}); // scale first, then translate
    ExpectVec(Ndc(s * t, 1, 1, 1), {4, 6, 8});
}

TEST(MatrixGl, PerspectiveAndOrthoEntries) {
    // fovy 90: f = cot 45 = 1; aspect 2; near 1, far 3.
    const Mat4 p = PerspectiveMatrix(90, 2, 1, 3);
    const double expectedP[16] = {0.5, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -1, 0, 0, -3, 0};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(p.M[i], expectedP[i], 1e-12) << "element " << i;

    const Mat4 o = OrthoMatrix(-1, 3, -2, 2, -1, 3);
    const double expectedO[16] = {0.5, 0, 0, 0, 0, 0.5, 0, 0, 0, 0, -0.5, 0, -0.5, 0, -0.5, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_DOUBLE_EQ(o.M[i], expectedO[i]) << "element " << i;
}

TEST(MatrixGl, RotationIsCounterClockwiseAboutTheAxis) {
    ExpectVec(Ndc(RotationMatrix(90, 0, 0, 1), 1, 0, 0), {0, 1, 0});
    ExpectVec(Ndc(RotationMatrix(-90, 1, 0, 0), 0, 1, 0), {0, 0, -1});
    ExpectVec(Ndc(RotationMatrix(90, 0, 1, 0), 0, 0, 1), {1, 0, 0});
    // A third of a turn about the diagonal cycles the axes; the axis need not be unit length.
    ExpectVec(Ndc(RotationMatrix(120, 3, 3, 3), 1, 0, 0), {0, 1, 0});
    ExpectVec(Ndc(RotationMatrix(30, 0, 0, 5), 2, 0, 0), {std::sqrt(3.0), 1, 0});
}

TEST(MatrixLookAt, MapsEyeCentreAndUpAsDocumented) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(-500, 500);
    for (int n = 0; n < 200; ++n) {
        const Vec3 eye{d(rng), d(rng), d(rng)}, centre{d(rng), d(rng), d(rng)};
        const Vec3 up{d(rng), d(rng), d(rng)}; // generally not perpendicular to the sight
        const Mat4 m = LookAtMatrix(eye, centre, up);
        ExpectVec(Ndc(m, eye.X, eye.Y, eye.Z), {0, 0, 0});
        const double dist = std::hypot(centre.X - eye.X, centre.Y - eye.Y, centre.Z - eye.Z);
        ExpectVec(Ndc(m, centre.X, centre.Y, centre.Z), {0, 0, -dist});
        // UP lands in the y-z plane, pointing upward on the screen.
        const Vec4 u = Apply(m, up.X, up.Y, up.Z, 0);
        EXPECT_NEAR(u.X, 0, 1e-9);
        EXPECT_GT(u.Y, 0);
        // A rigid motion: lengths are kept (an unnormalised side vector would stretch x).
        const Vec4 a = Apply(m, 1, 0, 0, 0), b = Apply(m, 0, 1, 1, 0);
        EXPECT_NEAR(std::hypot(a.X, a.Y, a.Z), 1, 1e-12);
        EXPECT_NEAR(std::hypot(b.X, b.Y, b.Z), std::sqrt(2.0), 1e-12);
    }
}

TEST(MatrixPick, RegionCentreAndEdgesBecomeTheUnitSquare) {
    const std::array<int, 4> viewport{10, 20, 640, 480};
    const double px = 100.5, py = 300.5, pw = 3, ph = 2;
    const Mat4 pick = PickMatrix(px, py, pw, ph, viewport);
    // Device coordinates of window point (xw, yw) before the pick matrix.
    auto ndcOf = [&](double xw, double yw) {
        return Vec3{2 * (xw - viewport[0]) / viewport[2] - 1,
                    2 * (yw - viewport[1]) / viewport[3] - 1, 0.25};
    };
    auto picked = [&](double xw, double yw) {
        const Vec3 n = ndcOf(xw, yw);
        return Ndc(pick, n.X, n.Y, n.Z);
    };
    ExpectVec(picked(px, py), {0, 0, 0.25});
    ExpectVec(picked(px - pw / 2, py - ph / 2), {-1, -1, 0.25});
    ExpectVec(picked(px + pw / 2, py + ph / 2), {1, 1, 0.25});
    ExpectVec(picked(px + pw / 2, py), {1, 0, 0.25});
    // An empty region leaves the matrix alone, as gluPickMatrix does.
    ExpectSameMatrix(PickMatrix(px, py, 0, 1, viewport), Mat4{});
}

TEST(ProjectionFor, PerspectiveUsesHalfTheZoomAndTheWindowAspect) {
    const ProjectionParams p = ProjectionFor(true, 45, 640, 480);
    EXPECT_TRUE(p.Perspective);
    EXPECT_DOUBLE_EQ(p.FovY, 22.5); // not truncated to 22
    EXPECT_DOUBLE_EQ(p.Aspect, 640.0 / 480.0);
    EXPECT_DOUBLE_EQ(p.Near, 20);
    EXPECT_DOUBLE_EQ(p.Far, 20000);
    const Mat4 m = ProjectionMatrix(p);
    const double f = 1 / std::tan(11.25 * std::numbers::pi / 180);
    EXPECT_NEAR(m(1, 1), f, 1e-12);
    EXPECT_NEAR(m(0, 0), f * 480 / 640, 1e-12);
}

TEST(ProjectionFor, OrthographicVolumeFromSixTimesZoom) {
    const ProjectionParams p = ProjectionFor(false, 45, 640, 480);
    EXPECT_FALSE(p.Perspective);
    EXPECT_DOUBLE_EQ(p.Left, -270);
    EXPECT_DOUBLE_EQ(p.Right, 270);
    EXPECT_DOUBLE_EQ(p.Bottom, -202.5); // 129600 / 640 in floating point
    EXPECT_DOUBLE_EQ(p.Top, 202.5);
    EXPECT_DOUBLE_EQ(p.Near, -1);
    EXPECT_DOUBLE_EQ(p.Far, 10000);
    // The volume's corner reaches the corner of the device square.
    const Vec3 n = Ndc(ProjectionMatrix(p), 270, -202.5, -10000);
    ExpectVec(n, {1, -1, 1});
}

TEST(ProjectionFor, DegenerateZoomOrWindowStaysFiniteAndUpright) {
    EXPECT_DOUBLE_EQ(ProjectionFor(true, 70, 300, 0).Aspect, 300); // a size 0 counts as 1
    EXPECT_DOUBLE_EQ(ProjectionFor(true, 70, 0, 4).Aspect, 0.25);
    EXPECT_DOUBLE_EQ(ProjectionFor(false, 10, 100, 0).Top, 0.6);
    EXPECT_DOUBLE_EQ(ProjectionFor(false, 10, 0, 5).Top, 300);
    for (bool persp : {true, false}) {
        const Mat4 one = ProjectionMatrix(ProjectionFor(persp, 1, 800, 600));
        for (int zoom : {0, -2, -5, -1000}) {
            SCOPED_TRACE(zoom);
            const Mat4 m = ProjectionMatrix(ProjectionFor(persp, zoom, 800, 600));
            EXPECT_GT(m(0, 0), 0); // right stays right
            EXPECT_GT(m(1, 1), 0); // up stays up
            ExpectSameMatrix(m, one);
        }
        for (double v : ProjectionMatrix(ProjectionFor(persp, 0, 0, 0)).M)
            EXPECT_TRUE(std::isfinite(v));
    }
}

// Centre (10.5, -20.25, 30.75), PanX 7, PanY -3 (2py = -6), pan scale 4 (Custom: s*px/10 = 2.8,
// s*2py/10 = -2.4). The expected poses are worked out from the preset table.
BoundingBox TableBox() {
    BoundingBox b;
    b.CenterX = 10.5f, b.CenterY = -20.25f, b.CenterZ = 30.75f;
    return b;
}

void ExpectPose(ViewKind kind, bool persp, const Vec3& eye, const Vec3& centre, const Vec3& up) {
    SCOPED_TRACE(testing::Message() << "kind " << int(kind) << (persp ? " persp" : " ortho"));
    const CameraPose p = CameraFor(kind, persp, TableBox(), 7, -3, 4);
    ExpectVec(p.Eye, eye, 1e-12);
    ExpectVec(p.Centre, centre, 1e-12);
    EXPECT_EQ(p.Up, up);
}

TEST(CameraTable, PerspectiveTurnsTowardsThePan) {
    const Vec3 z{0, 0, 1}, y{0, 1, 0};
    ExpectPose(ViewKind::Left, true, {-989.5, -20.25, 30.75}, {10.5, -13.25, 24.75}, z);
    ExpectPose(ViewKind::Right, true, {1010.5, -20.25, 30.75}, {10.5, -27.25, 24.75}, z);
    ExpectPose(ViewKind::Front, true, {10.5, -1020.25, 30.75}, {3.5, -20.25, 24.75}, z);
    ExpectPose(ViewKind::Back, true, {10.5, 979.75, 30.75}, {17.5, -20.25, 24.75}, z);
    ExpectPose(ViewKind::Top, true, {10.5, -20.25, 1030.75}, {3.5, -26.25, 30.75}, y);
    ExpectPose(ViewKind::Bottom, true, {10.5, -20.25, -969.25}, {17.5, -26.25, 30.75}, y);
    ExpectPose(ViewKind::Custom, true, {13.3, 982.15, 1030.75}, {13.3, -17.85, 30.75}, z);
}

TEST(CameraTable, OrthographicMovesTheEyeWithThePan) {
    const Vec3 z{0, 0, 1}, y{0, 1, 0};
    ExpectPose(ViewKind::Left, false, {-989.5, -13.25, 24.75}, {10.5, -13.25, 24.75}, z);
    ExpectPose(ViewKind::Right, false, {1010.5, -27.25, 24.75}, {10.5, -27.25, 24.75}, z);
    ExpectPose(ViewKind::Front, false, {3.5, -1020.25, 24.75}, {3.5, -20.25, 24.75}, z);
    ExpectPose(ViewKind::Back, false, {17.5, 979.75, 24.75}, {17.5, -20.25, 24.75}, z);
    ExpectPose(ViewKind::Top, false, {3.5, -26.25, 1030.75}, {3.5, -26.25, 30.75}, y);
    ExpectPose(ViewKind::Bottom, false, {17.5, -26.25, -969.25}, {17.5, -26.25, 30.75}, y);
    ExpectPose(ViewKind::Custom, false, {13.3, 982.15, 1030.75}, {13.3, -17.85, 30.75}, z);
}

TEST(CameraScene, RotationsApplyZThenYThenXToThePoint) {
    ViewOptions o;
    o.Perspective = false;
    o.Zoom = 10; // half-width 60
    o.RotationX = 90;
    o.RotationZ = 90;
    ViewState v;
    v.Kind = ViewKind::Front; // looking along +y, x to the right, z up
    const Mat4 m = SceneMatrix(o, v, BoundingBox{}, 100, 100);
    // (30, 0, 0) -Rz-> (0, 30, 0) -Rx-> (0, 0, 30): half way up the screen.
    const Vec3 n = Ndc(m, 30, 0, 0);
    // Depth 1000 in glOrtho(..., -1, 10000): (2 * 1000 - 9999) / 10001.
    ExpectVec(n, {0, 0.5, -7999.0 / 10001.0});
    o.RotationX = o.RotationZ = 0;
    ExpectVec(Ndc(SceneMatrix(o, v, BoundingBox{}, 100, 100), 30, 0, 15), {0.5, 0.25, n.Z});
}

TEST(CameraScene, PerspectiveTopViewOfAPoint) {
    ViewOptions o;
    o.Zoom = 180; // fovy 90, so cot(fovy / 2) = 1
    ViewState v;
    v.Kind = ViewKind::Top;
    BoundingBox box;
    box.CenterX = 5, box.CenterY = -5, box.CenterZ = 2;
    // Eye (5, -5, 1002) looking down with y up; (105, 45, 2) is 1000 below the eye and
    // (100, 50) off the axis; aspect 2 halves x.
    ExpectVec(Ndc(SceneMatrix(o, v, box, 200, 100), 105, 45, 2), {0.05, 0.05, 19220.0 / 19980.0},
              1e-9);
}

TEST(ZoomAll, ZoomFromMaxXRoundedHalfAwayFromZero) {
    auto zoom = [](float maxX) {
        BoundingBox b;
        b.MinX = -1, b.MaxX = maxX;
        return ZoomAll(b).Zoom;
    };
    EXPECT_EQ(zoom(40), 7);
    EXPECT_EQ(zoom(10), 2);    // 1.75
    EXPECT_EQ(zoom(2), 0);     // 0.35; the bar then makes it 1
    EXPECT_EQ(zoom(60), 11);   // 10.5
    EXPECT_EQ(zoom(-60), -11); // -10.5
    EXPECT_EQ(zoom(3000), 525);
    EXPECT_EQ(zoom(1e30f), std::numeric_limits<int>::max()); // saturates, no overflow
}

TEST(ZoomAll, VertexSizeFromXRangeHalfToEvenNeverBelowOne) {
    struct Case {
        float minX, maxX, minY, maxY;
        int size;
    };
    // From the X range wherever that gives 1 or more; from the largest extent otherwise.
    const Case cases[] = {
        {0, 7.5f, 0, 0, 4},     // 4.5
        {0, 12.5f, 0, 0, 8},    // 7.5
        {1, 2, 0, 0, 2},        // 1.8
        {10, 30, 0, 0, 24},     // kept, though the extent rule would give 3
        {0.5f, 1.5f, 0, 0, 1},  // 1.2 rounds to 1: kept
        {-5, 5, 0, 0, 2},       // symmetric: 0.15 x 10 = 1.5
        {-20, 0, 0, 0, 3},      // negative: 0.15 x 20
        {-3, 1, 0, 0, 1},       // -1.2; 0.15 x 4 is below 1
        {-5, 5, -40, 40, 12},   // the largest extent
        {-150, 150, 0, 0, 30},  // capped at 30
        {0, 0, 0, 0, 1},        // a single point still shows
        {-0.1f, 0.1f, 0, 0, 1}, // a tiny object
    };
    for (const Case& c : cases) {
        BoundingBox b;
        b.MinX = c.minX, b.MaxX = c.maxX, b.MinY = c.minY, b.MaxY = c.maxY;
        EXPECT_EQ(ZoomAll(b).VertexDisplaySize, c.size) << c.minX << ".." << c.maxX;
    }
}

TEST(RotationTimer, CountsUpTo361ThenRestarts) {
    EXPECT_EQ(NextRotationAngle(0), 1);
    EXPECT_EQ(NextRotationAngle(360), 361);
    EXPECT_EQ(NextRotationAngle(361), 0);
    EXPECT_EQ(NextRotationAngle(400), 0);
    EXPECT_EQ(NextRotationAngle(-360), -359); // a bar's negative start counts up
    int angle = 0, ticks = 0;
    do {
        angle = NextRotationAngle(angle);
        ++ticks;
    } while (angle != 0 && ticks < 1000);
    EXPECT_EQ(ticks, 362);
}

TEST(WheelZoom, BoundIsTestedBeforeTheStep) {
    EXPECT_EQ(WheelZoom(70, true), 67);
    EXPECT_EQ(WheelZoom(1, true), -2);
    EXPECT_EQ(WheelZoom(-2, true), -2); // below the minimum: no further step
    EXPECT_EQ(WheelZoom(-2, false), 1);
    EXPECT_EQ(WheelZoom(450, false), 453);
    EXPECT_EQ(WheelZoom(453, false), 453);
    EXPECT_EQ(WheelZoom(5, true, 5, 8), 2); // the bar's own range
    EXPECT_EQ(WheelZoom(9, false, 5, 8), 9);
}

TEST(CameraVertexHiding, BarsHideVerticesOnlyWhenLinesOrPolygonsExist) {
    Project empty;
    empty.Vertices.resize(3);
    Project withLine = empty, withPolygon = empty;
    withLine.Lines.resize(1);
    withPolygon.Polygons.resize(1);
    for (bool show : {true, false}) {
        SCOPED_TRACE(show);
        EXPECT_FALSE(VerticesVisibleWhileMoving(withLine, true, show));
        EXPECT_FALSE(VerticesVisibleWhileMoving(withPolygon, true, show));
        EXPECT_TRUE(VerticesVisibleWhileMoving(empty, true, show));
        EXPECT_FALSE(VerticesVisibleWhileMoving(withLine, false, show));
        EXPECT_FALSE(VerticesVisibleWhileMoving(withPolygon, false, show));
        EXPECT_EQ(VerticesVisibleWhileMoving(empty, false, show), show);
    }
    Project visOnly = empty; // visualization lines do not count
    visOnly.VisLines.resize(2);
    EXPECT_TRUE(VerticesVisibleWhileMoving(visOnly, true, false));
}

// Plane values w + x, w - x, w + y, w - y, w + z, w - z; all positive = strictly inside.
std::array<double, 6> Planes(const Vec4& c) {
    return {c.W + c.X, c.W - c.X, c.W + c.Y, c.W - c.Y, c.W + c.Z, c.W - c.Z};
}

TEST(FrustumCull, NeverSkipsABoxWithAPointInside) {
    std::mt19937 rng(20240613);
    auto uni = [&](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(rng);
    };
    auto pick = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    int outside = 0, kept = 0, clearlyOutside = 0;
    for (int n = 0; n < 3000; ++n) {
        ViewOptions o;
        o.Perspective = pick(0, 1) == 1;
        o.Zoom = pick(1, 450);
        o.RotationX = pick(-360, 360), o.RotationY = pick(-360, 360), o.RotationZ = pick(-360, 360);
        o.PanX = pick(-60, 60), o.PanY = pick(-60, 60);
        ViewState v;
        v.Kind = ViewKind(pick(1, 7));
        v.PanScale = pick(1, 20);
        BoundingBox scene;
        scene.CenterX = float(uni(-300, 300)), scene.CenterY = float(uni(-300, 300));
        scene.CenterZ = float(uni(-300, 300));
        const int w = pick(50, 2000), h = pick(50, 1500);
        const Mat4 sceneM = SceneMatrix(o, v, scene, w, h);

        Box3 box;
        const double ext[3] = {uni(0, 1) < 0.2 ? 0 : uni(0, 80), uni(0, 80), uni(0, 80)};
        box.Min = {scene.CenterX + uni(-400, 400), scene.CenterY + uni(-400, 400),
                   scene.CenterZ + uni(-400, 400)};
        box.Max = {box.Min.X + ext[0], box.Min.Y + ext[1], box.Min.Z + ext[2]};

        // Half the time pick near the projection of a point of the box, so that hits occur.
        Mat4 m = sceneM;
        const bool picked = pick(0, 1) > 0;
        if (picked) {
            const Vec4 c = Apply(sceneM, box.Min.X + uni(0, 1) * ext[0],
                                 box.Min.Y + uni(0, 1) * ext[1], box.Min.Z + uni(0, 1) * ext[2]);
            double px = (c.X / c.W + 1) * w / 2 + uni(-3, 3),
                   py = (c.Y / c.W + 1) * h / 2 + uni(-3, 3);
            if (!std::isfinite(px) || !std::isfinite(py))
                px = w / 2.0, py = h / 2.0;
            const double size = pick(0, 1) ? 1 : 5;
            m = PickMatrix(px, py, size, size, {0, 0, w, h}) * sceneM;
        }

        const bool result = BoxOutsideFrustum(m, box);
        bool anyInside = false;
        constexpr int kSteps = 6;
        for (int i = 0; i <= kSteps && !anyInside; ++i)
            for (int j = 0; j <= kSteps && !anyInside; ++j)
                for (int k = 0; k <= kSteps && !anyInside; ++k) {
                    const auto planes = Planes(Apply(m, box.Min.X + ext[0] * i / kSteps,
                                                     box.Min.Y + ext[1] * j / kSteps,
                                                     box.Min.Z + ext[2] * k / kSteps));
                    anyInside =
                        std::all_of(planes.begin(), planes.end(), [](double p) { return p > 0; });
                }
        if (anyInside) {
            EXPECT_FALSE(result) << "case " << n;
            ++kept;
        }
        outside += result;

        // Clearly outside the full view: every corner beyond one plane by 1% of its magnitude.
        bool clear = false;
        for (int plane = 0; plane < 6 && !clear && !picked; ++plane) {
            bool all = true;
            for (int corner = 0; corner < 8; ++corner) {
                const Vec4 k = Corner(box, corner);
                const Vec4 c = Apply(m, k.X, k.Y, k.Z);
                const double scale =
                    std::fabs(c.X) + std::fabs(c.Y) + std::fabs(c.Z) + std::fabs(c.W);
                all = all && Planes(c)[plane] < -0.01 * scale;
            }
            clear = all;
        }
        if (clear) {
            EXPECT_TRUE(result) << "case " << n;
            ++clearlyOutside;
        }
    }
    // Both outcomes must have been exercised for the checks above to mean anything.
    EXPECT_GT(kept, 300);
    EXPECT_GT(outside, 300);
    EXPECT_GT(clearlyOutside, 150);
}

TEST(FrustumCull, PlacedBoxesAroundAFrontView) {
    ViewOptions o;
    o.Perspective = false;
    o.Zoom = 10; // x and z from -60 to 60 when the window is square
    ViewState v;
    v.Kind = ViewKind::Front; // eye at y = -1000, far plane at y = 9000
    const Mat4 m = SceneMatrix(o, v, BoundingBox{}, 100, 100);
    auto out = [&](Vec3 lo, Vec3 hi) { return BoxOutsideFrustum(m, Box3{lo, hi}); };
    EXPECT_FALSE(out({-1, -1, -1}, {1, 1, 1}));
    EXPECT_FALSE(out({-500, -5, -500}, {500, 5, 500})); // corners outside, box spans the view
    EXPECT_FALSE(out({59, 0, 0}, {61, 0, 0}));          // straddles the right edge
    EXPECT_FALSE(out({60, 0, 0}, {60, 0, 0}));          // a point exactly on an edge
    // A few float roundings beyond an edge still counts as inside: the GPU may round it in.
    EXPECT_FALSE(out({60 * (1 + 1e-6), 0, 0}, {61, 0, 0}));
    EXPECT_FALSE(out({0, 0, 0}, {0, 9000 * (1 + 1e-6), 0}));
    EXPECT_TRUE(out({61, -10, -10}, {70, 10, 10}));
    EXPECT_TRUE(out({-10, -10, -70}, {10, 10, -61}));
    EXPECT_TRUE(out({-10, -1200, -10}, {10, -1010, 10})); // behind the eye
    EXPECT_TRUE(out({-10, 9010, -10}, {10, 9100, 10}));   // beyond the far plane

    // A one-pixel pick at (50, 50): one pixel is 1.2 units, so the region spans x -0.6..0.6.
    const std::array<int, 4> viewport{0, 0, 100, 100};
    const Mat4 centre = PickMatrix(50, 50, 1, 1, viewport) * m;
    EXPECT_FALSE(BoxOutsideFrustum(centre, {{0.5, 0, 0}, {1, 0, 0}}));
    EXPECT_TRUE(BoxOutsideFrustum(centre, {{0.7, 0, 0}, {1, 0, 0}}));
    EXPECT_TRUE(BoxOutsideFrustum(centre, {{3, -1, 3}, {4, 1, 4}}));
    // Off centre at pixel 90 (x 48, region 47.4..48.6).
    const Mat4 side = PickMatrix(90, 50, 1, 1, viewport) * m;
    EXPECT_FALSE(BoxOutsideFrustum(side, {{48.2, 0, 0}, {49, 0, 0}}));
    EXPECT_TRUE(BoxOutsideFrustum(side, {{49.5, 0, 0}, {50, 0, 0}}));
    EXPECT_TRUE(BoxOutsideFrustum(side, {{46, 0, 0}, {47.2, 0, 0}}));
}

} // namespace
