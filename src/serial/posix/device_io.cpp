// SPDX-License-Identifier: MIT
#include "src/serial/posix/device_io.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "src/serial/write_time_limit.h"

namespace kestrova {

namespace {

using std::chrono::milliseconds;

ssize_t sendSome(int fd, bool socket, std::span<const std::uint8_t> bytes) {
    // A socket whose peer has gone must fail with EPIPE, not raise SIGPIPE.
    return socket ? ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL)
                  : ::write(fd, bytes.data(), bytes.size());
}

bool waitWritable(int fd, Deadline deadline) {
    pollfd device{fd, POLLOUT, 0};
    const int ready = ::poll(&device, 1, static_cast<int>(timeLeft(deadline).count()));
    return ready > 0 || (ready < 0 && errno == EINTR);
}

}  // namespace

ReadResult readQueued(int fd, std::span<std::uint8_t> buffer) {
    if (buffer.empty()) {
        return {};  // a 0-byte read would look like the end of the stream
    }
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got > 0) {
            return {static_cast<std::size_t>(got), false};
        }
        if (got == 0) {
            return {0, true};
        }
        if (errno == EINTR) {
            continue;
        }
        return {0, errno != EAGAIN && errno != EWOULDBLOCK};
    }
}

int sendAll(int fd, bool socket, std::span<const std::uint8_t> bytes, Deadline deadline) {
    while (!bytes.empty()) {
        const ssize_t sent = sendSome(fd, socket, bytes);
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            return errno;
        } else if (timeLeft(deadline).count() == 0 || !waitWritable(fd, deadline)) {
            return ETIMEDOUT;
        }
    }
    return 0;
}

// Sleeps the line time of what is left rather than polling in a tight loop.
int waitOutputSent(int fd, std::uint32_t baudRate, Deadline deadline) {
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0) {
            return 0;  // devices that cannot tell have handed the bytes on
        }
        const milliseconds left = timeLeft(deadline);
        if (left.count() == 0) {
            return ETIMEDOUT;
        }
        const auto pause =
            std::max(lineTime(static_cast<std::size_t>(queued), baudRate), milliseconds{1});
        std::this_thread::sleep_for(std::min(pause, left));
    }
}

}  // namespace kestrova
