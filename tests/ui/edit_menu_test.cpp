// SPDX-License-Identifier: MIT
// The Edit menu and the step table's editor, driven by their shortcuts, the mouse and the
// keyboard. What the commands do to the page is the session's tests'.
#include <QAction>
#include <QClipboard>
#include <QListWidget>
#include <numeric>

#include "src/ui/curves_plot.h"
#include "src/ui/curves_window.h"
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
    void showDistinctPage(std::uint8_t enable) { load(distinctPage(enable)); }
    void chooseStep(int step) {
        choose(id::kStepCombo, step);
        dlg->control(id::kStepCombo)->setFocus();
    }
};

TEST_F(EditMenuTest, EditSitsBetweenFileAndCommunityAndThePageNameKeepsItsOwnKeys) {
    QStringList items;  // the menus, and the Edit and View menus' items with their keys
    for (QAction* popup : dlg->menuBar()->actions()) {
        items << popup->text();
        for (QAction* action : popup->text() == "&Edit" || popup->text() == "&View"
                                   ? popup->menu()->actions()
                                   : QList<QAction*>{}) {
            items << action->text() + "|" + QKeySequence::listToString(action->shortcuts());
        }
    }
    EXPECT_EQ(items, QStringList({"&File", "&Edit", "&Undo|Ctrl+Z", "&Redo|Ctrl+Y; Ctrl+Shift+Z",
                                  "|", "&Copy Step|Ctrl+C", "&Paste Step|Ctrl+V",
                                  "&Insert Step|Ctrl+Shift+I", "&Delete Step|Ctrl+Shift+D", "|",
                                  "&Mirror Step|", "Copy &Left to Right|", "Copy &Right to Left|",
                                  "&View", "&Curves|Ctrl+Shift+G", "&Community", "&Robot"}));
    EXPECT_FALSE(item(id::kEditUndo)->isEnabled() || item(id::kEditRedo)->isEnabled());

    click(id::kGetStep);
    setField(id::kMotorEdit0, 7);
    click(id::kSetStep);
    EXPECT_EQ(item(id::kEditUndo)->text(), "&Undo Set Step");
    const PageRecord stepSet = page();
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
    EXPECT_EQ(page(), stepSet);

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
    EXPECT_EQ(page(), stepSet);
}

// The step keys reach the session at STEP; the window shows Enable Step as it follows.
TEST_F(EditMenuTest, StepKeysWorkAtStepAndShowEnableStep) {
    showDistinctPage(2);
    const PageRecord shown = page();
    chooseStep(3);
    press("Ctrl+C");
    EXPECT_EQ(QApplication::clipboard()->text().section('\t', 20), "86\t87\t3\t103");
    chooseStep(0);
    press("Ctrl+Shift+I");
    EXPECT_EQ(dlg->readText(id::kEnableStepCombo), "3");
    press("Ctrl+V");  // the copied step 3 into STEP
    EXPECT_EQ(page().position[0], 66);
    QApplication::clipboard()->setText("hello");
    press("Ctrl+V");
    press("Ctrl+Shift+D");
    EXPECT_EQ(std::pair(dlg->readText(id::kEnableStepCombo), item(id::kEditUndo)->text()),
              std::pair(QString("2"), QString("&Undo Delete Step")));
    press("Ctrl+Z", 3);
    EXPECT_EQ(page(), shown);
    EXPECT_EQ(item(id::kEditRedo)->text(), "&Redo Insert Step");
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
        const PageRecord before = page();
        std::vector<int> expected = stepOf(before, step);
        int& cell = expected[row];
        QLineEdit* editor = openCell(step, row);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->selectedText(), QString::number(cell));
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        cell = stored < 0 ? cell : stored;
        EXPECT_EQ(stepOf(page(), step), expected);
        EXPECT_EQ(dlg->stepTableView()->cellEditor() != nullptr, stored < 0);
        if (stored < 0) {
            QTest::keyClick(editor, Qt::Key_Escape);
            EXPECT_EQ(dlg->stepTableView()->cellEditor(), nullptr);
            EXPECT_EQ(page(), before);
        }
    }
    EXPECT_EQ(item(id::kEditUndo)->text(), "&Undo Typed Value");
    press("Ctrl+Z", 4);
    EXPECT_EQ(item(id::kEditUndo)->text(), "&Undo To PC Load");
    QApplication::processEvents();
    EXPECT_EQ(renderedTable(), untouched);
}

// View > Curves over a linked port: a drag is one undoable change of the session and sends
// nothing; a page undone shows in the curves at once; a column click chooses STEP. The plot is
// 500 x 440: step 3 at x 220, position v at y 10 + 2 (200 - v); of all the curves, M22's point
// is drawn last, on top.
TEST_F(EditMenuTest, CurvesEditThePageAsOneUndoStepAndSendNothing) {
    click(id::kLinkToTarget);
    click(id::kGetStep);  // every motor field set: a live packet could go out
    drain();
    press("Ctrl+Shift+G");
    CurvesWindow* curves = dlg->curvesWindow();
    ASSERT_NE(curves, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(curves));
    CurvesPlot& plot = *curves->plot();
    plot.setFixedSize(500, 440);
    QTest::mousePress(&plot, Qt::LeftButton, {}, {220, 210});  // M22 of step 3: 100
    QTest::mouseMove(&plot, {220, 170});
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, {220, 170});
    EXPECT_EQ(page(), pageWith({{8 + 66 + 21, 120}}));
    EXPECT_EQ(item(id::kEditUndo)->text(), "&Undo Drag Point");

    curves->activateWindow();  // Ctrl+Z undoes from inside the curves too
    ASSERT_TRUE(QTest::qWaitForWindowActive(curves));
    QTest::keySequence(&plot, QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(page(), defaultPageRecord());
    EXPECT_EQ(plot.page(), defaultPageRecord());
    QTest::mouseClick(&plot, Qt::LeftButton, {}, {340, 400});
    EXPECT_EQ(dlg->selectedIndex(id::kStepCombo), 5);
    EXPECT_EQ(drain(), Bytes{});
}

}  // namespace
}  // namespace kestrova::test
