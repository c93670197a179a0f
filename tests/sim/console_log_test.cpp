// SPDX-License-Identifier: MIT
#include "tools/sim/console_log.h"

#include <gtest/gtest.h>

#include <sstream>

#include "protocol/packet_reader.h"
#include "protocol/packets.h"

using namespace kestrova;
using namespace kestrova::sim;

namespace {

class First : public PacketReaderSink {
  public:
    void onPacket(const ReceivedPacket& p) override { packet = p; }
    void onNoise(std::size_t) override {}
    ReceivedPacket packet;
};

template <typename Bytes>
ReceivedPacket parsed(const Bytes& bytes) {
    PacketReader reader;
    First first;
    reader.feed(bytes, first);
    return first.packet;
}

}  // namespace

TEST(ConsoleLog, PacketLinesNameCommandPageAndChecksum) {
    PageRecord page = defaultPageRecord();
    page.pageNum = 12;
    page.pageName = {'W', 'a', 'v', 'e', '"', 0x01, 'x'};
    EXPECT_EQ(describePacket(parsed(buildWritePagePacket(page))),
              "<- write page 12 \"Wave\\x22\\x01x\", checksum good");
    PagePacket damaged = buildPlayPagePacket(page);
    damaged[207] ^= 1;
    EXPECT_EQ(describePacket(parsed(damaged)), "<- play page 12 \"Wave\\x22\\x01x\", checksum bad");
    EXPECT_EQ(describePacket(parsed(buildReadRequest(9))), "<- read page 9");
    EXPECT_EQ(describePacket(parsed(std::vector<std::uint8_t>{0x23, 0x23, 0x23, 0x51})),
              "<- unknown command 0x51");
}

TEST(ConsoleLog, PositionsLineIsCompactAndSaysWhereTheyCameFrom) {
    StepPositions servos;
    servos.fill(100);
    servos[21] = 7;
    PageRecord page = defaultPageRecord();
    EXPECT_EQ(describePositions(servos, std::nullopt),
              "positions 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100 "
              "100 100 100 100 7  (live)");
    const std::string played = describePositions(servos, PlayedStep{page, 3, 2});
    EXPECT_TRUE(played.ends_with("  (page 0 \"Noname\" step 3 round 2)")) << played;
}

TEST(ConsoleLog, QuietKeepsOnlyWhereItListensAndHexAddsRawBytes) {
    std::ostringstream quietOut;
    ConsoleLog quiet(quietOut, true, true);
    quiet.listening("listening on 127.0.0.1:2217");
    quiet.note("client connected");
    quiet.rawIn(std::vector<std::uint8_t>{0x23});
    EXPECT_EQ(quietOut.str(), "listening on 127.0.0.1:2217\n");

    std::ostringstream hexOut;
    ConsoleLog hex(hexOut, false, true);
    hex.rawOut(std::vector<std::uint8_t>{0x23, 0xFE, 0x0A});
    hex.answered({Verdict::BadChecksum, {'a', 'a', 'a', 'a', 'a', '\n'}});
    hex.answered({Verdict::Played, {}});
    EXPECT_EQ(hexOut.str(), ">> 23 FE 0A\n-> failure line (bad checksum)\n");
}
