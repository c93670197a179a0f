// SPDX-License-Identifier: MIT
// The main window and the robot profile: the Robot menu, and the names, slider ranges and
// mirror items the open profile gives.
#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QSlider>

#include "resources/resource_ids.h"
#include "src/app/app_name.h"
#include "src/ui/editor_dlg.h"
#include "src/ui/motor_panel.h"
#include "src/ui/profile_dlg.h"
#include "src/ui/step_table_view.h"

namespace id = kestrova::res::id;

void CEditorDlg::onOpenProfile() {
    if (const auto path = files.chooseProfilePath(false)) {
        editor.openProfile(*path);
    }
}

// Without a profile open the dialog starts from the defaults, and Save asks for a file.
void CEditorDlg::onEditProfile() {
    CProfileDlg dialog(
        editor.profile().value_or(kestrova::RobotProfile{}),
        [this](const kestrova::RobotProfile& profile, bool saveAs) {
            const auto path = saveAs || editor.profilePath().empty()
                                  ? files.chooseProfilePath(true)
                                  : std::optional(editor.profilePath());
            if (path) {
                editor.saveProfile(*path, profile);
            }
        },
        [this, &dialog](const QString& reason) {
            boxes.show(
                {reason, kestrova::applicationName(), kestrova::MessageIcon::Exclamation, &dialog});
        },
        this);
    dialog.exec();
}

void CEditorDlg::onCloseProfile() {
    editor.closeProfile();
}

void CEditorDlg::showProfile() {
    const std::optional<kestrova::RobotProfile>& profile = editor.profile();
    for (std::size_t m = 0; m < kestrova::kMotorCount; ++m) {
        // "M5(PB4) left elbow" with a named motor, "M5(PB4)" as without a profile.
        const QString caption = editor.motorCaption(m);
        const kestrova::MotorProfile limits =
            profile ? profile->motors[m] : kestrova::MotorProfile{};
        motorPanels[m]->showLimits(limits.min, limits.max, profile ? caption : QString());
        motorPanels[m]->trackbarControl()->setAccessibleName(caption);
        control(id::kMotorEdit0 + static_cast<int>(m))
            ->setAccessibleName(caption + QStringLiteral(" position"));
    }
    stepTable->showProfile(profile);
    const auto item = [this](int command) {
        return menu->findChild<QAction*>(QStringLiteral("command%1").arg(command));
    };
    for (const int command :
         {id::kEditMirrorStep, id::kEditCopyLeftToRight, id::kEditCopyRightToLeft}) {
        item(command)->setEnabled(profile && profile->canMirror());
    }
    item(id::kCloseProfile)->setEnabled(profile.has_value());
}
