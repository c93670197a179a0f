// SPDX-License-Identifier: MIT
#include "src/model/step_clipboard.h"

#include "src/model/page_record.h"

namespace kestrova {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the numbers of one line into `line`; false unless it holds exactly 24 of them.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text(text) {}

    bool read(StepLine& line) {
        skipSpaces();
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (i > 0 && !skipSeparator()) {
                return false;
            }
            const auto value = parseByte(takeDigits());
            if (!value) {
                return false;
            }
            line[i] = *value;
        }
        skipSpaces();
        return at == text.size();
    }

  private:
    std::size_t skipSpaces() {
        const std::size_t from = at;
        while (at < text.size() && text[at] == ' ') {
            ++at;
        }
        return at - from;
    }
    // A tab or a comma, or spaces alone; an empty cell ("1,,2") is no separator.
    bool skipSeparator() {
        const bool spaced = skipSpaces() > 0;
        if (at < text.size() && (text[at] == '\t' || text[at] == ',')) {
            ++at;
            skipSpaces();
            return true;
        }
        return spaced;
    }
    std::string_view takeDigits() {
        const std::size_t from = at;
        while (at < text.size() && isDigit(text[at])) {
            ++at;
        }
        return text.substr(from, at - from);
    }

    std::string_view text;
    std::size_t at = 0;
};

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string_view::npos) {
        lines.pop_back();
    }
    return lines;
}

}  // namespace

std::string formatStepLine(const StepLine& line) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
        text += (i > 0 ? "\t" : "") + std::to_string(line[i]);
    }
    return text;
}

std::optional<std::vector<StepLine>> parseStepLines(std::string_view text) {
    const std::vector<std::string_view> lines = splitLines(text);
    if (lines.empty() || lines.size() > kStepCount) {
        return std::nullopt;
    }
    std::vector<StepLine> steps(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!LineReader(lines[i]).read(steps[i])) {
            return std::nullopt;
        }
    }
    return steps;
}

}  // namespace kestrova
