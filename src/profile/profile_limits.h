// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "src/model/page_record.h"
#include "src/profile/robot_profile.h"

namespace kestrova {

// A value of a page outside its motor's limits, and the limit it crosses.
struct LimitBreach {
    std::size_t step;
    std::size_t motor;
    std::uint8_t value;
    std::uint8_t limit;

    friend bool operator==(const LimitBreach&, const LimitBreach&) = default;
};

// Every breach in the steps that play (0 to Enable Step), step by step, motor by motor. The
// steps after Enable Step never move a servo, and a fresh page's 100s there are no fault.
std::vector<LimitBreach> limitBreaches(const RobotProfile& profile, const PageRecord& page);

// "M5 left elbow is 0, below its limit 20"
std::string breachText(const RobotProfile& profile, const LimitBreach& breach);

// What PLAY and To Target Save ask before sending a page that breaks the limits: the first
// breach, "Step 3: M5 left elbow is 0, below its limit 20. Send anyway?".
std::string sendAnywayQuestion(const RobotProfile& profile, const LimitBreach& first);

// Why a typed or pasted step is refused, for its first value outside the limits: "M5 left
// elbow: 230 is outside its limits 20 to 180." Nothing when every value is within them.
std::optional<std::string> refusalOf(const RobotProfile& profile,
                                     std::span<const std::uint8_t, kMotorCount> positions);

// The motors a mirror held at their limits, in one sentence; empty when there are none.
std::string clampedText(const RobotProfile& profile, const std::vector<std::size_t>& motors);

}  // namespace kestrova
