// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace kestrova {

// Where a port choice leads: a serial device node or a TCP stream.
struct PortDevice {
    enum class Kind { SerialDevice, Tcp, Invalid };
    Kind kind = Kind::Invalid;
    std::string path;  // SerialDevice
    std::string host;  // Tcp
    std::uint16_t port = 0;

    friend bool operator==(const PortDevice&, const PortDevice&) = default;
};

// The network port of choice 5 and above: serial-over-network servers listen here.
inline constexpr const char* kNetworkPortHost = "127.0.0.1";
inline constexpr std::uint16_t kNetworkPort = 2217;

// Port number 1..4 opens /dev/ttyS0../dev/ttyS3, 5 and more the network port. The environment
// variable KESTROVA_COM<n> (n = 1..5; 5 stands for every number above 4 too) overrides a choice
// with a device path or "tcp:HOST:PORT", for USB adapters and tests. Port 0 and malformed
// overrides are Invalid.
PortDevice portDevice(int portNumber);

// Parses an override value: a device path (starting with '/') or "tcp:HOST:PORT".
PortDevice parsePortDevice(const std::string& text);

// A short description of a choice for the user: "/dev/ttyS0", "tcp:127.0.0.1:2217", or
// "invalid" for a port that cannot be opened.
std::string describePortDevice(int portNumber);

}  // namespace kestrova
