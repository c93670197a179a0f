// SPDX-License-Identifier: MIT
// The session with a robot profile open: limits on every value the user gives, the question
// before sending a page that breaks them, the home pose and the mirror commands.
#include "tests/app/session_fixture.h"

namespace kestrova::test {
namespace {

constexpr std::size_t kLivePacketSize = 34;

// M1/M2 a plain pair, M5/M6 an inverted pair, M22 an inverted centre servo.
RobotProfile testRobot() {
    RobotProfile robot;
    robot.motors[0] = {"left hip", "", Side::Left, 0, 200, 90, 1, false};
    robot.motors[1] = {"right hip", "", Side::Right, 50, 200, 100, 0, false};
    robot.motors[4] = {"left elbow", "", Side::Left, 20, 180, 100, 5, true};
    robot.motors[5] = {"right elbow", "", Side::Right, 30, 170, 110, 4, true};
    robot.motors[21] = {"head", "", Side::Centre, 60, 200, 120, std::nullopt, true};
    return robot;
}

class ProfileSessionTest : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        session.setProfile(testRobot());
    }
    Bytes positionsAt(std::size_t step) const {
        const auto first = session.page().position.begin() + step * kMotorCount;
        return {first, first + kMotorCount};
    }
};

Bytes homePose() {
    Bytes pose(kMotorCount, 100);
    pose[0] = 90;
    pose[5] = 110;
    pose[21] = 120;
    return pose;
}

// One clipboard line: 100 in every field but `value` at `field`.
std::string stepText(std::size_t field, int value) {
    std::string text;
    for (std::size_t k = 0; k < kStepLineSize; ++k) {
        text += std::to_string(k == field ? value : 100) + (k + 1 < kStepLineSize ? "\t" : "\n");
    }
    return text;
}

// Sliders and keys stop at the limit, so no live packet carries a value outside; a typed or
// pasted value outside is refused, naming the motor, and changes nothing. Step Reset and the
// step Delete Step adds take the home pose.
TEST_F(ProfileSessionTest, NoValueGivenLeavesTheLimits) {
    EXPECT_EQ(session.motorCaption(4), "M5(PB4) left elbow");
    EXPECT_EQ(session.motorCaption(2), "M3(PB2)");
    connect();
    session.setLinkedToTarget(true);
    session.onResetStep();
    Bytes positions = homePose();
    EXPECT_EQ(pty.receive(kLivePacketSize), livePacket(positions, 0x08AC));
    session.setDraftValue(4, 0);
    positions[4] = 20;  // 2220 - 80 = 2140
    EXPECT_EQ(pty.receive(kLivePacketSize), livePacket(positions, 0x085C));
    session.setDraftValue(4, 250);
    positions[4] = 180;  // 2220 + 80 = 2300
    EXPECT_EQ(pty.receive(kLivePacketSize), livePacket(positions, 0x08FC));

    session.onTableValueTyped(2, 4, 19);
    EXPECT_TRUE(session.onPasteStep(stepText(5, 171)));
    EXPECT_TRUE(session.undoLabel().empty()) << "nothing changed";
    EXPECT_TRUE(session.onPasteStep(stepText(5, 170)));
    EXPECT_EQ(positionsAt(0)[5], 170);
    EXPECT_EQ(texts(),
              (std::vector<QString>{"M5 left elbow: 19 is outside its limits 20 to 180.",
                                    "M6 right elbow: 171 is outside its limits 30 to 170."}));
    EXPECT_TRUE(drain().empty());
    session.onDeleteStep();  // the step it adds takes the home pose
    EXPECT_EQ(std::pair(positionsAt(7), positionsAt(6)),
              std::pair(homePose(), Bytes(kMotorCount, 100)));
}

// PLAY and To Target Save of a page breaking the limits ask first; No sends nothing, Yes
// sends the page as it is.
TEST_F(ProfileSessionTest, APageBreakingTheLimitsIsSentOnlyOnYes) {
    PageRecord page = samplePage();
    page.enableStep = 5;
    page.position.fill(100);
    page.position[3 * kMotorCount + 4] = 0;
    page.position[4 * kMotorCount + 1] = 10;
    load(page);
    connect();
    bool answer = false;
    whileOpen = [&](const SessionMessage& box) {
        if (box.yes != nullptr) {
            *box.yes = answer;
        }
    };
    session.sendPagePlay();
    session.sendPageWrite();
    EXPECT_TRUE(drain().empty());
    answer = true;
    session.sendPagePlay();
    EXPECT_EQ(drain(), bytesOf(buildPagePacket(page, command::kPlayPage)));
    const QString question = "Step 3: M5 left elbow is 0, below its limit 20. Send anyway?";
    EXPECT_EQ(texts(), (std::vector<QString>{question, question, question}));
}

// Each command changes the STEP step as one undo step of its own name, sends nothing and names
// the clamped motor; the arithmetic itself is left to the profile's mirror test.
TEST_F(ProfileSessionTest, MirrorCommandsAreOneUndoStepEach) {
    PageRecord page = defaultPageRecord();
    page.position[2 * kMotorCount + 4] = 30;  // M5 70 below its home 100: M6 would be at 180
    load(page);
    session.setStep(2);
    connect();
    session.setLinkedToTarget(true);
    const Bytes original = positionsAt(2);
    const QString kHeld = "M6 right elbow was held at its limit.";
    struct Case {
        MirrorCommand command;
        std::string label;
        std::pair<int, int> m5AndM6;  // M6 at 100 is 10 below its home 110
        std::vector<QString> boxes;
    };
    const std::array<Case, 3> cases{{
        {MirrorCommand::MirrorStep, "Mirror Step", {110, 170}, {kHeld}},
        {MirrorCommand::CopyLeftToRight, "Copy Left to Right", {30, 170}, {kHeld}},
        {MirrorCommand::CopyRightToLeft, "Copy Right to Left", {110, 100}, {}},
    }};
    for (const Case& c : cases) {
        shown.clear();
        session.onMirror(c.command);
        const Bytes step = positionsAt(2);
        EXPECT_EQ((std::pair<int, int>(step[4], step[5])), c.m5AndM6) << c.label;
        EXPECT_EQ(session.undoLabel(), c.label);
        EXPECT_EQ(texts(), c.boxes) << c.label;
        session.onUndo();
        EXPECT_EQ(positionsAt(2), original) << c.label;
    }
    EXPECT_TRUE(drain().empty());
}

}  // namespace
}  // namespace kestrova::test
