// Texture assignment on a large selection: choosing a texture, a repeat count and a mapping
// change over 100,000 selected quadrangles.
#include "model/project.h"
#include "texture/assign.h"

#include <benchmark/benchmark.h>

#include <numeric>

using namespace meshforge;

namespace {

constexpr int kPolygons = 100'000;

struct Scene {
    Project project;
    AssignState state;
};

Scene MakeScene() {
    Scene s;
    Project& p = s.project;
    p.Vertices.resize(4 * kPolygons);
    p.Textures = {{"/t/a.bmp", 0, "", 0, 0}, {"/t/b.bmp", 0, "", 0, 0}};
    p.Polygons.reserve(kPolygons);
    for (int i = 0; i < kPolygons; ++i)
        p.Polygons.push_back(
            {{}, {4 * i, 4 * i + 1, 4 * i + 2, 4 * i + 3, 4 * i}, kUntextured, {}, false});
    p.CurrentPolygon = 0;
    StartAssignTextures(p, s.state);
    std::vector<int32_t> all(kPolygons);
    std::iota(all.begin(), all.end(), 0);
    SelectPolygons(p, s.state, all);
    return s;
}

void BM_ApplyTextureToSelection(benchmark::State& st) {
    Scene s = MakeScene();
    int32_t t = 0;
    for (auto _ : st) {
        ChooseTexture(s.project, s.state, t);
        t = 1 - t;
        benchmark::DoNotOptimize(s.project.Polygons.back().TexCoords.data());
    }
}
BENCHMARK(BM_ApplyTextureToSelection)->Unit(benchmark::kMillisecond);

void BM_RepeatAndRotate(benchmark::State& st) {
    Scene s = MakeScene();
    ChooseTexture(s.project, s.state, 0);
    int n = 1;
    for (auto _ : st) {
        SetRepeat(s.project, s.state, n, n + 1);
        RotateMapping(s.project, s.state);
        n = n % 50 + 1;
        benchmark::DoNotOptimize(s.project.Polygons.back().TexCoords.data());
    }
}
BENCHMARK(BM_RepeatAndRotate)->Unit(benchmark::kMillisecond);

} // namespace
