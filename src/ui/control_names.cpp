// SPDX-License-Identifier: MIT
#include "src/ui/control_names.h"

#include <QLabel>
#include <QSlider>
#include <algorithm>
#include <array>
#include <string_view>

#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "src/model/page_record.h"
#include "src/ui/dialog_builder.h"
#include "src/ui/motor_panel.h"
#include "src/ui/qt_text.h"

namespace kestrova {

namespace {

namespace id = res::id;

struct ControlText {
    int id;
    std::string_view text;
};

// Buttons and check boxes not listed here are named by their own text.
constexpr std::array<ControlText, 15> kNames{{
    {id::kAccEdit, "ACC"},
    {id::kRateEdit, "Rate"},
    {id::kStepCombo, "STEP"},
    {id::kPageNameEdit, "Page Name"},
    {id::kPageNumCombo, "Page Num"},
    {id::kEnableStepCombo, "Enable Step"},
    {id::kNextPageCombo, "Next Page"},
    {id::kRepeatCombo, "Repeat"},
    {id::kTargetSave, "Save to target"},
    {id::kTargetLoad, "Load from target"},
    {id::kPcSave, "Save to PC"},
    {id::kPcLoad, "Load from PC"},
    {id::kResetStep, "Reset step"},
    {id::kResetPage, "Reset page"},
    {id::kStepTable, "Step table"},
}};

constexpr std::array<ControlText, 7> kTips{{
    {id::kAccEdit, "The acceleration of this step, 0 to 50: how quickly the servos gather speed."},
    {id::kRateEdit, "The speed of this step, 0 to 200: how fast the servos move to its positions."},
    {id::kEnableStepCombo,
     "The last step that plays; the steps right of the red line in the table are skipped."},
    {id::kNextPageCombo, "The page the robot plays after this one, or None to stop here."},
    {id::kRepeatCombo, "How many times the robot plays this page before it goes on."},
    {id::kPositionLock,
     "While ticked, the motor panels stay where they are and cannot be dragged."},
    {id::kLinkToTarget,
     "While ticked, every change of a motor position is sent to the robot at once."},
}};

QString motorLabel(int motor) {
    return toQString(res::loadString(id::kMotorLabel0 + motor));
}

}  // namespace

void nameControls(const BuiltDialog& built, QWidget* window) {
    for (const ControlText& name : kNames) {
        built.control(name.id)->setAccessibleName(toQString(name.text));
    }
    // Some screen readers name a list by the label that it is the buddy of, not by its own name.
    for (QWidget* control : built.controls) {
        auto* label = qobject_cast<QLabel*>(control);
        const auto named = std::ranges::find_if(kNames, [label](const ControlText& name) {
            return label != nullptr && label->text() == toQString(name.text);
        });
        if (named != kNames.end()) {
            label->setBuddy(built.control(named->id));
        }
    }
    for (const ControlText& tip : kTips) {
        built.control(tip.id)->setToolTip(toQString(tip.text));
    }
    for (int motor = 0; motor < static_cast<int>(kMotorCount); ++motor) {
        built.control(id::kMotorEdit0 + motor)
            ->setAccessibleName(motorLabel(motor) + QStringLiteral(" position"));
    }
    for (CMotorPanel* panel : window->findChildren<CMotorPanel*>()) {
        panel->trackbarControl()->setAccessibleName(motorLabel(panel->index()));
    }
}

}  // namespace kestrova
