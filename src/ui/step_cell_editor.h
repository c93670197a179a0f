// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

namespace kestrova {

// The small editor that the step table opens over a cell. Enter offers its text, Escape or
// leaving it gives up; the table decides whether the text is taken.
class StepCellEditor : public QLineEdit {
    Q_OBJECT

  public:
    using QLineEdit::QLineEdit;

  signals:
    void offered(const QString& text);
    void cancelled();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace kestrova
