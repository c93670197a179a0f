// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kestrova {

// The caption of message boxes that are given none: the executable's base name, since the
// program defines no title of its own.
QString applicationName();

}  // namespace kestrova
