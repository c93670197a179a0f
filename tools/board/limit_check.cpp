// SPDX-License-Identifier: MIT
#include "tools/board/limit_check.h"

#include <optional>

#include "src/profile/profile_limits.h"
#include "tools/board/page_file_check.h"
#include "tools/common/byte_text.h"

namespace kestrova::board {

namespace fs = std::filesystem;

std::vector<std::string> breachLines(const RobotProfile& profile, const PageRecord& page,
                                     const std::string& source) {
    std::vector<std::string> lines;
    for (const LimitBreach& breach : limitBreaches(profile, page)) {
        lines.push_back(source + ": " + pageLabel(page) + " step " + std::to_string(breach.step) +
                        ": " + breachText(profile, breach));
    }
    return lines;
}

void checkLimits(const fs::path& fileOrFolder, const RobotProfile& profile, Report& report) {
    std::error_code error;
    const std::vector<fs::path> files = fs::is_directory(fileOrFolder, error)
                                            ? pageFilesIn(fileOrFolder)
                                            : std::vector<fs::path>{fileOrFolder};
    if (files.empty()) {
        report.fileError("no page-NN.kpf in " + fileOrFolder.string());
        return;
    }
    std::size_t breaches = 0;
    std::size_t pagesBreaking = 0;
    for (const fs::path& file : files) {
        const CheckedPage checked = checkPageFileBytes(file);
        if (!checked.page) {
            report.fileError(checked.problem);
            continue;
        }
        const std::vector<std::string> lines = breachLines(profile, *checked.page, file.string());
        for (const std::string& line : lines) {
            report.finding(line);
        }
        breaches += lines.size();
        pagesBreaking += lines.empty() ? 0 : 1;
    }
    const std::string pages =
        std::to_string(files.size()) + (files.size() == 1 ? " page" : " pages");
    report.summary(breaches == 0
                       ? pages + " within the limits"
                       : std::to_string(breaches) + (breaches == 1 ? " value" : " values") +
                             " outside the limits in " + std::to_string(pagesBreaking) + " of " +
                             pages);
}

}  // namespace kestrova::board
