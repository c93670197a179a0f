// SPDX-License-Identifier: MIT
#include "serial/serial_device.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include "serial/line_settings.h"

namespace kestrova {

UniqueFd openSerialDevice(const std::string& path, const PortSettings& settings) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd.get(), TIOCEXCL) != 0) {
        return {};
    }
    if (!applyLineSettings(fd.get(), settings)) {
        ::ioctl(fd.get(), TIOCNXCL);
        return {};
    }
    ::tcflush(fd.get(), TCIOFLUSH);
    raiseModemLines(fd.get());
    return fd;
}

void releaseSerialDevice(int fd) {
    dropModemLines(fd);
    ::tcflush(fd, TCIOFLUSH);
    ::ioctl(fd, TIOCNXCL);
}

}  // namespace kestrova
