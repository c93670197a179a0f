// SPDX-License-Identifier: MIT
#pragma once

#include "src/ui/port_enumerator.h"

namespace kestrova {

// The system's serial devices as Qt Serial Port finds them (udev or sysfs, SetupAPI, IOKit).
// Only the list comes from there: the ports are opened and driven by CComm.
class SystemPortEnumerator : public PortEnumerator {
  public:
    std::vector<DetectedPort> detectedPorts() const override;
};

}  // namespace kestrova
