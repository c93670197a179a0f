// SPDX-License-Identifier: MIT
#include "ui/step_table_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <set>

#include "model/motion_page.h"

namespace {

using kestrova::StepTableLayout;

// About the size the main window gives the view.
constexpr QSize kViewSize{384, 640};

class StepTableTest : public ::testing::Test {
  protected:
    StepTableTest() : view(page) {
        view.setFrameStyle(QFrame::Panel | QFrame::Sunken);
        view.setLineWidth(2);
        view.resize(kViewSize);
    }

    QImage rendered() {
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::darkGray);
        view.render(&image);
        return image;
    }
    QRect client() const { return view.contentsRect(); }
    StepTableLayout layout() const { return StepTableLayout::forClient(client().size()); }

    // The part of the client area that belongs to one cell alone, clear of the lines between.
    QRect cell(int step, int rowTop) const {
        const int half = layout().columnWidth / 2;
        return QRect(layout().columnCentre(step) - half + 2, rowTop, 2 * half - 4,
                     layout().rowPitch - 1)
            .translated(client().topLeft());
    }

    // The cell shows exactly `text`: the view's pixels there match the text drawn alone, in
    // the table's font, centred on the column with its top on the row.
    void expectCell(const QImage& image, int step, int rowTop, const QString& text) {
        QImage expected(image.size(), image.format());
        expected.fill(Qt::white);
        QPainter painter(&expected);
        painter.setFont(CStepTableView::tableFont(view.logicalDpiY()));
        painter.setPen(Qt::black);
        const QFontMetrics metrics = painter.fontMetrics();
        const QPoint anchor = client().topLeft() + QPoint(layout().columnCentre(step), rowTop);
        painter.drawText(anchor + QPoint(-metrics.horizontalAdvance(text) / 2, metrics.ascent()),
                         text);
        painter.end();
        const QRect area = cell(step, rowTop);
        EXPECT_EQ(image.copy(area), expected.copy(area))
            << "step " << step << " row top " << rowTop << " should show " << text.toStdString();
    }

    // x of every pixel column that holds pure red.
    static std::set<int> redColumns(const QImage& image) {
        std::set<int> columns;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == qRgb(255, 0, 0)) {
                    columns.insert(x);
                }
            }
        }
        return columns;
    }

    CMotionPage page;
    CStepTableView view;
};

TEST_F(StepTableTest, DefaultPageShowsEveryCellWhiteBackgroundAndTheLineAtSixty) {
    const QImage image = rendered();
    for (int step = 0; step < 8; ++step) {
        expectCell(image, step, StepTableLayout::kHeaderTop, QString::number(step));
        for (int motor = 0; motor < 22; ++motor) {
            expectCell(image, step, layout().rowTop(motor), "100");
        }
        expectCell(image, step, layout().rowTop(StepTableLayout::kAccRow), "50");
        expectCell(image, step, layout().rowTop(StepTableLayout::kRateRow), "50");
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
        EXPECT_EQ(redColumns(rendered()), std::set<int>{client().left() + x}) << enable;
        EXPECT_LE(x, client().width() - 16);
    }
}

TEST_F(StepTableTest, EnableStepBeyondTheTableDrawsNoVisibleLine) {
    for (int enable : {8, 9, 255}) {
        page.setEnableStep(static_cast<std::uint8_t>(enable));
        const QImage image = rendered();
        EXPECT_TRUE(redColumns(image).empty()) << enable;
        expectCell(image, 7, layout().rowTop(21), "100");
    }
}

TEST_F(StepTableTest, StoredValuesShowAsUnsignedBytesIncludingThoseAboveTwoHundred) {
    kestrova::StepPositions row{};
    row.fill(7);
    row[4] = 230;
    row[21] = 255;
    page.setStepPositions(6, row);
    page.setAcc(6, 201);
    page.setRate(2, 255);
    page.setRate(6, 0);

    const QImage image = rendered();
    expectCell(image, 6, layout().rowTop(0), "7");
    expectCell(image, 6, layout().rowTop(4), "230");
    expectCell(image, 6, layout().rowTop(21), "255");
    expectCell(image, 6, layout().rowTop(StepTableLayout::kAccRow), "201");
    expectCell(image, 6, layout().rowTop(StepTableLayout::kRateRow), "0");
    expectCell(image, 2, layout().rowTop(StepTableLayout::kRateRow), "255");
    expectCell(image, 5, layout().rowTop(4), "100");
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
        const QImage image = rendered();
        EXPECT_EQ(image.size(), size);
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
    expectCell(view.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), 0,
               layout().rowTop(StepTableLayout::kAccRow), "9");
}

}  // namespace
