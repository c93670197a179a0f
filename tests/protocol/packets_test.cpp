// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "protocol/packets.h"

using namespace kestrova;

namespace {

template <typename Container>
std::vector<std::uint8_t> bytesOf(const Container& c) {
    return {c.begin(), c.end()};
}

std::vector<std::uint8_t> slice(const PagePacket& p, std::size_t from, std::size_t to) {
    return {p.begin() + static_cast<std::ptrdiff_t>(from),
            p.begin() + static_cast<std::ptrdiff_t>(to)};
}

}  // namespace

TEST(Packets, DefaultPageWriteAndPlayPackets) {
    const PagePacket write = buildWritePagePacket(defaultPageRecord());
    EXPECT_EQ(slice(write, 0, 12), (std::vector<std::uint8_t>{0x23, 0x23, 0x23, 0x77, 'N', 'o', 'n',
                                                              'a', 'm', 'e', 0, 0}));
    EXPECT_EQ(slice(write, 207, 215),
              (std::vector<std::uint8_t>{0x3F, 0x4A, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A}));
    EXPECT_EQ(packetChecksum(toBytes(defaultPageRecord())), 19007u);
    const PageBytes record = toBytes(defaultPageRecord());
    EXPECT_EQ(slice(write, 4, 207), bytesOf(record));

    PagePacket play = buildPlayPagePacket(defaultPageRecord());
    EXPECT_EQ(play[3], 0x74);
    play[3] = 0x77;
    EXPECT_EQ(play, write) << "play differs from write only in its command byte";
}

TEST(Packets, LivePositionsPacket) {
    MotorFields fields;
    fields.fill(100);
    std::vector<std::uint8_t> expected{0x23, 0x23, 0x23, 0x69};
    expected.insert(expected.end(), 22, 0x64);
    expected.insert(expected.end(), {0x98, 0x08, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A});
    EXPECT_EQ(bytesOf(buildLivePositionsPacket(fields)), expected);

    fields.fill(0);
    fields[4] = 300;  // sent modulo 256
    fields[21] = 255;
    const LivePacket packet = buildLivePositionsPacket(fields);
    EXPECT_EQ(packet[4 + 4], 0x2C);
    EXPECT_EQ(packet[4 + 21], 0xFF);
    EXPECT_EQ(packet[26], static_cast<std::uint8_t>((0x2C + 0xFF) & 0xFF));
    EXPECT_EQ(packet[27], 0x01);
}

TEST(Packets, ReadRequestDoneReplyAndUnescapedFrameBytes) {
    EXPECT_EQ(bytesOf(buildReadRequest(5)),
              (std::vector<std::uint8_t>{0x23, 0x23, 0x23, 0x72, 0x05, 0xFE, 0xFE, 0xFE, 0x0A}));
    EXPECT_EQ(bytesOf(buildDoneReply()),
              (std::vector<std::uint8_t>{0x23, 0x23, 0x23, 0x64, 0xFE, 0xFE, 0xFE, 0x0A}));

    PageRecord record = defaultPageRecord();
    record.pageName = {0x23, 0x23, 0x23, 0xFE, 0xFE, 0xFE, 0x0A};
    record.repeat = 254;
    record.position[0] = 0x0A;
    const PagePacket packet = buildWritePagePacket(record);
    EXPECT_EQ(slice(packet, 4, 11), bytesOf(record.pageName));
    EXPECT_EQ(packet[12], 0x0A);
    EXPECT_EQ(packet[206], 0xFE);
    EXPECT_EQ(slice(packet, 211, 215), bytesOf(kPacketTrailer));
}

TEST(Packets, ChecksumUpperBytesAreZeroForAnyRecord) {
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20000; ++round) {
        PageBytes bytes;
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(round == 0 ? 255 : byte(random));
        }
        const PagePacket packet = buildPagePacket(fromBytes(bytes), command::kWritePage);
        ASSERT_EQ(packet[209], 0);
        ASSERT_EQ(packet[210], 0);
        const std::uint32_t sum = packetChecksum(bytes);
        ASSERT_EQ(packet[207] | (packet[208] << 8), static_cast<int>(sum));
    }
    EXPECT_EQ(packetChecksum(PageBytes{}), 0u);
    PageBytes all;
    all.fill(255);
    EXPECT_EQ(packetChecksum(all), 51765u);
    EXPECT_EQ(packetChecksum({}), 0u);
}
