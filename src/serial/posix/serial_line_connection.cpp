// SPDX-License-Identifier: MIT
#include "src/serial/posix/serial_line_connection.h"

#include <termios.h>

#include "src/platform/posix/system_reason.h"
#include "src/serial/posix/serial_device.h"

namespace kestrova {

OpenedPort SerialLineConnection::open(const std::string& path, const PortSettings& settings) {
    OpenedFd opened = openSerialDevice(path, settings);
    if (!opened) {
        return {nullptr, systemReason(opened.error)};
    }
    const std::uint32_t baudRate = settings.baudRate;  // a packed field: no reference to it
    return openedOrReason(std::unique_ptr<SerialLineConnection>(
        new SerialLineConnection(std::move(opened.fd), false, baudRate)));
}

void SerialLineConnection::release() {
    releaseSerialDevice(fd());
}

void SerialLineConnection::discardUnsent() {
    ::tcflush(fd(), TCOFLUSH);
}

}  // namespace kestrova
