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

// Moves what the target holds besides a backup's own files (notes, other files) into the new
// folder, so that replacing the folder loses none of them.
std::string moveOthers(const fs::path& from, const fs::path& into) {
    std::error_code error;
    std::error_code missing;
    std::vector<fs::path> others;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        if (!fs::exists(fs::symlink_status(into / entry.path().filename(), missing))) {
            others.push_back(entry.path());
        }
    }
    if (error) {
        return "cannot list " + from.string() + ": " + error.message();
    }
    for (const fs::path& other : others) {
        fs::rename(other, into / other.filename(), error);
        if (error) {
            return "cannot move " + other.string() + " into " + into.string() + ": " +
                   error.message();
        }
    }
    return {};
}

}  // namespace

fs::path BackupFolder::followed(const fs::path& folder) {
    std::error_code error;
    const fs::path named = fs::is_symlink(folder, error) ? fs::canonical(folder, error) : folder;
    return error ? folder : named;
}

std::string BackupFolder::unusable() const {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    return fs::exists(status) && !fs::is_directory(status) ? target.string() + " is not a folder"
                                                           : std::string();
}

std::vector<std::string> BackupFolder::refusals(const std::vector<PageRecord>& pages) const {
    std::vector<std::string> refused;
    const auto check = [&](const fs::path& file, std::string_view content) {
        if (std::string problem = replaceRefusal(file, content, rules.force); !problem.empty()) {
            refused.push_back(std::move(problem));
        }
    };
    for (const PageRecord& page : pages) {
        check(target / pageFileName(page.pageNum), pageFileBytes(page));
    }
    check(target / kIndexFile, indexText(pages));
    return refused;
}

std::vector<std::string> BackupFolder::store(const std::vector<PageRecord>& pages) const {
    const fs::path staging = freeFolderBeside(".incomplete");
    const std::string kept =
        target.string() + " was left as it was; the pages read are in " + staging.string();
    if (const std::string problem = writeSet(staging, pages, rules.flush); !problem.empty()) {
        return {problem + "; " + kept};
    }
    std::vector<std::string> refused = refusals(pages);
    if (refused.empty()) {
        const std::string problem = swapIn(staging);
        return problem.empty() ? refused : std::vector<std::string>{problem};
    }
    refused.push_back(kept);
    return refused;
}

std::string BackupFolder::swapIn(const fs::path& staging) const {
    std::error_code error;
    const std::string where = "; the pages read are in " + staging.string();
    if (!fs::exists(fs::symlink_status(target, error))) {
        fs::rename(staging, target, error);
        rules.flush(folderOf(target));
        return error ? "cannot rename " + staging.string() + " to " + target.string() + ": " +
                           error.message() + where
                     : std::string();
    }
    if (const std::string problem = moveOthers(target, staging); !problem.empty()) {
        return problem + "; " + target.string() + " keeps its old pages" + where +
               ", with the files moved so far";
    }
    const fs::path old = freeFolderBeside(".old");
    fs::rename(target, old, error);
    if (error) {
        return "cannot rename " + target.string() + " to " + old.string() + ": " + error.message() +
               "; " + target.string() + " keeps its old pages" + where + ", with its other files";
    }
    fs::rename(staging, target, error);
    if (error) {
        const std::string problem =
            "cannot rename " + staging.string() + " to " + target.string() + ": " + error.message();
        fs::rename(old, target, error);
        return problem + "; " +
               (error ? "the old pages are in " + old.string()
                      : target.string() + " keeps its old pages") +
               where;
    }
    rules.flush(folderOf(target));
    fs::remove_all(old, error);
    return {};
}

std::string BackupFolder::keepIncomplete(const std::vector<PageRecord>& pages) const {
    if (pages.empty()) {
        return "no page was read";
    }
    const fs::path folder = freeFolderBeside(".incomplete");
    const std::string problem = writeSet(folder, pages, rules.flush);
    return problem.empty() ? "the pages read are in " + folder.string() : problem;
}

fs::path BackupFolder::freeFolderBeside(const std::string& suffix) const {
    const fs::path first = target.string() + suffix;
    fs::path candidate = first;
    std::error_code error;
    for (int n = 2; fs::exists(fs::symlink_status(candidate, error)); ++n) {
        candidate = first.string() + "-" + std::to_string(n);
    }
    return candidate;
}

}  // namespace kestrova::board
