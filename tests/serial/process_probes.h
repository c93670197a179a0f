// SPDX-License-Identifier: MIT
#pragma once

#include <time.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

namespace kestrova::test {

inline std::size_t countEntries(const char* folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

// Open descriptors and running threads of this process.
inline std::size_t openFdCount() {
    return countEntries("/proc/self/fd");
}
inline std::size_t threadCount() {
    return countEntries("/proc/self/task");
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
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::microseconds>(
                                                  std::chrono::nanoseconds(now.tv_nsec));
}

// Aborts the test binary when a step hangs, so that a deadlock fails the test instead of
// stalling CI until its time-out.
class Watchdog {
  public:
    Watchdog(std::chrono::milliseconds limit, std::string what)
        : thread_([this, limit, what = std::move(what)] {
              std::unique_lock lock(mutex_);
              if (!disarmed_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "watchdog: %s hung\n", what.c_str());
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        disarmed_.notify_all();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

  private:
    std::mutex mutex_;
    std::condition_variable disarmed_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace kestrova::test
