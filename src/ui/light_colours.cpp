// SPDX-License-Identifier: MIT
#include "src/ui/light_colours.h"

#include <QPalette>
#include <QStyle>
#include <QWidget>

namespace kestrova {

namespace {

constexpr int kMidLightness = 128;

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < kMidLightness ||
           palette.color(QPalette::WindowText).lightness() >= kMidLightness;
}

}  // namespace

void keepLightColours(std::initializer_list<QWidget*> areas) {
    for (QWidget* area : areas) {
        if (isDark(area->palette())) {
            // The style's own palette is its light one, whatever the desktop asks for.
            area->setPalette(area->style()->standardPalette());
        }
    }
}

}  // namespace kestrova
