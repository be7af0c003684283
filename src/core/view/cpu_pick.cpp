#include "view/cpu_pick.h"

#include "model/project.h"
#include "view/camera.h"
#include "view/pick.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace meshforge {

namespace {

struct Clip {
    double X = 0, Y = 0, Z = 0, W = 0;
};

Clip Transform(const Mat4& m, double x, double y, double z) {
    return {m(0, 0) * x + m(0, 1) * y + m(0, 2) * z + m(0, 3),
            m(1, 0) * x + m(1, 1) * y + m(1, 2) * z + m(1, 3),
            m(2, 0) * x + m(2, 1) * y + m(2, 2) * z + m(2, 3),
            m(3, 0) * x + m(3, 1) * y + m(3, 2) * z + m(3, 3)};
}

// The six planes of the clip volume, w - x, w + x, w - y, w + y, w - z, w + z >= 0.
double PlaneValue(const Clip& c, int plane) {
    switch (plane) {
    case 0:
        return c.W - c.X;
    case 1:
        return c.W + c.X;
    case 2:
        return c.W - c.Y;
    case 3:
        return c.W + c.Y;
    case 4:
        return c.W - c.Z;
    default:
        return c.W + c.Z;
    }
}

constexpr unsigned kNotANumber = 1u << 6;

// A bit per plane the point is beyond; a point exactly on a plane is inside. A coordinate that
// is not a number marks the point as unusable.
unsigned Outcode(const Clip& c) {
    if (std::isnan(c.X) || std::isnan(c.Y) || std::isnan(c.Z) || std::isnan(c.W))
        return kNotANumber;
    unsigned code = 0;
    for (int p = 0; p < 6; ++p)
        if (PlaneValue(c, p) < 0)
            code |= 1u << p;
    return code;
}

Clip Lerp(const Clip& a, const Clip& b, double t) {
    return {a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y), a.Z + t * (b.Z - a.Z),
            a.W + t * (b.W - a.W)};
}

// Parametric clipping as the renderer's clipper does it: the parts beyond each plane are cut
// from both ends, and the segment is dropped once the cuts meet, so one that only touches the
// region is no hit.
bool SegmentSurvives(const Clip& a, const Clip& b) {
    const unsigned ca = Outcode(a), cb = Outcode(b);
    if ((ca | cb) & kNotANumber)
        return false;
    if (!(ca | cb))
        return true;
    if (ca & cb)
        return false;
    double t0 = 0, t1 = 0;
    for (int p = 0; p < 6; ++p) {
        if (!((ca | cb) & (1u << p)))
            continue;
        const double d0 = PlaneValue(a, p), d1 = PlaneValue(b, p);
        if (d1 < 0)
            t1 = std::max(t1, d1 / (d1 - d0));
        if (d0 < 0)
            t0 = std::max(t0, d0 / (d0 - d1));
        if (t0 + t1 >= 1)
            return false;
    }
    return true;
}

// With culling, a triangle must face the viewer. What is left of it after clipping faces as
// the whole triangle does: its orientation on the screen is the sign of det(x, y, w) of the
// corners, whatever their w. A triangle with two equal corners gives exactly zero and is
// dropped, as the renderer drops faces of no area; a cancellation within rounding counts as no
// area too.
bool FacesViewer(const Clip& a, const Clip& b, const Clip& c) {
    const double det = a.X * (b.Y * c.W - b.W * c.Y) - a.Y * (b.X * c.W - b.W * c.X) +
                       a.W * (b.X * c.Y - b.Y * c.X);
    const double size = (std::fabs(a.X) + std::fabs(a.Y) + std::fabs(a.W)) *
                        (std::fabs(b.X) + std::fabs(b.Y) + std::fabs(b.W)) *
                        (std::fabs(c.X) + std::fabs(c.Y) + std::fabs(c.W));
    return det > 1e-12 * size;
}

// Sutherland-Hodgman against the planes the corners are beyond (each adds at most one corner):
// a hit when three corners or more are left.
bool TriangleSurvives(const Clip& a, const Clip& b, const Clip& c, bool cull) {
    const unsigned ca = Outcode(a), cb = Outcode(b), cc = Outcode(c);
    if (((ca | cb | cc) & kNotANumber) || (ca & cb & cc))
        return false;
    if (cull && !FacesViewer(a, b, c))
        return false;
    if (!(ca | cb | cc))
        return true;
    std::array<Clip, 9> in{a, b, c}, out;
    std::size_t n = 3;
    for (int p = 0; p < 6; ++p) {
        if (!((ca | cb | cc) & (1u << p)))
            continue;
        std::size_t m = 0;
        for (std::size_t k = 0; k < n; ++k) {
            const Clip& s = in[k];
            const Clip& e = in[(k + 1) % n];
            const double ds = PlaneValue(s, p), de = PlaneValue(e, p);
            if (ds >= 0)
                out[m++] = s;
            if ((ds < 0) != (de < 0))
                out[m++] = Lerp(s, e, ds / (ds - de));
        }
        n = m;
        if (n < 3)
            return false;
        in = out;
    }
    return true;
}

class CpuPicker {
  public:
    CpuPicker(const Project& project, const PickView& view)
        : project_(project), view_(view), m_(view.Region * view.Scene) {
        // Each plane's gradient in object space and the size of its terms, for the sphere test.
        for (int p = 0; p < 6; ++p) {
            const int axis = p / 2;
            const double sign = p % 2 ? 1 : -1;
            double g = 0, mag = 0;
            for (int c = 0; c < 4; ++c) {
                const double coefficient = m_(3, c) + sign * m_(axis, c);
                if (c < 3)
                    g += coefficient * coefficient;
                mag += std::fabs(m_(3, c)) + std::fabs(m_(axis, c));
            }
            gradient_[p] = std::sqrt(g);
            scale_[p] = mag;
        }
    }

    std::vector<uint32_t> Run() {
        const Project& p = project_;
        const ViewOptions& o = p.Options;
        if (!p.GeometryShown)
            return {};
        const bool vertices = o.VerticesVisible;
        const bool lines = o.ShowLines && !p.Lines.empty();
        const bool polygons = o.ShowPolygons && !p.Polygons.empty();
        if (vertices || lines || !p.VisLines.empty() || polygons) {
            clip_.resize(p.Vertices.size());
            for (std::size_t i = 0; i < p.Vertices.size(); ++i)
                clip_[i] = Transform(m_, p.Vertices[i].X, p.Vertices[i].Y, p.Vertices[i].Z);
        }
        if (vertices)
            Vertices();
        if (lines)
            for (std::size_t i = 0; i < p.Lines.size(); ++i)
                if (Segments(p.Lines[i].VertexIndices, 2) == Outcome::Hit)
                    names_.push_back(LinePickName(i));
        if (!p.VisLines.empty() &&
            std::any_of(p.VisLines.begin(), p.VisLines.end(), [this](const ObjectData& line) {
                return Segments(line.VertexIndices, 2) == Outcome::Hit;
            }))
            names_.push_back(kNoObjectName);
        if (polygons)
            for (std::size_t i = 0; i < p.Polygons.size(); ++i)
                if (PolygonHit(p.Polygons[i]))
                    names_.push_back(PolygonPickName(i));
        if ((o.ShowAxis && AxisHit()) || (view_.ShowGrid && GridHit()))
            names_.push_back(kNoObjectName);
        return std::move(names_);
    }

  private:
    enum class Outcome { Skipped, Missed, Hit };

    bool ValidIndex(int32_t i) const {
        return i >= 0 && static_cast<std::size_t>(i) < clip_.size();
    }

    // The first `count` indices as one segment (count 2), or all of them as a strip.
    Outcome Segments(const std::vector<int32_t>& indices, std::size_t count) const {
        const std::size_t n = count ? std::min(count, indices.size()) : indices.size();
        if (indices.size() < 2 || n < 2 ||
            !std::all_of(indices.begin(), indices.begin() + std::ptrdiff_t(n),
                         [this](int32_t k) { return ValidIndex(k); }))
            return Outcome::Skipped;
        for (std::size_t k = 0; k + 1 < n; ++k)
            if (SegmentSurvives(clip_[indices[k]], clip_[indices[k + 1]]))
                return Outcome::Hit;
        return Outcome::Missed;
    }

    bool PolygonHit(const ObjectData& poly) const {
        const std::vector<int32_t>& ring = poly.VertexIndices;
        if (ring.size() < 2 ||
            !std::all_of(ring.begin(), ring.end(), [this](int32_t k) { return ValidIndex(k); }))
            return false;
        // The ring's closing corner is not drawn; a fan (k, k + 1, 0) of what is left.
        const std::size_t corners = ring.size() - 1;
        for (std::size_t k = 1; k + 1 < corners; ++k)
            if (TriangleSurvives(clip_[ring[k]], clip_[ring[k + 1]], clip_[ring[0]],
                                 view_.CullBackFaces))
                return true;
        // The outline of a selected polygon, a strip through the whole ring.
        return poly.Selected && Segments(ring, 0) == Outcome::Hit;
    }

    // Unit sphere corners through the matrix without translation, per level, made when first
    // needed: every sphere of a level shares them.
    const std::vector<Clip>& TurnedSphere(std::size_t level) {
        std::optional<std::vector<Clip>>& s = turned_[level];
        if (!s) {
            const std::vector<float>& unit = UnitSphereTriangles(level);
            s.emplace();
            s->reserve(unit.size() / 3);
            for (std::size_t k = 0; k + 2 < unit.size(); k += 3) {
                const double x = unit[k], y = unit[k + 1], z = unit[k + 2];
                s->push_back({m_(0, 0) * x + m_(0, 1) * y + m_(0, 2) * z,
                              m_(1, 0) * x + m_(1, 1) * y + m_(1, 2) * z,
                              m_(2, 0) * x + m_(2, 1) * y + m_(2, 2) * z,
                              m_(3, 0) * x + m_(3, 1) * y + m_(3, 2) * z});
            }
        }
        return *s;
    }

    // A sphere wholly beyond one plane of the clip volume, by a margin far wider than rounding:
    // the plane's value at the centre against the radius times the plane's gradient.
    bool SphereOutside(const Clip& centre, double r) const {
        for (int p = 0; p < 6; ++p) {
            const double margin =
                1e-6 * (gradient_[p] * r + std::fabs(PlaneValue(centre, p)) + scale_[p]);
            if (PlaneValue(centre, p) + gradient_[p] * r < -margin)
                return true;
        }
        return false;
    }

    bool SphereHit(const Clip& centre, double r, std::size_t level) {
        if (SphereOutside(centre, r))
            return false;
        const std::vector<Clip>& unit = TurnedSphere(level);
        auto corner = [&](const Clip& q) {
            return Clip{centre.X + r * q.X, centre.Y + r * q.Y, centre.Z + r * q.Z,
                        centre.W + r * q.W};
        };
        for (std::size_t k = 0; k + 2 < unit.size(); k += 3)
            if (TriangleSurvives(corner(unit[k]), corner(unit[k + 1]), corner(unit[k + 2]),
                                 view_.CullBackFaces))
                return true;
        return false;
    }

    void Vertices() {
        const SphereSizing& s = view_.Spheres;
        const std::vector<Vertex>& vs = project_.Vertices;
        const double pivotRadius = s.Radius * kPivotSphereScale;
        for (std::size_t i = 0; i < vs.size(); ++i) {
            const Vertex& v = vs[i];
            const double r = v.Selected ? s.Radius * kSelectedSphereScale : s.Radius;
            // The pivot's sphere holds the vertex's own: only it needs testing when both miss.
            const bool pivot = int64_t(i) == view_.PivotVertex;
            if (SphereOutside(clip_[i], pivot ? std::max(r, pivotRadius) : r))
                continue;
            if (SphereHit(clip_[i], r, s.Level(view_.Scene, v, r)) ||
                (pivot && SphereHit(clip_[i], pivotRadius, s.Level(view_.Scene, v, pivotRadius))))
                names_.push_back(VertexPickName(i));
        }
        if (view_.OriginPivot &&
            SphereHit(Transform(m_, 0, 0, 0), pivotRadius, SphereLevelFor(kOriginPivotPixels)))
            names_.push_back(kNoObjectName);
    }

    bool AxisHit() const {
        const double a = float(project_.Options.AxisSize);
        const Clip origin = Transform(m_, 0, 0, 0);
        return SegmentSurvives(origin, Transform(m_, a, 0, 0)) ||
               SegmentSurvives(origin, Transform(m_, 0, a, 0)) ||
               SegmentSurvives(origin, Transform(m_, 0, 0, a));
    }

    // The lattice halved along its longest side until a part is small, each part skipped when
    // its box lies outside the region: only the few points along the pick ray are tested.
    bool GridHit() const {
        const GridLattice g = GridLatticeOf(project_.Box);
        if (!g.Drawn)
            return false;
        const double scale = view_.GridScale;
        struct Part {
            long long Lo[3], Hi[3];
        };
        std::vector<Part> parts{{{g.X0, g.Y0, g.Z0}, {g.X1, g.Y1, g.Z1}}};
        while (!parts.empty()) {
            Part part = parts.back();
            parts.pop_back();
            Box3 box{{scale * double(part.Lo[0]), scale * double(part.Lo[1]),
                      scale * double(part.Lo[2])},
                     {scale * double(part.Hi[0]), scale * double(part.Hi[1]),
                      scale * double(part.Hi[2])}};
            if (BoxOutsideFrustum(m_, box))
                continue;
            long long size[3];
            for (int a = 0; a < 3; ++a)
                size[a] = part.Hi[a] - part.Lo[a] + 1;
            if (size[0] * size[1] * size[2] <= 64) {
                for (long long i = part.Lo[0]; i <= part.Hi[0]; ++i)
                    for (long long j = part.Lo[1]; j <= part.Hi[1]; ++j)
                        for (long long k = part.Lo[2]; k <= part.Hi[2]; ++k)
                            if (Outcode(Transform(m_, scale * double(i), scale * double(j),
                                                  scale * double(k))) == 0)
                                return true;
                continue;
            }
            const int a = int(std::max_element(size, size + 3) - size);
            Part upper = part;
            part.Hi[a] = part.Lo[a] + size[a] / 2 - 1;
            upper.Lo[a] = part.Hi[a] + 1;
            parts.push_back(part);
            parts.push_back(upper);
        }
        return false;
    }

    const Project& project_;
    const PickView& view_;
    const Mat4 m_;
    std::vector<Clip> clip_;
    std::array<std::optional<std::vector<Clip>>, kSphereLevels> turned_;
    std::array<double, 6> gradient_{}, scale_{};
    std::vector<uint32_t> names_;
};

} // namespace

std::vector<uint32_t> PickNamesOnCpu(const Project& project, const PickView& view) {
    return CpuPicker(project, view).Run();
}

} // namespace meshforge
