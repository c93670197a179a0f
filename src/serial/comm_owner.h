// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace kestrova {

// The window that receives what the serial port reads. CComm's watcher thread hands each chunk
// over through postToOwner and waits until onCommRead has run on the owner's thread.
class CommOwner {
  public:
    virtual ~CommOwner() = default;

    // Watcher thread: arrange for `task` to run soon on the owner's thread (in Qt a queued
    // call). Must not block and must not run the task on the calling thread.
    virtual void postToOwner(std::function<void()> task) = 0;

    // Owner's thread: consume one chunk (1 to 4095 bytes). The bytes stay valid and unchanged
    // until this returns, and no other chunk arrives meanwhile.
    virtual void onCommRead(std::span<const std::uint8_t> chunk) = 0;
};

}  // namespace kestrova
