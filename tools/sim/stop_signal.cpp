// SPDX-License-Identifier: MIT
#include "tools/sim/stop_signal.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace kestrova::sim {

namespace {

std::atomic<int> stopWriteFd{-1};

extern "C" void onStopSignal(int) {
    const int fd = stopWriteFd.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
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
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    readEnd.reset(ends[0]);
    writeEnd.reset(ends[1]);
    stopWriteFd = writeEnd.get();
    setHandler(SIGINT, onStopSignal);
    setHandler(SIGTERM, onStopSignal);
    setHandler(SIGPIPE, SIG_IGN);
}

StopSignal::~StopSignal() {
    setHandler(SIGINT, SIG_DFL);
    setHandler(SIGTERM, SIG_DFL);
    stopWriteFd = -1;
}

bool StopSignal::requested() const {
    pollfd watch{readEnd.get(), POLLIN, 0};
    return ::poll(&watch, 1, 0) > 0;
}

bool StopSignal::pause(std::chrono::milliseconds duration) const {
    pollfd watch{readEnd.get(), POLLIN, 0};
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
