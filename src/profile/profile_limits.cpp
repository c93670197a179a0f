// SPDX-License-Identifier: MIT
#include "src/profile/profile_limits.h"

#include <algorithm>

namespace kestrova {

std::vector<LimitBreach> limitBreaches(const RobotProfile& profile, const PageRecord& page) {
    std::vector<LimitBreach> breaches;
    const std::size_t lastStep = std::min<std::size_t>(page.enableStep, kStepCount - 1);
    for (std::size_t step = 0; step <= lastStep; ++step) {
        for (std::size_t motor = 0; motor < kMotorCount; ++motor) {
            const std::uint8_t value = page.position[step * kMotorCount + motor];
            if (!profile.allows(motor, value)) {
                breaches.push_back({step, motor, value, profile.clamped(motor, value)});
            }
        }
    }
    return breaches;
}

std::string breachText(const RobotProfile& profile, const LimitBreach& breach) {
    return profile.motorText(breach.motor) + " is " + std::to_string(breach.value) +
           (breach.value < breach.limit ? ", below" : ", above") + " its limit " +
           std::to_string(breach.limit);
}

std::string sendAnywayQuestion(const RobotProfile& profile, const LimitBreach& first) {
    return "Step " + std::to_string(first.step) + ": " + breachText(profile, first) +
           ". Send anyway?";
}

std::optional<std::string> refusalOf(const RobotProfile& profile,
                                     std::span<const std::uint8_t, kMotorCount> positions) {
    for (std::size_t motor = 0; motor < kMotorCount; ++motor) {
        if (!profile.allows(motor, positions[motor])) {
            const MotorProfile& limits = profile.motors[motor];
            return profile.motorText(motor) + ": " + std::to_string(positions[motor]) +
                   " is outside its limits " + std::to_string(limits.min) + " to " +
                   std::to_string(limits.max) + ".";
        }
    }
    return std::nullopt;
}

std::string clampedText(const RobotProfile& profile, const std::vector<std::size_t>& motors) {
    std::string names;
    for (std::size_t i = 0; i < motors.size(); ++i) {
        names += (i == 0                   ? ""
                  : i + 1 == motors.size() ? " and "
                                           : ", ") +
                 profile.motorText(motors[i]);
    }
    if (motors.empty()) {
        return names;
    }
    return names + (motors.size() == 1 ? " was held at its limit." : " were held at their limits.");
}

}  // namespace kestrova
