// SPDX-License-Identifier: MIT
#include "tools/sim/sim_options.h"

#include <charconv>
#include <limits>
#include <string_view>

namespace kestrova::sim {

namespace {

constexpr std::size_t kLargestChunk = 4096;
constexpr std::size_t kMostNoise = 4096;
constexpr unsigned kLongestStepMs = 60'000;

// Reads arguments one by one and remembers the first thing wrong with them.
class ArgReader {
  public:
    explicit ArgReader(std::span<const char* const> args) : args(args) {}

    bool done() const { return next >= args.size(); }
    std::string_view take() { return args[next++]; }

    template <typename Number>
    Number number(std::string_view option, Number lowest, Number highest) {
        if (done()) {
            fail(std::string(option) + " needs a number");
            return lowest;
        }
        const std::string_view text = take();
        std::uint64_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc{} || end != text.data() + text.size() || value < lowest ||
            value > highest) {
            fail(std::string(option) + " needs a number from " + std::to_string(lowest) + " to " +
                 std::to_string(highest) + ", not \"" + std::string(text) + "\"");
            return lowest;
        }
        return static_cast<Number>(value);
    }

    std::string text(std::string_view option) {
        if (done()) {
            fail(std::string(option) + " needs a path");
            return {};
        }
        return std::string(take());
    }

    void fail(std::string message) {
        if (error.empty()) {
            error = std::move(message);
        }
    }

    std::string error;

  private:
    std::span<const char* const> args;
    std::size_t next = 0;
};

bool readOption(std::string_view option, ArgReader& in, SimOptions& options, bool& portGiven) {
    if (option == "--pty") {
        options.pty = true;
    } else if (option == "--port") {
        options.port =
            in.number<std::uint16_t>(option, 0, std::numeric_limits<std::uint16_t>::max());
        portGiven = true;
    } else if (option == "--link") {
        options.link = in.text(option);
    } else if (option == "--step-ms") {
        options.stepMs = in.number<unsigned>(option, 0, kLongestStepMs);
    } else if (option == "--chunk") {
        options.chunk = in.number<std::size_t>(option, 1, kLargestChunk);
    } else if (option == "--noise") {
        options.noise = in.number<std::size_t>(option, 0, kMostNoise);
    } else if (option == "--noise-replies") {
        options.noiseReplies =
            in.number<std::size_t>(option, 1, std::numeric_limits<std::uint32_t>::max());
    } else if (option == "--seed") {
        options.seed =
            in.number<std::uint32_t>(option, 0, std::numeric_limits<std::uint32_t>::max());
    } else if (option == "--drop-after") {
        options.dropAfter =
            in.number<std::size_t>(option, 1, std::numeric_limits<std::uint32_t>::max());
    } else if (option == "--quiet") {
        options.quiet = true;
    } else if (option == "--hex") {
        options.hex = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

ParsedOptions parseOptions(std::span<const char* const> args) {
    ParsedOptions parsed;
    SimOptions options;
    bool portGiven = false;
    ArgReader in(args);
    while (!in.done() && in.error.empty()) {
        const std::string_view option = in.take();
        if (option == "--help" || option == "-h") {
            parsed.help = true;
            return parsed;
        }
        if (!readOption(option, in, options, portGiven)) {
            in.fail("unknown option \"" + std::string(option) + "\"");
        }
    }
    if (options.pty && portGiven) {
        in.fail("--port and --pty exclude each other");
    }
    if (!options.link.empty() && !options.pty) {
        in.fail("--link needs --pty");
    }
    parsed.error = in.error;
    if (parsed.error.empty()) {
        parsed.options = options;
    }
    return parsed;
}

std::string helpText() {
    return R"(Usage: kestrova-sim [options]

Simulates the robot's controller board for the Kestrova motion editor: it keeps 20 pages
(0 to 19), stores written pages, answers read requests, plays pages and follows live
positions. It serves one client at a time on 127.0.0.1 port 2217 (the editor's COM5) or
on a pseudo-terminal. The first line it prints says where it listens. Ctrl-C ends it.

Where it listens:
  --port N        listen on 127.0.0.1 port N (default 2217; 0 picks a free port)
  --pty           serve on a new pseudo-terminal instead and print its device path
  --link PATH     with --pty: make PATH a symbolic link to the device (removed at exit)

What it prints (one line per packet and per reply, servo positions after each move):
  --quiet         print only the line that says where it listens
  --hex           also print the raw bytes received (<<) and sent (>>)

How it plays:
  --step-ms N     pause N ms after each played step (default 0: play at once)

Faults, for testing the editor:
  --chunk N       send each reply in N-byte writes with a short pause between them
  --noise N       send N random bytes before each reply
  --noise-replies K
                  only the first K replies get noise; later ones come clean, to see
                  the editor recover (default: every reply)
  --seed N        seed for --noise, to repeat the same bytes (default: random)
  --drop-after N  hang up once, after the N-th packet: a network client is disconnected;
                  a pseudo-terminal is replaced by a new one (and --link follows it).
                  Later connections are served as usual.

  --help          show this text
)";
}

}  // namespace kestrova::sim
