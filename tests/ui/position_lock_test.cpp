// SPDX-License-Identifier: MIT
// Position Lock holds the motor panels.
#include <QCheckBox>
#include <QLabel>

#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

// Unticked, the panels drag as before (the panels' own test).
TEST_F(EditorTest, PositionLockKeepsThePanelsWhereTheyAre) {
    const QLabel* label = dlg->motorPanel(6)->labelControl();
    const QPoint grip = label->mapTo(dlg.get(), label->rect().center());
    const QPoint start = dlg->motorPanel(6)->pos();
    click(id::kPositionLock);
    QTest::mousePress(dlg->windowHandle(), Qt::LeftButton, {}, grip);
    QTest::mouseMove(dlg->windowHandle(), grip + QPoint(20, 10));
    QTest::mouseRelease(dlg->windowHandle(), Qt::LeftButton, {}, grip + QPoint(20, 10));
    EXPECT_EQ(dlg->motorPanel(6)->pos(), start);
}

}  // namespace
}  // namespace kestrova::test
