// SPDX-License-Identifier: MIT
#include "src/platform/posix/system_reason.h"

#include <array>
#include <cerrno>
#include <cstring>

#include "src/platform/failure_hint.h"

namespace kestrova {

namespace {

constexpr std::array<FailureHint, 6> kHints{{
    {EACCES, "is your user in the dialout group?"},
    {EPERM, "is your user in the dialout group?"},
    {EWOULDBLOCK, "another program has the port open"},
    {EBUSY, "another program has the port open"},
    {ENOENT, "is the adapter plugged in?"},
    {ECONNREFUSED, "is the simulator or the serial server running?"},
}};

}  // namespace

std::string systemReason(int error) {
    return withHint(std::strerror(error), error, kHints);
}

}  // namespace kestrova
