// SPDX-License-Identifier: MIT
#include "src/ui/editor_app.h"

#include "src/ui/editor_dlg.h"

int CEditorApp::initInstance() {
    CEditorDlg dlg;
    dlg.doModal();
    return 0;
}
