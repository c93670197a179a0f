// SPDX-License-Identifier: MIT
// The motor panels, the step buttons, the arrow keys and the step table inside the main window,
// with what reaches the far side of a real pseudo-terminal.
#include <QLabel>
#include <QPainter>
#include <map>
#include <set>

#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

class PanelsTest : public PtyEditorTest {
  protected:
    void SetUp() override {
        PtyEditorTest::SetUp();
        connect();
    }
    QSlider* trackbar(int motor) const { return dlg->motorPanel(motor)->trackbarControl(); }
    // A key pressed in the focused control.
    void arrowKey(QWidget* control, Qt::Key key) const {
        control->setFocus();
        QTest::keyClick(control, key);
    }
    void arrowKey(int controlId, Qt::Key key) const { arrowKey(dlg->control(controlId), key); }
    // M1's byte in each of the next `count` live packets.
    std::vector<int> m1Sent(std::size_t count) const {
        const Bytes bytes = pty.receive(count * kLivePacketSize);
        std::vector<int> values;
        for (std::size_t at = 4; at < bytes.size(); at += kLivePacketSize) {
            values.push_back(bytes[at]);
        }
        return values;
    }
    CStepTableView& table() const { return *dlg->stepTableView(); }
    // x of every pixel column that holds pure red.
    std::set<int> redColumns() const {
        const QImage image = renderedTable();
        std::set<int> columns;
        for (int i = 0; i < image.width() * image.height(); ++i) {
            if (image.pixel(i % image.width(), i / image.width()) == qRgb(255, 0, 0)) {
                columns.insert(i % image.width());
            }
        }
        return columns;
    }
};

// Every label fits its panel at one common size; a panel drags about inside the frame.
TEST_F(PanelsTest, PanelsStartOnTheirStaircaseAndDragInsideTheFrame) {
    const QRect frame = dlg->control(id::kPictureFrame)->contentsRect();
    // The two staircases' ends, worked out by hand.
    const std::map<int, QPoint> ends{
        {0, {10, 36}}, {11, {120, 432}}, {12, {130, 36}}, {21, {220, 360}}};
    for (const auto& [index, corner] : ends) {
        EXPECT_EQ(dlg->motorPanel(index)->geometry(),
                  QRect(frame.topLeft() + corner, QSize(63, 36)))
            << index;
    }
    for (int index = 0; index < static_cast<int>(kMotorCount); ++index) {
        const CMotorPanel* panel = dlg->motorPanel(index);
        const QLabel* label = panel->labelControl();
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width());
        EXPECT_EQ(label->font(), dlg->motorPanel(0)->labelControl()->font());
        const QSlider* slider = panel->trackbarControl();
        EXPECT_EQ(std::tuple(slider->orientation(), slider->tickPosition(), slider->maximum()),
                  std::tuple(Qt::Horizontal, QSlider::NoTicks, +kMaxPosition));
    }
    EXPECT_EQ(dlg->motorPanel(12)->labelControl()->text(), "M13(PC0)");

    CMotorPanel* panel = dlg->motorPanel(21);
    QWindow* window = dlg->windowHandle();
    const QPoint grip =
        panel->labelControl()->mapTo(dlg.get(), panel->labelControl()->rect().center());
    QTest::mousePress(window, Qt::LeftButton, {}, grip);
    QTest::mouseMove(window, grip + QPoint(-30, 40));
    EXPECT_EQ(panel->pos(), frame.topLeft() + QPoint(190, 400));
    QTest::mouseMove(window, grip + QPoint(3000, 3000));
    QTest::mouseRelease(window, Qt::LeftButton, {}, grip + QPoint(3000, 3000));
    EXPECT_EQ(panel->geometry().bottomRight(), frame.bottomRight());

    // A press on a trackbar moves its thumb, not its panel.
    const QPoint start = dlg->motorPanel(3)->pos();
    const QPoint channelEnd =
        trackbar(3)->mapTo(dlg.get(), QPoint(trackbar(3)->width() - 2, trackbar(3)->height() / 2));
    QTest::mousePress(window, Qt::LeftButton, {}, channelEnd);
    QTest::mouseMove(window, channelEnd - QPoint(4, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, channelEnd - QPoint(4, 0));
    EXPECT_EQ(dlg->motorPanel(3)->pos(), start);
    EXPECT_GT(trackbar(3)->value(), 0);
}

// Linked, a motor's arrow key or trackbar key sends (the trackbar's again at its release),
// ACC's and Rate's do not; each stops at its range's end. Only Set Step stores.
TEST_F(PanelsTest, ArrowKeysStopAtTheRangeEndsAndOnlyMotorFieldsSend) {
    const int m1 = id::kMotorEdit0;
    click(id::kLinkToTarget);
    click(id::kResetStep);
    setField(m1, kMaxPosition);
    arrowKey(m1, Qt::Key_Up);
    arrowKey(trackbar(0), Qt::Key_Right);
    setField(m1, 0);
    arrowKey(m1, Qt::Key_Down);
    arrowKey(m1, Qt::Key_Up);
    EXPECT_EQ(std::pair(dlg->readText(m1), trackbar(0)->value()), std::pair(QString("1"), 1));
    EXPECT_EQ(m1Sent(8), (std::vector<int>{100, 200, 200, 200, 200, 0, 0, 1}));

    setField(id::kAccEdit, kMaxAcc);
    setField(id::kRateEdit, kMaxRate);
    arrowKey(id::kAccEdit, Qt::Key_Up);
    arrowKey(id::kRateEdit, Qt::Key_Up);
    arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(readTexts({id::kAccEdit, id::kRateEdit}), QStringList({"49", "200"}));
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(page().acc[0], kDefaultAcc);
}

// The step buttons work at the STEP chosen; the fields and every trackbar show the draft, a
// value above the trackbar's range as stored. What Set Step stores is the table's test below.
TEST_F(PanelsTest, StepButtonsFillTheFieldsAndMoveEveryTrackbar) {
    click(id::kResetStep);
    EXPECT_EQ(readTexts({id::kMotorEdit0 + 21, id::kAccEdit, id::kRateEdit}),
              QStringList({"100", "50", "50"}));
    PageRecord record = samplePage();  // step 2: motor m at 30 + m
    record.position[2 * kMotorCount + 6] = 230;
    std::tie(record.acc[2], record.rate[2]) = std::pair(7, 8);
    load(record);
    choose(id::kStepCombo, 2);
    click(id::kGetStep);
    EXPECT_EQ(readTexts({id::kAccEdit, id::kRateEdit}), QStringList({"7", "8"}));
    for (int m = 0; m < static_cast<int>(kMotorCount); ++m) {
        EXPECT_EQ(trackbar(m)->value(), m == 6 ? 200 : 30 + m) << "M" << m + 1;
        EXPECT_EQ(dlg->readText(id::kMotorEdit0 + m), QString::number(m == 6 ? 230 : 30 + m));
    }
    arrowKey(id::kMotorEdit0 + 6, Qt::Key_Down);  // from outside the range it starts at its end
    EXPECT_EQ(dlg->readText(id::kMotorEdit0 + 6), "199");
}

// The table paints the page as stored, never the step fields, with a red line right of the
// last enabled step's column; a page beyond step 7 has none.
TEST_F(PanelsTest, TheTableShowsThePageAsStoredAndChangesWithSetStepAlone) {
    PageRecord record = pageWith({{8 + 22 + 1, 230}});  // M2 of step 1
    load(record);
    const QImage before = renderedTable();
    const QRect c = table().contentsRect();
    for (QPoint corner : {c.topLeft(), c.topRight(), c.bottomLeft(), c.bottomRight()}) {
        EXPECT_EQ(before.pixel(corner), qRgb(255, 255, 255));  // no outline
    }
    choose(id::kStepCombo, 1);
    click(id::kGetStep);
    QTest::keyClick(trackbar(2), Qt::Key_PageUp);
    arrowKey(id::kMotorEdit0 + 5, Qt::Key_Down);
    arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(renderedTable(), before);

    choose(id::kStepCombo, 4);
    click(id::kSetStep);
    const QImage after = renderedTable();
    EXPECT_NE(after, before);
    PageRecord stored = record;  // step 1 with M3 a page up, M6 and ACC one down
    std::copy_n(record.position.begin() + kMotorCount, kMotorCount,
                stored.position.begin() + 4 * kMotorCount);
    std::tie(stored.position[4 * kMotorCount + 2], stored.position[4 * kMotorCount + 5]) =
        std::pair(110, 99);
    stored.acc[4] = 49;
    load(stored);
    EXPECT_EQ(renderedTable(), after);
    const int left = table().contentsRect().left();
    EXPECT_EQ(redColumns(), std::set<int>{left + 60});
    choose(id::kEnableStepCombo, 7);
    ASSERT_EQ(redColumns().size(), 1u);
    EXPECT_GT(*redColumns().begin(), left + 60);
    record.enableStep = 9;
    load(record);
    EXPECT_EQ(std::pair(dlg->selectedIndex(id::kEnableStepCombo), redColumns()),
              std::pair(-1, std::set<int>{}));
    for (QSize size : {QSize(1, 1), QSize(10, 10), QSize(80, 30)}) {
        table().resize(size);  // too small for a table: still painted without fault
        EXPECT_EQ(renderedTable().size(), size);
    }
}

}  // namespace
}  // namespace kestrova::test
