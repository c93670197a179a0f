// SPDX-License-Identifier: MIT
// A Windows program under Wine cannot fork the Linux simulator, nor read a Linux child's output
// through a pipe. sim_launcher.py, started by scripts/test-windows.sh on the port named by
// KESTROVA_SIM_LAUNCHER, runs it instead: the test sends the arguments one a line and an empty
// line, then a signal number a line; the launcher relays the output and, once the simulator
// has ended, a NUL and its exit status.
#include <winsock2.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "tests/support/sim_child.h"
#include "tests/support/sim_process.h"

namespace kestrova::test {

std::vector<Transport> simTransports() {
    return {Transport::Tcp};
}

struct SimChild::Native {
    SOCKET link = INVALID_SOCKET;
    bool ended = false;       // the launcher closed the connection
    bool statusCame = false;  // the NUL came: the rest is the exit status
    std::string status;

    ~Native() { close(); }
    void close() {
        if (link != INVALID_SOCKET) {
            ::closesocket(std::exchange(link, INVALID_SOCKET));
        }
    }
    bool sendAll(const std::string& text) const {
        return ::send(link, text.data(), static_cast<int>(text.size()), 0) ==
               static_cast<int>(text.size());
    }
};

namespace {

SOCKET connectToLauncher() {
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    const char* port = std::getenv("KESTROVA_SIM_LAUNCHER");
    if (!started || port == nullptr) {
        return INVALID_SOCKET;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(static_cast<u_short>(std::atoi(port)));
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    const SOCKET link = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (link != INVALID_SOCKET &&
        ::connect(link, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::closesocket(link);
        return INVALID_SOCKET;
    }
    return link;
}

}  // namespace

// The launcher knows where the Linux simulator is; `program` names it on POSIX only.
SimChild::SimChild(const std::string& /*program*/, const std::vector<std::string>& args)
    : native(std::make_unique<Native>()) {
    native->link = connectToLauncher();
    std::string request;
    for (const std::string& arg : args) {
        request += arg + "\n";
    }
    if (native->link != INVALID_SOCKET && !native->sendAll(request + "\n")) {
        native->close();
    }
}

SimChild::~SimChild() {
    reap();
}

bool SimChild::read(std::string& to, std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    WSAPOLLFD watch{native->link, POLLRDNORM, 0};
    if (native->link == INVALID_SOCKET || native->ended ||
        ::WSAPoll(&watch, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0))) <= 0) {
        return false;
    }
    char buffer[4096];
    const int count = ::recv(native->link, buffer, sizeof buffer, 0);
    if (count <= 0) {
        native->ended = true;
        return false;
    }
    const std::string got(buffer, static_cast<std::size_t>(count));
    const auto end = native->statusCame ? 0 : got.find('\0');
    if (end == std::string::npos) {
        to += got;
        return true;
    }
    to += got.substr(0, end);
    native->status += got.substr(native->statusCame ? 0 : end + 1);
    native->statusCame = true;
    return true;
}

void SimChild::signal(int number) {
    if (native->link != INVALID_SOCKET) {
        native->sendAll(std::to_string(number) + "\n");
    }
}

int SimChild::reap() {
    if (native->link == INVALID_SOCKET) {
        return -1;
    }
    constexpr int kKill = 9;  // the launcher's side is POSIX
    if (!native->ended) {
        signal(kKill);
    }
    char buffer[256];
    for (int count = 1; count > 0;) {  // the rest of the status, up to the launcher's close
        count = ::recv(native->link, buffer, sizeof buffer, 0);
        native->status.append(buffer, static_cast<std::size_t>(std::max(count, 0)));
    }
    native->close();
    return native->status.empty() ? -1 : std::atoi(native->status.c_str());
}

}  // namespace kestrova::test
