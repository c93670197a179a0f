// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

namespace kestrova {

// The hand-off of one port session: the watcher puts a chunk in and waits until the owner's
// thread has consumed it or the port is closing. Each open gets a fresh mailbox, so a chunk
// whose task runs after a close and reopen still carries its own bytes and never mixes with
// the new session's.
class ChunkMailbox {
  public:
    static constexpr std::size_t kCapacity = 4095;

    // Watcher: stores the chunk (at most kCapacity bytes) for the task about to be posted.
    void put(std::span<const std::uint8_t> bytes);

    // Watcher: waits until the chunk was consumed (true) or stop() was called (false).
    bool waitConsumed();

    // Owner's thread: hands the stored chunk to `use`, then releases the watcher. No lock is
    // held while `use` runs, so it may close the port.
    void consume(const std::function<void(std::span<const std::uint8_t>)>& use);

    // Any thread: releases a waiting watcher for good.
    void stop();

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool consumed_ = true;
    bool stopping_ = false;
    std::size_t count_ = 0;
    std::array<std::uint8_t, kCapacity> chunk_{};
};

}  // namespace kestrova
