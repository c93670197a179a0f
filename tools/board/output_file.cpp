// SPDX-License-Identifier: MIT
#include "tools/board/output_file.h"

#include <fstream>
#include <iterator>

namespace kestrova::board {

namespace fs = std::filesystem;

fs::path folderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

std::string pageFileBytes(const PageRecord& page) {
    const PageBytes bytes = toBytes(page);
    return {bytes.begin(), bytes.end()};
}

bool holdsOtherThan(const fs::path& file, std::string_view content) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(file, error))) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string held{std::istreambuf_iterator<char>(in), {}};
    return !in.is_open() || held != content;
}

std::string notAFile(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status) || fs::is_regular_file(status)) {
        return {};
    }
    return file.string() + (fs::is_directory(status) ? " is a folder" : " is no regular file") +
           ", which is never replaced";
}

std::string replaceRefusal(const fs::path& file, std::string_view content, bool force) {
    if (std::string problem = notAFile(file); !problem.empty()) {
        return problem;
    }
    return !force && holdsOtherThan(file, content)
               ? file.string() + " already holds something else; --force replaces it"
               : std::string();
}

std::string writeFileWhole(const fs::path& file, std::string_view content, FlushToDisk flush) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data());
    return replaceFileContents(file, {bytes, content.size()}, flush)
               ? std::string()
               : "cannot write " + file.string();
}

std::string savePageFile(const fs::path& file, const PageRecord& page, const SaveRules& rules) {
    std::string problem = replaceRefusal(file, pageFileBytes(page), rules.force);
    if (problem.empty() && !writePageFile(file, page, rules.flush)) {
        problem = "cannot write " + file.string();
    }
    return problem;
}

std::string saveTextFile(const fs::path& file, std::string_view content, const SaveRules& rules) {
    const std::string problem = replaceRefusal(file, content, rules.force);
    return problem.empty() ? writeFileWhole(file, content, rules.flush) : problem;
}

}  // namespace kestrova::board
