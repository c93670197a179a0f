// SPDX-License-Identifier: MIT
#include "src/serial/chunk_mailbox.h"

#include <algorithm>

namespace kestrova {

void ChunkMailbox::put(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    count_ = std::min(bytes.size(), kCapacity);
    std::copy_n(bytes.begin(), count_, chunk_.begin());
    consumed_ = false;
}

bool ChunkMailbox::waitConsumed() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return consumed_ || stopping_; });
    return consumed_;
}

void ChunkMailbox::consume(const std::function<void(std::span<const std::uint8_t>)>& use) {
    // The watcher writes the chunk only after the previous one was consumed, and never again
    // once stopped, so reading it here without the lock is safe.
    std::size_t count = 0;
    {
        std::lock_guard lock(mutex_);
        count = count_;
    }
    use(std::span<const std::uint8_t>(chunk_.data(), count));
    {
        std::lock_guard lock(mutex_);
        consumed_ = true;
    }
    changed_.notify_all();
}

void ChunkMailbox::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
}

}  // namespace kestrova
