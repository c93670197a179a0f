// SPDX-License-Identifier: MIT
#include "tools/sim/board.h"

#include <gtest/gtest.h>

#include "protocol/packet_reader.h"
#include "protocol/packets.h"

using namespace kestrova;
using namespace kestrova::sim;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Step = std::array<std::size_t, 3>;  // page, step, round; all 0 for a live move

// Parses packets as the simulator does, lets the board answer and records the servos' moves;
// it can cut a play short after a number of moves.
class BoardRig : public PacketReaderSink, public BoardListener {
  public:
    BoardAnswer send(std::span<const std::uint8_t> packet) {
        answer = {Verdict::BrokenFrame, {}};
        reader.feed(packet, *this);
        return answer;
    }
    void onPacket(const ReceivedPacket& packet) override { answer = board.handle(packet, *this); }
    void onNoise(std::size_t) override {}
    bool positionsChanged(const StepPositions&, const std::optional<PlayedStep>& step) override {
        moves.push_back(step ? Step{step->page.pageNum, step->step, step->round} : Step{});
        return moves.size() != stopAfter;
    }

    Board board;
    PacketReader reader;
    BoardAnswer answer{};
    std::vector<Step> moves;
    std::size_t stopAfter = 0;
};

Bytes bytesOf(const auto& packet) {
    return {packet.begin(), packet.end()};
}

// Step s of the page holds position 10 * (s + 1) + page number on every motor.
PageRecord page(std::uint8_t number, std::uint8_t enableStep = 0, std::uint8_t repeat = 1,
                std::uint8_t nextPage = 0) {
    PageRecord page = defaultPageRecord();
    page.pageNum = number;
    for (std::size_t i = 0; i < page.position.size(); ++i) {
        page.position[i] = static_cast<std::uint8_t>(10 * (i / kMotorCount + 1) + number);
    }
    page.enableStep = enableStep;
    page.repeat = repeat;
    page.nextPage = nextPage;
    return page;
}

}  // namespace

TEST(Board, AnswersGoodPacketsAndRefusesBadOnesWithTheFailureLineChangingNothing) {
    PageRecord slot19 = defaultPageRecord();  // each slot starts as a default page of its number
    slot19.pageNum = 19;
    PagePacket badWrite = buildWritePagePacket(page(2));
    badWrite[50] ^= 0x40;
    LivePacket badLive = buildLivePositionsPacket(MotorFields{});
    badLive[4] = 1;
    PagePacket badPlay = buildPlayPagePacket(page(2));
    badPlay[207] ^= 0x01;
    const Bytes failure{'a', 'a', 'a', 'a', 'a', '\n'};
    const std::vector<std::tuple<Bytes, Verdict, Bytes>> cases{
        {bytesOf(buildReadRequest(19)), Verdict::PageSent, bytesOf(buildPagePacket(slot19, 'p'))},
        {bytesOf(badWrite), Verdict::BadChecksum, failure},
        {bytesOf(badLive), Verdict::BadChecksum, failure},
        {bytesOf(badPlay), Verdict::BadChecksum, failure},
        {bytesOf(buildWritePagePacket(page(20))), Verdict::NoSuchPage, failure},
        {bytesOf(buildPlayPagePacket(page(20))), Verdict::NoSuchPage, failure},
        {bytesOf(buildReadRequest(20)), Verdict::NoSuchPage, failure},
        {Bytes{'#', '#', '#', 'x', 0xFE, 0xFE, 0xFE, 0x0A}, Verdict::UnknownCommand, failure},
        {bytesOf(buildDoneReply()), Verdict::UnknownCommand, failure},  // no command to a board
        {bytesOf(buildWritePagePacket(page(3))), Verdict::Stored, bytesOf(buildDoneReply())},
        {bytesOf(buildLivePositionsPacket(MotorFields{9})), Verdict::Moved, {}},
    };
    BoardRig rig;
    for (const auto& [bytes, verdict, reply] : cases) {
        const BoardAnswer answer = rig.send(bytes);
        EXPECT_EQ(answer.verdict, verdict) << verdictText(verdict);
        EXPECT_EQ(answer.reply, reply) << verdictText(verdict);
    }
    EXPECT_EQ(rig.board.page(2).pageNum, 2);
    EXPECT_EQ(rig.board.page(2).position, defaultPageRecord().position);
    EXPECT_EQ(rig.board.page(3), page(3));
    EXPECT_EQ(rig.moves, std::vector<Step>{Step{}}) << "only the good live packet moved";
    EXPECT_EQ(rig.board.positions()[0], 9);
}

TEST(Board, PlayWalksStepsRepeatTimesThenBoundedNextPagesAndAnswersNothing) {
    BoardRig rig;
    const auto play = [&](const PageRecord& page) {
        rig.moves.clear();
        const BoardAnswer answer = rig.send(buildPlayPagePacket(page));
        EXPECT_EQ(answer.verdict, Verdict::Played);
        EXPECT_TRUE(answer.reply.empty());
        return rig.moves;
    };
    EXPECT_EQ(
        play(page(4, 2, 2)),
        (std::vector<Step>{{4, 0, 1}, {4, 1, 1}, {4, 2, 1}, {4, 0, 2}, {4, 1, 2}, {4, 2, 2}}));
    EXPECT_EQ(rig.board.positions()[0], 34);
    EXPECT_EQ(rig.board.page(4).position[0], 100) << "playing stores nothing";
    EXPECT_EQ(play(page(1, 200, 0)).back(), (Step{1, 7, 1})) << "steps to 7 at most, once";
    for (const PageRecord& stored :
         {page(6, 0, 1, 7), page(7, 1), page(8, 0, 1, 9), page(9, 0, 1, 8)}) {
        rig.send(buildWritePagePacket(stored));
    }
    EXPECT_EQ(play(page(2, 0, 1, 6)),
              (std::vector<Step>{{2, 0, 1}, {6, 0, 1}, {7, 0, 1}, {7, 1, 1}}));
    EXPECT_EQ(play(page(8, 0, 1, 9)).size(), kMostPagesPerPlay) << "a cycle of next pages ends";
    EXPECT_EQ(play(page(3, 0, 1, 42)).size(), 1u) << "there is no page 42 to go on to";
    rig.stopAfter = 3;
    EXPECT_EQ(play(page(5, 7, 10)).size(), 3u) << "the listener cut it short";
}
