// Frame time and pick time of the 3D view on Mesa's software renderer, for the literal drawing
// (a GLU sphere per vertex, a full selection pass) and the fast path (precomputed spheres sized
// to the screen, a pick pass that skips what cannot touch the pixel), measured in the same run,
// and the hover pick on the CPU. Run under xvfb-run.
#include "gui/view/view_form.h"
#include "model/project.h"
#include "settings/settings.h"
#include "ui/quiet_ui.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <random>

using namespace meshforge;
using meshforge::gui::TViewForm;

namespace {

struct Fixture {
    Project project;
    EditorState editor;
    GeneralOptions general;
    QuietUi ui;
    struct : PickPrompts {
        NextElement AskCreateNewLine() override { return NextElement::Stop; }
        NextElement AskCreateNewPolygon(bool) override { return NextElement::Stop; }
    } prompts; // the bench picks, but never in a creating mode
    std::unique_ptr<TViewForm> view;
};

Fixture* fixture = nullptr;

// A wavy terrain of n vertices on a square grid, with about n triangles (every second one
// textured) and n lines between neighbours, seen whole in the default perspective.
void BuildScene(Project& p, int n) {
    p = Project{};
    const int side = int(std::ceil(std::sqrt(double(n))));
    std::mt19937 random(n);
    std::uniform_real_distribution<float> bump(-1, 1);
    for (int i = 0; i < n; ++i) {
        float x = float(i % side) * 4, y = float(i / side) * 4;
        p.Vertices.push_back({x, y, 3 * std::sin(x / 17) + bump(random), false});
    }
    p.Textures.push_back({std::string(MESHFORGE_EXAMPLES) + "/planks.bmp", 0, "", 1, 0});
    for (int i = 0; p.Polygons.size() < std::size_t(n) && i + side + 1 < n; ++i) {
        if (i % side == side - 1)
            continue;
        ObjectData t;
        t.Color = {0.4f, 0.6f, 0.3f};
        t.VertexIndices = {i, i + 1, i + side, i};
        // As textures are assigned surface by surface: the first half untextured, then textured.
        t.TextureIndex = p.Polygons.size() < std::size_t(n) / 2 ? kUntextured : 0;
        t.TexCoords = {{0, 0}, {1, 0}, {0, 1}, {0, 0}};
        p.Polygons.push_back(t);
        ObjectData line;
        line.Color = {0.1f, 0.1f, 0.1f};
        line.VertexIndices = {i, i + side};
        p.Lines.push_back(line);
    }
    p.HasGeometry = p.GeometryShown = true;
    p.Options.ShowTextures = true;
    p.Options.VertexDisplaySize = 3;
    UpdateBoundingBox(p);
    if (getenv("HIDE_V"))
        p.Options.VerticesVisible = p.Options.ShowVertices = false;
    if (getenv("HIDE_P"))
        p.Options.ShowPolygons = false;
    if (getenv("HIDE_L"))
        p.Options.ShowLines = false;
    if (getenv("NO_TEX"))
        p.Options.ShowTextures = false;
    // The whole grid in view: zoom from its size, looking at it from above and aside.
    p.Options.Zoom = std::clamp(int(side * 4 / 30), 20, 450);
    p.Options.RotationX = -30;
}

void Prepare(int n) {
    BuildScene(fixture->project, n);
    fixture->view->RebuildTextureLibrary();
    fixture->view->SetLiteralPath(false);
}

// One whole frame, finished and read back (the same read-back cost on both paths).
void FinishFrame() {
    benchmark::DoNotOptimize(fixture->view->grabFramebuffer());
}

double Seconds(const std::chrono::steady_clock::time_point& since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

template <class Step> void Compare(benchmark::State& state, Step step) {
    Prepare(int(state.range(0)));
    TViewForm& view = *fixture->view;
    double fast = 0, literal = 0;
    for (auto _ : state) {
        view.SetLiteralPath(false);
        auto t0 = std::chrono::steady_clock::now();
        step(false);
        double f = Seconds(t0);
        view.SetLiteralPath(true);
        t0 = std::chrono::steady_clock::now();
        step(true);
        double l = Seconds(t0);
        view.SetLiteralPath(false);
        fast += f;
        literal += l;
        state.SetIterationTime(f);
    }
    const double k = double(state.iterations());
    state.counters["fast_ms"] = fast / k * 1000;
    state.counters["literal_ms"] = literal / k * 1000;
    state.counters["ratio"] = fast > 0 ? literal / fast : 0;
}

void BM_Frame(benchmark::State& state) {
    Compare(state, [](bool) { FinishFrame(); });
}

void BM_HoverPick(benchmark::State& state) {
    TViewForm* view = fixture->view.get();
    Compare(state, [view](bool literal) {
        // The literal path picks with the full pass.
        benchmark::DoNotOptimize(view->PickAt(view->width() / 2, view->height() / 2, !literal));
    });
}

// The hover pick as the view runs it: on the CPU, no selection pass.
void BM_HoverPickCpu(benchmark::State& state) {
    Prepare(int(state.range(0)));
    TViewForm& view = *fixture->view;
    for (auto _ : state)
        benchmark::DoNotOptimize(view.PickOnCpu(view.width() / 2, view.height() / 2));
}

} // namespace

BENCHMARK(BM_Frame)->Arg(1)->Arg(1000)->Arg(10000)->Iterations(5)->UseManualTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_Frame)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverPick)
    ->Arg(1)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverPick)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverPickCpu)
    ->Arg(1)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(TViewForm::ContextFormat());
    QApplication app(argc, argv);
    Fixture f;
    f.view = std::make_unique<TViewForm>(f.project, f.editor, f.general, f.ui, f.prompts,
                                         std::string("./"));
    f.view->resize(1024, 768);
    f.view->show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    fixture = &f;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}
