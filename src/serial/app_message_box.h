// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace kestrova {

// The application-wide message box: OK button, exclamation icon, the application's name as
// caption. The editor installs one that shows a real box; tests install one that records.
class AppMessageBox {
  public:
    virtual ~AppMessageBox() = default;
    virtual void show(std::string_view text) = 0;
};

// Installs the box used from now on (nullptr: messages go to standard error). Returns the
// one it replaces.
AppMessageBox* installAppMessageBox(AppMessageBox* box);

// Shows a message in the installed box. Call on the user-interface thread.
void showAppMessage(std::string_view text);

}  // namespace kestrova
