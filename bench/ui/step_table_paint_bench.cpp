// SPDX-License-Identifier: MIT
// Time to paint the whole step table: 200 numbers and the enable-step line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdlib>

#include "src/model/motion_page.h"
#include "src/ui/step_table_view.h"

namespace {

void paintStepTable(benchmark::State& state) {
    CMotionPage page;
    page.setEnableStep(5);
    CStepTableView view(page.recordRef());
    view.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    view.resize(384, 640);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(paintStepTable)->Unit(benchmark::kMicrosecond);

}  // namespace
