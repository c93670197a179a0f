// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kestrova {

enum class MessageIcon { None, Exclamation };

// A message box the session asks its view to show, and to wait on until the user closes it.
struct SessionMessage {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    bool ownerless = false;  // shown without an owner window (the page-file errors)
    // A Yes/No question when set: the view stores the answer there, true for Yes.
    bool* yes = nullptr;
};

}  // namespace kestrova
