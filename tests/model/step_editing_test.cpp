// SPDX-License-Identifier: MIT
// The undo history's bound and merging. Copy, paste, insert, delete and typed values run
// through the window's own tests.
#include <gtest/gtest.h>

#include "src/model/page_history.h"

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
