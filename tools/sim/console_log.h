// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "src/protocol/received_packet.h"
#include "tools/sim/board.h"

namespace kestrova::sim {

// Lines a person can follow, flushed one by one so that a pipe sees them at once.
class ConsoleLog {
  public:
    ConsoleLog(std::ostream& out, bool quiet, bool hex) : out(out), quiet(quiet), hex(hex) {}

    // Printed even when quiet: scripts and tests wait for it.
    void listening(const std::string& where);
    void note(const std::string& text);
    void received(const ReceivedPacket& packet);
    void answered(const BoardAnswer& answer);
    void positions(const StepPositions& servos, const std::optional<PlayedStep>& step);
    void noise(std::size_t count);
    void rawIn(std::span<const std::uint8_t> bytes);
    void rawOut(std::span<const std::uint8_t> bytes);

  private:
    void line(const std::string& text);

    std::ostream& out;
    bool quiet;
    bool hex;
};

std::string describePacket(const ReceivedPacket& packet);
std::string describeAnswer(const BoardAnswer& answer);
std::string describePositions(const StepPositions& servos, const std::optional<PlayedStep>& step);
std::string hexText(std::span<const std::uint8_t> bytes);

}  // namespace kestrova::sim
