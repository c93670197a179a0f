// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <functional>

class QLineEdit;

namespace kestrova {

// The arrow keys of a hidden up-down control: while its edit has the focus, Up adds one and
// Down subtracts one to the number shown, stopping at 0 and `upper` (no wrap-around), and the
// result goes back into the edit as decimal text. The edits it serves are read-only, so these
// keys are the only way to type a value.
class SpinStepper : public QObject {
    Q_OBJECT

  public:
    // How the new value reaches the edit: the window's own write, so that the edit's change
    // handling runs as for any program write.
    using Writer = std::function<void(int value)>;

    // Installs itself on `buddy`, which must outlive its use. It belongs to `parent` (the
    // buddy when none is given); deleting it detaches it from the buddy.
    SpinStepper(QLineEdit* buddy, int upper, Writer write, QObject* parent = nullptr);

    int upper() const { return upperBound; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The value one step from what the edit shows, inside 0..upper. Text that is not a
    // number counts as 0; a number outside the range is first brought into it.
    int stepped(int delta) const;

    QLineEdit* buddy;
    int upperBound;
    Writer write;
};

}  // namespace kestrova
