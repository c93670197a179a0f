// SPDX-License-Identifier: MIT
#pragma once

namespace kestrova {

// The window whose motor edits the motor panels write. A panel's parent is the picture frame,
// not that window, so it reaches the edits through this.
class MotorPanelOwner {
  public:
    virtual ~MotorPanelOwner() = default;

    // Writes `value` as signed decimal text into the edit of motor `motorIndex` (0 for M1),
    // raising the edit's change handling as any program write does.
    virtual void writeMotorEdit(int motorIndex, int value) = 0;
};

}  // namespace kestrova
