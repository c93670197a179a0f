// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "src/model/page_record.h"

namespace kestrova::board {

// A page as JSON for editing elsewhere: what `show --json` prints, plus "nameBytes", the 7
// bytes of the name (those after the first NUL too), so that import gives back every byte.
std::string exportJson(const PageRecord& page);

// The step table for spreadsheets: a header row (M1..M22, ACC, Rate), then one row per step.
std::string exportCsv(const PageRecord& page);

// A page read back from JSON, or the line and reason of what is wrong.
struct ImportedPage {
    std::optional<PageRecord> page;
    int line = 0;
    std::string problem;
};
ImportedPage importJson(std::string_view text);

// The CSV's header row, as export writes it: M1 to M22, ACC, Rate, comma-separated.
std::string csvHeader();
// A CSV holds only the steps: they replace those of `page`, which keeps its name, number, next
// page, enable step and repeat. The header row, then 8 rows of 24 numbers; line ends may be
// CR LF, and empty lines are skipped.
ImportedPage importCsv(std::string_view text, PageRecord page);

}  // namespace kestrova::board
