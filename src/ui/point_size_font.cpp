// SPDX-License-Identifier: MIT
#include "ui/point_size_font.h"

#include <QStringList>
#include <algorithm>

namespace kestrova {

QFont pointSizeFont(QStringView face, int points, int dpiY) {
    QFont font;
    font.setFamilies(QStringList{face.toString()});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, dpiY * points * 10 / 720));
    return font;
}

}  // namespace kestrova
