// SPDX-License-Identifier: MIT
#include "tools/sim/pty_device.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <cstring>

namespace kestrova::sim {

namespace {

UniqueFd openRawSlave(const std::string& path) {
    UniqueFd slave(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    termios settings{};
    if (!slave || ::tcgetattr(slave.get(), &settings) != 0) {
        return {};
    }
    ::cfmakeraw(&settings);
    if (::tcsetattr(slave.get(), TCSANOW, &settings) != 0) {
        return {};
    }
    return slave;
}

}  // namespace

std::optional<PtyDevice> PtyDevice::open(std::string& error) {
    UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    const char* name = master && ::grantpt(master.get()) == 0 && ::unlockpt(master.get()) == 0
                           ? ::ptsname(master.get())
                           : nullptr;
    if (name == nullptr) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::string path = name;
    UniqueFd slave = openRawSlave(path);
    if (!slave ||
        ::fcntl(master.get(), F_SETFL, ::fcntl(master.get(), F_GETFL) | O_NONBLOCK) != 0) {
        error = "cannot set up " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return PtyDevice(std::move(master), std::move(slave), std::move(path));
}

std::size_t PtyDevice::unreadByClient() const {
    int count = 0;
    return ::ioctl(keeper.get(), FIONREAD, &count) == 0 ? static_cast<std::size_t>(count) : 0;
}

void PtyDevice::discardUnread() const {
    ::tcflush(keeper.get(), TCIFLUSH);
}

bool PtyDevice::releaseLeftExclusive() const {
    int exclusive = 0;
    if (::ioctl(keeper.get(), TIOCGEXCL, &exclusive) != 0 || exclusive == 0) {
        return false;
    }
    // A client holds the device's lock for as long as it has the line open (the editor does,
    // and the kernel drops the lock of a killed one): a lock that is free means it has gone.
    if (::flock(keeper.get(), LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    ::flock(keeper.get(), LOCK_UN);
    return ::ioctl(keeper.get(), TIOCNXCL) == 0;
}

}  // namespace kestrova::sim
