// SPDX-License-Identifier: MIT
#include "ui/app_message_bridge.h"

#include "ui/app_name.h"
#include "ui/qt_text.h"

namespace kestrova {

AppMessageBridge::AppMessageBridge(MessageBoxes& boxes, QWidget* owner)
    : boxes(boxes), owner(owner), previous(installAppMessageBox(this)) {}

AppMessageBridge::~AppMessageBridge() {
    installAppMessageBox(previous);
}

void AppMessageBridge::show(std::string_view text) {
    boxes.show({toQString(text), applicationName(), MessageIcon::Exclamation, owner});
}

}  // namespace kestrova
