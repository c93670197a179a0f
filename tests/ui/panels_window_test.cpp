// SPDX-License-Identifier: MIT
// The motor panels, the step commands, the arrow keys and the step table inside the main
// window, with what the live-positions stream puts on the far side of a real pseudo-terminal.
// Dragging a trackbar while linked runs end to end against the simulator.
#include <QLabel>
#include <QPainter>
#include <atomic>
#include <cstring>
#include <set>
#include <thread>

#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

#ifndef _WIN32  // the kernel's receive time stamps are Linux's own
// What one read takes from a socket with SO_TIMESTAMPNS: the byte count and when the kernel
// took in the last of those bytes (0 when it gave no time); no bytes once the line has been
// quiet for 50 ms.
std::pair<long, std::chrono::nanoseconds> receiveStamped(int fd) {
    std::array<std::uint8_t, 4096> bytes{};
    iovec data{bytes.data(), bytes.size()};
    alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(timespec))> control{};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    pollfd wait{fd, POLLIN, 0};
    const long count = ::poll(&wait, 1, 50) == 1 ? ::recvmsg(fd, &message, 0) : 0;
    timespec at{};  // stays 0 when nothing came: the control buffer is still zeroed
    if (const cmsghdr* stamp = CMSG_FIRSTHDR(&message);
        stamp && stamp->cmsg_type == SO_TIMESTAMPNS) {
        std::memcpy(&at, CMSG_DATA(stamp), sizeof at);
    }
    return std::pair(std::max(count, 0L),
                     std::chrono::seconds(at.tv_sec) + std::chrono::nanoseconds(at.tv_nsec));
}

#endif

class PanelsTest : public PtyEditorTest {
  protected:
    void SetUp() override {
        PtyEditorTest::SetUp();
        connect();
#ifndef _WIN32
        // The kernel turns stamping on in the background: long before the first packet.
        const int on = 1;
        ASSERT_EQ(::setsockopt(board.held.get(), SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on), 0);
#endif
    }
    QSlider* trackbar(int motor) const {
        return dlg->motorPanel(motor)->trackbarControl();
    }
    // A key pressed in the focused control.
    void arrowKey(QWidget* control, Qt::Key key) const {
        control->setFocus();
        QTest::keyClick(control, key);
    }
    void arrowKey(int controlId, Qt::Key key) const {
        arrowKey(dlg->control(controlId), key);
    }
    // Motor `motor`'s byte in each live packet drained.
    std::vector<int> drainLiveOf(std::size_t motor) {
        std::vector<int> values;
        for (const StepPositions& packet : drainLive()) {
            values.push_back(packet[motor]);
        }
        return values;
    }
#ifndef _WIN32
    // Moves the port to COM5, `board`.
    void connectToBoard() {
        setenv("KESTROVA_COM5", board.device.c_str(), 1);
        dlg->onDisconnect();
        dlg->setup().portIndex = 4;
        dlg->onConnect();
        unsetenv("KESTROVA_COM5");
        ASSERT_TRUE(board.accept());
    }
    // When each live packet reached the board while `moves` ran, as the kernel stamped it on
    // arrival, so that a reader thread that runs late on a busy machine does not shift the
    // times. Nothing when the reader fell so far behind that a packet came before it took the
    // one before: the two then share one stamp.
    std::optional<std::vector<std::chrono::nanoseconds>> arrivalsDuring(
        const std::function<void()>& moves) {
        std::vector<std::chrono::nanoseconds> arrivals;
        bool behind = false;
        std::atomic<bool> reading = false, moved = false;
        std::thread reader([&] {
            reading = true;
            // Until the line is quiet once the moves are done.
            for (auto [count, at] = receiveStamped(board.fd.get()); count > 0 || !moved;
                 std::tie(count, at) = receiveStamped(board.fd.get())) {
                if (count > 0) {
                    behind = behind || count != std::ssize(LivePacket{});
                    arrivals.push_back(at);
                }
            }
        });
        while (!reading) {
            std::this_thread::yield();
        }
        moves();
        moved = true;
        reader.join();
        return behind ? std::nullopt : std::optional(arrivals);
    }
#endif
    CStepTableView& table() const {
        return *dlg->stepTableView();
    }
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
        const int width = painter.fontMetrics().horizontalAdvance(text);
        painter.drawText(anchor + QPoint(-width / 2, painter.fontMetrics().ascent()), text);
        painter.end();
        const int half = std::min(layout.columnWidth / 2 - 2, 20);  // the line is 22 right
        const QRect area(anchor.x() - half, anchor.y(), 2 * half, layout.rowPitch - 1);
        return image.copy(area) == expected.copy(area);
    }

    LoopbackListener board;  // on COM5 once asked for; its connection inherits the stamping
};

// Every label fits its panel at one common size; a panel drags about inside the frame.
TEST_F(PanelsTest, PanelsStartOnTheirStaircaseAndDragInsideTheFrame) {
    const QRect frame = dlg->control(id::kPictureFrame)->contentsRect();
    for (int index = 0; index < static_cast<int>(kMotorCount); ++index) {
        const CMotorPanel* panel = dlg->motorPanel(index);
        const QPoint staircase(10 * index + 10, 36 * (index % 12) + 36);
        EXPECT_EQ(panel->geometry(), QRect(frame.topLeft() + staircase, QSize(63, 36))) << index;
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

StepPositions storedStep(unsigned step) {
    StepPositions stored{};
    motionPage.getStepPositions(step, stored);
    return stored;
}

// Right after start-up the motor fields are empty: nothing goes out, whatever moves, until
// Get Step fills them (an empty field would go out as 0, an extreme).
TEST_F(PanelsTest, ArrowKeysStopAtTheRangeEndsAndOnlyMotorFieldsSend) {
    const int m1 = id::kMotorEdit0;
    click(id::kLinkToTarget);
    arrowKey(trackbar(5), Qt::Key_Right);
    dlg->writeUnsigned(m1, kMaxPosition);
    arrowKey(m1, Qt::Key_Up);
    EXPECT_TRUE(drain().empty());
    click(id::kGetStep);
    StepPositions first = storedStep(0);
    EXPECT_EQ(drainLive(), std::vector{first});
    dlg->writeUnsigned(m1, kMaxPosition);
    arrowKey(m1, Qt::Key_Up);
    first[0] = kMaxPosition;
    EXPECT_EQ(drainLive(), (std::vector{first, first}));
    arrowKey(trackbar(0), Qt::Key_Right);  // its own key writes at the end too
    dlg->writeUnsigned(m1, 0);
    arrowKey(m1, Qt::Key_Down);
    arrowKey(m1, Qt::Key_Up);
    EXPECT_EQ(std::pair(dlg->readText(m1), trackbar(0)->value()), std::pair(QString("1"), 1));
    EXPECT_EQ(drainLiveOf(0), (std::vector<int>{200, 200, 0, 0, 1}));

    dlg->writeUnsigned(id::kAccEdit, kMaxAcc);
    dlg->writeUnsigned(id::kRateEdit, kMaxRate);
    arrowKey(id::kAccEdit, Qt::Key_Up);
    arrowKey(id::kRateEdit, Qt::Key_Up);
    arrowKey(id::kAccEdit, Qt::Key_Down);
    EXPECT_EQ(readTexts({id::kAccEdit, id::kRateEdit}), QStringList({"49", "200"}));
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(motionPage.getAcc(0), kDefaultAcc);  // only Set Step stores it
}

// Get Step, Set Step and step Reset: one packet each when linked, with the low bytes; none
// when not. Get Step moves every trackbar, and keeps a value above their range as fetched.
TEST_F(PanelsTest, StepCommandsSendOnePacketEachWhenLinkedAndMoveEveryTrackbar) {
    click(id::kResetStep);
    EXPECT_TRUE(drain().empty());
    click(id::kLinkToTarget);
    click(id::kResetStep);
    EXPECT_EQ(readTexts({id::kMotorEdit0 + 21, id::kAccEdit, id::kRateEdit}),
              QStringList({"100", "50", "50"}));
    EXPECT_EQ(drainLive(), std::vector{storedStep(0)});  // the default page's step

    PageRecord record = samplePage();
    record.position[2 * kMotorCount + 6] = 230;
    std::tie(record.acc[2], record.rate[2]) = std::pair(7, 8);
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
    EXPECT_EQ(
        std::tuple(+motionPage.getAcc(6), +motionPage.getRate(6), boxes.shown.size(), liveSendBusy),
        std::tuple(7, 8, 0u, 0));

#ifndef _WIN32
    // Two quick slider moves reach the board at least the pause apart, so that dragging never
    // floods it. A key writes on its press and again on its release.
    connectToBoard();
    std::optional<std::vector<std::chrono::nanoseconds>> arrivals;
    for (int tries = 0; tries < 3 && !arrivals; ++tries) {  // a busy machine can stall the reader
        arrivals = arrivalsDuring([&] {
            QTest::keyClick(trackbar(0), Qt::Key_Right);
            QTest::keyClick(trackbar(1), Qt::Key_Left);
        });
    }
    ASSERT_TRUE(arrivals) << "the packets came faster than the reader took them";
    ASSERT_EQ(arrivals->size(), 4u);
    ASSERT_EQ(std::count(arrivals->begin(), arrivals->end(), 0ns), 0) << "arrivals not stamped";
    for (std::size_t i = 1; i < arrivals->size(); ++i) {
        EXPECT_GE((*arrivals)[i] - (*arrivals)[i - 1], 100ms) << i;
    }
#endif
}

// The table paints the page as stored, never the step fields, with a red line right of the
// last enabled step's column; a page beyond step 7 has none.
TEST_F(PanelsTest, TheTableShowsThePageAsStoredAndChangesWithSetStepAlone) {
    PageRecord record = defaultPageRecord();
    record.position[1 * kMotorCount + 1] = 230;
    motionPage.setRecord(record);
    dlg->refreshPageControls();
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
    const QString m3 = QString::number(trackbar(2)->value());
    constexpr int acc = StepTableLayout::kAccRow, rate = StepTableLayout::kRateRow;
    const std::tuple<int, int, QString> cells[] = {
        {0, -1, "0"},   {7, -1, "7"},    {4, 1, "230"}, {4, 2, m3},    {4, 5, "99"},
        {4, acc, "49"}, {4, rate, "50"}, {1, 1, "230"}, {3, 2, "100"}, {7, 21, "100"}};
    for (const auto& [step, row, text] : cells) {
        EXPECT_TRUE(cellShows(after, step, row, text)) << step << " " << row;
    }
    const int left = table().contentsRect().left();
    EXPECT_EQ(redColumns(), std::set<int>{left + 60});
    choose(id::kEnableStepCombo, 7);
    const auto layout = StepTableLayout::forClient(table().contentsRect().size());
    EXPECT_EQ(redColumns(), std::set<int>{left + 7 * layout.columnWidth + 60});
    record.enableStep = 9;
    motionPage.setRecord(record);
    dlg->refreshPageControls();
    EXPECT_EQ(std::pair(dlg->selectedIndex(id::kEnableStepCombo), redColumns()),
              std::pair(-1, std::set<int>{}));
    for (QSize size : {QSize(1, 1), QSize(10, 10), QSize(80, 30)}) {
        table().resize(size);  // too small for a table: still painted without fault
        EXPECT_EQ(renderedTable().size(), size);
    }
}

}  // namespace
}  // namespace kestrova::test
