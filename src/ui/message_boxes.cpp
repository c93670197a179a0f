// SPDX-License-Identifier: MIT
#include "src/ui/message_boxes.h"

#include <QMessageBox>

namespace kestrova {

void QtMessageBoxes::show(const MessageRequest& request) {
    const QMessageBox::Icon icon =
        request.icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(icon, request.caption, request.text, QMessageBox::Ok, request.owner);
    box.exec();
}

}  // namespace kestrova
