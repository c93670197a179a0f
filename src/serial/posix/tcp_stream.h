// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "src/serial/posix/opened_fd.h"

namespace kestrova {

// A non-blocking TCP stream to host:port with Nagle's delay off, so that short packets leave
// at once, and a small send buffer, so that a peer that stops reading is noticed at once. No
// descriptor when the name does not resolve (error 0), the connection is refused or does not
// come up within a few seconds.
OpenedFd connectTcp(const std::string& host, std::uint16_t port);

}  // namespace kestrova
