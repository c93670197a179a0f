// SPDX-License-Identifier: MIT
// Undo and redo of every kind of page change on the session, and the Edit menu's steps:
// the clipboard line, paste, insert and delete with their effect on Enable Step.
#include <numeric>
#include <random>
#include <sstream>

#include "src/model/step_clipboard.h"
#include "tests/app/session_fixture.h"

namespace kestrova::test {
namespace {

// Every kind of change, chosen at random: as many undos bring back the first page byte for
// byte, as many redos the last. Neither sends anything while linked, nor touches STEP or the
// draft. A failure names the seed and the changes made.
TEST_F(SessionTest, RandomChangesUndoToTheFirstPageAndRedoToTheLast) {
    connect();
    constexpr unsigned kSeed = 18;
    std::mt19937 random(kSeed);
    const auto pick = [&](int n) { return std::uniform_int_distribution(0, n - 1)(random); };
    const auto randomPage = [&] {
        PageRecord page = samplePage();
        page.position.at(pick(kPositionCount)) = static_cast<std::uint8_t>(pick(256));
        return page;
    };
    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        {"Set Step",
         [&] {
             session.setDraftValue(pick(kMotorCount), pick(201));
             session.setStep(pick(8));
             session.onSetStep();
         }},
        {"Page Reset", [&] { session.onResetPage(); }},
        {"Page Name",
         [&] {
             session.onPageNameChange({std::uint8_t('a' + pick(26))});
             session.endNameTyping();
         }},
        {"Page Num", [&] { session.onPageNumChange(std::uint8_t(pick(20))); }},
        {"Enable Step", [&] { session.onEnableStepChange(std::uint8_t(pick(8))); }},
        {"Next Page", [&] { session.onNextPageChange(std::uint8_t(pick(20))); }},
        {"Repeat", [&] { session.onRepeatChange(std::uint8_t(pick(254) + 1)); }},
        {"To PC Load", [&] { load(randomPage()); }},
        {"Paste Step",
         [&] {
             session.setStep(pick(8));
             const std::string line = formatStepLine(readStepLine(randomPage(), 0)) + "\n";
             std::string lines;
             for (int n = pick(3); n >= 0; --n) {
                 lines += line;
             }
             ASSERT_TRUE(session.onPasteStep(lines));
         }},
        {"Insert Step", [&] { session.onInsertStep(); }},
        {"Delete Step", [&] { session.onDeleteStep(); }},
        {"Typed Value",
         [&] { session.onTableValueTyped(pick(8), pick(kStepLineSize), std::uint8_t(pick(51))); }},
    };
    const PageRecord first = session.page();
    std::ostringstream ran;
    constexpr int kActions = 40;
    for (int n = 0; n < kActions; ++n) {
        const auto& [name, action] = actions.at(pick(actions.size()));
        ran << name << ", ";
        action();
    }
    session.onTableValueTyped(0, 0, 1);  // whatever ran, the last page is not the first
    SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ": " << ran.str());
    const PageRecord last = session.page();
    ASSERT_NE(last, first);

    session.setLinkedToTarget(true);
    session.onResetStep();  // every motor field set: a draft change would now go out
    session.setStep(5);
    const StepDraft draft = session.draft();
    drain();
    for (int n = 0; n < kActions; ++n) {
        session.onUndo();
    }
    EXPECT_EQ(toBytes(session.page()), toBytes(first));
    EXPECT_EQ(session.undoLabel(), "");
    for (int n = 0; n < kActions; ++n) {
        session.onRedo();
    }
    EXPECT_EQ(toBytes(session.page()), toBytes(last));
    EXPECT_EQ(session.redoLabel(), "");
    EXPECT_EQ(std::pair(session.step(), session.draft()), std::pair(5, draft));
    EXPECT_TRUE(drain().empty()) << "undo and redo send nothing";
}

// Copy gives one tab-separated line; paste takes one to eight lines from STEP on, never past
// step 7; anything else changes nothing.
TEST_F(SessionTest, CopyGivesATabLineAndPasteTakesWellFormedLinesOnly) {
    load(distinctPage(2));
    session.setStep(3);
    const std::string step3 = session.copyStepText();
    EXPECT_EQ(step3,
              "66\t67\t68\t69\t70\t71\t72\t73\t74\t75\t76\t77\t78\t79\t80\t81\t82\t83\t84\t85\t86\t"
              "87\t3\t103");
    EXPECT_FALSE(session.onPasteStep("hello") || session.onPasteStep(step3 + "\t1"));
    EXPECT_EQ(session.page(), distinctPage(2));
    EXPECT_EQ(session.undoLabel(), "To PC Load");

    session.setStep(6);
    ASSERT_TRUE(session.onPasteStep(step3 + "\n" + step3 + "\n" + step3));
    for (std::size_t s = 0; s < kStepCount; ++s) {
        EXPECT_EQ(readStepLine(session.page(), s), readStepLine(distinctPage(2), s >= 6 ? 3 : s))
            << "step " << s;
    }
    EXPECT_EQ(session.undoLabel(), "Paste Step");
}

// Insert duplicates the step at STEP and drops step 7; delete removes it and appends the
// default step. Enable Step follows a step at or after STEP within 0..7. Each is one undo.
TEST_F(SessionTest, InsertAndDeleteShiftTheStepsAndEnableStep) {
    constexpr int kDefault = -1;
    StepLine fresh;  // the default step
    fresh.fill(100);
    fresh[kAccIndex] = fresh[kRateIndex] = 50;
    // Insert or delete, STEP, Enable Step before and after, the old step each step holds.
    const std::tuple<bool, int, std::uint8_t, std::uint8_t, std::array<int, kStepCount>> cases[] = {
        {true, 0, 2, 3, {0, 0, 1, 2, 3, 4, 5, 6}},
        {true, 3, 2, 2, {0, 1, 2, 3, 3, 4, 5, 6}},
        {true, 3, 7, 7, {0, 1, 2, 3, 3, 4, 5, 6}},
        {true, 3, 9, 9, {0, 1, 2, 3, 3, 4, 5, 6}},
        {true, 7, 6, 6, {0, 1, 2, 3, 4, 5, 6, 7}},
        {false, 0, 0, 0, {1, 2, 3, 4, 5, 6, 7, kDefault}},
        {false, 0, 2, 1, {1, 2, 3, 4, 5, 6, 7, kDefault}},
        {false, 5, 3, 3, {0, 1, 2, 3, 4, 6, 7, kDefault}},
        {false, 5, 9, 9, {0, 1, 2, 3, 4, 6, 7, kDefault}},
        {false, 7, 7, 6, {0, 1, 2, 3, 4, 5, 6, kDefault}},
    };
    for (const auto& [insert, step, enableBefore, enableAfter, from] : cases) {
        SCOPED_TRACE(::testing::Message() << (insert ? "insert" : "delete") << " at " << step
                                          << ", enable " << +enableBefore);
        const PageRecord before = distinctPage(enableBefore);
        load(before);
        session.setStep(step);
        insert ? session.onInsertStep() : session.onDeleteStep();
        for (std::size_t s = 0; s < kStepCount; ++s) {
            const StepLine expected = from[s] == kDefault
                                          ? fresh
                                          : readStepLine(before, static_cast<std::size_t>(from[s]));
            EXPECT_EQ(readStepLine(session.page(), s), expected) << "step " << s;
        }
        EXPECT_EQ(std::pair(session.page().enableStep, session.step()),
                  std::pair(enableAfter, step));
        if (session.page() != before) {  // inserting at step 7 changes nothing
            session.onUndo();
        }
        EXPECT_EQ(session.page(), before);
    }
}

}  // namespace
}  // namespace kestrova::test
