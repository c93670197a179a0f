// SPDX-License-Identifier: MIT
// The motor panels, the step commands, the arrow keys and the step table inside the main
// window, with what the live-positions stream puts on the far side of a real pseudo-terminal.
// Dragging a trackbar while linked runs end to end against the simulator.
#include <QLabel>

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

StepPositions storedStep(unsigned step) {
    StepPositions stored{};
    motionPage.getStepPositions(step, stored);
    return stored;
}

// Get Step, Set Step and step Reset: one packet each when linked, with the low bytes; none
// when not. Get Step moves every trackbar, and keeps a value above their range as fetched.
TEST_F(PanelsTest, StepCommandsSendOnePacketEachWhenLinkedAndMoveEveryTrackbar) {
    click(id::kResetStep);
    EXPECT_EQ(readTexts({1021, id::kAccEdit, id::kRateEdit}), QStringList({"100", "50", "50"}));
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());  // the page is untouched
    EXPECT_TRUE(drain().empty());
    click(id::kLinkToTarget);
    click(id::kResetStep);
    StepPositions hundreds{};
    hundreds.fill(100);
    EXPECT_EQ(drainLive(), std::vector{hundreds});

    PageRecord record = defaultPageRecord();
    for (std::size_t m = 0; m < kMotorCount; ++m) {
        record.position[2 * kMotorCount + m] = static_cast<std::uint8_t>(m == 6 ? 230 : m * 9);
    }
    record.acc[2] = 7;
    record.rate[2] = 8;
    motionPage.setRecord(record);
    choose(id::kStepCombo, 2);
    click(id::kGetStep);
    EXPECT_EQ(drainLive(), std::vector{storedStep(2)});
    EXPECT_EQ(readTexts({id::kAccEdit, id::kRateEdit}), QStringList({"7", "8"}));
    for (int m = 0; m < 22; ++m) {
        const int stored = storedStep(2)[static_cast<std::size_t>(m)];
        EXPECT_EQ(trackbar(m)->value(), std::min(stored, 200)) << "M" << m + 1;
        EXPECT_EQ(dlg->readText(1000 + m), QString::number(stored));
    }
    arrowKey(1006, Qt::Key_Down);  // a step from outside the range starts at its end
    EXPECT_EQ(drainLiveOf(6), std::vector<int>{199});

    // One field change, even to the same number, sends the fields once; only the low byte of
    // a value goes out or is stored.
    dlg->writeUnsigned(1003, 300);
    dlg->writeUnsigned(1003, 300);
    const auto changes = drainLive();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1][3], 0x2C);
    choose(id::kStepCombo, 6);
    click(id::kSetStep);
    EXPECT_EQ(drainLive(), std::vector{changes[1]});
    EXPECT_EQ(storedStep(6), changes[1]);
    EXPECT_EQ(std::pair(+motionPage.getAcc(6), +motionPage.getRate(6)), std::pair(7, 8));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(liveSendBusy, 0);
}

TEST_F(EditorTest, SetStepRightAfterStartStoresZerosAndAClosedPortShowsError) {
    click(id::kLinkToTarget);
    choose(id::kStepCombo, 4);
    click(id::kSetStep);
    EXPECT_EQ(storedStep(4), StepPositions{});
    EXPECT_EQ(std::pair(+motionPage.getAcc(4), +motionPage.getRate(4)), std::pair(0, 0));
    ASSERT_EQ(boxes.texts(), std::vector<QString>{"ERROR"});
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[0].owner, dlg.get());
    EXPECT_EQ(liveSendBusy, 0);
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
