// SPDX-License-Identifier: MIT
// The page, its history, STEP and the step draft.
#include "src/app/editor_session.h"

#include <algorithm>

#include "src/app/scoped_count.h"
#include "src/model/step_clipboard.h"
#include "src/model/step_edits.h"
#include "src/platform/file_flush.h"

namespace kestrova {

namespace {

// The name as the Page Name edit shows and stores it: the bytes after the first NUL are gone.
PageRecord withNameAsShown(PageRecord page) {
    const auto end = std::find(page.pageName.begin(), page.pageName.end(), 0);
    std::fill(end, page.pageName.end(), 0);
    return page;
}

}  // namespace

EditorSession::EditorSession(ClockSource clock, QObject* parent)
    : QObject(parent), clock(std::move(clock)) {
    comm.setOwnerWindow(this);
}

EditorSession::~EditorSession() = default;

void EditorSession::setStep(int step) {
    if (step != currentStep) {
        currentStep = step;
        emit stepChanged(step);
    }
}

void EditorSession::recordChange(std::string_view label, const std::function<void()>& change,
                                 PageHistory::Merge merge) {
    const PageRecord before = motionPage.getRecord();
    change();
    history.record(before, motionPage.getRecord(), label, merge);
    emit pageChanged();
    emit historyChanged();
}

void EditorSession::changePage(std::string_view label,
                               const std::function<PageRecord(const PageRecord&)>& edit) {
    recordChange(label, [&] { motionPage.setRecord(edit(motionPage.getRecord())); });
}

void EditorSession::showLoaded() {
    motionPage.setRecord(withNameAsShown(motionPage.getRecord()));
    setStep(0);
}

void EditorSession::onPageNameChange(const PageName& name) {
    recordChange(
        "Page Name", [&] { motionPage.setPageName(name); }, PageHistory::Merge::Keystrokes);
}

void EditorSession::onPageNumChange(std::uint8_t value) {
    recordChange("Page Num", [&] { motionPage.setPageNum(value); });
}

void EditorSession::onEnableStepChange(std::uint8_t value) {
    recordChange("Enable Step", [&] { motionPage.setEnableStep(value); });
}

void EditorSession::onNextPageChange(std::uint8_t value) {
    recordChange("Next Page", [&] { motionPage.setNextPage(value); });
}

void EditorSession::onRepeatChange(std::uint8_t value) {
    recordChange("Repeat", [&] { motionPage.setRepeat(value); });
}

void EditorSession::onResetPage() {
    recordChange("Page Reset", [this] {
        motionPage.reset();
        showLoaded();
    });
}

void EditorSession::setDraftValue(std::size_t index, int value) {
    stepDraft.at(index) = robot && index < kMotorCount ? robot->clamped(index, value) : value;
    if (index < kMotorCount) {
        sendLivePositions();  // the robot hears the new positions before the views show them
    }
    emit draftChanged(static_cast<int>(index));
}

void EditorSession::onGetStep() {
    const auto step = static_cast<unsigned>(currentStep);
    StepPositions positions{};
    motionPage.getStepPositions(step, positions);
    {
        // One packet follows the bulk write, none during it.
        const ScopedCount bulk(liveBusy);
        for (std::size_t k = 0; k < positions.size(); ++k) {
            setDraftValue(k, positions[k]);
        }
    }
    setDraftValue(kAccIndex, motionPage.getAcc(step));
    setDraftValue(kRateIndex, motionPage.getRate(step));
    sendLivePositions();
}

void EditorSession::onSetStep() {
    if (std::ranges::any_of(stepDraft, [](const std::optional<int>& v) { return !v; })) {
        emit refused();
        return;
    }
    const auto step = static_cast<unsigned>(currentStep);
    StepPositions positions{};
    for (std::size_t k = 0; k < positions.size(); ++k) {
        positions[k] = static_cast<std::uint8_t>(draftNumber(stepDraft[k]));
    }
    recordChange("Set Step", [&] {
        motionPage.setStepPositions(step, positions);
        motionPage.setAcc(step, static_cast<std::uint8_t>(draftNumber(stepDraft[kAccIndex])));
        motionPage.setRate(step, static_cast<std::uint8_t>(draftNumber(stepDraft[kRateIndex])));
    });
    sendLivePositions();
}

void EditorSession::onResetStep() {
    const StepPositions fresh = freshPositions();
    {
        const ScopedCount bulk(liveBusy);
        for (std::size_t k = 0; k < kMotorCount; ++k) {
            setDraftValue(k, fresh[k]);
        }
    }
    setDraftValue(kAccIndex, kDefaultAcc);
    setDraftValue(kRateIndex, kDefaultRate);
    sendLivePositions();
}

void EditorSession::showFromHistory(const std::optional<PageRecord>& page) {
    if (!page) {
        return;
    }
    motionPage.setRecord(withNameAsShown(*page));
    emit pageChanged();
    emit historyChanged();
}

void EditorSession::onUndo() {
    showFromHistory(history.undo(motionPage.getRecord()));
}

void EditorSession::onRedo() {
    showFromHistory(history.redo(motionPage.getRecord()));
}

std::string EditorSession::copyStepText() const {
    return formatStepLine(readStepLine(page(), static_cast<std::size_t>(currentStep)));
}

void EditorSession::editSteps(
    std::string_view label, const std::function<PageRecord(const PageRecord&, std::size_t)>& edit) {
    const auto step = static_cast<std::size_t>(currentStep);
    changePage(label, [&](const PageRecord& page) { return edit(page, step); });
}

bool EditorSession::onPasteStep(std::string_view text) {
    const auto lines = parseStepLines(text);
    if (!lines) {
        return false;
    }
    for (const StepLine& line : *lines) {
        if (!allowedPositions(std::span(line).first<kMotorCount>())) {
            return true;  // the box said why; a beep would repeat it
        }
    }
    editSteps("Paste Step", [&](const PageRecord& page, std::size_t step) {
        return pasteSteps(page, step, *lines);
    });
    return true;
}

void EditorSession::onInsertStep() {
    editSteps("Insert Step", insertStep);
}

void EditorSession::onDeleteStep() {
    editSteps("Delete Step", [this](const PageRecord& page, std::size_t step) {
        PageRecord edited = deleteStep(page, step);
        if (step < kStepCount && robot) {
            const StepPositions home = robot->homePose();
            std::ranges::copy(home, edited.position.begin() + (kStepCount - 1) * kMotorCount);
        }
        return edited;
    });
}

void EditorSession::onTableValueTyped(int step, int row, std::uint8_t value) {
    if (robot && row < static_cast<int>(kMotorCount)) {
        // Only the typed value is judged: the home pose keeps every other motor within limits.
        StepPositions judged = robot->homePose();
        judged[static_cast<std::size_t>(row)] = value;
        if (!allowedPositions(judged)) {
            return;
        }
    }
    changePage("Typed Value", [&](const PageRecord& page) {
        return setStepValue(page, static_cast<std::size_t>(step), static_cast<std::size_t>(row),
                            value);
    });
}

void EditorSession::onPcSave(const std::filesystem::path& path) {
    if (motionPage.saveToFile(path, &flushToDisk) == 0) {
        emit message(
            {QStringLiteral("can't save file!"), QStringLiteral("error"), MessageIcon::None, true});
    }
}

void EditorSession::onPcLoad(const std::filesystem::path& path) {
    bool loaded = false;
    recordChange("To PC Load", [&] {
        loaded = motionPage.loadFromFile(path) != 0;
        if (loaded) {
            showLoaded();
        }
    });
    if (!loaded) {
        emit message(
            {QStringLiteral("can't load file!"), QStringLiteral("error"), MessageIcon::None, true});
    }
}

}  // namespace kestrova
