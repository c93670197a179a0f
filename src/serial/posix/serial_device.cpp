// SPDX-License-Identifier: MIT
#include "src/serial/posix/serial_device.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>

#include "src/serial/posix/line_settings.h"

namespace kestrova {

OpenedFd openSerialDevice(const std::string& path, const PortSettings& settings) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd.get(), TIOCEXCL) != 0) {
        return {{}, errno};
    }
    errno = EINVAL;  // what a value without an equivalent reports
    if (!applyLineSettings(fd.get(), settings)) {
        const int error = errno;
        ::ioctl(fd.get(), TIOCNXCL);
        return {{}, error};
    }
    ::tcflush(fd.get(), TCIOFLUSH);
    raiseModemLines(fd.get());
    return {std::move(fd), 0};
}

void releaseSerialDevice(int fd) {
    dropModemLines(fd);
    ::tcflush(fd, TCIOFLUSH);
    ::ioctl(fd, TIOCNXCL);
}

}  // namespace kestrova
