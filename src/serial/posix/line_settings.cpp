// SPDX-License-Identifier: MIT
#include "src/serial/posix/line_settings.h"

#include <sys/ioctl.h>

#include <array>
#include <utility>

#include "src/serial/posix/custom_speed.h"

namespace kestrova {

namespace {

constexpr std::array<std::pair<std::uint32_t, speed_t>, 10> kSpeeds{{
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
    {460800, B460800},
}};

constexpr std::array<tcflag_t, 4> kCharacterSizes{CS5, CS6, CS7, CS8};
constexpr std::uint8_t kSmallestDataBits = 5;

constexpr std::uint8_t kOddParity = 1;
constexpr std::uint8_t kEvenParity = 2;
constexpr std::uint8_t kTwoStopBits = 2;

bool setCharacterSize(termios& tio, std::uint8_t dataBits) {
    const unsigned index = static_cast<unsigned>(dataBits) - kSmallestDataBits;
    if (dataBits < kSmallestDataBits || index >= kCharacterSizes.size()) {
        return false;
    }
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | kCharacterSizes[index];
    return true;
}

bool setParity(termios& tio, std::uint8_t parity) {
    tio.c_cflag &= ~(PARENB | PARODD);
    if (parity == kNoParity) {
        return true;
    }
    if (parity != kOddParity && parity != kEvenParity) {
        return false;  // mark and space parity have no portable equivalent
    }
    tio.c_cflag |= PARENB | (parity == kOddParity ? PARODD : 0);
    tio.c_iflag |= INPCK;
    return true;
}

bool setStopBits(termios& tio, std::uint8_t stopBits) {
    if (stopBits != kOneStopBit && stopBits != kTwoStopBits) {
        return false;  // one and a half stop bits: none in termios
    }
    tio.c_cflag = stopBits == kTwoStopBits ? (tio.c_cflag | CSTOPB) : (tio.c_cflag & ~CSTOPB);
    return true;
}

void setFlowControl(termios& tio, std::uint8_t flowControl) {
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (flowControl & flow::kRtsCts) {
        tio.c_cflag |= CRTSCTS;
    }
    if (flowControl & flow::kXonXoff) {
        tio.c_iflag |= IXON | IXOFF;
        tio.c_cc[VSTART] = kXonChar;
        tio.c_cc[VSTOP] = kXoffChar;
    }
}

void setModemLines(int fd, int request, int lines) {
    // Pseudo-terminals and sockets have no modem lines (ENOTTY): nothing to do there.
    [[maybe_unused]] const int ignored = ::ioctl(fd, request, &lines);
}

}  // namespace

std::optional<speed_t> speedConstant(std::uint32_t baudRate) {
    for (const auto& [rate, constant] : kSpeeds) {
        if (rate == baudRate) {
            return constant;
        }
    }
    return std::nullopt;
}

bool applyLineSettings(int fd, const PortSettings& settings) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (!setCharacterSize(tio, settings.dataBits) || !setParity(tio, settings.parity) ||
        !setStopBits(tio, settings.stopBits)) {
        return false;
    }
    setFlowControl(tio, settings.flowControl);
    // Speeds without a constant go on in a second step, over a provisional standard speed.
    const auto speed = speedConstant(settings.baudRate);
    const speed_t provisional = speed.value_or(B9600);
    if (::cfsetispeed(&tio, provisional) != 0 || ::cfsetospeed(&tio, provisional) != 0 ||
        ::tcsetattr(fd, TCSANOW, &tio) != 0) {
        return false;
    }
    return speed || setCustomSpeed(fd, settings.baudRate);
}

void raiseModemLines(int fd) {
    setModemLines(fd, TIOCMBIS, TIOCM_DTR | TIOCM_RTS);
}

void dropModemLines(int fd) {
    setModemLines(fd, TIOCMBIC, TIOCM_DTR);
    setModemLines(fd, TIOCMBIC, TIOCM_RTS);
}

}  // namespace kestrova
