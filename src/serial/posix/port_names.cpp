// SPDX-License-Identifier: MIT
#include <string>

#include "src/serial/port_devices.h"

namespace kestrova {

namespace {
constexpr int kSerialChoices = 4;
}

// COM1..COM4 are the kernel's names for the PC's first four serial ports.
PortDevice builtInPortDevice(int portNumber) {
    if (portNumber <= kSerialChoices) {
        return {
            PortDevice::Kind::SerialDevice, "/dev/ttyS" + std::to_string(portNumber - 1), {}, 0};
    }
    return {PortDevice::Kind::Tcp, {}, kNetworkPortHost, kNetworkPort};
}

std::string serialDeviceName(const std::string& text) {
    return text.starts_with('/') ? text : std::string();
}

}  // namespace kestrova
