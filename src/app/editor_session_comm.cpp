// SPDX-License-Identifier: MIT
// The session and the controller: Connect, Disconnect, the send commands and the replies
// handed over by the serial watcher.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <chrono>
#include <iostream>
#include <thread>
#include <utility>

#include "src/app/app_name.h"
#include "src/app/editor_session.h"
#include "src/app/scoped_count.h"
#include "src/protocol/packets.h"

namespace kestrova {

namespace {

// Bounds the live-positions stream: one packet per write plus this pause.
constexpr std::chrono::milliseconds kLivePause{100};

}  // namespace

void EditorSession::showAppMessage(const QString& text) {
    emit message({text, applicationName(), MessageIcon::Exclamation, false});
}

void EditorSession::showPortMessage(const QString& name, const char* what) {
    showAppMessage(name + ' ' + QString::fromLatin1(what));
}

void EditorSession::onCommFailure(const CommFailure& failure) {
    // The box says only "COM1 open fail." or "ERROR"; the console says which device and why.
    std::cerr << failure.device << ": " << failure.reason << '\n';
    if (failure.during == CommFailure::During::Write) {
        showAppMessage(QStringLiteral("ERROR"));
    }
}

// "already open." and "is closed." name the port that is open, whatever Setup chose since;
// the other messages name the current choice.
void EditorSession::onConnect() {
    if (comm.isConnected()) {
        showPortMessage(openPortName, "already open.");
        return;
    }
    const int opened = chosenPort.device ? comm.open(chosenPort.settings, *chosenPort.device)
                                         : comm.open(chosenPort.settings);
    if (opened != 0) {
        openPortName = chosenPort.name;
        emit connectionChanged(true);
    }
    showPortMessage(chosenPort.name, opened != 0 ? "open." : "open fail.");
}

// The port closes only once its message has been dismissed.
void EditorSession::onDisconnect() {
    if (comm.isConnected()) {
        showPortMessage(openPortName, "is closed.");
        comm.close();
        emit connectionChanged(false);
    } else {
        showPortMessage(chosenPort.name, "is not opened.");
    }
}

void EditorSession::sendLivePositions() {
    if (!linkedToTarget || liveBusy != 0) {
        return;
    }
    MotorFields fields{};
    for (std::size_t m = 0; m < fields.size(); ++m) {
        if (!stepDraft[m]) {
            return;  // it would go out as 0, an extreme the servo would jump to
        }
        fields[m] = draftNumber(stepDraft[m]);
    }
    const ScopedCount busy(liveBusy);
    comm.write(buildLivePositionsPacket(fields));
    std::this_thread::sleep_for(kLivePause);
}

int EditorSession::sendPagePacket(const PageRecord& record, std::uint8_t command) {
    return comm.write(buildPagePacket(record, command));
}

void EditorSession::sendPagePlay() {
    if (!sendAnyway()) {
        return;
    }
    sendPagePacket(page(), command::kPlayPage);
}

void EditorSession::sendPageWrite() {
    if (!sendAnyway()) {
        return;
    }
    sendPagePacket(page(), command::kWritePage);
}

void EditorSession::sendPageRead() {
    comm.write(buildReadRequest(page().pageNum));
}

void EditorSession::postToOwner(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void EditorSession::onCommRead(std::span<const std::uint8_t> chunk) {
    noiseGate.bytesArrived(clock());
    replies.onChunk(chunk, *this);
}

void EditorSession::showReplyMessage(const char* text) {
    if (noiseBoxPending) {
        repliesAfterNoiseBox.push_back(text);  // they came after the noise: keep the order
        return;
    }
    emit message({QString::fromLatin1(text), applicationName(), MessageIcon::None, false});
}

void EditorSession::showSaveDone() {
    showReplyMessage("Save done!");
}

void EditorSession::replacePage(const PageRecord& record) {
    recordChange("Target Load", [&] {
        motionPage.setRecord(record);
        showLoaded();
    });
}

void EditorSession::showFailed() {
    showReplyMessage("Failed!!");
}

void EditorSession::showBadCommunication() {
    if (!noiseGate.overflowShowsBox()) {
        return;
    }
    // Shown once this chunk's hand-off is complete, so that the watcher goes on reading while
    // the box is open and further noise is discarded instead of queueing up behind it.
    noiseBoxPending = true;
    QMetaObject::invokeMethod(
        this, [this] { showNoiseBox(); }, Qt::QueuedConnection);
}

void EditorSession::showNoiseBox() {
    noiseBoxPending = false;
    const std::vector<const char*> after = std::exchange(repliesAfterNoiseBox, {});
    // A loop nested in a queued call delivers the calls queued before it began only once the
    // loop is woken: the watcher's next chunk may be waiting already.
    QCoreApplication::eventDispatcher()->wakeUp();
    showReplyMessage("Bad communication");
    noiseGate.boxClosed();
    for (const char* text : after) {
        showReplyMessage(text);
    }
}

}  // namespace kestrova
