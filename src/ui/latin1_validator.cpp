// SPDX-License-Identifier: MIT
#include "src/ui/latin1_validator.h"

#include <algorithm>

namespace kestrova {

QValidator::State Latin1Validator::validate(QString& input, int& /*pos*/) const {
    const bool singleByte =
        std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    return singleByte ? Acceptable : Invalid;
}

}  // namespace kestrova
