// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

#include "src/serial/port_devices.h"
#include "src/serial/port_settings.h"

namespace kestrova {

// The port Setup chose: its line settings, the detected device when one was chosen instead of
// a COM choice, and the name the connection messages give it ("COM1", "ttyUSB0").
struct PortChoice {
    PortSettings settings = buildPortSettings(0, 3);
    std::optional<PortDevice> device;
    QString name = QStringLiteral("COM1");
};

}  // namespace kestrova
