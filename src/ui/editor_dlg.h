// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QIcon>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "src/model/page_file_dialogs.h"
#include "src/model/page_history.h"
#include "src/model/page_record.h"
#include "src/protocol/reply_recognizer.h"
#include "src/serial/comm.h"
#include "src/serial/comm_owner.h"
#include "src/serial/port_settings.h"
#include "src/ui/dialog_builder.h"
#include "src/ui/live_send_busy.h"
#include "src/ui/message_boxes.h"
#include "src/ui/motor_panel_owner.h"
#include "src/ui/noise_box_gate.h"
#include "src/ui/setup_dlg.h"

class CMotorPanel;
class CStepTableView;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;

// The main window (template 102 with menu 139): page and step editing, the connection, the
// send commands and the controller's replies.
//
// Test seams: `boxes` receives every message box and `files` answers the page-file dialogs;
// either may be nullptr for the real Qt ones. Controls are reached by identifier through control(),
// readUnsigned(), writeUnsigned(), readText(), writeText(), selectIndex() and selectedIndex().
class CEditorDlg : public QDialog,
                   public kestrova::CommOwner,
                   public kestrova::ReplySink,
                   public kestrova::MotorPanelOwner {
    Q_OBJECT

  public:
    explicit CEditorDlg(kestrova::MessageBoxes* injectedBoxes = nullptr,
                        kestrova::PageFileDialogs* injectedFiles = nullptr);
    ~CEditorDlg() override;

    // Runs the window modally, centred on the screen, until it is closed.
    int doModal();

    // Control operations, by identifier. A text write raises the edit's change handler at
    // once, also when the text stays the same; a selection made here raises nothing.
    QWidget* control(int id) const;
    unsigned readUnsigned(int id) const;
    // The text as a signed decimal number; 0 when it is empty or not such a number.
    int readSigned(int id) const;
    void writeUnsigned(int id, unsigned value);
    QString readText(int id) const;
    void writeText(int id, const QString& text);
    void selectIndex(int id, int index);
    int selectedIndex(int id) const;

    // Every control in template order.
    const std::vector<QWidget*>& controls() const { return built.controls; }
    QMenuBar* menuBar() const { return menu; }
    CComm& port() { return comm; }
    CSetupDlg& setup() { return setupDlg; }
    CMotorPanel* motorPanel(int motorIndex) const;
    CStepTableView* stepTableView() const { return stepTable; }

    // Page and step editing.
    void refreshPageControls();
    void onPageNameChange();
    void onPageNumChange();
    void onEnableStepChange();
    void onNextPageChange();
    void onRepeatChange();
    void onGetStep();
    void onSetStep();
    void onResetStep();
    void onResetPage();
    void onMotorEditChange(int motorIndex);

    // The Edit menu. Undo and redo show the page as a load does but keep STEP and the step
    // fields; none of these sends anything.
    void onUndo();
    void onRedo();
    void onCopyStep();
    void onPasteStep();
    void onInsertStep();
    void onDeleteStep();
    void onTableValueTyped(int step, int row, std::uint8_t value);

    // Motor panels and keyboard stepping.
    void writeMotorEdit(int motorIndex, int value) override;
    void attachSpin(int upDownId, int upper, int editId);

    // Connection.
    kestrova::PortSettings buildPortSettings() const;
    void onConnect();
    void onDisconnect();
    void onSetup();

    // Sending.
    void sendLivePositions();
    int sendPagePacket(const kestrova::PageRecord& record, std::uint8_t command);
    void sendPagePlay();
    void sendPageWrite();
    void sendPageRead();

    // To PC.
    void onPcSave();
    void onPcLoad();

    void onFileExit();
    void accept() override;  // the OK command: onOK
    void reject() override;  // the Cancel command and the close button: onCancel
    // True when the command was the window's own (the About box); others are the platform's.
    bool onSysCommand(int command);

    // Receiving: called on the serial watcher thread, runs the task on this window's thread,
    // also inside the nested loop of a modal box.
    void postToOwner(std::function<void()> task) override;
    void onCommRead(std::span<const std::uint8_t> chunk) override;
    // A failed open or write: the device and the reason on standard error; "ERROR" for a write.
    void onCommFailure(const kestrova::CommFailure& failure) override;
    // Overflows of the reply buffer that showed no "Bad communication" box.
    std::size_t discardedNoiseOverflows() const { return noiseGate.discardedOverflows(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The system menu's commands, where the platform has a system menu.
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    void bindControls();
    int onInitDialog();
    void buildWindow();
    void connectHandlers();
    void createMotorPanels();
    void onMenuCommand(int command);
    void onEditChange(int id);
    bool preTranslateMessage(const QEvent* event) const;
    static bool leavesCopyToMenu(const QObject* watched, const QEvent* event);
    void onOK();
    void onCancel();
    void repaintStepTable();
    // Runs `change` as one undoable change of the page named `label`; a change made inside
    // another one (a refresh writing the name) is part of it.
    void changePage(std::string_view label, const std::function<void()>& change,
                    kestrova::PageHistory::Merge merge = kestrova::PageHistory::Merge::No);
    // One change: the page becomes what `edit` makes of it at the selected step (STEP); the
    // table and Enable Step show the result.
    void editSteps(std::string_view label,
                   const std::function<kestrova::PageRecord(const kestrova::PageRecord&,
                                                            std::size_t step)>& edit);
    void showFromHistory(const std::optional<kestrova::PageRecord>& page);
    void bindEditMenu();
    void updateEditMenu();
    bool isLinkedToTarget() const;
    QString chosenPortName() const;
    void showPortMessage(const QString& name, const char* what);
    void showAppMessage(const QString& text);
    void showReplyMessage(const char* text);
    void showNoiseBox();

    // ReplySink
    void showSaveDone() override;
    void replacePage(const kestrova::PageRecord& record) override;
    void showFailed() override;
    void showBadCommunication() override;

    std::unique_ptr<kestrova::MessageBoxes> ownBoxes;
    kestrova::MessageBoxes& boxes;
    std::unique_ptr<kestrova::PageFileDialogs> ownFiles;
    kestrova::PageFileDialogs& files;
    QWidget* client = nullptr;
    QMenuBar* menu = nullptr;
    kestrova::BuiltDialog built;
    kestrova::ReplyRecognizer replies;
    kestrova::NoiseBoxGate noiseGate;
    bool noiseBoxPending = false;                   // posted, not yet shown
    std::vector<const char*> repliesAfterNoiseBox;  // boxes of the same chunk, shown after it

    kestrova::PageHistory history;
    int pageChangeDepth = 0;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QString undoText, redoText;  // the items' texts when there is nothing to name

    std::array<CMotorPanel*, kestrova::kMotorCount> motorPanels{};
    QLabel* robotPicture = nullptr;
    QWidget* pictureFrame = nullptr;
    QComboBox* repeatCombo = nullptr;
    QLineEdit* pageNameEdit = nullptr;
    QComboBox* pageNumCombo = nullptr;
    QComboBox* stepCombo = nullptr;
    QComboBox* nextPageCombo = nullptr;
    QComboBox* enableStepCombo = nullptr;
    CStepTableView* stepTable = nullptr;
    CSetupDlg setupDlg;
    CComm comm;
    QString openPortName;  // as it was chosen when the port opened
    QIcon icon;
};
