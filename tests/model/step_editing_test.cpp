// SPDX-License-Identifier: MIT
// Steps as clipboard text and the undo history. Copy, insert, delete, paste and typed values
// run through the window's own tests.
#include <gtest/gtest.h>

#include <functional>

#include "src/model/page_history.h"
#include "src/model/step_clipboard.h"
#include "tests/support/sample_page.h"

using namespace kestrova;

namespace {

std::string numbers(int first, const char* separator, int count = 24) {
    std::string text = std::to_string(first);
    for (int i = 1; i < count; ++i) {
        text += separator + std::to_string((first + i) % 256);
    }
    return text;
}

}  // namespace

TEST(StepClipboard, ReadsOneToEightLinesOf24BytesAndRefusesAnythingElse) {
    const std::string tabs = numbers(0, "\t");
    const struct {
        std::string text;
        std::size_t lines;  // 0: refused
    } cases[] = {
        {tabs, 1},
        {tabs + "\r\n" + numbers(232, ", ") + "\n\n", 2},
        {"  " + numbers(0, "  ") + " ", 1},
        {numbers(0, " ,\t"), 0},  // two separators make an empty cell
        {numbers(0, ",,"), 0},
        {numbers(0, "\t", 23), 0},
        {numbers(0, "\t", 25), 0},
        {"256" + tabs.substr(1), 0},
        {"-1" + tabs.substr(1), 0},
        {"99999999999999999999" + tabs.substr(1), 0},
        {tabs + "\t", 0},
        {tabs + "\n\n" + tabs, 0},
        {"x" + tabs, 0},
        {"", 0},
        {"\n", 0},
    };
    for (const auto& [text, lines] : cases) {
        const auto parsed = parseStepLines(text);
        EXPECT_EQ(parsed ? parsed->size() : 0, lines) << text;
    }
    std::string eight;
    for (int i = 0; i < 8; ++i) {
        eight += numbers(i * 30, "\t") + "\n";
    }
    EXPECT_EQ(parseStepLines(eight)->at(7)[23], 233);
    EXPECT_FALSE(parseStepLines(eight + tabs));
}

namespace {

PageRecord named(char c) {
    PageRecord page = defaultPageRecord();
    page.pageName = {static_cast<std::uint8_t>(c)};
    return page;
}

// Applies each change in turn; returns the labels of what undo() brought back.
struct HistoryRun {
    PageHistory history{3};
    PageRecord page = named('0');
    void change(char to, std::string_view label,
                PageHistory::Merge merge = PageHistory::Merge::No) {
        history.record(page, named(to), label, merge);
        page = named(to);
    }
    bool undo() {
        const auto back = history.undo(page);
        page = back.value_or(page);
        return back.has_value();
    }
    bool redo() {
        const auto again = history.redo(page);
        page = again.value_or(page);
        return again.has_value();
    }
};

}  // namespace

TEST(PageHistory, KeepsTheLatestChangesAndMergesOnlyConsecutiveKeystrokes) {
    constexpr auto keys = PageHistory::Merge::Keystrokes;
    HistoryRun run;
    run.change('0', "Same");  // no change: nothing to undo
    EXPECT_EQ(run.history.undoLabel(), "");
    for (char c : {'a', 'b', 'c', 'd'}) {
        run.change(c, "Step");
    }
    EXPECT_EQ(std::pair(run.undo(), run.undo()), std::pair(true, true));
    EXPECT_EQ(run.page, named('b'));
    EXPECT_EQ(run.history.redoLabel(), "Step");
    EXPECT_TRUE(run.undo());
    EXPECT_FALSE(run.undo()) << "three kept, the oldest dropped";
    EXPECT_EQ(run.page, named('a'));
    EXPECT_TRUE(run.redo());
    run.change('x', "Name", keys);
    EXPECT_FALSE(run.redo()) << "a new change drops what could be redone";
    run.change('y', "Name", keys);
    run.change('z', "Name", keys);
    EXPECT_EQ(run.history.undoLabel(), "Name");
    EXPECT_TRUE(run.undo());
    EXPECT_EQ(run.page, named('b'));
    EXPECT_TRUE(run.redo());
    EXPECT_EQ(run.page, named('z'));

    // After a redo, an endMerge() or another change, keystrokes start a change of their own.
    for (const auto& breaker : std::vector<std::function<void()>>{
             [&] { run.history.endMerge(); }, [&] { run.change('s', "Step"); }}) {
        run.change('k', "Name", keys);
        breaker();
        run.change('l', "Name", keys);
        EXPECT_TRUE(run.undo());
        EXPECT_NE(run.page, named('l'));
        EXPECT_TRUE(run.redo());
    }
    // Keystrokes that come back to where they began leave nothing to undo.
    HistoryRun back;
    back.change('a', "Name", keys);
    back.change('0', "Name", keys);
    EXPECT_FALSE(back.undo());
    EXPECT_EQ(back.history.undoLabel(), "");
}
