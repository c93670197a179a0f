// SPDX-License-Identifier: MIT
#include "src/profile/robot_profile.h"

#include <algorithm>

namespace kestrova {

bool RobotProfile::canMirror() const {
    return std::ranges::any_of(motors, [](const MotorProfile& motor) {
        return motor.partner.has_value() || (motor.side == Side::Centre && motor.invert);
    });
}

std::uint8_t RobotProfile::clamped(std::size_t motor, int value) const {
    return static_cast<std::uint8_t>(std::clamp<int>(value, motors[motor].min, motors[motor].max));
}

std::string RobotProfile::motorText(std::size_t motor) const {
    const std::string number = "M" + std::to_string(motor + 1);
    return motors[motor].name.empty() ? number : number + " " + motors[motor].name;
}

StepPositions RobotProfile::homePose() const {
    StepPositions pose{};
    std::ranges::transform(motors, pose.begin(), &MotorProfile::home);
    return pose;
}

}  // namespace kestrova
