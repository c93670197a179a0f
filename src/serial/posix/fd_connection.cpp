// SPDX-License-Identifier: MIT
#include "serial/posix/fd_connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "serial/posix/device_io.h"
#include "serial/posix/serial_device.h"
#include "serial/posix/system_reason.h"

namespace kestrova {

FdConnection::FdConnection(UniqueFd fd, Kind kind, std::uint32_t baudRate)
    : fd_(std::move(fd)), kind_(kind), baudRate_(baudRate) {}

ReadResult FdConnection::waitAndRead(std::span<std::uint8_t> buffer) {
    std::array<pollfd, 2> waits{{{fd_.get(), POLLIN, 0}, {wake_.readFd(), POLLIN, 0}}};
    while (::poll(waits.data(), waits.size(), -1) < 0) {
        if (errno != EINTR) {
            return {0, true};
        }
    }
    if (waits[0].revents == 0) {
        return {};  // woken
    }
    ReadResult got = readQueued(buffer);
    // Once hung up, a tty reports readable forever: with nothing to read it is gone.
    got.gone |= got.count == 0 && (waits[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    return got;
}

ReadResult FdConnection::readQueued(std::span<std::uint8_t> buffer) {
    return kestrova::readQueued(fd_.get(), buffer);
}

WriteResult FdConnection::write(std::span<const std::uint8_t> bytes, Deadline deadline) {
    if (shutDown_.load()) {
        return {false,
                "the connection was shut down after a failed write; disconnect and "
                "connect again"};
    }
    const bool socket = kind_ == Kind::Socket;
    int error = sendAll(fd_.get(), socket, bytes, deadline);
    if (error == 0) {
        // A stream has no line time to sleep: look for the peer's acknowledgement every ms.
        error = waitOutputSent(fd_.get(), socket ? 0 : baudRate_, deadline);
    }
    if (error == 0) {
        return {};
    }
    discardUnsent();
    return {false, error == ETIMEDOUT ? "write timed out" : systemReason(error)};
}

void FdConnection::discardUnsent() {
    if (kind_ == Kind::SerialDevice) {
        ::tcflush(fd_.get(), TCOFLUSH);
        return;
    }
    // Dissolving the association aborts the stream (a reset) and drops what it still holds, so
    // the peer never receives the rest of the packet; the watcher sees it end. Through a
    // duplicate, because the watcher may be reading this descriptor right now.
    shutDown_.store(true);
    const UniqueFd alias(::dup(fd_.get()));
    sockaddr unspecified{};
    unspecified.sa_family = AF_UNSPEC;
    ::connect(alias.get(), &unspecified, sizeof unspecified);
    ::shutdown(alias.get(), SHUT_RDWR);
}

void FdConnection::wake() {
    wake_.signal();
}

void FdConnection::release() {
    if (kind_ == Kind::SerialDevice) {
        releaseSerialDevice(fd_.get());
    }
}

}  // namespace kestrova
