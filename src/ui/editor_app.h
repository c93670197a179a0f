// SPDX-License-Identifier: MIT
#pragma once

// The application object: it runs the main window as a modal dialog and then lets the
// program end.
class CEditorApp {
  public:
    // Shows the main window until it is closed; returns 0, meaning the program ends.
    int initInstance();
};
