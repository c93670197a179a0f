// SPDX-License-Identifier: MIT
// The simulator's board on its own: what it refuses and how it plays. What it stores and sends
// back runs end to end, through the editor and through kestrova-board.
#include "tools/sim/board.h"

#include <gtest/gtest.h>

#include "src/protocol/packet_reader.h"
#include "src/protocol/packets.h"
#include "tests/support/sample_page.h"

using namespace kestrova;
using namespace kestrova::sim;
using test::Bytes;

namespace {

const Bytes kFailure{'a', 'a', 'a', 'a', 'a', '\n'};

// Hands the packets in bytes to a board and notes its moves as "page.step.round:M1 ", "live:M1 ".
struct Link : PacketReaderSink, BoardListener {
    void onPacket(const ReceivedPacket& packet) override {
        answers.push_back(board.handle(packet, *this));
    }
    void onNoise(std::size_t) override {}
    bool positionsChanged(const StepPositions& at, const std::optional<PlayedStep>& s) override {
        heard += (s ? std::to_string(s->page.pageNum) + "." + std::to_string(s->step) + "." +
                          std::to_string(s->round)
                    : "live") +
                 ":" + std::to_string(at[0]) + " ";
        return ++moves != stopAfter;
    }
    // The verdict and reply of the one packet in `bytes`.
    template <typename Frame>
    std::pair<Verdict, Bytes> send(const Frame& bytes) {
        answers.clear();
        PacketReader().feed(bytes, *this);
        EXPECT_EQ(answers.size(), 1u);
        return {answers.at(0).verdict, answers.at(0).reply};
    }
    Board board;
    std::vector<BoardAnswer> answers;
    std::string heard;
    int moves = 0, stopAfter = -1;
};

// M1 of step s at 10 s + `first`.
PageRecord numbered(std::uint8_t number, int first, int enableStep, int repeat, int next) {
    PageRecord page = defaultPageRecord();
    std::tie(page.pageNum, page.enableStep, page.repeat, page.nextPage) =
        std::tuple(number, enableStep, repeat, next);
    for (std::size_t step = 0; step < kStepCount; ++step) {
        page.position[step * kMotorCount] = static_cast<std::uint8_t>(10 * step + first);
    }
    return page;
}

TEST(SimBoard, RefusesWithTheFailureLineAndKeepsItsPages) {
    Link link;
    PagePacket badSum = buildWritePagePacket(numbered(4, 0, 0, 1, 0));
    badSum[207] ^= 1;  // the checksum's lowest byte
    const std::pair<Bytes, Verdict> cases[] = {
        {test::bytesOf(badSum), Verdict::BadChecksum},
        {test::bytesOf(buildWritePagePacket(numbered(20, 0, 0, 1, 0))), Verdict::NoSuchPage},
        {test::bytesOf(buildReadRequest(20)), Verdict::NoSuchPage},
        {test::bytesOf(buildPlayPagePacket(numbered(20, 0, 0, 1, 0))), Verdict::NoSuchPage},
        {{0x23, 0x23, 0x23, 'x', 0xFE, 0xFE, 0xFE, 0x0A}, Verdict::UnknownCommand},
        {{0x23, 0x23, 0x23, 'r', 3, 0xFE, 0xFE, 0xFE, 0xFE}, Verdict::BrokenFrame},
    };
    for (const auto& [bytes, verdict] : cases) {
        EXPECT_EQ(link.send(bytes), std::pair(verdict, kFailure)) << verdictText(verdict);
    }
    EXPECT_EQ(std::pair(+link.board.page(4).position[0], link.heard),
              std::pair(100, std::string()));
}

// Steps 0 to Enable Step (7 at most), Repeat times (once for 0), then the stored pages that
// follow, until one names page 0 or 20 pages have played; live positions move at once.
TEST(SimBoard, PlaysThePacketsPageThenTheStoredPagesItLeadsTo) {
    Link link;
    link.send(buildWritePagePacket(numbered(3, 1, 1, 2, 5)));
    link.send(buildWritePagePacket(numbered(5, 2, 9, 0, 3)));
    EXPECT_EQ(link.send(buildPlayPagePacket(numbered(11, 3, 0, 1, 3))),
              std::pair(Verdict::Played, Bytes{}));
    // Page 11, then 3 and 5 in turn: 10 times 3 (4 steps), 9 times 5 (8 steps).
    EXPECT_EQ(link.moves, 1 + 10 * 4 + 9 * 8);
    EXPECT_TRUE(
        link.heard.starts_with("11.0.1:3 3.0.1:1 3.1.1:11 3.0.2:1 3.1.2:11 5.0.1:2 "
                               "5.1.1:12 5.2.1:22 5.3.1:32 5.4.1:42 5.5.1:52 5.6.1:62 "
                               "5.7.1:72 3.0.1:1 "))
        << link.heard;
    EXPECT_TRUE(link.heard.ends_with(" 5.7.1:72 3.0.1:1 3.1.1:11 3.0.2:1 3.1.2:11 "));
    EXPECT_EQ(std::pair(+link.board.positions()[0], +link.board.page(11).nextPage),
              std::pair(11, 0));
    std::tie(link.heard, link.moves, link.stopAfter) = std::tuple(std::string(), 0, 2);
    link.send(buildPlayPagePacket(numbered(11, 3, 0, 1, 3)));
    MotorFields fields{};
    fields[0] = 300;  // sent modulo 256
    EXPECT_EQ(link.send(buildLivePositionsPacket(fields)), std::pair(Verdict::Moved, Bytes{}));
    EXPECT_EQ(link.heard, "11.0.1:3 3.0.1:1 live:44 ") << "a listener may stop a play";
    EXPECT_EQ(link.board.positions()[0], 44);
}

}  // namespace
