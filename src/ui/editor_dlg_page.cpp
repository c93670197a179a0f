// SPDX-License-Identifier: MIT
// Page and step editing: the page controls and the 24 step fields against the page object.
#include <QApplication>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>
#include <ranges>

#include "resources/resource_ids.h"
#include "src/model/motion_page.h"
#include "src/platform/file_flush.h"
#include "src/ui/editor_dlg.h"
#include "src/ui/step_table_view.h"

namespace id = kestrova::res::id;

namespace {

int motorEdit(std::size_t motor) {
    return id::kMotorEdit0 + static_cast<int>(motor);
}

}  // namespace

void CEditorDlg::refreshPageControls() {
    kestrova::PageName name{};
    motionPage.getPageName(name);
    const auto end = std::find(name.begin(), name.end(), 0);
    writeText(id::kPageNameEdit, QString::fromLatin1(reinterpret_cast<const char*>(name.data()),
                                                     static_cast<qsizetype>(end - name.begin())));
    selectIndex(id::kPageNumCombo, motionPage.getPageNum());
    selectIndex(id::kEnableStepCombo, motionPage.getEnableStep());
    selectIndex(id::kNextPageCombo, motionPage.getNextPage());
    selectIndex(id::kRepeatCombo, static_cast<int>(motionPage.getRepeat()) - 1);
    selectIndex(id::kStepCombo, 0);
    repaintStepTable();
}

void CEditorDlg::onPageNameChange() {
    const QByteArray text = readText(id::kPageNameEdit).left(kestrova::kPageNameSize).toLatin1();
    kestrova::PageName name{};
    std::copy_n(text.cbegin(), std::min<qsizetype>(text.size(), kestrova::kPageNameSize),
                name.begin());
    changePage(
        "Page Name", [&] { motionPage.setPageName(name); },
        kestrova::PageHistory::Merge::Keystrokes);
}

void CEditorDlg::onPageNumChange() {
    changePage("Page Num", [this] {
        motionPage.setPageNum(static_cast<std::uint8_t>(readUnsigned(id::kPageNumCombo)));
    });
}

void CEditorDlg::onEnableStepChange() {
    changePage("Enable Step", [this] {
        motionPage.setEnableStep(static_cast<std::uint8_t>(readUnsigned(id::kEnableStepCombo)));
    });
    repaintStepTable();
}

void CEditorDlg::onNextPageChange() {
    changePage("Next Page", [this] {
        motionPage.setNextPage(static_cast<std::uint8_t>(readUnsigned(id::kNextPageCombo)));
    });
}

void CEditorDlg::onRepeatChange() {
    changePage("Repeat", [this] {
        motionPage.setRepeat(static_cast<std::uint8_t>(selectedIndex(id::kRepeatCombo) + 1));
    });
}

void CEditorDlg::onGetStep() {
    kestrova::StepPositions positions{};
    motionPage.getStepPositions(readUnsigned(id::kStepCombo), positions);
    {
        // The fields' change handlers send nothing; one packet follows the bulk write.
        kestrova::LiveSendBusyScope bulk;
        for (std::size_t k = 0; k < positions.size(); ++k) {
            writeUnsigned(motorEdit(k), positions[k]);
        }
    }
    writeUnsigned(id::kAccEdit, motionPage.getAcc(readUnsigned(id::kStepCombo)));
    writeUnsigned(id::kRateEdit, motionPage.getRate(readUnsigned(id::kStepCombo)));
    sendLivePositions();
}

void CEditorDlg::onSetStep() {
    // An unset field would be stored as 0, which drives its servo to an extreme on PLAY.
    const auto unset = [this](int edit) { return readText(edit).isEmpty(); };
    if (std::ranges::any_of(std::views::iota(id::kMotorEdit0, id::kRateEdit + 1), unset)) {
        QApplication::beep();
        return;
    }
    kestrova::StepPositions positions{};
    for (std::size_t k = 0; k < positions.size(); ++k) {
        positions[k] = static_cast<std::uint8_t>(readUnsigned(motorEdit(k)));
    }
    changePage("Set Step", [&] {
        motionPage.setStepPositions(readUnsigned(id::kStepCombo), positions);
        motionPage.setAcc(readUnsigned(id::kStepCombo),
                          static_cast<std::uint8_t>(readUnsigned(id::kAccEdit)));
        motionPage.setRate(readUnsigned(id::kStepCombo),
                           static_cast<std::uint8_t>(readUnsigned(id::kRateEdit)));
    });
    sendLivePositions();
    repaintStepTable();
}

void CEditorDlg::onResetStep() {
    {
        kestrova::LiveSendBusyScope bulk;
        for (std::size_t k = 0; k < kestrova::kMotorCount; ++k) {
            writeUnsigned(motorEdit(k), kestrova::kDefaultPosition);
        }
    }
    writeUnsigned(id::kAccEdit, kestrova::kDefaultAcc);
    writeUnsigned(id::kRateEdit, kestrova::kDefaultRate);
    sendLivePositions();
}

void CEditorDlg::onResetPage() {
    changePage("Page Reset", [this] {
        motionPage.reset();
        refreshPageControls();
    });
}

void CEditorDlg::repaintStepTable() {
    stepTable->showPageChange();
}

void CEditorDlg::onPcSave() {
    motionPage.saveToFile(files, &kestrova::flushToDisk);
}

void CEditorDlg::onPcLoad() {
    changePage("To PC Load", [this] {
        if (motionPage.loadFromFile(files) != 0) {
            refreshPageControls();
        }
    });
}
