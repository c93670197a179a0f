// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace kestrova {

struct BuiltDialog;

// Gives the main window's controls the names a screen reader speaks, taken from their labels
// and groups ("M5(PB4) position", "Save to PC", the slider "M5(PB4)"), and a one-sentence
// tooltip to the controls whose label alone does not explain them. Runs once the window and
// its motor panels are built.
void nameControls(const BuiltDialog& built, QWidget* window);

}  // namespace kestrova
