// SPDX-License-Identifier: MIT
#include "tools/board/page_file_check.h"

#include <algorithm>
#include <regex>

#include "src/model/page_file.h"

namespace kestrova::board {

namespace fs = std::filesystem;

namespace {

CheckedPage refused(const fs::path& file, const std::string& reason) {
    return {std::nullopt, file.string() + ": " + reason};
}

CheckedPage wrongSize(const fs::path& file, std::uintmax_t size) {
    return refused(file, "not a page file: " + std::to_string(size) + " bytes, not " +
                             std::to_string(kPageRecordSize));
}

}  // namespace

CheckedPage checkPageFileBytes(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) {
        return refused(file, "no such file");
    }
    if (!fs::is_regular_file(status)) {
        return refused(file, "not a regular file");
    }
    if (const std::uintmax_t size = fs::file_size(file, error); error || size < kPageRecordSize) {
        return wrongSize(file, size);
    }
    std::optional<PageRecord> page = readPageFile(file);
    if (!page) {
        return refused(file, "cannot be read");
    }
    return {page, {}};
}

CheckedPage checkPageFile(const fs::path& file) {
    CheckedPage checked = checkPageFileBytes(file);
    std::error_code error;
    if (const std::uintmax_t size = fs::file_size(file, error);
        checked.page && size != kPageRecordSize) {
        return wrongSize(file, size);
    }
    if (checked.page && checked.page->pageNum >= kPageCount) {
        return refused(file, "holds page " + std::to_string(checked.page->pageNum) +
                                 "; the board holds pages 0 to " + std::to_string(kPageCount - 1));
    }
    return checked;
}

CheckedFolder checkBackupFolder(const fs::path& folder) {
    CheckedFolder checked;
    for (const fs::path& file : pageFilesIn(folder)) {
        const CheckedPage page = checkPageFile(file);
        if (!page.page) {
            checked.problems.push_back(page.problem);
        } else if (file.filename() != pageFileName(page.page->pageNum)) {
            checked.problems.push_back(file.string() + ": holds page " +
                                       std::to_string(page.page->pageNum) +
                                       ", which backup names " + pageFileName(page.page->pageNum));
        } else {
            checked.pages.emplace_back(file, *page.page);
        }
    }
    if (!checked.problems.empty()) {
        checked.pages.clear();
    }
    return checked;
}

std::vector<fs::path> pageFilesIn(const fs::path& folder) {
    static const std::regex kPageFile("page-[0-9][0-9]\\.kpf");
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (std::regex_match(entry.path().filename().string(), kPageFile)) {
            files.push_back(entry.path());
        }
    }
    std::ranges::sort(files);
    return files;
}

std::string pageFileName(int number) {
    return std::string("page-") + (number < 10 ? "0" : "") + std::to_string(number) + ".kpf";
}

}  // namespace kestrova::board
