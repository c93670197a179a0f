// SPDX-License-Identifier: MIT
// kestrova-board's listings on their own: the chains of a folder's pages and index.txt.
#include "tools/board/page_listing.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/sample_page.h"

using namespace kestrova;
using namespace kestrova::board;

namespace {

// Pages as "number:next page" pairs, each in a file named after its number.
std::vector<FolderPage> folder(const std::vector<std::pair<int, int>>& links) {
    std::vector<FolderPage> pages;
    for (const auto& [number, next] : links) {
        PageRecord page = defaultPageRecord();
        std::tie(page.pageNum, page.nextPage) = std::tuple(number, next);
        pages.push_back({"p" + std::to_string(number) + ".kpf", page});
    }
    return pages;
}

// A chain runs from each page no other page leads to, in page order, to one that ends the play
// (0, or no page such as 25), a page met again, or one the folder lacks; pages only a circle
// reaches start from the lowest of them. Two chains may share their end.
TEST(PageChains, RunFromEachFirstPageToAnEndAPageMetAgainOrOneThatIsMissing) {
    const std::vector<FolderPage> pages =
        folder({{0, 0}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 4}, {6, 6}, {7, 12}, {8, 25}, {9, 2}});
    const std::string text = folderText(pages);
    EXPECT_TRUE(
        text.ends_with("\nchains:\n  0\n  1 -> 2 -> 3\n  6 -> 6 (again)\n"
                       "  7 -> 12 (not in the folder)\n  8\n  9 -> 2 -> 3\n"
                       "  4 -> 5 -> 4 (again)\n"))
        << text;
}

// Tab-separated; the number column keeps 0 for no next page, the last column says "None".
TEST(BackupIndex, ListsEachPageWithItsNextPageAsANumberAndAsShown) {
    PageRecord sample = test::samplePage();
    sample.nextPage = 9;
    PageRecord first = defaultPageRecord();
    first.pageName = {'W', 'a', 'v', 'e', 'W', 'a', 'v'};  // no NUL
    EXPECT_EQ(indexText({first, sample}),
              "page\tname\tnext page\tenable step\trepeat\tnext page shown\n"
              "0\tWaveWav\t0\t0\t1\tNone\n"
              "11\tEdge\\x1B\\x22#\t9\t2\t254\t9\n");
    EXPECT_EQ(indexText({}), "page\tname\tnext page\tenable step\trepeat\tnext page shown\n");
}

}  // namespace
