// SPDX-License-Identifier: MIT
#include "src/ui/about_dlg.h"

#include <QPushButton>

#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "src/ui/dialog_builder.h"

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    const kestrova::BuiltDialog built = kestrova::buildDialog(kestrova::res::aboutDialog, this);
    setFixedSize(size());
    connect(built.controlAs<QPushButton>(kestrova::res::id::kOk), &QPushButton::clicked, this,
            &CAboutDlg::accept);
}
