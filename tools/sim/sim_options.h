// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "src/serial/port_devices.h"

namespace kestrova::sim {

struct SimOptions {
    bool pty = false;
    std::uint16_t port = kNetworkPort;  // the editor's COM5
    std::string link;                   // with pty: a symbolic link to the device
    unsigned stepMs = 0;
    std::size_t chunk = 0;         // 0: each reply in one write
    std::size_t noise = 0;         // random bytes before each reply
    std::size_t noiseReplies = 0;  // only the first so many replies get noise; 0: all
    std::optional<std::uint32_t> seed;
    std::size_t dropAfter = 0;  // 0: never hang up
    unsigned awayS = 0;         // after hanging up, reachable again this much later
    unsigned slowMs = 0;        // 0: no pause beyond --chunk's
    bool badChecksum = false;
    bool quiet = false;
    bool hex = false;
};

struct ParsedOptions {
    std::optional<SimOptions> options;  // empty on --help, --version or an error
    std::string answer;                 // the text that --help or --version asks for
    std::string error;
};

// The command line without the program's name.
ParsedOptions parseOptions(std::span<const char* const> args);

}  // namespace kestrova::sim
