// SPDX-License-Identifier: MIT
#include "src/ui/screen_fit.h"

#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>

namespace kestrova {

namespace {

// The window manager's frame is not known before the window is shown; a caption and two
// borders are reckoned with.
QSize frameAllowance(const QWidget& window) {
    const int border = 2 * window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, border + window.style()->pixelMetric(QStyle::PM_TitleBarHeight)};
}

}  // namespace

void fitToScreen(QWidget& window, QWidget& content) {
    QLayout* layout = window.layout();
    const QSize wanted = window.sizeHint();
    const QSize room = window.screen()->availableGeometry().size() - frameAllowance(window);
    if (layout == nullptr || (wanted.width() <= room.width() && wanted.height() <= room.height())) {
        return;
    }
    auto* scroll = new QScrollArea(&window);
    scroll->setFrameShape(QFrame::NoFrame);
    delete layout->replaceWidget(&content, scroll);
    scroll->setWidget(&content);
    layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    window.setMaximumSize(wanted);
    window.resize(wanted.boundedTo(room));
}

}  // namespace kestrova
