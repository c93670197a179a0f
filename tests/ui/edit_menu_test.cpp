// SPDX-License-Identifier: MIT
// The Edit menu and the step table's editor, driven by their shortcuts, the mouse and the
// keyboard: undo and redo of every kind of page change, steps through the clipboard, insert
// and delete with their effect on Enable Step, values typed into the table.
#include <QAction>
#include <QClipboard>
#include <numeric>
#include <random>

#include "src/model/step_clipboard.h"
#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

class EditMenuTest : public PtyEditorTest {
  protected:
    void SetUp() override {
        PtyEditorTest::SetUp();
        connect();
        dlg->activateWindow();  // shortcuts reach the active window only
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        dlg->control(id::kStepCombo)->setFocus();
    }
    QAction* item(int command) const {
        return dlg->findChild<QAction*>(QStringLiteral("command%1").arg(command));
    }
    // The keys, pressed `times` times where the focus is.
    void press(const char* keys, int times = 1) const {
        for (int n = 0; n < times; ++n) {
            QTest::keySequence(QApplication::focusWidget(),
                               QKeySequence(QString::fromLatin1(keys)));
        }
    }
    // Double-clicks the cell of `step` and `row` (as in a StepLine); the editor it opens.
    QLineEdit* openCell(int step, int row) const {
        CStepTableView& table = *dlg->stepTableView();
        const auto layout = StepTableLayout::forClient(table.contentsRect().size());
        const QPoint at = layout.cellRect({step, row}).center() + table.contentsRect().topLeft();
        QTest::mouseDClick(&table, Qt::LeftButton, {}, at);
        return table.cellEditor();
    }
    // The step's 22 positions, ACC and Rate, read from the record's own fields.
    static std::vector<int> stepOf(const PageRecord& page, std::size_t step) {
        const auto row = page.position.begin() + static_cast<std::ptrdiff_t>(step * kMotorCount);
        std::vector<int> values(row, row + kMotorCount);
        values.insert(values.end(), {page.acc[step], page.rate[step]});
        return values;
    }
    // Step s, motor m at 22 s + m, ACC s, Rate 100 + s; steps 0 to `enable` enabled.
    void showDistinctPage(std::uint8_t enable) const {
        PageRecord page = defaultPageRecord();
        std::iota(page.position.begin(), page.position.end(), 0);
        std::iota(page.acc.begin(), page.acc.end(), 0);
        std::iota(page.rate.begin(), page.rate.end(), 100);
        page.enableStep = enable;
        motionPage.setRecord(page);
        dlg->refreshPageControls();
    }
    void chooseStep(int step) {
        choose(id::kStepCombo, step);
        dlg->control(id::kStepCombo)->setFocus();
    }
};

TEST_F(EditMenuTest, EditSitsBetweenFileAndCommunityAndThePageNameKeepsItsOwnKeys) {
    QStringList items;  // the menus, and the Edit menu's items with their keys
    for (QAction* popup : dlg->menuBar()->actions()) {
        items << popup->text();
        for (QAction* action :
             popup->text() == "&Edit" ? popup->menu()->actions() : QList<QAction*>{}) {
            items << action->text() + "|" + QKeySequence::listToString(action->shortcuts());
        }
    }
    EXPECT_EQ(items,
              QStringList({"&File", "&Edit", "&Undo|Ctrl+Z", "&Redo|Ctrl+Y; Ctrl+Shift+Z", "|",
                           "&Copy Step|Ctrl+C", "&Paste Step|Ctrl+V", "&Insert Step|Ctrl+Shift+I",
                           "&Delete Step|Ctrl+Shift+D", "&Community"}));
    EXPECT_FALSE(item(id::kEditUndo)->isEnabled() || item(id::kEditRedo)->isEnabled());

    click(id::kGetStep);
    dlg->writeUnsigned(id::kMotorEdit0, 7);
    click(id::kSetStep);
    EXPECT_EQ(item(id::kEditUndo)->text(), "&Undo Set Step");
    const PageRecord stepSet = motionPage.getRecord();
    // In a step field Ctrl+C copies the step, unless the field has a selection to copy.
    dlg->control(id::kAccEdit)->setFocus();
    press("Ctrl+C");
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("7\t100\t100\t"));
    widget<QLineEdit>(id::kAccEdit)->setText("42");
    widget<QLineEdit>(id::kAccEdit)->selectAll();
    press("Ctrl+C");
    EXPECT_EQ(QApplication::clipboard()->text(), "42");

    // Inside Page Name the keys copy, paste and undo text, never steps or page changes.
    auto* name = widget<QLineEdit>(id::kPageNameEdit);
    name->setFocus();
    name->selectAll();
    press("Ctrl+C");
    EXPECT_EQ(QApplication::clipboard()->text(), "Noname");
    QApplication::clipboard()->setText("Ab");
    press("Ctrl+V");
    EXPECT_EQ(name->text(), "Ab");
    press("Ctrl+Z");
    EXPECT_EQ(name->text(), "Noname");
    EXPECT_EQ(motionPage.getRecord(), stepSet);

    // Keystrokes make one change; leaving the edit ends it.
    name->selectAll();
    QTest::keyClicks(name, "Wave");
    dlg->control(id::kStepCombo)->setFocus();
    name->setFocus();
    QTest::keyClicks(name, "s");
    dlg->control(id::kStepCombo)->setFocus();
    EXPECT_EQ(item(id::kEditUndo)->text(), "&Undo Page Name");
    press("Ctrl+Z");
    EXPECT_EQ(name->text(), "Wave");
    press("Ctrl+Z");
    EXPECT_EQ(motionPage.getRecord(), stepSet);
}

// Every kind of change, chosen at random: as many undos bring back the first page byte for
// byte, as many redos the last. Neither sends anything while linked, nor touches STEP or the
// step fields.
TEST_F(EditMenuTest, RandomChangesUndoToTheFirstPageAndRedoToTheLast) {
    TempDir dir;
    std::mt19937 random(18);
    const auto pick = [&](int n) { return std::uniform_int_distribution(0, n - 1)(random); };
    const auto randomPage = [&] {
        PageRecord page = samplePage();
        page.position.at(pick(kPositionCount)) = pick(256);
        return page;
    };
    const std::vector<std::function<void()>> actions = {
        [&] {
            dlg->writeUnsigned(id::kMotorEdit0 + pick(kMotorCount), pick(201));
            dlg->writeUnsigned(id::kRateEdit, pick(201));
            chooseStep(pick(8));
            click(id::kSetStep);
        },
        [&] { click(id::kResetPage); },
        [&] {
            dlg->control(id::kPageNameEdit)->setFocus();
            QTest::keyClicks(dlg->control(id::kPageNameEdit), QString(QChar('a' + pick(26))));
            dlg->control(id::kStepCombo)->setFocus();
        },
        [&] {
            const int lists[] = {id::kPageNumCombo, id::kEnableStepCombo, id::kNextPageCombo,
                                 id::kRepeatCombo};
            choose(lists[pick(4)], pick(8));
            dlg->control(id::kStepCombo)->setFocus();
        },
        [&] {
            files.openPath = dir / "page.kpf";
            ASSERT_TRUE(writePageFile(*files.openPath, randomPage(), noFlush));
            click(id::kPcLoad);
        },
        [&] {
            const PageRecord page = randomPage();
            ASSERT_TRUE(pty.send(bytesOf(buildPagePacket(page, command::kPage))));
            ASSERT_TRUE(spinUntil([&] { return motionPage.getRecord() == page; }));
        },
        [&] {
            const std::string line = formatStepLine(readStepLine(randomPage(), 0)) + "\n";
            QApplication::clipboard()->setText(QString::fromStdString(line).repeated(pick(3) + 1));
            chooseStep(pick(8));
            press("Ctrl+V");
        },
        [&] {
            chooseStep(pick(8));
            press(pick(2) == 0 ? "Ctrl+Shift+I" : "Ctrl+Shift+D");
        },
        [&] {
            QLineEdit* editor = openCell(pick(8), pick(kStepLineSize));
            QTest::keyClicks(editor, QString::number(pick(51)));
            QTest::keyClick(editor, Qt::Key_Return);
        },
    };
    const PageRecord first = motionPage.getRecord();
    constexpr int kActions = 40;
    for (int n = 0; n < kActions; ++n) {
        actions.at(pick(actions.size()))();
    }
    const PageRecord last = motionPage.getRecord();
    ASSERT_NE(last, first);

    click(id::kLinkToTarget);
    click(id::kGetStep);  // every motor field filled: a field change would now go out
    dlg->writeUnsigned(id::kAccEdit, 3);
    chooseStep(5);
    const auto fields = {id::kMotorEdit0 + 21, id::kAccEdit, id::kRateEdit, id::kStepCombo};
    const QStringList before = readTexts(fields);
    drain();
    for (const char* keys : {"Ctrl+Z", "Ctrl+Y"}) {
        press(keys, kActions);
        EXPECT_EQ(toBytes(motionPage.getRecord()), toBytes(keys[5] == 'Z' ? first : last));
    }
    EXPECT_EQ(readTexts(fields), before);
    EXPECT_TRUE(drain().empty()) << "undo and redo send nothing";
    EXPECT_FALSE(item(id::kEditRedo)->isEnabled());
}

// Copy gives one tab-separated line; paste takes one to eight lines from STEP on, never past
// step 7; anything else changes nothing.
TEST_F(EditMenuTest, CopyGivesATabLineAndPasteTakesWellFormedLinesOnly) {
    showDistinctPage(2);
    chooseStep(3);
    press("Ctrl+C");
    const QString step3 = QApplication::clipboard()->text();
    EXPECT_EQ(step3,
              "66\t67\t68\t69\t70\t71\t72\t73\t74\t75\t76\t77\t78\t79\t80\t81\t82\t83\t84\t85\t86\t"
              "87\t3\t103");
    const PageRecord shown = motionPage.getRecord();
    const QString commas = QString(step3).replace('\t', ", ");
    const QString spaced = " " + QString(step3).replace('\t', "  ") + " ";
    const QString malformed[] = {"hello",
                                 step3 + "\t1",
                                 step3.section('\t', 1),
                                 QString(step3).replace('\t', ",,"),
                                 "256" + step3.mid(2),
                                 "99999999999999999999" + step3.mid(2),
                                 (step3 + "\n").repeated(9)};
    for (const QString& text : malformed) {
        QApplication::clipboard()->setText(text);
        press("Ctrl+V");
        EXPECT_EQ(motionPage.getRecord(), shown) << text.toStdString();
    }
    EXPECT_FALSE(item(id::kEditUndo)->isEnabled());

    chooseStep(0);
    QApplication::clipboard()->setText(commas + "\r\n" + spaced + "\n\n");
    press("Ctrl+V");
    chooseStep(6);
    QApplication::clipboard()->setText(step3 + "\n" + commas + "\n" + step3);
    press("Ctrl+V");
    const PageRecord pasted = motionPage.getRecord();
    for (std::size_t s = 0; s < kStepCount; ++s) {
        const bool replaced = s <= 1 || s >= 6;
        EXPECT_EQ(stepOf(pasted, s), stepOf(shown, replaced ? 3 : s)) << "step " << s;
    }
    EXPECT_EQ(item(id::kEditUndo)->text(), "&Undo Paste Step");
    press("Ctrl+Z", 2);
    EXPECT_EQ(motionPage.getRecord(), shown);
}

// Insert duplicates the step at STEP and drops step 7; delete removes it and appends the
// default step. Enable Step follows a step at or after STEP within 0..7.
TEST_F(EditMenuTest, InsertAndDeleteShiftTheStepsAndEnableStep) {
    constexpr int kDefault = -1;
    std::vector<int> fresh(kMotorCount, 100);  // the default step
    fresh.insert(fresh.end(), {50, 50});
    // Keys, STEP, Enable Step before and after, the old step each step holds afterwards.
    const std::tuple<const char*, int, std::uint8_t, std::uint8_t, std::array<int, kStepCount>>
        cases[] = {
            {"Ctrl+Shift+I", 0, 2, 3, {0, 0, 1, 2, 3, 4, 5, 6}},
            {"Ctrl+Shift+I", 3, 2, 2, {0, 1, 2, 3, 3, 4, 5, 6}},
            {"Ctrl+Shift+I", 3, 7, 7, {0, 1, 2, 3, 3, 4, 5, 6}},
            {"Ctrl+Shift+I", 3, 9, 9, {0, 1, 2, 3, 3, 4, 5, 6}},
            {"Ctrl+Shift+I", 7, 6, 6, {0, 1, 2, 3, 4, 5, 6, 7}},
            {"Ctrl+Shift+D", 0, 0, 0, {1, 2, 3, 4, 5, 6, 7, kDefault}},
            {"Ctrl+Shift+D", 0, 2, 1, {1, 2, 3, 4, 5, 6, 7, kDefault}},
            {"Ctrl+Shift+D", 5, 3, 3, {0, 1, 2, 3, 4, 6, 7, kDefault}},
            {"Ctrl+Shift+D", 5, 9, 9, {0, 1, 2, 3, 4, 6, 7, kDefault}},
            {"Ctrl+Shift+D", 7, 7, 6, {0, 1, 2, 3, 4, 5, 6, kDefault}},
        };
    for (const auto& [keys, step, enableBefore, enableAfter, from] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << keys << " at " << step << ", enable " << +enableBefore);
        showDistinctPage(enableBefore);
        const PageRecord before = motionPage.getRecord();
        chooseStep(step);
        press(keys);
        const PageRecord after = motionPage.getRecord();
        for (std::size_t s = 0; s < kStepCount; ++s) {
            EXPECT_EQ(stepOf(after, s), from[s] == kDefault ? fresh : stepOf(before, from[s]))
                << "step " << s;
        }
        EXPECT_EQ(after.enableStep, enableAfter);
        EXPECT_EQ(dlg->selectedIndex(id::kEnableStepCombo), enableAfter <= 7 ? enableAfter : -1);
        EXPECT_EQ(dlg->selectedIndex(id::kStepCombo), step);
        press("Ctrl+Z");
        EXPECT_EQ(motionPage.getRecord(), before);
    }
}

// A double-click opens an editor over the value, selected; Enter stores a number in the row's
// range, anything else is refused with the editor left open; Escape stores nothing. Closed,
// the table looks as before.
TEST_F(EditMenuTest, ATypedValueLandsInItsCellWithinTheRangeOfItsRow) {
    showDistinctPage(2);
    const QImage untouched = renderedTable();
    // Step, row, the text typed and the value stored (-1: refused).
    const std::tuple<int, int, const char*, int> cases[] = {
        {3, 5, "150", 150}, {0, 22, "50", 50}, {7, 23, "200", 200},
        {6, 0, "0", 0},     {2, 22, "51", -1}, {4, 0, "201", -1},
        {1, 23, "abc", -1}, {1, 1, "", -1},    {5, 2, "-1", -1},
    };
    for (const auto& [step, row, typed, stored] : cases) {
        SCOPED_TRACE(std::to_string(step) + "/" + std::to_string(row) + ": " + typed);
        const PageRecord before = motionPage.getRecord();
        std::vector<int> expected = stepOf(before, step);
        int& cell = expected[row];
        QLineEdit* editor = openCell(step, row);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->selectedText(), QString::number(cell));
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        cell = stored < 0 ? cell : stored;
        EXPECT_EQ(stepOf(motionPage.getRecord(), step), expected);
        EXPECT_EQ(dlg->stepTableView()->cellEditor() != nullptr, stored < 0);
        if (stored < 0) {
            QTest::keyClick(editor, Qt::Key_Escape);
            EXPECT_EQ(dlg->stepTableView()->cellEditor(), nullptr);
            EXPECT_EQ(motionPage.getRecord(), before);
        }
    }
    EXPECT_EQ(item(id::kEditUndo)->text(), "&Undo Typed Value");
    press("Ctrl+Z", 4);
    EXPECT_FALSE(item(id::kEditUndo)->isEnabled());
    QApplication::processEvents();
    EXPECT_EQ(renderedTable(), untouched);
}

}  // namespace
}  // namespace kestrova::test
