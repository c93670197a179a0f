// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "src/model/page_record.h"

namespace kestrova::board {

// A page file as the board tool takes it, or why not.
struct CheckedPage {
    std::optional<PageRecord> page;
    std::string problem;  // "FILE: reason", when there is no page
};

// A page that may go to the board: a regular file of exactly 203 bytes whose page number is
// one the board holds. A longer or shorter file is no page the editor saved.
CheckedPage checkPageFile(const std::filesystem::path& file);

// A page file as the editor loads it (verify, play, show, export): a regular file of 203 bytes
// or more, whose first 203 are the page; any page number will do.
CheckedPage checkPageFileBytes(const std::filesystem::path& file);

// The pages of a backup folder that restore would send, all checked: every page-NN.kpf is a
// page file as above whose name is the one backup gives its page number. Pages are in order;
// problems name every file that fails, and then there are no pages.
struct CheckedFolder {
    std::vector<std::pair<std::filesystem::path, PageRecord>> pages;
    std::vector<std::string> problems;
};
CheckedFolder checkBackupFolder(const std::filesystem::path& folder);

// The page files of a folder (page-NN.kpf, any two digits), in order.
std::vector<std::filesystem::path> pageFilesIn(const std::filesystem::path& folder);

// "page-07.kpf", the name backup gives page 7.
std::string pageFileName(int number);

}  // namespace kestrova::board
