// SPDX-License-Identifier: MIT
// The Curves window: one repaint of the plot with all 24 curves, and a drag event on a point
// to the picture that shows its new value.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <numeric>

#include "src/ui/curves_plot.h"

namespace {

// Every curve different, so that no line hides another.
kestrova::PageRecord busyPage() {
    kestrova::PageRecord page = kestrova::defaultPageRecord();
    std::iota(page.position.begin(), page.position.end(), 0);
    page.enableStep = 5;
    return page;
}

kestrova::CurveChoice everyCurve() {
    kestrova::CurveChoice choice{};
    choice.fill(true);
    return choice;
}

void sendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// An 800 x 500 plot of all 24 curves and the picture it is drawn into.
struct BusyPlot {
    BusyPlot() {
        plot.resize(800, 500);
        plot.setChosen(everyCurve());
        plot.showPage(busyPage(), 3);
    }
    kestrova::CurvesPlot plot;
    QImage image{800, 500, QImage::Format_ARGB32_Premultiplied};
};

void repaintAllCurves(benchmark::State& state) {
    BusyPlot busy;
    auto& [plot, image] = busy;
    for (auto _ : state) {
        plot.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(repaintAllCurves)->Unit(benchmark::kMicrosecond);

// Step 0's lowest points sit near (40, 470) on an 800 x 500 plot: one is held, and each move
// drags it one pixel further and ends with the picture redrawn.
void dragToPicture(benchmark::State& state) {
    BusyPlot busy;
    auto& [plot, image] = busy;
    sendMouse(plot, QEvent::MouseButtonPress, {40, 470}, Qt::LeftButton);
    int y = 470;
    for (auto _ : state) {
        y = y > 100 ? y - 1 : 470;
        sendMouse(plot, QEvent::MouseMove, {40, y}, Qt::LeftButton);
        plot.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    sendMouse(plot, QEvent::MouseButtonRelease, {40, y}, Qt::NoButton);
}
BENCHMARK(dragToPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
