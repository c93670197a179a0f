// SPDX-License-Identifier: MIT
#include "src/ui/message_boxes.h"

#include <QMessageBox>

namespace kestrova {

void QtMessageBoxes::show(const MessageRequest& request) {
    const QMessageBox::Icon icon =
        request.icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    const QMessageBox::StandardButtons buttons =
        request.yes != nullptr ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QMessageBox box(icon, request.caption, request.text, buttons, request.owner);
    const int answer = box.exec();
    if (request.yes != nullptr) {
        *request.yes = answer == QMessageBox::Yes;
    }
}

}  // namespace kestrova
