// SPDX-License-Identifier: MIT
#include "src/ui/spin_stepper.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace kestrova {

SpinStepper::SpinStepper(QLineEdit* buddy, int upper, Writer writer, QObject* parent)
    : QObject(parent != nullptr ? parent : buddy),
      buddy(buddy),
      upperBound(std::max(upper, 0)),
      write(std::move(writer)) {
    buddy->installEventFilter(this);
}

int SpinStepper::stepped(int delta) const {
    bool ok = false;
    const long long shown = buddy->text().trimmed().toLongLong(&ok);
    const long long start = ok ? std::clamp<long long>(shown, 0, upperBound) : 0;
    return static_cast<int>(std::clamp<long long>(start + delta, 0, upperBound));
}

bool SpinStepper::eventFilter(QObject* watched, QEvent* event) {
    if (watched != buddy || event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down) {
        return false;
    }
    write(stepped(key == Qt::Key_Up ? 1 : -1));
    return true;
}

}  // namespace kestrova
