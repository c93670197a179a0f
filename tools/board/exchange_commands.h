// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>

#include "tools/board/output_file.h"
#include "tools/board/report.h"

namespace kestrova::board {

// export PAGE.kpf OUT.json|OUT.csv, import IN.json OUT.kpf and import IN.csv OUT.kpf --into
// PAGE.kpf (the CSV's steps onto that page): nothing reaches the board. An output that holds
// something else is replaced only with --force; a malformed input writes nothing.
void exportPage(const std::filesystem::path& pageFile, const std::filesystem::path& out,
                const SaveRules& rules, Report& report);
// `into`: empty for JSON.
void importPage(const std::filesystem::path& in, const std::filesystem::path& pageFile,
                const std::filesystem::path& into, const SaveRules& rules, Report& report);

// Whether export writes CSV (OUT.csv) rather than JSON (OUT.json); nothing for another name.
std::optional<bool> exportsCsv(const std::filesystem::path& out);

}  // namespace kestrova::board
