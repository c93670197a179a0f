// SPDX-License-Identifier: MIT
#include "src/ui/motor_panel.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "src/model/page_record.h"
#include "src/ui/dialog_builder.h"
#include "src/ui/qt_text.h"
#include "src/ui/slider_value_tip.h"

namespace id = kestrova::res::id;

namespace {

// The panel's dialog-frame border.
constexpr int kBorderWidth = 3;
constexpr int kSmallestLabelPixels = 8;

// The fixed 63 x 36 panel was laid out for a face with smaller cells than most stand-ins, so
// a control that would reach past the client area is moved back and cut to fit.
QRect fittedInto(QRect control, QRect client) {
    const int width = std::min(control.width(), client.width());
    const int height = std::min(control.height(), client.height());
    return {std::clamp(control.x(), client.left(), client.left() + client.width() - width),
            std::clamp(control.y(), client.top(), client.top() + client.height() - height), width,
            height};
}

int widestMotorLabel(const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (int motor = 0; motor < static_cast<int>(kestrova::kMotorCount); ++motor) {
        const QString text =
            kestrova::toQString(kestrova::res::loadString(id::kMotorLabel0 + motor));
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    return widest;
}

// Keys whose release closes a run of trackbar movements, as the platform's trackbar reports
// an end of tracking for them.
bool isTrackbarKey(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
    }
}

}  // namespace

CMotorPanel::CMotorPanel(int motorIndex, QWidget* frame) : QFrame(frame), motorIndex(motorIndex) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(kBorderWidth);
    setAutoFillBackground(true);
    createControls();
    hide();
}

void CMotorPanel::createControls() {
    const kestrova::BuiltDialog built =
        kestrova::buildDialog(kestrova::res::motorPanelDialog, this);
    label = built.controlAs<QLabel>(id::kPanelLabel);
    trackbar = built.controlAs<QSlider>(id::kPanelTrackbar);
    // The template counts from the client area, inside the border, of the panel at its final
    // size.
    const QRect client(QPoint(kBorderWidth, kBorderWidth),
                       QSize(kWidth - 2 * kBorderWidth, kHeight - 2 * kBorderWidth));
    for (QWidget* control : built.controls) {
        control->setGeometry(fittedInto(control->geometry().translated(client.topLeft()), client));
    }
    // Each panel keeps its own tab order, as a dialog of its own: the main window's Tab key
    // never lands on a trackbar, a click does.
    trackbar->setFocusPolicy(Qt::ClickFocus);
    connect(trackbar, &QAbstractSlider::actionTriggered, this, [this] { onTrackbarScroll(); });
    trackbar->installEventFilter(this);
    new kestrova::SliderValueTip(trackbar);
}

QPoint CMotorPanel::homePosition(int motorIndex) {
    return {10 * motorIndex + 10, 36 * (motorIndex % 12) + 36};
}

void CMotorPanel::setUpPanel() {
    const QPoint client = parentWidget() ? parentWidget()->contentsRect().topLeft() : QPoint{};
    setGeometry(QRect(client + homePosition(motorIndex), QSize(kWidth, kHeight)));
    repaint();
    label->setText(kestrova::toQString(kestrova::res::loadString(id::kMotorLabel0 + motorIndex)));
    fitLabelText();
    trackbar->setMinimum(0);
    trackbar->setMaximum(kTrackbarMaximum);
}

void CMotorPanel::showLimits(int low, int high, const QString& tip) {
    const QSignalBlocker quiet(trackbar);
    trackbar->setRange(low, high);
    setToolTip(tip);
}

void CMotorPanel::fitLabelText() {
    // A wide stand-in face would cut the longer labels; a smaller size of it keeps them whole.
    // Every panel takes the size at which the widest label fits, so that all look alike.
    QFont shrunk = label->font();
    int pixels = QFontInfo(shrunk).pixelSize();
    while (pixels > kSmallestLabelPixels && widestMotorLabel(shrunk) > label->width()) {
        shrunk.setPixelSize(--pixels);
    }
    label->setFont(shrunk);
}

void CMotorPanel::setTrackbarPosition(int value) {
    const QSignalBlocker quiet(trackbar);
    trackbar->setValue(value);
}

void CMotorPanel::onTrackbarScroll() {
    emit valueChanged(motorIndex, trackbar->sliderPosition());
}

bool CMotorPanel::endsTracking(const QEvent* event) const {
    if (event->type() == QEvent::MouseButtonRelease) {
        return static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
    }
    if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        return !key->isAutoRepeat() && isTrackbarKey(key->key());
    }
    return false;
}

bool CMotorPanel::eventFilter(QObject* watched, QEvent* event) {
    // The trackbar has already moved by the time its button or key comes up; the closing
    // write repeats the final position, as the end of tracking does on the platform.
    if (watched == trackbar && endsTracking(event)) {
        onTrackbarScroll();
    }
    return QFrame::eventFilter(watched, event);
}

void CMotorPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    repaint();
    if (!locked) {
        dragGrip = event->position().toPoint();
    }
    event->accept();
}

void CMotorPanel::mouseMoveEvent(QMouseEvent* event) {
    if (!dragGrip || !(event->buttons() & Qt::LeftButton)) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    move(keptInsideParent(mapToParent(event->position().toPoint()) - *dragGrip));
    event->accept();
}

void CMotorPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragGrip.reset();
    }
    QFrame::mouseReleaseEvent(event);
}

QPoint CMotorPanel::keptInsideParent(QPoint topLeft) const {
    if (parentWidget() == nullptr) {
        return topLeft;
    }
    const QRect area = parentWidget()->contentsRect();
    const int right = std::max(area.left(), area.left() + area.width() - width());
    const int bottom = std::max(area.top(), area.top() + area.height() - height());
    return {std::clamp(topLeft.x(), area.left(), right),
            std::clamp(topLeft.y(), area.top(), bottom)};
}

void CMotorPanel::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape end nothing here: the panel stays, and the keys do not reach the
    // main window's default and cancel buttons.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QFrame::keyPressEvent(event);
    }
}
