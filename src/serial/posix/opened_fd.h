// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "src/platform/posix/unique_fd.h"

namespace kestrova {

// A descriptor just opened, or the errno value that explains why there is none (or, where no
// errno value does, a text).
struct OpenedFd {
    UniqueFd fd;
    int error = 0;
    std::string reason{};

    explicit operator bool() const { return fd.valid(); }
};

}  // namespace kestrova
