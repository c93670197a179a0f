// SPDX-License-Identifier: MIT
// A Windows program under Wine cannot fork the Linux simulator, nor read a Linux child's output
// through a pipe. sim_launcher.py, started by scripts/test-windows.sh on the port named by
// KESTROVA_SIM_LAUNCHER, runs it instead: the test sends the arguments one a line and an empty
// line, then a signal number a line; the launcher relays the output and, once the simulator
// has ended, a NUL and its exit status.
#include <cstdlib>
#include <string>

#include "tests/support/pty_pair.h"
#include "tests/support/sim_process.h"

namespace kestrova::test {

std::vector<Transport> simTransports() {
    return {Transport::Tcp};
}

struct SimProcess::Child : PeerEnd {
    bool statusCame = false;  // the NUL came: the rest is the exit status
    std::string status;
    void sendLine(const std::string& text) const { send(Bytes(text.begin(), text.end())); }
};

// The launcher knows where the Linux simulator is; `program` names it on POSIX only.
SimProcess::SimProcess(const std::vector<std::string>& args, const std::string& /*program*/)
    : child(std::make_unique<Child>()) {
    const char* port = std::getenv("KESTROVA_SIM_LAUNCHER");
    std::string request;
    for (const std::string& arg : args) {
        request += arg + "\n";
    }
    if (port == nullptr || !child->connectTo(static_cast<std::uint16_t>(std::atoi(port)))) {
        child->fd.reset();
        return;
    }
    child->sendLine(request + "\n");
    waitForLine("");
}

SimProcess::~SimProcess() {
    stop();
}

bool SimProcess::readOutput(std::chrono::milliseconds left) {
    Bytes got = child->fd.valid() ? child->receive(1, left) : Bytes{};
    if (got.empty()) {
        return false;
    }
    const Bytes queued = child->receive(4096, 0ms);
    got.insert(got.end(), queued.begin(), queued.end());
    for (const std::uint8_t byte : got) {
        child->statusCame = child->statusCame || byte == '\0';
        (child->statusCame ? child->status : partial).push_back(static_cast<char>(byte));
    }
    return true;
}

int SimProcess::stop(int signal) {
    if (!child->fd.valid()) {
        return -1;
    }
    for (const int sent : {signal, 9}) {  // 9 kills what lingers on the launcher's side
        if (sent != 0 && !child->statusCame) {
            child->sendLine(std::to_string(sent) + "\n");
        }
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (readMore(deadline)) {  // up to the launcher's close
        }
    }
    child->fd.reset();
    return child->status.size() > 1 ? std::atoi(child->status.c_str() + 1) : -1;
}

}  // namespace kestrova::test
