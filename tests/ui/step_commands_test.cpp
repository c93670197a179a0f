// SPDX-License-Identifier: MIT
// Get Step, Set Step and step Reset, with the live packets that reach the far side of a real
// pseudo-terminal opened through the editor's port.
#include "editor_fixture.h"

namespace kestrova::test {
namespace {

StepPositions storedStep(unsigned step) {
    StepPositions stored{};
    motionPage.getStepPositions(step, stored);
    return stored;
}

TEST_F(PtyEditorTest, StepCommandsSendOnePacketEachWhenLinkedWithTheLowBytesAndNoneWhenNot) {
    connect();
    click(id::kResetStep);
    EXPECT_EQ(readTexts({1021, id::kAccEdit, id::kRateEdit}), QStringList({"100", "50", "50"}));
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());  // the page is untouched
    EXPECT_TRUE(drain().empty());
    click(id::kLinkToTarget);
    click(id::kResetStep);
    StepPositions hundreds{};
    hundreds.fill(100);
    EXPECT_EQ(drainLive(), std::vector{hundreds});

    PageRecord record = defaultPageRecord();
    for (std::size_t m = 0; m < kMotorCount; ++m) {
        record.position[2 * kMotorCount + m] = static_cast<std::uint8_t>(m * 9);
    }
    record.acc[2] = 7;
    record.rate[2] = 8;
    motionPage.setRecord(record);
    choose(id::kStepCombo, 2);
    click(id::kGetStep);
    EXPECT_EQ(drainLive(), std::vector{storedStep(2)});
    EXPECT_EQ(readTexts({id::kAccEdit, id::kRateEdit}), QStringList({"7", "8"}));

    // One field change, even to the same number, sends the fields once; only the low byte of
    // a value goes out or is stored.
    dlg->writeUnsigned(1003, 300);
    dlg->writeUnsigned(1003, 300);
    const auto changes = drainLive();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1][3], 0x2C);
    choose(id::kStepCombo, 6);
    click(id::kSetStep);
    EXPECT_EQ(drainLive(), std::vector{changes[1]});
    EXPECT_EQ(storedStep(6), changes[1]);
    EXPECT_EQ(std::pair(+motionPage.getAcc(6), +motionPage.getRate(6)), std::pair(7, 8));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(liveSendBusy, 0);
}

TEST_F(EditorTest, SetStepRightAfterStartStoresZerosAndAClosedPortShowsError) {
    click(id::kLinkToTarget);
    choose(id::kStepCombo, 4);
    click(id::kSetStep);
    EXPECT_EQ(storedStep(4), StepPositions{});
    EXPECT_EQ(std::pair(+motionPage.getAcc(4), +motionPage.getRate(4)), std::pair(0, 0));
    ASSERT_EQ(boxes.texts(), std::vector<QString>{"ERROR"});
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[0].owner, dlg.get());
    EXPECT_EQ(liveSendBusy, 0);
}

}  // namespace
}  // namespace kestrova::test
