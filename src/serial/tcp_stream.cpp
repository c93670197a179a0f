// SPDX-License-Identifier: MIT
#include "serial/tcp_stream.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <memory>

namespace kestrova {

namespace {

constexpr int kConnectTimeoutMs = 3000;

struct AddrInfoFree {
    void operator()(addrinfo* info) const { ::freeaddrinfo(info); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoFree>;

AddrInfoList resolve(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return nullptr;
    }
    return AddrInfoList(found);
}

bool finishConnect(int fd) {
    pollfd pending{fd, POLLOUT, 0};
    if (::poll(&pending, 1, kConnectTimeoutMs) != 1) {
        return false;
    }
    int error = 0;
    socklen_t size = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

UniqueFd connectTo(const addrinfo& address) {
    UniqueFd fd(::socket(address.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) {
        return {};
    }
    const int result = ::connect(fd.get(), address.ai_addr, address.ai_addrlen);
    if (result != 0 && (errno != EINPROGRESS || !finishConnect(fd.get()))) {
        return {};
    }
    const int on = 1;
    ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

}  // namespace

UniqueFd connectTcp(const std::string& host, std::uint16_t port) {
    const AddrInfoList addresses = resolve(host, port);
    for (const addrinfo* address = addresses.get(); address != nullptr;
         address = address->ai_next) {
        if (UniqueFd fd = connectTo(*address)) {
            return fd;
        }
    }
    return {};
}

}  // namespace kestrova
