// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "src/model/page_record.h"

namespace kestrova {

// Two upper-case hex digits: "0A".
std::string hexByte(std::uint8_t byte);

// The page name as text: up to 7 characters, any but printable ASCII as \xNN, so that it is
// safe on a terminal and in JSON.
std::string pageNameText(const PageName& name);

// A page in the tools' lines: page 7 "Wave".
std::string pageLabel(const PageRecord& page);

}  // namespace kestrova
