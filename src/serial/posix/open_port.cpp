// SPDX-License-Identifier: MIT
#include <cerrno>

#include "serial/port_connection.h"
#include "serial/posix/fd_connection.h"
#include "serial/posix/serial_device.h"
#include "serial/posix/system_reason.h"
#include "serial/posix/tcp_stream.h"

namespace kestrova {

OpenedPort openPortConnection(const PortDevice& device, const PortSettings& settings) {
    const bool tcp = device.kind == PortDevice::Kind::Tcp;
    OpenedFd opened =
        tcp ? connectTcp(device.host, device.port) : openSerialDevice(device.path, settings);
    if (!opened.fd) {
        return {nullptr, systemReason(opened.error)};
    }
    const std::uint32_t baudRate = settings.baudRate;  // a packed field: no reference to it
    auto connection = std::make_unique<FdConnection>(
        std::move(opened.fd), tcp ? FdConnection::Kind::Socket : FdConnection::Kind::SerialDevice,
        baudRate);
    if (!connection->valid()) {
        return {nullptr, systemReason(errno)};
    }
    return {std::move(connection), {}};
}

}  // namespace kestrova
