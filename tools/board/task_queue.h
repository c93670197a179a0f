// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace kestrova::board {

// Work that the serial watcher hands to the tool's main thread, which runs it while it waits
// for the board: the tool's stand-in for a window's message queue.
class TaskQueue {
  public:
    using Clock = std::chrono::steady_clock;

    // Any thread.
    void post(std::function<void()> task);

    // Main thread: runs posted tasks until `done` holds or the deadline passes; true if done.
    bool runUntil(Clock::time_point deadline, const std::function<bool()>& done);

  private:
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<std::function<void()>> tasks;
};

}  // namespace kestrova::board
