// SPDX-License-Identifier: MIT
// kestrova-sim: a controller board for the editor to talk to when no robot is at hand.
#include <iostream>
#include <random>
#include <span>

#include "tools/sim/board.h"
#include "tools/sim/console_log.h"
#include "tools/sim/server.h"
#include "tools/sim/session.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/stop_signal.h"

int main(int argc, char** argv) {
    using namespace kestrova::sim;
    const ParsedOptions parsed =
        parseOptions(std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
    if (!parsed.answer.empty()) {
        std::cout << parsed.answer;
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "kestrova-sim: " << parsed.error << "\nTry kestrova-sim --help.\n";
        return 2;
    }
    const SimOptions& options = *parsed.options;
    const StopSignal stop;
    if (!stop.ready()) {
        std::cerr << "kestrova-sim: cannot watch for Ctrl-C\n";
        return 1;
    }
    ConsoleLog log(std::cout, options.quiet, options.hex);
    Board board;
    Session session(board, log, options, options.seed.value_or(std::random_device{}()), stop);
    return options.pty ? servePty(options, session, log, stop)
                       : serveTcp(options, session, log, stop);
}
