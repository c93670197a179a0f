// SPDX-License-Identifier: MIT
// The main window and the controller: Connect, Disconnect, Setup, the send commands and the
// replies handed over by the serial watcher.
#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QCoreApplication>
#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"
#include "src/model/motion_page.h"
#include "src/protocol/packets.h"
#include "src/ui/app_name.h"
#include "src/ui/editor_dlg.h"

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

void CEditorDlg::showAppMessage(const QString& text) {
    boxes.show({text, kestrova::applicationName(), kestrova::MessageIcon::Exclamation, this});
}

QString CEditorDlg::chosenPortName() const {
    const auto& device = setupDlg.chosenDevice();
    return device ? device->name
                  : QString::fromStdString(kestrova::portChoiceName(setupDlg.portIndex + 1));
}

void CEditorDlg::showPortMessage(const QString& name, const char* what) {
    showAppMessage(name + ' ' + QString::fromLatin1(what));
}

void CEditorDlg::onCommFailure(const kestrova::CommFailure& failure) {
    // The box says only "COM1 open fail." or "ERROR"; the console says which device and why.
    std::cerr << failure.device << ": " << failure.reason << '\n';
    if (failure.during == kestrova::CommFailure::During::Write) {
        showAppMessage(QStringLiteral("ERROR"));
    }
}

// "already open." and "is closed." name the port that is open, whatever Setup chose since;
// the other messages name the current choice.
void CEditorDlg::onConnect() {
    if (comm.isConnected()) {
        showPortMessage(openPortName, "already open.");
        return;
    }
    const kestrova::PortSettings settings = buildPortSettings();
    const auto& device = setupDlg.chosenDevice();
    const int opened = device ? comm.open(settings, device->portDevice()) : comm.open(settings);
    if (opened != 0) {
        openPortName = chosenPortName();
    }
    showPortMessage(chosenPortName(), opened != 0 ? "open." : "open fail.");
}

void CEditorDlg::onDisconnect() {
    if (comm.isConnected()) {
        showPortMessage(openPortName, "is closed.");
        comm.close();
    } else {
        showPortMessage(chosenPortName(), "is not opened.");
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
    kestrova::MotorFields fields{};
    for (std::size_t m = 0; m < fields.size(); ++m) {
        const int field = id::kMotorEdit0 + static_cast<int>(m);
        if (readText(field).isEmpty()) {
            return;  // it would go out as 0, an extreme the servo would jump to
        }
        fields[m] = readUnsigned(field);
    }
    kestrova::LiveSendBusyScope busy;
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
    changePage("Target Load", [&] {
        motionPage.setRecord(record);
        refreshPageControls();
    });
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
