// SPDX-License-Identifier: MIT
#include "src/serial/port_settings.h"

#include <algorithm>

namespace kestrova {

namespace {
constexpr int kPortChoices = 5;
}

std::array<std::uint8_t, sizeof(PortSettings)> toBytes(const PortSettings& settings) {
    const std::uint32_t baud = settings.baudRate;
    return {settings.portNumber,
            settings.reserved,
            settings.dataBits,
            settings.flowControl,
            settings.parity,
            settings.stopBits,
            static_cast<std::uint8_t>(baud),
            static_cast<std::uint8_t>(baud >> 8),
            static_cast<std::uint8_t>(baud >> 16),
            static_cast<std::uint8_t>(baud >> 24)};
}

PortSettings buildPortSettings(int portIndex, int baudIndex) {
    const int port = std::clamp(portIndex, 0, kPortChoices - 1);
    const int baud = std::clamp(baudIndex, 0, static_cast<int>(baudRates.size()) - 1);
    PortSettings settings{};
    settings.portNumber = static_cast<std::uint8_t>(port + 1);
    settings.dataBits = kDataBits;
    settings.flowControl = flowControlModes[0];
    settings.parity = kNoParity;
    settings.stopBits = kOneStopBit;
    settings.baudRate = baudRates[static_cast<std::size_t>(baud)];
    return settings;
}

}  // namespace kestrova
