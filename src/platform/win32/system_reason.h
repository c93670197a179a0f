// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <string>

namespace kestrova {

// The system's text for a Win32 or Winsock error code, with a hint for the user where one
// helps ("Access is denied; another program has the port open").
std::string systemReason(DWORD error);

}  // namespace kestrova
