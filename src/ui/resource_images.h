// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kestrova {

// Icon 128 (32 x 32 and 16 x 16) and bitmap 133, the robot picture, compiled into the program.
QIcon resourceIcon(int id);
QPixmap resourceBitmap(int id);

}  // namespace kestrova
