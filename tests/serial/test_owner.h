// SPDX-License-Identifier: MIT
#pragma once

#include <condition_variable>
#include <deque>
#include <future>
#include <string>
#include <thread>

#include "peer_io.h"
#include "serial/app_message_box.h"
#include "serial/comm_owner.h"

namespace kestrova::test {

// Stands in for the editor window: runs posted tasks in order on a thread of its own, and
// records every chunk it consumes and, while it lives, every application message.
class TestOwner : public CommOwner, public AppMessageBox {
  public:
    struct Record {
        Bytes received;
        std::vector<std::size_t> chunkSizes;
        std::vector<std::string> messages;
        bool overlapped = false;  // a chunk in use changed, or the next one was posted
    };

    TestOwner() : previous_(installAppMessageBox(this)) {}
    ~TestOwner() override { installAppMessageBox(previous_); }

    void postToOwner(std::function<void()> task) override { post(std::move(task), 1); }

    void onCommRead(std::span<const std::uint8_t> chunk) override {
        const Bytes before(chunk.begin(), chunk.end());
        std::unique_lock lock(mutex_);
        record_.overlapped = record_.overlapped || posted_ != record_.chunkSizes.size() + 1;
        const auto hook = hook_;
        lock.unlock();
        if (hook) {
            hook(chunk);
        }
        lock.lock();
        record_.overlapped = record_.overlapped || !std::ranges::equal(before, chunk);
        record_.received.insert(record_.received.end(), chunk.begin(), chunk.end());
        record_.chunkSizes.push_back(chunk.size());
        changed_.notify_all();
    }

    void show(std::string_view text) override {
        std::lock_guard lock(mutex_);
        record_.messages.emplace_back(text);
    }

    // Runs on the owner's thread inside onCommRead, before the chunk is recorded.
    void setHook(std::function<void(std::span<const std::uint8_t>)> hook) {
        std::lock_guard lock(mutex_);
        hook_ = std::move(hook);
    }

    // Runs `work` on the owner's thread; false when it did not finish within 10 s.
    bool run(std::function<void()> work) {
        auto done = std::make_shared<std::promise<void>>();
        post([work = std::move(work), done] {
            work();
            done->set_value();
        });
        return done->get_future().wait_for(10s) == std::future_status::ready;
    }

    // Waits until `bytes` were consumed and `posted` chunks posted.
    bool waitFor(std::size_t bytes, std::size_t posted = 0) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(
            lock, 10s, [&] { return record_.received.size() >= bytes && posted_ >= posted; });
    }

    Record record() {
        std::lock_guard lock(mutex_);
        return record_;
    }

  private:
    void post(std::function<void()> task, std::size_t chunks = 0) {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        posted_ += chunks;
        changed_.notify_all();
    }

    void loop(std::stop_token stop) {
        std::unique_lock lock(mutex_);
        while (changed_.wait(lock, stop, [this] { return !tasks_.empty(); })) {
            auto task = std::move(tasks_.front());
            tasks_.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
    }

    AppMessageBox* previous_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<std::function<void()>> tasks_;
    std::size_t posted_ = 0;
    std::function<void(std::span<const std::uint8_t>)> hook_;
    Record record_;
    std::jthread thread_{[this](std::stop_token stop) { loop(stop); }};  // stops first
};

}  // namespace kestrova::test
