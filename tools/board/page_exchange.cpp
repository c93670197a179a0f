// SPDX-License-Identifier: MIT
#include "tools/board/page_exchange.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <span>
#include <string>

#include "src/profile/located_json.h"
#include "tools/board/page_listing.h"
#include "tools/common/byte_text.h"

namespace kestrova::board {

namespace {

using json = nlohmann::json;

// The first problem found ends the import.
using ImportError = JsonProblem;

std::uint8_t byteAt(const json& document, const std::string& pointer) {
    return static_cast<std::uint8_t>(wholeNumberAt(document, pointer, 0, 255));
}

void fill(std::span<std::uint8_t> bytes, const json& document, const std::string& pointer) {
    const json::json_pointer at(pointer);
    if (!document.contains(at) || !document.at(at).is_array() ||
        document.at(at).size() != bytes.size()) {
        throw ImportError{
            pointer, pointer + " must be a list of " + std::to_string(bytes.size()) + " numbers"};
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = byteAt(document, pointer + "/" + std::to_string(i));
    }
}

// The name as show prints it: printable characters, and \xNN for any other byte.
PageName nameFromText(const std::string& text) {
    PageName name{};
    std::size_t length = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (length == name.size()) {
            throw ImportError{"/name", "the name has more than 7 characters"};
        }
        const auto c = static_cast<unsigned char>(text[at]);
        if (c == '\\' && text.compare(at, 2, "\\x") == 0 && at + 3 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[at + 2])) != 0 &&
            std::isxdigit(static_cast<unsigned char>(text[at + 3])) != 0) {
            name[length++] =
                static_cast<std::uint8_t>(std::stoi(text.substr(at + 2, 2), nullptr, 16));
            at += 3;
        } else if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
            name[length++] = c;
        } else {
            throw ImportError{"/name",
                              "the name holds a character other than printable ASCII "
                              "or \\xNN"};
        }
    }
    return name;
}

PageName nameOf(const json& document) {
    const bool hasText = document.contains("name");
    if (hasText && !document["name"].is_string()) {
        throw ImportError{"/name", "\"name\" must be text"};
    }
    if (!document.contains("nameBytes")) {
        if (!hasText) {
            throw ImportError{"", "\"name\" is missing"};
        }
        return nameFromText(document["name"].get<std::string>());
    }
    PageName name{};
    fill(name, document, "/nameBytes");
    if (hasText && pageNameText(name) != document["name"].get<std::string>()) {
        throw ImportError{"/name",
                          "\"name\" and \"nameBytes\" differ (remove \"nameBytes\" to "
                          "rename the page)"};
    }
    return name;
}

std::uint8_t nextPageOf(const json& document) {
    if (document.contains("nextPage") && document["nextPage"] == "None") {
        return 0;
    }
    return byteAt(document, "/nextPage");
}

PageRecord recordOf(const json& document) {
    if (!document.is_object()) {
        throw ImportError{"",
                          "not a page: a page is an object with \"name\", \"page\" and "
                          "\"steps\""};
    }
    PageRecord page{};
    page.pageName = nameOf(document);
    page.pageNum = byteAt(document, "/page");
    page.nextPage = nextPageOf(document);
    page.enableStep = byteAt(document, "/enableStep");
    page.repeat = byteAt(document, "/repeat");
    if (!document.contains("steps") || !document["steps"].is_array() ||
        document["steps"].size() != kStepCount) {
        throw ImportError{"/steps", "\"steps\" must be a list of 8 steps"};
    }
    for (std::size_t step = 0; step < kStepCount; ++step) {
        const std::string at = "/steps/" + std::to_string(step);
        fill(std::span(page.position).subspan(step * kMotorCount, kMotorCount), document,
             at + "/positions");
        page.acc[step] = byteAt(document, at + "/acc");
        page.rate[step] = byteAt(document, at + "/rate");
    }
    return page;
}

// The numbers of one step row, M1 to M22, ACC and Rate; nothing unless it is 24 whole numbers
// 0 to 255 separated by commas.
std::optional<std::array<std::uint8_t, kMotorCount + 2>> csvRow(std::string_view line) {
    std::array<std::uint8_t, kMotorCount + 2> row{};
    std::size_t count = 0;
    for (std::size_t at = 0; at <= line.size(); ++count) {
        const std::size_t end = std::min(line.find(',', at), line.size());
        std::string_view field = line.substr(at, end - at);
        field.remove_prefix(std::min(field.find_first_not_of(' '), field.size()));
        field.remove_suffix(field.size() - std::min(field.find_last_not_of(' ') + 1, field.size()));
        unsigned value = 0;
        const char* fieldEnd = field.data() + field.size();
        const auto [stop, error] = std::from_chars(field.data(), fieldEnd, value);
        if (count == row.size() || field.empty() || error != std::errc() || stop != fieldEnd ||
            value > 255) {
            return std::nullopt;
        }
        row[count] = static_cast<std::uint8_t>(value);
        at = end + 1;
    }
    return count == row.size() ? std::optional(row) : std::nullopt;
}

}  // namespace

std::string csvHeader() {
    std::string text;
    for (std::size_t motor = 1; motor <= kMotorCount; ++motor) {
        text += "M" + std::to_string(motor) + ",";
    }
    return text + "ACC,Rate";
}

ImportedPage importCsv(std::string_view text, PageRecord page) {
    int line = 0;
    std::size_t step = 0;
    for (std::size_t at = 0; at < text.size(); ++line) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view row = text.substr(at, end - at);
        at = end + 1;
        if (row.ends_with('\r')) {
            row.remove_suffix(1);  // written on Windows
        }
        if (line == 0 && row != csvHeader()) {
            return {std::nullopt, 1,
                    "the first row must be the header that export writes (M1 to "
                    "M22, ACC, Rate)"};
        }
        if (line == 0 || row.empty()) {
            continue;
        }
        const auto numbers = csvRow(row);
        if (!numbers || step == kStepCount) {
            return {std::nullopt, line + 1,
                    step == kStepCount ? "more than 8 steps"
                                       : "a step is 24 whole numbers 0 to 255 (M1 to M22, ACC, "
                                         "Rate), separated by commas"};
        }
        std::copy_n(numbers->begin(), kMotorCount,
                    page.position.begin() + static_cast<std::ptrdiff_t>(step * kMotorCount));
        page.acc[step] = (*numbers)[kMotorCount];
        page.rate[step++] = (*numbers)[kMotorCount + 1];
    }
    if (step != kStepCount) {
        return {std::nullopt, std::max(line, 1),
                "8 steps are needed, the file has " + std::to_string(step)};
    }
    return {page, 0, {}};
}

std::string exportJson(const PageRecord& page) {
    json document = pageJson(page);
    document["nameBytes"] = page.pageName;
    return document.dump(2) + "\n";
}

std::string exportCsv(const PageRecord& page) {
    std::string text = csvHeader() + "\n";
    for (std::size_t step = 0; step < kStepCount; ++step) {
        for (std::size_t motor = 0; motor < kMotorCount; ++motor) {
            text += std::to_string(page.position[step * kMotorCount + motor]) + ",";
        }
        text += std::to_string(page.acc[step]) + "," + std::to_string(page.rate[step]) + "\n";
    }
    return text;
}

ImportedPage importJson(std::string_view text) {
    const ReadFromJson<PageRecord> read = readLocated(text, recordOf);
    return {read.value, read.line, read.problem};
}

}  // namespace kestrova::board
