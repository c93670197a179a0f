// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <utility>

namespace kestrova {

// Owns one kernel handle (a port or an event) and closes it exactly once.
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle)
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~UniqueHandle() {
        if (handle_ != nullptr) {
            ::CloseHandle(handle_);
        }
    }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    HANDLE handle_ = nullptr;
};

// A manual-reset event, not signalled, unnamed: what overlapped I/O and wake-ups wait on.
inline UniqueHandle makeEvent() {
    return UniqueHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

}  // namespace kestrova
