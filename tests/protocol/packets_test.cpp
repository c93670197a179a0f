// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "protocol/packets.h"
#include "support/sample_page.h"

using namespace kestrova;
using test::Bytes;
using test::bytesOf;

namespace {

Bytes framed(std::uint8_t letter, const Bytes& payload, const Bytes& tail) {
    Bytes packet{0x23, 0x23, 0x23, letter};
    packet.insert(packet.end(), payload.begin(), payload.end());
    packet.insert(packet.end(), tail.begin(), tail.end());
    return packet;
}

}  // namespace

TEST(Packets, EveryPacketByteForByte) {
    const Bytes record = bytesOf(toBytes(defaultPageRecord()));
    const Bytes pageTail{0x3F, 0x4A, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A};  // sum 19007
    EXPECT_EQ(bytesOf(buildWritePagePacket(defaultPageRecord())), framed('w', record, pageTail));
    EXPECT_EQ(bytesOf(buildPlayPagePacket(defaultPageRecord())), framed('t', record, pageTail));
    EXPECT_EQ(bytesOf(buildReadRequest(5)), framed('r', {5}, {0xFE, 0xFE, 0xFE, 0x0A}));
    EXPECT_EQ(bytesOf(buildDoneReply()), framed('d', {}, {0xFE, 0xFE, 0xFE, 0x0A}));

    MotorFields fields;
    fields.fill(100);
    EXPECT_EQ(bytesOf(buildLivePositionsPacket(fields)),
              framed('i', Bytes(22, 100), {0x98, 0x08, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A}));
    fields.fill(0);
    fields[4] = 300;  // only the low byte goes out, and only it is summed
    fields[21] = 255;
    Bytes positions(22, 0);
    positions[4] = 0x2C;
    positions[21] = 0xFF;
    EXPECT_EQ(bytesOf(buildLivePositionsPacket(fields)),
              framed('i', positions, {0x2B, 0x01, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A}));
}

TEST(Packets, FrameBytesInTheRecordGoOutUnescapedAndTheLargestSumFitsTwoBytes) {
    const PagePacket sample = buildWritePagePacket(test::samplePage());
    const Bytes record = bytesOf(toBytes(test::samplePage()));
    EXPECT_TRUE(std::equal(record.begin(), record.end(), sample.begin() + kPayloadOffset));

    PageBytes full;
    full.fill(255);
    const PagePacket largest = buildPagePacket(fromBytes(full), command::kWritePage);
    EXPECT_EQ(framed('w', bytesOf(full), {0x35, 0xCA, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A}),
              bytesOf(largest));
}
