// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QSlider;

namespace kestrova {

// Shows a slider's value in a tooltip beside its handle while it is dragged or stepped with
// keys, when it takes the focus and when the pointer rests on it. A child of the slider.
class SliderValueTip : public QObject {
    Q_OBJECT

  public:
    explicit SliderValueTip(QSlider* slider);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void show();

    QSlider* slider;
};

}  // namespace kestrova
