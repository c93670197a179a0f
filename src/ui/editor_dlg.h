// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QIcon>
#include <array>
#include <memory>
#include <vector>

#include "src/app/editor_session.h"
#include "src/model/page_record.h"
#include "src/ui/dialog_builder.h"
#include "src/ui/file_dialogs.h"
#include "src/ui/message_boxes.h"
#include "src/ui/setup_dlg.h"

class CMotorPanel;
class CStepTableView;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;

namespace kestrova {
class CurvesWindow;
}

// The main window (template 102 with menu 139): a view of its editor session. It builds the
// controls from the templates, forwards the user's actions to the session and shows what the
// session says: the page, STEP, the step fields, the Edit menu's items and the message boxes.
//
// Test seams: `boxes` receives every message box and `files` answers the page-file dialogs;
// either may be nullptr for the real Qt ones. Controls are reached by identifier.
class CEditorDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CEditorDlg(kestrova::MessageBoxes* injectedBoxes = nullptr,
                        kestrova::PageFileDialogs* injectedFiles = nullptr);
    ~CEditorDlg() override;

    // Runs the window modally, centred on the screen, until it is closed.
    int doModal();

    kestrova::EditorSession& session() { return editor; }

    QWidget* control(int id) const;
    // What a control shows: an edit's text, a list's chosen entry, a button's or label's text.
    QString readText(int id) const;
    int selectedIndex(int id) const;
    // Every control in template order.
    const std::vector<QWidget*>& controls() const { return built.controls; }
    QMenuBar* menuBar() const { return menu; }
    CSetupDlg& setup() { return setupDlg; }
    CMotorPanel* motorPanel(int motorIndex) const;
    CStepTableView* stepTableView() const { return stepTable; }
    // The Curves window once View > Curves has made it, else nullptr.
    kestrova::CurvesWindow* curvesWindow() const { return curves; }

    // The Community menu, on the port Setup chose.
    void onConnect();
    void onDisconnect();
    void onSetup();

    void onPcSave();
    void onPcLoad();
    void onViewCurves();
    void onCopyStep();
    void onPasteStep();
    void onFileExit();
    // The Robot menu.
    void onOpenProfile();
    void onEditProfile();
    void onCloseProfile();
    void accept() override;  // the OK command
    void reject() override;  // the Cancel command and the close button
    // True when the command was the window's own (the About box); others are the platform's.
    bool onSysCommand(int command);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The system menu's commands, where the platform has a system menu.
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    void bindControls();
    void onInitDialog();
    void addAboutItem();
    void buildWindow();
    void connectHandlers();
    void connectSession();
    void createMotorPanels();
    void attachSpin(int upDownId, int upper, int editId);
    void onMenuCommand(int command);
    void onListChosen(int id);
    void onPageNameEdited();
    bool preTranslateMessage(const QEvent* event) const;
    static bool leavesCopyToMenu(const QObject* watched, const QEvent* event);

    unsigned readUnsigned(int id) const;
    void selectIndex(int id, int index);
    // What the session says, shown.
    void showPage();
    void showDraftValue(int index);
    void showHistory();
    void showMessage(const kestrova::SessionMessage& box);
    // Names, slider ranges and the mirror items as the session's profile has them.
    void showProfile();

    void choosePort();

    std::unique_ptr<kestrova::MessageBoxes> ownBoxes;
    kestrova::MessageBoxes& boxes;
    std::unique_ptr<kestrova::PageFileDialogs> ownFiles;
    kestrova::PageFileDialogs& files;
    kestrova::EditorSession editor;
    QWidget* client = nullptr;
    QMenuBar* menu = nullptr;
    kestrova::BuiltDialog built;

    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QString undoText, redoText;  // the items' texts when there is nothing to name

    std::array<CMotorPanel*, kestrova::kMotorCount> motorPanels{};
    QLabel* robotPicture = nullptr;
    QWidget* pictureFrame = nullptr;
    QComboBox* repeatCombo = nullptr;
    QLineEdit* pageNameEdit = nullptr;
    QComboBox* stepCombo = nullptr;
    CStepTableView* stepTable = nullptr;
    kestrova::CurvesWindow* curves = nullptr;
    CSetupDlg setupDlg;
    QIcon icon;
};
