// SPDX-License-Identifier: MIT
#include "serial/port_devices.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "serial/write_time_limit.h"

using namespace kestrova;
using Kind = PortDevice::Kind;

namespace {

class PortDevices : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int n = 1; n <= 5; ++n) {
            ::unsetenv(("KESTROVA_COM" + std::to_string(n)).c_str());
        }
    }
};

TEST_F(PortDevices, ChoicesOneToFourAreTheKernelsComPortsAndFiveTheNetworkPort) {
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(describePortDevice(n), "/dev/ttyS" + std::to_string(n - 1));
    }
    const PortDevice network{Kind::Tcp, {}, "127.0.0.1", 2217};
    EXPECT_EQ(portDevice(5), network);
    EXPECT_EQ(portDevice(6), network);
    EXPECT_EQ(portDevice(255), network);
    EXPECT_EQ(describePortDevice(5), "tcp:127.0.0.1:2217");
    EXPECT_EQ(portDevice(0).kind, Kind::Invalid);
    EXPECT_EQ(describePortDevice(0), "invalid");
}

TEST_F(PortDevices, EnvironmentOverridesOneChoice) {
    ::setenv("KESTROVA_COM2", "/dev/ttyUSB0", 1);
    ::setenv("KESTROVA_COM5", "tcp:localhost:4000", 1);
    EXPECT_EQ(describePortDevice(1), "/dev/ttyS0");
    EXPECT_EQ(describePortDevice(2), "/dev/ttyUSB0");
    EXPECT_EQ(portDevice(5), (PortDevice{Kind::Tcp, {}, "localhost", 4000}));
    // Every number above 4 is the network choice, and so is its override.
    EXPECT_EQ(portDevice(9), portDevice(5));
    ::setenv("KESTROVA_COM3", "tcp:1.2.3.4:20", 1);
    EXPECT_EQ(describePortDevice(3), "tcp:1.2.3.4:20");
    ::setenv("KESTROVA_COM3", "", 1);
    EXPECT_EQ(describePortDevice(3), "/dev/ttyS2");
}

TEST_F(PortDevices, MalformedOverridesAreInvalidNotGuessed) {
    for (const char* text : {"tcp:host", "tcp::12", "tcp:h:0", "tcp:h:70000", "tcp:h:12x",
                             "tcp:h:", "ttyUSB0", "COM1"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parsePortDevice(text).kind, Kind::Invalid);
    }
    EXPECT_EQ(parsePortDevice("tcp:[::1]:9").host, "::1");
}

TEST(WriteTimeLimit, AllowsThePacketsLineTimePlusOneSecond) {
    using std::chrono::milliseconds;
    // A 215-byte page at 1200 baud needs 1.8 s on the line: more than one second alone.
    EXPECT_EQ(writeTimeLimit(215, 1200), milliseconds(1792 + 1000));
    EXPECT_EQ(writeTimeLimit(215, 9600), milliseconds(224 + 1000));
    EXPECT_EQ(writeTimeLimit(34, 19200), milliseconds(18 + 1000));
    EXPECT_EQ(writeTimeLimit(0, 1200), milliseconds(1000));
    EXPECT_GT(writeTimeLimit(215, 1200), writeTimeLimit(9, 1200));
}

}  // namespace
