// SPDX-License-Identifier: MIT
#include "src/serial/posix/socket_connection.h"

#include <sys/socket.h>
#include <unistd.h>

#include "src/platform/posix/system_reason.h"
#include "src/serial/posix/tcp_stream.h"

namespace kestrova {

OpenedPort SocketConnection::connect(const std::string& host, std::uint16_t port) {
    OpenedFd opened = connectTcp(host, port);
    if (!opened) {
        return {nullptr, opened.reason.empty() ? systemReason(opened.error) : opened.reason};
    }
    return openedOrReason(
        std::unique_ptr<SocketConnection>(new SocketConnection(std::move(opened.fd), true, 0)));
}

WriteResult SocketConnection::write(std::span<const std::uint8_t> bytes, Deadline deadline) {
    if (shutdown_.isSet()) {
        return StreamShutdown::refusal();
    }
    return FdConnection::write(bytes, deadline);
}

void SocketConnection::discardUnsent() {
    // Dissolving the association aborts the stream (a reset) and drops what it still holds, so
    // the peer never receives the rest of the packet; the watcher sees it end. Through a
    // duplicate, because the watcher may be reading this descriptor right now.
    shutdown_.set();
    const UniqueFd alias(::dup(fd()));
    sockaddr unspecified{};
    unspecified.sa_family = AF_UNSPEC;
    ::connect(alias.get(), &unspecified, sizeof unspecified);
    ::shutdown(alias.get(), SHUT_RDWR);
}

}  // namespace kestrova
