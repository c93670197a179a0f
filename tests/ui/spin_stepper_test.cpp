// SPDX-License-Identifier: MIT
#include "ui/spin_stepper.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <ostream>
#include <string>
#include <vector>

namespace {

using kestrova::SpinStepper;

struct StepCase {
    int upper;
    const char* shown;
    Qt::Key key;
    int expected;
};

void PrintTo(const StepCase& c, std::ostream* out) {
    *out << '"' << c.shown << "\" in 0.." << c.upper << (c.key == Qt::Key_Up ? " Up" : " Down");
}

class SpinStepperCases : public ::testing::TestWithParam<StepCase> {};

TEST_P(SpinStepperCases, ArrowKeyStepsByOneInsideTheRangeAndAlwaysWritesBack) {
    const auto& c = GetParam();
    QLineEdit edit;
    edit.setReadOnly(true);
    edit.setText(QString::fromLatin1(c.shown));
    std::vector<int> written;
    new SpinStepper(&edit, c.upper, [&](int value) { written.push_back(value); });

    QTest::keyClick(&edit, c.key);

    // At a range end the same number is written again: the edit's change handling still runs.
    EXPECT_EQ(written, std::vector<int>{c.expected});
}

INSTANTIATE_TEST_SUITE_P(
    RangeEnds, SpinStepperCases,
    ::testing::Values(StepCase{200, "100", Qt::Key_Up, 101}, StepCase{200, "100", Qt::Key_Down, 99},
                      StepCase{200, "200", Qt::Key_Up, 200}, StepCase{200, "0", Qt::Key_Down, 0},
                      StepCase{50, "49", Qt::Key_Up, 50}, StepCase{50, "50", Qt::Key_Up, 50},
                      StepCase{200, "", Qt::Key_Up, 1}, StepCase{200, "", Qt::Key_Down, 0},
                      // A fetched value outside the range is brought into it first.
                      StepCase{200, "230", Qt::Key_Up, 200},
                      StepCase{200, "230", Qt::Key_Down, 199},
                      StepCase{50, "255", Qt::Key_Down, 49}),
    [](const ::testing::TestParamInfo<StepCase>& info) {
        return "Upper" + std::to_string(info.param.upper) + "Shows" +
               (*info.param.shown ? info.param.shown : "Nothing") +
               (info.param.key == Qt::Key_Up ? "Up" : "Down");
    });

TEST(SpinStepper, HeldKeyStepsOncePerRepeatAndOtherKeysPassThrough) {
    QLineEdit edit;
    edit.setText("10");
    std::vector<int> written;
    new SpinStepper(&edit, 200, [&](int value) {
        written.push_back(value);
        edit.setText(QString::number(value));
    });

    QTest::keyPress(&edit, Qt::Key_Up);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&edit, &repeat);
    QApplication::sendEvent(&edit, &repeat);
    QTest::keyRelease(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_PageUp);

    EXPECT_EQ(written, (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(edit.text(), "13");
}

}  // namespace
