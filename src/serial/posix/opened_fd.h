// SPDX-License-Identifier: MIT
#pragma once

#include "src/platform/posix/unique_fd.h"

namespace kestrova {

// A descriptor just opened, or the errno value that explains why there is none.
struct OpenedFd {
    UniqueFd fd;
    int error = 0;

    explicit operator bool() const { return fd.valid(); }
};

}  // namespace kestrova
