// SPDX-License-Identifier: MIT
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
// The POSIX calls the far end uses, for Winsock sockets: under Wine every far end is one.
using Native = SOCKET;
inline WSADATA winsockData{};
inline const bool winsockStarted = ::WSAStartup(MAKEWORD(2, 2), &winsockData) == 0;
// clang-format off
inline int setenv(const char* name, const char* value, int) { return ::_putenv_s(name, value); }
inline int close(SOCKET s) { return ::closesocket(s); }
inline int poll(pollfd* waits, unsigned count, int ms) { return ::WSAPoll(waits, count, ms); }
inline long read(SOCKET s, void* to, std::size_t n) { return ::recv(s, static_cast<char*>(to), int(n), 0); }
inline long write(SOCKET s, const void* from, std::size_t n) { return ::send(s, static_cast<const char*>(from), int(n), 0); }
// clang-format on
inline void setNonBlocking(SOCKET s) {
    u_long on = 1;
    ::ioctlsocket(s, FIONBIO, &on);
}
#else
using Native = int;
inline void setNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}
#endif

namespace kestrova::test {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// A serial device that does not exist.
#ifdef _WIN32
inline constexpr const char* kMissingDevice = R"(\\.\COM199)";
#else
inline constexpr const char* kMissingDevice = "/dev/kestrova-no-such-device";
#endif

// 127.0.0.1 at `port`.
inline sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// Owns one descriptor of the far end: a pty end or a socket.
class Owned {
  public:
    explicit Owned(Native native = Native(-1)) : value_(native) {}
    ~Owned() { reset(); }
    Owned& operator=(Owned&& other) noexcept {
        std::swap(value_, other.value_);
        return *this;
    }
    void reset(Native native = Native(-1)) {
        if (valid()) {
            ::close(value_);
        }
        value_ = native;
    }
    Native get() const { return value_; }
    bool valid() const { return value_ != Native(-1); }

  private:
    Native value_;
};

// The far end of a device, played by the test.
struct PeerEnd {
    // A blocking write: a short count is a failure.
    bool send(const Bytes& bytes) const {
        return ::write(fd.get(), bytes.data(), bytes.size()) == std::ssize(bytes);
    }

    // What the port wrote: up to `count` bytes, giving up after `limit` without any.
    Bytes receive(std::size_t count, std::chrono::milliseconds limit = 5s) const {
        Bytes bytes(count);
        std::size_t got = 0;
        pollfd wait{fd.get(), POLLIN, 0};
        for (long n = 1; n > 0 && got < count && ::poll(&wait, 1, int(limit.count())) == 1;) {
            n = ::read(fd.get(), bytes.data() + got, count - got);
            got += static_cast<std::size_t>(std::max(n, 0L));
        }
        bytes.resize(got);
        return bytes;
    }
    // Everything the port wrote until the line has been quiet for 300 ms.
    Bytes drain() const {
        Bytes all;
        for (Bytes got = receive(4096, 300ms); !got.empty(); got = receive(4096, 300ms)) {
            all.insert(all.end(), got.begin(), got.end());
        }
        return all;
    }

    // What the port wrote up to and including the first `last` byte, so that a test can tell
    // that nothing came before a marker without waiting out a silence.
    Bytes receiveThrough(std::uint8_t last) const {
        Bytes bytes;
        for (Bytes got; bytes.empty() || bytes.back() != last; bytes.push_back(got[0])) {
            if ((got = receive(1)).empty()) {
                break;
            }
        }
        return bytes;
    }

    // Connects to a loopback port as a client.
    bool connectTo(std::uint16_t port) {
        sockaddr_in address = loopback(port);
        fd.reset(::socket(AF_INET, SOCK_STREAM, 0));
        return ::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }

    Owned fd;            // the pty master or the connected socket
    Owned held;          // the pty slave, to read line settings back, or the listening socket
    std::string device;  // what the port opens to reach this end
};

// A TCP server on a free loopback port, playing the network serial port's far end.
struct LoopbackListener : PeerEnd {
    LoopbackListener() {
        held.reset(::socket(AF_INET, SOCK_STREAM, 0));
        sockaddr_in address = loopback(0);
        auto* any = reinterpret_cast<sockaddr*>(&address);
        socklen_t size = sizeof address;
        if (::bind(held.get(), any, size) == 0 && ::listen(held.get(), 4) == 0 &&
            ::getsockname(held.get(), any, &size) == 0) {
            device = "tcp:127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        }
    }

    // Takes the port's connection, made before, as the far end.
    bool accept() {
        fd.reset(::accept(held.get(), nullptr, nullptr));
        return fd.valid();
    }
};

// A pseudo-terminal: the port opens the slave by its name, the test plays the controller on
// the master. Under Wine, pty_com_bridge.py makes a fresh pty for every connection, links it
// as the COM port KESTROVA_TEST_COM, sends one byte and relays the master.
struct PtyPair : PeerEnd {
    const std::string& path() const { return device; }
    PtyPair() {
#ifdef _WIN32
        const char* bridge = std::getenv("KESTROVA_TEST_BRIDGE");
        if (bridge && connectTo(std::atoi(bridge)) && receive(1).size() == 1) {
            device = std::getenv("KESTROVA_TEST_COM");
        }
#else
        int master = -1, slave = -1;
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
            fd.reset(master);
            held.reset(slave);
            device = ::ttyname(slave);
        }
#endif
    }
};

}  // namespace kestrova::test
