// SPDX-License-Identifier: MIT
#include "ui/motor_panel.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>
#include <QTest>
#include <array>
#include <utility>
#include <vector>

#include "trackbar_input.h"

namespace kestrova::test {
namespace {

constexpr int kPanelCount = 22;

// Stands where the main window will: records each edit write and, as the edit's change
// handling does, moves the trackbar to the written value.
class EchoOwner : public kestrova::MotorPanelOwner {
  public:
    void writeMotorEdit(int motorIndex, int value) override {
        writes.emplace_back(motorIndex, value);
        panels[static_cast<std::size_t>(motorIndex)]->setTrackbarPosition(value);
    }

    std::vector<std::pair<int, int>> writes;
    std::array<CMotorPanel*, kPanelCount> panels{};
};

class MotorPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        top.resize(400, 680);
        frame = new QFrame(&top);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setLineWidth(2);
        frame->setGeometry(10, 40, 330, 620);
        for (int i = 0; i < kPanelCount; ++i) {
            auto* panel = new CMotorPanel(i, &owner, frame);
            owner.panels[static_cast<std::size_t>(i)] = panel;
            panel->show();
            panel->setUpPanel();
        }
        top.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
        window = top.windowHandle();
    }

    CMotorPanel& panel(int index) { return *owner.panels[static_cast<std::size_t>(index)]; }
    QPoint clientOrigin() const { return frame->contentsRect().topLeft(); }

    EchoOwner owner;
    QWidget top;
    QFrame* frame = nullptr;
    QWindow* window = nullptr;
};

TEST_F(MotorPanelTest, PressOnTheLabelDragsThePanelWithinTheFrame) {
    CMotorPanel& p = panel(4);
    const QPoint grip = inWindow(p.labelControl(), p.labelControl()->rect().center());
    const QPoint start = p.pos();

    QTest::mousePress(window, Qt::LeftButton, {}, grip);
    QTest::mouseMove(window, grip + QPoint(15, 20));
    EXPECT_EQ(p.pos(), start + QPoint(15, 20));

    QTest::mouseMove(window, grip + QPoint(2000, 2000));
    EXPECT_EQ(p.geometry().bottomRight(), frame->contentsRect().bottomRight());
    QTest::mouseMove(window, grip - QPoint(2000, 2000));
    EXPECT_EQ(p.pos(), clientOrigin());

    QTest::mouseMove(window, grip + QPoint(40, 30));
    QTest::mouseRelease(window, Qt::LeftButton, {}, grip + QPoint(40, 30));
    const QPoint dropped = p.pos();
    QTest::mouseMove(window, grip + QPoint(90, 90));
    EXPECT_EQ(p.pos(), dropped);

    EXPECT_EQ(p.trackbarControl()->value(), 0);
    EXPECT_TRUE(owner.writes.empty());
}

TEST_F(MotorPanelTest, PressOnTheTrackbarMovesTheThumbAndWritesTheEdit) {
    CMotorPanel& p = panel(4);
    const QSlider* slider = p.trackbarControl();
    const QPoint start = p.pos();
    const QPoint channelEnd = inWindow(slider, QPoint(slider->width() - 2, slider->height() / 2));

    QTest::mousePress(window, Qt::LeftButton, {}, channelEnd);
    QTest::mouseRelease(window, Qt::LeftButton, {}, channelEnd);

    EXPECT_EQ(p.pos(), start);
    ASSERT_GT(slider->value(), 0);
    ASSERT_GE(owner.writes.size(), 2u);
    for (const auto& [index, value] : owner.writes) {
        EXPECT_EQ(index, 4);
    }
    // The release repeats the final position.
    EXPECT_EQ(owner.writes.back().second, slider->value());
    EXPECT_EQ(owner.writes[owner.writes.size() - 2].second, slider->value());
}

TEST_F(MotorPanelTest, DraggingTheThumbWritesEveryMovementThenTheFinalValueAgain) {
    CMotorPanel& p = panel(4);
    p.setTrackbarPosition(100);
    ASSERT_TRUE(owner.writes.empty());

    const std::vector<int> expected = moveTrackbarTo(window, p.trackbarControl(), 120);

    ASSERT_GE(expected.size(), 3u);  // at least two movements and the release
    std::vector<int> written;
    for (const auto& [index, value] : owner.writes) {
        EXPECT_EQ(index, 4);
        written.push_back(value);
    }
    EXPECT_EQ(written, expected);
    EXPECT_EQ(p.trackbarControl()->value(), 120);
}

TEST_F(MotorPanelTest, TrackbarKeysWriteOnPressAndAgainOnReleaseEvenAtTheEnds) {
    CMotorPanel& p = panel(0);
    QSlider* slider = p.trackbarControl();
    slider->setFocus();

    QTest::keyClick(slider, Qt::Key_Right);
    p.setTrackbarPosition(200);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_End);

    EXPECT_EQ(owner.writes, (std::vector<std::pair<int, int>>{
                                {0, 1}, {0, 1}, {0, 200}, {0, 200}, {0, 200}, {0, 200}}));
}

TEST_F(MotorPanelTest, SettingThePositionWritesNothingAndStopsAtTheRangeEnd) {
    CMotorPanel& p = panel(7);

    p.setTrackbarPosition(230);
    EXPECT_EQ(p.trackbarControl()->value(), 200);
    p.setTrackbarPosition(-5);
    EXPECT_EQ(p.trackbarControl()->value(), 0);
    p.setTrackbarPosition(120);
    EXPECT_EQ(p.trackbarControl()->value(), 120);

    EXPECT_TRUE(owner.writes.empty());
}

}  // namespace
}  // namespace kestrova::test
