// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "src/platform/posix/wake_pipe.h"

namespace kestrova::sim {

// SIGINT and SIGTERM ask the simulator to stop: the handler writes to a pipe that every wait
// also watches, so a stop ends any wait at once. SIGPIPE is ignored, since a client that goes
// away shows up as a failed write. One instance at a time; the old handlers come back with it.
class StopSignal {
  public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    // False when the pipe could not be made; nothing is installed then.
    bool ready() const { return wake.valid(); }
    bool requested() const;
    // Readable once a stop has been asked for.
    int fd() const { return wake.readFd(); }
    // Waits for the given time or until a stop; false on a stop.
    bool pause(std::chrono::milliseconds duration) const;

  private:
    WakePipe wake;
};

}  // namespace kestrova::sim
