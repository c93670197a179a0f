// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "src/protocol/received_packet.h"

namespace kestrova {

// Hears what the controller's side finds in the byte stream.
class PacketReaderSink {
  public:
    virtual ~PacketReaderSink() = default;
    virtual void onPacket(const ReceivedPacket& packet) = 0;
    // Bytes dropped while looking for the next "###".
    virtual void onNoise(std::size_t count) = 0;
};

// The controller's side of the link: finds the editor's packets in received bytes.
//
// Frames have no length field and their payloads may hold "###" or FE FE FE 0A, so a packet
// with a known letter is cut at that packet's fixed length and only then must end in the
// trailer. One that does not is a broken frame; scanning resumes just past its "###", so that
// a packet that began inside a truncated one is still found. A packet with an unknown letter
// is reported at once and its body skipped up to and including the next FE FE FE 0A, or up to
// the next "###", whichever comes first. A run of '#' before a letter is noise but for its
// last three. Nothing is held beyond one page packet plus the bytes of the current chunk.
class PacketReader {
  public:
    void feed(std::span<const std::uint8_t> bytes, PacketReaderSink& sink);

    // True while a packet has begun but not ended, or an unknown packet's body is being skipped.
    bool midPacket() const;

    // The sender fell silent mid-packet: give up on what is held (a begun packet counts as a
    // broken frame) and look again for packets inside it.
    void abandonPartial(PacketReaderSink& sink);

    // A new connection starts afresh.
    void reset();

  private:
    bool step(PacketReaderSink& sink);
    bool skipToHeader(PacketReaderSink& sink);
    bool takeFrame(PacketReaderSink& sink);
    bool skipUnknownBody();
    std::size_t findHeader() const;
    void dropNoise(std::size_t count, PacketReaderSink& sink);
    void drop(std::size_t count);

    std::vector<std::uint8_t> held;
    bool skippingUnknown = false;
};

}  // namespace kestrova
