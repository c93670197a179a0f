// SPDX-License-Identifier: MIT
#include "ui/motor_panel.h"

#include <gtest/gtest.h>

#include <QSlider>
#include <QTest>
#include <utility>
#include <vector>

#include "trackbar_input.h"

namespace kestrova::test {
namespace {

using Writes = std::vector<std::pair<int, int>>;

// Stands where the main window will: records each edit write and, as the edit's change
// handling does, moves the trackbar to the written value.
class EchoOwner : public MotorPanelOwner {
  public:
    void writeMotorEdit(int motorIndex, int value) override {
        writes.emplace_back(motorIndex, value);
        panel->setTrackbarPosition(value);
    }

    Writes writes;
    CMotorPanel* panel = nullptr;
};

class MotorPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        top.resize(300, 300);
        owner.panel = new CMotorPanel(4, &owner, &top);
        owner.panel->show();
        owner.panel->setUpPanel();
        top.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
    }

    EchoOwner owner;
    QWidget top;
    CMotorPanel*& panel = owner.panel;
};

TEST_F(MotorPanelTest, PressOnTheTrackbarMovesTheThumbAndWritesTheEditAgainOnRelease) {
    const QSlider* slider = panel->trackbarControl();
    const QPoint start = panel->pos();
    const QPoint channelEnd = inWindow(slider, QPoint(slider->width() - 2, slider->height() / 2));

    QTest::mousePress(top.windowHandle(), Qt::LeftButton, {}, channelEnd);
    QTest::mouseRelease(top.windowHandle(), Qt::LeftButton, {}, channelEnd);

    EXPECT_EQ(panel->pos(), start);
    ASSERT_GT(slider->value(), 0);
    ASSERT_GE(owner.writes.size(), 2u);
    const std::pair last{4, slider->value()};
    EXPECT_EQ(owner.writes.back(), last);
    EXPECT_EQ(owner.writes[owner.writes.size() - 2], last);
}

TEST_F(MotorPanelTest, TrackbarKeysWriteOnPressAndAgainOnReleaseEvenAtTheEnds) {
    QSlider* slider = panel->trackbarControl();
    slider->setFocus();

    QTest::keyClick(slider, Qt::Key_Right);
    panel->setTrackbarPosition(230);  // written nowhere, stops at the end
    EXPECT_EQ(slider->value(), 200);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_End);

    EXPECT_EQ(owner.writes, (Writes{{4, 1}, {4, 1}, {4, 200}, {4, 200}, {4, 200}, {4, 200}}));
}

}  // namespace
}  // namespace kestrova::test
