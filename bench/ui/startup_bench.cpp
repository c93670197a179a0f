// SPDX-License-Identifier: MIT
// Start-up of the editor window: from constructing the main window (controls, lists, page
// shown) to the window being on screen, and the process's resident memory once it is.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <fstream>
#include <string>

#include "src/ui/editor_dlg.h"
#include "src/ui/message_boxes.h"

namespace {

// Nothing is shown during start-up; this only keeps a stray box from blocking the run.
class SilentBoxes : public kestrova::MessageBoxes {
  public:
    void show(const kestrova::MessageRequest&) override {}
};

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kilobytes = 0;
            status >> kilobytes;
            return kilobytes;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

bool waitUntilExposed(QWidget& window) {
    QElapsedTimer timer;
    timer.start();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        if (timer.elapsed() > 5000) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// The first window of the process also loads fonts, styles and images: run once, first.
void BM_FirstWindowShown(benchmark::State& state) {
    SilentBoxes boxes;
    for (auto _ : state) {
        CEditorDlg dlg(&boxes);
        dlg.show();
        if (!waitUntilExposed(dlg)) {
            state.SkipWithError("window never shown");
            break;
        }
        state.counters["rss_kB"] = static_cast<double>(residentKilobytes());
    }
}
BENCHMARK(BM_FirstWindowShown)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WindowShown(benchmark::State& state) {
    SilentBoxes boxes;
    for (auto _ : state) {
        CEditorDlg dlg(&boxes);
        dlg.show();
        if (!waitUntilExposed(dlg)) {
            state.SkipWithError("window never shown");
            break;
        }
        benchmark::DoNotOptimize(dlg.control(1000));
        state.PauseTiming();
        state.counters["rss_kB"] = static_cast<double>(residentKilobytes());
        dlg.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowShown)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
