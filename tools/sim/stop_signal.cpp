// SPDX-License-Identifier: MIT
#include "tools/sim/stop_signal.h"

#include <poll.h>

#include <atomic>
#include <csignal>

namespace kestrova::sim {

namespace {

std::atomic<const WakePipe*> activeWake{nullptr};
static_assert(std::atomic<const WakePipe*>::is_always_lock_free, "read in a signal handler");

extern "C" void onStopSignal(int) {
    if (const WakePipe* wake = activeWake.load()) {
        wake->signal();
    }
}

void setHandler(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

}  // namespace

StopSignal::StopSignal() {
    if (!wake.valid()) {
        return;
    }
    activeWake = &wake;
    setHandler(SIGINT, onStopSignal);
    setHandler(SIGTERM, onStopSignal);
    setHandler(SIGPIPE, SIG_IGN);
}

StopSignal::~StopSignal() {
    setHandler(SIGINT, SIG_DFL);
    setHandler(SIGTERM, SIG_DFL);
    activeWake = nullptr;
}

bool StopSignal::requested() const {
    pollfd watch{wake.readFd(), POLLIN, 0};
    return ::poll(&watch, 1, 0) > 0;
}

bool StopSignal::pause(std::chrono::milliseconds duration) const {
    pollfd watch{wake.readFd(), POLLIN, 0};
    const auto until = std::chrono::steady_clock::now() + duration;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return true;
        }
        if (::poll(&watch, 1, static_cast<int>(left.count())) > 0) {
            return false;
        }
    }
}

}  // namespace kestrova::sim
