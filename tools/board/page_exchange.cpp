// SPDX-License-Identifier: MIT
#include "tools/board/page_exchange.h"

#include <cctype>
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

}  // namespace

std::string exportJson(const PageRecord& page) {
    json document = pageJson(page);
    document["nameBytes"] = page.pageName;
    return document.dump(2) + "\n";
}

std::string exportCsv(const PageRecord& page) {
    std::string text;
    for (std::size_t motor = 1; motor <= kMotorCount; ++motor) {
        text += "M" + std::to_string(motor) + ",";
    }
    text += "ACC,Rate\n";
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
