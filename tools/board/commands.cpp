// SPDX-License-Identifier: MIT
#include "tools/board/commands.h"

#include <algorithm>
#include <vector>

#include "src/model/page_file.h"
#include "tools/board/backup_folder.h"
#include "tools/board/limit_check.h"
#include "tools/board/output_file.h"
#include "tools/board/page_difference.h"
#include "tools/board/page_file_check.h"
#include "tools/board/page_listing.h"
#include "tools/board/port_choice.h"
#include "tools/common/byte_text.h"

namespace kestrova::board {

namespace fs = std::filesystem;

namespace {

constexpr auto label = pageLabel;

// Reports what keeps a file from being read as a page.
std::optional<PageRecord> loadPage(const fs::path& file, Report& report) {
    const CheckedPage checked = checkPageFileBytes(file);
    if (!checked.page) {
        report.fileError(checked.problem);
    }
    return checked.page;
}

// The pages that a restore needs (all of them, or those named) and the folder lacks.
std::vector<int> missingPages(const CheckedFolder& checked, const std::vector<int>& named) {
    std::vector<int> missing;
    for (int number = 0; number < static_cast<int>(kPageCount); ++number) {
        const bool needed = named.empty() || std::ranges::count(named, number) > 0;
        const bool held = std::ranges::any_of(
            checked.pages, [&](const auto& file) { return file.second.pageNum == number; });
        if (needed && !held) {
            missing.push_back(number);
        }
    }
    return missing;
}

// A page number rather than a file name: up to three digits.
std::optional<int> pageNumberText(const std::string& text) {
    constexpr std::size_t kMostDigits = 3;
    const bool digits = std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
    if (text.empty() || text.size() > kMostDigits || !digits) {
        return std::nullopt;
    }
    return std::stoi(text);
}

}  // namespace

void BoardCommands::backup(const fs::path& folder) {
    const BackupFolder target(folder, rules);
    if (const std::string problem = target.unusable(); !problem.empty()) {
        report.fileError(problem);
        return;
    }
    if (link() == nullptr) {
        return;
    }
    report.expect(kPageCount);
    std::vector<PageRecord> read;
    for (int number = 0; number < static_cast<int>(kPageCount); ++number) {
        if (const std::optional<PageRecord> page = readBack(number, "")) {
            report.pageDone(label(*page) + ": read");
            read.push_back(*page);
        }
    }
    if (read.size() != kPageCount) {
        report.note("nothing written to " + folder.string() + "; " + target.keepIncomplete(read));
        return;
    }
    const std::vector<std::string> problems = target.store(read);
    for (const std::string& problem : problems) {
        report.fileError(problem);
    }
    if (problems.empty()) {
        report.summary(std::to_string(kPageCount) + " pages saved in " + folder.string());
    }
}

void BoardCommands::restore(const fs::path& folder, const std::vector<int>& pages) {
    const CheckedFolder checked = checkBackupFolder(folder);
    std::vector<std::string> problems = checked.problems;
    const std::vector<int> missing =
        problems.empty() ? missingPages(checked, pages) : std::vector<int>{};
    if (missing.size() == kPageCount) {
        problems.push_back("no page-NN.kpf in " + folder.string());
    }
    for (std::size_t i = 0; i < missing.size() && missing.size() < kPageCount; ++i) {
        problems.push_back((folder / pageFileName(missing[i])).string() + " is missing");
    }
    if (!missing.empty() && pages.empty()) {
        problems.emplace_back("a restore needs all " + std::to_string(kPageCount) +
                              " page files, or the numbers of the pages to restore");
    }
    for (const std::string& problem : problems) {
        report.fileError(problem);
    }
    if (!problems.empty()) {
        report.fileError("nothing was sent to the board");
        return;
    }
    std::vector<SourcedPage> sent;
    for (const auto& [file, page] : checked.pages) {
        if (pages.empty() || std::ranges::count(pages, page.pageNum) > 0) {
            sent.emplace_back(file.string(), page);
        }
    }
    if (!withinLimits(sent) || link() == nullptr) {
        return;
    }
    std::size_t restored = 0;
    report.expect(pages.empty() ? kPageCount : pages.size());
    for (const auto& [file, page] : checked.pages) {
        if (pages.empty() || std::ranges::count(pages, page.pageNum) > 0) {
            writeAndVerify(page, file.filename().string());
            ++restored;
        }
    }
    if (report.failedPageCount() == 0) {
        report.summary(std::to_string(restored) + " pages restored from " + folder.string());
    }
}

void BoardCommands::read(int number, const fs::path& file) {
    if (link() == nullptr) {
        return;
    }
    const std::optional<PageRecord> page = readBack(number, "");
    if (!page) {
        return;
    }
    if (const std::string problem = savePageFile(file, *page, rules); !problem.empty()) {
        report.fileError(problem);
    } else {
        report.pageDone(label(*page) + ": saved to " + file.string());
    }
}

void BoardCommands::write(const fs::path& file) {
    const CheckedPage checked = checkPageFile(file);
    if (!checked.page) {
        report.fileError(checked.problem + "; nothing was sent to the board");
    } else if (withinLimits({{file.string(), *checked.page}}) && link() != nullptr) {
        writeAndVerify(*checked.page, file.string());
    }
}

void BoardCommands::verify(const fs::path& file) {
    const std::optional<PageRecord> page = load(file);
    if (!page || link() == nullptr) {
        return;
    }
    const std::optional<PageRecord> held = readBack(page->pageNum, " of " + file.string());
    if (!held) {
        return;
    }
    const std::string difference = describeDifference(*page, *held);
    if (difference.empty()) {
        report.pageDone(label(*page) + ": the board holds " + file.string());
    } else {
        report.pageFailed(page->pageNum, label(*page) + ": the board holds something else than " +
                                             file.string() + ": " + difference);
    }
}

void BoardCommands::play(const std::string& fileOrNumber) {
    const std::optional<int> number = pageNumberText(fileOrNumber);
    if (number && *number >= static_cast<int>(kPageCount)) {
        report.fileError("the board holds pages 0 to " + std::to_string(kPageCount - 1) + ", not " +
                         fileOrNumber);
        return;
    }
    std::optional<PageRecord> page;
    if (!number) {
        page = load(fileOrNumber);
    } else if (link() != nullptr) {
        page = readBack(*number, "");
    }
    if (!page || !withinLimits({{fileOrNumber, *page}}) || link() == nullptr) {
        return;
    }
    const Outcome played = board->playPage(*page);
    if (played.ok) {
        report.pageDone(label(*page) + ": played");
    } else {
        report.pageFailed(page->pageNum, label(*page) + ": not played: " + played.problem);
    }
}

BoardLink* BoardCommands::link() {
    if (!linkTried) {
        linkTried = true;
        board = std::make_unique<BoardLink>(settings.timing,
                                            [this](const std::string& line) { report.note(line); });
        const std::string problem = board->open(settings.device, settings.baudRate);
        if (!problem.empty()) {
            report.linkFailed(problem);
            board.reset();
        }
    }
    return board.get();
}

std::optional<PageRecord> BoardCommands::load(const fs::path& file) {
    return loadPage(file, report);
}

std::optional<PageRecord> BoardCommands::readBack(int number, const std::string& what) {
    const Outcome got = board->readPage(static_cast<std::uint8_t>(number));
    if (!got.ok) {
        report.pageFailed(number,
                          "page " + std::to_string(number) + what + ": not read: " + got.problem);
    }
    return got.page;
}

void BoardCommands::writeAndVerify(const PageRecord& page, const std::string& source) {
    const std::string line = label(page) + " from " + source;
    const Outcome wrote = board->writePage(page);
    if (!wrote.ok) {
        report.pageFailed(page.pageNum, line + ": not written: " + wrote.problem);
        return;
    }
    const Outcome back = board->readPage(page.pageNum);
    const std::string difference = back.ok ? describeDifference(page, *back.page) : "";
    if (!back.ok) {
        report.pageFailed(page.pageNum, line + ": written, but not read back: " + back.problem);
    } else if (!difference.empty()) {
        report.pageFailed(page.pageNum,
                          line + ": written, but the board holds something else: " + difference);
    } else {
        report.pageDone(line + ": written and verified");
    }
}

bool BoardCommands::withinLimits(const std::vector<SourcedPage>& pages) {
    bool within = true;
    for (const auto& [source, page] : pages) {
        for (const std::string& line :
             limits ? breachLines(*limits, page, source) : std::vector<std::string>{}) {
            report.fileError(line);
            within = false;
        }
    }
    if (!within) {
        report.fileError(
            "outside the limits of the profile; nothing was sent to the board "
            "(--force sends it all the same)");
    }
    return within;
}

void show(const fs::path& fileOrFolder, bool asJson, std::ostream& out, Report& report) {
    std::error_code error;
    if (!fs::is_directory(fileOrFolder, error)) {
        if (const std::optional<PageRecord> page = loadPage(fileOrFolder, report)) {
            out << (asJson ? pageJson(*page).dump(2) + "\n" : stepTableText(*page));
        }
        return;
    }
    const std::vector<fs::path> files = pageFilesIn(fileOrFolder);
    if (files.empty()) {
        report.fileError("no page-NN.kpf in " + fileOrFolder.string());
        return;
    }
    std::vector<FolderPage> pages;
    for (const fs::path& file : files) {
        if (const auto page = loadPage(file, report)) {
            pages.push_back({file.filename().string(), *page});
        }
    }
    out << (asJson ? folderJson(pages).dump(2) + "\n" : folderText(pages));
}

}  // namespace kestrova::board
