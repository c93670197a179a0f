// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "src/serial/port_devices.h"
#include "src/serial/port_settings.h"
#include "tests/support/pty_pair.h"  // setenv on Windows

using namespace kestrova;

TEST(PortSettings, RecordBytesForTheChoicesAndIndexesOutsideTheTables) {
    using Record = std::array<std::uint8_t, 10>;
    // The first Connect after start: COM1 at 9600 baud, 8N1, no flow control.
    EXPECT_EQ(toBytes(buildPortSettings(0, 3)), (Record{1, 0, 8, 0, 0, 0, 0x80, 0x25, 0, 0}));
    EXPECT_EQ(toBytes(buildPortSettings(4, 4)), (Record{5, 0, 8, 0, 0, 0, 0x40, 0x38, 0, 0}));
    EXPECT_EQ(toBytes(buildPortSettings(2, 9)), (Record{3, 0, 8, 0, 0, 0, 0x00, 0xC2, 1, 0}));
    // Out-of-range indexes take the nearest entry instead of reading past a table.
    EXPECT_EQ(buildPortSettings(-1, -1), buildPortSettings(0, 0));
    EXPECT_EQ(buildPortSettings(9, 99), buildPortSettings(4, 9));
}

// The platform's devices for choices 1, 4 and 5 (and above), an override as the user writes it
// with what it opens, and a name that is no device here.
#ifdef _WIN32
const std::array<std::string, 6> kNames{R"(\\.\COM1)", R"(\\.\COM4)",  R"(\\.\TELNET)",
                                        "COM12",       R"(\\.\COM12)", "/dev/ttyS0"};
#else
const std::array<std::string, 6> kNames{"/dev/ttyS0",   "/dev/ttyS3",   "tcp:127.0.0.1:2217",
                                        "/dev/ttyUSB0", "/dev/ttyUSB0", R"(\\.\COM1)"};
#endif

TEST(PortDevices, ChoicesLeadToThePlatformsPortsUnlessOverridden) {
    for (const char* unset : {"KESTROVA_COM1", "KESTROVA_COM4", "KESTROVA_COM5"}) {
        ::setenv(unset, "", 1);
    }
    ::setenv("KESTROVA_COM2", kNames[3].c_str(), 1);
    for (const auto& [choice, name] : {std::pair{1, 0}, {4, 1}, {5, 2}, {255, 2}, {2, 4}}) {
        EXPECT_EQ(deviceText(portDevice(choice)), kNames[name]) << choice;
    }
    EXPECT_EQ(portDevice(0).kind, PortDevice::Kind::Invalid);
    ::setenv("KESTROVA_COM5", "tcp:[::1]:4000", 1);
    EXPECT_EQ(portDevice(9), (PortDevice{PortDevice::Kind::Tcp, {}, "::1", 4000}));
    // Malformed overrides are refused, not guessed at.
    for (const char* text : {"tcp:host", "tcp::12", "tcp:h:0", "tcp:h:70000", "tcp:h:12x",
                             "tcp:h:", "ttyUSB0", kNames[5].c_str()}) {
        EXPECT_EQ(parsePortDevice(text).kind, PortDevice::Kind::Invalid) << text;
    }
}
