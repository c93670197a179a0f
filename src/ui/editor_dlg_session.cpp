// SPDX-License-Identifier: MIT
// The main window as a view of its session: what the session says, shown in the controls,
// and the user's page, file, clipboard and connection actions handed to it.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

#include "resources/resource_ids.h"
#include "src/ui/editor_dlg.h"
#include "src/ui/motor_panel.h"
#include "src/ui/qt_text.h"
#include "src/ui/step_table_view.h"

namespace id = kestrova::res::id;

namespace {

int draftEdit(int index) {
    switch (static_cast<std::size_t>(index)) {
        case kestrova::kAccIndex:
            return id::kAccEdit;
        case kestrova::kRateIndex:
            return id::kRateEdit;
        default:
            return id::kMotorEdit0 + index;
    }
}

// "&Undo" alone when there is nothing to undo, else "&Undo Set Step".
void showHistoryItem(QAction* action, const QString& text, std::string_view label) {
    action->setEnabled(!label.empty());
    action->setText(label.empty() ? text : text + ' ' + kestrova::toQString(label));
}

}  // namespace

void CEditorDlg::connectSession() {
    connect(&editor, &kestrova::EditorSession::pageChanged, this, &CEditorDlg::showPage);
    connect(&editor, &kestrova::EditorSession::stepChanged, this,
            [this](int step) { selectIndex(id::kStepCombo, step); });
    connect(&editor, &kestrova::EditorSession::draftChanged, this, &CEditorDlg::showDraftValue);
    connect(&editor, &kestrova::EditorSession::historyChanged, this, &CEditorDlg::showHistory);
    connect(&editor, &kestrova::EditorSession::message, this, &CEditorDlg::showMessage);
    connect(&editor, &kestrova::EditorSession::refused, this, [] { QApplication::beep(); });
    connect(&editor, &kestrova::EditorSession::profileChanged, this, &CEditorDlg::showProfile);
}

void CEditorDlg::showPage() {
    const kestrova::PageRecord& page = editor.page();
    const auto end = std::find(page.pageName.begin(), page.pageName.end(), 0);
    const QString name = QString::fromLatin1(reinterpret_cast<const char*>(page.pageName.data()),
                                             static_cast<qsizetype>(end - page.pageName.begin()));
    if (pageNameEdit->text() != name) {  // as typed: the cursor and the edit's undo stay
        pageNameEdit->setText(name);
    }
    selectIndex(id::kPageNumCombo, page.pageNum);
    selectIndex(id::kEnableStepCombo, page.enableStep);
    selectIndex(id::kNextPageCombo, page.nextPage);
    selectIndex(id::kRepeatCombo, static_cast<int>(page.repeat) - 1);
    stepTable->showPageChange();
}

void CEditorDlg::showDraftValue(int index) {
    const std::optional<int>& value = editor.draft().at(static_cast<std::size_t>(index));
    built.controlAs<QLineEdit>(draftEdit(index))
        ->setText(value ? QString::number(*value) : QString());
    if (index < static_cast<int>(kestrova::kMotorCount)) {
        motorPanel(index)->setTrackbarPosition(value.value_or(0));
    }
}

void CEditorDlg::showHistory() {
    showHistoryItem(undoAction, undoText, editor.undoLabel());
    showHistoryItem(redoAction, redoText, editor.redoLabel());
}

void CEditorDlg::showMessage(const kestrova::SessionMessage& box) {
    boxes.show({box.text, box.caption, box.icon, box.ownerless ? nullptr : this, box.yes});
}

void CEditorDlg::onListChosen(int list) {
    const auto value = static_cast<std::uint8_t>(readUnsigned(list));
    switch (list) {
        case id::kPageNumCombo:
            editor.onPageNumChange(value);
            break;
        case id::kEnableStepCombo:
            editor.onEnableStepChange(value);
            break;
        case id::kNextPageCombo:
            editor.onNextPageChange(value);
            break;
        default:  // Repeat: its entries are 1 to 254
            editor.onRepeatChange(static_cast<std::uint8_t>(selectedIndex(list) + 1));
    }
}

void CEditorDlg::onPageNameEdited() {
    const QByteArray text = pageNameEdit->text().left(kestrova::kPageNameSize).toLatin1();
    kestrova::PageName name{};
    std::copy_n(text.cbegin(), std::min<qsizetype>(text.size(), kestrova::kPageNameSize),
                name.begin());
    editor.onPageNameChange(name);
}

void CEditorDlg::onPcSave() {
    if (const auto path = files.chooseSavePath()) {
        editor.onPcSave(*path);
    }
}

void CEditorDlg::onPcLoad() {
    if (const auto path = files.chooseOpenPath()) {
        editor.onPcLoad(*path);
    }
}

void CEditorDlg::onCopyStep() {
    QApplication::clipboard()->setText(QString::fromStdString(editor.copyStepText()));
}

void CEditorDlg::onPasteStep() {
    if (!editor.onPasteStep(QApplication::clipboard()->text().toStdString())) {
        QApplication::beep();
    }
}

// The messages name the choice Setup holds now, so the session is told it at every command.
void CEditorDlg::choosePort() {
    kestrova::PortChoice choice;
    choice.settings = kestrova::buildPortSettings(setupDlg.portIndex, setupDlg.baudIndex);
    if (const auto& device = setupDlg.chosenDevice()) {
        choice.device = device->portDevice();
        choice.name = device->name;
    } else {
        choice.name = QString::fromStdString(kestrova::portChoiceName(setupDlg.portIndex + 1));
    }
    editor.setPortChoice(choice);
}

void CEditorDlg::onConnect() {
    choosePort();
    editor.onConnect();
}

void CEditorDlg::onDisconnect() {
    choosePort();
    editor.onDisconnect();
}

void CEditorDlg::onSetup() {
    if (setupDlg.parentWidget() != this) {
        setupDlg.setParent(this, setupDlg.windowFlags());
    }
    setupDlg.doModal();
}
