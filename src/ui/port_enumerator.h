// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "src/ui/detected_port.h"

namespace kestrova {

// Lists the serial devices the system knows of now. Setup asks each time it opens; tests give
// their own list.
class PortEnumerator {
  public:
    virtual ~PortEnumerator() = default;
    virtual std::vector<DetectedPort> detectedPorts() const = 0;
};

}  // namespace kestrova
