// SPDX-License-Identifier: MIT
// The Edit menu: undo and redo of page changes, and whole steps through the clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenuBar>

#include "resources/resource_ids.h"
#include "src/model/motion_page.h"
#include "src/model/step_clipboard.h"
#include "src/model/step_edits.h"
#include "src/ui/editor_dlg.h"
#include "src/ui/qt_text.h"
#include "src/ui/step_table_view.h"

namespace id = kestrova::res::id;
using kestrova::PageRecord;

namespace {

// Holds a counter up for its lifetime.
class DepthScope {
  public:
    explicit DepthScope(int& depth) : depth(depth) { ++depth; }
    ~DepthScope() { --depth; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;

  private:
    int& depth;
};

// "&Undo" alone when there is nothing to undo, else "&Undo Set Step".
void showHistoryItem(QAction* action, const QString& text, std::string_view label) {
    action->setEnabled(!label.empty());
    action->setText(label.empty() ? text : text + ' ' + kestrova::toQString(label));
}

}  // namespace

void CEditorDlg::bindEditMenu() {
    undoAction = menu->findChild<QAction*>(QStringLiteral("command%1").arg(id::kEditUndo));
    redoAction = menu->findChild<QAction*>(QStringLiteral("command%1").arg(id::kEditRedo));
    undoText = undoAction->text();
    redoText = redoAction->text();
    connect(stepTable, &CStepTableView::valueTyped, this, &CEditorDlg::onTableValueTyped);
    // Keystrokes in Page Name make one change until the user leaves the edit.
    connect(pageNameEdit, &QLineEdit::editingFinished, this, [this] { history.endMerge(); });
}

void CEditorDlg::updateEditMenu() {
    showHistoryItem(undoAction, undoText, history.undoLabel());
    showHistoryItem(redoAction, redoText, history.redoLabel());
}

void CEditorDlg::changePage(std::string_view label, const std::function<void()>& change,
                            kestrova::PageHistory::Merge merge) {
    if (pageChangeDepth > 0) {
        change();
        return;
    }
    const PageRecord before = motionPage.getRecord();
    {
        DepthScope inside(pageChangeDepth);
        change();
    }
    history.record(before, motionPage.getRecord(), label, merge);
    updateEditMenu();
}

void CEditorDlg::showFromHistory(const std::optional<PageRecord>& page) {
    if (!page) {
        return;
    }
    {
        DepthScope inside(pageChangeDepth);  // showing the page is no change of its own
        const int step = selectedIndex(id::kStepCombo);
        motionPage.setRecord(*page);
        refreshPageControls();
        selectIndex(id::kStepCombo, step);
    }
    updateEditMenu();
}

void CEditorDlg::onUndo() {
    showFromHistory(history.undo(motionPage.getRecord()));
}

void CEditorDlg::onRedo() {
    showFromHistory(history.redo(motionPage.getRecord()));
}

void CEditorDlg::onCopyStep() {
    const auto line = kestrova::readStepLine(motionPage.getRecord(), readUnsigned(id::kStepCombo));
    QApplication::clipboard()->setText(QString::fromStdString(kestrova::formatStepLine(line)));
}

void CEditorDlg::editSteps(
    std::string_view label,
    const std::function<PageRecord(const PageRecord&, std::size_t step)>& edit) {
    const std::size_t step = readUnsigned(id::kStepCombo);
    changePage(label, [&] { motionPage.setRecord(edit(motionPage.getRecord(), step)); });
    selectIndex(id::kEnableStepCombo, motionPage.getEnableStep());
    repaintStepTable();
}

void CEditorDlg::onPasteStep() {
    const auto lines = kestrova::parseStepLines(QApplication::clipboard()->text().toStdString());
    if (!lines) {
        QApplication::beep();
        return;
    }
    editSteps("Paste Step", [&](const PageRecord& page, std::size_t step) {
        return kestrova::pasteSteps(page, step, *lines);
    });
}

void CEditorDlg::onInsertStep() {
    editSteps("Insert Step", kestrova::insertStep);
}

void CEditorDlg::onDeleteStep() {
    editSteps("Delete Step", kestrova::deleteStep);
}

void CEditorDlg::onTableValueTyped(int step, int row, std::uint8_t value) {
    changePage("Typed Value", [&] {
        motionPage.setRecord(kestrova::setStepValue(motionPage.getRecord(),
                                                    static_cast<std::size_t>(step),
                                                    static_cast<std::size_t>(row), value));
    });
    repaintStepTable();
}
