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

constexpr std::size_t kLiveSize = kLivePacketSize;

// The motor positions of each live-positions packet in `bytes`, which must hold nothing else.
std::vector<StepPositions> livePositions(const Bytes& bytes) {
    EXPECT_EQ(bytes.size() % kLiveSize, 0u);
    std::vector<StepPositions> packets;
    for (std::size_t at = 0; at + kLiveSize <= bytes.size(); at += kLiveSize) {
        MotorFields fields{};
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4), fields.size(),
                    fields.begin());
        const LivePacket rebuilt = buildLivePositionsPacket(fields);
        EXPECT_TRUE(std::equal(rebuilt.begin(), rebuilt.end(),
                               bytes.begin() + static_cast<std::ptrdiff_t>(at)))
            << "packet " << at / kLiveSize << " is not a whole live-positions packet";
        StepPositions positions{};
        std::copy_n(rebuilt.begin() + 4, positions.size(), positions.begin());
        packets.push_back(positions);
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

class PanelsWindow {
  public:
    explicit PanelsWindow(CEditorDlg& dlg) : dlg(dlg) {}

    QSlider* trackbar(int motor) const { return dlg.motorPanel(motor)->trackbarControl(); }
    QWindow* window() const { return dlg.windowHandle(); }
    CStepTableView& table() const { return *dlg.stepTableView(); }
    std::vector<int> trackbarValues() const {
        std::vector<int> values;
        for (int m = 0; m < 22; ++m) {
            values.push_back(trackbar(m)->value());
        }
        return values;
    }
    void arrowKey(int editId, Qt::Key key) const {
        dlg.control(editId)->setFocus();
        QTest::keyClick(dlg.control(editId), key);
    }

  private:
    CEditorDlg& dlg;
};

class PanelsTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        ui = std::make_unique<PanelsWindow>(*dlg);
    }
    std::unique_ptr<PanelsWindow> ui;
};

class LinkedPanelsTest : public ConnectedEditorTest {
  protected:
    void SetUp() override {
        ConnectedEditorTest::SetUp();
        ui = std::make_unique<PanelsWindow>(*dlg);
        click(id::kLinkToTarget);
        ASSERT_TRUE(widget<QCheckBox>(id::kLinkToTarget)->isChecked());
    }
    std::unique_ptr<PanelsWindow> ui;
};

struct PanelRow {
    int index;
    const char* label;
    int left;
    int top;
};

constexpr std::array<PanelRow, 22> kPanelRows{{
    {0, "M1(PB0)", 10, 36},     {1, "M2(PB1)", 20, 72},     {2, "M3(PB2)", 30, 108},
    {3, "M4(PB3)", 40, 144},    {4, "M5(PB4)", 50, 180},    {5, "M6(PB5)", 60, 216},
    {6, "M7(PB6)", 70, 252},    {7, "M8(PB7)", 80, 288},    {8, "M9(PE0)", 90, 324},
    {9, "M10(PE1)", 100, 360},  {10, "M11(PE2)", 110, 396}, {11, "M12(PE3)", 120, 432},
    {12, "M13(PC0)", 130, 36},  {13, "M14(PC1)", 140, 72},  {14, "M15(PC2)", 150, 108},
    {15, "M16(PC3)", 160, 144}, {16, "M17(PC4)", 170, 180}, {17, "M18(PC5)", 180, 216},
    {18, "M19(PC6)", 190, 252}, {19, "M20(PC7)", 200, 288}, {20, "M21(PD4)", 210, 324},
    {21, "M22(PD5)", 220, 360},
}};

TEST_F(PanelsTest, EveryPanelStartsOnItsStaircaseInsideTheFrameLabelledWithAnIdleTrackbar) {
    QWidget* frame = dlg->control(id::kPictureFrame);
    const QPoint origin = frame->contentsRect().topLeft();
    for (const PanelRow& row : kPanelRows) {
        SCOPED_TRACE(row.label);
        const CMotorPanel* panel = dlg->motorPanel(row.index);
        EXPECT_EQ(panel->index(), row.index);
        EXPECT_EQ(panel->parentWidget(), frame);
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(panel->geometry(), QRect(origin + QPoint(row.left, row.top), QSize(63, 36)));
        EXPECT_TRUE(frame->contentsRect().contains(panel->geometry()));
        const QLabel* label = panel->labelControl();
        EXPECT_EQ(label->text(), row.label);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width());
        EXPECT_EQ(label->font(), dlg->motorPanel(0)->labelControl()->font());
        EXPECT_TRUE(panel->contentsRect().contains(label->geometry()));
        const QSlider* slider = panel->trackbarControl();
        EXPECT_TRUE(panel->contentsRect().contains(slider->geometry()));
        EXPECT_LT(label->geometry().top(), slider->geometry().top());
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
        EXPECT_EQ(std::pair(slider->minimum(), slider->maximum()), std::pair(0, 200));
        EXPECT_EQ(slider->value(), 0);
        for (int other = 0; other < row.index; ++other) {
            EXPECT_FALSE(panel->geometry().intersects(dlg->motorPanel(other)->geometry()))
                << "M" << other + 1;
        }
    }
}

TEST_F(LinkedPanelsTest, DraggingM5SendsOnePacketPerMovementAndTheEditFollows) {
    click(id::kResetStep);
    ASSERT_EQ(livePositions(pty.drain()).size(), 1u);
    ASSERT_EQ(ui->trackbar(4)->value(), 100);

    const std::vector<int> moves = moveTrackbarTo(ui->window(), ui->trackbar(4), 120);

    EXPECT_EQ(dlg->readText(1004), "120");
    const auto packets = livePositions(pty.drain());
    // Each packet reads the edits, so M5's byte is what the edit showed at that movement.
    EXPECT_EQ(positionsOf(packets, 4), moves);
    for (int other = 0; other < 22; ++other) {
        if (other != 4) {
            EXPECT_EQ(positionsOf(packets, other), std::vector<int>(packets.size(), 100));
        }
    }
    EXPECT_EQ(liveSendBusy, 0);
}

TEST_F(PanelsTest, UnlinkedTrackbarAndEditFollowEachOtherAndNothingIsSent) {
    PtyPort pty;
    ASSERT_TRUE(pty.isOpen());
    dlg->onConnect();
    ASSERT_EQ(dlg->port().connected, 1);
    click(id::kResetStep);

    moveTrackbarTo(ui->window(), ui->trackbar(4), 120);
    EXPECT_EQ(dlg->readText(1004), "120");
    dlg->writeUnsigned(1004, 37);
    EXPECT_EQ(ui->trackbar(4)->value(), 37);
    dlg->writeText(1004, "");
    EXPECT_EQ(ui->trackbar(4)->value(), 0);

    EXPECT_TRUE(pty.drain().empty());
    EXPECT_EQ(liveSendBusy, 0);
}

TEST_F(LinkedPanelsTest, RightAfterStartUpM1GoesOutWithZerosForTheEmptyFields) {
    const std::vector<int> moves = moveTrackbarTo(ui->window(), ui->trackbar(0), 120);

    const auto packets = livePositions(pty.drain());
    ASSERT_FALSE(packets.empty());
    EXPECT_EQ(positionsOf(packets, 0), moves);
    EXPECT_EQ(packets.back()[0], 120);
    for (const StepPositions& packet : packets) {
        EXPECT_TRUE(std::all_of(packet.begin() + 1, packet.end(), [](auto v) { return v == 0; }));
    }
    for (int editId = 1001; editId <= 1023; ++editId) {
        EXPECT_TRUE(dlg->readText(editId).isEmpty()) << editId;
    }
}

TEST_F(LinkedPanelsTest, ArrowKeysStopAtTheRangeEndsAndOnlyMotorFieldsSend) {
    dlg->writeUnsigned(1000, 200);
    pty.drain();
    ui->arrowKey(1000, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(1000), "200");
    EXPECT_EQ(ui->trackbar(0)->value(), 200);
    EXPECT_EQ(positionsOf(livePositions(pty.drain()), 0), std::vector<int>{200});

    dlg->writeUnsigned(1000, 0);
    pty.drain();
    ui->arrowKey(1000, Qt::Key_Down);
    ui->arrowKey(1000, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(1000), "1");
    EXPECT_EQ(ui->trackbar(0)->value(), 1);
    EXPECT_EQ(positionsOf(livePositions(pty.drain()), 0), (std::vector<int>{0, 1}));

    dlg->writeUnsigned(id::kAccEdit, 50);
    dlg->writeUnsigned(id::kRateEdit, 200);
    const std::vector<int> trackbars = ui->trackbarValues();
    ui->arrowKey(id::kAccEdit, Qt::Key_Up);
    ui->arrowKey(id::kRateEdit, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "50");
    EXPECT_EQ(dlg->readText(id::kRateEdit), "200");
    ui->arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "49");
    EXPECT_EQ(ui->trackbarValues(), trackbars);
    EXPECT_TRUE(pty.drain().empty());
    EXPECT_EQ(motionPage.getAcc(0), 50);  // only Set Step stores it
}

TEST_F(PanelsTest, AttachingAnUpDownAgainReplacesItsRangeAndBuddy) {
    QSignalSpy accChanges(widget<QLineEdit>(id::kAccEdit), &QLineEdit::textChanged);
    dlg->attachSpin(id::kAccUpDown, 10, id::kAccEdit);
    dlg->writeUnsigned(id::kAccEdit, 9);
    ui->arrowKey(id::kAccEdit, Qt::Key_Up);
    ui->arrowKey(id::kAccEdit, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "10");
    EXPECT_EQ(accChanges.count(), 2);  // the write of 9 and the step to 10: one stepper only

    dlg->attachSpin(id::kAccUpDown, 50, id::kRateEdit);
    dlg->writeUnsigned(id::kRateEdit, 50);
    ui->arrowKey(id::kRateEdit, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(id::kRateEdit), "50");
    ui->arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "10");  // no longer its buddy
}

TEST_F(LinkedPanelsTest, GetStepMovesEveryTrackbarWithOnePacketAndKeepsValuesAboveTheRange) {
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
        EXPECT_EQ(ui->trackbar(m)->value(), std::min(stored, 200)) << "M" << m + 1;
        EXPECT_EQ(dlg->readText(1000 + m), QString::number(stored));
    }
    // Moving the trackbar replaces the value with one in range.
    ui->trackbar(6)->setFocus();
    QTest::keyClick(ui->trackbar(6), Qt::Key_Left);
    EXPECT_EQ(dlg->readText(1006), "199");
}

TEST_F(PanelsTest, TheTableChangesWithSetStepAloneAndShowsStoredValuesAboveTwoHundred) {
    PageRecord record = defaultPageRecord();
    record.position[1 * kMotorCount + 1] = 230;
    motionPage.setRecord(record);
    dlg->refreshPageControls();
    const QImage before = renderedTable(ui->table());

    choose(id::kStepCombo, 1);
    click(id::kGetStep);
    moveTrackbarTo(ui->window(), ui->trackbar(2), 150);
    ui->arrowKey(1005, Qt::Key_Down);
    ui->arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(renderedTable(ui->table()), before);

    choose(id::kStepCombo, 4);
    click(id::kSetStep);
    const QImage after = renderedTable(ui->table());
    const StepTableLayout layout = layoutOf(ui->table());
    EXPECT_TRUE(cellShows(after, ui->table(), 4, layout.rowTop(1), "230"));
    EXPECT_TRUE(cellShows(after, ui->table(), 4, layout.rowTop(2), "150"));
    EXPECT_TRUE(cellShows(after, ui->table(), 4, layout.rowTop(5), "99"));
    EXPECT_TRUE(cellShows(after, ui->table(), 4, layout.rowTop(StepTableLayout::kAccRow), "49"));
    EXPECT_TRUE(cellShows(after, ui->table(), 1, layout.rowTop(1), "230"));
    EXPECT_TRUE(cellShows(after, ui->table(), 3, layout.rowTop(2), "100"));
}

TEST_F(PanelsTest, EnableStepLineFollowsTheListAndAPageBeyondStepSevenShowsNone) {
    const int left = ui->table().contentsRect().left();
    const StepTableLayout layout = layoutOf(ui->table());
    EXPECT_EQ(redColumns(renderedTable(ui->table())), std::set<int>{left + 60});
    choose(id::kEnableStepCombo, 7);
    EXPECT_EQ(redColumns(renderedTable(ui->table())),
              std::set<int>{left + 7 * layout.columnWidth + 60});

    PageRecord record = defaultPageRecord();
    record.enableStep = 9;
    motionPage.setRecord(record);
    dlg->refreshPageControls();
    QApplication::processEvents();
    EXPECT_EQ(dlg->selectedIndex(id::kEnableStepCombo), -1);
    EXPECT_TRUE(redColumns(renderedTable(ui->table())).empty());
}

TEST_F(PanelsTest, PanelsDragInsideTheFrameAndIgnoreEnterAndEscape) {
    CMotorPanel* panel = dlg->motorPanel(21);
    QWidget* frame = dlg->control(id::kPictureFrame);
    const QPoint grip = inWindow(panel->labelControl(), panel->labelControl()->rect().center());
    QTest::mousePress(ui->window(), Qt::LeftButton, {}, grip);
    QTest::mouseMove(ui->window(), grip + QPoint(-30, 40));
    EXPECT_EQ(panel->pos(), frame->contentsRect().topLeft() + QPoint(190, 400));
    QTest::mouseMove(ui->window(), grip + QPoint(3000, 3000));
    QTest::mouseRelease(ui->window(), Qt::LeftButton, {}, grip + QPoint(3000, 3000));
    EXPECT_EQ(panel->geometry().bottomRight(), frame->contentsRect().bottomRight());

    QSignalSpy accepted(dlg.get(), &QDialog::accepted);
    QSignalSpy rejected(dlg.get(), &QDialog::rejected);
    QSlider* slider = ui->trackbar(3);
    QTest::mouseClick(ui->window(), Qt::LeftButton, {},
                      inWindow(slider, thumbRect(slider).center()));
    ASSERT_TRUE(slider->hasFocus());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(slider, key);
    }
    EXPECT_TRUE(dlg->motorPanel(3)->isVisible());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(accepted.count() + rejected.count(), 0);
}

}  // namespace
}  // namespace kestrova::test
