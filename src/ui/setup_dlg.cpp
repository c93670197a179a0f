// SPDX-License-Identifier: MIT
#include "ui/setup_dlg.h"

#include <QComboBox>
#include <QPushButton>

#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace id = kestrova::res::id;

CSetupDlg::CSetupDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      built(kestrova::buildDialog(kestrova::res::setupDialog, this)) {
    setFixedSize(size());
    connect(built.controlAs<QPushButton>(id::kOk), &QPushButton::clicked, this, &CSetupDlg::accept);
    connect(built.controlAs<QPushButton>(id::kCancel), &QPushButton::clicked, this,
            &CSetupDlg::reject);
}

int CSetupDlg::doModal() {
    baudList()->setCurrentIndex(baudIndex);
    portList()->setCurrentIndex(portIndex);
    return exec();
}

void CSetupDlg::accept() {
    baudIndex = baudList()->currentIndex();
    portIndex = portList()->currentIndex();
    QDialog::accept();
}

QComboBox* CSetupDlg::portList() const {
    return built.controlAs<QComboBox>(id::kPortCombo);
}

QComboBox* CSetupDlg::baudList() const {
    return built.controlAs<QComboBox>(id::kBaudCombo);
}
