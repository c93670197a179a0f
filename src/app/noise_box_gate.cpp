// SPDX-License-Identifier: MIT
#include "src/app/noise_box_gate.h"

namespace kestrova {

void NoiseBoxGate::bytesArrived(Clock::time_point now) {
    if (lastBytes && now - *lastBytes >= kQuietTime) {
        armed = true;  // a new noisy spell deserves a new box
    }
    lastBytes = now;
}

bool NoiseBoxGate::overflowShowsBox() {
    if (!armed || boxOpen) {
        ++discarded;
        return false;
    }
    armed = false;
    boxOpen = true;
    return true;
}

}  // namespace kestrova
