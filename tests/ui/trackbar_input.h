// SPDX-License-Identifier: MIT
#pragma once

// Moving a motor panel's trackbar as the user does: the mouse on its thumb through the
// window, and its arrow keys.
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWindow>
#include <vector>

namespace kestrova::test {

inline QRect thumbRect(const QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.tickPosition = slider->tickPosition();
    option.subControls = QStyle::SC_All;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                           slider);
}

inline QPoint inWindow(const QWidget* widget, QPoint point) {
    return widget->mapTo(widget->window(), point);
}

// Drags the thumb a pixel at a time until it reaches `target` or passes it, releases it, then
// steps it onto `target` with the arrow keys. Returns the position at every input that the
// panel answers with an edit write: each movement of the thumb, the release, and each arrow
// key's press and its release.
inline std::vector<int> moveTrackbarTo(QWindow* window, QSlider* slider, int target) {
    std::vector<int> writes;
    QPoint pointer = inWindow(slider, thumbRect(slider).center());
    const int direction = target >= slider->value() ? 1 : -1;
    QTest::mousePress(window, Qt::LeftButton, {}, pointer);
    for (int i = 0; i < 400 && (target - slider->sliderPosition()) * direction > 0; ++i) {
        pointer.rx() += direction;
        const int before = slider->sliderPosition();
        QTest::mouseMove(window, pointer);
        if (slider->sliderPosition() != before) {
            writes.push_back(slider->sliderPosition());
        }
    }
    QTest::mouseRelease(window, Qt::LeftButton, {}, pointer);
    writes.push_back(slider->value());
    for (int i = 0; i < 50 && slider->value() != target; ++i) {
        QTest::keyClick(slider, slider->value() > target ? Qt::Key_Left : Qt::Key_Right);
        writes.insert(writes.end(), 2, slider->value());
    }
    return writes;
}

}  // namespace kestrova::test
