// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "src/serial/port_devices.h"

namespace kestrova::board {

// What the editor's Setup offers, by name: COM1 to COM5 (with the editor's device mapping and
// its KESTROVA_COMn overrides), a device path, or tcp:HOST:PORT. Invalid for anything else.
PortDevice parsePortChoice(const std::string& text);

}  // namespace kestrova::board
