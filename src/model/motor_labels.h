// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

#include "src/model/page_record.h"

namespace kestrova {

// Motor i's label: its number and the controller pin that drives it, as the editor shows it
// and as a robot profile names it for the reader.
inline constexpr std::array<std::string_view, kMotorCount> kMotorLabels{
    "M1(PB0)",  "M2(PB1)",  "M3(PB2)",  "M4(PB3)",  "M5(PB4)",  "M6(PB5)",  "M7(PB6)",  "M8(PB7)",
    "M9(PE0)",  "M10(PE1)", "M11(PE2)", "M12(PE3)", "M13(PC0)", "M14(PC1)", "M15(PC2)", "M16(PC3)",
    "M17(PC4)", "M18(PC5)", "M19(PC6)", "M20(PC7)", "M21(PD4)", "M22(PD5)"};
static_assert(!kMotorLabels.back().empty(), "a label for every motor");

}  // namespace kestrova
