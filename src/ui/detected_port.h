// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "src/serial/port_devices.h"

namespace kestrova {

// A serial device the system reports, e.g. "ttyUSB0" at "/dev/ttyUSB0", "FT232R USB UART".
struct DetectedPort {
    QString name;         // what messages call it
    QString description;  // may be empty
    QString path;         // the device node

    // The PORT list's entry: "ttyUSB0 (FT232R USB UART)", or the name alone.
    QString label() const;
    PortDevice portDevice() const;
    // Whether one of the numbered choices (after its KESTROVA_COMn override) opens this device.
    bool isNamedByChoice(int choiceCount) const;
};

}  // namespace kestrova
