// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "serial/comm_owner.h"

namespace kestrova::test {

using namespace std::chrono_literals;

// Stands in for the editor window: runs posted tasks in order on a thread of its own and
// records every chunk it consumes.
class TestOwner : public CommOwner {
  public:
    using Hook = std::function<void(std::span<const std::uint8_t>)>;

    TestOwner() : thread_([this] { loop(); }) {}
    ~TestOwner() override {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    TestOwner(const TestOwner&) = delete;
    TestOwner& operator=(const TestOwner&) = delete;

    void postToOwner(std::function<void()> task) override { enqueue(std::move(task), 1); }

    void onCommRead(std::span<const std::uint8_t> chunk) override {
        const std::vector<std::uint8_t> before(chunk.begin(), chunk.end());
        Hook hook;
        {
            std::lock_guard lock(mutex_);
            // The watcher waits for each chunk: nothing new may be posted meanwhile.
            overlapped_ = overlapped_ || posted_ != consumedChunks_ + 1;
            hook = hook_;
        }
        if (hook) {
            hook(chunk);
        }
        std::lock_guard lock(mutex_);
        changedDuringRead_ = changedDuringRead_ ||
                             !std::equal(before.begin(), before.end(), chunk.begin(), chunk.end());
        received_.insert(received_.end(), chunk.begin(), chunk.end());
        chunkSizes_.push_back(chunk.size());
        ++consumedChunks_;
        changed_.notify_all();
    }

    // Runs on the owner's thread inside onCommRead, before the chunk is recorded.
    void setHook(Hook hook) {
        std::lock_guard lock(mutex_);
        hook_ = std::move(hook);
    }

    // Runs `work` on the owner's thread; false when it did not finish within the time.
    bool run(std::function<void()> work, std::chrono::milliseconds limit = 10s) {
        auto done = std::make_shared<bool>(false);
        enqueue(
            [this, work = std::move(work), done] {
                work();
                std::lock_guard lock(mutex_);
                *done = true;
                changed_.notify_all();
            },
            0);
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return *done; });
    }

    bool waitForBytes(std::size_t count, std::chrono::milliseconds limit = 10s) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return received_.size() >= count; });
    }

    // Waits until the port has posted `count` chunks.
    bool waitForPosted(std::size_t count, std::chrono::milliseconds limit = 10s) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return posted_ >= count; });
    }

    std::vector<std::uint8_t> received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }
    std::vector<std::size_t> chunkSizes() const {
        std::lock_guard lock(mutex_);
        return chunkSizes_;
    }
    bool overlapped() const {
        std::lock_guard lock(mutex_);
        return overlapped_ || changedDuringRead_;
    }

  private:
    void enqueue(std::function<void()> task, std::size_t chunks) {
        {
            std::lock_guard lock(mutex_);
            tasks_.push_back(std::move(task));
            posted_ += chunks;
        }
        changed_.notify_all();
    }

    void loop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return quit_ || !tasks_.empty(); });
            if (tasks_.empty()) {
                return;
            }
            auto task = std::move(tasks_.front());
            tasks_.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    bool quit_ = false;
    std::size_t posted_ = 0;
    std::size_t consumedChunks_ = 0;
    bool overlapped_ = false;
    bool changedDuringRead_ = false;
    Hook hook_;
    std::vector<std::uint8_t> received_;
    std::vector<std::size_t> chunkSizes_;
    std::thread thread_;
};

}  // namespace kestrova::test
