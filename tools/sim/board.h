// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "src/model/page_record.h"
#include "src/protocol/received_packet.h"

namespace kestrova::sim {

// A play follows at most as many pages as the board holds (the played one included), so that
// pages whose next pages form a cycle still come to an end.
inline constexpr std::size_t kMostPagesPerPlay = kPageCount;

// Where a played step came from.
struct PlayedStep {
    PageRecord page;
    std::size_t step;
    std::size_t round;  // 1 to the page's repeat count
};

// Hears the servos move: after a live packet (no step) or after each played step.
class BoardListener {
  public:
    virtual ~BoardListener() = default;
    // Returns false to end a play early (the simulator is asked to stop).
    virtual bool positionsChanged(const StepPositions& positions,
                                  const std::optional<PlayedStep>& step) = 0;
};

// What the board made of a packet.
enum class Verdict {
    Stored,          // write page: kept under its number, done reply
    PageSent,        // read request: page reply
    Played,          // play page: steps walked, no reply
    Moved,           // live positions: servos set, no reply
    BadChecksum,     // failure line
    NoSuchPage,      // page number over 19: failure line
    UnknownCommand,  // failure line
    BrokenFrame,     // no trailer where the packet's length puts it: failure line
};

struct BoardAnswer {
    Verdict verdict;
    std::vector<std::uint8_t> reply;  // empty: nothing is sent
};

// The controller board: 20 stored pages and the 22 servos, driven by the editor's packets.
class Board {
  public:
    Board();

    BoardAnswer handle(const ReceivedPacket& packet, BoardListener& listener);

    const PageRecord& page(std::size_t number) const { return pages.at(number); }
    const StepPositions& positions() const { return servos; }

  private:
    BoardAnswer write(const ReceivedPacket& packet);
    BoardAnswer read(const ReceivedPacket& packet) const;
    BoardAnswer play(const ReceivedPacket& packet, BoardListener& listener);
    BoardAnswer live(const ReceivedPacket& packet, BoardListener& listener);
    bool playPage(const PageRecord& page, BoardListener& listener);

    std::array<PageRecord, kPageCount> pages;
    StepPositions servos;
};

// A page's number is one the board stores.
bool isBoardPage(std::uint8_t number);

// Short text for a verdict: "stored", "bad checksum", ...
const char* verdictText(Verdict verdict);

}  // namespace kestrova::sim
