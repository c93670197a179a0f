// SPDX-License-Identifier: MIT
#include "src/platform/posix/unique_fd.h"

#include <unistd.h>

namespace kestrova {

void UniqueFd::reset(int fd) {
    if (fd_ >= 0) {
        // Linux releases the descriptor even when close reports EINTR: never retry.
        ::close(fd_);
    }
    fd_ = fd;
}

}  // namespace kestrova
