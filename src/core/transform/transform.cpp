#include "transform/transform.h"

#include "model/texts.h"
#include "transform/transform_detail.h"
#include "ui/ui.h"
#include "util/errors.h"
#include "util/memory.h"
#include "util/vec_math.h"

#include <algorithm>
#include <cmath>

namespace meshforge {

namespace detail {

std::optional<std::array<double, 3>> ParseOffset(const OffsetTexts& texts, Ui& ui) {
    std::array<double, 3> offset{};
    try {
        for (std::size_t i = 0; i < 3; ++i)
            offset[i] = ParseFloat(texts[i]);
    } catch (const ParseError& e) {
        ui.Message(e.what());
        return std::nullopt;
    }
    return offset;
}

void ReserveVertices(std::vector<Vertex>& list, std::size_t total) {
    if (list.capacity() >= total)
        return;
    std::vector<Vertex> grown;
    grown.reserve(total);
    AdviseHugePages(grown.data(), total * sizeof(Vertex));
    grown.assign(list.begin(), list.end());
    list.swap(grown);
}

bool AllZeroTexts(const OffsetTexts& texts) {
    return std::all_of(texts.begin(), texts.end(),
                       [](const std::string& t) { return t == kZeroOffsetText; });
}

} // namespace detail

using detail::Fits;
using detail::InScope;

namespace {

const char* AxisName(Axis axis) {
    switch (axis) {
    case Axis::X:
        return "X";
    case Axis::Y:
        return "Y";
    case Axis::Z:
        return "Z";
    }
    return "X";
}

float& Coordinate(Vertex& v, int axis) {
    return axis == 0 ? v.X : axis == 1 ? v.Y : v.Z;
}
float Coordinate(const Vertex& v, int axis) {
    return axis == 0 ? v.X : axis == 1 ? v.Y : v.Z;
}

// The double rounded to the float it is stored as, or an infinity where no float holds it
// (converting such a value is undefined): a later test then refuses the whole operation.
double AsStored(double x) {
    if (Fits(x))
        return static_cast<float>(x);
    return std::isnan(x) ? x : std::copysign(HUGE_VAL, x);
}

// Every vertex in scope through `map` (a vertex to its new X, Y, Z in double): true when every
// result is a finite float.
template <class Map> bool AllFit(const Project& project, Scope scope, const Map& map) {
    // Counted rather than left at the first failure: a loop without exits runs faster.
    std::size_t misfits = 0;
    for (const Vertex& v : project.Vertices)
        if (InScope(v, scope)) {
            const std::array<double, 3> r = map(v);
            misfits +=
                std::size_t(!Fits(r[0])) + std::size_t(!Fits(r[1])) + std::size_t(!Fits(r[2]));
        }
    return misfits == 0;
}

// Stores the results of `map` (all known to fit); returns the number of vertices changed.
template <class Map> std::size_t Apply(Project& project, Scope scope, const Map& map) {
    std::size_t count = 0;
    for (Vertex& v : project.Vertices)
        if (InScope(v, scope)) {
            const std::array<double, 3> r = map(v);
            v.X = static_cast<float>(r[0]);
            v.Y = static_cast<float>(r[1]);
            v.Z = static_cast<float>(r[2]);
            ++count;
        }
    return count;
}

// Checks, backs up and applies: the common course of Move, Scale and Rotate.
template <class Map>
bool Transform(Project& project, Scope scope, VertexBackup* undo, Ui& ui, const Map& map,
               std::size_t* changed = nullptr) {
    if (!AllFit(project, scope, map)) {
        ui.Message(kNotFiniteMessage);
        return false;
    }
    if (undo)
        undo->Take(project);
    const std::size_t count = Apply(project, scope, map);
    if (changed)
        *changed = count;
    return true;
}

// X, Y, Z back from the record over the length both share, with the record's flags when
// `flags`, every flag cleared otherwise.
void RestoreCoordinates(Project& project, const std::vector<Vertex>& backup, bool flags) {
    const std::size_t n = std::min(project.Vertices.size(), backup.size());
    for (std::size_t i = 0; i < n; ++i) {
        Vertex& v = project.Vertices[i];
        v.X = backup[i].X;
        v.Y = backup[i].Y;
        v.Z = backup[i].Z;
        v.Selected = flags && backup[i].Selected;
    }
}

} // namespace

bool AnyVertexSelected(const Project& project) {
    return std::any_of(project.Vertices.begin(), project.Vertices.end(),
                       [](const Vertex& v) { return v.Selected; });
}

// ---- VertexBackup ----

void VertexBackup::Take(const Project& project, bool keepSelection) {
    taken_ = true;
    stamp_.Take(project);
    // The storage is kept from take to take; fresh storage for a large object is asked for in
    // huge pages, which fill many times faster than page by page.
    const std::vector<Vertex>& from = project.Vertices;
    if (vertices_.capacity() < from.size()) {
        vertices_ = std::vector<Vertex>();
        vertices_.reserve(from.size());
        AdviseHugePages(vertices_.data(), from.size() * sizeof(Vertex));
    }
    vertices_.assign(from.begin(), from.end());
    if (!keepSelection)
        for (Vertex& v : vertices_)
            v.Selected = false;
}

void VertexBackup::Discard() {
    taken_ = false;
    vertices_.clear(); // the capacity stays for the next record
}

bool VertexBackup::CanRestore(const Project& project) const {
    return taken_ && stamp_.Matches(project);
}

bool VertexBackup::CheckRestorable(const Project& project, Ui& ui) {
    if (!taken_)
        return false;
    if (!stamp_.Matches(project)) {
        ui.Message(kUndoStaleMessage);
        Discard();
        return false;
    }
    return true;
}

// ---- Move, Mirror, Scale, Centre ----

bool MoveVertices(Project& project, const OffsetTexts& texts, Scope scope, VertexBackup& undo,
                  Ui& ui) {
    const std::optional<std::array<double, 3>> d = detail::ParseOffset(texts, ui);
    if (!d)
        return false;
    std::size_t moved = 0;
    const auto map = [&](const Vertex& v) {
        return std::array<double, 3>{v.X + (*d)[0], v.Y + (*d)[1], v.Z + (*d)[2]};
    };
    if (!Transform(project, scope, &undo, ui, map, &moved))
        return false;
    if (moved > 0) {
        const char* start = scope == Scope::All ? "Objects moved " : "Selected Vertice(s) moved ";
        for (int axis = 0; axis < 3; ++axis)
            if (texts[axis] != kZeroOffsetText)
                ui.Log(start + texts[axis] + " units along " + AxisName(Axis(axis)) + "-Axis");
    }
    UpdateBoundingBox(project);
    return true;
}

void MirrorVertices(Project& project, Axis axis, bool keep, Scope scope, VertexBackup& undo,
                    Ui& ui) {
    const int a = static_cast<int>(axis);
    undo.Take(project);
    std::vector<Vertex>& vs = project.Vertices;
    if (keep) {
        const std::size_t n = vs.size();
        std::size_t copies = 0;
        for (std::size_t i = 0; i < n; ++i)
            copies += InScope(vs[i], scope) && Coordinate(vs[i], a) != 0;
        if (copies > 0) {
            const uint64_t before = project.Revision;
            detail::ReserveVertices(vs, n + copies);
            for (std::size_t i = 0; i < n; ++i)
                if (InScope(vs[i], scope) && Coordinate(vs[i], a) != 0) {
                    Vertex copy = vs[i];
                    Coordinate(copy, a) = -Coordinate(copy, a);
                    copy.Selected = false;
                    vs.push_back(copy);
                }
            BumpRevision(project);
            undo.Follow(project, before);
        }
        ui.Log(std::string("Vertices added, mirrored along ") + AxisName(axis) + "-Axis");
    } else {
        for (Vertex& v : vs)
            if (InScope(v, scope))
                Coordinate(v, a) = -Coordinate(v, a);
        ui.Log(std::string("Objects mirrored along ") + AxisName(axis) + "-Axis");
    }
}

bool ScaleVertices(Project& project, std::string_view factorText, ScaleAxis axis, Scope scope,
                   VertexBackup& undo, Ui& ui) {
    double f = 0;
    try {
        f = ParseFloat(factorText);
    } catch (const ParseError& e) {
        ui.Message(e.what());
        return false;
    }
    if (f == 0) {
        ui.Message(kZeroScaleMessage);
        return false;
    }
    const bool all = axis == ScaleAxis::All;
    const double fx = all || axis == ScaleAxis::X ? f : 1;
    const double fy = all || axis == ScaleAxis::Y ? f : 1;
    const double fz = all || axis == ScaleAxis::Z ? f : 1;
    const auto map = [&](const Vertex& v) {
        return std::array<double, 3>{fx * v.X, fy * v.Y, fz * v.Z};
    };
    if (!Transform(project, scope, &undo, ui, map))
        return false;
    UpdateBoundingBox(project);
    ui.Log((scope == Scope::All ? "All Vertices scaled by " : "Selected Vertices scaled by ") +
           std::string(factorText));
    return true;
}

bool IsCentred(const Project& project) {
    const BoundingBox& stored = project.Box;
    const bool storedAtOrigin = stored.CenterX == 0 && stored.CenterY == 0 && stored.CenterZ == 0;
    if (project.Vertices.empty())
        return storedAtOrigin;
    const BoundingBox now = ComputeBoundingBox(project);
    if (now.CenterX == 0 && now.CenterY == 0 && now.CenterZ == 0)
        return true;
    return storedAtOrigin && now.MinX == stored.MinX && now.MaxX == stored.MaxX &&
           now.MinY == stored.MinY && now.MaxY == stored.MaxY && now.MinZ == stored.MinZ &&
           now.MaxZ == stored.MaxZ;
}

bool CentreVertices(Project& project, VertexBackup& undo, Ui& ui) {
    if (project.Vertices.empty())
        return false;
    const BoundingBox box = ComputeBoundingBox(project);
    const double cx = box.CenterX, cy = box.CenterY, cz = box.CenterZ;
    const auto map = [&](const Vertex& v) {
        return std::array<double, 3>{v.X - cx, v.Y - cy, v.Z - cz};
    };
    if (!AllFit(project, Scope::All, map)) {
        ui.Message(kNotFiniteMessage);
        return false;
    }
    undo.Take(project, false);
    Apply(project, Scope::All, map);
    UpdateBoundingBox(project);
    // Exactly the origin, so that a rounding remainder does not invite a second Centre.
    project.Box.CenterX = project.Box.CenterY = project.Box.CenterZ = 0;
    return true;
}

bool UndoTransform(Project& project, UndoKind kind, VertexBackup& undo, Ui& ui) {
    if (!undo.CheckRestorable(project, ui))
        return false;
    const std::vector<Vertex>& backup = undo.Vertices();
    switch (kind) {
    case UndoKind::Move:
        RestoreCoordinates(project, backup, false);
        break;
    case UndoKind::Mirror:
        if (project.Vertices.size() != backup.size()) {
            project.Vertices.resize(std::min(project.Vertices.size(), backup.size()));
            BumpRevision(project);
        }
        RestoreCoordinates(project, backup, true);
        break;
    case UndoKind::Scale:
        RestoreCoordinates(project, backup, true);
        break;
    case UndoKind::Centre:
        RestoreCoordinates(project, backup, false);
        UpdateBoundingBox(project);
        break;
    }
    undo.Discard();
    return true;
}

// ---- Rotate ----

namespace {
// The sine and cosine of a free step of 1 degree.
constexpr double kSin1 = 0.01745240643728351;
constexpr double kCos1 = 0.9998476951563913;

struct FixedAngle {
    const char* Item;
    double Sin, Cos;
};
const std::array<FixedAngle, kFixedAngleCount>& FixedAngles() {
    static const double half2 = std::sqrt(2.0) * 0.5, half3 = std::sqrt(3.0) * 0.5;
    static const std::array<FixedAngle, kFixedAngleCount> table{{
        {"30\u00B0", 0.5, half3},
        {"45\u00B0", half2, half2},
        {"60\u00B0", half3, 0.5},
        {"90\u00B0", 1, 0},
        {"180\u00B0", 0, -1},
        {"270\u00B0", -1, 0},
        {"Select Angle!", 0, 1},
    }};
    return table;
}
} // namespace

const char* FixedAngleItem(int index) {
    if (index < 0 || index >= kFixedAngleCount)
        return "";
    return FixedAngles()[static_cast<std::size_t>(index)].Item;
}

std::optional<StepFactors> FixedStep(int index) {
    if (index < 0 || index >= kFixedAngleCount || index == kSelectAngleIndex)
        return std::nullopt;
    const FixedAngle& a = FixedAngles()[static_cast<std::size_t>(index)];
    return StepFactors{a.Sin, a.Cos};
}

void RotateSession::Begin(const Project& project, EditorState& editor) {
    editor.PivotVertex = kNoElement;
    lastSpin_ = 0;
    pivotRevision_ = project.Revision;
    opening_.Take(project);
}

std::optional<StepFactors> RotateSession::FreeStep(int spinValue) {
    if (spinValue == lastSpin_)
        return std::nullopt;
    const double sin = spinValue > lastSpin_ ? kSin1 : -kSin1;
    lastSpin_ = spinValue;
    return StepFactors{sin, kCos1};
}

bool RotateSession::FollowProject(const Project& project, EditorState& editor) {
    const int32_t pivot = editor.PivotVertex;
    const bool moved = project.Revision != pivotRevision_;
    pivotRevision_ = project.Revision;
    if (pivot == kNoElement)
        return false;
    if (moved || pivot < 0 || static_cast<std::size_t>(pivot) >= project.Vertices.size()) {
        editor.PivotVertex = kNoElement;
        return true;
    }
    return false;
}

void RotateSession::Accept(EditorState& editor) {
    editor.PivotVertex = kNoElement;
    opening_.Discard();
}

bool RotateSession::Cancel(Project& project, EditorState& editor, Ui& ui) {
    editor.PivotVertex = kNoElement;
    if (!opening_.CheckRestorable(project, ui))
        return false;
    RestoreCoordinates(project, opening_.Vertices(), true);
    opening_.Discard();
    return true;
}

bool RotateStep(Project& project, const EditorState& editor, Axis axis, StepFactors step,
                Scope scope, Ui& ui) {
    const AxisPair pair = PairTurnedAbout(static_cast<int>(axis));
    double pa = 0, pb = 0;
    const int32_t pivot = editor.PivotVertex;
    if (pivot >= 0 && static_cast<std::size_t>(pivot) < project.Vertices.size()) {
        const Vertex& p = project.Vertices[static_cast<std::size_t>(pivot)];
        pa = Coordinate(p, pair.A);
        pb = Coordinate(p, pair.B);
    }
    const auto map = [&](const Vertex& v) {
        // Relative to the pivot and the turned values are each stored as floats on the way.
        const double a = AsStored(Coordinate(v, pair.A) - pa);
        const double b = AsStored(Coordinate(v, pair.B) - pb);
        const PlanePoint t = TurnInPlane(a, b, step.Sin, step.Cos);
        std::array<double, 3> r{v.X, v.Y, v.Z};
        r[static_cast<std::size_t>(pair.A)] = AsStored(t.A) + pa;
        r[static_cast<std::size_t>(pair.B)] = AsStored(t.B) + pb;
        return r;
    };
    return Transform(project, scope, nullptr, ui, map);
}

} // namespace meshforge
