// SPDX-License-Identifier: MIT
// Get Step, Set Step, step Reset and the send buttons, with what reaches the far side of a
// real pseudo-terminal opened through the editor's port.
#include <QCheckBox>

#include "editor_fixture.h"
#include "protocol/packets.h"
#include "pty_port.h"

namespace kestrova::test {
namespace {

class StepCommandsTest : public ConnectedEditorTest {
  protected:
    void link() { click(id::kLinkToTarget); }

    // The live packet the fields would make now.
    Bytes livePacketOfFields() const {
        MotorFields fields{};
        for (int m = 0; m < 22; ++m) {
            fields[m] = dlg->readUnsigned(1000 + m);
        }
        const LivePacket packet = buildLivePositionsPacket(fields);
        return Bytes(packet.begin(), packet.end());
    }
};

TEST_F(StepCommandsTest, LinkedStepCommandsSendExactlyOnePacketEach) {
    link();
    ASSERT_TRUE(widget<QCheckBox>(id::kLinkToTarget)->isChecked());
    click(id::kResetStep);
    Bytes expected(34, 0x64);
    expected[0] = expected[1] = expected[2] = 0x23;
    expected[3] = 0x69;
    const std::uint8_t tail[] = {0x98, 0x08, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A};
    std::copy(std::begin(tail), std::end(tail), expected.end() - 8);
    EXPECT_EQ(pty.drain(), expected);
    EXPECT_EQ(liveSendBusy, 0);

    PageRecord record = defaultPageRecord();
    for (int m = 0; m < 22; ++m) {
        record.position[2 * 22 + m] = static_cast<std::uint8_t>(m * 9);
    }
    record.acc[2] = 7;
    record.rate[2] = 8;
    motionPage.setRecord(record);
    choose(id::kStepCombo, 2);
    click(id::kGetStep);
    EXPECT_EQ(dlg->readText(1021), "189");
    EXPECT_EQ(dlg->readText(id::kAccEdit), "7");
    EXPECT_EQ(dlg->readText(id::kRateEdit), "8");
    EXPECT_EQ(pty.drain(), livePacketOfFields());

    choose(id::kStepCombo, 6);
    click(id::kSetStep);
    EXPECT_EQ(pty.drain(), livePacketOfFields());
    StepPositions stored{};
    motionPage.getStepPositions(6, stored);
    EXPECT_EQ(stored[21], 189);
    EXPECT_EQ(motionPage.getAcc(6), 7);
    EXPECT_EQ(motionPage.getRate(6), 8);

    // One field change, even to the same number, sends the fields once.
    dlg->writeUnsigned(1003, 300);
    EXPECT_EQ(pty.drain(), livePacketOfFields());
    EXPECT_EQ(livePacketOfFields()[4 + 3], 0x2C);
    dlg->writeUnsigned(1003, 300);
    EXPECT_EQ(pty.drain().size(), 34u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StepCommandsTest, UnlinkedStepCommandsSendNothingButStillWork) {
    click(id::kResetStep);
    EXPECT_EQ(dlg->readText(1000), "100");
    EXPECT_EQ(dlg->readText(1021), "100");
    EXPECT_EQ(dlg->readText(id::kAccEdit), "50");
    EXPECT_EQ(dlg->readText(id::kRateEdit), "50");
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());  // the page is untouched
    dlg->writeUnsigned(1000, 5);
    click(id::kSetStep);
    StepPositions stored{};
    motionPage.getStepPositions(0, stored);
    EXPECT_EQ(stored[0], 5);
    click(id::kGetStep);
    EXPECT_TRUE(pty.drain().empty());
    EXPECT_EQ(liveSendBusy, 0);
}

TEST_F(EditorTest, SetStepRightAfterStartStoresZeros) {
    choose(id::kStepCombo, 4);
    click(id::kSetStep);
    StepPositions stored{};
    motionPage.getStepPositions(4, stored);
    EXPECT_EQ(stored, StepPositions{});
    EXPECT_EQ(motionPage.getAcc(4), 0);
    EXPECT_EQ(motionPage.getRate(4), 0);
}

TEST_F(StepCommandsTest, PageButtonsSendThePageAsStored) {
    click(id::kTargetSave);
    const Bytes save = pty.drain();
    ASSERT_EQ(save.size(), 215u);
    EXPECT_EQ(Bytes(save.begin(), save.begin() + 12),
              (Bytes{0x23, 0x23, 0x23, 0x77, 'N', 'o', 'n', 'a', 'm', 'e', 0, 0}));
    EXPECT_EQ(Bytes(save.end() - 8, save.end()), (Bytes{0x3F, 0x4A, 0, 0, 0xFE, 0xFE, 0xFE, 0x0A}));
    click(id::kPlay);
    Bytes play = pty.drain();
    ASSERT_EQ(play.size(), 215u);
    EXPECT_EQ(play[3], 0x74);
    play[3] = 0x77;
    EXPECT_EQ(play, save);
    choose(id::kPageNumCombo, 5);
    click(id::kTargetLoad);
    EXPECT_EQ(pty.drain(), (Bytes{0x23, 0x23, 0x23, 0x72, 0x05, 0xFE, 0xFE, 0xFE, 0x0A}));
}

TEST_F(EditorTest, SendingWithThePortClosedShowsError) {
    click(id::kPlay);
    click(id::kLinkToTarget);
    dlg->writeUnsigned(1000, 1);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"ERROR", "ERROR"}));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[0].owner, dlg.get());
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("ui_tests"));
    EXPECT_EQ(liveSendBusy, 0);
}

}  // namespace
}  // namespace kestrova::test
