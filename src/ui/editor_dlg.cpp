// SPDX-License-Identifier: MIT
// The main window: construction, start-up, routing of controls and menu, keys, closing.
#include "src/ui/editor_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>

#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "src/model/motion_page.h"
#include "src/platform/system_menu.h"
#include "src/ui/about_dlg.h"
#include "src/ui/control_names.h"
#include "src/ui/file_dialogs.h"
#include "src/ui/latin1_validator.h"
#include "src/ui/light_colours.h"
#include "src/ui/list_text_fit.h"
#include "src/ui/menu_builder.h"
#include "src/ui/motor_panel.h"
#include "src/ui/qt_text.h"
#include "src/ui/resource_images.h"
#include "src/ui/screen_fit.h"
#include "src/ui/spin_stepper.h"
#include "src/ui/step_table_view.h"

namespace id = kestrova::res::id;

namespace {

constexpr int kSysCommandMask = ~0xF;

struct ButtonRoute {
    int id;
    void (CEditorDlg::*handler)();
};

constexpr std::array<ButtonRoute, 11> kButtonRoutes{{
    {id::kSetStep, &CEditorDlg::onSetStep},
    {id::kGetStep, &CEditorDlg::onGetStep},
    {id::kPcSave, &CEditorDlg::onPcSave},
    {id::kPcLoad, &CEditorDlg::onPcLoad},
    {id::kPlay, &CEditorDlg::sendPagePlay},
    {id::kTargetLoad, &CEditorDlg::sendPageRead},
    {id::kTargetSave, &CEditorDlg::sendPageWrite},
    {id::kResetStep, &CEditorDlg::onResetStep},
    {id::kResetPage, &CEditorDlg::onResetPage},
    {id::kOk, &CEditorDlg::accept},
    {id::kCancel, &CEditorDlg::reject},
}};

constexpr std::array<ButtonRoute, 4> kListRoutes{{
    {id::kEnableStepCombo, &CEditorDlg::onEnableStepChange},
    {id::kPageNumCombo, &CEditorDlg::onPageNumChange},
    {id::kNextPageCombo, &CEditorDlg::onNextPageChange},
    {id::kRepeatCombo, &CEditorDlg::onRepeatChange},
}};

constexpr std::array<ButtonRoute, 12> kMenuRoutes{{
    {id::kFileOpenPage, &CEditorDlg::onPcLoad},
    {id::kFileSavePage, &CEditorDlg::onPcSave},
    {id::kFileExit, &CEditorDlg::onFileExit},
    {id::kConnect, &CEditorDlg::onConnect},
    {id::kDisconnect, &CEditorDlg::onDisconnect},
    {id::kSetup, &CEditorDlg::onSetup},
    {id::kEditUndo, &CEditorDlg::onUndo},
    {id::kEditRedo, &CEditorDlg::onRedo},
    {id::kEditCopyStep, &CEditorDlg::onCopyStep},
    {id::kEditPasteStep, &CEditorDlg::onPasteStep},
    {id::kEditInsertStep, &CEditorDlg::onInsertStep},
    {id::kEditDeleteStep, &CEditorDlg::onDeleteStep},
}};

}  // namespace

CEditorDlg::CEditorDlg(kestrova::MessageBoxes* injectedBoxes,
                       kestrova::PageFileDialogs* injectedFiles)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ownBoxes(injectedBoxes ? nullptr : std::make_unique<kestrova::QtMessageBoxes>()),
      boxes(injectedBoxes ? *injectedBoxes : *ownBoxes),
      ownFiles(injectedFiles ? nullptr : std::make_unique<kestrova::QtPageFileDialogs>(boxes)),
      files(injectedFiles ? *injectedFiles : *ownFiles),
      icon(kestrova::resourceIcon(id::kAppIcon)) {
    buildWindow();
    bindControls();
    connectHandlers();
    bindEditMenu();
    onInitDialog();
    kestrova::nameControls(built, this);
    kestrova::keepLightColours({pictureFrame, stepTable});
    kestrova::fitListTexts(built.controls);
    kestrova::fitToScreen(*this, *client);
}

CEditorDlg::~CEditorDlg() = default;

void CEditorDlg::buildWindow() {
    client = new QWidget(this);
    built = kestrova::buildDialog(kestrova::res::editorDialog, client);
    // The step table control is painted by the step table view, from the program's one page.
    kestrova::substituteControl(built, id::kStepTable, new CStepTableView(motionPage));
    setWindowTitle(kestrova::toQString(kestrova::res::editorDialog.caption));
    setFont(client->font());
    client->setFixedSize(client->size());
    menu = kestrova::buildMenuBar(kestrova::res::editorMenu, this,
                                  [this](int command) { onMenuCommand(command); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menu);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CEditorDlg::bindControls() {
    robotPicture = built.controlAs<QLabel>(id::kRobotPicture);
    pictureFrame = control(id::kPictureFrame);
    repeatCombo = built.controlAs<QComboBox>(id::kRepeatCombo);
    pageNameEdit = built.controlAs<QLineEdit>(id::kPageNameEdit);
    pageNumCombo = built.controlAs<QComboBox>(id::kPageNumCombo);
    stepCombo = built.controlAs<QComboBox>(id::kStepCombo);
    nextPageCombo = built.controlAs<QComboBox>(id::kNextPageCombo);
    enableStepCombo = built.controlAs<QComboBox>(id::kEnableStepCombo);
    stepTable = built.controlAs<CStepTableView>(id::kStepTable);
}

void CEditorDlg::connectHandlers() {
    for (const ButtonRoute& route : kButtonRoutes) {
        connect(built.controlAs<QPushButton>(route.id), &QPushButton::clicked, this, route.handler);
    }
    for (const ButtonRoute& route : kListRoutes) {
        connect(built.controlAs<QComboBox>(route.id), &QComboBox::activated, this, route.handler);
    }
    for (int k = 0; k < static_cast<int>(kestrova::kMotorCount); ++k) {
        const int editId = id::kMotorEdit0 + k;
        connect(built.controlAs<QLineEdit>(editId), &QLineEdit::textChanged, this,
                [this, editId] { onEditChange(editId); });
    }
    connect(pageNameEdit, &QLineEdit::textChanged, this,
            [this] { onEditChange(id::kPageNameEdit); });
    // Enter and Escape are filtered before any control of this window sees them, but for the
    // step table, where Enter opens the cell editor.
    installEventFilter(this);
    for (QWidget* widget : built.controls) {
        widget->installEventFilter(this);
    }
    stepTable->removeEventFilter(this);
    stepTable->setFocusPolicy(Qt::TabFocus);  // a click leaves the focus where it was
    setTabOrder(control(id::kRateEdit), stepTable);
}

int CEditorDlg::onInitDialog() {
    // 2. The About item: in the system menu where the platform has one, else it ends File.
    const std::string_view aboutText = kestrova::res::loadString(id::kAboutText);
    if (!aboutText.empty()) {
        if (kestrova::platformHasSystemMenu()) {
            kestrova::appendSystemMenuItem(winId(), kestrova::toQString(aboutText).toStdU16String(),
                                           id::kAboutBox);
        } else if (!menu->actions().isEmpty()) {
            QMenu* fileMenu = menu->actions().first()->menu();
            fileMenu->addSeparator();
            QAction* about = fileMenu->addAction(kestrova::toQString(aboutText));
            about->setObjectName(QStringLiteral("command%1").arg(id::kAboutBox));
            connect(about, &QAction::triggered, this, [this] { onSysCommand(id::kAboutBox); });
        }
    }
    // 3. Big and small icon.
    setWindowIcon(icon);
    // 4. Typing beyond seven characters, or any character wider than a byte, is refused.
    pageNameEdit->setMaxLength(static_cast<int>(kestrova::kPageNameSize));
    pageNameEdit->setValidator(new kestrova::Latin1Validator(pageNameEdit));
    // 5. Repeat list: 1 to 254.
    for (int value = 1; value <= kestrova::kMaxRepeat; ++value) {
        repeatCombo->addItem(QString::number(value));
    }
    repeatCombo->setCurrentIndex(-1);
    // 6. Show the page.
    refreshPageControls();
    // 7. The robot picture lives in the frame, hidden.
    robotPicture->setParent(pictureFrame);
    robotPicture->hide();
    // 8. The motor panels, inside the frame.
    createMotorPanels();
    // 9. Arrow keys in the step fields.
    for (int k = 0; k < static_cast<int>(kestrova::kMotorCount); ++k) {
        attachSpin(id::kUpDown0 + k, kestrova::kMaxPosition, id::kMotorEdit0 + k);
    }
    attachSpin(id::kAccUpDown, kestrova::kMaxAcc, id::kAccEdit);
    attachSpin(id::kRateUpDown, kestrova::kMaxRate, id::kRateEdit);
    // 10. Received chunks come to this window.
    comm.setOwnerWindow(this);
    // 11. Nothing to undo yet.
    updateEditMenu();
    return 1;
}

int CEditorDlg::doModal() {
    return exec();
}

QWidget* CEditorDlg::control(int id) const {
    return built.control(id);
}

void CEditorDlg::onMenuCommand(int command) {
    const auto route = std::find_if(kMenuRoutes.begin(), kMenuRoutes.end(),
                                    [command](const ButtonRoute& r) { return r.id == command; });
    if (route != kMenuRoutes.end()) {
        (this->*route->handler)();
    }
}

void CEditorDlg::onEditChange(int id) {
    if (id == id::kPageNameEdit) {
        onPageNameChange();
    } else if (id >= id::kMotorEdit0 &&
               id < id::kMotorEdit0 + static_cast<int>(kestrova::kMotorCount)) {
        onMotorEditChange(id - id::kMotorEdit0);
    }
}

void CEditorDlg::createMotorPanels() {
    for (int i = 0; i < static_cast<int>(motorPanels.size()); ++i) {
        auto* panel = new CMotorPanel(i, this, pictureFrame);
        motorPanels[static_cast<std::size_t>(i)] = panel;
        connect(built.controlAs<QCheckBox>(id::kPositionLock), &QCheckBox::toggled, panel,
                &CMotorPanel::setLocked);
        panel->show();
        panel->setUpPanel();
    }
}

CMotorPanel* CEditorDlg::motorPanel(int motorIndex) const {
    return motorPanels.at(static_cast<std::size_t>(motorIndex));
}

void CEditorDlg::attachSpin(int upDownId, int upper, int editId) {
    QWidget* upDown = control(upDownId);
    // A new buddy replaces whatever the up-down served before.
    qDeleteAll(upDown->findChildren<kestrova::SpinStepper*>(Qt::FindDirectChildrenOnly));
    new kestrova::SpinStepper(
        built.controlAs<QLineEdit>(editId), upper,
        [this, editId](int value) { writeUnsigned(editId, static_cast<unsigned>(value)); }, upDown);
}

void CEditorDlg::writeMotorEdit(int motorIndex, int value) {
    writeText(id::kMotorEdit0 + motorIndex, QString::number(value));
}

void CEditorDlg::onMotorEditChange(int motorIndex) {
    // The robot hears the new positions before the trackbar moves.
    sendLivePositions();
    motorPanel(motorIndex)->setTrackbarPosition(readSigned(id::kMotorEdit0 + motorIndex));
}

// As the caption's close button: the close event ends the run through reject().
void CEditorDlg::onFileExit() {
    close();
}

bool CEditorDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    const std::optional<unsigned> command = kestrova::systemMenuCommand(message);
    if (command && onSysCommand(static_cast<int>(*command))) {
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}

bool CEditorDlg::onSysCommand(int command) {
    if ((command & kSysCommandMask) != id::kAboutBox) {
        return false;
    }
    CAboutDlg about(this);
    about.exec();
    return true;
}

bool CEditorDlg::preTranslateMessage(const QEvent* event) const {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

// A step field claims Ctrl+C for its own selected text; with nothing selected there the key
// is Copy Step's.
bool CEditorDlg::leavesCopyToMenu(const QObject* watched, const QEvent* event) {
    const auto* edit = qobject_cast<const QLineEdit*>(watched);
    return event->type() == QEvent::ShortcutOverride && edit != nullptr && edit->isReadOnly() &&
           !edit->hasSelectedText() &&
           static_cast<const QKeyEvent*>(event)->matches(QKeySequence::Copy);
}

bool CEditorDlg::eventFilter(QObject* watched, QEvent* event) {
    return preTranslateMessage(event) || leavesCopyToMenu(watched, event) ||
           QDialog::eventFilter(watched, event);
}

void CEditorDlg::accept() {
    onOK();
}

void CEditorDlg::reject() {
    onCancel();
}

void CEditorDlg::onOK() {
    bindControls();
    QDialog::accept();
}

void CEditorDlg::onCancel() {
    QDialog::reject();
}
