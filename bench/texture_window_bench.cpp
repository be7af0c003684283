// Opening the texture library window on a full library (998 entries): the grid makes its rows
// when they are shown, so the time does not grow with the entries. Run under xvfb-run (or with
// QT_QPA_PLATFORM=offscreen).
#include "gui/texture/texture_form.h"
#include "image/qt_image_files.h"
#include "model/project.h"
#include "ui/quiet_ui.h"

#include <benchmark/benchmark.h>

#include <QApplication>

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

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
