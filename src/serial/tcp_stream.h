// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "serial/unique_fd.h"

namespace kestrova {

// A non-blocking TCP stream to host:port with Nagle's delay off, so that short packets leave
// at once. Invalid when the name does not resolve, the connection is refused or does not come
// up within a few seconds.
UniqueFd connectTcp(const std::string& host, std::uint16_t port);

}  // namespace kestrova
