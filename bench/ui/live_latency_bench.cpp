// SPDX-License-Identifier: MIT
// What a user feels with Link to Target ticked: from an arrow key in a motor field, or from
// one step of a slider drag, to the last byte of its live-positions packet at the board's end
// of a pseudo-terminal. The 100 ms pause after each packet is not counted.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "bench/ui/silent_boxes.h"
#include "resources/resource_ids.h"
#include "src/protocol/packets.h"
#include "src/ui/editor_dlg.h"
#include "src/ui/motor_panel.h"
#include "tests/support/pty_pair.h"

namespace {

namespace id = kestrova::res::id;
using Clock = std::chrono::steady_clock;

constexpr int kSamples = 500;

// The board's end: notes when the last byte of each whole live packet came in.
class Board {
  public:
    Board() {
        ::setenv("KESTROVA_COM1", pty.path().c_str(), 1);
        reader = std::jthread([this](std::stop_token stop) { read(stop); });
    }
    ~Board() { ::unsetenv("KESTROVA_COM1"); }

    bool valid() const { return pty.fd.valid(); }
    // When packet `n` (counted from 1) was complete; waits for it up to a second.
    std::optional<Clock::time_point> arrivalOf(std::size_t n) {
        for (auto until = Clock::now() + std::chrono::seconds(1); Clock::now() < until;) {
            std::lock_guard lock(mutex);
            if (arrivals.size() >= n) {
                return arrivals[n - 1];
            }
        }
        return std::nullopt;
    }

  private:
    void read(const std::stop_token& stop) {
        std::size_t bytes = 0;
        while (!stop.stop_requested()) {
            const auto got = pty.receive(kestrova::kLivePacketSize, std::chrono::milliseconds(20));
            const auto at = Clock::now();
            bytes += got.size();
            std::lock_guard lock(mutex);
            while (arrivals.size() < bytes / kestrova::kLivePacketSize) {
                arrivals.push_back(at);
            }
        }
    }

    kestrova::test::PtyPair pty;
    std::mutex mutex;
    std::vector<Clock::time_point> arrivals;
    std::jthread reader;  // stops before the pair closes
};

void setFigures(benchmark::State& state, std::vector<double> micros) {
    if (micros.empty()) {
        return;
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["packets"] = static_cast<double>(micros.size());
}

// A linked window on COM1 with every motor field filled by Get Step.
void measure(benchmark::State& state, const std::function<void(CEditorDlg&, int)>& change) {
    Board board;
    SilentBoxes boxes;
    CEditorDlg dlg(&boxes);
    dlg.show();
    QApplication::processEvents();
    dlg.findChild<QAction*>(QStringLiteral("command%1").arg(id::kConnect))->trigger();
    static_cast<QCheckBox*>(dlg.control(id::kLinkToTarget))->setChecked(true);
    static_cast<QPushButton*>(dlg.control(id::kGetStep))->click();
    std::size_t sent = 1;
    if (!board.valid() || !board.arrivalOf(sent)) {
        state.SkipWithError("no live packet reached the board");
        return;
    }
    std::vector<double> micros;
    for (auto _ : state) {
        for (int n = 0; n < kSamples; ++n) {
            const auto start = Clock::now();
            change(dlg, n);
            const auto arrived = board.arrivalOf(++sent);
            if (!arrived) {
                state.SkipWithError("a live packet went missing");
                return;
            }
            micros.push_back(std::chrono::duration<double, std::micro>(*arrived - start).count());
        }
    }
    setFigures(state, micros);
}

// Up and Down in turn, so that the value never sticks at a range end.
void arrowKeyInMotorField(benchmark::State& state) {
    measure(state, [](CEditorDlg& dlg, int n) {
        QWidget* field = dlg.control(id::kMotorEdit0 + 4);
        QKeyEvent press(QEvent::KeyPress, n % 2 == 0 ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(field, &press);
    });
}
BENCHMARK(arrowKeyInMotorField)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// The thumb held and moved one position, as under the pointer.
void sliderDragStep(benchmark::State& state) {
    measure(state, [](CEditorDlg& dlg, int n) {
        QSlider* slider = dlg.motorPanel(4)->trackbarControl();
        slider->setSliderDown(true);
        slider->setSliderPosition(n % 2 == 0 ? 101 : 100);
    });
}
BENCHMARK(sliderDragStep)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
