// SPDX-License-Identifier: MIT
#include <QString>

#include "src/platform/system_ports.h"
#include "src/ui/system_port_enumerator.h"

namespace kestrova {

// Debian's Qt for Windows has no Qt Serial Port: the platform layer asks the system.
std::vector<DetectedPort> SystemPortEnumerator::detectedPorts() const {
    std::vector<DetectedPort> ports;
    for (const SystemPort& port : systemSerialPorts()) {
        ports.push_back({QString::fromStdString(port.name),
                         QString::fromStdString(port.description),
                         QString::fromStdString(port.path)});
    }
    return ports;
}

}  // namespace kestrova
