// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

class QWidget;

namespace kestrova {

// A drop-down list too narrow for its longest item in the dialog font ("None" in Next Page)
// takes the largest smaller size of the font at which every item shows whole; the others keep
// theirs.
void fitListTexts(const std::vector<QWidget*>& controls);

}  // namespace kestrova
