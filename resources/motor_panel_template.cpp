// SPDX-License-Identifier: MIT
#include "resources/motor_panel_template.h"

#include <array>

namespace kestrova::res {

namespace {

constexpr std::array kMotorPanelControls{
    ControlTemplate{kMotorPanelLabelId, Kind::Label, "Motor", 0, 3, 32, 8, kCentred},
    ControlTemplate{kMotorPanelTrackbarId, Kind::Trackbar, "", 3, 13, 29, 6, kNoTicks | kTabStop},
};

// Each label names the motor and the controller pin that drives it.
constexpr std::array<std::string_view, kLastMotorLabelString - kFirstMotorLabelString + 1>
    kMotorLabels{
        "M1(PB0)",  "M2(PB1)",  "M3(PB2)",  "M4(PB3)",  "M5(PB4)",  "M6(PB5)",
        "M7(PB6)",  "M8(PB7)",  "M9(PE0)",  "M10(PE1)", "M11(PE2)", "M12(PE3)",
        "M13(PC0)", "M14(PC1)", "M15(PC2)", "M16(PC3)", "M17(PC4)", "M18(PC5)",
        "M19(PC6)", "M20(PC7)", "M21(PD4)", "M22(PD5)",
    };

}  // namespace

const DialogTemplate kMotorPanelTemplate{
    kMotorPanelTemplateId, "", 35, 22, "@MS PGothic", 10, kMotorPanelControls,
};

std::string_view motorLabelString(int id) {
    if (id < kFirstMotorLabelString || id > kLastMotorLabelString) {
        return {};
    }
    return kMotorLabels[static_cast<std::size_t>(id - kFirstMotorLabelString)];
}

}  // namespace kestrova::res
