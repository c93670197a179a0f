// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace kestrova::board {

// Exit statuses.
inline constexpr int kSucceeded = 0;
// the board refused, did not answer, or the link failed; check found values outside the limits
inline constexpr int kBoardFailed = 1;
inline constexpr int kUsageOrFileError = 2;

// What a command tells its user: one line per page on standard output, problems on standard
// error, and on a terminal a running count of the pages done. The exit status follows from
// what was reported.
class Report {
  public:
    Report(std::ostream& out, std::ostream& err, bool terminal)
        : out(out), err(err), terminal(terminal) {}

    // Pages that the command will go through, for the running count.
    void expect(std::size_t pages);
    void pageDone(const std::string& line);
    void pageFailed(int page, const std::string& line);
    // Stops the command short of its pages: the link cannot be opened.
    void linkFailed(const std::string& problem);
    void fileError(const std::string& problem);
    // A line on standard output that sets status 1: something a check found wrong.
    void finding(const std::string& line);
    // A closing line on standard output: what the command achieved.
    void summary(const std::string& line);
    // A line on standard error that sets no status: where the pages of a failed run are.
    void note(const std::string& line);
    std::size_t failedPageCount() const { return failedPages.size(); }
    // The closing line, naming the pages that failed; the exit status.
    int finish();

  private:
    void pageLine(const std::string& line);
    void clearCount();

    std::ostream& out;
    std::ostream& err;
    bool terminal;
    std::size_t expected = 0;
    std::size_t done = 0;
    std::vector<int> failedPages;
    bool boardProblem = false;
    bool fileProblem = false;
    bool found = false;
};

}  // namespace kestrova::board
