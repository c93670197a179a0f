// SPDX-License-Identifier: MIT
#include "src/ui/step_table_keys.h"

#include <QKeyEvent>
#include <algorithm>

#include "src/model/step_line.h"

namespace kestrova {

std::optional<StepTableLayout::Cell> movedCell(StepTableLayout::Cell from, int key) {
    int step = from.step;
    int row = from.row;
    switch (key) {
        case Qt::Key_Left:
            --step;
            break;
        case Qt::Key_Right:
            ++step;
            break;
        case Qt::Key_Up:
            --row;
            break;
        case Qt::Key_Down:
            ++row;
            break;
        default:
            return std::nullopt;
    }
    return StepTableLayout::Cell{std::clamp(step, 0, static_cast<int>(kStepCount) - 1),
                                 std::clamp(row, 0, static_cast<int>(kStepLineSize) - 1)};
}

bool opensCellEditor(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            return true;
        default:
            return !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
                   event.text().size() == 1 && event.text().front().isDigit();
    }
}

}  // namespace kestrova
