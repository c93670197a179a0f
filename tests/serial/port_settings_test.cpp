// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "serial/port_settings.h"

using namespace kestrova;

namespace {
// The packed speed is unaligned: read it by value, never bind a reference to it.
std::uint32_t baudOf(const PortSettings& settings) {
    return settings.baudRate;
}
}  // namespace

TEST(PortSettings, RecordBytesForEachChoice) {
    using Bytes = std::array<std::uint8_t, 10>;
    // The first Connect after start: COM1 at 9600 baud, 8N1, no flow control.
    EXPECT_EQ(toBytes(buildPortSettings(0, 3)), (Bytes{1, 0, 8, 0, 0, 0, 0x80, 0x25, 0, 0}));
    EXPECT_EQ(toBytes(buildPortSettings(4, 4)), (Bytes{5, 0, 8, 0, 0, 0, 0x40, 0x38, 0, 0}));
    EXPECT_EQ(baudOf(buildPortSettings(2, 0)), 1200u);
    EXPECT_EQ(baudOf(buildPortSettings(2, 5)), 19200u);
    EXPECT_EQ(baudOf(buildPortSettings(2, 9)), 115200u);
    EXPECT_EQ(buildPortSettings(2, 5).portNumber, 3);
}

TEST(PortSettings, IndexesOutsideTheTablesTakeTheNearestEntry) {
    EXPECT_EQ(buildPortSettings(-1, -1), buildPortSettings(0, 0));
    EXPECT_EQ(buildPortSettings(9, 99), buildPortSettings(4, 9));
}

TEST(PortSettings, TablesHoldTheOfferedChoices) {
    EXPECT_EQ(flowControlModes, (std::array<std::uint8_t, 5>{0, 1, 2, 4, 7}));
    EXPECT_EQ(baudRates[3], 9600u);
}
