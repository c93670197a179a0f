// SPDX-License-Identifier: MIT
#include "tools/sim/sim_options.h"

#include <limits>
#include <vector>

#include "kestrova_version.h"
#include "tools/common/help_formatter.h"

namespace kestrova::sim {

namespace {

constexpr std::size_t kLargestChunk = 4096;
constexpr std::size_t kMostNoise = 4096;
constexpr unsigned kLongestStepMs = 60'000;
constexpr unsigned kLongestAwayS = 3600;
constexpr std::uint32_t kMostCount = std::numeric_limits<std::uint32_t>::max();

constexpr const char* kDescription =
    R"(Simulates the robot's controller board for the Kestrova motion editor: it keeps 20 pages
(0 to 19), stores written pages, answers read requests, plays pages and follows live
positions. It serves one client at a time on 127.0.0.1 port 2217 (the editor's COM5) or
on a pseudo-terminal. The first line it prints says where it listens. Ctrl-C ends it.)";

constexpr const char* kFaultNotes =
    R"(--link PATH is removed at exit. --noise-replies K: only the first K replies get noise;
later ones come clean, to see the editor recover. --drop-after N: a network client is
disconnected; a pseudo-terminal is replaced by a new one (and --link follows it). Later
connections are served as usual. --away S: meanwhile nothing listens on the port, or no
pseudo-terminal is behind --link.)";

struct Parsed {
    SimOptions options;
    std::uint32_t seed = 0;
};

void addWhere(CLI::App& app, Parsed& into) {
    const char* group = "Where it listens";
    auto* port = app.add_option("--port", into.options.port,
                                "listen on 127.0.0.1 port N (default 2217; 0: a free port)")
                     ->type_name("N")
                     ->group(group);
    app.add_flag("--pty", into.options.pty,
                 "serve on a new pseudo-terminal instead of a port, print its path")
        ->excludes(port)
        ->group(group);
    app.add_option("--link", into.options.link,
                   "with --pty: make PATH a symbolic link to the device")
        ->type_name("PATH")
        ->needs("--pty")
        ->group(group);
}

void addOutput(CLI::App& app, Parsed& into) {
    const char* group =
        "What it prints (one line per packet and per reply, servo positions "
        "after each move)";
    app.add_flag("--quiet", into.options.quiet, "print only the line that says where it listens")
        ->group(group);
    app.add_flag("--hex", into.options.hex, "also print the raw bytes received (<<) and sent (>>)")
        ->group(group);
    app.add_option("--step-ms", into.options.stepMs,
                   "pause N ms (up to 60000) after each played step (default 0)")
        ->type_name("N")
        ->check(CLI::Range(0u, kLongestStepMs))
        ->group("How it plays");
}

void addFaults(CLI::App& app, Parsed& into) {
    const char* group = "Faults, for testing the editor";
    app.add_option("--chunk", into.options.chunk,
                   "send each reply in N-byte writes (1 to 4096), pausing between")
        ->type_name("N")
        ->check(CLI::Range(std::size_t{1}, kLargestChunk))
        ->group(group);
    app.add_option("--noise", into.options.noise,
                   "send N random bytes (up to 4096) before each reply")
        ->type_name("N")
        ->check(CLI::Range(std::size_t{0}, kMostNoise))
        ->group(group);
    app.add_option("--noise-replies", into.options.noiseReplies,
                   "only the first K replies get noise (default: every reply)")
        ->type_name("K")
        ->check(CLI::Range(std::size_t{1}, std::size_t{kMostCount}))
        ->group(group);
    app.add_option("--seed", into.seed,
                   "seed for --noise, to repeat the same bytes (default: random)")
        ->type_name("N")
        ->group(group);
    auto* drop = app.add_option("--drop-after", into.options.dropAfter,
                                "hang up once, after the N-th packet")
                     ->type_name("N")
                     ->check(CLI::Range(std::size_t{1}, std::size_t{kMostCount}))
                     ->group(group);
    app.add_option("--away", into.options.awayS,
                   "with --drop-after: be gone S seconds (up to 3600) after hanging up")
        ->type_name("S")
        ->check(CLI::Range(1u, kLongestAwayS))
        ->needs(drop)
        ->group(group);
    app.add_option("--slow", into.options.slowMs,
                   "a slow board: send each reply byte by byte (or in --chunk writes), N ms (up "
                   "to 60000) apart")
        ->type_name("N")
        ->check(CLI::Range(1u, kLongestStepMs))
        ->group(group);
    app.add_flag("--bad-checksum", into.options.badChecksum,
                 "send every page reply with a wrong checksum")
        ->group(group);
}

}  // namespace

ParsedOptions parseOptions(std::span<const char* const> args) {
    Parsed into;
    CLI::App app(kDescription, "kestrova-sim");
    cli::setUpHelp(app, kVersion);
    app.footer(kFaultNotes);
    addWhere(app, into);
    addOutput(app, into);
    addFaults(app, into);
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them so
    ParsedOptions parsed;
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        parsed.answer = app.help();
        return parsed;
    } catch (const CLI::CallForVersion& version) {
        parsed.answer = std::string(version.what()) + "\n";
        return parsed;
    } catch (const CLI::ParseError& error) {
        parsed.error = error.what();
        return parsed;
    }
    if (app.count("--seed") > 0) {
        into.options.seed = into.seed;
    }
    parsed.options = into.options;
    return parsed;
}

}  // namespace kestrova::sim
