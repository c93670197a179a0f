// SPDX-License-Identifier: MIT
// Set Step refuses unset fields; Position Lock holds the motor panels.
#include <QCheckBox>
#include <QLabel>

#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

// Filled fields are stored as before (the panels' and Edit menu's tests).
TEST_F(EditorTest, SetStepStoresNothingWhileAStepFieldIsUnset) {
    const PageRecord start = motionPage.getRecord();
    dlg->writeUnsigned(id::kMotorEdit0 + 2, 30);  // the other 23 fields are still empty
    click(id::kSetStep);
    click(id::kGetStep);
    dlg->writeText(id::kRateEdit, QString());
    click(id::kSetStep);
    EXPECT_EQ(motionPage.getRecord(), start);
}

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
