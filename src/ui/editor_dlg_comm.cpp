// SPDX-License-Identifier: MIT
// The main window and the controller: Connect, Disconnect, Setup, the send commands and the
// replies handed over by the serial watcher.
#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QCoreApplication>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "model/motion_page.h"
#include "protocol/packets.h"
#include "resources/resource_ids.h"
#include "ui/app_name.h"
#include "ui/editor_dlg.h"

namespace id = kestrova::res::id;

namespace kestrova {
int liveSendBusy = 0;
}

namespace {

// Bounds the live-positions stream: one packet per write plus this pause.
constexpr std::chrono::milliseconds kLivePause{100};

}  // namespace

kestrova::PortSettings CEditorDlg::buildPortSettings() const {
    return kestrova::buildPortSettings(setupDlg.portIndex, setupDlg.baudIndex);
}

void CEditorDlg::showPortMessage(const char* what) {
    // The name follows the current choice, not the port that is open.
    const auto& device = setupDlg.chosenDevice();
    const std::string name =
        device ? device->name.toStdString() : "COM" + std::to_string(setupDlg.portIndex + 1);
    kestrova::showAppMessage(name + " " + what);
}

void CEditorDlg::onConnect() {
    if (comm.connected == 1) {
        showPortMessage("already open.");
        return;
    }
    const kestrova::PortSettings settings = buildPortSettings();
    const auto& device = setupDlg.chosenDevice();
    const int opened = device ? comm.open(settings, device->portDevice()) : comm.open(settings);
    showPortMessage(opened != 0 ? "open." : "open fail.");
}

void CEditorDlg::onDisconnect() {
    if (comm.connected == 1) {
        showPortMessage("is closed.");
        comm.close();
    } else {
        showPortMessage("is not opened.");
    }
}

void CEditorDlg::onSetup() {
    if (setupDlg.parentWidget() != this) {
        setupDlg.setParent(this, setupDlg.windowFlags());
    }
    setupDlg.doModal();
}

bool CEditorDlg::isLinkedToTarget() const {
    const auto* link = static_cast<const QCheckBox*>(control(id::kLinkToTarget));
    return link->isChecked();
}

void CEditorDlg::sendLivePositions() {
    if (!isLinkedToTarget() || kestrova::liveSendBusy != 0) {
        return;
    }
    kestrova::LiveSendBusyScope busy;
    kestrova::MotorFields fields{};
    for (std::size_t m = 0; m < fields.size(); ++m) {
        fields[m] = readUnsigned(id::kMotorEdit0 + static_cast<int>(m));
    }
    const kestrova::LivePacket packet = kestrova::buildLivePositionsPacket(fields);
    comm.write(packet);
    std::this_thread::sleep_for(kLivePause);
}

int CEditorDlg::sendPagePacket(const kestrova::PageRecord& record, std::uint8_t command) {
    const kestrova::PagePacket packet = kestrova::buildPagePacket(record, command);
    return comm.write(packet);
}

void CEditorDlg::sendPagePlay() {
    sendPagePacket(motionPage.getRecord(), kestrova::command::kPlayPage);
}

void CEditorDlg::sendPageWrite() {
    sendPagePacket(motionPage.getRecord(), kestrova::command::kWritePage);
}

void CEditorDlg::sendPageRead() {
    const kestrova::ReadRequest request = kestrova::buildReadRequest(motionPage.getPageNum());
    comm.write(request);
}

void CEditorDlg::postToOwner(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void CEditorDlg::onCommRead(std::span<const std::uint8_t> chunk) {
    noiseGate.bytesArrived(kestrova::NoiseBoxGate::Clock::now());
    replies.onChunk(chunk, *this);
}

void CEditorDlg::showReplyMessage(const char* text) {
    if (noiseBoxPending) {
        repliesAfterNoiseBox.push_back(text);  // they came after the noise: keep the order
        return;
    }
    boxes.show({QString::fromLatin1(text), kestrova::applicationName(), kestrova::MessageIcon::None,
                this});
}

void CEditorDlg::showSaveDone() {
    showReplyMessage("Save done!");
}

void CEditorDlg::replacePage(const kestrova::PageRecord& record) {
    motionPage.setRecord(record);
    refreshPageControls();
}

void CEditorDlg::showFailed() {
    showReplyMessage("Failed!!");
}

void CEditorDlg::showBadCommunication() {
    if (!noiseGate.overflowShowsBox()) {
        return;
    }
    // Shown once this chunk's hand-off is complete, so that the watcher goes on reading while
    // the box is open and further noise is discarded instead of queueing up behind it.
    noiseBoxPending = true;
    QMetaObject::invokeMethod(
        this, [this] { showNoiseBox(); }, Qt::QueuedConnection);
}

void CEditorDlg::showNoiseBox() {
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
