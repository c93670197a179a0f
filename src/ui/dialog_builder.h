// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QHash>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "resources/dialog_template.h"

namespace kestrova {

// Dialog units of one font, converted as the platform does: a horizontal unit is a quarter of
// the average character width, a vertical unit an eighth of the character height.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    // From a font's average character width and height in pixels.
    DialogUnits(int baseWidth, int baseHeight) : baseWidth(baseWidth), baseHeight(baseHeight) {}

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(int x, int y, int cx, int cy) const;

  private:
    int baseWidth;
    int baseHeight;
};

// `face`, then sans-serif faces to fall back on: the desktop's own (fontconfig), the one every
// Windows has, and the one Wine finds among the Linux fonts, so that text keeps the proportions
// the layout expects.
QStringList withSansSerifFallbacks(const QString& face);

// The template's face and size; a face that is not installed falls back to a sans-serif one.
QFont dialogFont(const res::DialogTemplate& dialog);

// The controls made from a template, in template order, and those with an identifier by it.
struct BuiltDialog {
    std::vector<QWidget*> controls;
    QHash<int, QWidget*> byId;

    QWidget* control(int id) const { return byId.value(id, nullptr); }
    // The control as the class it must be; nullptr, never a stray pointer, when it is not.
    template <typename W>
    W* controlAs(int id) const {
        return qobject_cast<W*>(control(id));
    }
};

// Makes the template's controls as children of `parent`, in template order (so also the tab
// and stacking order), positioned through the template font's dialog units. `parent` gets the
// font and, sized in the same units, the template's client size; a top-level parent also gets
// the caption. Each control carries its identifier as the property "controlId" and the
// object name "control<id>" ("static<index>" for controls without one). Works for a whole
// window as for a child dialog such as a motor panel.
BuiltDialog buildDialog(const res::DialogTemplate& dialog, QWidget* parent);

// Puts `replacement` where control `id` is (parent, place, stacking position, identifier, name,
// visibility, focus policy and, between frames, the frame) and deletes the control: for
// controls whose behaviour a class of the program supplies, such as the step table view.
void substituteControl(BuiltDialog& built, int id, QWidget* replacement);

// The closed height of drop-down lists, in dialog units: the template's height is that of the
// opened list.
inline constexpr int kDropListClosedHeight = 12;

}  // namespace kestrova
