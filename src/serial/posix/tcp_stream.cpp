// SPDX-License-Identifier: MIT
#include "src/serial/posix/tcp_stream.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <memory>

#include "src/serial/network_policy.h"

namespace kestrova {

namespace {

struct AddrInfoFree {
    void operator()(addrinfo* info) const { ::freeaddrinfo(info); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoFree>;

// The addresses of the host, or why there are none.
AddrInfoList resolve(const std::string& host, std::uint16_t port, std::string& problem) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
        error != 0) {
        problem = "unknown host " + host + " (" + ::gai_strerror(error) + ")";
        return nullptr;
    }
    return AddrInfoList(found);
}

// The connection's outcome: 0 once it is up, else the errno value.
int finishConnect(int fd) {
    pollfd pending{fd, POLLOUT, 0};
    if (::poll(&pending, 1, static_cast<int>(kConnectTimeout.count())) != 1) {
        return ETIMEDOUT;
    }
    int error = 0;
    socklen_t size = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 ? error : errno;
}

OpenedFd connectTo(const addrinfo& address) {
    UniqueFd fd(::socket(address.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) {
        return {{}, errno};
    }
    const int sendBuffer = kSendBufferBytes;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
    const int result = ::connect(fd.get(), address.ai_addr, address.ai_addrlen);
    const int error = result == 0 ? 0 : errno != EINPROGRESS ? errno : finishConnect(fd.get());
    if (error != 0) {
        return {{}, error};
    }
    const int on = 1;
    ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return {std::move(fd), 0};
}

}  // namespace

OpenedFd connectTcp(const std::string& host, std::uint16_t port) {
    std::string problem;
    const AddrInfoList addresses = resolve(host, port, problem);
    if (!addresses) {
        return {{}, 0, problem};
    }
    OpenedFd last{{}, EHOSTUNREACH, {}};
    for (const addrinfo* address = addresses.get(); address != nullptr && !last.fd;
         address = address->ai_next) {
        last = connectTo(*address);
    }
    return last;
}

}  // namespace kestrova
