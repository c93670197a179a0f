// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "src/model/page_record.h"

namespace kestrova {

// Undo and redo of whole pages: every change is kept as the page before it, with a label
// that names it ("Set Step"). Holds at most `limit` changes; the oldest go first.
class PageHistory {
  public:
    static constexpr std::size_t kDefaultLimit = 100;

    // Keystrokes: consecutive changes of this kind with the same label make one change, until
    // endMerge(), an undo, a redo or another change comes between them.
    enum class Merge { No, Keystrokes };

    explicit PageHistory(std::size_t limit = kDefaultLimit) : limit(limit) {}

    // The page went from `before` to `after`. Nothing is kept when they are equal; otherwise
    // whatever could be redone is gone.
    void record(const PageRecord& before, const PageRecord& after, std::string_view label,
                Merge merge = Merge::No);
    void endMerge() { mergeOpen = false; }

    // The page to show instead of `current`, which becomes the change's other side; nullopt
    // when there is nothing to undo or redo.
    std::optional<PageRecord> undo(const PageRecord& current);
    std::optional<PageRecord> redo(const PageRecord& current);

    // The label of what undo() or redo() would reverse; empty when nothing.
    std::string_view undoLabel() const;
    std::string_view redoLabel() const;

  private:
    struct Change {
        PageRecord page;  // the page on the other side of the change
        std::string label;
    };
    static std::optional<PageRecord> move(std::deque<Change>& from, std::deque<Change>& to,
                                          const PageRecord& current);

    std::size_t limit;
    std::deque<Change> undoable;  // latest at the back
    std::deque<Change> redoable;  // next to redo at the back
    bool mergeOpen = false;
};

}  // namespace kestrova
