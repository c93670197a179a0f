// SPDX-License-Identifier: MIT
// A Windows program under Wine cannot fork the Linux simulator, nor read a Linux child's output
// through a pipe. sim_launcher.py, started by scripts/test-windows.sh on the port named by
// KESTROVA_SIM_LAUNCHER, runs it instead: the test sends the arguments one a line and an empty
// line, then a signal number a line; the launcher relays the output and, once the simulator
// has ended, a NUL and its exit status.
#include <cstdlib>
#include <string>

#include "tests/support/pty_pair.h"
#include "tests/support/sim_child.h"
#include "tests/support/sim_process.h"

namespace kestrova::test {

std::vector<Transport> simTransports() {
    return {Transport::Tcp};
}

struct SimChild::Native : PeerEnd {
    bool statusCame = false;  // the NUL came: the rest is the exit status
    std::string status;
};

// The launcher knows where the Linux simulator is; `program` names it on POSIX only.
SimChild::SimChild(const std::string& /*program*/, const std::vector<std::string>& args)
    : native(std::make_unique<Native>()) {
    const char* port = std::getenv("KESTROVA_SIM_LAUNCHER");
    Bytes request;
    for (const std::string& arg : args) {
        request.insert(request.end(), arg.begin(), arg.end());
        request.push_back('\n');
    }
    request.push_back('\n');
    if (port == nullptr || !native->connectTo(static_cast<std::uint16_t>(std::atoi(port))) ||
        !native->send(request)) {
        native->fd.reset();
    }
}

SimChild::~SimChild() {
    reap();
}

bool SimChild::read(std::string& to, std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    Bytes got = native->fd.valid() ? native->receive(1, std::max(left, 0ms)) : Bytes{};
    if (got.empty()) {
        return false;
    }
    const Bytes queued = native->receive(4096, 0ms);
    got.insert(got.end(), queued.begin(), queued.end());
    for (const std::uint8_t byte : got) {
        native->statusCame = native->statusCame || byte == '\0';
        (native->statusCame ? native->status : to).push_back(static_cast<char>(byte));
    }
    return true;
}

void SimChild::signal(int number) {
    const std::string line = std::to_string(number) + "\n";
    if (native->fd.valid()) {
        native->send(Bytes(line.begin(), line.end()));
    }
}

// The launcher's side is POSIX: 9 kills.
int SimChild::reap() {
    if (!native->fd.valid()) {
        return -1;
    }
    signal(9);
    std::string rest;
    while (read(rest, std::chrono::steady_clock::now() + 10s)) {  // up to the launcher's close
    }
    native->fd.reset();
    return native->status.size() > 1 ? std::atoi(native->status.c_str() + 1) : -1;
}

}  // namespace kestrova::test
