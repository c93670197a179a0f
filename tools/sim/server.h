// SPDX-License-Identifier: MIT
#pragma once

#include "tools/sim/console_log.h"
#include "tools/sim/session.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/stop_signal.h"

namespace kestrova::sim {

// Serves clients one after another until a stop; returns the program's exit status.
int serveTcp(const SimOptions& options, Session& session, ConsoleLog& log, const StopSignal& stop);
int servePty(const SimOptions& options, Session& session, ConsoleLog& log, const StopSignal& stop);

}  // namespace kestrova::sim
