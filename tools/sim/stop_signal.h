// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "tools/sim/unique_fd.h"

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
    bool ready() const { return static_cast<bool>(readEnd); }
    bool requested() const;
    // Readable once a stop has been asked for.
    int fd() const { return readEnd.get(); }
    // Waits for the given time or until a stop; false on a stop.
    bool pause(std::chrono::milliseconds duration) const;

  private:
    UniqueFd readEnd;
    UniqueFd writeEnd;
};

}  // namespace kestrova::sim
