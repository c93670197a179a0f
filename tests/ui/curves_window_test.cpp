// SPDX-License-Identifier: MIT
// The Curves window driven by the mouse and the keyboard at positions worked out by hand for a
// 500 x 440 plot: a step every 60 pixels from x 40, position v at y 10 + 2 (200 - v), ACC v at
// y 10 + 8 (50 - v). Edits are read from what the window asks for, byte for byte.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <utility>
#include <vector>

#include "src/ui/curves_plot.h"
#include "src/ui/curves_window.h"
#include "src/ui/message_boxes.h"
#include "src/ui/picture_paths.h"
#include "tests/support/sample_page.h"
#include "tests/support/temp_dir.h"

#if KESTROVA_HAVE_SVG
#include <QSvgRenderer>
#endif

namespace kestrova::test {
namespace {

constexpr std::size_t kM5 = 4, kM6 = 5, kAcc = 22;

struct PreparedPaths : PicturePaths {
    std::optional<QString> next;
    std::optional<QString> choosePicturePath(QWidget* /*parent*/) override { return next; }
};

struct RecordedBoxes : MessageBoxes {
    QStringList texts;
    void show(const MessageRequest& request) override { texts << request.text; }
};

class CurvesWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plot.setFixedSize(500, 440);
        QObject::connect(&window, &CurvesWindow::pageEdited,
                         [this](const PageRecord& page, const QString& label) {
                             edits.emplace_back(page, label);
                         });
        QObject::connect(&window, &CurvesWindow::stepChosen,
                         [this](int step) { steps.push_back(step); });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QPushButton* button(const QString& text) const {
        for (QPushButton* candidate : window.findChildren<QPushButton*>()) {
            if (candidate->text() == text) {
                return candidate;
            }
        }
        return nullptr;
    }
    void click(const QString& text) const { QTest::mouseClick(button(text), Qt::LeftButton); }
    void chooseOnly(std::initializer_list<std::size_t> curves) const {
        click("None");
        for (const std::size_t curve : curves) {
            window.curveList()->item(static_cast<int>(curve))->setCheckState(Qt::Checked);
        }
    }
    QImage picture() const { return plot.grab().toImage(); }
    QVariant cell(int row, int column) const {
        return window.pointsTable()->model()->index(row, column).data();
    }

    PreparedPaths paths;
    RecordedBoxes boxes;
    CurvesWindow window{nullptr, &paths, &boxes};
    CurvesPlot& plot = *window.plot();
    std::vector<std::pair<PageRecord, QString>> edits;
    std::vector<int> steps;
};

TEST_F(CurvesWindowTest, ADragPreviewsAndAsksForOneDragPointOnRelease) {
    chooseOnly({kM5});
    QTest::mousePress(&plot, Qt::LeftButton, {}, {220, 210});  // M5, step 3: 100
    QTest::mouseMove(&plot, {221, 190});
    QTest::mouseMove(&plot, {221, 170});
    EXPECT_TRUE(edits.empty()) << "nothing is decided while the button is held";
    EXPECT_EQ(window.hoverLabel()->text(), "M5(PB4), step 3: 120");
    EXPECT_EQ(cell(0, 3), 120) << "the points table previews too";
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, {221, 170});
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0], std::pair(pageWith({{8 + 66 + 4, 120}}), QString("Drag Point")));

    QTest::mouseClick(&plot, Qt::LeftButton, {}, {340, 400});  // step 5, off every point
    QTest::mouseClick(&plot, Qt::LeftButton, {}, {220, 170});  // on a point: no step chosen
    EXPECT_EQ(steps, std::vector<int>{5});
    EXPECT_EQ(edits.size(), 1u) << "a click without a move changes nothing";

    QTest::mousePress(&plot, Qt::LeftButton, {}, {220, 170});
    QTest::mouseMove(&plot, {220, 0});
    QTest::keyClick(&plot, Qt::Key_Escape);
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, {220, 0});
    EXPECT_EQ(edits.size(), 1u) << "Escape takes the drag back";
    EXPECT_EQ(plot.page(), edits[0].first);
}

TEST_F(CurvesWindowTest, AProfileNamesGroupsAndLimitsTheMotors) {
    RobotProfile profile;
    profile.motors[kM5].name = "left elbow";
    profile.motors[kM5].min = 30;
    profile.motors[kM5].max = 170;
    profile.motors[kM6].name = "left hand";
    profile.motors[kM5].group = profile.motors[kM6].group = "left arm";
    window.setProfile(profile);
    EXPECT_EQ(window.curveList()->item(kM5)->text(), "M5(PB4) left elbow");
    EXPECT_EQ(window.curveList()->item(kM6 + 1)->text(), "M7(PB6)");
    click("left arm");
    ASSERT_EQ(window.pointsTable()->model()->rowCount(), 2);
    EXPECT_EQ(window.pointsTable()->model()->headerData(1, Qt::Vertical), "M6(PB5) left hand");
    chooseOnly({kM5});

    QTest::mousePress(&plot, Qt::LeftButton, {}, {220, 210});
    QTest::mouseMove(&plot, {220, 12});
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, {220, 12});
    EXPECT_EQ(window.hoverLabel()->text(), "M5(PB4) left elbow, step 3: 170");
    QTest::keyClick(&plot, Qt::Key_Up);  // at the limit already
    QTest::keyClick(&plot, Qt::Key_PageDown);
    QTest::keyClick(&plot, Qt::Key_Down);
    // From the keyboard alone: a cell of the table selects its point, Left its neighbour.
    window.pointsTable()->setCurrentIndex(window.pointsTable()->model()->index(0, 6));
    QTest::keyClick(&plot, Qt::Key_Left);
    QTest::keyClick(&plot, Qt::Key_PageUp);
    EXPECT_EQ(window.hoverLabel()->text(), "M5(PB4) left elbow, step 5: 110");
    const std::vector<std::pair<PageRecord, QString>> expected{
        {pageWith({{78, 170}}), "Drag Point"},
        {pageWith({{78, 160}}), "Move Point"},
        {pageWith({{78, 159}}), "Move Point"},
        {pageWith({{78, 159}, {8 + 110 + 4, 110}}), "Move Point"}};
    EXPECT_EQ(edits, expected);
}

TEST_F(CurvesWindowTest, APageShownRedrawsOnlyAroundWhatChanged) {
    PageRecord page = defaultPageRecord();
    window.showPage(page, 0);
    const QImage before = picture();
    page.position[3 * 22 + kM5] = 150;  // y 210 to 110 at x 220, segments from x 160 to 280
    window.showPage(page, 0);
    const QImage after = picture();
    QRect changed;
    for (int i = 0; i < before.width() * before.height(); ++i) {
        const QPoint at(i % before.width(), i / before.width());
        changed |= before.pixel(at) != after.pixel(at) ? QRect(at, QSize(1, 1)) : QRect();
    }
    // Inside the two segments' box, and across most of it.
    EXPECT_TRUE(QRect(157, 104, 127, 113).contains(changed) && changed.width() > 100 &&
                changed.height() > 90)
        << changed.x() << "," << changed.y() << " " << changed.width() << "x" << changed.height();
}

TEST_F(CurvesWindowTest, InterpolateFillsTheChosenCurvesBetweenTwoSteps) {
    window.showPage(pageWith({{184 + 4, 1}}), 2);  // ACC of step 4
    chooseOnly({kAcc});
    window.findChild<QComboBox*>()->setCurrentIndex(4);  // from 4 to 7
    click("Interpolate");
    click("Interpolate");  // a straight line already: nothing to ask for
    const std::vector<std::pair<PageRecord, QString>> expected{
        {pageWith({{188, 1}, {189, 17}, {190, 34}}), "Interpolate"}};
    EXPECT_EQ(edits, expected);
}

TEST_F(CurvesWindowTest, SavePictureWritesPngAndSvgThatLoadAndReportsAFailure) {
    TempDir dir;
    paths.next = QString::fromStdString((dir / "walk.png").string());
    click("Save Picture...");
    const QImage png(*paths.next);
    EXPECT_EQ(png.size(), QSize(500, 440));
    EXPECT_EQ(png.pixelColor(40, 10), QColor(90, 90, 90)) << "ACC's first point";
    paths.next = QString::fromStdString((dir / "walk.svg").string());
    click("Save Picture...");
#if KESTROVA_HAVE_SVG
    const QSvgRenderer svg(*paths.next);
    EXPECT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 500, 440));
#else
    EXPECT_FALSE(QFileInfo::exists(*paths.next)) << "PNG bytes under an SVG name";
#endif
    paths.next = QString::fromStdString((dir / "missing" / "walk.png").string());
    click("Save Picture...");
    EXPECT_EQ(boxes.texts, QStringList(KESTROVA_HAVE_SVG ? 1 : 2, "can't save file!"));
}

TEST_F(CurvesWindowTest, ScreenReadersGetThePointsAsATableAndEveryControlAName) {
    chooseOnly({kM5, kAcc});
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(window.pointsTable());
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->tableInterface()->rowCount(), 2);
    EXPECT_EQ(table->tableInterface()->columnCount(), 8);
    EXPECT_EQ(table->tableInterface()->cellAt(0, 3)->text(QAccessible::Name),
              "M5(PB4), step 3: 100");
    EXPECT_EQ(table->tableInterface()->cellAt(1, 7)->text(QAccessible::Name), "ACC, step 7: 50");
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (control->focusPolicy() != Qt::NoFocus && control->isVisible()) {
            EXPECT_FALSE(
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
                << control->metaObject()->className();
        }
    }
}

}  // namespace
}  // namespace kestrova::test
