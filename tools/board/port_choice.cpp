// SPDX-License-Identifier: MIT
#include "tools/board/port_choice.h"

#include <array>
#include <string_view>

namespace kestrova::board {

namespace {
constexpr std::array<std::string_view, 5> kPortNames{"COM1", "COM2", "COM3", "COM4", "COM5"};
}

PortDevice parsePortChoice(const std::string& text) {
    for (std::size_t i = 0; i < kPortNames.size(); ++i) {
        if (text == kPortNames[i]) {
            return portDevice(static_cast<int>(i) + 1);
        }
    }
    return parsePortDevice(text);
}

}  // namespace kestrova::board
