// SPDX-License-Identifier: MIT
// kestrova-board: back up, restore, verify and play the controller board's pages.
#include <algorithm>
#include <array>
#include <iostream>
#include <optional>
#include <span>
#include <vector>

#include "kestrova_version.h"
#include "src/platform/file_flush.h"
#include "src/platform/terminal.h"
#include "src/profile/profile_file.h"
#include "src/protocol/packets.h"
#include "src/serial/port_settings.h"
#include "src/serial/write_time_limit.h"
#include "tools/board/commands.h"
#include "tools/board/exchange_commands.h"
#include "tools/board/limit_check.h"
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
constexpr unsigned kDefaultWaitS = 10;
constexpr unsigned kLongestWaitS = 3600;
constexpr unsigned kDefaultLimitS = 900;
constexpr unsigned kLongestLimitS = 86'400;

struct Arguments {
    std::string port =
        portChoiceName(static_cast<int>(kPortChoiceNames.size()));  // the network port
    std::uint32_t baud = kDefaultBaud;
    unsigned timeoutMs = 0;  // 0: the page reply's line time plus kReplyGrace
    unsigned waitS = kDefaultWaitS;
    unsigned limitS = kDefaultLimitS;
    std::vector<int> pages;  // restore: only these
    std::string into;        // import of a CSV: the page its steps go onto
    std::string target;      // DIR, FILE, or FILE|N
    int page = 0;
    std::string file;
    bool json = false;
    bool force = false;
    std::string profile;  // a *.kprofile.json whose limits the pages must keep
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

constexpr const char* kLinkGroup = "Link to the board (anywhere on the line)";

// The link options, on the program and on each command that talks to the board, so that they
// are accepted before or after the command and its help lists them.
void addLinkOptions(CLI::App& app, Arguments& args) {
    app.add_option("--port", args.port,
                   portChoiceRange("..") + ", a device path, or tcp:HOST:PORT (" + args.port + ")")
        ->type_name("P")
        ->check(kPortValidator)
        ->group(kLinkGroup);
    const auto speeds = std::span(baudRates).first<kSetupSpeeds>();
    app.add_option("--baud", args.baud, "1200, 2400, 4800, 9600, 14400 or 19200 (9600)")
        ->type_name("B")
        ->check(CLI::IsMember(std::vector<std::uint32_t>(speeds.begin(), speeds.end())))
        ->group(kLinkGroup);
    app.add_option("--timeout", args.timeoutMs,
                   "wait this long for each reply (the page reply's line time plus 2 s)")
        ->type_name("MS")
        ->check(CLI::Range(1u, kLongestTimeoutMs))
        ->group(kLinkGroup);
    app.add_option("--wait", args.waitS,
                   "when the link is lost, try to open it again for up to S seconds (10; 0: not "
                   "at all) before the page fails; once a wait has run out, later pages try once")
        ->type_name("S")
        ->check(CLI::Range(0u, kLongestWaitS))
        ->group(kLinkGroup);
    app.add_option("--limit", args.limitS,
                   "end the run after S seconds (900): the pages not done by then fail")
        ->type_name("S")
        ->check(CLI::Range(1u, kLongestLimitS))
        ->group(kLinkGroup);
}

void addForce(CLI::App& command, Arguments& args, const char* what) {
    command.add_flag("--force", args.force, what);
}

// The commands that take one path (or page number) and nothing else.
struct OneArgumentCommand {
    const char* name;
    const char* argument;
    const char* argumentHelp;
    const char* description;
};
constexpr std::array<OneArgumentCommand, 5> kBoardCommands{{
    {"backup", "DIR", "the folder (made when missing)",
     "read pages 0..19 into DIR/page-00.kpf .. page-19.kpf and DIR/index.txt"},
    {"restore", "DIR", "a folder that backup wrote",
     "check DIR's page files (all 20 unless pages N are named), then write them to the "
     "board and verify each"},
    {"write", "FILE", "a page file of 203 bytes holding page 0 to 19",
     "write FILE's page to the board (under the page number it holds), then verify it"},
    {"verify", "FILE", "a page file", "read the page back and compare it byte for byte with FILE"},
    {"play", "FILE|N", "a page file, or N, the number of a page on the board (0 to 19)",
     "play a page file, or the page stored under N"},
}};

constexpr const char* kPageNumberHelp = "the number of a page on the board, 0 to 19";

void addBoardCommands(CLI::App& app, Arguments& args) {
    for (const OneArgumentCommand& command : kBoardCommands) {
        CLI::App* sub = app.add_subcommand(command.name, command.description);
        sub->add_option(command.argument, args.target, command.argumentHelp)->required();
        addLinkOptions(*sub, args);
    }
    addForce(*app.get_subcommand("backup"), args, "replace page files of DIR that differ");
    for (const char* name : {"restore", "write", "play"}) {
        CLI::App* sub = app.get_subcommand(name);
        sub->add_option("--profile", args.profile,
                        "a robot profile: refuse pages with values outside its limits")
            ->type_name("P");
        addForce(*sub, args, "send pages outside the --profile limits all the same");
    }
    app.get_subcommand("restore")
        ->add_option("N", args.pages,
                     "only these pages (0 to 19); without them DIR must hold all 20 page files")
        ->check(CLI::Range(0, int{kPageCount} - 1));
    CLI::App* read = app.add_subcommand("read", "read page N into FILE");
    read->add_option("N", args.page, kPageNumberHelp)
        ->required()
        ->check(CLI::Range(0, int{kPageCount} - 1));
    read->add_option("FILE", args.file, "the page file to write")->required();
    addForce(*read, args, "replace FILE when it holds another page");
    addLinkOptions(*read, args);
}

void addFileCommands(CLI::App& app, Arguments& args) {
    CLI::App* show = app.add_subcommand(
        "show",
        "print a page as its step table; for a folder each page's name, number and next "
        "page, and the chains of pages they form");
    show->add_option("FILE|DIR", args.target, "a page file, or a folder of page-NN.kpf")
        ->required();
    show->add_flag("--json", args.json, "the same as JSON");
    CLI::App* exported = app.add_subcommand(
        "export", "write a page file as JSON (the whole page) or CSV (its step table)");
    exported->add_option("PAGE", args.target, "a page file")->required();
    exported->add_option("OUT", args.file, "OUT.json or OUT.csv")->required();
    addForce(*exported, args, "replace OUT when it holds something else");
    CLI::App* imported =
        app.add_subcommand("import",
                           "write the page of a JSON file (as export writes it) to a "
                           "page file, or the steps of a CSV onto a page");
    imported->add_option("IN", args.target, "a .json file, or a .csv file with --into")->required();
    imported->add_option("OUT", args.file, "the page file to write")->required();
    imported->add_option("--into", args.into, "the page file whose steps a CSV replaces")
        ->type_name("PAGE");
    addForce(*imported, args, "replace OUT when it holds another page");
    CLI::App* check = app.add_subcommand(
        "check", "list every value of the pages outside the limits of a robot profile");
    check->add_option("FILE|DIR", args.target, "a page file, or a folder of page-NN.kpf")
        ->required();
    check->add_option("--profile", args.profile, "the robot profile (*.kprofile.json)")
        ->type_name("P")
        ->required();
    // Accepted here too, so that a line that names the port works with any command.
    for (CLI::App* command : {show, check, exported, imported}) {
        addLinkOptions(*command, args);
    }
}

LinkSettings linkSettings(const Arguments& args) {
    const auto timeout = args.timeoutMs != 0 ? std::chrono::milliseconds(args.timeoutMs)
                                             : lineTime(kPagePacketSize, args.baud) + kReplyGrace;
    const auto deadline = TaskQueue::Clock::now() + std::chrono::seconds(args.limitS);
    return {parsePortChoice(args.port),
            args.baud,
            {timeout, std::chrono::seconds(args.waitS), deadline}};
}

void run(const std::string& command, const Arguments& args, Report& report) {
    const SaveRules rules{args.force, &flushToDisk};
    const LoadedProfile profile =
        args.profile.empty() ? LoadedProfile{} : readProfileFile(args.profile);
    if (!args.profile.empty() && !profile.profile) {
        report.fileError(profile.problem);
        return;
    }
    if (command == "check") {
        checkLimits(args.target, *profile.profile, report);
        return;
    }
    if (command == "show") {
        show(args.target, args.json, std::cout, report);
        return;
    }
    if (command == "export") {
        exportPage(args.target, args.file, rules, report);
        return;
    }
    if (command == "import") {
        importPage(args.target, args.file, args.into, rules, report);
        return;
    }
    BoardCommands board(linkSettings(args), rules, report);
    if (profile.profile && !args.force) {
        board.refuseOutsideLimits(*profile.profile);
    }
    if (command == "backup") {
        board.backup(args.target);
    } else if (command == "restore") {
        std::vector<int> pages = args.pages;
        std::ranges::sort(pages);
        pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
        board.restore(args.target, pages);
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

// The first word that is no option nor an option's value, when it names no command.
std::optional<std::string> unknownCommand(const CLI::App& app, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.starts_with("-")) {
            i += word == "--port" || word == "--baud" || word == "--timeout" || word == "--wait" ||
                         word == "--limit" || word == "--profile"
                     ? 1
                     : 0;
            continue;
        }
        const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
        const bool known = std::ranges::any_of(
            commands, [&](const CLI::App* command) { return command->get_name() == word; });
        return known ? std::nullopt : std::optional(word);
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app(
        "Backs up, restores, verifies and plays the pages of the robot's controller "
        "board, checks pages against a robot profile's limits, and exports and imports page "
        "files.",
        "kestrova-board");
    cli::setUpHelp(app, kVersion);
    Arguments args;
    addLinkOptions(app, args);
    addBoardCommands(app, args);
    addFileCommands(app, args);
    app.require_subcommand(1);
    if (const std::optional<std::string> word = unknownCommand(app, argc, argv)) {
        std::cerr << "kestrova-board: unknown command \"" << *word
                  << "\"; the commands are backup, restore, read, write, verify, play, show, "
                     "check, export and import (kestrova-board --help)\n";
        return kUsageOrFileError;
    }
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
