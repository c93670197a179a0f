// SPDX-License-Identifier: MIT
// Get Step, Set Step, step Reset and the send buttons, with what reaches the far side of a
// real pseudo-terminal opened through the editor's port.
#include "editor_fixture.h"
#include "protocol/packets.h"
#include "pty_port.h"

namespace kestrova::test {
namespace {

class StepCommandsTest : public ConnectedEditorTest {
  protected:
    // The live packet the fields would make now.
    Bytes livePacketOfFields() const {
        MotorFields fields{};
        for (int m = 0; m < 22; ++m) {
            fields[m] = dlg->readUnsigned(1000 + m);
        }
        const LivePacket packet = buildLivePositionsPacket(fields);
        return Bytes(packet.begin(), packet.end());
    }

    static StepPositions storedStep(unsigned step) {
        StepPositions stored{};
        motionPage.getStepPositions(step, stored);
        return stored;
    }
};

TEST_F(StepCommandsTest, LinkedStepCommandsSendExactlyOnePacketEach) {
    click(id::kLinkToTarget);
    click(id::kResetStep);
    EXPECT_EQ(dlg->readText(1000), "100");
    EXPECT_EQ(pty.drain(), livePacketOfFields());

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

    // One field change, even to the same number, sends the fields once; only the low byte of
    // a value goes out or is stored.
    dlg->writeUnsigned(1003, 300);
    EXPECT_EQ(pty.drain(), livePacketOfFields());
    EXPECT_EQ(livePacketOfFields()[4 + 3], 0x2C);
    dlg->writeUnsigned(1003, 300);
    EXPECT_EQ(pty.drain().size(), 34u);

    choose(id::kStepCombo, 6);
    click(id::kSetStep);
    EXPECT_EQ(pty.drain(), livePacketOfFields());
    EXPECT_EQ(storedStep(6)[21], 189);
    EXPECT_EQ(storedStep(6)[3], 0x2C);
    EXPECT_EQ(std::make_pair(motionPage.getAcc(6), motionPage.getRate(6)),
              std::make_pair(std::uint8_t{7}, std::uint8_t{8}));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(liveSendBusy, 0);
}

TEST_F(StepCommandsTest, UnlinkedStepCommandsSendNothingButStillWork) {
    choose(id::kStepCombo, 4);
    click(id::kSetStep);  // right after start-up: the empty fields store zeros
    EXPECT_EQ(storedStep(4), StepPositions{});
    EXPECT_EQ(motionPage.getAcc(4) + motionPage.getRate(4), 0);

    click(id::kResetPage);
    click(id::kResetStep);
    EXPECT_EQ(dlg->readText(1021), "100");
    EXPECT_EQ(dlg->readText(id::kAccEdit), "50");
    EXPECT_EQ(dlg->readText(id::kRateEdit), "50");
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());  // the page is untouched
    dlg->writeUnsigned(1000, 5);
    click(id::kSetStep);
    EXPECT_EQ(storedStep(0)[0], 5);
    click(id::kGetStep);
    EXPECT_TRUE(pty.drain().empty());
    EXPECT_EQ(liveSendBusy, 0);
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
    ASSERT_EQ(boxes.texts(), (std::vector<QString>{"ERROR", "ERROR"}));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[0].owner, dlg.get());
    EXPECT_EQ(liveSendBusy, 0);
}

}  // namespace
}  // namespace kestrova::test
