// SPDX-License-Identifier: MIT
#include "tools/sim/board.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/packet_reader.h"
#include "protocol/packets.h"

using namespace kestrova;
using namespace kestrova::sim;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Collects what the servos did; can cut a play short after a number of steps.
class Servos : public BoardListener {
  public:
    bool positionsChanged(const StepPositions& positions,
                          const std::optional<PlayedStep>& step) override {
        moves.push_back(positions);
        if (step) {
            steps.push_back({step->page.pageNum, step->step, step->round});
        }
        return moves.size() != stopAfter;
    }

    struct Step {
        std::uint8_t page;
        std::size_t step;
        std::size_t round;
        bool operator==(const Step&) const = default;
    };
    std::vector<StepPositions> moves;
    std::vector<Step> steps;
    std::size_t stopAfter = 0;
};

// Parses the bytes as the simulator does and lets the board answer each packet.
class BoardRig : public PacketReaderSink {
  public:
    template <typename Packet>
    BoardAnswer send(const Packet& packet) {
        answers.clear();
        reader.feed(packet, *this);
        EXPECT_EQ(answers.size(), 1u);
        return answers.empty() ? BoardAnswer{Verdict::BrokenFrame, {}} : answers.front();
    }
    void onPacket(const ReceivedPacket& packet) override {
        answers.push_back(board.handle(packet, servos));
    }
    void onNoise(std::size_t) override {}

    Board board;
    Servos servos;
    PacketReader reader;
    std::vector<BoardAnswer> answers;
};

const Bytes kDone{0x23, 0x23, 0x23, 0x64, 0xFE, 0xFE, 0xFE, 0x0A};
const Bytes kFailure{'a', 'a', 'a', 'a', 'a', '\n'};

PageRecord pageNumbered(std::uint8_t number, std::uint8_t fill) {
    PageRecord page = defaultPageRecord();
    page.pageNum = number;
    page.pageName = {'P', static_cast<std::uint8_t>('0' + number % 10), 0, 0, 0, 0, 0};
    page.position.fill(fill);
    return page;
}

// Step s of the page holds position 10 * (s + 1) + page number on every motor.
PageRecord steppedPage(std::uint8_t number, std::uint8_t enableStep, std::uint8_t repeat,
                       std::uint8_t nextPage) {
    PageRecord page = pageNumbered(number, 0);
    for (std::size_t s = 0; s < kStepCount; ++s) {
        std::fill_n(page.position.begin() + static_cast<std::ptrdiff_t>(s * kMotorCount),
                    kMotorCount, static_cast<std::uint8_t>(10 * (s + 1) + number));
    }
    page.enableStep = enableStep;
    page.repeat = repeat;
    page.nextPage = nextPage;
    return page;
}

}  // namespace

TEST(Board, StartsWithTwentyDefaultPagesEachKnowingItsNumber) {
    BoardRig rig;
    for (std::uint8_t number : {0, 7, 19}) {
        const BoardAnswer answer = rig.send(buildReadRequest(number));
        EXPECT_EQ(answer.verdict, Verdict::PageSent);
        PageRecord expected = defaultPageRecord();
        expected.pageNum = number;
        const PagePacket reply = buildPagePacket(expected, command::kPage);
        EXPECT_EQ(answer.reply, Bytes(reply.begin(), reply.end()));
    }
    StepPositions hundred;
    hundred.fill(100);
    EXPECT_EQ(rig.board.positions(), hundred) << "the servos start at the default page's step 0";
}

TEST(Board, WrittenPagesPersistPerNumberAndComeBackAsPageReplies) {
    BoardRig rig;
    const PageRecord three = pageNumbered(3, 0xFE);  // bytes that look like a trailer
    const PageRecord five = pageNumbered(5, 33);
    for (const PageRecord& page : {three, five}) {
        const BoardAnswer answer = rig.send(buildWritePagePacket(page));
        EXPECT_EQ(answer.verdict, Verdict::Stored);
        EXPECT_EQ(answer.reply, kDone);
    }
    EXPECT_EQ(rig.board.page(3), three);
    EXPECT_EQ(rig.board.page(5), five);
    EXPECT_EQ(rig.board.page(4).position[0], 100) << "a neighbour stays untouched";

    const BoardAnswer reply = rig.send(buildReadRequest(3));
    ASSERT_EQ(reply.reply.size(), kPagePacketSize);
    EXPECT_EQ(Bytes(reply.reply.begin(), reply.reply.begin() + 4), (Bytes{'#', '#', '#', 'p'}));
    EXPECT_EQ(fromBytes(std::span(reply.reply).subspan<4, kPageRecordSize>()), three);
    const PagePacket expected = buildPagePacket(three, command::kPage);
    EXPECT_EQ(reply.reply, Bytes(expected.begin(), expected.end())) << "checksum and trailer";
}

TEST(Board, RefusesBadPacketsWithTheFailureLineAndKeepsItsPages) {
    BoardRig rig;
    PagePacket badWrite = buildWritePagePacket(pageNumbered(2, 9));
    badWrite[50] ^= 0x40;
    PageRecord page20 = pageNumbered(0, 9);
    page20.pageNum = 20;
    LivePacket badLive = buildLivePositionsPacket(MotorFields{});
    badLive[4] = 1;
    PagePacket badPlay = buildPlayPagePacket(pageNumbered(2, 9));
    badPlay[207] ^= 0x01;

    struct Case {
        Bytes bytes;
        Verdict verdict;
    };
    const std::vector<Case> cases{
        {Bytes(badWrite.begin(), badWrite.end()), Verdict::BadChecksum},
        {Bytes(badLive.begin(), badLive.end()), Verdict::BadChecksum},
        {Bytes(badPlay.begin(), badPlay.end()), Verdict::BadChecksum},
        {[&] {
             const auto p = buildWritePagePacket(page20);
             return Bytes(p.begin(), p.end());
         }(),
         Verdict::NoSuchPage},
        {[&] {
             const auto p = buildPlayPagePacket(page20);
             return Bytes(p.begin(), p.end());
         }(),
         Verdict::NoSuchPage},
        {[] {
             const auto p = buildReadRequest(20);
             return Bytes(p.begin(), p.end());
         }(),
         Verdict::NoSuchPage},
        {Bytes{'#', '#', '#', 'x', 0xFE, 0xFE, 0xFE, 0x0A}, Verdict::UnknownCommand},
        {[] {  // the 'd' of a done reply is no command to the board
             const auto p = buildDoneReply();
             return Bytes(p.begin(), p.end());
         }(),
         Verdict::UnknownCommand},
    };
    for (const Case& c : cases) {
        const BoardAnswer answer = rig.send(c.bytes);
        EXPECT_EQ(answer.verdict, c.verdict) << verdictText(c.verdict);
        EXPECT_EQ(answer.reply, kFailure);
    }
    EXPECT_EQ(rig.board.page(2), [] {
        PageRecord p = defaultPageRecord();
        p.pageNum = 2;
        return p;
    }());
    EXPECT_TRUE(rig.servos.moves.empty()) << "nothing moved on a refused packet";
}

TEST(Board, LivePositionsMoveTheServosSilently) {
    BoardRig rig;
    MotorFields fields;
    for (std::size_t m = 0; m < fields.size(); ++m) {
        fields[m] = static_cast<unsigned>(m * 9);
    }
    const BoardAnswer answer = rig.send(buildLivePositionsPacket(fields));
    EXPECT_EQ(answer.verdict, Verdict::Moved);
    EXPECT_TRUE(answer.reply.empty());
    EXPECT_EQ(rig.board.positions()[21], 189);
    ASSERT_EQ(rig.servos.moves.size(), 1u);
    EXPECT_EQ(rig.servos.moves[0], rig.board.positions());
    EXPECT_TRUE(rig.servos.steps.empty());
}

TEST(Board, PlayWalksEnabledStepsRepeatTimesAndAnswersNothing) {
    BoardRig rig;
    const BoardAnswer answer = rig.send(buildPlayPagePacket(steppedPage(4, 2, 2, 0)));
    EXPECT_EQ(answer.verdict, Verdict::Played);
    EXPECT_TRUE(answer.reply.empty());
    using S = Servos::Step;
    EXPECT_EQ(rig.servos.steps,
              (std::vector<S>{{4, 0, 1}, {4, 1, 1}, {4, 2, 1}, {4, 0, 2}, {4, 1, 2}, {4, 2, 2}}));
    EXPECT_EQ(rig.board.positions()[0], 34);
    EXPECT_EQ(rig.board.page(4).position[0], 100) << "playing stores nothing";

    rig.servos.steps.clear();
    rig.send(buildPlayPagePacket(steppedPage(1, 200, 0, 0)));
    ASSERT_EQ(rig.servos.steps.size(), kStepCount) << "enableStep over 7 stops at 7; repeat 0 once";
    EXPECT_EQ(rig.servos.steps.back(), (S{1, 7, 1}));
}

TEST(Board, PlayFollowsStoredNextPagesBoundedAgainstCycles) {
    BoardRig rig;
    rig.send(buildWritePagePacket(steppedPage(6, 0, 1, 7)));
    rig.send(buildWritePagePacket(steppedPage(7, 1, 1, 0)));
    rig.send(buildPlayPagePacket(steppedPage(2, 0, 1, 6)));
    using S = Servos::Step;
    EXPECT_EQ(rig.servos.steps, (std::vector<S>{{2, 0, 1}, {6, 0, 1}, {7, 0, 1}, {7, 1, 1}}));

    // 8 -> 9 -> 8 -> ...: ends after the bound, not never.
    rig.send(buildWritePagePacket(steppedPage(8, 0, 1, 9)));
    rig.send(buildWritePagePacket(steppedPage(9, 0, 1, 8)));
    rig.servos.steps.clear();
    rig.send(buildPlayPagePacket(steppedPage(8, 0, 1, 9)));
    EXPECT_EQ(rig.servos.steps.size(), kMostPagesPerPlay);

    // A next page beyond the board's pages ends the play.
    rig.servos.steps.clear();
    rig.send(buildPlayPagePacket(steppedPage(3, 0, 1, 42)));
    EXPECT_EQ(rig.servos.steps.size(), 1u);
}

TEST(Board, ListenerCanCutAPlayShort) {
    BoardRig rig;
    rig.servos.stopAfter = 3;
    rig.send(buildPlayPagePacket(steppedPage(5, 7, 10, 0)));
    EXPECT_EQ(rig.servos.steps.size(), 3u);
}
