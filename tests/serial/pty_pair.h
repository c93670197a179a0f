// SPDX-License-Identifier: MIT
#pragma once

#include <pty.h>

#include <string>

#include "peer_io.h"

namespace kestrova::test {

// A pseudo-terminal: the port opens the slave by its path, the test plays the controller on
// the master and keeps a slave descriptor to read the line settings back.
class PtyPair : public PeerEnd {
  public:
    PtyPair() {
        int master = -1;
        int slave = -1;
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
            fd.reset(master);
            slave_.reset(slave);
            path_ = ::ttyname(slave);
        }
    }

    const std::string& path() const { return path_; }
    int slave() const { return slave_.get(); }

  private:
    UniqueFd slave_;
    std::string path_;
};

}  // namespace kestrova::test
