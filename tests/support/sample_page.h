// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <numeric>
#include <utility>
#include <vector>

#include "src/model/page_record.h"

namespace kestrova::test {

using Bytes = std::vector<std::uint8_t>;

template <typename Container>
Bytes bytesOf(const Container& container) {
    return {std::begin(container), std::end(container)};
}

// A page that trips naive framing: FE FE FE runs, "###" and 0x0A inside the record, an escape
// and a quote in the name, the largest repeat. Steps 0 to 2 are the enabled ones; in them,
// motor m of step s is at 10 * (s + 1) + m.
inline PageRecord samplePage() {
    PageRecord page = defaultPageRecord();
    page.pageName = {'E', 'd', 'g', 'e', 0x1B, '"', '#'};
    page.pageNum = 11;
    page.position.fill(0xFE);
    for (std::size_t i = 0; i < 3 * kMotorCount; ++i) {
        page.position[i] = static_cast<std::uint8_t>(10 * (i / kMotorCount + 1) + i % kMotorCount);
    }
    std::fill_n(page.position.begin() + 90, 3, '#');
    page.position[93] = 0x0A;
    page.acc.fill(0xFE);
    page.enableStep = 2;
    page.repeat = kMaxRepeat;
    return page;
}

// Step s, motor m at 22 s + m, ACC s, Rate 100 + s; steps 0 to `enable` enabled.
inline PageRecord distinctPage(std::uint8_t enable) {
    PageRecord page = defaultPageRecord();
    std::iota(page.position.begin(), page.position.end(), 0);
    std::iota(page.acc.begin(), page.acc.end(), 0);
    std::iota(page.rate.begin(), page.rate.end(), 100);
    page.enableStep = enable;
    return page;
}

// The default page with the given bytes changed: {offset, value} as in the page record.
inline PageRecord pageWith(std::initializer_list<std::pair<std::size_t, std::uint8_t>> changes) {
    PageBytes bytes = toBytes(defaultPageRecord());
    for (const auto& [offset, value] : changes) {
        bytes[offset] = value;
    }
    return fromBytes(bytes);
}

}  // namespace kestrova::test
