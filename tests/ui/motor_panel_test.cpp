// SPDX-License-Identifier: MIT
#include "ui/motor_panel.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <array>
#include <utility>
#include <vector>

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

QPoint inWindow(const QWidget* widget, QPoint point) {
    return widget->mapTo(widget->window(), point);
}

QRect handleRect(const QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.tickPosition = slider->tickPosition();
    option.subControls = QStyle::SC_All;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                           slider);
}

class MotorPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog.resize(400, 680);
        okButton = new QPushButton("OK", &dialog);
        okButton->setDefault(true);
        QObject::connect(okButton, &QPushButton::clicked, &dialog, &QDialog::accept);
        frame = new QFrame(&dialog);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setLineWidth(2);
        frame->setGeometry(10, 40, 330, 620);
        for (int i = 0; i < kPanelCount; ++i) {
            auto* panel = new CMotorPanel(i, &owner, frame);
            owner.panels[static_cast<std::size_t>(i)] = panel;
            panel->show();
            panel->setUpPanel();
        }
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        window = dialog.windowHandle();
    }

    CMotorPanel& panel(int index) { return *owner.panels[static_cast<std::size_t>(index)]; }
    QPoint clientOrigin() const { return frame->contentsRect().topLeft(); }

    EchoOwner owner;
    QDialog dialog;
    QPushButton* okButton = nullptr;
    QFrame* frame = nullptr;
    QWindow* window = nullptr;
};

struct PanelRow {
    int index;
    const char* label;
    int left;
    int top;
};

constexpr std::array<PanelRow, kPanelCount> kPanelRows{{
    {0, "M1(PB0)", 10, 36},     {1, "M2(PB1)", 20, 72},     {2, "M3(PB2)", 30, 108},
    {3, "M4(PB3)", 40, 144},    {4, "M5(PB4)", 50, 180},    {5, "M6(PB5)", 60, 216},
    {6, "M7(PB6)", 70, 252},    {7, "M8(PB7)", 80, 288},    {8, "M9(PE0)", 90, 324},
    {9, "M10(PE1)", 100, 360},  {10, "M11(PE2)", 110, 396}, {11, "M12(PE3)", 120, 432},
    {12, "M13(PC0)", 130, 36},  {13, "M14(PC1)", 140, 72},  {14, "M15(PC2)", 150, 108},
    {15, "M16(PC3)", 160, 144}, {16, "M17(PC4)", 170, 180}, {17, "M18(PC5)", 180, 216},
    {18, "M19(PC6)", 190, 252}, {19, "M20(PC7)", 200, 288}, {20, "M21(PD4)", 210, 324},
    {21, "M22(PD5)", 220, 360},
}};

TEST_F(MotorPanelTest, EveryPanelStartsOnItsStaircaseLabelledWithAnIdleTrackbar) {
    for (const auto& row : kPanelRows) {
        SCOPED_TRACE(row.label);
        const CMotorPanel& p = panel(row.index);
        EXPECT_EQ(p.geometry(), QRect(clientOrigin() + QPoint(row.left, row.top), QSize(63, 36)));
        const QLabel* label = p.labelControl();
        EXPECT_EQ(label->text(), row.label);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width());
        EXPECT_TRUE(p.isVisible());
        const QSlider* slider = p.trackbarControl();
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
        EXPECT_EQ(std::pair(slider->minimum(), slider->maximum()), std::pair(0, 200));
        EXPECT_EQ(slider->value(), 0);
        // Both controls lie inside the panel's border.
        EXPECT_TRUE(p.contentsRect().contains(label->geometry()));
        EXPECT_TRUE(p.contentsRect().contains(slider->geometry()));
        EXPECT_LT(label->geometry().top(), slider->geometry().top());
        for (int other = 0; other < row.index; ++other) {
            EXPECT_FALSE(p.geometry().intersects(panel(other).geometry())) << "M" << other + 1;
        }
    }
    EXPECT_TRUE(owner.writes.empty());
}

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
    QSlider* slider = p.trackbarControl();
    p.setTrackbarPosition(100);
    ASSERT_TRUE(owner.writes.empty());

    QPoint pointer = inWindow(slider, handleRect(slider).center());
    QTest::mousePress(window, Qt::LeftButton, {}, pointer);
    std::vector<int> positions;
    for (int step = 0; step < 60 && slider->sliderPosition() < 120; ++step) {
        pointer += QPoint(1, 0);
        const int before = slider->sliderPosition();
        QTest::mouseMove(window, pointer);
        if (slider->sliderPosition() != before) {
            positions.push_back(slider->sliderPosition());
        }
    }
    QTest::mouseRelease(window, Qt::LeftButton, {}, pointer);

    ASSERT_GE(slider->value(), 120);
    ASSERT_GE(positions.size(), 2u);
    positions.push_back(slider->value());
    std::vector<int> written;
    for (const auto& [index, value] : owner.writes) {
        EXPECT_EQ(index, 4);
        written.push_back(value);
    }
    EXPECT_EQ(written, positions);
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

TEST_F(MotorPanelTest, EnterAndEscapeOnATrackbarNeitherHideThePanelNorEndTheWindow) {
    CMotorPanel& p = panel(3);
    QSlider* slider = p.trackbarControl();
    slider->setFocus();
    QObject::connect(&dialog, &QDialog::rejected, [] { ADD_FAILURE() << "window cancelled"; });
    QObject::connect(&dialog, &QDialog::accepted, [] { ADD_FAILURE() << "default button"; });

    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(slider, key);
    }

    EXPECT_TRUE(p.isVisible());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(owner.writes.empty());
}

}  // namespace
