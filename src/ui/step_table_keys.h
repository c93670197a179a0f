// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "src/ui/step_table_view.h"

class QKeyEvent;

namespace kestrova {

// Where an arrow key takes the step table's keyboard cell: one cell over, stopping at the
// table's edges; nullopt for any other key.
std::optional<StepTableLayout::Cell> movedCell(StepTableLayout::Cell from, int key);

// Enter, F2 or a digit typed without Ctrl or Alt: the keys that open the cell editor.
bool opensCellEditor(const QKeyEvent& event);

}  // namespace kestrova
