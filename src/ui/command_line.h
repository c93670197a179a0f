// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kestrova {

// The text that --help or --version print, the program then ending with status 0; nothing for
// any other command line, which runs the editor (unknown options may be Qt's own, such as
// -platform, meant for the window). Needs an application object.
std::optional<QString> answerCommandLine(const QStringList& arguments);

// The FILE of --profile FILE, the robot profile to open for this run.
std::optional<QString> profileArgument(const QStringList& arguments);

}  // namespace kestrova
