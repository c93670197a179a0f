// SPDX-License-Identifier: MIT
#include "src/ui/step_table_view.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "src/model/step_line.h"
#include "src/ui/dialog_builder.h"
#include "src/ui/step_cell_editor.h"
#include "src/ui/step_table_accessible.h"
#include "src/ui/step_table_keys.h"

using kestrova::StepTableLayout;

namespace {

constexpr QColor kLineColour{255, 0, 0};

// The text's top edge at y, centred on x.
void drawCentred(QPainter& painter, int x, int y, int value) {
    const QString text = QString::number(value);
    const QFontMetrics metrics = painter.fontMetrics();
    const int left = x - metrics.horizontalAdvance(text) / 2;
    painter.drawText(QPoint(left, y + metrics.ascent()), text);
}

// The step's 22 positions, then ACC and Rate, one row each; a position outside the profile's
// limits in the limit colour.
void drawColumn(QPainter& painter, const kestrova::PageRecord& page, const StepTableLayout& layout,
                int step, const std::optional<kestrova::RobotProfile>& profile) {
    const int x = layout.columnCentre(step);
    drawCentred(painter, x, StepTableLayout::kHeaderTop, step);
    const kestrova::StepLine line = kestrova::readStepLine(page, static_cast<std::size_t>(step));
    for (std::size_t row = 0; row < line.size(); ++row) {
        const bool outside =
            profile && row < kestrova::kMotorCount && !profile->allows(row, line[row]);
        painter.setPen(outside ? kLineColour : Qt::black);
        drawCentred(painter, x, layout.rowTop(static_cast<int>(row)), line[row]);
    }
}

}  // namespace

namespace kestrova {

std::optional<StepTableLayout::Cell> StepTableLayout::cellAt(QPoint point) const {
    if (columnWidth <= 0 || rowPitch <= 0 || point.y() < rowTop(0)) {
        return std::nullopt;
    }
    const int step = (point.x() - columnCentre(0) + columnWidth / 2) / columnWidth;
    const int row = (point.y() - rowTop(0)) / rowPitch;
    const bool inside = point.x() >= cellRect({0, 0}).left() &&
                        step < static_cast<int>(kStepCount) &&
                        row < static_cast<int>(kStepLineSize);
    return inside ? std::optional<Cell>({step, row}) : std::nullopt;
}

}  // namespace kestrova

CStepTableView::CStepTableView(const kestrova::PageRecord& page, QWidget* parent)
    : QFrame(parent), page(page) {
    kestrova::installStepTableAccessible();
}

QFont CStepTableView::tableFont(int dpiY) {
    // 10 points as a whole number of pixels: 13 at 96 dots per inch.
    QFont font;
    font.setFamilies(kestrova::withSansSerifFallbacks(QStringLiteral("@MS PGothic")));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, dpiY * 100 / 720));
    return font;
}

void CStepTableView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    drawFrame(&painter);

    const QRect client = contentsRect();
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    const int width = client.width();
    const int height = client.height();

    painter.setFont(tableFont(logicalDpiY()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(0, 0, width, height);

    painter.setPen(Qt::black);
    const auto layout = StepTableLayout::forClient(client.size());
    for (int step = 0; step < static_cast<int>(kestrova::kStepCount); ++step) {
        drawColumn(painter, page, layout, step, profile);
    }

    // Drawn last, over any text it crosses.
    painter.setPen(QPen(kLineColour, 1, Qt::DashLine));
    const int lineX = layout.enableLineX(page.enableStep);
    painter.drawLine(lineX, 0, lineX, height);

    // The keyboard's cell, only while the table has the focus.
    if (hasFocus() && editor == nullptr) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(layout.cellRect(cursor).adjusted(0, 0, -1, -1));
    }
}

void CStepTableView::showPageChange() {
    update();
    QAccessibleTableModelChangeEvent change(this, QAccessibleTableModelChangeEvent::DataChanged);
    change.setFirstRow(0);
    change.setLastRow(static_cast<int>(kestrova::kStepLineSize) - 1);
    change.setFirstColumn(0);
    change.setLastColumn(static_cast<int>(kestrova::kStepCount) - 1);
    QAccessible::updateAccessibility(&change);
}

std::uint8_t CStepTableView::valueAt(StepTableLayout::Cell cell) const {
    const auto line = kestrova::readStepLine(page, static_cast<std::size_t>(cell.step));
    return line[static_cast<std::size_t>(cell.row)];
}

QRect CStepTableView::cellRect(StepTableLayout::Cell cell) const {
    const QRect client = contentsRect();
    return StepTableLayout::forClient(client.size()).cellRect(cell).translated(client.topLeft());
}

void CStepTableView::keyPressEvent(QKeyEvent* event) {
    const std::optional<StepTableLayout::Cell> moved = kestrova::movedCell(cursor, event->key());
    if (moved) {
        cursor = *moved;
        update();
    } else if (kestrova::opensCellEditor(*event)) {
        openEditor(cursor);
        // A digit starts the new value, as typing into a spreadsheet cell does.
        if (!event->text().isEmpty() && event->text().front().isDigit()) {
            editor->setText(event->text());
        }
    } else {
        QFrame::keyPressEvent(event);
        return;
    }
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(cursor.row * static_cast<int>(kestrova::kStepCount) + cursor.step);
    QAccessible::updateAccessibility(&focus);
}

void CStepTableView::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    update();
}

void CStepTableView::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    update();
}

void CStepTableView::showProfile(const std::optional<kestrova::RobotProfile>& shown) {
    profile = shown;
    update();
}

QLineEdit* CStepTableView::cellEditor() const {
    return editor;
}

void CStepTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QRect client = contentsRect();
    const auto layout = StepTableLayout::forClient(client.size());
    if (const auto cell = layout.cellAt(event->position().toPoint() - client.topLeft())) {
        openEditor(*cell);
    }
}

void CStepTableView::openEditor(StepTableLayout::Cell cell) {
    closeEditor();
    focusBeforeEditing = QApplication::focusWidget();
    editedCell = cell;
    editor = new kestrova::StepCellEditor(this);
    editor->setFont(tableFont(logicalDpiY()));
    editor->setAlignment(Qt::AlignCenter);
    editor->setGeometry(cellRect(cell));
    editor->setText(QString::number(valueAt(cell)));
    editor->selectAll();
    connect(editor, &kestrova::StepCellEditor::offered, this, &CStepTableView::offer);
    connect(editor, &kestrova::StepCellEditor::cancelled, this, &CStepTableView::closeEditor);
    editor->show();
    editor->setFocus(Qt::MouseFocusReason);
}

void CStepTableView::offer(const QString& text) {
    const auto value =
        kestrova::parseStepValue(text.toStdString(), static_cast<std::size_t>(editedCell.row));
    if (!value) {
        QApplication::beep();  // refused: the editor stays open for a correction
        editor->selectAll();
        return;
    }
    const kestrova::StepTableLayout::Cell cell = editedCell;
    closeEditor();
    emit valueTyped(cell.step, cell.row, *value);
}

void CStepTableView::closeEditor() {
    // Cleared first: hiding the focused editor moves the focus and reports its loss again.
    QPointer<kestrova::StepCellEditor> closing = std::exchange(editor, nullptr);
    if (closing == nullptr) {
        return;
    }
    if (closing->hasFocus() && focusBeforeEditing != nullptr) {
        focusBeforeEditing->setFocus();
    }
    closing->hide();
    closing->deleteLater();
}
