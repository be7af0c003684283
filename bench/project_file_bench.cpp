// Project file write and read on a large generated object, against the floor of reading the
// same file's lines into memory.
#include "model/project.h"
#include "model/project_file.h"
#include "ui/quiet_ui.h"
#include "util/atomic_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace meshforge;
namespace fs = std::filesystem;

namespace {

constexpr int kVertices = 1'000'000;
constexpr int kTriangles = 1'000'000;

const fs::path& Folder() {
    static fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "meshforge-bench";
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

Project MakeProject() {
    Project p;
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> coord(-5000, 5000), unit(0, 1);
    p.Vertices.reserve(kVertices);
    for (int i = 0; i < kVertices; ++i)
        p.Vertices.push_back({coord(rng), coord(rng), coord(rng)});
    for (int t = 0; t < 10; ++t) {
        std::string file = (Folder() / ("tex" + std::to_string(t) + ".bmp")).string();
        std::ofstream(file) << "BM";
        p.Textures.push_back({file, 0, "", 0, 0x00DDDDDD});
    }
    p.Polygons.reserve(kTriangles);
    std::uniform_int_distribution<int> vertex(0, kVertices - 1), texture(0, 9);
    for (int i = 0; i < kTriangles; ++i) {
        int a = vertex(rng), b = vertex(rng), c = vertex(rng);
        p.Polygons.push_back(
            {{unit(rng), unit(rng), unit(rng)},
             {a, b, c, a},
             texture(rng),
             {{unit(rng), unit(rng)}, {unit(rng), unit(rng)}, {unit(rng), unit(rng)}, {}}});
    }
    p.ProjectFileName = (Folder() / "big.3dp").string();
    return p;
}

Project& Big() {
    static Project p = MakeProject();
    return p;
}

const std::string& BigFile() {
    static std::string path = [] {
        QuietUi ui;
        WriteProject(Big(), {}, ui);
        return Big().ProjectFileName;
    }();
    return path;
}

void BM_WriteProject(benchmark::State& state) {
    QuietUi ui;
    for (auto _ : state)
        WriteProject(Big(), {}, ui);
    state.SetBytesProcessed(state.iterations() * fs::file_size(Big().ProjectFileName));
}

void BM_WriteFloor(benchmark::State& state) {
    // Floor: writing the same bytes, already formatted, atomically.
    std::string text = ReadWholeFile(BigFile());
    std::string out = (Folder() / "floor.3dp").string();
    for (auto _ : state)
        WriteFileAtomically(out, text);
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_ReadProject(benchmark::State& state) {
    const std::string& file = BigFile();
    QuietUi ui;
    for (auto _ : state) {
        Project p;
        p.ProjectFileName = file;
        ReadProject(p, ui);
        benchmark::DoNotOptimize(p.Polygons.data());
    }
    state.SetBytesProcessed(state.iterations() * fs::file_size(file));
}

void BM_ReadFloor(benchmark::State& state) {
    // Floor: the file's lines read into memory.
    const std::string& file = BigFile();
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line))
            lines.push_back(line);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(state.iterations() * fs::file_size(file));
}

} // namespace

BENCHMARK(BM_WriteFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteProject)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
