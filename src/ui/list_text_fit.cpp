// SPDX-License-Identifier: MIT
#include "src/ui/list_text_fit.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

namespace kestrova {

namespace {

constexpr int kSmallestPixels = 8;

int widestItem(const QComboBox& list, const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (int i = 0; i < list.count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(list.itemText(i)));
    }
    return widest;
}

int textRoom(const QComboBox& list) {
    QStyleOptionComboBox option;
    option.initFrom(&list);
    option.frame = list.hasFrame();
    return list.style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &list)
        .width();
}

void fitItems(QComboBox& list) {
    const int room = textRoom(list);
    QFont font = list.font();
    int pixels = QFontInfo(font).pixelSize();
    if (widestItem(list, font) <= room) {
        return;
    }
    while (pixels > kSmallestPixels && widestItem(list, font) > room) {
        font.setPixelSize(--pixels);
    }
    list.setFont(font);
}

}  // namespace

void fitListTexts(const std::vector<QWidget*>& controls) {
    for (QWidget* control : controls) {
        if (auto* list = qobject_cast<QComboBox*>(control)) {
            fitItems(*list);
        }
    }
}

}  // namespace kestrova
