// Remove Double Vertices and Remove Selected on a face-by-face import: every triangle with its
// own three vertices, on a grid so that neighbouring triangles share positions. The literal
// algorithms run on a smaller object of the same kind to give the speed-up.
#include "edit/vertices.h"
#include "literal_vertices.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

using namespace meshforge;

namespace {

// `cells` x `cells` grid squares, two triangles each, three vertices per triangle; every
// tenth vertex is selected.
Project TriangleSoup(int cells) {
    Project p;
    p.Vertices.reserve(static_cast<std::size_t>(cells) * cells * 6);
    p.Polygons.reserve(static_cast<std::size_t>(cells) * cells * 2);
    auto corner = [&](int x, int y) {
        const auto i = static_cast<int32_t>(p.Vertices.size());
        p.Vertices.push_back({x * 10.0f, 0.0f, y * 10.0f, i % 10 == 0});
        return i;
    };
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x) {
            for (int half = 0; half < 2; ++half) {
                int32_t a = corner(x, y);
                int32_t b = half == 0 ? corner(x + 1, y) : corner(x + 1, y + 1);
                int32_t c = half == 0 ? corner(x + 1, y + 1) : corner(x, y + 1);
                ObjectData t;
                t.Color = {0.5f, 0.5f, 0.5f};
                t.VertexIndices = {a, b, c, a};
                t.TextureIndex = kUntextured;
                p.Polygons.push_back(std::move(t));
            }
        }
    p.HasGeometry = p.GeometryShown = true;
    return p;
}

// 1000 x 1000 cells: 6,000,000 vertices, 2,000,000 triangles.
const Project& Large() {
    static const Project p = TriangleSoup(1000);
    return p;
}

template <class F> void Fast(benchmark::State& state, F op) {
    int64_t removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Project p = Large();
        state.ResumeTiming();
        removed = op(p);
        benchmark::DoNotOptimize(p.Vertices.data());
        state.PauseTiming();
        p = Project{}; // the release is not part of the operation
        state.ResumeTiming();
    }
    state.counters["vertices"] = static_cast<double>(Large().Vertices.size());
    state.counters["removed"] = static_cast<double>(removed);
}

void BM_MergeDoubleVertices(benchmark::State& state) {
    Fast(state, [](Project& p) { return MergeDoubleVertices(p); });
}

void BM_EraseSelectedVertices(benchmark::State& state) {
    Fast(state, [](Project& p) { return EraseSelectedVertices(p); });
}

double Seconds(const std::function<void()>& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Literal and fast on the same object in one run; the times and their ratio are counters.
template <class L, class F> void Ratio(benchmark::State& state, L literalOp, F fastOp) {
    const Project source = TriangleSoup(static_cast<int>(state.range(0)));
    double literal = 0, fast = 0;
    for (auto _ : state) {
        Project a = source, b = source;
        literal = Seconds([&] { literalOp(a); });
        fast = Seconds([&] { fastOp(b); });
        if (a.Vertices.size() != b.Vertices.size() || a.Polygons.size() != b.Polygons.size())
            state.SkipWithError("literal and fast results differ");
        state.SetIterationTime(literal + fast);
    }
    state.counters["vertices"] = static_cast<double>(source.Vertices.size());
    state.counters["literal_s"] = literal;
    state.counters["fast_s"] = fast;
    state.counters["speedup"] = fast > 0 ? literal / fast : 0;
}

void BM_RemoveDoublesLiteralVsFast(benchmark::State& state) {
    Ratio(state, literal::RemoveDoubles, MergeDoubleVertices);
}

void BM_RemoveSelectedLiteralVsFast(benchmark::State& state) {
    Ratio(state, literal::RemoveSelected, EraseSelectedVertices);
}

} // namespace

BENCHMARK(BM_MergeDoubleVertices)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EraseSelectedVertices)->Unit(benchmark::kMillisecond)->Iterations(3);
// Grid cells per side of the literal runs: 6 * cells^2 vertices.
// Sized so that each literal run takes about a minute.
BENCHMARK(BM_RemoveDoublesLiteralVsFast)
    ->Arg(180)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseManualTime();
BENCHMARK(BM_RemoveSelectedLiteralVsFast)
    ->Arg(270)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseManualTime();
