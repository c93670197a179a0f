// SPDX-License-Identifier: MIT
// PLAY and Link to Target move the simulated servos; neither is answered.
#include <QSlider>

#include "sim_editor_fixture.h"
#include "ui/motor_panel.h"
#include "ui/trackbar_input.h"

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

// Step 1's positions with M3 moved.
std::string positionsWithM3(int value) {
    std::string text = "positions";
    for (std::size_t m = 0; m < kMotorCount; ++m) {
        text += " " + std::to_string(m == 2 ? static_cast<std::size_t>(value) : 20 + m);
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

TEST_P(MotionTest, LinkToTargetMovesTheServosWithTheSliders) {
    startAndConnect();
    loadPageFile(steppedPage());
    click(id::kLinkToTarget);
    choose(id::kStepCombo, 1);
    click(id::kGetStep);
    const auto fetched = waitForSimLine(positionsOfStep(1) + "  (live)");
    ASSERT_TRUE(fetched) << "Get Step sends the step's positions once";
    EXPECT_EQ(sim->findLine("<- live positions", *fetched + 1), std::nullopt);

    // Drag M3's trackbar from 22 towards 30 with the mouse, then onto it with the arrow keys:
    // every value the panel writes reaches the simulated servo, in order.
    QSlider* trackbar = dlg->motorPanel(2)->trackbarControl();
    ASSERT_EQ(trackbar->value(), 22);
    const std::vector<int> written = moveTrackbarTo(dlg->windowHandle(), trackbar, 30);
    ASSERT_EQ(trackbar->value(), 30);
    ASSERT_TRUE(spinUntil([&] {
        return sim->lineCount() > *fetched &&
               sim->line(sim->lineCount() - 1) == positionsWithM3(30) + "  (live)";
    }));
    std::vector<int> followed;
    const std::vector<std::string> lines = sim->lines();
    for (std::size_t i = *fetched + 1; i < lines.size(); ++i) {
        if (lines[i].starts_with("positions 20 21 ") && lines[i].ends_with("(live)")) {
            followed.push_back(std::stoi(lines[i].substr(16)));
        }
    }
    EXPECT_EQ(followed, written);

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
