// SPDX-License-Identifier: MIT
#include "serial/port_devices.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace kestrova;

TEST(PortDevices, ChoicesLeadToTheComPortsOrTheNetworkPortUnlessOverridden) {
    for (int n = 1; n <= 5; ++n) {
        ::unsetenv(("KESTROVA_COM" + std::to_string(n)).c_str());
    }
    EXPECT_EQ(deviceText(portDevice(0)), "invalid");
    EXPECT_EQ(deviceText(portDevice(1)), "/dev/ttyS0");
    EXPECT_EQ(deviceText(portDevice(4)), "/dev/ttyS3");
    EXPECT_EQ(deviceText(portDevice(5)), "tcp:127.0.0.1:2217");
    EXPECT_EQ(deviceText(portDevice(255)), "tcp:127.0.0.1:2217");
    ::setenv("KESTROVA_COM2", "/dev/ttyUSB0", 1);
    ::setenv("KESTROVA_COM3", "", 1);
    ::setenv("KESTROVA_COM5", "tcp:[::1]:4000", 1);
    EXPECT_EQ(deviceText(portDevice(2)), "/dev/ttyUSB0");
    EXPECT_EQ(deviceText(portDevice(3)), "/dev/ttyS2");
    EXPECT_EQ(portDevice(9), (PortDevice{PortDevice::Kind::Tcp, {}, "::1", 4000}));
    // Malformed overrides are refused, not guessed at.
    for (const char* text : {"tcp:host", "tcp::12", "tcp:h:0", "tcp:h:70000", "tcp:h:12x",
                             "tcp:h:", "ttyUSB0", "COM1"}) {
        EXPECT_EQ(parsePortDevice(text).kind, PortDevice::Kind::Invalid) << text;
    }
}
