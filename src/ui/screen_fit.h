// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace kestrova {

// When `window`, laid out at its fixed size, is larger than its screen's available area (a
// small screen, a large scaling), its `content` moves into a scroll area in its place and the
// window becomes as large as fits, up to its full size; a window that fits is left as it is.
// `content` must be the widget that `window`'s box layout holds.
void fitToScreen(QWidget& window, QWidget& content);

}  // namespace kestrova
