// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "src/model/page_record.h"
#include "src/profile/robot_profile.h"
#include "tools/board/report.h"

namespace kestrova::board {

// One line per value of the page that breaks the profile's limits, in the steps that play:
// `wave.kpf: page 7 "Wave" step 3: M5 left elbow is 0, below its limit 20`.
std::vector<std::string> breachLines(const RobotProfile& profile, const PageRecord& page,
                                     const std::string& source);

// check FILE|DIR --profile P: lists every such value (status 1 when there is one); nothing
// reaches the board.
void checkLimits(const std::filesystem::path& fileOrFolder, const RobotProfile& profile,
                 Report& report);

}  // namespace kestrova::board
