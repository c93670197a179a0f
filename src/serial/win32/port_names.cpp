// SPDX-License-Identifier: MIT
#include <string>

#include "src/serial/port_devices.h"

namespace kestrova {

namespace {
constexpr int kSerialChoices = 4;
constexpr std::string_view kDevicePrefix = R"(\\.\)";
}  // namespace

// The fifth choice opens the TELNET device, as serial-over-network drivers name it.
PortDevice builtInPortDevice(int portNumber) {
    const std::string name =
        portNumber <= kSerialChoices ? "COM" + std::to_string(portNumber) : std::string("TELNET");
    return {PortDevice::Kind::SerialDevice, std::string(kDevicePrefix) + name, {}, 0};
}

// "\\.\COM12" as it stands, "COM12" with the prefix that ports above COM9 need.
std::string serialDeviceName(const std::string& text) {
    if (text.starts_with(kDevicePrefix) && text.size() > kDevicePrefix.size()) {
        return text;
    }
    const bool comName = text.size() > 3 && text.starts_with("COM") &&
                         text.find_first_not_of("0123456789", 3) == std::string::npos;
    return comName ? std::string(kDevicePrefix) + text : std::string();
}

}  // namespace kestrova
