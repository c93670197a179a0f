// SPDX-License-Identifier: MIT
#include "tools/board/backup_folder.h"

#include "src/model/page_file.h"
#include "tools/board/page_file_check.h"
#include "tools/board/page_listing.h"

namespace kestrova::board {

namespace fs = std::filesystem;

namespace {

constexpr const char* kIndexFile = "index.txt";

// The pages, then the index of exactly those written. Empty on success.
std::string writeSet(const fs::path& folder, const std::vector<PageRecord>& pages,
                     FlushToDisk flush) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        return "cannot make the folder " + folder.string() + ": " + error.message();
    }
    std::vector<PageRecord> written;
    std::string problem;
    for (const PageRecord& page : pages) {
        const fs::path file = folder / pageFileName(page.pageNum);
        if (!writePageFile(file, page, flush)) {
            problem = "cannot write " + file.string();
            break;
        }
        written.push_back(page);
    }
    const std::string indexProblem = writeFileWhole(folder / kIndexFile, indexText(written), flush);
    return problem.empty() ? indexProblem : problem;
}

// Moves the files of `from` into `into`, replacing those of the same names, and removes
// `from`. The files are complete already, so only a rename can fail, and the first one
// would: nothing has changed then.
std::string moveFiles(const fs::path& from, const fs::path& into, FlushToDisk flush) {
    std::error_code error;
    std::vector<fs::path> files = pageFilesIn(from);
    files.push_back(from / kIndexFile);
    for (const fs::path& file : files) {
        fs::rename(file, into / file.filename(), error);
        if (error) {
            return "cannot move " + file.string() + " into " + into.string() + ": " +
                   error.message();
        }
    }
    fs::remove(from, error);
    flush(into);
    return {};
}

}  // namespace

std::string BackupFolder::unusable() const {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    return fs::exists(status) && !fs::is_directory(status) ? target.string() + " is not a folder"
                                                           : std::string();
}

std::vector<std::string> BackupFolder::refusals(const std::vector<PageRecord>& pages) const {
    std::vector<std::string> refused;
    for (const PageRecord& page : pages) {
        const std::string problem =
            replaceRefusal(target / pageFileName(page.pageNum), pageFileBytes(page), rules.force);
        if (!problem.empty()) {
            refused.push_back(problem);
        }
    }
    if (const std::string problem =
            replaceRefusal(target / kIndexFile, indexText(pages), rules.force);
        !problem.empty()) {
        refused.push_back(problem);
    }
    return refused;
}

std::string BackupFolder::store(const std::vector<PageRecord>& pages) const {
    const fs::path staging = freeIncompleteFolder();
    if (const std::string problem = writeSet(staging, pages, rules.flush); !problem.empty()) {
        return problem + "; " + target.string() + " was left as it was; the pages written are in " +
               staging.string();
    }
    std::error_code error;
    if (!fs::exists(target, error)) {
        fs::rename(staging, target, error);
        rules.flush(folderOf(target));
        return error ? "cannot rename " + staging.string() + " to " + target.string() + ": " +
                           error.message() + "; the pages are in " + staging.string()
                     : std::string();
    }
    const std::string problem = moveFiles(staging, target, rules.flush);
    return problem.empty() ? problem
                           : problem + "; " + target.string() +
                                 " was left as it was; the pages are in " + staging.string();
}

std::string BackupFolder::keepIncomplete(const std::vector<PageRecord>& pages) const {
    if (pages.empty()) {
        return "no page was read";
    }
    const fs::path folder = freeIncompleteFolder();
    const std::string problem = writeSet(folder, pages, rules.flush);
    return problem.empty() ? "the pages read are in " + folder.string() : problem;
}

fs::path BackupFolder::freeIncompleteFolder() const {
    const fs::path first = target.string() + ".incomplete";
    fs::path candidate = first;
    std::error_code error;
    for (int n = 2; fs::exists(fs::symlink_status(candidate, error)); ++n) {
        candidate = first.string() + "-" + std::to_string(n);
    }
    return candidate;
}

}  // namespace kestrova::board
