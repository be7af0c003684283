// The ASE writer on 1,000,000 textured triangles, against writing the same bytes preformatted.
#include "model/project.h"
#include "output/ase_writer.h"
#include "ui/quiet_ui.h"
#include "util/atomic_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

using namespace meshforge;
namespace fs = std::filesystem;

namespace {

constexpr int kTriangles = 1'000'000;

const Project& Scene() {
    static const Project p = [] {
        Project s;
        std::mt19937 rng(7);
        std::uniform_real_distribution<float> coord(-5000, 5000), unit(0, 1);
        s.Vertices.reserve(kTriangles + 2);
        for (int i = 0; i < kTriangles + 2; ++i)
            s.Vertices.push_back({coord(rng), coord(rng), coord(rng)});
        for (int t = 0; t < 10; ++t)
            s.Textures.push_back({"/t/tex" + std::to_string(t) + ".bmp", 0, "", 0, 14540253});
        s.Polygons.reserve(kTriangles);
        for (int i = 0; i < kTriangles; ++i)
            s.Polygons.push_back(
                {{},
                 {i, i + 1, i + 2, i},
                 i % 10,
                 {{unit(rng), unit(rng)}, {unit(rng), unit(rng)}, {unit(rng), unit(rng)}},
                 false});
        return s;
    }();
    return p;
}

std::string OutPath() {
    return (fs::temp_directory_path() / "meshforge-bench-out.ase").string();
}

void BM_WriteAseFile(benchmark::State& st) {
    const Project& p = Scene();
    QuietUi ui;
    for (auto _ : st)
        benchmark::DoNotOptimize(WriteAseFile(p, OutPath(), ui));
    st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(fs::file_size(OutPath())));
}
BENCHMARK(BM_WriteAseFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor: the same bytes, already formatted, written the same way.
void BM_WritePreformattedBytes(benchmark::State& st) {
    const std::string text = AseFileText(Scene());
    for (auto _ : st)
        WriteFileAtomically(OutPath(), text);
    st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_WritePreformattedBytes)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
