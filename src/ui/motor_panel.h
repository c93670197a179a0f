// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>
#include <QPoint>
#include <optional>

#include "src/model/page_record.h"

class QLabel;
class QSlider;

// One motor's floating panel inside the picture frame: the motor's label over a trackbar of
// 0..200. Moving the trackbar reports its position through valueChanged; whoever shows the
// motor's value moves the trackbar back with setTrackbarPosition, which reports nothing. Pressing
// anywhere outside the trackbar drags the panel about inside its parent.
class CMotorPanel : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kWidth = 63;
    static constexpr int kHeight = 36;
    static constexpr int kTrackbarMaximum = kestrova::kMaxPosition;

    // `frame` becomes the parent; the panel stays hidden until shown and set up.
    CMotorPanel(int motorIndex, QWidget* frame);

    // Where panel `motorIndex` starts, counted from its parent's client area: two staircases
    // of 12 and 10 panels.
    static QPoint homePosition(int motorIndex);

    // Places and sizes the panel, sets its label and the trackbar's range. The trackbar stays
    // at 0.
    void setUpPanel();

    // The trackbar's range, and the panel's tooltip (none: empty).
    void showLimits(int low, int high, const QString& tip);
    // Moves the thumb (clamped to 0..200) without writing the edit back.
    void setTrackbarPosition(int value);

    // A locked panel stays where it is: pressing on it starts no drag.
    void setLocked(bool locked) { this->locked = locked; }

    int index() const { return motorIndex; }
    QSlider* trackbarControl() const { return trackbar; }
    QLabel* labelControl() const { return label; }

  signals:
    // Every movement of the trackbar, and again at the end of tracking; `motor` is 0 for M1.
    void valueChanged(int motor, int value);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void fitLabelText();
    void onTrackbarScroll();
    bool endsTracking(const QEvent* event) const;
    QPoint keptInsideParent(QPoint topLeft) const;

    int motorIndex;
    QLabel* label = nullptr;
    QSlider* trackbar = nullptr;
    bool locked = false;
    std::optional<QPoint> dragGrip;  // press point in panel coordinates while dragging
};
