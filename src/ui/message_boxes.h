// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "src/app/session_message.h"

class QWidget;

// Test seam: every message box of the editor goes through a MessageBoxes. The editor uses
// QtMessageBoxes; a test injects its own (see CEditorDlg's constructor) to record what would
// have been shown (text, caption, icon, owner) without blocking on a modal window. A double
// may run a nested QEventLoop inside show() to stand for the time a real box stays open, so
// that replies arriving meanwhile are handled as they would be under a real box.
namespace kestrova {

struct MessageRequest {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    QWidget* owner = nullptr;  // nullptr: no owner window
    bool* yes = nullptr;       // a Yes/No question: the answer goes there, true for Yes
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Modal: returns when the user has dismissed the box (OK is its only button, or Yes and No
    // for a question).
    virtual void show(const MessageRequest& request) = 0;
};

class QtMessageBoxes : public MessageBoxes {
  public:
    void show(const MessageRequest& request) override;
};

}  // namespace kestrova
