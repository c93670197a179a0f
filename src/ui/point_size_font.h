// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QStringView>

namespace kestrova {

// A font of `points` points in `face`, sized in whole pixels for a screen of `dpiY` dots per
// inch the way the dialogs size theirs: dpiY × points × 10 / 720, truncated (13 pixels for 10
// points at 96 dpi). Where the face is not installed the platform's sans-serif stands in.
QFont pointSizeFont(QStringView face, int points, int dpiY);

}  // namespace kestrova
