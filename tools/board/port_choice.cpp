// SPDX-License-Identifier: MIT
#include "tools/board/port_choice.h"

namespace kestrova::board {

PortDevice parsePortChoice(const std::string& text) {
    for (std::size_t i = 0; i < kPortChoiceNames.size(); ++i) {
        if (text == kPortChoiceNames[i]) {
            return portDevice(static_cast<int>(i) + 1);
        }
    }
    return parsePortDevice(text);
}

}  // namespace kestrova::board
