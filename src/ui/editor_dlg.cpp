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

using kestrova::EditorSession;

constexpr int kSysCommandMask = ~0xF;

// A button or menu command: the window's own handler or the session's.
struct Route {
    int id;
    void (CEditorDlg::*view)();
    void (EditorSession::*session)();
};

constexpr std::array<Route, 11> kButtonRoutes{{
    {id::kSetStep, nullptr, &EditorSession::onSetStep},
    {id::kGetStep, nullptr, &EditorSession::onGetStep},
    {id::kPcSave, &CEditorDlg::onPcSave, nullptr},
    {id::kPcLoad, &CEditorDlg::onPcLoad, nullptr},
    {id::kPlay, nullptr, &EditorSession::sendPagePlay},
    {id::kTargetLoad, nullptr, &EditorSession::sendPageRead},
    {id::kTargetSave, nullptr, &EditorSession::sendPageWrite},
    {id::kResetStep, nullptr, &EditorSession::onResetStep},
    {id::kResetPage, nullptr, &EditorSession::onResetPage},
    {id::kOk, &CEditorDlg::accept, nullptr},
    {id::kCancel, &CEditorDlg::reject, nullptr},
}};

constexpr std::array<Route, 16> kMenuRoutes{{
    {id::kFileOpenPage, &CEditorDlg::onPcLoad, nullptr},
    {id::kFileSavePage, &CEditorDlg::onPcSave, nullptr},
    {id::kOpenProfile, &CEditorDlg::onOpenProfile, nullptr},
    {id::kEditProfile, &CEditorDlg::onEditProfile, nullptr},
    {id::kCloseProfile, &CEditorDlg::onCloseProfile, nullptr},
    {id::kFileExit, &CEditorDlg::onFileExit, nullptr},
    {id::kConnect, &CEditorDlg::onConnect, nullptr},
    {id::kDisconnect, &CEditorDlg::onDisconnect, nullptr},
    {id::kSetup, &CEditorDlg::onSetup, nullptr},
    {id::kEditUndo, nullptr, &EditorSession::onUndo},
    {id::kEditRedo, nullptr, &EditorSession::onRedo},
    {id::kEditCopyStep, &CEditorDlg::onCopyStep, nullptr},
    {id::kEditPasteStep, &CEditorDlg::onPasteStep, nullptr},
    {id::kEditInsertStep, nullptr, &EditorSession::onInsertStep},
    {id::kEditDeleteStep, nullptr, &EditorSession::onDeleteStep},
    {id::kViewCurves, &CEditorDlg::onViewCurves, nullptr},
}};

constexpr std::array<std::pair<int, kestrova::MirrorCommand>, 3> kMirrorRoutes{{
    {id::kEditMirrorStep, kestrova::MirrorCommand::MirrorStep},
    {id::kEditCopyLeftToRight, kestrova::MirrorCommand::CopyLeftToRight},
    {id::kEditCopyRightToLeft, kestrova::MirrorCommand::CopyRightToLeft},
}};

constexpr std::array<int, 4> kPageLists{id::kEnableStepCombo, id::kPageNumCombo, id::kNextPageCombo,
                                        id::kRepeatCombo};

void follow(CEditorDlg& dlg, const Route& route) {
    if (route.view != nullptr) {
        (dlg.*route.view)();
    } else {
        (dlg.session().*route.session)();
    }
}

}  // namespace

CEditorDlg::CEditorDlg(kestrova::MessageBoxes* injectedBoxes,
                       kestrova::PageFileDialogs* injectedFiles)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ownBoxes(injectedBoxes ? nullptr : std::make_unique<kestrova::QtMessageBoxes>()),
      boxes(injectedBoxes ? *injectedBoxes : *ownBoxes),
      ownFiles(injectedFiles ? nullptr : std::make_unique<kestrova::QtPageFileDialogs>()),
      files(injectedFiles ? *injectedFiles : *ownFiles),
      icon(kestrova::resourceIcon(id::kAppIcon)) {
    buildWindow();
    bindControls();
    connectHandlers();
    onInitDialog();
    connectSession();
    kestrova::nameControls(built, this);
    kestrova::keepLightColours({pictureFrame, stepTable});
    kestrova::fitListTexts(built.controls);
    kestrova::fitToScreen(*this, *client);
}

CEditorDlg::~CEditorDlg() = default;

void CEditorDlg::buildWindow() {
    client = new QWidget(this);
    built = kestrova::buildDialog(kestrova::res::editorDialog, client);
    // The step table control is painted by the step table view, from the session's page.
    kestrova::substituteControl(built, id::kStepTable, new CStepTableView(editor.page()));
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
    stepCombo = built.controlAs<QComboBox>(id::kStepCombo);
    stepTable = built.controlAs<CStepTableView>(id::kStepTable);
}

void CEditorDlg::connectHandlers() {
    for (const Route& route : kButtonRoutes) {
        connect(built.controlAs<QPushButton>(route.id), &QPushButton::clicked, this,
                [this, &route] { follow(*this, route); });
    }
    for (const int list : kPageLists) {
        connect(built.controlAs<QComboBox>(list), &QComboBox::activated, this,
                [this, list] { onListChosen(list); });
    }
    // The session is the context: a widget's signal while the window is torn down (the name
    // edit losing the focus) must not reach a session that is already gone.
    connect(stepCombo, &QComboBox::currentIndexChanged, &editor,
            [this](int index) { editor.setStep(std::max(index, 0)); });
    connect(built.controlAs<QCheckBox>(id::kLinkToTarget), &QCheckBox::toggled, &editor,
            [this](bool linked) { editor.setLinkedToTarget(linked); });
    connect(pageNameEdit, &QLineEdit::textEdited, this, &CEditorDlg::onPageNameEdited);
    // Keystrokes in Page Name make one change until the user leaves the edit.
    connect(pageNameEdit, &QLineEdit::editingFinished, &editor, [this] { editor.endNameTyping(); });
    connect(stepTable, &CStepTableView::valueTyped, &editor,
            &kestrova::EditorSession::onTableValueTyped);
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

void CEditorDlg::onInitDialog() {
    addAboutItem();
    setWindowIcon(icon);
    // Typing beyond seven characters, or any character wider than a byte, is refused.
    pageNameEdit->setMaxLength(static_cast<int>(kestrova::kPageNameSize));
    pageNameEdit->setValidator(new kestrova::Latin1Validator(pageNameEdit));
    for (int value = 1; value <= kestrova::kMaxRepeat; ++value) {
        repeatCombo->addItem(QString::number(value));
    }
    repeatCombo->setCurrentIndex(-1);
    showPage();
    selectIndex(id::kStepCombo, 0);
    // The robot picture lives in the frame, hidden.
    robotPicture->setParent(pictureFrame);
    robotPicture->hide();
    createMotorPanels();
    // Arrow keys in the step fields.
    for (int k = 0; k < static_cast<int>(kestrova::kMotorCount); ++k) {
        attachSpin(id::kUpDown0 + k, kestrova::kMaxPosition, id::kMotorEdit0 + k);
    }
    attachSpin(id::kAccUpDown, kestrova::kMaxAcc, id::kAccEdit);
    attachSpin(id::kRateUpDown, kestrova::kMaxRate, id::kRateEdit);
    undoAction = menu->findChild<QAction*>(QStringLiteral("command%1").arg(id::kEditUndo));
    redoAction = menu->findChild<QAction*>(QStringLiteral("command%1").arg(id::kEditRedo));
    undoText = undoAction->text();
    redoText = redoAction->text();
    showHistory();
    showProfile();
}

// In the system menu where the platform has one, else it ends File.
void CEditorDlg::addAboutItem() {
    const std::string_view aboutText = kestrova::res::loadString(id::kAboutText);
    if (aboutText.empty()) {
        return;
    }
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

int CEditorDlg::doModal() {
    return exec();
}

QWidget* CEditorDlg::control(int id) const {
    return built.control(id);
}

void CEditorDlg::onMenuCommand(int command) {
    for (const auto& [item, mirror] : kMirrorRoutes) {
        if (item == command) {
            editor.onMirror(mirror);
        }
    }
    const auto route = std::find_if(kMenuRoutes.begin(), kMenuRoutes.end(),
                                    [command](const Route& r) { return r.id == command; });
    if (route != kMenuRoutes.end()) {
        follow(*this, *route);
    }
}

void CEditorDlg::createMotorPanels() {
    for (int i = 0; i < static_cast<int>(motorPanels.size()); ++i) {
        auto* panel = new CMotorPanel(i, pictureFrame);
        motorPanels[static_cast<std::size_t>(i)] = panel;
        connect(panel, &CMotorPanel::valueChanged, this, [this](int motor, int value) {
            editor.setDraftValue(static_cast<std::size_t>(motor), value);
        });
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
    const auto index =
        static_cast<std::size_t>(editId == id::kAccEdit    ? kestrova::kAccIndex
                                 : editId == id::kRateEdit ? kestrova::kRateIndex
                                                           : editId - id::kMotorEdit0);
    new kestrova::SpinStepper(
        built.controlAs<QLineEdit>(editId), upper,
        [this, index](int value) { editor.setDraftValue(index, value); }, upDown);
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
    QDialog::accept();
}

void CEditorDlg::reject() {
    QDialog::reject();
}
