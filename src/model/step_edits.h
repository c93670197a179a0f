// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <span>

#include "src/model/page_record.h"
#include "src/model/step_line.h"

// Whole-step edits of a page. Each returns the edited page; a step outside 0..7 changes
// nothing.
namespace kestrova {

// Duplicates `step`: it and the steps after it move one later, step 7 falls off. The last
// enabled step grows by one when it is at or after `step` and below 7.
PageRecord insertStep(PageRecord page, std::size_t step);

// Removes `step`: the steps after it move one earlier and step 7 becomes the default step.
// The last enabled step shrinks by one when it is at or after `step` and from 1 to 7.
PageRecord deleteStep(PageRecord page, std::size_t step);

// Stores `lines` into `step` and the steps after it; lines that would go past step 7 are
// dropped.
PageRecord pasteSteps(PageRecord page, std::size_t step, std::span<const StepLine> lines);

// Stores one value: `index` as in a StepLine (a motor, ACC or Rate).
PageRecord setStepValue(PageRecord page, std::size_t step, std::size_t index, std::uint8_t value);

}  // namespace kestrova
