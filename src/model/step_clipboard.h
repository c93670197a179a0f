// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "src/model/step_line.h"

// Steps as clipboard text: one line per step, its 24 numbers (M1..M22, ACC, Rate) in
// decimal, so that steps go into a spreadsheet and back.
namespace kestrova {

// The step as one line, tab-separated, without a line break.
std::string formatStepLine(const StepLine& line);

// One to eight lines of 24 numbers from 0 to 255, each pair separated by a tab, a comma or
// spaces (spaces may also surround a tab or a comma); lines end with LF or CR LF and blank
// lines at the end are ignored. Anything else gives nullopt.
std::optional<std::vector<StepLine>> parseStepLines(std::string_view text);

}  // namespace kestrova
