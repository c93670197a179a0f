// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "src/platform/posix/unique_fd.h"

namespace kestrova::sim {

// A pseudo-terminal whose master side the simulator serves; clients open the slave device.
//
// The simulator keeps a slave descriptor of its own open for the device's whole life. So the
// line never hangs up between clients (nothing has to watch for the next one to open it),
// raw mode set here stays for every client, and the bytes a client has not read yet can be
// counted. Closing the master is what hangs up on a client.
class PtyDevice {
  public:
    static std::optional<PtyDevice> open(std::string& error);

    int fd() const { return master.get(); }
    const std::string& path() const { return slavePath; }

    // Bytes sent to the client that it has not read yet.
    std::size_t unreadByClient() const;
    // Throws away what the client left unread, so that a client that stopped reading does
    // not block the simulator.
    void discardUnread() const;
    // True when a client had marked the line exclusive and has gone since. The mark outlives
    // a client that was killed (the simulator's own descriptor keeps the line open), and it
    // would keep every later client but root out: it is cleared here.
    bool releaseLeftExclusive() const;

  private:
    PtyDevice(UniqueFd master, UniqueFd slave, std::string path)
        : master(std::move(master)), keeper(std::move(slave)), slavePath(std::move(path)) {}

    UniqueFd master;
    UniqueFd keeper;
    std::string slavePath;
};

}  // namespace kestrova::sim
