// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace kestrova {

class EditorSession;

// The one setting the editor keeps, in the platform's usual place: the last robot profile
// opened. It is opened at the start unless `forThisRun` (--profile) names another, and every
// profile the user opens, saves or closes afterwards replaces it.
void keepLastProfile(EditorSession& session, const std::optional<QString>& forThisRun);

}  // namespace kestrova
