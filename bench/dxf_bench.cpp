// The whole DXF import (scan, import, Remove Double Vertices) on generated files, against the
// floors of reading the file's lines. Peak memory is the process's: run one import benchmark
// per process (--benchmark_filter) to read it for that import alone.
#include "io/dxf_import.h"
#include "model/project.h"
#include "model/project_file.h"
#include "ui/ui.h"
#include "util/atomic_file.h"
#include "util/line_source.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>

using namespace meshforge;

namespace {

struct QuietLog : Ui {
    bool echo = true; // messages to stderr
    int messages = 0;
    void Log(std::string_view) override {}
    void Message(std::string_view text) override {
        ++messages;
        if (echo)
            std::fprintf(stderr, "%.*s\n", int(text.size()), text.data());
    }
    Answer Ask(std::string_view, std::string_view, Buttons) override { return Answer::No; }
    void Beep() override {}
    std::optional<std::string> ChooseOpenFile(const FileDialogSpec&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const FileDialogSpec&) override { return {}; }
    std::optional<std::string> ChooseFolder(std::string_view) override { return {}; }
    std::optional<std::uint32_t> ChooseColor(std::uint32_t) override { return {}; }
    std::optional<std::string> ChooseBitmap(std::string_view) override { return {}; }
    std::optional<Offset3> AskImportOffset() override { return Offset3{}; }
    bool OpenDocument(std::string_view) override { return true; }
};

void Group(std::string& s, int code, double x, double y, double z) {
    char buf[160];
    const int n = std::snprintf(buf, sizeof buf, " %d\n%.6f\n %d\n%.6f\n %d\n%.6f\n", code, x,
                                code + 10, y, code + 20, z);
    s.append(buf, static_cast<std::size_t>(n));
}

// A terrain-like grid of triangles written as 3DFACEs with the fourth corner repeating the
// third, as CAD programs write triangles; neighbouring faces share their corners.
void FaceGrid(std::ostream& out, int64_t faces) {
    const auto cells = static_cast<int64_t>(std::ceil(std::sqrt(faces / 2.0)));
    std::string s = "  0\nSECTION\n  2\nENTITIES\n";
    int64_t written = 0;
    for (int64_t y = 0; y < cells && written < faces; ++y)
        for (int64_t x = 0; x < cells && written < faces; ++x)
            for (int half = 0; half < 2 && written < faces; ++half, ++written) {
                if (s.size() > (1 << 20)) {
                    out << s;
                    s.clear();
                }
                auto h = [&](int64_t a, int64_t b) {
                    return 0.01 * double((a * 7 + b * 13) % 100);
                };
                const double x1 = x + 1, y1 = y + 1;
                s += "  0\n3DFACE\n  8\n0\n";
                Group(s, 10, x, y, h(x, y));
                if (half == 0) {
                    Group(s, 11, x1, y, h(x + 1, y));
                    Group(s, 12, x1, y1, h(x + 1, y + 1));
                    Group(s, 13, x1, y1, h(x + 1, y + 1));
                } else {
                    Group(s, 11, x1, y1, h(x + 1, y + 1));
                    Group(s, 12, x, y1, h(x, y + 1));
                    Group(s, 13, x, y1, h(x, y + 1));
                }
            }
    out << s << "  0\nENDSEC\n  0\nEOF\n";
}

// `points` distinct random points, each written twice.
void DoublePoints(std::ostream& out, int64_t points) {
    std::mt19937 g(1);
    std::uniform_real_distribution<double> c(-1e4, 1e4);
    std::string s = "  0\nSECTION\n  2\nENTITIES\n";
    for (int64_t i = 0; i < points; ++i) {
        const double x = c(g), y = c(g), z = c(g);
        if (s.size() > (1 << 20)) {
            out << s;
            s.clear();
        }
        for (int twice = 0; twice < 2; ++twice) {
            s += "  0\nPOINT\n  8\n0\n";
            Group(s, 10, x, y, z);
        }
    }
    out << s << "  0\nENDSEC\n  0\nEOF\n";
}

// `keywords` lines "POINT" and nothing else: a malformed file whose entities all wait for a
// group that never comes.
void BareKeywords(std::ostream& out, int64_t keywords) {
    const std::string block = [] {
        std::string b;
        for (int i = 0; i < 4096; ++i)
            b += "POINT\n";
        return b;
    }();
    for (int64_t i = 0; i < keywords; i += 4096)
        out << block;
}

const std::string& FileFor(const std::string& name,
                           const std::function<void(std::ostream&)>& make) {
    static std::map<std::string, std::string> paths;
    auto it = paths.find(name);
    if (it == paths.end()) {
        const std::string path =
            (std::filesystem::temp_directory_path() / ("mf-bench-" + name + ".dxf")).string();
        {
            std::ofstream file(path, std::ios::binary);
            make(file);
        }
        // Written back before timing, so that no run reads pages still being written.
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
        it = paths.emplace(name, path).first;
    }
    return it->second;
}

double PeakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void WholeImport(benchmark::State& state, const std::string& path, DxfKind kind) {
    QuietLog ui;
    std::size_t vertices = 0;
    for (auto _ : state) {
        Project p;
        std::mt19937 rng(1);
        // As the Scan DXF dialog does: scan, then import, each reading the file in chunks.
        const DxfScan scan = ScanFile(path, ui);
        if (!scan.Ok || ImportDxf(p, path, kind, ui, rng, {}, scan.Count(kind)).Outcome !=
                            DxfImportOutcome::Imported) {
            state.SkipWithError("import failed");
            return;
        }
        ColorTriple line{};
        FinishDxfImport(p, line, ui);
        vertices = p.Vertices.size();
        benchmark::DoNotOptimize(p.Polygons.data());
        state.PauseTiming();
        p = Project{};
        state.ResumeTiming();
    }
    state.counters["vertices"] = static_cast<double>(vertices);
    state.counters["peak_MB"] = PeakMegabytes();
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

// Two floors: the file read whole and split into a list of lines, as a reader that keeps the
// text does; and the file read in chunks with every line found and looked at once, which
// any line-based reader must do at the least.
void LinesFloor(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        const std::string text = ReadWholeFile(path);
        const auto lines = SplitLines(text);
        benchmark::DoNotOptimize(lines.data());
    }
}
void ChunkedLinesFloor(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        LineSource lines = LineSource::File(path);
        std::string_view line;
        std::size_t bytes = 0;
        while (lines.Next(line))
            bytes += line.size();
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_FaceGridImport(benchmark::State& state) {
    const int64_t n = state.range(0);
    WholeImport(state,
                FileFor("faces" + std::to_string(n), [n](std::ostream& o) { FaceGrid(o, n); }),
                DxfKind::Face);
}
void BM_FaceGridLinesFloor(benchmark::State& state) {
    const int64_t n = state.range(0);
    LinesFloor(state,
               FileFor("faces" + std::to_string(n), [n](std::ostream& o) { FaceGrid(o, n); }));
}
void BM_FaceGridChunkedLinesFloor(benchmark::State& state) {
    const int64_t n = state.range(0);
    ChunkedLinesFloor(
        state, FileFor("faces" + std::to_string(n), [n](std::ostream& o) { FaceGrid(o, n); }));
}
void BM_DoublePointsChunkedLinesFloor(benchmark::State& state) {
    ChunkedLinesFloor(state, FileFor("points", [](std::ostream& o) { DoublePoints(o, 1000000); }));
}
void BM_DoublePointsImport(benchmark::State& state) {
    WholeImport(state, FileFor("points", [](std::ostream& o) { DoublePoints(o, 1000000); }),
                DxfKind::Point);
}
void BM_DoublePointsLinesFloor(benchmark::State& state) {
    LinesFloor(state, FileFor("points", [](std::ostream& o) { DoublePoints(o, 1000000); }));
}

// Scanned and imported to its error ("no complete group 10"): the peak memory must not grow
// with the keywords.
void BM_BareKeywordsImport(benchmark::State& state) {
    const std::string& path =
        FileFor("bare-points", [](std::ostream& o) { BareKeywords(o, 6000000); });
    QuietLog ui;
    ui.echo = false;
    for (auto _ : state) {
        Project p;
        std::mt19937 rng(1);
        const DxfScan scan = ScanFile(path, ui);
        if (!scan.Ok || ImportDxf(p, path, DxfKind::Point, ui, rng, {}, scan.Points).Outcome !=
                            DxfImportOutcome::Failed) {
            state.SkipWithError("the import did not fail");
            return;
        }
    }
    state.counters["peak_MB"] = PeakMegabytes();
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

} // namespace

// The grid sizes, from a small part to a large survey.
void GridSizes(benchmark::internal::Benchmark* b) {
    b->Arg(2000)->Arg(20000)->Arg(200000)->Arg(2000000);
    b->Unit(benchmark::kMillisecond)->Iterations(3);
}

BENCHMARK(BM_FaceGridLinesFloor)->Apply(GridSizes);
BENCHMARK(BM_FaceGridChunkedLinesFloor)->Apply(GridSizes);
BENCHMARK(BM_FaceGridImport)->Apply(GridSizes);
BENCHMARK(BM_DoublePointsLinesFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DoublePointsChunkedLinesFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DoublePointsImport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareKeywordsImport)->Unit(benchmark::kMillisecond)->Iterations(3);
