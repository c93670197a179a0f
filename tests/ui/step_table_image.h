// SPDX-License-Identifier: MIT
#pragma once

// Reading the step table back from its pixels: where the dashed red line is, and whether a
// cell shows a given text.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <set>

#include "ui/step_table_view.h"

namespace kestrova::test {

inline QImage renderedTable(CStepTableView& view) {
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::darkGray);
    view.render(&image);
    return image;
}

// x of every pixel column that holds pure red.
inline std::set<int> redColumns(const QImage& image) {
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

inline StepTableLayout layoutOf(const CStepTableView& view) {
    return StepTableLayout::forClient(view.contentsRect().size());
}

// The part of the view that belongs to one cell alone, clear of the enable-step line.
inline QRect cellArea(const CStepTableView& view, int step, int rowTop) {
    const StepTableLayout layout = layoutOf(view);
    const int half = layout.columnWidth / 2;
    return QRect(layout.columnCentre(step) - half + 2, rowTop, 2 * half - 4, layout.rowPitch - 1)
        .translated(view.contentsRect().topLeft());
}

// Whether the cell's pixels are those of `text` drawn alone in the table's font, centred on
// the column with its top on the row.
inline bool cellShows(const QImage& image, const CStepTableView& view, int step, int rowTop,
                      const QString& text) {
    QImage expected(image.size(), image.format());
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setFont(CStepTableView::tableFont(view.logicalDpiY()));
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    const QPoint anchor =
        view.contentsRect().topLeft() + QPoint(layoutOf(view).columnCentre(step), rowTop);
    painter.drawText(anchor + QPoint(-metrics.horizontalAdvance(text) / 2, metrics.ascent()), text);
    painter.end();
    const QRect area = cellArea(view, step, rowTop);
    return image.copy(area) == expected.copy(area);
}

}  // namespace kestrova::test
