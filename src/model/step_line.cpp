// SPDX-License-Identifier: MIT
#include "src/model/step_line.h"

#include <algorithm>

namespace kestrova {

namespace {

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

StepLine readStepLine(const PageRecord& record, std::size_t step) {
    if (step >= kStepCount) {
        return defaultStepLine();
    }
    StepLine line{};
    std::copy_n(record.position.begin() + static_cast<std::ptrdiff_t>(step * kMotorCount),
                kMotorCount, line.begin());
    line[kAccIndex] = record.acc[step];
    line[kRateIndex] = record.rate[step];
    return line;
}

void writeStepLine(PageRecord& record, std::size_t step, const StepLine& line) {
    if (step >= kStepCount) {
        return;
    }
    std::copy_n(line.begin(), kMotorCount,
                record.position.begin() + static_cast<std::ptrdiff_t>(step * kMotorCount));
    record.acc[step] = line[kAccIndex];
    record.rate[step] = line[kRateIndex];
}

StepLine defaultStepLine() {
    StepLine line{};
    line.fill(kDefaultPosition);
    line[kAccIndex] = kDefaultAcc;
    line[kRateIndex] = kDefaultRate;
    return line;
}

std::uint8_t stepLineLimit(std::size_t index) {
    if (index == kAccIndex) {
        return kMaxAcc;
    }
    return index == kRateIndex ? kMaxRate : kMaxPosition;
}

std::optional<std::uint8_t> parseByte(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 255) {  // checked at every digit, so a long run cannot wrap
            return std::nullopt;
        }
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<std::uint8_t> parseStepValue(std::string_view text, std::size_t index) {
    const auto value = parseByte(trimSpaces(text));
    if (!value || index >= kStepLineSize || *value > stepLineLimit(index)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace kestrova
