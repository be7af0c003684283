// The vertex transforms and the polygon tools on 6,000,000 vertices, with their records kept
// between runs as the dialogs keep them. The object is a grid covered by polygons of 100
// corners, each sharing its last corner with the next one's first.
#include "edit/editor_state.h"
#include "model/renumber.h"
#include "transform/polygon_tools.h"
#include "transform/transform.h"
#include "ui/quiet_ui.h"

#include <benchmark/benchmark.h>

using namespace meshforge;

namespace {

constexpr int32_t kVertices = 6'000'000;
constexpr int32_t kCorners = 100;

Project& Large() {
    static Project p = [] {
        Project q;
        q.Vertices.reserve(kVertices);
        for (int32_t i = 0; i < kVertices; ++i)
            q.Vertices.push_back({float(i % 2000), float(i / 2000), float(i % 7), i % 3 == 0});
        for (int32_t first = 0; first + kCorners <= kVertices; first += kCorners - 1) {
            ObjectData ring;
            for (int32_t k = 0; k < kCorners; ++k)
                ring.VertexIndices.push_back(first + k);
            ring.VertexIndices.push_back(first);
            ring.TextureIndex = 0;
            q.Polygons.push_back(std::move(ring));
        }
        q.Textures.resize(1);
        q.HasGeometry = q.GeometryShown = true;
        UpdateBoundingBox(q);
        return q;
    }();
    return p;
}

QuietUi& Ui() {
    static QuietUi ui;
    return ui;
}

TransformState& State() {
    static TransformState s;
    return s;
}

template <class F> void Timed(benchmark::State& state, F op) {
    Project& p = Large();
    for (auto _ : state) {
        benchmark::DoNotOptimize(op(p));
        benchmark::ClobberMemory();
    }
    state.counters["vertices"] = static_cast<double>(p.Vertices.size());
}

void BM_MoveAll(benchmark::State& state) {
    Timed(state, [](Project& p) {
        return MoveVertices(p, {"1", "0.5", "0.0"}, Scope::All, State().Vertices.Move, Ui());
    });
}

void BM_MoveSelected(benchmark::State& state) {
    Timed(state, [](Project& p) {
        return MoveVertices(p, {"1", "0.0", "0.0"}, Scope::Selected, State().Vertices.Move, Ui());
    });
}

void BM_Mirror(benchmark::State& state) {
    Timed(state, [](Project& p) {
        MirrorVertices(p, Axis::Y, false, Scope::All, State().Vertices.Mirror, Ui());
        return true;
    });
}

// Keeping the originals appends a mirrored copy of each of the 2,000,000 selected vertices; its
// undo cuts them off again, so every run starts from the same object.
void BM_MirrorKeep(benchmark::State& state) {
    Timed(state, [](Project& p) {
        MirrorVertices(p, Axis::Y, true, Scope::Selected, State().Vertices.Mirror, Ui());
        return UndoTransform(p, UndoKind::Mirror, State().Vertices.Mirror, Ui());
    });
    state.SetLabel("mirror keeping the originals and its undo");
}

void BM_Scale(benchmark::State& state) {
    Timed(state, [](Project& p) {
        return ScaleVertices(p, "-1", ScaleAxis::All, Scope::All, State().Vertices.Scale, Ui());
    });
}

void BM_Centre(benchmark::State& state) {
    Timed(state, [](Project& p) { return CentreVertices(p, State().Vertices.Centre, Ui()); });
}

void BM_RotateStep(benchmark::State& state) {
    EditorState editor(1);
    editor.PivotVertex = 5;
    Timed(state, [&](Project& p) {
        return RotateStep(p, editor, Axis::Y, {0.01745240643728351, 0.9998476951563913}, Scope::All,
                          Ui());
    });
}

void BM_UndoMove(benchmark::State& state) {
    Timed(state, [](Project& p) {
        MoveVertices(p, {"1", "0.0", "0.0"}, Scope::All, State().Vertices.Move, Ui());
        return UndoTransform(p, UndoKind::Move, State().Vertices.Move, Ui());
    });
    state.SetLabel("move and its undo");
}

void BM_MovePolygons(benchmark::State& state) {
    for (ObjectData& ring : Large().Polygons)
        ring.Selected = true;
    Timed(state, [](Project& p) {
        return MovePolygons(p, {"0.0", "0.0", "1"}, State().MovePolygons, Ui());
    });
}

// The copy (its duplicate-vertex pass over the whole object included); the undo runs outside
// the timing so that every run starts from the same object.
void BM_CopyPolygons(benchmark::State& state) {
    Project& p = Large();
    std::vector<int32_t> chosen(1000);
    for (int32_t i = 0; i < 1000; ++i)
        chosen[static_cast<std::size_t>(i)] = i * 50;
    for (auto _ : state) {
        state.PauseTiming();
        SelectListedPolygons(p, chosen);
        state.ResumeTiming();
        CopyPolygons(p, {"0.0", "0.0", "100"}, CopySide::Opposite, CopyTexture::Mirrored,
                     State().Copy, Ui());
        state.PauseTiming();
        UndoCopyPolygons(p, State().Copy, Ui());
        state.ResumeTiming();
    }
    state.counters["vertices"] = static_cast<double>(p.Vertices.size());
}

void BM_UndoCopyPolygons(benchmark::State& state) {
    Project& p = Large();
    std::vector<int32_t> chosen(1000);
    for (int32_t i = 0; i < 1000; ++i)
        chosen[static_cast<std::size_t>(i)] = i * 50;
    for (auto _ : state) {
        state.PauseTiming();
        SelectListedPolygons(p, chosen);
        CopyPolygons(p, {"0.0", "0.0", "100"}, CopySide::Same, CopyTexture::Same, State().Copy,
                     Ui());
        state.ResumeTiming();
        UndoCopyPolygons(p, State().Copy, Ui());
    }
}

} // namespace

BENCHMARK(BM_MoveAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveSelected)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MirrorKeep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Centre)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoMove)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovePolygons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPolygons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoCopyPolygons)->Unit(benchmark::kMillisecond);
