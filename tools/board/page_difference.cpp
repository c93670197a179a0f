// SPDX-License-Identifier: MIT
#include "tools/board/page_difference.h"

#include <cstddef>

namespace kestrova::board {

namespace {

std::string stepField(const char* what, std::size_t index) {
    return std::string(what) + " of step " + std::to_string(index);
}

}  // namespace

std::string recordFieldAt(std::size_t offset) {
    if (offset < offsetof(PageRecord, pageNum)) {
        return "name";
    }
    if (offset == offsetof(PageRecord, pageNum)) {
        return "page number";
    }
    if (offset < offsetof(PageRecord, acc)) {
        const std::size_t index = offset - offsetof(PageRecord, position);
        return "step " + std::to_string(index / kMotorCount) + ", M" +
               std::to_string(index % kMotorCount + 1);
    }
    if (offset < offsetof(PageRecord, rate)) {
        return stepField("ACC", offset - offsetof(PageRecord, acc));
    }
    if (offset < offsetof(PageRecord, nextPage)) {
        return stepField("Rate", offset - offsetof(PageRecord, rate));
    }
    if (offset == offsetof(PageRecord, nextPage)) {
        return "next page";
    }
    return offset == offsetof(PageRecord, enableStep) ? "enable step" : "repeat";
}

std::string describeDifference(const PageRecord& file, const PageRecord& board) {
    const PageBytes expected = toBytes(file);
    const PageBytes received = toBytes(board);
    std::size_t first = expected.size();
    std::size_t count = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] != received[i]) {
            first = count++ == 0 ? i : first;
        }
    }
    if (count == 0) {
        return {};
    }
    return "byte " + std::to_string(first) + " (" + recordFieldAt(first) + "): file " +
           std::to_string(expected[first]) + ", board " + std::to_string(received[first]) + "; " +
           std::to_string(count) + (count == 1 ? " byte differs" : " bytes differ");
}

}  // namespace kestrova::board
