// SPDX-License-Identifier: MIT
#include "src/serial/port_connection.h"
#include "src/serial/posix/serial_line_connection.h"
#include "src/serial/posix/socket_connection.h"

namespace kestrova {

OpenedPort openPortConnection(const PortDevice& device, const PortSettings& settings) {
    return device.kind == PortDevice::Kind::Tcp
               ? SocketConnection::connect(device.host, device.port)
               : SerialLineConnection::open(device.path, settings);
}

}  // namespace kestrova
