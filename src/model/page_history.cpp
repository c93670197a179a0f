// SPDX-License-Identifier: MIT
#include "src/model/page_history.h"

namespace kestrova {

void PageHistory::record(const PageRecord& before, const PageRecord& after, std::string_view label,
                         Merge merge) {
    if (before == after) {
        return;
    }
    redoable.clear();
    const bool joins = merge == Merge::Keystrokes && mergeOpen && !undoable.empty() &&
                       undoable.back().label == label;
    mergeOpen = merge == Merge::Keystrokes;
    if (joins) {
        // Keystrokes that end where they began leave no change to undo.
        if (undoable.back().page == after) {
            undoable.pop_back();
            mergeOpen = false;
        }
        return;
    }
    undoable.push_back({before, std::string(label)});
    while (undoable.size() > limit) {
        undoable.pop_front();
    }
}

std::optional<PageRecord> PageHistory::move(std::deque<Change>& from, std::deque<Change>& to,
                                            const PageRecord& current) {
    if (from.empty()) {
        return std::nullopt;
    }
    Change change = std::move(from.back());
    from.pop_back();
    const PageRecord shown = change.page;
    change.page = current;
    to.push_back(std::move(change));
    return shown;
}

std::optional<PageRecord> PageHistory::undo(const PageRecord& current) {
    auto shown = move(undoable, redoable, current);
    mergeOpen = mergeOpen && !shown;
    return shown;
}

std::optional<PageRecord> PageHistory::redo(const PageRecord& current) {
    auto shown = move(redoable, undoable, current);
    mergeOpen = mergeOpen && !shown;
    return shown;
}

std::string_view PageHistory::undoLabel() const {
    return undoable.empty() ? std::string_view{} : undoable.back().label;
}

std::string_view PageHistory::redoLabel() const {
    return redoable.empty() ? std::string_view{} : redoable.back().label;
}

}  // namespace kestrova
