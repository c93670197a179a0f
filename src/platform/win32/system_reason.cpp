// SPDX-License-Identifier: MIT
#include "src/platform/win32/system_reason.h"

#include <winsock2.h>

#include <array>

#include "src/platform/failure_hint.h"

namespace kestrova {

namespace {

constexpr std::array<FailureHint, 3> kHints{{
    {ERROR_ACCESS_DENIED, "another program has the port open"},
    {ERROR_FILE_NOT_FOUND, "is the adapter plugged in?"},
    {WSAECONNREFUSED, "is the simulator or the serial server running?"},
}};

// The system's text without the line end and full stop it comes with.
std::string messageText(DWORD error) {
    std::array<char, 512> text{};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, text.data(), static_cast<DWORD>(text.size()), nullptr);
    std::string reason(text.data(), length);
    while (!reason.empty() &&
           std::string_view("\r\n. ").find(reason.back()) != std::string_view::npos) {
        reason.pop_back();
    }
    return reason.empty() ? "system error " + std::to_string(error) : reason;
}

}  // namespace

std::string systemReason(DWORD error) {
    return withHint(messageText(error), static_cast<long>(error), kHints);
}

}  // namespace kestrova
