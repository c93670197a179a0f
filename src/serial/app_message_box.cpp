// SPDX-License-Identifier: MIT
#include "serial/app_message_box.h"

#include <atomic>
#include <iostream>

namespace kestrova {

namespace {
std::atomic<AppMessageBox*> installed{nullptr};
}

AppMessageBox* installAppMessageBox(AppMessageBox* box) {
    return installed.exchange(box);
}

void showAppMessage(std::string_view text) {
    if (AppMessageBox* box = installed.load()) {
        box->show(text);
    } else {
        std::cerr << text << '\n';
    }
}

}  // namespace kestrova
