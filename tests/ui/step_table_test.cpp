// SPDX-License-Identifier: MIT
#include "ui/step_table_view.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "model/motion_page.h"
#include "step_table_image.h"

namespace kestrova::test {
namespace {

// About the size the main window gives the view.
constexpr QSize kViewSize{384, 640};

class StepTableTest : public ::testing::Test {
  protected:
    StepTableTest() : view(page) {
        view.setFrameStyle(QFrame::Panel | QFrame::Sunken);
        view.setLineWidth(2);
        view.resize(kViewSize);
    }

    QRect client() const { return view.contentsRect(); }
    StepTableLayout layout() const { return layoutOf(view); }
    int motorRow(int motor) const { return layout().rowTop(motor); }
    int accRow() const { return layout().rowTop(StepTableLayout::kAccRow); }
    int rateRow() const { return layout().rowTop(StepTableLayout::kRateRow); }

    CMotionPage page;
    CStepTableView view;
};

TEST_F(StepTableTest, DefaultPageShowsEveryCellWhiteBackgroundAndTheLineAtSixty) {
    const QImage image = renderedTable(view);
    for (int step = 0; step < 8; ++step) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(
            cellShows(image, view, step, StepTableLayout::kHeaderTop, QString::number(step)));
        for (int motor = 0; motor < 22; ++motor) {
            EXPECT_TRUE(cellShows(image, view, step, motorRow(motor), "100")) << "M" << motor + 1;
        }
        EXPECT_TRUE(cellShows(image, view, step, accRow(), "50"));
        EXPECT_TRUE(cellShows(image, view, step, rateRow(), "50"));
    }
    EXPECT_EQ(redColumns(image), std::set<int>{client().left() + 60});
    // No outline: the client area's corners are background.
    const QRect c = client();
    for (QPoint corner : {c.topLeft(), c.topRight(), c.bottomLeft(), c.bottomRight()}) {
        EXPECT_EQ(image.pixel(corner), qRgb(255, 255, 255));
    }
}

TEST_F(StepTableTest, EnableStepLineSitsTwentyTwoPixelsRightOfItsColumnAndInsideUpToSeven) {
    for (int enable : {0, 3, 7}) {
        page.setEnableStep(static_cast<std::uint8_t>(enable));
        const int x = layout().columnCentre(enable) + 22;
        EXPECT_EQ(redColumns(renderedTable(view)), std::set<int>{client().left() + x}) << enable;
        EXPECT_LE(x, client().width() - 16);
    }
}

TEST_F(StepTableTest, EnableStepBeyondTheTableDrawsNoVisibleLine) {
    for (int enable : {8, 9, 255}) {
        page.setEnableStep(static_cast<std::uint8_t>(enable));
        const QImage image = renderedTable(view);
        EXPECT_TRUE(redColumns(image).empty()) << enable;
        EXPECT_TRUE(cellShows(image, view, 7, motorRow(21), "100"));
    }
}

TEST_F(StepTableTest, StoredValuesShowAsUnsignedBytesIncludingThoseAboveTwoHundred) {
    StepPositions row{};
    row.fill(7);
    row[4] = 230;
    row[21] = 255;
    page.setStepPositions(6, row);
    page.setAcc(6, 201);
    page.setRate(2, 255);
    page.setRate(6, 0);

    const QImage image = renderedTable(view);
    EXPECT_TRUE(cellShows(image, view, 6, motorRow(0), "7"));
    EXPECT_TRUE(cellShows(image, view, 6, motorRow(4), "230"));
    EXPECT_TRUE(cellShows(image, view, 6, motorRow(21), "255"));
    EXPECT_TRUE(cellShows(image, view, 6, accRow(), "201"));
    EXPECT_TRUE(cellShows(image, view, 6, rateRow(), "0"));
    EXPECT_TRUE(cellShows(image, view, 2, rateRow(), "255"));
    EXPECT_TRUE(cellShows(image, view, 5, motorRow(4), "100"));
}

TEST_F(StepTableTest, TheWidestNumberFitsItsColumnInTheTableFont) {
    const QFontMetrics metrics(CStepTableView::tableFont(view.logicalDpiY()));
    EXPECT_EQ(CStepTableView::tableFont(96).pixelSize(), 13);
    EXPECT_LT(metrics.horizontalAdvance("255"), layout().columnWidth - 4);
    EXPECT_LT(metrics.height(), layout().rowPitch);
}

TEST_F(StepTableTest, TooSmallAViewStillPaintsWithoutFault) {
    for (QSize size : {QSize(0, 0), QSize(10, 10), QSize(80, 30)}) {
        view.resize(size);
        EXPECT_EQ(renderedTable(view).size(), size);
    }
}

TEST_F(StepTableTest, PaintsOnlyWhenAskedAndThenShowsThePageAnew) {
    view.show();
    QApplication::processEvents();
    int paints = 0;
    struct PaintCounter : QObject {
        int& count;
        explicit PaintCounter(int& count) : count(count) {}
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter(paints);
    view.installEventFilter(&counter);

    page.setAcc(0, 9);
    QApplication::processEvents();
    EXPECT_EQ(paints, 0);

    view.update();
    QApplication::processEvents();
    EXPECT_EQ(paints, 1);
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_TRUE(cellShows(shown, view, 0, accRow(), "9"));
}

}  // namespace
}  // namespace kestrova::test
