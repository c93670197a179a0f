// SPDX-License-Identifier: MIT
#include "src/ui/editor_app.h"

#include <QCoreApplication>

#include "src/ui/command_line.h"
#include "src/ui/editor_dlg.h"
#include "src/ui/profile_setting.h"

int CEditorApp::initInstance() {
    CEditorDlg dlg;
    kestrova::keepLastProfile(dlg.session(),
                              kestrova::profileArgument(QCoreApplication::arguments()));
    dlg.doModal();
    return 0;
}
