// SPDX-License-Identifier: MIT
#include "src/serial/posix/fd_connection.h"

#include <poll.h>

#include <array>
#include <cerrno>

#include "src/platform/posix/system_reason.h"
#include "src/serial/posix/device_io.h"

namespace kestrova {

FdConnection::FdConnection(UniqueFd fd, bool socket, std::uint32_t baudRate)
    : fd_(std::move(fd)), socket_(socket), baudRate_(baudRate) {}

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
    int error = sendAll(fd_.get(), socket_, bytes, deadline);
    if (error == 0) {
        // A stream has no line time to sleep: look for the peer's acknowledgement every ms.
        error = waitOutputSent(fd_.get(), baudRate_, deadline);
    }
    if (error == 0) {
        return {};
    }
    discardUnsent();
    return {false, error == ETIMEDOUT ? "write timed out" : systemReason(error)};
}

void FdConnection::wake() {
    wake_.signal();
}

OpenedPort openedOrReason(std::unique_ptr<FdConnection> connection) {
    if (!connection->valid()) {
        return {nullptr, systemReason(errno)};
    }
    return {std::move(connection), {}};
}

}  // namespace kestrova
