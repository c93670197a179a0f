// SPDX-License-Identifier: MIT
#pragma once

#include "src/ui/message_boxes.h"

// Shows no box, so that a benchmark's run never waits for a user.
class SilentBoxes : public kestrova::MessageBoxes {
  public:
    void show(const kestrova::MessageRequest& /*request*/) override {}
};
