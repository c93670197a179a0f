// SPDX-License-Identifier: MIT
#include "serial/port_settings.h"

#include <gtest/gtest.h>

using namespace kestrova;

TEST(PortSettings, RecordBytesForTheChoicesAndIndexesOutsideTheTables) {
    using Bytes = std::array<std::uint8_t, 10>;
    // The first Connect after start: COM1 at 9600 baud, 8N1, no flow control.
    EXPECT_EQ(toBytes(buildPortSettings(0, 3)), (Bytes{1, 0, 8, 0, 0, 0, 0x80, 0x25, 0, 0}));
    EXPECT_EQ(toBytes(buildPortSettings(4, 4)), (Bytes{5, 0, 8, 0, 0, 0, 0x40, 0x38, 0, 0}));
    EXPECT_EQ(toBytes(buildPortSettings(2, 9)), (Bytes{3, 0, 8, 0, 0, 0, 0x00, 0xC2, 1, 0}));
    // Out-of-range indexes take the nearest entry instead of reading past a table.
    EXPECT_EQ(buildPortSettings(-1, -1), buildPortSettings(0, 0));
    EXPECT_EQ(buildPortSettings(9, 99), buildPortSettings(4, 9));
}
