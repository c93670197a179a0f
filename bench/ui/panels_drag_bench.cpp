// SPDX-License-Identifier: MIT
// A 50-step drag of a motor trackbar: how many live-positions packets reach the far side of a
// pseudo-terminal and how long the user-interface thread is held, linked and not linked.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSlider>
#include <array>
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "bench/ui/silent_boxes.h"
#include "resources/resource_ids.h"
#include "src/platform/posix/unique_fd.h"
#include "src/protocol/packets.h"
#include "src/ui/editor_dlg.h"
#include "src/ui/motor_panel.h"

namespace {

namespace id = kestrova::res::id;

constexpr int kDragSteps = 50;

// The controller's end of the line: counts what arrives, so the line never fills up.
class FarSide {
  public:
    FarSide() {
        int master = -1;
        int slave = -1;
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
            masterFd.reset(master);
            slaveFd.reset(slave);
            ::setenv("KESTROVA_COM1", ::ttyname(slave), 1);
            reader = std::thread([this] { drain(); });
        }
    }
    ~FarSide() {
        stopping = true;
        if (reader.joinable()) {
            reader.join();
        }
        ::unsetenv("KESTROVA_COM1");
    }
    FarSide(const FarSide&) = delete;
    FarSide& operator=(const FarSide&) = delete;

    bool valid() const { return masterFd.valid(); }
    std::size_t bytes() const { return received; }

  private:
    void drain() {
        std::array<char, 512> buffer{};
        while (!stopping) {
            pollfd wait{masterFd.get(), POLLIN, 0};
            if (::poll(&wait, 1, 20) == 1) {
                const ssize_t n = ::read(masterFd.get(), buffer.data(), buffer.size());
                received += n > 0 ? static_cast<std::size_t>(n) : 0;
            }
        }
    }

    kestrova::UniqueFd masterFd;
    kestrova::UniqueFd slaveFd;
    std::atomic<std::size_t> received{0};
    std::atomic<bool> stopping{false};
    std::thread reader;
};

void releaseButton(QSlider* slider) {
    const QPoint at = slider->rect().center();
    QMouseEvent release(QEvent::MouseButtonRelease, at, slider->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &release);
}

// The thumb held and moved one position per step, then let go: the trackbar reports each of
// the 50 movements and the release, as under the pointer.
void dragFiftySteps(QSlider* slider) {
    slider->setValue(50);
    slider->setSliderDown(true);
    for (int step = 1; step <= kDragSteps; ++step) {
        slider->setSliderPosition(50 + step);
    }
    releaseButton(slider);
    slider->setSliderDown(false);
}

void dragMotorTrackbar(benchmark::State& state) {
    const bool linked = state.range(0) != 0;
    FarSide farSide;
    if (!farSide.valid()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    SilentBoxes boxes;
    CEditorDlg dlg(&boxes);
    dlg.show();
    QApplication::processEvents();
    dlg.onConnect();
    static_cast<QCheckBox*>(dlg.control(id::kLinkToTarget))->setChecked(linked);
    QSlider* slider = dlg.motorPanel(4)->trackbarControl();

    std::size_t before = farSide.bytes();
    double uiSeconds = 0;
    for (auto _ : state) {
        QElapsedTimer held;
        held.start();
        dragFiftySteps(slider);
        uiSeconds += static_cast<double>(held.nsecsElapsed()) / 1e9;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const double drags = static_cast<double>(state.iterations());
    state.counters["packets_per_drag"] =
        static_cast<double>(farSide.bytes() - before) / kestrova::kLivePacketSize / drags;
    state.counters["ui_ms_per_drag"] = uiSeconds * 1000 / drags;
    dlg.onDisconnect();
}
BENCHMARK(dragMotorTrackbar)
    ->ArgName("linked")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
