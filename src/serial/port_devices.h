// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

// Where a port choice leads: a serial device or a TCP stream.
struct PortDevice {
    enum class Kind { SerialDevice, Tcp, Invalid };
    Kind kind = Kind::Invalid;
    std::string path;  // SerialDevice
    std::string host;  // Tcp
    std::uint16_t port = 0;

    friend bool operator==(const PortDevice&, const PortDevice&) = default;
};

// The port choices as the user sees them: Setup's list, the connection messages, the board
// tool's --port. Port number n is the n-th.
inline constexpr std::array<std::string_view, 5> kPortChoiceNames{"COM1", "COM2", "COM3", "COM4",
                                                                  "COM5"};

// The name of port number `portNumber` (1 to 5), as the choices and messages give it.
std::string portChoiceName(int portNumber);

// The network port: serial-over-network servers listen here.
inline constexpr const char* kNetworkPortHost = "127.0.0.1";
inline constexpr std::uint16_t kNetworkPort = 2217;

// Port number 1..4 opens the platform's COM1..COM4, 5 and more its network port. The
// environment variable KESTROVA_COM<n> (n = 1..5; 5 stands for every number above 4 too)
// overrides a choice with a device name or "tcp:HOST:PORT", for USB adapters and tests. Port 0
// and malformed overrides are Invalid.
PortDevice portDevice(int portNumber);

// Parses an override value: a device name of this platform or "tcp:HOST:PORT".
PortDevice parsePortDevice(const std::string& text);

// How messages name a device: its path, "tcp:HOST:PORT", or "invalid".
std::string deviceText(const PortDevice& device);

// The platform's own devices, implemented once per platform.
PortDevice builtInPortDevice(int portNumber);
// The platform's name for a device override, empty when `text` names none.
std::string serialDeviceName(const std::string& text);

}  // namespace kestrova
