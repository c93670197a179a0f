// SPDX-License-Identifier: MIT
#include "tools/board/page_listing.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "tools/common/byte_text.h"

namespace kestrova::board {

namespace {

using json = nlohmann::json;

// Page numbers that the board plays on to: 1 to 19 (0 ends a play).
std::optional<int> nextOf(const PageRecord& page) {
    return page.nextPage > 0 && page.nextPage < kPageCount ? std::optional<int>(page.nextPage)
                                                           : std::nullopt;
}

PageChain follow(int first, const std::map<int, PageRecord>& byNumber) {
    PageChain chain;
    for (std::optional<int> at = first; at;) {
        const auto found = byNumber.find(*at);
        if (found == byNumber.end() || std::ranges::count(chain.pages, *at) > 0) {
            chain.then = at;
            break;
        }
        chain.pages.push_back(*at);
        at = nextOf(found->second);
    }
    return chain;
}

// As the editor's Next Page list shows it: "None" for 0.
std::string nextPageText(const PageRecord& page) {
    return page.nextPage == 0 ? "None" : std::to_string(page.nextPage);
}

std::string pageLine(const PageRecord& page) {
    return "page " + std::to_string(page.pageNum) + " \"" + pageNameText(page.pageName) +
           "\"  next page " + nextPageText(page) + "  enable step " +
           std::to_string(page.enableStep) + "  repeat " + std::to_string(page.repeat);
}

std::string chainText(const PageChain& chain, const std::map<int, PageRecord>& byNumber) {
    std::string text;
    for (const int page : chain.pages) {
        text += (text.empty() ? "" : " -> ") + std::to_string(page);
    }
    if (chain.then) {
        text += " -> " + std::to_string(*chain.then) +
                (byNumber.contains(*chain.then) ? " (again)" : " (not in the folder)");
    }
    return text;
}

std::map<int, PageRecord> byNumber(const std::vector<FolderPage>& pages) {
    std::map<int, PageRecord> numbered;
    for (const FolderPage& page : pages) {
        numbered.emplace(page.page.pageNum, page.page);
    }
    return numbered;
}

}  // namespace

std::vector<PageChain> pageChains(const std::vector<FolderPage>& pages) {
    const std::map<int, PageRecord> numbered = byNumber(pages);
    std::set<int> ledTo;
    for (const auto& [number, page] : numbered) {
        if (const auto next = nextOf(page); next && *next != number) {
            ledTo.insert(*next);
        }
    }
    std::vector<PageChain> chains;
    std::set<int> seen;
    const auto add = [&](int first) {
        chains.push_back(follow(first, numbered));
        seen.insert(chains.back().pages.begin(), chains.back().pages.end());
    };
    for (const auto& [number, page] : numbered) {
        if (!ledTo.contains(number)) {
            add(number);
        }
    }
    for (const auto& [number, page] : numbered) {
        if (!seen.contains(number)) {
            add(number);  // only ever reached from a circle of pages
        }
    }
    return chains;
}

std::string stepTableText(const PageRecord& page) {
    std::ostringstream text;
    text << pageLine(page) << "\nstep";
    for (std::size_t motor = 1; motor <= kMotorCount; ++motor) {
        text << (motor < 10 ? "   M" : "  M") << motor;
    }
    text << "   ACC  Rate\n";
    for (std::size_t step = 0; step < kStepCount; ++step) {
        text << (step <= page.enableStep ? "* " : "  ") << step << ' ';
        for (std::size_t motor = 0; motor < kMotorCount; ++motor) {
            const std::string value = std::to_string(page.position[step * kMotorCount + motor]);
            text << std::string(5 - value.size(), ' ') << value;
        }
        const std::string acc = std::to_string(page.acc[step]);
        const std::string rate = std::to_string(page.rate[step]);
        text << std::string(6 - acc.size(), ' ') << acc << std::string(6 - rate.size(), ' ') << rate
             << '\n';
    }
    return text.str();
}

json pageJson(const PageRecord& page) {
    json steps = json::array();
    for (std::size_t step = 0; step < kStepCount; ++step) {
        const auto row = page.position.begin() + static_cast<std::ptrdiff_t>(step * kMotorCount);
        steps.push_back({{"positions", std::vector<int>(row, row + kMotorCount)},
                         {"acc", page.acc[step]},
                         {"rate", page.rate[step]}});
    }
    return {{"name", pageNameText(page.pageName)},
            {"page", page.pageNum},
            {"nextPage", page.nextPage == 0 ? json("None") : json(page.nextPage)},
            {"enableStep", page.enableStep},
            {"repeat", page.repeat},
            {"steps", steps}};
}

std::string folderText(const std::vector<FolderPage>& pages) {
    std::string text;
    for (const FolderPage& page : pages) {
        text += page.file + "  " + pageLine(page.page) + "\n";
    }
    const std::map<int, PageRecord> numbered = byNumber(pages);
    text += "chains:\n";
    for (const PageChain& chain : pageChains(pages)) {
        text += "  " + chainText(chain, numbered) + "\n";
    }
    return text;
}

json folderJson(const std::vector<FolderPage>& pages) {
    json listed = json::array();
    for (const FolderPage& page : pages) {
        json entry = pageJson(page.page);
        entry.erase("steps");
        entry["file"] = page.file;
        listed.push_back(entry);
    }
    json chains = json::array();
    for (const PageChain& chain : pageChains(pages)) {
        chains.push_back(
            {{"pages", chain.pages}, {"then", chain.then ? json(*chain.then) : json(nullptr)}});
    }
    return {{"pages", listed}, {"chains", chains}};
}

std::string indexText(const std::vector<PageRecord>& pages) {
    // The number column stays as it was (files may rely on it); the last says "None" for 0,
    // which is no page 0.
    std::string text = "page\tname\tnext page\tenable step\trepeat\tnext page shown\n";
    for (const PageRecord& page : pages) {
        text += std::to_string(page.pageNum) + "\t" + pageNameText(page.pageName) + "\t" +
                std::to_string(page.nextPage) + "\t" + std::to_string(page.enableStep) + "\t" +
                std::to_string(page.repeat) + "\t" + nextPageText(page) + "\n";
    }
    return text;
}

}  // namespace kestrova::board
