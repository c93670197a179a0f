// SPDX-License-Identifier: MIT
// The motor panels, the arrow keys and the step table inside the main window, with what the
// live-positions stream puts on the far side of a real pseudo-terminal.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

#include "editor_fixture.h"
#include "protocol/packets.h"
#include "pty_port.h"
#include "step_table_image.h"
#include "trackbar_input.h"
#include "ui/motor_panel.h"

namespace kestrova::test {
namespace {

// The motor positions of each live-positions packet in `bytes`, which must hold nothing else.
std::vector<StepPositions> livePositions(const Bytes& bytes) {
    EXPECT_EQ(bytes.size() % kLivePacketSize, 0u);
    std::vector<StepPositions> packets;
    for (auto at = bytes.begin(); bytes.end() - at >= std::ptrdiff_t{kLivePacketSize};
         at += kLivePacketSize) {
        MotorFields fields{};
        std::copy_n(at + 4, fields.size(), fields.begin());
        const LivePacket rebuilt = buildLivePositionsPacket(fields);
        EXPECT_TRUE(std::equal(rebuilt.begin(), rebuilt.end(), at)) << "not a live packet";
        packets.emplace_back();
        std::copy_n(rebuilt.begin() + 4, packets.back().size(), packets.back().begin());
    }
    return packets;
}

std::vector<int> positionsOf(const std::vector<StepPositions>& packets, int motor) {
    std::vector<int> values;
    for (const StepPositions& packet : packets) {
        values.push_back(packet[static_cast<std::size_t>(motor)]);
    }
    return values;
}

class PanelsTest : public ConnectedEditorTest {
  protected:
    void link() {
        click(id::kLinkToTarget);
        ASSERT_TRUE(widget<QCheckBox>(id::kLinkToTarget)->isChecked());
    }
    QSlider* trackbar(int motor) const { return dlg->motorPanel(motor)->trackbarControl(); }
    std::vector<int> moveTo(int motor, int value) const {
        return moveTrackbarTo(dlg->windowHandle(), trackbar(motor), value);
    }
    void arrowKey(int editId, Qt::Key key) const {
        dlg->control(editId)->setFocus();
        QTest::keyClick(dlg->control(editId), key);
    }
    CStepTableView& table() const { return *dlg->stepTableView(); }
};

struct PanelRow {
    const char* label;
    int left;
    int top;
};

constexpr PanelRow kPanelRows[22] = {
    {"M1(PB0)", 10, 36},    {"M2(PB1)", 20, 72},    {"M3(PB2)", 30, 108},   {"M4(PB3)", 40, 144},
    {"M5(PB4)", 50, 180},   {"M6(PB5)", 60, 216},   {"M7(PB6)", 70, 252},   {"M8(PB7)", 80, 288},
    {"M9(PE0)", 90, 324},   {"M10(PE1)", 100, 360}, {"M11(PE2)", 110, 396}, {"M12(PE3)", 120, 432},
    {"M13(PC0)", 130, 36},  {"M14(PC1)", 140, 72},  {"M15(PC2)", 150, 108}, {"M16(PC3)", 160, 144},
    {"M17(PC4)", 170, 180}, {"M18(PC5)", 180, 216}, {"M19(PC6)", 190, 252}, {"M20(PC7)", 200, 288},
    {"M21(PD4)", 210, 324}, {"M22(PD5)", 220, 360},
};

TEST_F(PanelsTest, EveryPanelStartsOnItsStaircaseInsideTheFrameLabelledWithAnIdleTrackbar) {
    QWidget* frame = dlg->control(id::kPictureFrame);
    for (int index = 0; index < 22; ++index) {
        const PanelRow& row = kPanelRows[index];
        SCOPED_TRACE(row.label);
        const CMotorPanel* panel = dlg->motorPanel(index);
        EXPECT_EQ(panel->index(), index);
        EXPECT_EQ(panel->parentWidget(), frame);
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(
            panel->geometry(),
            QRect(frame->contentsRect().topLeft() + QPoint(row.left, row.top), QSize(63, 36)));
        const QLabel* label = panel->labelControl();
        EXPECT_EQ(label->text(), row.label);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width());
        EXPECT_EQ(label->font(), dlg->motorPanel(0)->labelControl()->font());
        const QSlider* slider = panel->trackbarControl();
        EXPECT_TRUE(panel->contentsRect().contains(slider->geometry() | label->geometry()));
        EXPECT_LT(label->geometry().top(), slider->geometry().top());
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
        EXPECT_EQ(std::pair(slider->minimum(), slider->maximum()), std::pair(0, 200));
        EXPECT_EQ(slider->value(), 0);
        for (int other = 0; other < index; ++other) {
            EXPECT_FALSE(panel->geometry().intersects(dlg->motorPanel(other)->geometry()))
                << "M" << other + 1;
        }
    }
}

TEST_F(PanelsTest, PanelsDragInsideTheFrameAPressOnTheTrackbarMovesTheThumbInstead) {
    CMotorPanel* panel = dlg->motorPanel(21);
    QWidget* frame = dlg->control(id::kPictureFrame);
    QWindow* window = dlg->windowHandle();
    const QPoint grip = inWindow(panel->labelControl(), panel->labelControl()->rect().center());
    QTest::mousePress(window, Qt::LeftButton, {}, grip);
    QTest::mouseMove(window, grip + QPoint(-30, 40));
    EXPECT_EQ(panel->pos(), frame->contentsRect().topLeft() + QPoint(190, 400));
    QTest::mouseMove(window, grip + QPoint(3000, 3000));
    QTest::mouseRelease(window, Qt::LeftButton, {}, grip + QPoint(3000, 3000));
    EXPECT_EQ(panel->geometry().bottomRight(), frame->contentsRect().bottomRight());

    QSlider* slider = trackbar(3);
    const QPoint start = dlg->motorPanel(3)->pos();
    const QPoint channelEnd = inWindow(slider, QPoint(slider->width() - 2, slider->height() / 2));
    QTest::mousePress(window, Qt::LeftButton, {}, channelEnd);
    QTest::mouseRelease(window, Qt::LeftButton, {}, channelEnd);
    EXPECT_EQ(dlg->motorPanel(3)->pos(), start);
    EXPECT_GT(slider->value(), 0);
    EXPECT_EQ(dlg->readText(1003), QString::number(slider->value()));

    // Enter and Escape on a panel hide nothing and close nothing.
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    ASSERT_TRUE(slider->hasFocus());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(slider, key);
    }
    EXPECT_TRUE(dlg->motorPanel(3)->isVisible());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(PanelsTest, LinkedDragOfM5SendsOnePacketPerMovementAndUnlinkedNone) {
    click(id::kResetStep);
    moveTo(4, 120);  // not linked: edit and trackbar follow each other, nothing is sent
    EXPECT_EQ(dlg->readText(1004), "120");
    dlg->writeUnsigned(1004, 37);
    EXPECT_EQ(trackbar(4)->value(), 37);
    dlg->writeText(1004, "");
    EXPECT_EQ(trackbar(4)->value(), 0);
    EXPECT_TRUE(pty.drain().empty());

    link();
    dlg->writeUnsigned(1004, 100);
    ASSERT_EQ(livePositions(pty.drain()).size(), 1u);
    const std::vector<int> moves = moveTo(4, 120);
    EXPECT_EQ(dlg->readText(1004), "120");
    const auto packets = livePositions(pty.drain());
    // Each packet reads the edits, so M5's byte is what the edit showed at that movement.
    EXPECT_EQ(positionsOf(packets, 4), moves);
    EXPECT_EQ(positionsOf(packets, 3), std::vector<int>(packets.size(), 100));
    EXPECT_EQ(liveSendBusy, 0);
}

TEST_F(PanelsTest, RightAfterStartUpM1GoesOutWithZerosForTheEmptyFields) {
    link();
    const std::vector<int> moves = moveTo(0, 120);
    const auto packets = livePositions(pty.drain());
    ASSERT_FALSE(packets.empty());
    EXPECT_EQ(positionsOf(packets, 0), moves);
    EXPECT_EQ(packets.back()[0], 120);
    for (const StepPositions& packet : packets) {
        EXPECT_TRUE(std::all_of(packet.begin() + 1, packet.end(), [](auto v) { return v == 0; }));
    }
    EXPECT_TRUE(dlg->readText(1001).isEmpty());
}

TEST_F(PanelsTest, ArrowKeysStopAtTheRangeEndsAndOnlyMotorFieldsSend) {
    link();
    dlg->writeUnsigned(1000, 200);
    pty.drain();
    arrowKey(1000, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(1000), "200");
    EXPECT_EQ(trackbar(0)->value(), 200);
    EXPECT_EQ(positionsOf(livePositions(pty.drain()), 0), std::vector<int>{200});
    // The trackbar's own keys write at its end too, on press and on release.
    trackbar(0)->setFocus();
    QTest::keyClick(trackbar(0), Qt::Key_Right);
    EXPECT_EQ(positionsOf(livePositions(pty.drain()), 0), (std::vector<int>{200, 200}));

    dlg->writeUnsigned(1000, 0);
    pty.drain();
    arrowKey(1000, Qt::Key_Down);
    arrowKey(1000, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(1000), "1");
    EXPECT_EQ(trackbar(0)->value(), 1);
    EXPECT_EQ(positionsOf(livePositions(pty.drain()), 0), (std::vector<int>{0, 1}));

    dlg->writeUnsigned(id::kAccEdit, 50);
    dlg->writeUnsigned(id::kRateEdit, 200);
    arrowKey(id::kAccEdit, Qt::Key_Up);
    arrowKey(id::kRateEdit, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "50");
    EXPECT_EQ(dlg->readText(id::kRateEdit), "200");
    arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "49");
    EXPECT_EQ(trackbar(0)->value(), 1);
    EXPECT_TRUE(pty.drain().empty());
    EXPECT_EQ(motionPage.getAcc(0), 50);  // only Set Step stores it
}

TEST_F(PanelsTest, AttachingAnUpDownAgainReplacesItsRangeAndBuddy) {
    QSignalSpy accChanges(widget<QLineEdit>(id::kAccEdit), &QLineEdit::textChanged);
    dlg->attachSpin(id::kAccUpDown, 10, id::kAccEdit);
    dlg->writeUnsigned(id::kAccEdit, 9);
    arrowKey(id::kAccEdit, Qt::Key_Up);
    arrowKey(id::kAccEdit, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "10");
    EXPECT_EQ(accChanges.count(), 2);  // the write of 9 and the step to 10: one stepper only

    dlg->attachSpin(id::kAccUpDown, 50, id::kRateEdit);
    dlg->writeUnsigned(id::kRateEdit, 50);
    arrowKey(id::kRateEdit, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(id::kRateEdit), "50");
    arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "10");  // no longer its buddy
}

TEST_F(PanelsTest, GetStepMovesEveryTrackbarWithOnePacketAndKeepsValuesAboveTheRange) {
    link();
    PageRecord record = defaultPageRecord();
    for (std::size_t m = 0; m < kMotorCount; ++m) {
        record.position[3 * kMotorCount + m] = static_cast<std::uint8_t>(m * 9);
    }
    record.position[3 * kMotorCount + 6] = 230;
    motionPage.setRecord(record);
    choose(id::kStepCombo, 3);
    click(id::kGetStep);

    const auto packets = livePositions(pty.drain());
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0][6], 230);
    for (int m = 0; m < 22; ++m) {
        const int stored = record.position[3 * kMotorCount + static_cast<std::size_t>(m)];
        EXPECT_EQ(trackbar(m)->value(), std::min(stored, 200)) << "M" << m + 1;
        EXPECT_EQ(dlg->readText(1000 + m), QString::number(stored));
    }
    // A step from outside the range starts from its end.
    arrowKey(1006, Qt::Key_Down);
    EXPECT_EQ(dlg->readText(1006), "199");
    EXPECT_EQ(positionsOf(livePositions(pty.drain()), 6), std::vector<int>{199});
}

TEST_F(PanelsTest, TheTableShowsThePageAndChangesWithSetStepAlone) {
    const StepTableLayout layout = layoutOf(table());
    const QImage start = renderedTable(table());
    for (int step = 0; step < 8; ++step) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(cellShows(start, table(), step, -1, QString::number(step)));
        for (int motor = 0; motor < 22; ++motor) {
            EXPECT_TRUE(cellShows(start, table(), step, motor, "100")) << "M" << motor + 1;
        }
        EXPECT_TRUE(cellShows(start, table(), step, StepTableLayout::kAccRow, "50"));
        EXPECT_TRUE(cellShows(start, table(), step, StepTableLayout::kRateRow, "50"));
    }
    const QRect c = table().contentsRect();
    for (QPoint corner : {c.topLeft(), c.topRight(), c.bottomLeft(), c.bottomRight()}) {
        EXPECT_EQ(start.pixel(corner), qRgb(255, 255, 255));  // no outline
    }
    EXPECT_LT(
        QFontMetrics(CStepTableView::tableFont(table().logicalDpiY())).horizontalAdvance("255"),
        layout.columnWidth - 4);

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
    EXPECT_TRUE(cellShows(after, table(), 4, 1, "230"));
    EXPECT_TRUE(cellShows(after, table(), 4, 2, "150"));
    EXPECT_TRUE(cellShows(after, table(), 4, 5, "99"));
    EXPECT_TRUE(cellShows(after, table(), 4, StepTableLayout::kAccRow, "49"));
    EXPECT_TRUE(cellShows(after, table(), 1, 1, "230"));
    EXPECT_TRUE(cellShows(after, table(), 3, 2, "100"));
}

TEST_F(PanelsTest, EnableStepLineFollowsTheListAndAPageBeyondStepSevenShowsNone) {
    const int left = table().contentsRect().left();
    EXPECT_EQ(redColumns(renderedTable(table())), std::set<int>{left + 60});
    choose(id::kEnableStepCombo, 7);
    EXPECT_EQ(redColumns(renderedTable(table())),
              std::set<int>{left + 7 * layoutOf(table()).columnWidth + 60});

    PageRecord record = defaultPageRecord();
    record.enableStep = 9;
    motionPage.setRecord(record);
    dlg->refreshPageControls();
    EXPECT_EQ(dlg->selectedIndex(id::kEnableStepCombo), -1);
    EXPECT_TRUE(redColumns(renderedTable(table())).empty());
    // Too small a view for a table still paints without fault.
    for (QSize size : {QSize(0, 0), QSize(10, 10), QSize(80, 30)}) {
        table().resize(size);
        EXPECT_EQ(renderedTable(table()).size(), size);
    }
}

}  // namespace
}  // namespace kestrova::test
