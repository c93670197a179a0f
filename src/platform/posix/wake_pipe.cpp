// SPDX-License-Identifier: MIT
#include "src/platform/posix/wake_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>

namespace kestrova {

WakePipe::WakePipe() {
    std::array<int, 2> ends{-1, -1};
    if (::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) == 0) {
        readEnd_.reset(ends[0]);
        writeEnd_.reset(ends[1]);
    }
}

void WakePipe::signal() const {
    const char byte = 1;
    // A full pipe already wakes the reader, so a failed write loses nothing.
    [[maybe_unused]] const auto written = ::write(writeEnd_.get(), &byte, 1);
}

}  // namespace kestrova
