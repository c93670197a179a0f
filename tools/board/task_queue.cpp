// SPDX-License-Identifier: MIT
#include "tools/board/task_queue.h"

namespace kestrova::board {

void TaskQueue::post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex);
        tasks.push_back(std::move(task));
    }
    posted.notify_one();
}

bool TaskQueue::runUntil(Clock::time_point deadline, const std::function<bool()>& done) {
    while (!done()) {
        std::unique_lock lock(mutex);
        if (!posted.wait_until(lock, deadline, [this] { return !tasks.empty(); })) {
            return done();
        }
        std::function<void()> task = std::move(tasks.front());
        tasks.pop_front();
        lock.unlock();  // the task hands a chunk over while the watcher waits for it
        task();
    }
    return true;
}

}  // namespace kestrova::board
