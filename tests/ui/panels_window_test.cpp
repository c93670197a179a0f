// SPDX-License-Identifier: MIT
// The motor panels, the arrow keys and the step table inside the main window, with what the
// live-positions stream puts on the far side of a real pseudo-terminal. Dragging a trackbar
// while linked runs end to end against the simulator.
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

#include "editor_fixture.h"
#include "ui/motor_panel.h"

namespace kestrova::test {
namespace {

class PanelsTest : public PtyEditorTest {
  protected:
    void SetUp() override {
        PtyEditorTest::SetUp();
        connect();
    }
    QSlider* trackbar(int motor) const { return dlg->motorPanel(motor)->trackbarControl(); }
    std::vector<int> moveTo(int motor, int value) const {
        return moveTrackbarTo(dlg->windowHandle(), trackbar(motor), value);
    }
    void arrowKey(int editId, Qt::Key key) const {
        dlg->control(editId)->setFocus();
        QTest::keyClick(dlg->control(editId), key);
    }
    // Motor `motor`'s byte in each live packet drained.
    std::vector<int> drainLiveOf(int motor) {
        std::vector<int> values;
        for (const StepPositions& packet : drainLive()) {
            values.push_back(packet[static_cast<std::size_t>(motor)]);
        }
        return values;
    }
    CStepTableView& table() const { return *dlg->stepTableView(); }
};

constexpr const char* kLabels[22] = {
    "M1(PB0)",  "M2(PB1)",  "M3(PB2)",  "M4(PB3)",  "M5(PB4)",  "M6(PB5)",  "M7(PB6)",  "M8(PB7)",
    "M9(PE0)",  "M10(PE1)", "M11(PE2)", "M12(PE3)", "M13(PC0)", "M14(PC1)", "M15(PC2)", "M16(PC3)",
    "M17(PC4)", "M18(PC5)", "M19(PC6)", "M20(PC7)", "M21(PD4)", "M22(PD5)"};

TEST_F(PanelsTest, EveryPanelStartsOnItsStaircaseInsideTheFrameLabelledWithAnIdleTrackbar) {
    const QPoint origin = dlg->control(id::kPictureFrame)->contentsRect().topLeft();
    for (int index = 0; index < 22; ++index) {
        SCOPED_TRACE(kLabels[index]);
        const CMotorPanel* panel = dlg->motorPanel(index);
        EXPECT_EQ(panel->parentWidget(), dlg->control(id::kPictureFrame));
        const QPoint staircase(10 * index + 10, 36 * (index % 12) + 36);
        EXPECT_EQ(panel->geometry(), QRect(origin + staircase, QSize(63, 36)));
        const QLabel* label = panel->labelControl();
        EXPECT_EQ(label->text(), kLabels[index]);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width());
        const QSlider* slider = panel->trackbarControl();
        EXPECT_TRUE(panel->contentsRect().contains(slider->geometry() | label->geometry()));
        EXPECT_LT(label->geometry().top(), slider->geometry().top());
        EXPECT_EQ(std::tuple(slider->orientation(), slider->tickPosition(), slider->minimum(),
                             slider->maximum(), slider->value()),
                  std::tuple(Qt::Horizontal, QSlider::NoTicks, 0, 200, 0));
        for (int other = 0; other < index; ++other) {
            EXPECT_FALSE(panel->geometry().intersects(dlg->motorPanel(other)->geometry()));
        }
    }
}

TEST_F(PanelsTest, PanelsDragInsideTheFrameAndAPressOnTheTrackbarMovesTheThumbInstead) {
    CMotorPanel* panel = dlg->motorPanel(21);
    const QRect frame = dlg->control(id::kPictureFrame)->contentsRect();
    QWindow* window = dlg->windowHandle();
    const QPoint grip = inWindow(panel->labelControl(), panel->labelControl()->rect().center());
    QTest::mousePress(window, Qt::LeftButton, {}, grip);
    QTest::mouseMove(window, grip + QPoint(-30, 40));
    EXPECT_EQ(panel->pos(), frame.topLeft() + QPoint(190, 400));
    QTest::mouseMove(window, grip + QPoint(3000, 3000));
    QTest::mouseRelease(window, Qt::LeftButton, {}, grip + QPoint(3000, 3000));
    EXPECT_EQ(panel->geometry().bottomRight(), frame.bottomRight());

    QSlider* slider = trackbar(3);
    const QPoint start = dlg->motorPanel(3)->pos();
    const QPoint channelEnd = inWindow(slider, QPoint(slider->width() - 2, slider->height() / 2));
    QTest::mousePress(window, Qt::LeftButton, {}, channelEnd);
    QTest::mouseRelease(window, Qt::LeftButton, {}, channelEnd);
    EXPECT_EQ(dlg->motorPanel(3)->pos(), start);
    EXPECT_GT(slider->value(), 0);
    EXPECT_EQ(dlg->readText(1003), QString::number(slider->value()));
}

TEST_F(PanelsTest, LinkedRightAfterStartUpM1GoesOutWithZerosAndUnlinkedNothingIsSent) {
    click(id::kLinkToTarget);
    const std::vector<int> moves = moveTo(0, 120);
    const auto packets = drainLive();
    ASSERT_EQ(packets.size(), moves.size());
    for (std::size_t i = 0; i < packets.size(); ++i) {
        StepPositions expected{};
        expected[0] = static_cast<std::uint8_t>(moves[i]);
        EXPECT_EQ(packets[i], expected);
    }
    EXPECT_EQ(moves.back(), 120);

    click(id::kLinkToTarget);
    moveTo(4, 120);  // the edit and the trackbar still follow each other
    EXPECT_EQ(dlg->readText(1004), "120");
    dlg->writeText(1004, "");
    EXPECT_EQ(trackbar(4)->value(), 0);
    EXPECT_TRUE(drain().empty());
}

TEST_F(PanelsTest, ArrowKeysStopAtTheRangeEndsAndOnlyMotorFieldsSend) {
    click(id::kLinkToTarget);
    dlg->writeUnsigned(1000, 200);
    arrowKey(1000, Qt::Key_Up);
    trackbar(0)->setFocus();
    QTest::keyClick(trackbar(0), Qt::Key_Right);  // its own key writes at the end too
    EXPECT_EQ(drainLiveOf(0), (std::vector<int>{200, 200, 200, 200}));
    dlg->writeUnsigned(1000, 0);
    arrowKey(1000, Qt::Key_Down);
    arrowKey(1000, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(1000), "1");
    EXPECT_EQ(trackbar(0)->value(), 1);
    EXPECT_EQ(drainLiveOf(0), (std::vector<int>{0, 0, 1}));

    dlg->writeUnsigned(id::kAccEdit, 50);
    dlg->writeUnsigned(id::kRateEdit, 200);
    arrowKey(id::kAccEdit, Qt::Key_Up);
    arrowKey(id::kRateEdit, Qt::Key_Up);
    EXPECT_EQ(readTexts({id::kAccEdit, id::kRateEdit}), QStringList({"50", "200"}));
    arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "49");
    EXPECT_EQ(trackbar(0)->value(), 1);
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(motionPage.getAcc(0), 50);  // only Set Step stores it
}

TEST_F(PanelsTest, AttachingAnUpDownAgainReplacesItsRangeAndBuddy) {
    QSignalSpy accChanges(widget<QLineEdit>(id::kAccEdit), &QLineEdit::textChanged);
    dlg->attachSpin(id::kAccUpDown, 10, id::kAccEdit);
    dlg->writeUnsigned(id::kAccEdit, 9);
    arrowKey(id::kAccEdit, Qt::Key_Up);
    arrowKey(id::kAccEdit, Qt::Key_Up);
    EXPECT_EQ(accChanges.count(), 2);  // the write of 9 and the step to 10: one stepper only
    dlg->attachSpin(id::kAccUpDown, 50, id::kRateEdit);
    dlg->writeUnsigned(id::kRateEdit, 50);
    arrowKey(id::kRateEdit, Qt::Key_Up);
    arrowKey(id::kAccEdit, Qt::Key_Down);  // no longer its buddy
    EXPECT_EQ(readTexts({id::kAccEdit, id::kRateEdit}), QStringList({"10", "50"}));
}

TEST_F(PanelsTest, GetStepMovesEveryTrackbarWithOnePacketAndKeepsValuesAboveTheRange) {
    click(id::kLinkToTarget);
    PageRecord record = defaultPageRecord();
    for (std::size_t m = 0; m < kMotorCount; ++m) {
        record.position[3 * kMotorCount + m] = static_cast<std::uint8_t>(m == 6 ? 230 : m * 9);
    }
    motionPage.setRecord(record);
    choose(id::kStepCombo, 3);
    click(id::kGetStep);
    EXPECT_EQ(drainLiveOf(6), std::vector<int>{230});
    for (int m = 0; m < 22; ++m) {
        const int stored = record.position[3 * kMotorCount + static_cast<std::size_t>(m)];
        EXPECT_EQ(trackbar(m)->value(), std::min(stored, 200)) << "M" << m + 1;
        EXPECT_EQ(dlg->readText(1000 + m), QString::number(stored));
    }
    arrowKey(1006, Qt::Key_Down);  // a step from outside the range starts at its end
    EXPECT_EQ(drainLiveOf(6), std::vector<int>{199});
}

TEST_F(PanelsTest, TheTableShowsThePageAsStoredAndChangesWithSetStepAlone) {
    const QImage start = renderedTable(table());
    for (int step = 0; step < 8; ++step) {
        EXPECT_TRUE(cellShows(start, table(), step, -1, QString::number(step))) << step;
        for (int row = 0; row < 24; ++row) {
            EXPECT_TRUE(cellShows(start, table(), step, row, row < 22 ? "100" : "50")) << row;
        }
    }
    const QRect c = table().contentsRect();
    for (QPoint corner : {c.topLeft(), c.topRight(), c.bottomLeft(), c.bottomRight()}) {
        EXPECT_EQ(start.pixel(corner), qRgb(255, 255, 255));  // no outline
    }
    PageRecord record = defaultPageRecord();
    record.position[1 * kMotorCount + 1] = 230;
    motionPage.setRecord(record);
    dlg->refreshPageControls();
    const QImage before = renderedTable(table());
    choose(id::kStepCombo, 1);
    click(id::kGetStep);
    moveTo(2, 150);
    arrowKey(1005, Qt::Key_Down);
    arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(renderedTable(table()), before);

    choose(id::kStepCombo, 4);
    click(id::kSetStep);
    const QImage after = renderedTable(table());
    const std::tuple<int, int, const char*> cells[] = {{4, 1, "230"}, {4, 2, "150"}, {4, 5, "99"},
                                                       {4, 22, "49"}, {1, 1, "230"}, {3, 2, "100"}};
    for (const auto& [step, row, text] : cells) {
        EXPECT_TRUE(cellShows(after, table(), step, row, text)) << step << " " << row;
    }
}

TEST_F(PanelsTest, EnableStepLineFollowsTheListAndAPageBeyondStepSevenShowsNone) {
    const int left = table().contentsRect().left();
    EXPECT_EQ(redColumns(renderedTable(table())), std::set<int>{left + 60});
    choose(id::kEnableStepCombo, 7);
    EXPECT_EQ(
        redColumns(renderedTable(table())),
        std::set<int>{
            left + 7 * StepTableLayout::forClient(table().contentsRect().size()).columnWidth + 60});
    PageRecord record = defaultPageRecord();
    record.enableStep = 9;
    motionPage.setRecord(record);
    dlg->refreshPageControls();
    EXPECT_EQ(dlg->selectedIndex(id::kEnableStepCombo), -1);
    EXPECT_TRUE(redColumns(renderedTable(table())).empty());
    for (QSize size : {QSize(0, 0), QSize(10, 10), QSize(80, 30)}) {
        table().resize(size);  // too small for a table: still painted without fault
        EXPECT_EQ(renderedTable(table()).size(), size);
    }
}

}  // namespace
}  // namespace kestrova::test
