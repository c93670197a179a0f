// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "src/model/page_record.h"

namespace kestrova {

enum class Side { Centre, Left, Right };
// As the profile file writes them, in the order of Side.
inline constexpr std::array<std::string_view, 3> kSideNames{"centre", "left", "right"};

// What a robot's builder tells the editor about one servo. The defaults leave the editor as it
// is without a profile: no name, the whole range 0 to 200, home 100, no partner.
struct MotorProfile {
    std::string name;
    std::string group;
    Side side = Side::Centre;
    std::uint8_t min = 0;
    std::uint8_t max = kMaxPosition;
    std::uint8_t home = kDefaultPosition;
    std::optional<std::size_t> partner;  // the mirror partner's index, 0..21
    bool invert = false;  // mounted the other way round: the partner's offset is negated

    friend bool operator==(const MotorProfile&, const MotorProfile&) = default;
};

inline constexpr int kProfileFormatVersion = 1;

// One robot as built: names, soft limits, home pose and mirror pairs of its 22 servos. A
// partner is always mutual, one motor on the left and one on the right, and both agree on
// `invert` (the reader refuses anything else).
struct RobotProfile {
    std::string name;
    std::array<MotorProfile, kMotorCount> motors;

    // Whether the mirror commands have anything to do: a pair, or a centre servo to reflect.
    bool canMirror() const;
    bool allows(std::size_t motor, int value) const {
        return value >= motors[motor].min && value <= motors[motor].max;
    }
    // The nearest value within the motor's limits.
    std::uint8_t clamped(std::size_t motor, int value) const;
    // "M5 left elbow", or "M5" for a motor without a name.
    std::string motorText(std::size_t motor) const;
    // The home pose as a step's 22 positions.
    StepPositions homePose() const;

    friend bool operator==(const RobotProfile&, const RobotProfile&) = default;
};

}  // namespace kestrova
