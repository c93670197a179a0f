// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

#include "src/model/page_record.h"

namespace kestrova::board {

// What the byte at this offset of a page record holds: "name", "step 2, M5", "repeat", ...
std::string recordFieldAt(std::size_t offset);

// The first difference, expected (the file) versus received (the board): "byte 12 (step 0,
// M5): file 66, board 65; 3 bytes differ". Empty when the pages are equal.
std::string describeDifference(const PageRecord& file, const PageRecord& board);

}  // namespace kestrova::board
