// SPDX-License-Identifier: MIT
#pragma once

// Reading the step table back from its pixels: where the dashed red line is, and whether a
// cell shows a given text.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
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

// Whether the part of the view that belongs to the cell alone, clear of the enable-step line,
// holds the pixels of `text` drawn alone in the table's font, centred on the column with its
// top on the row.
inline bool cellShows(const QImage& image, const CStepTableView& view, int step, int row,
                      const QString& text) {
    const StepTableLayout layout = layoutOf(view);
    const int rowTop = row < 0 ? StepTableLayout::kHeaderTop : layout.rowTop(row);
    const QPoint anchor = view.contentsRect().topLeft() + QPoint(layout.columnCentre(step), rowTop);
    QImage expected(image.size(), image.format());
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setFont(CStepTableView::tableFont(view.logicalDpiY()));
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(anchor + QPoint(-metrics.horizontalAdvance(text) / 2, metrics.ascent()), text);
    painter.end();
    const int half = std::min(layout.columnWidth / 2 - 2, 20);  // the line is 22 right of a centre
    const QRect area(anchor.x() - half, anchor.y(), 2 * half, layout.rowPitch - 1);
    return image.copy(area) == expected.copy(area);
}

}  // namespace kestrova::test
