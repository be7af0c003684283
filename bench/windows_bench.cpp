// Windows on large Projects: the texture library window on a full library (998 entries), whose
// grid makes its rows when they are shown, and the contents window filled with the listing of
// a million vertices. Run under xvfb-run (or with QT_QPA_PLATFORM=offscreen).
#include "gui/report/contents_form.h"
#include "gui/texture/texture_form.h"
#include "image/qt_image_files.h"
#include "model/project.h"
#include "ui/quiet_ui.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>

using namespace meshforge;

namespace {

void BM_OpenLibraryWindow(benchmark::State& state) {
    Project project;
    for (int i = 0; i < state.range(0); ++i)
        project.Textures.push_back(
            {"/textures/t" + std::to_string(i) + ".bmp", i % 2, i % 2 ? "/m.bmp" : "", 0, 0});
    QtImageFiles images;
    QuietUi ui;
    gui::TTextureform window(
        project, images, ui, [](const std::function<void()>& c) { c(); }, [] {});
    for (auto _ : state) {
        TexturesChanged(project); // as after a load: the grid is made anew
        window.ShowModeless();
        QCoreApplication::processEvents(); // laid out and painted
        state.PauseTiming();
        window.hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLibraryWindow)->Arg(2)->Arg(998)->Unit(benchmark::kMillisecond);

// The listing built and put into the text box, which is then shown and painted once.
void BM_FillContentsWindow(benchmark::State& state) {
    Project project;
    for (int i = 0; i < state.range(0); ++i)
        project.Vertices.push_back({float(i) * 0.5f, float(i % 1000), -float(i % 77), false});
    gui::TContentsForm window(project);
    for (auto _ : state) {
        window.findChild<QPushButton*>("CancelButton")->click(); // empties the box
        window.AppendListing();
        window.show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FillContentsWindow)
    ->Arg(1000)
    ->Arg(1000000)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
