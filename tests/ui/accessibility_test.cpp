// SPDX-License-Identifier: MIT
// What a screen reader and a keyboard reach: the controls' names, the step table as a table,
// typing into its cells, the File menu's page-file keys and the slider's value tip.
#include <QAccessible>
#include <QSlider>
#include <QToolTip>
#include <set>

#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

// The names a listener hears of the shown controls it can act on, depth first; some
// platforms name a list by the label it is the buddy of.
void collectNames(QAccessibleInterface* node, QStringList& names) {
    static const std::set<QAccessible::Role> kActive{
        QAccessible::PushButton,   QAccessible::CheckBox, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::Slider,   QAccessible::Table};
    const auto labels = node->relations(QAccessible::Label);
    const bool byLabel = node->role() == QAccessible::ComboBox && !labels.isEmpty();
    if (!node->state().invisible && kActive.contains(node->role())) {
        names << (byLabel ? labels.front().first : node)->text(QAccessible::Name);
    }
    for (int i = 0; node->role() != QAccessible::Table && i < node->childCount(); ++i) {
        collectNames(node->child(i), names);
    }
}

TEST_F(EditorTest, EveryControlHasItsOwnNameAndTheTableReadsCellByCell) {
    QStringList names;
    collectNames(QAccessible::queryAccessibleInterface(dlg.get()), names);
    const std::set<QString> unique(names.begin(), names.end());
    // 24 step fields, 22 sliders, 5 lists, Page Name, 9 buttons, 2 check boxes, the table.
    EXPECT_EQ(std::pair(names.size(), unique.size()), std::pair(qsizetype{64}, std::size_t{64}));
    EXPECT_FALSE(unique.contains(QString()));
    for (const char* name : {"M5(PB4) position", "M5(PB4)", "ACC", "Rate", "STEP", "Next Page",
                             "Save to target", "Load from PC", "Reset step", "Reset page"}) {
        EXPECT_TRUE(unique.contains(name)) << name;
    }

    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(dlg->stepTableView())->tableInterface();
    ASSERT_EQ(std::pair(table->rowCount(), table->columnCount()), std::pair(24, 8));
    QStringList heads;
    for (int row = 0; row < 24; ++row) {
        heads << table->rowDescription(row);
        for (int step = 0; step < 8; ++step) {  // the default page
            EXPECT_EQ(table->cellAt(row, step)->text(QAccessible::Name), row < 22 ? "100" : "50");
        }
    }
    heads << table->columnDescription(0) << table->columnDescription(7);
    EXPECT_EQ(heads.mid(20) << heads.first(),
              QStringList({"M21", "M22", "ACC", "Rate", "Step 0", "Step 7", "M1"}));
    dlg->session().onTableValueTyped(6, 23, 17);  // Rate of step 6
    EXPECT_EQ(table->cellAt(23, 6)->text(QAccessible::Name), "17");
}

TEST_F(EditorTest, TheKeyboardTypesIntoAnyCellAndReachesThePageFiles) {
    dlg->activateWindow();  // shortcuts reach the active window only
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    dlg->control(id::kRateEdit)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    CStepTableView* table = dlg->stepTableView();
    ASSERT_EQ(QApplication::focusWidget(), table);
    // Up and Left stop at the edge; then three down, two right: motor M4 of step 2.
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                              Qt::Key_Right, Qt::Key_Right, Qt::Key_7}) {
        QTest::keyClick(table, key);
    }
    QTest::keyClicks(table->cellEditor(), "3\r");
    EXPECT_EQ(page().position[2 * 22 + 3], 73);
    for (const Qt::Key key : {Qt::Key_F2, Qt::Key_Return}) {  // the cell as it is
        QTest::keyClick(table, key);
        ASSERT_NE(table->cellEditor(), nullptr);
        EXPECT_EQ(table->cellEditor()->selectedText(), "73");
        QTest::keyClick(table->cellEditor(), Qt::Key_Escape);
        EXPECT_EQ(QApplication::focusWidget(), table);
    }

    TempDir dir;
    files.savePath = files.openPath = dir / "keys.kpf";
    QTest::keySequence(table, QKeySequence(QStringLiteral("Ctrl+S")));
    dlg->session().onResetPage();
    QTest::keySequence(table, QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(page().position[2 * 22 + 3], 73);
}

TEST_F(EditorTest, ASliderShowsItsValueWhileItIsMoved) {
    QSlider* slider = dlg->motorPanel(4)->trackbarControl();
    QTest::mouseClick(slider, Qt::LeftButton, {},
                      QPoint(slider->width() - 2, slider->height() / 2));
    ASSERT_TRUE(spinUntil([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), dlg->readText(id::kMotorEdit0 + 4));
}

}  // namespace
}  // namespace kestrova::test
