// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "src/model/page_file.h"
#include "src/profile/robot_profile.h"

namespace kestrova {

// A profile read from its JSON text, or the line and reason of the first thing wrong in it.
struct ReadProfile {
    std::optional<RobotProfile> profile;
    int line = 0;
    std::string problem;
};
ReadProfile parseProfile(std::string_view text);

// A `*.kprofile.json` file, or "FILE: reason" / "FILE:LINE: reason" when it is refused.
struct LoadedProfile {
    std::optional<RobotProfile> profile;
    std::string problem;
};
LoadedProfile readProfileFile(const std::filesystem::path& path);

// The profile as its file holds it: every field of every motor, one motor per line, the same
// bytes each time, so that reading and writing it again changes nothing.
std::string profileText(const RobotProfile& profile);

// Saves it as page files are saved (a temporary file renamed over the old one). True on success.
bool writeProfileFile(const std::filesystem::path& path, const RobotProfile& profile,
                      FlushToDisk flush);

}  // namespace kestrova
