// SPDX-License-Identifier: MIT
#include "src/serial/port_connection.h"
#include "src/serial/win32/com_connection.h"
#include "src/serial/win32/socket_connection.h"

namespace kestrova {

OpenedPort openPortConnection(const PortDevice& device, const PortSettings& settings) {
    return device.kind == PortDevice::Kind::Tcp
               ? SocketConnection::connect(device.host, device.port)
               : ComConnection::open(device.path, settings);
}

}  // namespace kestrova
