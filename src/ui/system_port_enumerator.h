// SPDX-License-Identifier: MIT
#pragma once

#include "src/ui/port_enumerator.h"

namespace kestrova {

// The system's serial devices: on Windows the COM ports the system lists (with their friendly
// names), elsewhere what Qt Serial Port finds (udev or sysfs, IOKit). Only the list comes from
// there: the ports are opened and driven by CComm.
class SystemPortEnumerator : public PortEnumerator {
  public:
    std::vector<DetectedPort> detectedPorts() const override;
};

}  // namespace kestrova
