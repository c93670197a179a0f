// SPDX-License-Identifier: MIT
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kestrova::test {

// The simulator program built with the tests (the build passes its path).
std::string simulatorPath();

// Runs kestrova-sim as a child process. A thread reads its standard output line by line as it
// comes, so a talkative simulator never blocks on a full pipe. The child is stopped (SIGTERM,
// then SIGKILL if it lingers) and reaped when this goes away.
class SimProcess {
  public:
    // Starts it and waits up to `startTimeout` for its first line, where it says where it
    // listens (or for its output to close, when it ends at once).
    explicit SimProcess(const std::vector<std::string>& args,
                        std::chrono::milliseconds startTimeout = std::chrono::seconds(10));
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool started() const { return lineCount() > 0; }
    // The port of "listening on 127.0.0.1:PORT"; 0 when it does not listen on one.
    std::uint16_t port() const;
    // The device of the latest "pty PATH" line; empty when it serves no pty.
    std::string ptyPath() const;

    std::vector<std::string> lines() const;
    std::size_t lineCount() const;
    // The first line at index `from` or later that contains `text`; never waits.
    std::optional<std::size_t> findLine(std::string_view text, std::size_t from = 0) const;
    std::string line(std::size_t index) const;
    // Waits up to `timeout` for such a line.
    std::optional<std::size_t> waitForLine(
        std::string_view text, std::size_t from = 0,
        std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

    // Sends the signal (SIGTERM unless told otherwise), then waits up to `timeout`; the exit status
    // (128 + signal when a signal ended it, -1 when it had to be killed).
    int stop(std::chrono::milliseconds timeout = std::chrono::seconds(10), int signal = SIGTERM);
    // Waits up to `timeout` for it to end by itself; its exit status as for stop.
    int finish(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool running() const { return child > 0; }

  private:
    void readOutput(int fd);
    int reap(std::chrono::milliseconds timeout);

    pid_t child = -1;
    std::thread reader;
    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    std::vector<std::string> output;
    bool outputClosed = false;
};

}  // namespace kestrova::test
