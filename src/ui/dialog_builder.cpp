// SPDX-License-Identifier: MIT
#include "src/ui/dialog_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QSysInfo>
#include <algorithm>

#include "src/ui/qt_text.h"
#include "src/ui/resource_images.h"

namespace kestrova {

namespace {

using res::ControlTemplate;
using res::Kind;

// Rounds like the platform's multiply-then-divide.
int scale(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

bool has(const ControlTemplate& control, res::Style style) {
    return (control.style & style) != 0;
}

Qt::Alignment horizontalAlignment(const ControlTemplate& control) {
    return has(control, res::kCentred) ? Qt::AlignHCenter : Qt::AlignLeft;
}

QWidget* makeButton(const ControlTemplate& control) {
    auto* button = new QPushButton(toQString(control.text));
    button->setAutoDefault(false);
    button->setDefault(control.kind == Kind::DefPushButton);
    return button;
}

QWidget* makeLabel(const ControlTemplate& control) {
    auto* label = new QLabel(toQString(control.text));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(horizontalAlignment(control) | Qt::AlignTop);
    // Static text lets clicks through to whatever lies beneath, as on the platform.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QWidget* makeGroupBox(const ControlTemplate& control) {
    auto* group = new QGroupBox(toQString(control.text));
    // Group boxes frame later controls drawn over them; they must not swallow their clicks.
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    return group;
}

QWidget* makeWhiteRect() {
    auto* frame = new QFrame;
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, Qt::white);
    frame->setPalette(palette);
    return frame;
}

QWidget* makeImage(const ControlTemplate& control) {
    auto* label = new QLabel;
    const int resourceId = toQString(control.text).toInt();
    if (control.kind == Kind::Icon) {
        label->setPixmap(resourceIcon(resourceId).pixmap(32, 32));
    } else {
        label->setPixmap(resourceBitmap(resourceId));
    }
    return label;
}

QWidget* makeEdit(const ControlTemplate& control) {
    auto* edit = new QLineEdit;
    edit->setAlignment(horizontalAlignment(control));
    edit->setReadOnly(has(control, res::kReadOnly));
    edit->setFrame(has(control, res::kBorder));
    if (has(control, res::kDigitsOnly)) {
        static const QRegularExpression digits(QStringLiteral("[0-9]*"));
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
    }
    return edit;
}

QWidget* makeDropList(const ControlTemplate& control) {
    auto* combo = new QComboBox;
    for (std::string_view item : control.items) {
        combo->addItem(toQString(item));
    }
    combo->setCurrentIndex(-1);  // no selection until the program makes one
    combo->setMaxVisibleItems(std::max(1, (control.cy - kDropListClosedHeight) / 8));
    return combo;
}

QWidget* makeTrackbar(const ControlTemplate& control) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setTickPosition(has(control, res::kNoTicks) ? QSlider::NoTicks : QSlider::TicksBelow);
    return slider;
}

QWidget* makeControl(const ControlTemplate& control) {
    switch (control.kind) {
        case Kind::PushButton:
        case Kind::DefPushButton:
            return makeButton(control);
        case Kind::CheckBox:
            return new QCheckBox(toQString(control.text));
        case Kind::GroupBox:
            return makeGroupBox(control);
        case Kind::Label:
            return makeLabel(control);
        case Kind::WhiteRect:
            return makeWhiteRect();
        case Kind::Bitmap:
        case Kind::Icon:
            return makeImage(control);
        case Kind::Edit:
            return makeEdit(control);
        case Kind::DropList:
            return makeDropList(control);
        case Kind::Trackbar:
            return makeTrackbar(control);
        case Kind::UpDown:
            break;
    }
    // An up-down has no look of its own here; its behaviour is attached to its buddy edit.
    return new QWidget;
}

QRect placement(const ControlTemplate& control, const DialogUnits& units) {
    const int height =
        control.kind == Kind::DropList ? std::min(control.cy, kDropListClosedHeight) : control.cy;
    return units.toPixels(control.x, control.y, control.cx, height);
}

}  // namespace

namespace {

// The platform's average character width: half the advance of both alphabets, per letter,
// rounded.
int averageCharWidth(const QFontMetrics& metrics) {
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : DialogUnits(averageCharWidth(QFontMetrics(font)), QFontMetrics(font).height()) {}

int DialogUnits::toPixelsX(int units) const {
    return scale(units, baseWidth, 4);
}

int DialogUnits::toPixelsY(int units) const {
    return scale(units, baseHeight, 8);
}

QRect DialogUnits::toPixels(int x, int y, int cx, int cy) const {
    return {toPixelsX(x), toPixelsY(y), toPixelsX(cx), toPixelsY(cy)};
}

QStringList withSansSerifFallbacks(const QString& face) {
    QStringList families{face, QStringLiteral("sans-serif")};
    // Windows resolves no "sans-serif", and Wine offers the system's fonts but not its own
    // Tahoma: without these a serif face would stand in. Elsewhere the system's own sans-serif
    // face stays the one used.
    if (QSysInfo::productType() == QLatin1String("windows")) {
        families << QStringLiteral("Tahoma") << QStringLiteral("DejaVu Sans");
    }
    return families;
}

QFont dialogFont(const res::DialogTemplate& dialog) {
    QFont font;
    font.setFamilies(withSansSerifFallbacks(toQString(dialog.fontFace)));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(dialog.pointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

BuiltDialog buildDialog(const res::DialogTemplate& dialog, QWidget* parent) {
    const QFont font = dialogFont(dialog);
    parent->setFont(font);
    const DialogUnits units(font);
    parent->resize(units.toPixelsX(dialog.cx), units.toPixelsY(dialog.cy));
    if (parent->isWindow() && !dialog.caption.empty()) {
        parent->setWindowTitle(toQString(dialog.caption));
    }
    BuiltDialog built;
    int index = 0;
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = makeControl(control);
        widget->setParent(parent);
        widget->setProperty("controlId", control.id);
        widget->setObjectName(control.id == res::kNoId
                                  ? QStringLiteral("static%1").arg(index)
                                  : QStringLiteral("control%1").arg(control.id));
        widget->setGeometry(placement(control, units));
        widget->setFocusPolicy(has(control, res::kTabStop) ? Qt::StrongFocus : Qt::NoFocus);
        widget->setVisible(!has(control, res::kHidden));
        built.controls.push_back(widget);
        if (control.id != res::kNoId) {
            built.byId.insert(control.id, widget);
        }
        ++index;
    }
    return built;
}

void substituteControl(BuiltDialog& built, int id, QWidget* replacement) {
    QWidget* original = built.control(id);
    replacement->setParent(original->parentWidget());
    replacement->setGeometry(original->geometry());
    replacement->setProperty("controlId", id);
    replacement->setObjectName(original->objectName());
    replacement->setFocusPolicy(original->focusPolicy());
    auto* originalFrame = qobject_cast<QFrame*>(original);
    auto* replacementFrame = qobject_cast<QFrame*>(replacement);
    if (originalFrame != nullptr && replacementFrame != nullptr) {
        replacementFrame->setFrameStyle(originalFrame->frameStyle());
        replacementFrame->setLineWidth(originalFrame->lineWidth());
    }
    replacement->stackUnder(original);
    replacement->setVisible(!original->isHidden());
    std::replace(built.controls.begin(), built.controls.end(), original, replacement);
    built.byId.insert(id, replacement);
    delete original;
}

}  // namespace kestrova
