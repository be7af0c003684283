// Project file write and read on a large generated object, against the floors of writing the
// same bytes preformatted and of reading the same file's lines a chunk at a time; and the
// memory a read takes beyond the Project it makes.
#include "model/project.h"
#include "model/project_file.h"
#include "project_reader_reference.h"
#include "ui/quiet_ui.h"
#include "util/atomic_file.h"
#include "util/line_source.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
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

void BM_ReadProjectWholeText(benchmark::State& state) {
    // The reader before the chunked one: the whole file in memory, split into line views.
    const std::string& file = BigFile();
    QuietUi ui;
    for (auto _ : state) {
        Project p;
        p.ProjectFileName = file;
        const std::string text = ReadWholeFile(file);
        reference::ReadProjectText(p, text, ui);
        benchmark::DoNotOptimize(p.Polygons.data());
    }
    state.SetBytesProcessed(state.iterations() * fs::file_size(file));
}

void BM_ReadFloor(benchmark::State& state) {
    // Floor: every line of the file looked at once, a chunk at a time.
    const std::string& file = BigFile();
    for (auto _ : state) {
        LineSource lines = LineSource::File(file);
        std::string_view line;
        std::size_t n = 0, bytes = 0;
        while (lines.Next(line)) {
            ++n;
            bytes += line.size();
        }
        benchmark::DoNotOptimize(n + bytes);
    }
    state.SetBytesProcessed(state.iterations() * fs::file_size(file));
}

long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == field) {
            status >> value;
            return value;
        }
        status.ignore(1 << 10, '\n');
    }
    return -1;
}

// The peak resident memory a read adds and the heap the Project it made holds, in MB, measured
// in a fresh process (this program started again), so that nothing the benchmarks already
// hold or freed counts.
int MeasureRead(const std::string& file) {
    const long before = StatusKilobytes("VmRSS:");
    const struct mallinfo2 heapBefore = mallinfo2();
    Project p;
    p.ProjectFileName = file;
    QuietUi ui;
    ReadProject(p, ui);
    const struct mallinfo2 heapAfter = mallinfo2();
    const double project =
        double(heapAfter.uordblks + heapAfter.hblkhd - heapBefore.uordblks - heapBefore.hblkhd) /
        (1 << 20);
    std::printf("%f %f\n", double(StatusKilobytes("VmHWM:") - before) / 1024, project);
    return 0;
}

void BM_ReadProjectMemory(benchmark::State& state) {
    const std::string command =
        "'" + fs::read_symlink("/proc/self/exe").string() + "' --measure-read '" + BigFile() + "'";
    for (auto _ : state) {
        double peak = 0, project = 0;
        std::FILE* out = ::popen(command.c_str(), "r");
        if (!out || std::fscanf(out, "%lf %lf", &peak, &project) != 2)
            state.SkipWithError("the measuring process failed");
        if (out)
            ::pclose(out);
        state.counters["peak_MB"] = peak;
        state.counters["project_MB"] = project;
        state.counters["beyond_MB"] = peak - project;
    }
}

} // namespace

BENCHMARK(BM_WriteFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteProject)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadProjectWholeText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadProjectMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--measure-read")
        return MeasureRead(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
