// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kestrova {

// A JSON document together with the line each of its values starts on, so that a value
// found wrong after parsing can be reported where the user wrote it.
struct LocatedJson {
    nlohmann::json value;
    std::map<std::string, int> lines;  // by JSON pointer ("/steps/3/acc")
    // The line of the value at `pointer`, or of the nearest value that holds it.
    int lineOf(std::string pointer) const;
};

// The document, or the line and reason of a syntax error.
struct ParsedJson {
    LocatedJson json;
    int errorLine = 0;  // 0: parsed
    std::string error;
};
ParsedJson parseLocated(std::string_view text);

// What is wrong in a document, and where: the JSON pointer of the value at fault.
struct JsonProblem {
    std::string pointer;
    std::string reason;
};

// The whole number at `pointer`, from `low` to `high`; throws a JsonProblem when it is missing
// or is anything else.
int wholeNumberAt(const nlohmann::json& document, const std::string& pointer, int low, int high);

// What a reader made of a JSON text: its value, or the line and reason of the first problem.
template <typename T>
struct ReadFromJson {
    std::optional<T> value;
    int line = 0;
    std::string problem;
};

// Parses `text` and hands the document to `read`, which throws a JsonProblem at what is wrong.
template <typename Read>
auto readLocated(std::string_view text, Read read)
    -> ReadFromJson<decltype(read(nlohmann::json()))> {
    const ParsedJson parsed = parseLocated(text);
    if (parsed.errorLine != 0) {
        return {std::nullopt, parsed.errorLine, parsed.error};
    }
    try {
        return {read(parsed.json.value), 0, {}};
    } catch (const JsonProblem& problem) {
        return {std::nullopt, parsed.json.lineOf(problem.pointer), problem.reason};
    }
}

}  // namespace kestrova
