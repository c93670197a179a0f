// SPDX-License-Identifier: MIT
// The motor panels, the step commands, the arrow keys and the step table inside the main
// window, with what the live-positions stream puts on the far side of a real pseudo-terminal.
// Dragging a trackbar while linked runs end to end against the simulator.
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <set>

#include "editor_fixture.h"
#include "ui/motor_panel.h"
#include "ui/step_table_view.h"

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
    QImage renderedTable() const {
        QImage image(table().size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::darkGray);
        table().render(&image);
        return image;
    }
    // x of every pixel column that holds pure red.
    std::set<int> redColumns() const {
        const QImage image = renderedTable();
        std::set<int> columns;
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                columns.insert(image.pixel(x, y) == qRgb(255, 0, 0) ? x : -1);
            }
        }
        columns.erase(-1);
        return columns;
    }
    // Whether the cell, clear of the enable-step line, holds exactly the pixels of `text` drawn
    // alone in the table's font, centred on the column with its top on the row (-1: header).
    bool cellShows(const QImage& image, int step, int row, const QString& text) const {
        const auto layout = StepTableLayout::forClient(table().contentsRect().size());
        const int top = row < 0 ? StepTableLayout::kHeaderTop : layout.rowTop(row);
        const QPoint anchor =
            table().contentsRect().topLeft() + QPoint(layout.columnCentre(step), top);
        QImage expected(image.size(), image.format());
        expected.fill(Qt::white);
        QPainter painter(&expected);
        painter.setFont(CStepTableView::tableFont(table().logicalDpiY()));
        const QFontMetrics metrics = painter.fontMetrics();
        painter.drawText(anchor + QPoint(-metrics.horizontalAdvance(text) / 2, metrics.ascent()),
                         text);
        painter.end();
        const int half = std::min(layout.columnWidth / 2 - 2, 20);  // the line is 22 right
        const QRect area(anchor.x() - half, anchor.y(), 2 * half, layout.rowPitch - 1);
        return image.copy(area) == expected.copy(area);
    }
};

TEST_F(PanelsTest, EveryPanelStartsOnItsStaircaseInsideTheFrameLabelledWithAnIdleTrackbar) {
    const std::map<int, QString> someLabels{{0, "M1(PB0)"}, {12, "M13(PC0)"}, {21, "M22(PD5)"}};
    const QPoint origin = dlg->control(id::kPictureFrame)->contentsRect().topLeft();
    for (int index = 0; index < static_cast<int>(kMotorCount); ++index) {
        SCOPED_TRACE(index);
        const CMotorPanel* panel = dlg->motorPanel(index);
        EXPECT_EQ(panel->parentWidget(), dlg->control(id::kPictureFrame));
        const QPoint staircase(10 * index + 10, 36 * (index % 12) + 36);
        EXPECT_EQ(panel->geometry(), QRect(origin + staircase, QSize(63, 36)));
        const QLabel* label = panel->labelControl();
        EXPECT_TRUE(!someLabels.contains(index) || label->text() == someLabels.at(index));
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width());
        const QSlider* slider = panel->trackbarControl();
        EXPECT_TRUE(panel->contentsRect().contains(slider->geometry() | label->geometry()));
        EXPECT_LT(label->geometry().top(), slider->geometry().top());
        EXPECT_EQ(std::tuple(slider->orientation(), slider->tickPosition(), slider->minimum(),
                             slider->maximum(), slider->value()),
                  std::tuple(Qt::Horizontal, QSlider::NoTicks, 0, +kMaxPosition, 0));
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
    EXPECT_EQ(dlg->readText(id::kMotorEdit0 + 3), QString::number(slider->value()));
}

// Right after start-up the fields are empty: the first packet carries zeros for the others.
TEST_F(PanelsTest, ArrowKeysStopAtTheRangeEndsOnlyMotorFieldsSendAndUnlinkedNothingGoes) {
    const int m1 = id::kMotorEdit0;
    click(id::kLinkToTarget);
    dlg->writeUnsigned(m1, kMaxPosition);
    arrowKey(m1, Qt::Key_Up);
    StepPositions first{};
    first[0] = kMaxPosition;
    EXPECT_EQ(drainLive(), (std::vector{first, first}));
    trackbar(0)->setFocus();
    QTest::keyClick(trackbar(0), Qt::Key_Right);  // its own key writes at the end too
    dlg->writeUnsigned(m1, 0);
    arrowKey(m1, Qt::Key_Down);
    arrowKey(m1, Qt::Key_Up);
    EXPECT_EQ(dlg->readText(m1), "1");
    EXPECT_EQ(trackbar(0)->value(), 1);
    EXPECT_EQ(drainLiveOf(0), (std::vector<int>{200, 200, 0, 0, 1}));

    dlg->writeUnsigned(id::kAccEdit, kMaxAcc);
    dlg->writeUnsigned(id::kRateEdit, kMaxRate);
    arrowKey(id::kAccEdit, Qt::Key_Up);
    arrowKey(id::kRateEdit, Qt::Key_Up);
    EXPECT_EQ(readTexts({id::kAccEdit, id::kRateEdit}), QStringList({"50", "200"}));
    arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(dlg->readText(id::kAccEdit), "49");
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(motionPage.getAcc(0), kDefaultAcc);  // only Set Step stores it

    click(id::kLinkToTarget);
    moveTo(4, 120);  // the edit and the trackbar still follow each other
    EXPECT_EQ(dlg->readText(id::kMotorEdit0 + 4), "120");
    dlg->writeText(id::kMotorEdit0 + 4, "");
    EXPECT_EQ(trackbar(4)->value(), 0);
    EXPECT_TRUE(drain().empty());
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
    EXPECT_EQ(readTexts({id::kMotorEdit0 + 21, id::kAccEdit, id::kRateEdit}),
              QStringList({"100", "50", "50"}));
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());  // the page is untouched
    EXPECT_TRUE(drain().empty());
    click(id::kLinkToTarget);
    click(id::kResetStep);
    StepPositions hundreds{};
    hundreds.fill(kDefaultPosition);
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
    for (int m = 0; m < static_cast<int>(kMotorCount); ++m) {
        const int stored = storedStep(2)[static_cast<std::size_t>(m)];
        EXPECT_EQ(trackbar(m)->value(), std::min(stored, +kMaxPosition)) << "M" << m + 1;
        EXPECT_EQ(dlg->readText(id::kMotorEdit0 + m), QString::number(stored));
    }
    arrowKey(id::kMotorEdit0 + 6, Qt::Key_Down);  // from outside the range it starts at its end
    EXPECT_EQ(drainLiveOf(6), std::vector<int>{199});

    // One field change, even to the same number, sends the fields once; only the low byte of
    // a value goes out or is stored.
    dlg->writeUnsigned(id::kMotorEdit0 + 3, 300);
    dlg->writeUnsigned(id::kMotorEdit0 + 3, 300);
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
    EXPECT_EQ(std::pair(boxes.shown[0].icon, boxes.shown[0].owner),
              std::pair(MessageIcon::Exclamation, static_cast<QWidget*>(dlg.get())));
    EXPECT_EQ(liveSendBusy, 0);
}

TEST_F(PanelsTest, TheTableShowsThePageAsStoredAndChangesWithSetStepAlone) {
    const QImage start = renderedTable();
    for (int step = 0; step < static_cast<int>(kStepCount); ++step) {
        EXPECT_TRUE(cellShows(start, step, -1, QString::number(step))) << step;
        for (int row = 0; row <= StepTableLayout::kRateRow; ++row) {
            EXPECT_TRUE(cellShows(start, step, row, row < StepTableLayout::kAccRow ? "100" : "50"));
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
    const QImage before = renderedTable();
    choose(id::kStepCombo, 1);
    click(id::kGetStep);
    moveTo(2, 150);
    arrowKey(id::kMotorEdit0 + 5, Qt::Key_Down);
    arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(renderedTable(), before);

    choose(id::kStepCombo, 4);
    click(id::kSetStep);
    const QImage after = renderedTable();
    const std::tuple<int, int, const char*> cells[] = {{4, 1, "230"}, {4, 2, "150"}, {4, 5, "99"},
                                                       {4, 22, "49"}, {1, 1, "230"}, {3, 2, "100"}};
    for (const auto& [step, row, text] : cells) {
        EXPECT_TRUE(cellShows(after, step, row, text)) << step << " " << row;
    }
}

TEST_F(PanelsTest, EnableStepLineFollowsTheListAndAPageBeyondStepSevenShowsNone) {
    const int left = table().contentsRect().left();
    EXPECT_EQ(redColumns(), std::set<int>{left + 60});
    choose(id::kEnableStepCombo, 7);
    const auto layout = StepTableLayout::forClient(table().contentsRect().size());
    EXPECT_EQ(redColumns(), std::set<int>{left + 7 * layout.columnWidth + 60});
    PageRecord record = defaultPageRecord();
    record.enableStep = 9;
    motionPage.setRecord(record);
    dlg->refreshPageControls();
    EXPECT_EQ(dlg->selectedIndex(id::kEnableStepCombo), -1);
    EXPECT_TRUE(redColumns().empty());
    for (QSize size : {QSize(0, 0), QSize(10, 10), QSize(80, 30)}) {
        table().resize(size);  // too small for a table: still painted without fault
        EXPECT_EQ(renderedTable().size(), size);
    }
}

}  // namespace
}  // namespace kestrova::test
