// SPDX-License-Identifier: MIT
#pragma once

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

namespace kestrova::test {

// Open descriptors or running threads of this process.
inline std::size_t openFdCount(const char* folder = "/proc/self/fd") {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}
inline std::size_t threadCount() {
    return openFdCount("/proc/self/task");
}

// Waits (bounded) until the process runs `count` threads again, e.g. a watcher has ended.
inline bool threadsBackTo(std::size_t count) {
    for (int i = 0; i < 500 && threadCount() != count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return threadCount() == count;
}

// CPU time the whole process (every thread) has used.
inline std::chrono::microseconds processCpuTime() {
    return std::chrono::microseconds(std::clock() * 1'000'000 / CLOCKS_PER_SEC);
}

// Kills the test binary when a step hangs (SIGALRM), so that a deadlock fails the test instead
// of stalling CI until its time-out.
struct Watchdog {
    explicit Watchdog(unsigned seconds) { ::alarm(seconds); }
    ~Watchdog() { ::alarm(0); }
};

}  // namespace kestrova::test
