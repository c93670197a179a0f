// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>
#include <QSize>

#include "src/model/page_record.h"

class CMotionPage;

namespace kestrova {

// Where the table's texts and line go for a client area of a given size. Integer division
// truncates toward zero, so sizes too small for a table give negative steps, drawn as such.
struct StepTableLayout {
    static constexpr int kHeaderTop = 5;
    static constexpr int kAccRow = static_cast<int>(kMotorCount);
    static constexpr int kRateRow = kAccRow + 1;

    int columnWidth;
    int rowPitch;

    static StepTableLayout forClient(QSize client) {
        return {(client.width() - 76) / 7, (client.height() - 40) / 23};
    }
    int columnCentre(int step) const { return 38 + step * columnWidth; }
    // Rows 0..21 hold motors M1..M22, then the ACC row and the Rate row.
    int rowTop(int row) const { return 30 + row * rowPitch; }
    // 22 pixels right of the centre of the last enabled step's column.
    int enableLineX(int enableStep) const { return columnWidth * enableStep + 60; }
};

}  // namespace kestrova

// The whole page at a glance: a column per step, a row per motor, then ACC and Rate, and a
// dashed red line after the last enabled step. It paints the page as stored, never the step
// edits, and repaints only when asked (update()) or uncovered.
class CStepTableView : public QFrame {
    Q_OBJECT

  public:
    explicit CStepTableView(const CMotionPage& page, QWidget* parent = nullptr);

    // The font the table is drawn in, for a screen of `dpiY` dots per inch; where its face is
    // not installed, a sans-serif one stands in.
    static QFont tableFont(int dpiY);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const CMotionPage& page;
};
