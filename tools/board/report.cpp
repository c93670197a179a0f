// SPDX-License-Identifier: MIT
#include "tools/board/report.h"

namespace kestrova::board {

namespace {
constexpr const char* kClearLine = "\r\x1b[K";
}

void Report::expect(std::size_t pages) {
    expected = pages;
    done = 0;
}

void Report::pageDone(const std::string& line) {
    pageLine(line);
}

void Report::pageFailed(int page, const std::string& line) {
    boardProblem = true;
    failedPages.push_back(page);
    pageLine(line);
}

void Report::linkFailed(const std::string& problem) {
    boardProblem = true;
    clearCount();
    err << "kestrova-board: " << problem << std::endl;
}

void Report::fileError(const std::string& problem) {
    fileProblem = true;
    clearCount();
    err << "kestrova-board: " << problem << std::endl;
}

void Report::finding(const std::string& line) {
    found = true;
    clearCount();
    out << line << std::endl;
}

void Report::summary(const std::string& line) {
    clearCount();
    out << line << std::endl;
}

void Report::note(const std::string& line) {
    clearCount();
    err << "kestrova-board: " << line << std::endl;
}

int Report::finish() {
    clearCount();
    if (!failedPages.empty()) {
        err << "kestrova-board: failed: page" << (failedPages.size() > 1 ? "s" : "");
        for (std::size_t i = 0; i < failedPages.size(); ++i) {
            err << (i == 0 ? " " : ", ") << failedPages[i];
        }
        err << std::endl;
    }
    return fileProblem ? kUsageOrFileError : boardProblem || found ? kBoardFailed : kSucceeded;
}

void Report::pageLine(const std::string& line) {
    clearCount();
    out << line << std::endl;
    ++done;
    if (terminal && expected > 1) {
        err << done << "/" << expected << std::flush;
    }
}

void Report::clearCount() {
    if (terminal && expected > 1) {
        err << kClearLine << std::flush;
    }
}

}  // namespace kestrova::board
