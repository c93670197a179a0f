// SPDX-License-Identifier: MIT
#pragma once

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "peer_io.h"
#include "serial/unique_fd.h"

namespace kestrova::test {

// A pseudo-terminal: the port opens the slave by its path, the test plays the controller on
// the master. The test keeps a slave descriptor too, to read the line settings back.
class PtyPair {
  public:
    PtyPair() {
        int master = -1;
        int slave = -1;
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
            master_.reset(master);
            slave_.reset(slave);
            path_ = ::ttyname(slave);
        }
    }

    bool valid() const { return master_.valid() && !path_.empty(); }
    const std::string& path() const { return path_; }
    int master() const { return master_.get(); }
    int slave() const { return slave_.get(); }
    void hangUp() { master_.reset(); }

    termios lineSettings() const {
        termios tio{};
        ::tcgetattr(slave_.get(), &tio);
        return tio;
    }

    bool send(const Bytes& bytes) const { return sendTo(master_.get(), bytes); }
    Bytes receive(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return receiveFrom(master_.get(), count, limit);
    }

  private:
    UniqueFd master_;
    UniqueFd slave_;
    std::string path_;
};

}  // namespace kestrova::test
