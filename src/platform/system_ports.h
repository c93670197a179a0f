// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace kestrova {

// A serial port the system lists now: "COM3" at "\\.\COM3", "USB Serial Port (COM3)".
struct SystemPort {
    std::string name;         // UTF-8, as the system names it
    std::string description;  // UTF-8, the device's friendly name; may be empty
    std::string path;         // what opens it
};

// The serial ports Windows lists, sorted by name. Only Windows has this here: other systems
// list their devices through Qt Serial Port in the window.
std::vector<SystemPort> systemSerialPorts();

}  // namespace kestrova
