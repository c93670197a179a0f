// SPDX-License-Identifier: MIT
#include "src/model/step_edits.h"

#include <algorithm>

namespace kestrova {

namespace {

constexpr std::size_t kLastStep = kStepCount - 1;

}  // namespace

PageRecord insertStep(PageRecord page, std::size_t step) {
    if (step >= kStepCount) {
        return page;
    }
    for (std::size_t to = kLastStep; to > step; --to) {
        writeStepLine(page, to, readStepLine(page, to - 1));
    }
    if (page.enableStep >= step && page.enableStep < kLastStep) {
        ++page.enableStep;
    }
    return page;
}

PageRecord deleteStep(PageRecord page, std::size_t step) {
    if (step >= kStepCount) {
        return page;
    }
    for (std::size_t to = step; to < kLastStep; ++to) {
        writeStepLine(page, to, readStepLine(page, to + 1));
    }
    writeStepLine(page, kLastStep, defaultStepLine());
    // An enable step beyond the page (possible after a load) is kept as it came.
    if (page.enableStep >= step && page.enableStep > 0 && page.enableStep <= kLastStep) {
        --page.enableStep;
    }
    return page;
}

PageRecord pasteSteps(PageRecord page, std::size_t step, std::span<const StepLine> lines) {
    for (std::size_t i = 0; i < lines.size() && step + i < kStepCount; ++i) {
        writeStepLine(page, step + i, lines[i]);
    }
    return page;
}

PageRecord setStepValue(PageRecord page, std::size_t step, std::size_t index, std::uint8_t value) {
    if (index >= kStepLineSize) {
        return page;
    }
    StepLine line = readStepLine(page, step);
    line[index] = value;
    writeStepLine(page, step, line);
    return page;
}

}  // namespace kestrova
