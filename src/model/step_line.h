// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "src/model/page_record.h"

namespace kestrova {

// One step as a row of 24 values: M1..M22, then ACC, then Rate. It is the order of the step
// table's rows and of a step on the clipboard.
inline constexpr std::size_t kAccIndex = kMotorCount;
inline constexpr std::size_t kRateIndex = kMotorCount + 1;
inline constexpr std::size_t kStepLineSize = kMotorCount + 2;
using StepLine = std::array<std::uint8_t, kStepLineSize>;

// Steps 0..7; any other step reads as the default step and stores nothing.
StepLine readStepLine(const PageRecord& record, std::size_t step);
void writeStepLine(PageRecord& record, std::size_t step, const StepLine& line);

// Positions 100, ACC 50, Rate 50: the step of a fresh page.
StepLine defaultStepLine();

// The largest value the window's own controls give the entry at `index`: a position 200,
// ACC 50, Rate 200.
std::uint8_t stepLineLimit(std::size_t index);

// A run of decimal digits as a byte: nullopt when it is empty, holds anything but digits or
// is above 255.
std::optional<std::uint8_t> parseByte(std::string_view digits);

// A value typed for the entry at `index`: digits, optionally between spaces, within
// stepLineLimit(index); nullopt for anything else.
std::optional<std::uint8_t> parseStepValue(std::string_view text, std::size_t index);

}  // namespace kestrova
