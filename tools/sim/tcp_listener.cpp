// SPDX-License-Identifier: MIT
#include "tools/sim/tcp_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace kestrova::sim {

namespace {

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::string describe(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

}  // namespace

std::optional<TcpListener> TcpListener::open(std::uint16_t port, std::string& error) {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const int yes = 1;
    sockaddr_in address = loopback(port);
    socklen_t length = sizeof address;
    if (!socket || ::setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0 ||
        ::bind(socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket.get(), 4) != 0 ||
        ::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return TcpListener(std::move(socket), ntohs(address.sin_port));
}

std::optional<AcceptedClient> TcpListener::accept() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    UniqueFd client(::accept4(socket.get(), reinterpret_cast<sockaddr*>(&address), &length,
                              SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!client) {
        return std::nullopt;
    }
    // Replies go out as written, so that --chunk reaches the editor in pieces.
    const int yes = 1;
    ::setsockopt(client.get(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    return AcceptedClient{std::move(client), describe(address)};
}

}  // namespace kestrova::sim
