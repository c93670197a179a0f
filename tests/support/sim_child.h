// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace kestrova::test {

// A running program and the stream of its output and error, one implementation per system: a
// forked child on a pipe (POSIX); under Wine the Linux simulator that sim_launcher.py runs for
// the test, over a loopback connection.
class SimChild {
  public:
    SimChild(const std::string& program, const std::vector<std::string>& args);
    ~SimChild();  // kills and reaps what still runs
    SimChild(const SimChild&) = delete;
    SimChild& operator=(const SimChild&) = delete;

    // Appends what comes by `deadline` to `to`; false on nothing, or once the output closed.
    bool read(std::string& to, std::chrono::steady_clock::time_point deadline);
    void signal(int number);
    // Waits for the end, killing it if its output is still open: the exit status, or 128 +
    // the signal that ended it; -1 when it never ran or was reaped already.
    int reap();

  private:
    struct Native;
    std::unique_ptr<Native> native;
};

}  // namespace kestrova::test
