// SPDX-License-Identifier: MIT
#include "tools/board/commands.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <vector>

#include "src/model/page_file.h"
#include "tools/board/page_difference.h"
#include "tools/board/page_listing.h"
#include "tools/board/port_choice.h"
#include "tools/common/byte_text.h"

namespace kestrova::board {

namespace fs = std::filesystem;

namespace {

std::string label(const PageRecord& page) {
    return "page " + std::to_string(page.pageNum) + " \"" + pageNameText(page.pageName) + "\"";
}

// The page files of a folder (page-NN.kpf), in order.
std::vector<fs::path> pageFilesIn(const fs::path& folder) {
    static const std::regex kPageFile("page-[0-9][0-9]\\.kpf");
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (std::regex_match(entry.path().filename().string(), kPageFile)) {
            files.push_back(entry.path());
        }
    }
    std::ranges::sort(files);
    return files;
}

bool writeText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out.fail();
}

// Reports what keeps a file from being read as a page.
std::optional<PageRecord> loadPage(const fs::path& file, Report& report) {
    std::optional<PageRecord> page = readPageFile(file);
    if (!page) {
        std::error_code error;
        report.fileError(file.string() + (fs::exists(file, error)
                                              ? ": not a page file (unreadable, or shorter than " +
                                                    std::to_string(kPageRecordSize) + " bytes)"
                                              : ": no such file"));
    }
    return page;
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

// "page-07.kpf", the name backup gives page 7.
std::string pageFileName(int number) {
    return std::string("page-") + (number < 10 ? "0" : "") + std::to_string(number) + ".kpf";
}

}  // namespace

void BoardCommands::backup(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        report.fileError("cannot make the folder " + folder.string() + ": " + error.message());
        return;
    }
    if (link() == nullptr) {
        return;
    }
    report.expect(kPageCount);
    std::vector<PageRecord> saved;
    for (int number = 0; number < static_cast<int>(kPageCount); ++number) {
        const std::optional<PageRecord> page = readBack(number, "");
        const fs::path file = folder / pageFileName(number);
        if (page && !writePageFile(file, *page, flush)) {
            report.fileError("cannot write " + file.string());
        } else if (page) {
            report.pageDone(label(*page) + ": saved to " + file.string());
            saved.push_back(*page);
        }
    }
    if (!writeText(folder / "index.txt", indexText(saved)) || !flush(folder / "index.txt")) {
        report.fileError("cannot write " + (folder / "index.txt").string());
    }
}

void BoardCommands::restore(const fs::path& folder) {
    std::vector<std::pair<std::string, PageRecord>> pages;
    for (const fs::path& file : pageFilesIn(folder)) {
        if (const auto page = load(file)) {
            pages.emplace_back(file.filename().string(), *page);
        }
    }
    if (pages.empty()) {
        report.fileError("no readable page-NN.kpf in " + folder.string());
        return;
    }
    if (link() == nullptr) {
        return;
    }
    report.expect(pages.size());
    for (const auto& [file, page] : pages) {
        writeAndVerify(page, file);
    }
}

void BoardCommands::read(int number, const fs::path& file) {
    if (link() == nullptr) {
        return;
    }
    const std::optional<PageRecord> page = readBack(number, "");
    if (page && !writePageFile(file, *page, flush)) {
        report.fileError("cannot write " + file.string());
    } else if (page) {
        report.pageDone(label(*page) + ": saved to " + file.string());
    }
}

void BoardCommands::write(const fs::path& file) {
    const std::optional<PageRecord> page = load(file);
    if (page && link() != nullptr) {
        writeAndVerify(*page, file.string());
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
    if (!page || link() == nullptr) {
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
        board = std::make_unique<BoardLink>(settings.timeout);
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
