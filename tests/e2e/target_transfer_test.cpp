// SPDX-License-Identifier: MIT
// To Target Save and Load against the simulator: pages survive the round trip byte for byte,
// however the replies are cut up, and refused packets show "Failed!!".
#include <QLineEdit>

#include "sim_editor_fixture.h"

namespace kestrova::test {
namespace {

class TargetTransferTest : public SimEditorTest {
  protected:
    // A page made with the editor's own controls: name, number, lists and one edited step.
    PageRecord editPage() {
        auto* name = widget<QLineEdit>(id::kPageNameEdit);
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, "Wave");
        choose(id::kPageNumCombo, 7);
        choose(id::kEnableStepCombo, 3);
        choose(id::kNextPageCombo, 5);
        choose(id::kRepeatCombo, 2);
        choose(id::kStepCombo, 2);
        for (int motor = 0; motor < static_cast<int>(kMotorCount); ++motor) {
            dlg->writeUnsigned(id::kMotorEdit0 + motor, 20 + 7 * static_cast<unsigned>(motor));
        }
        dlg->writeUnsigned(id::kAccEdit, 12);
        dlg->writeUnsigned(id::kRateEdit, 180);
        click(id::kSetStep);
        const PageRecord page = motionPage.getRecord();
        EXPECT_NE(page, defaultPageRecord());
        return page;
    }

    // Reset, choose the page number, To Target Load: the page the simulator holds comes back.
    void loadBack(std::uint8_t pageNum) {
        click(id::kResetPage);
        EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());
        choose(id::kPageNumCombo, pageNum);
        click(id::kTargetLoad);
    }

    bool saveDone() {
        boxes.shown.clear();
        click(id::kTargetSave);
        const bool done = waitForBoxes(1) && boxes.texts() == std::vector<QString>{"Save done!"};
        boxes.shown.clear();
        return done;
    }
};

// A record that trips naive framing: FE FE FE runs, "###", 0x0A and a repeat of 254.
PageRecord awkwardPage() {
    PageRecord page = defaultPageRecord();
    page.pageName = {'E', 'd', 'g', 'e', 's', '!', '#'};
    page.pageNum = 11;
    page.position.fill(0xFE);
    page.position[40] = '#';
    page.position[41] = '#';
    page.position[42] = '#';
    page.position[43] = 0x0A;
    page.acc.fill(0xFE);
    page.repeat = 254;
    return page;
}

TEST_P(TargetTransferTest, SavedPageComesBackByteForByte) {
    startAndConnect();
    const PageRecord page = editPage();
    ASSERT_TRUE(saveDone());
    EXPECT_TRUE(waitForSimLine("<- write page 7 \"Wave\", checksum good"));

    loadBack(7);
    ASSERT_TRUE(spinUntil([&] { return motionPage.getRecord() == page; }));
    EXPECT_EQ(toBytes(motionPage.getRecord()), toBytes(page));
    EXPECT_EQ(dlg->readText(id::kPageNameEdit), "Wave");
    EXPECT_EQ(dlg->readText(id::kRepeatCombo), "3") << "the third entry: repeat 3";
    EXPECT_TRUE(waitForSimLine("-> page 7 \"Wave\" (215 bytes)"));
    EXPECT_TRUE(boxes.shown.empty()) << "a page reply shows no box";
}

TEST_P(TargetTransferTest, RepliesCutIntoSmallWritesStillArriveWhole) {
    for (const char* chunk : {"1", "7"}) {
        SCOPED_TRACE(chunk);
        startAndConnect({"--chunk", chunk});
        loadPageFile(awkwardPage());
        ASSERT_TRUE(saveDone());
        loadBack(11);
        ASSERT_TRUE(spinUntil([&] { return motionPage.getRecord() == awkwardPage(); }));
        EXPECT_TRUE(boxes.shown.empty());
        disconnect();
    }
}

TEST_P(TargetTransferTest, RefusedPacketsShowFailed) {
    startAndConnect();
    PageRecord outOfRange = defaultPageRecord();
    outOfRange.pageNum = 25;  // only a page file can carry it
    loadPageFile(outOfRange);
    click(id::kTargetSave);
    ASSERT_TRUE(waitForBoxes(1));
    click(id::kTargetLoad);
    ASSERT_TRUE(waitForBoxes(2));
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"Failed!!", "Failed!!"}));
    EXPECT_EQ(boxes.shown[0].owner, dlg.get());
    EXPECT_TRUE(waitForSimLine("-> failure line (no such page)"));

    // The simulator still holds its own page 0: nothing was stored.
    boxes.shown.clear();
    loadBack(0);
    PageRecord pageZero = defaultPageRecord();
    ASSERT_TRUE(spinUntil([&] { return sim->findLine("-> page 0").has_value(); }));
    EXPECT_TRUE(spinUntil([&] { return motionPage.getRecord() == pageZero; }));
    EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Transports, TargetTransferTest,
                         ::testing::Values(Transport::Tcp, Transport::Pty), transportName);

}  // namespace
}  // namespace kestrova::test
