// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>

#include "src/model/page_record.h"
#include "src/profile/robot_profile.h"

class QLineEdit;

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

    // A value's cell: its column's width around the centre, one row pitch from the row top.
    struct Cell {
        int step;
        int row;
    };
    QRect cellRect(Cell cell) const {
        return {columnCentre(cell.step) - columnWidth / 2, rowTop(cell.row), columnWidth, rowPitch};
    }
    // The cell under a point of the client area; nullopt over the step numbers, beside the
    // table, or when the table is too small to have cells.
    std::optional<Cell> cellAt(QPoint point) const;
};

class StepCellEditor;

}  // namespace kestrova

// The whole page at a glance: a column per step, a row per motor, then ACC and Rate, and a
// dashed red line after the last enabled step. It paints the page as stored, never the step
// edits, and repaints only when asked (update()) or uncovered. A double-click on a value, or
// Enter, F2 or a digit on the keyboard's cell, opens an editor over it; the page itself is
// changed by whoever takes valueTyped.
class CStepTableView : public QFrame {
    Q_OBJECT

  public:
    // Paints `page`, which must outlive the view.
    explicit CStepTableView(const kestrova::PageRecord& page, QWidget* parent = nullptr);

    // The font the table is drawn in, for a screen of `dpiY` dots per inch; where its face is
    // not installed, a sans-serif one stands in.
    static QFont tableFont(int dpiY);

    // Repaints the page and tells a screen reader that every value may have changed.
    void showPageChange();
    // Marks the positions outside the profile's limits; nothing is marked without one.
    void showProfile(const std::optional<kestrova::RobotProfile>& shown);
    const std::optional<kestrova::RobotProfile>& shownProfile() const { return profile; }

    // The open cell editor, nullptr when none is open.
    QLineEdit* cellEditor() const;

    // The value a cell shows, and where it is drawn in the table's own coordinates.
    std::uint8_t valueAt(kestrova::StepTableLayout::Cell cell) const;
    QRect cellRect(kestrova::StepTableLayout::Cell cell) const;
    // The keyboard's cell: the arrow keys move it; Enter, F2 or a digit open the editor there.
    kestrova::StepTableLayout::Cell cursorCell() const { return cursor; }

  signals:
    // Enter in the cell editor with a value in the range of the cell's row (a position
    // 0..200, ACC 0..50, Rate 0..200); `row` counts as in a StepLine.
    void valueTyped(int step, int row, std::uint8_t value);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void openEditor(kestrova::StepTableLayout::Cell cell);
    void offer(const QString& text);
    void closeEditor();

    const kestrova::PageRecord& page;
    std::optional<kestrova::RobotProfile> profile;
    QPointer<kestrova::StepCellEditor> editor;
    kestrova::StepTableLayout::Cell editedCell{};
    kestrova::StepTableLayout::Cell cursor{};
    QPointer<QWidget> focusBeforeEditing;
};
