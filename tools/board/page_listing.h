// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "src/model/page_record.h"

namespace kestrova::board {

// A page file of a folder and the page it holds.
struct FolderPage {
    std::string file;
    PageRecord page;
};

// Pages linked by their next page, as the board plays them: from a page that no other page
// leads to (or, for pages that only lead round in a circle, the lowest of them) to the last.
struct PageChain {
    std::vector<int> pages;
    std::optional<int> then;  // the next page the last one names: a page met before, or one
                              // that the folder lacks
};

std::vector<PageChain> pageChains(const std::vector<FolderPage>& pages);

// One page as its step table, or as JSON.
std::string stepTableText(const PageRecord& page);
nlohmann::json pageJson(const PageRecord& page);

// A folder: each page's file, number, name and next page, then the chains.
std::string folderText(const std::vector<FolderPage>& pages);
nlohmann::json folderJson(const std::vector<FolderPage>& pages);

// The index.txt of a backup: page, name, next page, enable step, repeat, and the next page
// as the editor shows it ("None" for 0); tab-separated.
std::string indexText(const std::vector<PageRecord>& pages);

}  // namespace kestrova::board
