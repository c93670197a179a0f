// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>

#include "tools/board/output_file.h"
#include "tools/board/report.h"

namespace kestrova::board {

// export PAGE.kpf OUT.json|OUT.csv and import IN.json OUT.kpf: nothing reaches the board. An
// output that holds something else is replaced only with --force; a malformed input writes
// nothing.
void exportPage(const std::filesystem::path& pageFile, const std::filesystem::path& out,
                const SaveRules& rules, Report& report);
void importPage(const std::filesystem::path& in, const std::filesystem::path& pageFile,
                const SaveRules& rules, Report& report);

// Whether export writes CSV (OUT.csv) rather than JSON (OUT.json); nothing for another name.
std::optional<bool> exportsCsv(const std::filesystem::path& out);

}  // namespace kestrova::board
