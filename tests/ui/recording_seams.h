// SPDX-License-Identifier: MIT
#pragma once

// Doubles for the editor's message-box and file-dialog seams, and helpers that drive modal
// windows and wait for events without ever blocking a test run.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ui/file_dialogs.h"
#include "ui/message_boxes.h"

namespace kestrova::test {

// Records every box instead of showing it. `whileOpen`, when set, runs inside show(), where a
// real box would run its own event loop (e.g. spinFor() to let a reply arrive meanwhile).
class RecordingMessageBoxes : public MessageBoxes {
  public:
    void show(const MessageRequest& request) override {
        shown.push_back(request);
        if (whileOpen) {
            whileOpen(request);
        }
    }

    std::vector<QString> texts() const {
        std::vector<QString> result;
        for (const MessageRequest& request : shown) {
            result.push_back(request.text);
        }
        return result;
    }

    std::vector<MessageRequest> shown;
    std::function<void(const MessageRequest&)> whileOpen;
};

// The real page-file dialogs with the user's choice prepared: a path, or nothing (cancelled).
class ScriptedFileDialogs : public QtPageFileDialogs {
  public:
    using QtPageFileDialogs::QtPageFileDialogs;

    std::optional<std::filesystem::path> chooseSavePath() override { return savePath; }
    std::optional<std::filesystem::path> chooseOpenPath() override { return openPath; }

    std::optional<std::filesystem::path> savePath;
    std::optional<std::filesystem::path> openPath;
};

// Runs the event loop for a while, as a modal box would.
inline void spinFor(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds or the time is up; returns whether it holds.
inline bool spinUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limit.count()) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Once a modal window other than `outer` is up, hands it to `action`. A watchdog closes every
// modal window after five seconds, so a test that goes wrong fails instead of hanging.
inline void whenModalShown(QWidget* outer, std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [poll, outer, action, started] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != outer && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        } else if (started->elapsed() > 5000) {
            poll->stop();
            poll->deleteLater();
            for (int i = 0; i < 10 && QApplication::activeModalWidget() != nullptr; ++i) {
                QApplication::activeModalWidget()->close();
            }
        }
    });
    poll->start(10);
}

}  // namespace kestrova::test
