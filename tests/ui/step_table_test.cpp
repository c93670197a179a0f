// SPDX-License-Identifier: MIT
#include "ui/step_table_view.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kestrova::test
