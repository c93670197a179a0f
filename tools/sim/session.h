// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "src/protocol/packet_reader.h"
#include "tools/sim/board.h"
#include "tools/sim/console_log.h"
#include "tools/sim/reply_writer.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/stop_signal.h"

namespace kestrova::sim {

class TcpListener;

enum class SessionEnd {
    ClientLeft,  // the peer closed its end
    Dropped,     // the peer stopped reading; the simulator lets it go
    HungUp,      // --drop-after: the simulator hangs up
    Stopped,     // SIGINT or SIGTERM
};

// Serves one connection: reads packets, lets the board act on them and sends its replies.
// The board, the packet count of --drop-after and the noise generator outlive connections.
class Session : private PacketReaderSink, private BoardListener {
  public:
    // A packet begun and then left unfinished this long is given up as broken.
    static constexpr std::chrono::milliseconds kIdleGiveUp{1000};

    Session(Board& board, ConsoleLog& log, const SimOptions& options, std::uint32_t seed,
            const StopSignal& stop);

    // Until the peer leaves, the simulator hangs up or a stop. Clients that knock on
    // `others` meanwhile are turned away at once.
    // `idle` runs whenever nothing has happened for kIdleLook.
    SessionEnd serve(int fd, const TcpListener* others, const std::function<void()>& idle = {});

    static constexpr std::chrono::milliseconds kIdleLook{200};

  private:
    void onPacket(const ReceivedPacket& packet) override;
    void onNoise(std::size_t count) override;
    bool positionsChanged(const StepPositions& positions,
                          const std::optional<PlayedStep>& step) override;

    bool readChunk();
    void turnAway(const TcpListener& listener);
    void countPacket();

    Board& board;
    ConsoleLog& log;
    ReplyWriter writer;
    const StopSignal& stop;
    std::chrono::milliseconds stepPause;
    std::size_t dropAfter;
    std::size_t packetsSeen = 0;

    PacketReader reader;
    int fd = -1;
    std::optional<SessionEnd> ending;  // set once the connection is to end
};

}  // namespace kestrova::sim
