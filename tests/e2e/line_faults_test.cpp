// SPDX-License-Identifier: MIT
// Noise before a reply and a simulator that hangs up mid-session.
#include <QLineEdit>

#include "sim_editor_fixture.h"

namespace kestrova::test {
namespace {

using LineFaultsTest = SimEditorTest;

TEST_P(LineFaultsTest, NoiseOverflowsOnceThenRepliesAreRecognisedAgain) {
    // 283 bytes of noise and the 8-byte done reply fill the editor's 291-byte limit exactly,
    // so the overflow takes the reply with it and leaves the buffer empty.
    startAndConnect({"--noise", "283", "--noise-replies", "1", "--seed", "5"});
    click(id::kTargetSave);
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(boxes.texts(), std::vector<QString>{"Bad communication"});

    click(id::kTargetSave);
    ASSERT_TRUE(waitForBoxes(2));
    click(id::kTargetLoad);
    ASSERT_TRUE(waitForSimLine("-> page 0"));
    spinFor(std::chrono::milliseconds(200));
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"Bad communication", "Save done!"}));
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());
}

TEST_P(LineFaultsTest, HangUpReportsErrorAndDisconnectConnectRecovers) {
    startAndConnect({"--drop-after", "2"});
    click(id::kTargetSave);
    ASSERT_TRUE(waitForBoxes(1));
    click(id::kTargetSave);
    ASSERT_TRUE(waitForBoxes(2));
    ASSERT_TRUE(waitForSimLine("hanging up after 2 packet(s)"));

    // The port notices the hang-up on its own; until it has, a write may still seem to go.
    boxes.shown.clear();
    ASSERT_TRUE(spinUntil([&] {
        click(id::kTargetSave);
        spinFor(std::chrono::milliseconds(20));
        return !boxes.shown.empty();
    }));
    EXPECT_EQ(boxes.texts().front(), "ERROR");
    EXPECT_EQ(boxes.shown.front().icon, MessageIcon::Exclamation);
    for (const QString& text : boxes.texts()) {
        EXPECT_NE(text, "Save done!");
    }

    // Still editing as before.
    auto* name = widget<QLineEdit>(id::kPageNameEdit);
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, "Again");
    PageName expected{'A', 'g', 'a', 'i', 'n', 0, 0};
    PageName shown{};
    motionPage.getPageName(shown);
    EXPECT_EQ(shown, expected);

    disconnect();
    connect();
    click(id::kTargetSave);
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(boxes.texts(), std::vector<QString>{"Save done!"});
    EXPECT_TRUE(waitForSimLine("<- write page 0 \"Again\", checksum good"));
}

INSTANTIATE_TEST_SUITE_P(Transports, LineFaultsTest,
                         ::testing::Values(Transport::Tcp, Transport::Pty), transportName);

}  // namespace
}  // namespace kestrova::test
