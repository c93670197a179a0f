// SPDX-License-Identifier: MIT
#pragma once

#include "serial/app_message_box.h"
#include "ui/message_boxes.h"

namespace kestrova {

// Shows the application-wide messages of the serial layer ("COM1 open.", "ERROR", ...)
// through the editor's message boxes: exclamation icon, the application's name as caption,
// owned by the main window. Installed for as long as it lives; the previous box comes back
// afterwards.
class AppMessageBridge : public AppMessageBox {
  public:
    AppMessageBridge(MessageBoxes& boxes, QWidget* owner);
    ~AppMessageBridge() override;
    AppMessageBridge(const AppMessageBridge&) = delete;
    AppMessageBridge& operator=(const AppMessageBridge&) = delete;

    void show(std::string_view text) override;

  private:
    MessageBoxes& boxes;
    QWidget* owner;
    AppMessageBox* previous;
};

}  // namespace kestrova
