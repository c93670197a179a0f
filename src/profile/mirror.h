// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <vector>

#include "src/model/page_record.h"
#include "src/profile/robot_profile.h"

namespace kestrova {

enum class MirrorCommand { MirrorStep, CopyLeftToRight, CopyRightToLeft };

// A step after a mirror command, and the motors whose result was held at a limit.
struct MirroredStep {
    StepPositions positions;
    std::vector<std::size_t> clamped;
};

// A partner takes its home plus the other motor's offset from its own home, negated for an
// inverted pair. Mirror Step swaps every pair and reflects an inverted centre servo about its
// home; the copies set one side from the other and leave the centre alone. Motors without a
// partner keep their value. Without clamping, mirroring twice gives the step back.
MirroredStep mirrored(const RobotProfile& profile, const StepPositions& step,
                      MirrorCommand command);

}  // namespace kestrova
