// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

namespace kestrova {

// Decides whether an overflow of the reply buffer (291 bytes that start no reply: noise, or a
// wrong baud rate) shows the "Bad communication" box. At most one such box is open at a time,
// and once one has been shown no further box comes until the line has been quiet for
// kQuietTime, so that a line that keeps talking cannot bury the window under boxes. Overflows
// that show no box are counted; their bytes are discarded as always.
class NoiseBoxGate {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kQuietTime = std::chrono::seconds(2);

    // At every received chunk, before it is handled.
    void bytesArrived(Clock::time_point now);

    // At every overflow: true when the box is to be shown; it counts as open from then on.
    bool overflowShowsBox();
    void boxClosed() { boxOpen = false; }

    std::size_t discardedOverflows() const { return discarded; }

  private:
    std::optional<Clock::time_point> lastBytes;
    bool armed = true;
    bool boxOpen = false;
    std::size_t discarded = 0;
};

}  // namespace kestrova
