// SPDX-License-Identifier: MIT
#include "src/ui/system_port_enumerator.h"

#include <QSerialPortInfo>

namespace kestrova {

std::vector<DetectedPort> SystemPortEnumerator::detectedPorts() const {
    std::vector<DetectedPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.push_back({info.portName(), info.description(), info.systemLocation()});
    }
    return ports;
}

}  // namespace kestrova
