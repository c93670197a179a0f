// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "src/model/page_file.h"
#include "src/model/page_record.h"

namespace kestrova::board {

// The folder a file is in ("." for a bare name), to be flushed once the file is renamed.
std::filesystem::path folderOf(const std::filesystem::path& file);

// The bytes a page file holds.
std::string pageFileBytes(const PageRecord& page);

// Whether `file` exists and holds anything but `content`: such a file is replaced only when
// the user says so (--force), since it may be a page saved from the editor.
bool holdsOtherThan(const std::filesystem::path& file, std::string_view content);

// What keeps anything from replacing `file`: a folder, a device or a pipe of that name (a
// link to a regular file is followed). Empty when nothing does.
std::string notAFile(const std::filesystem::path& file);

// What keeps `file` from being written with `content`: empty when nothing does.
std::string replaceRefusal(const std::filesystem::path& file, std::string_view content, bool force);

// How the tool saves a file: whether one that holds something else may be replaced, and the
// system's flush that makes what is written durable.
struct SaveRules {
    bool force = false;
    FlushToDisk flush = nullptr;
};

// Writes `content` as page files are saved (a temporary file beside `file`, flushed and
// renamed over it), so a failure never leaves half a file. Empty on success, else why not.
std::string writeFileWhole(const std::filesystem::path& file, std::string_view content,
                           FlushToDisk flush);

// A page file or a text file written unless it holds something else and --force was not
// given. Empty on success, else why not.
std::string savePageFile(const std::filesystem::path& file, const PageRecord& page,
                         const SaveRules& rules);
std::string saveTextFile(const std::filesystem::path& file, std::string_view content,
                         const SaveRules& rules);

}  // namespace kestrova::board
