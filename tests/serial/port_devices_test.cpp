// SPDX-License-Identifier: MIT
#include "serial/port_devices.h"

#include <gtest/gtest.h>

#include "pty_pair.h"

using namespace kestrova;

// The platform's devices for choices 1, 4, 5 and 255, an override as the user writes it with
// what it opens, and two names that are no device here.
#ifdef _WIN32
const std::array<std::string, 8> kNames{R"(\\.\COM1)",   R"(\\.\COM4)", R"(\\.\TELNET)",
                                        R"(\\.\TELNET)", "COM12",       R"(\\.\COM12)",
                                        "/dev/ttyS0",    "COMx"};
#else
const std::array<std::string, 8> kNames{
    "/dev/ttyS0",   "/dev/ttyS3", "tcp:127.0.0.1:2217", "tcp:127.0.0.1:2217", "/dev/ttyUSB0",
    "/dev/ttyUSB0", "ttyUSB0",    R"(\\.\COM1)"};
#endif

TEST(PortDevices, ChoicesLeadToThePlatformsPortsUnlessOverridden) {
    for (const char* unset : {"KESTROVA_COM1", "KESTROVA_COM4", "KESTROVA_COM5"}) {
        ::setenv(unset, "", 1);
    }
    ::setenv("KESTROVA_COM2", kNames[4].c_str(), 1);
    for (const auto& [choice, name] : {std::pair{1, 0}, {4, 1}, {5, 2}, {255, 3}, {2, 5}}) {
        EXPECT_EQ(deviceText(portDevice(choice)), kNames[name]) << choice;
    }
    EXPECT_EQ(portDevice(0).kind, PortDevice::Kind::Invalid);
    ::setenv("KESTROVA_COM5", "tcp:[::1]:4000", 1);
    EXPECT_EQ(portDevice(9), (PortDevice{PortDevice::Kind::Tcp, {}, "::1", 4000}));
    // Malformed overrides are refused, not guessed at.
    for (const char* text : {"tcp:host", "tcp::12", "tcp:h:0", "tcp:h:70000", "tcp:h:12x",
                             "tcp:h:", kNames[6].c_str(), kNames[7].c_str()}) {
        EXPECT_EQ(parsePortDevice(text).kind, PortDevice::Kind::Invalid) << text;
    }
}
