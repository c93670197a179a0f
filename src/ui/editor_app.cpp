// SPDX-License-Identifier: MIT
#include "ui/editor_app.h"

#include "ui/editor_dlg.h"

int CEditorApp::initInstance() {
    CEditorDlg dlg;
    dlg.doModal();
    return 0;
}
