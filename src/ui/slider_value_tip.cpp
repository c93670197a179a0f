// SPDX-License-Identifier: MIT
#include "src/ui/slider_value_tip.h"

#include <QEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

namespace kestrova {

SliderValueTip::SliderValueTip(QSlider* slider) : QObject(slider), slider(slider) {
    // The position is read, not the value: the owner may move the thumb with signals blocked.
    connect(slider, &QAbstractSlider::actionTriggered, this, [this] { show(); });
    slider->installEventFilter(this);
}

bool SliderValueTip::eventFilter(QObject* watched, QEvent* event) {
    // A tip hides at a mouse release; the one that ends a drag shows the final value again.
    const QEvent::Type type = event->type();
    if (watched == slider && (type == QEvent::FocusIn || type == QEvent::ToolTip ||
                              type == QEvent::MouseButtonRelease)) {
        show();
        return type == QEvent::ToolTip;
    }
    return QObject::eventFilter(watched, event);
}

void SliderValueTip::show() {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                         QStyle::SC_SliderHandle, slider);
    QToolTip::showText(slider->mapToGlobal(handle.bottomRight()),
                       QString::number(slider->sliderPosition()), slider);
}

}  // namespace kestrova
