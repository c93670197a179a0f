// SPDX-License-Identifier: MIT
#include "serial/posix/system_reason.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

namespace kestrova {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 6> kHints{{
    {EACCES, "is your user in the dialout group?"},
    {EPERM, "is your user in the dialout group?"},
    {EWOULDBLOCK, "another program has the port open"},
    {EBUSY, "another program has the port open"},
    {ENOENT, "is the adapter plugged in?"},
    {ECONNREFUSED, "is the simulator or the serial server running?"},
}};

}  // namespace

std::string systemReason(int error) {
    std::string reason = std::strerror(error);
    for (const auto& [code, hint] : kHints) {
        if (code == error) {
            reason.append("; ").append(hint);
            break;
        }
    }
    return reason;
}

}  // namespace kestrova
