// SPDX-License-Identifier: MIT
#include "src/profile/profile_file.h"

#include <algorithm>
#include <array>
#include <span>

#include "src/model/motor_labels.h"
#include "src/profile/located_json.h"

namespace kestrova {

namespace {

using json = nlohmann::json;

// No robot profile comes near this; a larger file is no profile.
constexpr std::size_t kMostBytes = 1 << 20;

constexpr std::array<std::string_view, 3> kProfileKeys{"version", "name", "motors"};
constexpr std::array<std::string_view, 10> kMotorKeys{
    "motor", "label", "name", "group", "side", "min", "home", "max", "partner", "invert"};

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string motorWord(std::size_t motor) {
    return "motor " + std::to_string(motor + 1);
}

// A misspelt key would silently lose a limit, so every key must be one the format knows.
void refuseUnknownKeys(const json& object, const std::string& pointer,
                       std::span<const std::string_view> known) {
    for (const auto& [key, value] : object.items()) {
        if (std::ranges::find(known, key) == known.end()) {
            throw JsonProblem{pointer + "/" + key, "unknown field " + inQuotes(key)};
        }
    }
}

// Text without control characters, which would reach terminals and message boxes.
std::string textAt(const json& entry, const std::string& pointer, const std::string& key) {
    if (!entry.contains(key)) {
        return {};
    }
    const json& value = entry[key];
    if (!value.is_string()) {
        throw JsonProblem{pointer + "/" + key, inQuotes(key) + " must be text"};
    }
    const auto text = value.get<std::string>();
    if (std::ranges::any_of(text, [](unsigned char c) { return c < 0x20 || c == 0x7F; })) {
        throw JsonProblem{pointer + "/" + key, inQuotes(key) + " holds a control character"};
    }
    return text;
}

std::uint8_t positionAt(const json& document, const std::string& pointer, const char* key,
                        std::uint8_t fallback) {
    const std::string at = pointer + "/" + key;
    return document.contains(json::json_pointer(at))
               ? static_cast<std::uint8_t>(wholeNumberAt(document, at, 0, kMaxPosition))
               : fallback;
}

Side sideAt(const json& entry, const std::string& pointer) {
    if (!entry.contains("side")) {
        return Side::Centre;
    }
    const auto found = std::ranges::find(
        kSideNames, entry["side"].is_string() ? entry["side"].get<std::string>() : std::string());
    if (found == kSideNames.end()) {
        throw JsonProblem{pointer + "/side", "\"side\" must be \"left\", \"right\" or \"centre\""};
    }
    return static_cast<Side>(found - kSideNames.begin());
}

void readLimits(const json& document, const std::string& pointer, MotorProfile& motor) {
    motor.min = positionAt(document, pointer, "min", motor.min);
    motor.max = positionAt(document, pointer, "max", motor.max);
    // Without a home of its own a motor rests where it does today, or as near as its limits let it.
    motor.home =
        positionAt(document, pointer, "home", std::clamp(kDefaultPosition, motor.min, motor.max));
    if (motor.min > motor.max) {
        throw JsonProblem{pointer + "/min", "min " + std::to_string(motor.min) + " is above max " +
                                                std::to_string(motor.max)};
    }
    if (motor.home < motor.min || motor.home > motor.max) {
        throw JsonProblem{pointer + "/home", "home " + std::to_string(motor.home) +
                                                 " is outside min " + std::to_string(motor.min) +
                                                 " to max " + std::to_string(motor.max)};
    }
}

std::optional<std::size_t> partnerAt(const json& document, const std::string& pointer,
                                     std::size_t index) {
    const json::json_pointer at(pointer + "/partner");
    if (!document.contains(at) || document.at(at).is_null()) {
        return std::nullopt;
    }
    const auto partner = static_cast<std::size_t>(
        wholeNumberAt(document, pointer + "/partner", 1, static_cast<int>(kMotorCount)) - 1);
    if (partner == index) {
        throw JsonProblem{pointer + "/partner", motorWord(index) + " cannot be its own partner"};
    }
    return partner;
}

// One entry of "motors"; its motor number, and what it says of that motor.
std::size_t readMotor(const json& document, const std::string& pointer, MotorProfile& motor) {
    const json& entry = document.at(json::json_pointer(pointer));
    if (!entry.is_object()) {
        throw JsonProblem{pointer, "a motor is an object with \"motor\" and its fields"};
    }
    refuseUnknownKeys(entry, pointer, kMotorKeys);
    const auto index = static_cast<std::size_t>(
        wholeNumberAt(document, pointer + "/motor", 1, static_cast<int>(kMotorCount)) - 1);
    if (entry.contains("label") && entry["label"] != std::string(kMotorLabels[index])) {
        throw JsonProblem{pointer + "/label", "the label of " + motorWord(index) + " is " +
                                                  inQuotes(kMotorLabels[index]) + ", not " +
                                                  entry["label"].dump()};
    }
    motor.name = textAt(entry, pointer, "name");
    motor.group = textAt(entry, pointer, "group");
    motor.side = sideAt(entry, pointer);
    readLimits(document, pointer, motor);
    motor.partner = partnerAt(document, pointer, index);
    if (entry.contains("invert") && !entry["invert"].is_boolean()) {
        throw JsonProblem{pointer + "/invert", "\"invert\" must be true or false"};
    }
    motor.invert = entry.value("invert", false);
    return index;
}

// Pairs are mutual, one left and one right, and agree on invert; the mirror relies on it.
void checkPartners(const RobotProfile& profile,
                   const std::array<std::string, kMotorCount>& pointers) {
    for (std::size_t m = 0; m < kMotorCount; ++m) {
        const MotorProfile& motor = profile.motors[m];
        if (!motor.partner) {
            continue;
        }
        const MotorProfile& partner = profile.motors[*motor.partner];
        const std::string pair = motorWord(m) + " and its partner " + motorWord(*motor.partner);
        const std::string at = pointers[m] + "/partner";
        if (partner.partner != m) {
            throw JsonProblem{at, pair + " must name each other as partners"};
        }
        if (motor.side == Side::Centre || partner.side == Side::Centre ||
            motor.side == partner.side) {
            throw JsonProblem{at, pair + " must be one on the left, one on the right"};
        }
        if (motor.invert != partner.invert) {
            throw JsonProblem{at, pair + " must agree on \"invert\""};
        }
    }
}

void readMotors(const json& document, RobotProfile& profile) {
    if (!document.contains("motors")) {
        return;
    }
    if (!document["motors"].is_array()) {
        throw JsonProblem{"/motors", "\"motors\" must be a list"};
    }
    std::array<std::string, kMotorCount> pointers;
    for (std::size_t i = 0; i < document["motors"].size(); ++i) {
        const std::string pointer = "/motors/" + std::to_string(i);
        MotorProfile motor;
        const std::size_t index = readMotor(document, pointer, motor);
        if (!pointers[index].empty()) {
            throw JsonProblem{pointer + "/motor", motorWord(index) + " is listed twice"};
        }
        pointers[index] = pointer;
        profile.motors[index] = motor;
    }
    checkPartners(profile, pointers);
}

RobotProfile profileOf(const json& document) {
    if (!document.is_object()) {
        throw JsonProblem{"", "not a robot profile: an object with \"version\" and \"motors\""};
    }
    refuseUnknownKeys(document, "", kProfileKeys);
    const int version = wholeNumberAt(document, "/version", 1, 1'000'000);
    if (version != kProfileFormatVersion) {
        throw JsonProblem{"/version", "format version " + std::to_string(version) +
                                          " is not one this program reads (" +
                                          std::to_string(kProfileFormatVersion) + ")"};
    }
    RobotProfile profile;
    profile.name = textAt(document, "", "name");
    readMotors(document, profile);
    return profile;
}

std::string dumped(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// One line: {"motor": 5, "label": "M5(PB4)", ...}
std::string motorLine(const RobotProfile& profile, std::size_t m) {
    const MotorProfile& motor = profile.motors[m];
    const nlohmann::ordered_json fields{
        {"motor", m + 1},
        {"label", std::string(kMotorLabels[m])},
        {"name", motor.name},
        {"group", motor.group},
        {"side", kSideNames[static_cast<std::size_t>(motor.side)]},
        {"min", motor.min},
        {"home", motor.home},
        {"max", motor.max},
        {"partner", motor.partner ? json(*motor.partner + 1) : json(nullptr)},
        {"invert", motor.invert}};
    std::string line;
    for (const auto& [key, value] : fields.items()) {
        line += (line.empty() ? "{" : ", ") + dumped(key) + ": " + dumped(value);
    }
    return line + "}";
}

}  // namespace

ReadProfile parseProfile(std::string_view text) {
    ReadFromJson<RobotProfile> read = readLocated(text, profileOf);
    return {std::move(read.value), read.line, std::move(read.problem)};
}

LoadedProfile readProfileFile(const std::filesystem::path& path) {
    const std::optional<std::string> text = readFileStart(path, kMostBytes + 1);
    if (!text) {
        return {std::nullopt, path.string() + ": cannot be read"};
    }
    if (text->size() > kMostBytes) {
        return {std::nullopt, path.string() + ": larger than any robot profile"};
    }
    ReadProfile read = parseProfile(*text);
    if (!read.profile) {
        return {std::nullopt,
                path.string() + ":" + std::to_string(read.line) + ": " + read.problem};
    }
    return {std::move(read.profile), {}};
}

std::string profileText(const RobotProfile& profile) {
    std::string text = "{\n  \"version\": " + std::to_string(kProfileFormatVersion) +
                       ",\n  \"name\": " + dumped(profile.name) + ",\n  \"motors\": [\n";
    for (std::size_t m = 0; m < kMotorCount; ++m) {
        text += "    " + motorLine(profile, m) + (m + 1 < kMotorCount ? ",\n" : "\n");
    }
    return text + "  ]\n}\n";
}

bool writeProfileFile(const std::filesystem::path& path, const RobotProfile& profile,
                      FlushToDisk flush) {
    const std::string text = profileText(profile);
    return replaceFileContents(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), flush);
}

}  // namespace kestrova
