// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kestrova {

// The system's text for an errno value, with a hint for the user where one helps
// ("Permission denied; is your user in the dialout group?").
std::string systemReason(int error);

}  // namespace kestrova
