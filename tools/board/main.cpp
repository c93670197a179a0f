// SPDX-License-Identifier: MIT
// kestrova-board: back up, restore, verify and play the controller board's pages.
#include <array>
#include <iostream>
#include <span>
#include <vector>

#include "kestrova_version.h"
#include "src/platform/file_flush.h"
#include "src/platform/terminal.h"
#include "src/protocol/packets.h"
#include "src/serial/port_settings.h"
#include "src/serial/write_time_limit.h"
#include "tools/board/commands.h"
#include "tools/board/port_choice.h"
#include "tools/common/help_formatter.h"

namespace {

using namespace kestrova;
using namespace kestrova::board;

// The speeds that the editor's Setup offers are the first of the table; 9600 is its default.
constexpr std::size_t kSetupSpeeds = 6;
constexpr std::uint32_t kDefaultBaud = 9600;
// A reply may take its time on the line and this much more.
constexpr std::chrono::milliseconds kReplyGrace{2000};
constexpr unsigned kLongestTimeoutMs = 600'000;

struct Arguments {
    std::string port =
        portChoiceName(static_cast<int>(kPortChoiceNames.size()));  // the network port
    std::uint32_t baud = kDefaultBaud;
    unsigned timeoutMs = 0;  // 0: the page reply's line time plus kReplyGrace
    std::string target;      // DIR, FILE, or FILE|N
    int page = 0;
    std::string file;
    bool json = false;
};

// "COM1 to COM5"
std::string portChoiceRange(const char* between) {
    return std::string(kPortChoiceNames.front()) + between + std::string(kPortChoiceNames.back());
}

const CLI::Validator kPortValidator(
    [](std::string& text) {
        return parsePortChoice(text).kind == PortDevice::Kind::Invalid
                   ? "not a port: " + text + " (" + portChoiceRange(" to ") +
                         ", a device path, or tcp:HOST:PORT)"
                   : std::string();
    },
    "PORT");

void addGlobalOptions(CLI::App& app, Arguments& args) {
    app.add_option("--port", args.port,
                   portChoiceRange("..") + ", a device path, or tcp:HOST:PORT (" + args.port + ")")
        ->type_name("P")
        ->check(kPortValidator);
    const auto speeds = std::span(baudRates).first<kSetupSpeeds>();
    app.add_option("--baud", args.baud, "1200, 2400, 4800, 9600, 14400 or 19200 (9600)")
        ->type_name("B")
        ->check(CLI::IsMember(std::vector<std::uint32_t>(speeds.begin(), speeds.end())));
    app.add_option("--timeout", args.timeoutMs,
                   "wait this long for each reply (the page reply's line time plus 2 s)")
        ->type_name("MS")
        ->check(CLI::Range(1u, kLongestTimeoutMs));
}

// The commands that take one path (or page number) and nothing else.
struct OneArgumentCommand {
    const char* name;
    const char* argument;
    const char* description;
};
constexpr std::array<OneArgumentCommand, 5> kOneArgumentCommands{{
    {"backup", "DIR", "read pages 0..19 into DIR/page-00.kpf .. page-19.kpf and DIR/index.txt"},
    {"restore", "DIR", "write every page-NN.kpf of DIR to the board, then verify each"},
    {"write", "FILE",
     "write FILE's page to the board (under the page number it holds), then verify it"},
    {"verify", "FILE", "read the page back and compare it byte for byte with FILE"},
    {"play", "FILE|N", "play a page file, or the page stored under N"},
}};

void addCommands(CLI::App& app, Arguments& args) {
    for (const OneArgumentCommand& command : kOneArgumentCommands) {
        app.add_subcommand(command.name, command.description)
            ->add_option(command.argument, args.target)
            ->required();
    }
    CLI::App* read = app.add_subcommand("read", "read page N into FILE");
    read->add_option("N", args.page)->required()->check(CLI::Range(0, int{kPageCount} - 1));
    read->add_option("FILE", args.file)->required();
    CLI::App* show = app.add_subcommand(
        "show",
        "print a page as its step table; for a folder each page's name, number and next "
        "page, and the chains of pages they form");
    show->add_option("FILE|DIR", args.target)->required();
    show->add_flag("--json", args.json, "the same as JSON");
}

LinkSettings linkSettings(const Arguments& args) {
    const auto timeout = args.timeoutMs != 0 ? std::chrono::milliseconds(args.timeoutMs)
                                             : lineTime(kPagePacketSize, args.baud) + kReplyGrace;
    return {parsePortChoice(args.port), args.baud, timeout};
}

void run(const std::string& command, const Arguments& args, Report& report) {
    if (command == "show") {
        show(args.target, args.json, std::cout, report);
        return;
    }
    BoardCommands board(linkSettings(args), report, &flushToDisk);
    if (command == "backup") {
        board.backup(args.target);
    } else if (command == "restore") {
        board.restore(args.target);
    } else if (command == "read") {
        board.read(args.page, args.file);
    } else if (command == "write") {
        board.write(args.target);
    } else if (command == "verify") {
        board.verify(args.target);
    } else {
        board.play(args.target);
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app(
        "Backs up, restores, verifies and plays the pages of the robot's controller "
        "board.",
        "kestrova-board");
    cli::setUpHelp(app, kVersion);
    Arguments args;
    addGlobalOptions(app, args);
    addCommands(app, args);
    app.require_subcommand(1);
    app.fallthrough();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? kSucceeded : kUsageOrFileError;
    }
    Report report(std::cout, std::cerr, errorsGoToTerminal());
    run(app.get_subcommands().front()->get_name(), args, report);
    return report.finish();
}
