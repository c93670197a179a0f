// SPDX-License-Identifier: MIT
#include "src/profile/mirror.h"

#include <algorithm>

namespace kestrova {

namespace {

// The side whose values a command reads; Centre for Mirror Step, which reads both.
Side sourceSide(MirrorCommand command) {
    switch (command) {
        case MirrorCommand::CopyLeftToRight:
            return Side::Left;
        case MirrorCommand::CopyRightToLeft:
            return Side::Right;
        case MirrorCommand::MirrorStep:
            break;
    }
    return Side::Centre;
}

}  // namespace

MirroredStep mirrored(const RobotProfile& profile, const StepPositions& step,
                      MirrorCommand command) {
    MirroredStep result{step, {}};
    const Side source = sourceSide(command);
    for (std::size_t from = 0; from < kMotorCount; ++from) {
        const MotorProfile& motor = profile.motors[from];
        const bool reflected =
            command == MirrorCommand::MirrorStep && motor.side == Side::Centre && motor.invert;
        const bool read = motor.partner && (source == Side::Centre || source == motor.side);
        if (!reflected && !read) {
            continue;
        }
        const std::size_t to = reflected ? from : *motor.partner;
        const int offset = step[from] - motor.home;
        const int value = profile.motors[to].home + (motor.invert ? -offset : offset);
        result.positions[to] = profile.clamped(to, value);
        if (!profile.allows(to, value)) {
            result.clamped.push_back(to);
        }
    }
    std::ranges::sort(result.clamped);
    return result;
}

}  // namespace kestrova
