// SPDX-License-Identifier: MIT
#include "src/serial/posix/custom_speed.h"

#if defined(__linux__)
// termios2 lives in the kernel's own header, which clashes with <termios.h>: keep the two in
// separate files.
#include <asm/termbits.h>
#include <sys/ioctl.h>
#endif

namespace kestrova {

#if defined(__linux__)

bool setCustomSpeed(int fd, std::uint32_t baudRate) {
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0) {
        return false;
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = baudRate;
    tio.c_ospeed = baudRate;
    return ::ioctl(fd, TCSETS2, &tio) == 0;
}

#else

bool setCustomSpeed(int, std::uint32_t) {
    return false;
}

#endif

}  // namespace kestrova
