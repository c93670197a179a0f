// SPDX-License-Identifier: MIT
#include "src/profile/located_json.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <vector>

namespace kestrova {

namespace {

using json = nlohmann::json;

// Walks the text for the parser and keeps how far it has read.
class TrackingIterator {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    TrackingIterator(const char* at, const char** furthest) : at(at), furthest(furthest) {}
    reference operator*() const { return *at; }
    TrackingIterator& operator++() {
        *furthest = std::max(*furthest, ++at);
        return *this;
    }
    TrackingIterator operator++(int) {
        TrackingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TrackingIterator& other) const { return at == other.at; }

  private:
    const char* at;
    const char** furthest;
};

// What the parser's callback refuses, where.
struct Refusal {
    int line;
    std::string reason;
};

// A page nests objects and lists four deep (the page, its steps, a step, its positions); a
// deeper file is no page, and refusing it early keeps a hostile one from costing time.
constexpr std::size_t kDeepestNesting = 4;

// Follows the parser's events to know the pointer of each value and the line it is on.
class Locator {
  public:
    Locator(std::string_view text, const char** furthest, std::map<std::string, int>& lines)
        : text(text), furthest(furthest), lines(lines) {}

    bool operator()(int, json::parse_event_t event, json& parsed) {
        switch (event) {
            case json::parse_event_t::object_start:
            case json::parse_event_t::array_start:
                if (frames.size() == kDeepestNesting) {
                    throw Refusal{line(false), "nested deeper than a page is"};
                }
                lines[pointer()] = line(false);
                frames.push_back({event == json::parse_event_t::array_start, 0, {}, {}});
                break;
            case json::parse_event_t::key:
                frames.back().key = parsed.get<std::string>();
                if (!frames.back().keys.insert(frames.back().key).second) {
                    throw Refusal{line(false), "\"" + frames.back().key + "\" is given twice"};
                }
                break;
            case json::parse_event_t::value:
                lines[pointer()] = line(parsed.is_number());
                next();
                break;
            case json::parse_event_t::object_end:
            case json::parse_event_t::array_end:
                frames.pop_back();
                next();
                break;
        }
        return true;
    }

    // The line of what the parser has read so far.
    int line(bool number) {
        const char* read = *furthest - (number ? 1 : 0);
        // Counted on from the last place asked about, so that a long file costs no more
        // than reading it.
        if (read >= counted) {
            lineCount += static_cast<int>(std::count(counted, read, '\n'));
        } else {
            lineCount -= static_cast<int>(std::count(read, counted, '\n'));
        }
        counted = read;
        return lineCount;
    }

  private:
    struct Frame {
        bool array;
        std::size_t index;
        std::string key;
        std::set<std::string> keys;
    };

    std::string pointer() const {
        std::string path;
        for (const Frame& frame : frames) {
            path += "/" + (frame.array ? std::to_string(frame.index) : frame.key);
        }
        return path;
    }
    void next() {
        if (!frames.empty() && frames.back().array) {
            ++frames.back().index;
        }
    }

    std::string_view text;
    const char** furthest;
    const char* counted = text.data();
    int lineCount = 1;
    std::map<std::string, int>& lines;
    std::vector<Frame> frames;
};

}  // namespace

int LocatedJson::lineOf(std::string pointer) const {
    for (;;) {
        if (const auto found = lines.find(pointer); found != lines.end()) {
            return found->second;
        }
        if (pointer.empty()) {
            return 1;
        }
        pointer.erase(pointer.rfind('/'));
    }
}

ParsedJson parseLocated(std::string_view text) {
    ParsedJson parsed;
    const char* furthest = text.data();
    Locator locator(text, &furthest, parsed.json.lines);
    try {
        parsed.json.value =
            json::parse(TrackingIterator(text.data(), &furthest),
                        TrackingIterator(text.data() + text.size(), &furthest), std::ref(locator));
    } catch (const json::parse_error& error) {
        const auto at = std::min<std::size_t>(error.byte, text.size());
        parsed.errorLine =
            1 + static_cast<int>(std::count(text.begin(), text.begin() + at - (at > 0), '\n'));
        const std::string what = error.what();
        parsed.error = what.substr(what.find(": ") + 2);
    } catch (const json::exception& error) {  // a number too large for any type
        const std::string what = error.what();
        parsed.errorLine = locator.line(false);
        parsed.error = what.substr(what.find("] ") + 2);
    } catch (const Refusal& refusal) {
        parsed.errorLine = refusal.line;
        parsed.error = refusal.reason;
    }
    return parsed;
}

int wholeNumberAt(const json& document, const std::string& pointer, int low, int high) {
    const json::json_pointer at(pointer);
    if (!document.contains(at)) {
        throw JsonProblem{pointer, "\"" + pointer.substr(pointer.rfind('/') + 1) + "\" is missing"};
    }
    const json& value = document.at(at);
    if (!value.is_number_integer() || value.get<long long>() < low ||
        value.get<long long>() > high) {
        throw JsonProblem{pointer, pointer + " is " + value.dump() + ", not a whole number " +
                                       std::to_string(low) + " to " + std::to_string(high)};
    }
    return value.get<int>();
}

}  // namespace kestrova
