// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::test {

enum class Transport { Tcp, Pty };
// Names the test cases that run over each.
inline void PrintTo(Transport transport, std::ostream* out) {
    *out << (transport == Transport::Tcp ? "Tcp" : "Pty");
}
// What the editor reaches the simulator over on this system: under Wine only TCP (the serial
// tests reach a pseudo-terminal as a COM port in their own way). The child and its output are
// one implementation per system: a forked child on a pipe (POSIX); under Wine the Linux
// simulator that sim_launcher.py runs for the test, over a loopback connection.
std::vector<Transport> simTransports();

// Runs the kestrova-sim built with the tests (or another program) as a child process and reads
// its output and error lines as they are asked for. The child is stopped and reaped when this
// goes away, and dies with the test process if that crashes.
class SimProcess {
  public:
    // Returns once the first line (where it listens) has come, its output closed, or 10 s passed.
    explicit SimProcess(const std::vector<std::string>& args,
                        const std::string& program = KESTROVA_SIM_PATH);
    // Serves on any free loopback port, or on a pty behind the symlink `link`.
    SimProcess(Transport transport, const std::string& link, std::vector<std::string> args);
    ~SimProcess();

    // The port of a "listening on 127.0.0.1:PORT" line; 0 when it does not listen on one.
    std::uint16_t port();
    std::vector<std::string> lines();
    // The first line at `from` or later that holds `text`, waiting up to `timeout` for it.
    std::optional<std::size_t> waitForLine(
        std::string_view text, std::size_t from = 0,
        std::chrono::milliseconds timeout = std::chrono::seconds(10));
    std::optional<std::size_t> findLine(std::string_view text, std::size_t from = 0) {
        return waitForLine(text, from, std::chrono::milliseconds(0));
    }
    // Sends `signal` (none when 0) and waits for the end, killing it after 10 s: the exit
    // status, or 128 + the signal that ended it; -1 when it had ended already.
    int stop(int signal = SIGTERM);

  private:
    // Takes in what arrives by the deadline; false on nothing, or once the output closed.
    bool readMore(std::chrono::steady_clock::time_point deadline);
    // The same, for the bytes alone, waiting up to `left` (one per system).
    bool readOutput(std::chrono::milliseconds left);

    struct Child;
    std::unique_ptr<Child> child;
    std::string partial;
    std::vector<std::string> done;
};

}  // namespace kestrova::test
