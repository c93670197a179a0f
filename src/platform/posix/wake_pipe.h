// SPDX-License-Identifier: MIT
#pragma once

#include "src/platform/posix/unique_fd.h"

namespace kestrova {

// A self-pipe that cuts a poll() short: the watcher polls readFd(), close() calls signal().
class WakePipe {
  public:
    // Invalid (valid() false) when the pipe cannot be created.
    WakePipe();

    bool valid() const { return readEnd_.valid() && writeEnd_.valid(); }
    int readFd() const { return readEnd_.get(); }
    void signal() const;

  private:
    UniqueFd readEnd_;
    UniqueFd writeEnd_;
};

}  // namespace kestrova
