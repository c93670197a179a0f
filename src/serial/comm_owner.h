// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace kestrova {

// An open or a write that did not succeed: which device and why.
struct CommFailure {
    enum class During { Open, Write };
    During during = During::Open;
    std::string device;  // its path, "tcp:HOST:PORT", or the port choice ("COM2")
    std::string reason;  // the system's reason, with a hint where one helps
};

// What owns a serial port: the window, or a command-line tool. CComm's watcher thread hands
// each received chunk over through postToOwner and waits until onCommRead has run on the
// owner's thread; failures of the owner's own calls come back to it through onCommFailure.
class CommOwner {
  public:
    virtual ~CommOwner() = default;

    // Watcher thread: arrange for `task` to run soon on the owner's thread (in Qt a queued
    // call). Must not block and must not run the task on the calling thread.
    virtual void postToOwner(std::function<void()> task) = 0;

    // Owner's thread: consume one chunk (1 to 4095 bytes). The bytes stay valid and unchanged
    // until this returns, and no other chunk arrives meanwhile.
    virtual void onCommRead(std::span<const std::uint8_t> chunk) = 0;

    // Owner's thread, inside the open or write that failed, before it returns.
    virtual void onCommFailure(const CommFailure& failure) = 0;
};

}  // namespace kestrova
