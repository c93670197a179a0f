// SPDX-License-Identifier: MIT
#include "src/ui/step_cell_editor.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace kestrova {

void StepCellEditor::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit offered(text());
            break;
        case Qt::Key_Escape:
            emit cancelled();
            break;
        default:
            QLineEdit::keyPressEvent(event);
            return;
    }
    event->accept();  // the window's default button never sees them
}

void StepCellEditor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Its own context menu takes the focus for a moment only.
    if (event->reason() != Qt::PopupFocusReason) {
        emit cancelled();
    }
}

}  // namespace kestrova
