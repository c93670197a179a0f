// SPDX-License-Identifier: MIT
// The step draft and the live-positions stream: Get, Set and Reset Step with unset fields,
// one packet per change of a motor field, the pause after each, and liveSendBusy.
#include <QElapsedTimer>
#include <numeric>

#include "tests/app/session_fixture.h"

namespace kestrova::test {
namespace {

const Bytes kHundreds(kMotorCount, 100);  // the default step; 22 x 100 = 2200 = 0x0898

std::vector<int> stepOf(const PageRecord& page, std::size_t step) {
    const StepLine line = readStepLine(page, step);
    return {line.begin(), line.end()};
}

// Nothing goes out until every motor field is set (an unset one would go out as 0, an
// extreme), and Set Step stores nothing and is refused; once set, only a value's low byte is
// stored.
TEST_F(SessionTest, UnsetFieldsSendNothingAndSetStepStoresNothing) {
    connect();
    session.setLinkedToTarget(true);
    int refusals = 0;
    QObject::connect(&session, &EditorSession::refused, [&] { ++refusals; });
    const PageRecord start = session.page();
    session.setDraftValue(0, 7);
    session.setDraftValue(kAccIndex, 12);
    session.setStep(3);
    session.onSetStep();
    EXPECT_EQ(session.page(), start);
    EXPECT_EQ(std::pair(refusals, session.undoLabel()), std::pair(1, std::string_view()));
    EXPECT_TRUE(drain().empty());

    session.onResetStep();
    EXPECT_EQ(pty.receive(kLivePacketSize), livePacket(kHundreds, 0x0898));
    session.setDraftValue(4, 300);
    Bytes positions = kHundreds;
    positions[4] = 0x2C;  // 300's low byte; the sum 2200 - 100 + 44 = 2144 = 0x0860
    EXPECT_EQ(pty.receive(kLivePacketSize), livePacket(positions, 0x0860));
    session.onSetStep();
    EXPECT_EQ(pty.receive(kLivePacketSize), livePacket(positions, 0x0860));
    std::vector<int> expected(kMotorCount, 100);
    expected[4] = 44;
    expected.insert(expected.end(), {50, 50});
    EXPECT_EQ(stepOf(session.page(), 3), expected);
    EXPECT_EQ(refusals, 1);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(drain().empty());
}

// Get Step fills the draft from STEP (a value above 200 as stored) and sends once; the fields
// written in bulk find liveSendBusy held. ACC and Rate never send; unlinked nothing does.
TEST_F(SessionTest, GetStepSendsOncePerCommandAndEachMotorChangeOnce) {
    connect();
    PageRecord page = defaultPageRecord();
    std::iota(page.position.begin() + 44, page.position.begin() + 66, 200);  // step 2: 200..221
    std::tie(page.acc[2], page.rate[2]) = std::pair(7, 8);
    load(page);
    session.setStep(2);
    std::vector<int> busyAt;
    QObject::connect(&session, &EditorSession::draftChanged,
                     [&](int index) { busyAt.push_back(index * 10 + session.liveSendBusy()); });
    session.onGetStep();
    EXPECT_TRUE(drain().empty()) << "not linked";
    std::vector<int> expectedBusy;
    for (int index = 0; index < 24; ++index) {
        expectedBusy.push_back(index * 10 + (index < 22 ? 1 : 0));
    }
    EXPECT_EQ(busyAt, expectedBusy);
    EXPECT_EQ(session.draft()[21], 221);
    EXPECT_EQ(std::pair(session.draft()[kAccIndex], session.draft()[kRateIndex]),
              std::pair(std::optional(7), std::optional(8)));

    session.setLinkedToTarget(true);
    session.onGetStep();
    Bytes positions(kMotorCount);
    std::iota(positions.begin(), positions.end(), 200);  // 200 + ... + 221 = 4631 = 0x1217
    EXPECT_EQ(pty.receive(kLivePacketSize), livePacket(positions, 0x1217));
    session.setDraftValue(kAccIndex, 3);
    session.setDraftValue(kRateIndex, 3);
    QElapsedTimer paced;
    paced.start();
    session.setDraftValue(0, 200);  // the same value: still a change of the field
    session.setDraftValue(1, 201);
    EXPECT_GE(paced.elapsed(), 200) << "each packet is followed by the 100 ms pause";
    const Bytes one = livePacket(positions, 0x1217);
    Bytes both = one;
    both.insert(both.end(), one.begin(), one.end());
    EXPECT_EQ(pty.receive(2 * kLivePacketSize), both);
}

}  // namespace
}  // namespace kestrova::test
