// SPDX-License-Identifier: MIT
#include "tools/board/exchange_commands.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "tools/board/output_file.h"
#include "tools/board/page_exchange.h"
#include "tools/board/page_file_check.h"

namespace kestrova::board {

namespace fs = std::filesystem;

namespace {

void reportSaved(const fs::path& out, const std::string& problem, Report& report) {
    if (problem.empty()) {
        report.summary("wrote " + out.string());
    } else {
        report.fileError(problem);
    }
}

}  // namespace

std::optional<bool> exportsCsv(const fs::path& out) {
    std::string extension = out.extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".csv" || extension == ".json") {
        return extension == ".csv";
    }
    return std::nullopt;
}

void exportPage(const fs::path& pageFile, const fs::path& out, const SaveRules& rules,
                Report& report) {
    const CheckedPage checked = checkPageFileBytes(pageFile);
    const std::optional<bool> csv = exportsCsv(out);
    if (!checked.page) {
        report.fileError(checked.problem);
    } else if (!csv) {
        report.fileError(out.string() + ": the name must end in .json or .csv");
    } else {
        const std::string text = *csv ? exportCsv(*checked.page) : exportJson(*checked.page);
        reportSaved(out, saveTextFile(out, text, rules), report);
    }
}

void importPage(const fs::path& in, const fs::path& pageFile, const fs::path& into,
                const SaveRules& rules, Report& report) {
    const bool csv = exportsCsv(in).value_or(false);
    if (csv == into.empty()) {
        report.fileError(in.string() +
                         (csv ? ": a CSV holds only steps; name the page file they go "
                                "onto with --into PAGE.kpf"
                              : ": --into is for the steps of a CSV; a JSON file "
                                "holds the whole page") +
                         "; nothing written");
        return;
    }
    std::error_code error;
    std::ifstream input(in, std::ios::binary);
    if (!fs::is_regular_file(in, error) || !input) {
        report.fileError(in.string() + ": cannot be read");
        return;
    }
    const CheckedPage onto = csv ? checkPageFileBytes(into) : CheckedPage{PageRecord{}, {}};
    if (!onto.page) {
        report.fileError(onto.problem);
        return;
    }
    const std::string text{std::istreambuf_iterator<char>(input), {}};
    const ImportedPage imported = csv ? importCsv(text, *onto.page) : importJson(text);
    if (!imported.page) {
        report.fileError(in.string() + ":" + std::to_string(imported.line) + ": " +
                         imported.problem + "; nothing written");
        return;
    }
    reportSaved(pageFile, savePageFile(pageFile, *imported.page, rules), report);
}

}  // namespace kestrova::board
