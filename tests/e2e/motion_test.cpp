// SPDX-License-Identifier: MIT
// PLAY and Link to Target move the simulated servos; neither is answered.
#include "sim_editor_fixture.h"

namespace kestrova::test {
namespace {

using MotionTest = SimEditorTest;

// Step s holds 10 * (s + 1) + motor on motor M(motor+1).
PageRecord steppedPage() {
    PageRecord page = defaultPageRecord();
    page.pageName = {'S', 't', 'e', 'p', 's', 0, 0};
    page.pageNum = 4;
    for (std::size_t s = 0; s < kStepCount; ++s) {
        for (std::size_t m = 0; m < kMotorCount; ++m) {
            page.position[s * kMotorCount + m] = static_cast<std::uint8_t>(10 * (s + 1) + m);
        }
    }
    page.enableStep = 2;
    page.repeat = 3;
    return page;
}

std::string positionsOfStep(std::size_t step) {
    std::string text = "positions";
    for (std::size_t m = 0; m < kMotorCount; ++m) {
        text += " " + std::to_string(10 * (step + 1) + m);
    }
    return text;
}

TEST_P(MotionTest, PlayWalksThePageOnTheSimulator) {
    startAndConnect();
    loadPageFile(steppedPage());
    click(id::kPlay);
    const auto played = waitForSimLine("<- play page 4 \"Steps\", checksum good");
    ASSERT_TRUE(played);
    const auto last = waitForSimLine(positionsOfStep(2) + "  (page 4 \"Steps\" step 2 round 3)");
    ASSERT_TRUE(last);
    EXPECT_EQ(*last - *played, 9u) << "steps 0 to 2, three times";
    EXPECT_FALSE(sim->findLine("step 3")) << "steps past enableStep stay still";
    spinFor(std::chrono::milliseconds(200));
    EXPECT_TRUE(boxes.shown.empty()) << "play is not answered";
}

TEST_P(MotionTest, LinkToTargetSendsEveryChangeOfTheMotorFields) {
    startAndConnect();
    loadPageFile(steppedPage());
    click(id::kLinkToTarget);
    choose(id::kStepCombo, 1);
    click(id::kGetStep);
    const auto fetched = waitForSimLine(positionsOfStep(1) + "  (live)");
    ASSERT_TRUE(fetched) << "Get Step sends the step's positions once";
    EXPECT_EQ(sim->findLine("<- live positions", *fetched + 1), std::nullopt);

    dlg->writeUnsigned(id::kMotorEdit0 + 21, 150);
    EXPECT_TRUE(waitForSimLine("positions 20 21 22", *fetched + 1));
    EXPECT_TRUE(waitForSimLine(" 150  (live)", *fetched + 1)) << "M22 follows the field";

    click(id::kLinkToTarget);  // unticked: the robot no longer follows
    const std::size_t before = sim->lineCount();
    dlg->writeUnsigned(id::kMotorEdit0, 33);
    spinFor(std::chrono::milliseconds(200));
    EXPECT_EQ(sim->findLine("<- live positions", before), std::nullopt);
    EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Transports, MotionTest, ::testing::Values(Transport::Tcp, Transport::Pty),
                         transportName);

}  // namespace
}  // namespace kestrova::test
