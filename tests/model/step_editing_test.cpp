// SPDX-License-Identifier: MIT
// The undo history's bound and merging, and the edges of insert and paste. Copy, paste,
// insert, delete and typed values otherwise run through the session's own tests.
#include <gtest/gtest.h>

#include "src/model/page_history.h"
#include "src/model/step_clipboard.h"
#include "src/model/step_edits.h"

using namespace kestrova;

namespace {

PageRecord named(char c) {
    PageRecord page = defaultPageRecord();
    page.pageName = {static_cast<std::uint8_t>(c)};
    return page;
}

// Moves its page through the changes given, undos and redos.
struct HistoryRun {
    PageHistory history{3};
    PageRecord page = named('0');
    void change(char to, PageHistory::Merge merge = PageHistory::Merge::No) {
        history.record(page, named(to), merge == PageHistory::Merge::No ? "Step" : "Name", merge);
        page = named(to);
    }
    bool move(bool undo) {
        const auto shown = undo ? history.undo(page) : history.redo(page);
        page = shown.value_or(page);
        return shown.has_value();
    }
};

}  // namespace

TEST(PageHistory, KeepsTheLatestChangesAndMergesOnlyConsecutiveKeystrokes) {
    constexpr auto keys = PageHistory::Merge::Keystrokes;
    constexpr bool undo = true, redo = false;
    HistoryRun run;
    run.change('0');  // no change: nothing to undo
    EXPECT_EQ(run.history.undoLabel(), "");
    for (char c : {'a', 'b', 'c', 'd'}) {
        run.change(c);
    }
    for (bool kept : {true, true, true, false}) {
        EXPECT_EQ(run.move(undo), kept) << "three kept, the oldest dropped";
    }
    EXPECT_EQ(std::pair(run.page, run.history.redoLabel()),
              std::pair(named('a'), std::string_view("Step")));
    EXPECT_TRUE(run.move(redo));
    run.change('x', keys);
    EXPECT_FALSE(run.move(redo)) << "a new change drops what could be redone";
    run.change('y', keys);
    run.history.endMerge();
    run.change('z', keys);
    run.change('w', keys);
    EXPECT_EQ(run.history.undoLabel(), "Name");
    EXPECT_TRUE(run.move(undo));
    EXPECT_EQ(run.page, named('y'));
    run.change('k', keys);  // after an undo keystrokes start a change of their own
    EXPECT_TRUE(run.move(undo));
    run.change('m', keys);
    run.change('y', keys);  // and keystrokes back where they began leave nothing to undo
    EXPECT_TRUE(run.move(undo));
    EXPECT_EQ(run.page, named('b'));
}

// A step inserted at Enable Step is enabled as before; a whole page, eight lines, pastes (the
// window refuses nine).
TEST(StepEdits, InsertAtEnableStepMovesItOnAndEightLinesPaste) {
    EXPECT_EQ(insertStep(defaultPageRecord(), 0).enableStep, 1) << "step 0 was enabled";
    const std::string line = "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24\n";
    EXPECT_NE(parseStepLines(line + line + line + line + line + line + line + line), std::nullopt);
}
