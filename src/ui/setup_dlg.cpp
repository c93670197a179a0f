// SPDX-License-Identifier: MIT
#include "src/ui/setup_dlg.h"

#include <QComboBox>
#include <QPushButton>
#include <algorithm>

#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace id = kestrova::res::id;

CSetupDlg::CSetupDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      built(kestrova::buildDialog(kestrova::res::setupDialog, this)),
      comChoices(portList()->count()) {
    setFixedSize(size());
    connect(built.controlAs<QPushButton>(id::kOk), &QPushButton::clicked, this, &CSetupDlg::accept);
    connect(built.controlAs<QPushButton>(id::kCancel), &QPushButton::clicked, this,
            &CSetupDlg::reject);
}

int CSetupDlg::doModal() {
    listDetectedPorts();
    baudList()->setCurrentIndex(baudIndex);
    portList()->setCurrentIndex(device ? comChoices + deviceEntry() : portIndex);
    return exec();
}

void CSetupDlg::accept() {
    baudIndex = baudList()->currentIndex();
    portIndex = portList()->currentIndex();
    device.reset();
    if (portIndex >= comChoices) {
        device = listed.at(static_cast<std::size_t>(portIndex - comChoices));
    }
    QDialog::accept();
}

QComboBox* CSetupDlg::portList() const {
    return built.controlAs<QComboBox>(id::kPortCombo);
}

QComboBox* CSetupDlg::baudList() const {
    return built.controlAs<QComboBox>(id::kBaudCombo);
}

void CSetupDlg::setPortEnumerator(const kestrova::PortEnumerator* enumerator) {
    ports = enumerator != nullptr ? enumerator : &systemPorts;
}

void CSetupDlg::listDetectedPorts() {
    listed = ports->detectedPorts();
    std::erase_if(listed, [this](const kestrova::DetectedPort& port) {
        return port.isNamedByChoice(comChoices);
    });
    // A chosen device that has gone stays chosen; its Connect then fails as any missing one.
    if (device && deviceEntry() == static_cast<int>(listed.size())) {
        listed.push_back(*device);
    }
    QComboBox* list = portList();
    while (list->count() > comChoices) {
        list->removeItem(comChoices);
    }
    for (const kestrova::DetectedPort& port : listed) {
        list->addItem(port.label());
    }
}

int CSetupDlg::deviceEntry() const {
    const auto same = [this](const kestrova::DetectedPort& port) {
        return port.path == device->path;
    };
    return static_cast<int>(std::find_if(listed.begin(), listed.end(), same) - listed.begin());
}
