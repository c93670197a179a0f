// SPDX-License-Identifier: MIT
// View > Curves: a second view of the session, beside the main window.
#include <string>

#include "src/ui/curves_window.h"
#include "src/ui/editor_dlg.h"

// Made at its first opening and kept while the program runs, so that it reopens where the
// user left it. It shows the session's page and STEP at every change, and what it asks for
// becomes one undoable change of the session, sent nowhere.
void CEditorDlg::onViewCurves() {
    if (curves == nullptr) {
        curves = new kestrova::CurvesWindow(this);
        const auto showSession = [this] { curves->showPage(editor.page(), editor.step()); };
        connect(&editor, &kestrova::EditorSession::pageChanged, curves, showSession);
        connect(&editor, &kestrova::EditorSession::stepChanged, curves, showSession);
        connect(curves, &kestrova::CurvesWindow::pageEdited, this,
                [this](const kestrova::PageRecord& page, const QString& label) {
                    editor.changePage(label.toStdString(),
                                      [&page](const kestrova::PageRecord&) { return page; });
                });
        connect(curves, &kestrova::CurvesWindow::stepChosen, &editor,
                &kestrova::EditorSession::setStep);
        const auto showProfile = [this] { curves->setProfile(editor.profile()); };
        connect(&editor, &kestrova::EditorSession::profileChanged, curves, showProfile);
        showProfile();
        showSession();
        curves->addActions({undoAction, redoAction});  // their keys work in the curves too
    }
    curves->show();
    curves->raise();
    curves->activateWindow();
}
